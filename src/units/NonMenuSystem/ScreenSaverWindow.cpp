#include "units/NonMenuSystem/ScreenSaverWindow.h"

#include <cstdlib>

#include "runtime/auto_object.h"
#include "runtime/ref.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/NonMenuSystem.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Resources/Resources.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(NonMenuSystem::ScreenSaverWindow);

namespace NonMenuSystem {

namespace {
constexpr int32_t kFrames = 32;
constexpr int32_t kFrameMs = 50;
// The colour text: three 3-character decimal fields at these positions.
constexpr int32_t kColorFields[] = {2, 5, 8};
constexpr int32_t kFieldLength = 3;

// A field of three decimal digits, or -1.
int32_t ColorField(const kv::String& text, int32_t at) {
  if (at + kFieldLength > text.Length()) return -1;
  for (int32_t i = at; i < at + kFieldLength; ++i)
    if (text.At(i) < u'0' || text.At(i) > u'9') return -1;
  return ::Wrapper::Wrapper::String2Int(kv::StringMiddle(text, at, kFieldLength));
}

// A random offset in [0, room); 0 when there is no room.
int32_t RandomOffset(int32_t room) { return room > 0 ? std::rand() % room : 0; }
}  // namespace

ScreenSaverWindow::ScreenSaverWindow() {
  KeyRoutingForm::OnSetBounds({0, 0, 960, 540});
  WidgetOrigin = {0, 0};
  IsShortcut = true;
  // A screen saver stays until a key or its caller ends it: the screens'
  // 6000 ms time-out would show the still picture again after six seconds.
  OnSetTimeOutValue(0);
  logo_.OnSetAutoSize(true);
  logo_.OnSetBitmap(Resources::LoadResource(Bitmaps::ScreenSaverLogo));
  const kv::Rect lb = logo_.Bounds();
  logo_.OnSetBounds({110, 100, 110 + lb.W(), 100 + lb.H()});
  text_.OnSetFont(Resources::LoadResource(Fonts::ExtraLargeFont));
  text_.OnSetString(kv::GetVariantOfString(SCREEN_SAVER_TEXT));
  text_.OnSetBounds({50, 50, 320, 100});
  text_.OnSetAutoSize(true);
  text_.OnSetVisible(false);
  for (Effects::Int32Effect* e : {&fadeIn_, &fadeOut_}) {
    e->OnSetNoOfFrames(kFrames);
    e->OnSetPeriod(kFrameMs);
    e->OnSetOutlet(kv::MakeRef(&logo_, &Views::Image::OnGetOpacity, &Views::Image::OnSetOpacity));
    e->OnFinished = kv::MakeSlot(this, &ScreenSaverWindow::MoveSlot0);
  }
  fadeIn_.OnSetStartValue(0);
  fadeIn_.OnSetEndValue(255);
  fadeOut_.OnSetStartValue(255);
  fadeOut_.OnSetEndValue(0);
  Add(&logo_);
  Add(&text_);
}

void ScreenSaverWindow::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  if (!animating_) {
    Live::Base()->StartAnimation();
    animating_ = true;
  }
  ApplyColorText(kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)
                     ->GetString(KEY_SCREEN_SAVER_COLOR));
  fadingOut_ = true;
  fadeOut_.OnSetEnabled(true);
}

bool ScreenSaverWindow::ApplyColorText(const kv::String& text) {
  if (text.Length() == 0) return false;
  int32_t rgb[3];
  for (int i = 0; i < 3; ++i) rgb[i] = ColorField(text, kColorFields[i]);
  kv::Trace("%s%i %i %i", {kv::LoadString(T_SAVER_COLOR), rgb[0], rgb[1], rgb[2]});
  for (int32_t c : rgb)
    if (c < 0 || c > 255) return false;
  kv::Color color = background_.OnGetColor();
  color.r = static_cast<uint8_t>(rgb[0]);
  color.g = static_cast<uint8_t>(rgb[1]);
  color.b = static_cast<uint8_t>(rgb[2]);
  background_.OnSetColor(color);
  return true;
}

void ScreenSaverWindow::Close() {
  fadeIn_.OnSetEnabled(false);
  fadeOut_.OnSetEnabled(false);
  if (animating_) {
    Live::Base()->StopAnimation();
    animating_ = false;
  }
  WidgetClass::Close();
  if (auto* s = OnGetNonMenuSystem()) s->ScreenSaverClosed(this);
}

kv::Object* ScreenSaverWindow::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return WidgetClass::HandleEvent(event);
  if (ReturnToPrevious) {
    Post(&WidgetClass::EnterPrevStateSlot);
  } else if (auto* s = OnGetNonMenuSystem()) {
    kv::PostSignal(kv::MakeSlot(s, &NonMenuSystem::ExitScreenSaverSlot));
  }
  return this;
}

void ScreenSaverWindow::MoveSlot0(kv::Object*) {
  if (fadingOut_) {
    fadingOut_ = false;
    fadeOut_.OnSetEnabled(false);
    fadeIn_.OnSetEnabled(true);
    logo_.OnSetOpacity(0);
    const kv::Rect lb = logo_.Bounds();
    const int32_t x = RandomOffset(Bounds().W() - lb.W());
    const int32_t y = RandomOffset(Bounds().H() - lb.H());
    logo_.OnSetBounds({x, y, x + lb.W(), y + lb.H()});
  } else {
    fadingOut_ = true;
    fadeOut_.OnSetEnabled(true);
    fadeIn_.OnSetEnabled(false);
    logo_.OnSetOpacity(255);
  }
}

}  // namespace NonMenuSystem
