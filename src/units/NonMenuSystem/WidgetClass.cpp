#include "units/NonMenuSystem/WidgetClass.h"

#include <algorithm>
#include <vector>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/FocusPath.h"
#include "units/Core/Root.h"
#include "units/Core/SeenTexts.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"

KV_REGISTER_CLASS(NonMenuSystem::WidgetClass);
KV_REGISTER_CLASS(NonMenuSystem::KXDWidgetClass);
KV_REGISTER_CLASS(NonMenuSystem::BorderWidgetClass);

namespace NonMenuSystem {

namespace {
using namespace keys;

// The frame width the captioned dialog's size is drawn for.
constexpr int32_t kDefaultFrameWidth = 34;
}  // namespace

// --- WidgetClass -------------------------------------------------------------------

WidgetClass::~WidgetClass() { Core::MarkStandsApart(this, false); }

bool WidgetClass::HoldsTheKeys() const {
  Core::Root* root = GetRoot();
  if (!root) return true;
  const std::vector<Core::View*> path = Core::FocusPath(*root);
  return path.empty() || std::find(path.begin(), path.end(), this) != path.end();
}

WidgetClass::WidgetClass() {
  OnSetTimeOutValue(kWidgetTimeOut);
  OnTimeOut = kv::MakeSlot(this, &WidgetClass::ClearAllSlot);
  Layer = kWidgetLayer;
  SubSystemClass = &NonMenuSystem::StaticClass();
  background_.OnSetBounds({0, 0, 200, 150});
  background_.OnSetColor(kWidgetBackground);
  frame_.OnSetBounds({0, 0, 200, 150});
  frame_.OnSetVisible(false);
  Add(&background_);
  Add(&frame_);
}

void WidgetClass::OnSetNonMenuSystem(::NonMenuSystem::NonMenuSystem* s) {
  nonMenuSystem_ = s;
  SubSystemInstance = s;
}

void WidgetClass::Initialize(Primitives::KeyRoutingParameter* param) {
  KeyRoutingForm::Initialize(param);
  // The screen lays itself out once it is placed and opened.
  Post(&WidgetClass::RefreshSlot);
  auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr;
  if (!ref) return;
  if (ref->Code == Constants::MSG_FROM_MENUSYSTEM) {
    OnSetMenuTriggered(true);
  } else if (ref->Code == Constants::MSG_FROM_QUICKMENU) {
    fromQuickMenu_ = true;
    IsShortcut = false;
  }
}

void WidgetClass::OnSetMenuTriggered(bool flag) {
  MenuTriggered = flag;
  if (flag) OnSetTimeOutValue(kMenuTriggeredTimeOut);
}

void WidgetClass::Refresh() {
  const kv::Rect own{0, 0, Bounds().W(), Bounds().H()};
  background_.OnSetBounds(own);
  frame_.OnSetBounds(own);
  KeyRoutingForm::Refresh();
}

void WidgetClass::OnSetBounds(kv::Rect bounds) {
  const bool resized = bounds.W() != Bounds().W() || bounds.H() != Bounds().H();
  KeyRoutingForm::OnSetBounds(bounds);
  if (resized) Post(&WidgetClass::RefreshSlot);
}

void WidgetClass::Post(void (WidgetClass::*method)(kv::Object*)) { kv::PostSignal(kv::MakeSlot(this, method)); }

kv::Object* WidgetClass::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KeyRoutingForm::HandleEvent(event);
  switch (key->Code) {
    case KEY_EXIT:
    case KEY_EXIT_ALT:
      Post(&WidgetClass::ClearAllSlot);
      break;
    case KEY_UP:
    case KEY_DOWN:
    case KEY_LEFT:
    case KEY_RIGHT:
      break;
    case KEY_BACK:
      Post(PrevState ? &WidgetClass::EnterPrevStateSlot : &WidgetClass::ExitSlot);
      break;
    default:
      return KeyRoutingForm::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

void WidgetClass::HandleFocus(bool focused) {
  KeyRoutingForm::HandleFocus(focused);
  if (IsPersistent && IsOpen()) SetTimeout(focused);
}

void WidgetClass::ClearAll() {
  if (auto* s = nonMenuSystem_.get()) s->ClearAll();
}

int32_t WidgetClass::TransitionCode() const {
  if (MenuTriggered) return Constants::MSG_FROM_MENUSYSTEM;
  if (fromQuickMenu_) return Constants::MSG_FROM_QUICKMENU;
  return Constants::MSG_FROM_NONMENUSYSTEM;
}

void WidgetClass::OpenState(const kv::Class* cls, const kv::Class* prev) {
  ::NonMenuSystem::NonMenuSystem* s = nonMenuSystem_.get();
  if (!s || !cls) return;
  auto* param = kv::New<SkinBin::UserRefInt>();
  param->Code = TransitionCode();
  auto* state = kv::New<SubSystem::State>();
  state->Class = cls;
  state->PrevState = prev;
  state->Param = param;
  s->ChangeState(state);
}

void WidgetClass::EnterNextState() {
  Close();
  if (NextState) OpenState(NextState, KvClass());
}

void WidgetClass::EnterPrevState() {
  Close();
  if (IsShortcut) {
    if (auto* s = nonMenuSystem_.get()) s->ClearHelpBar();
    HandBackToMenu();
  } else if (PrevState) {
    OpenState(PrevState, nullptr);
  }
}

void WidgetClass::HandBackToMenu() {
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CHANGE_APPEARANCE, nullptr, Constants::APPEARANCE_VISIBLE);
  agent->Dispatch(msg);
  msg->IntParam = Constants::APPEARANCE_FOCUS;
  agent->DispatchTo(msg, KV_LATE_CLASS("MenuSystem::MenuSystem"));
}

// --- KXDWidgetClass ----------------------------------------------------------------

KXDWidgetClass::KXDWidgetClass() {
  KeyRoutingForm::OnSetBounds({0, 0, 380, 250});
  OnSetTimeOutValue(kCaptionedTimeOut);
  background_.OnSetColor({0, 0, 0, 0});
  background_.OnSetVisible(false);
  frame_.OnSetBitmap(Resources::LoadResource(Bitmaps::MiniGuideBackground));
  frame_.OnSetVisible(true);
  caption_.OnSetBounds({30, 30, 350, 60});
  caption_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  caption_.OnSetColor(Colors::TitleTextColor);
  caption_.OnSetAlignH(0);
  caption_.OnSetAlignV(1);
  divider_.OnSetBitmap(Resources::LoadResource(Bitmaps::PopUpDivider));
  divider_.OnSetBounds({30, 70, 350, 72});
  Add(&caption_);
  Add(&divider_);
  KXDWidgetClass::Refresh();
}

void KXDWidgetClass::Refresh() {
  WidgetClass::Refresh();
  const int32_t w = FrameWidth;
  const int32_t width = Bounds().W();
  const kv::Rect caption{w + 11, w + 7, w + 11 + (width - 2 * w - 22), w + 7 + 30};
  caption_.OnSetBounds(caption);
  divider_.OnSetBounds({w + 5, caption.y2, w + 5 + (width - 2 * w - 10), caption.y2 + 2});
  caption_.OnSetVisible(HasCaption);
  divider_.OnSetVisible(HasCaption);
}

void KXDWidgetClass::OnSetCaption(const kv::String& text) {
  Caption = text;
  caption_.OnSetString(text);
}

void KXDWidgetClass::OnSetHasCaption(bool on) {
  HasCaption = on;
  Post(&WidgetClass::RefreshSlot);
}

void KXDWidgetClass::OnSetFrameWidth(int32_t width) {
  FrameWidth = width;
  const int32_t shrink = 2 * (kDefaultFrameWidth - width);
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x2 - shrink, b.y2 - shrink});
  Post(&WidgetClass::RefreshSlot);
}

// --- BorderWidgetClass ---------------------------------------------------------------

BorderWidgetClass::BorderWidgetClass() {
  KeyRoutingForm::OnSetBounds({0, 0, 450, 120});
  background_.OnSetColor(Colors::Black);
  frame_.OnSetVisible(false);
  caption_.OnSetBounds({20, 0, 365, 25});
  caption_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  caption_.OnSetColor(Colors::StandardTextColor);
  caption_.OnSetAlignH(0);
  caption_.OnSetAlignV(1);
  border_.OnSetWidth(1);
  border_.OnSetColor(Colors::DialogBorder);
  Add(&caption_);
  Add(&border_);
  BorderWidgetClass::Refresh();
}

void BorderWidgetClass::Refresh() {
  WidgetClass::Refresh();
  const kv::Rect b = Bounds();
  border_.OnSetBounds({0, 0, b.W(), b.H()});
  const kv::Rect c = caption_.Bounds();
  caption_.OnSetBounds({18, c.y1, b.W() - 18, c.y1 + 30});
}

void BorderWidgetClass::OnSetCaption(const kv::String& text) {
  Caption = text;
  caption_.OnSetString(text);
}

}  // namespace NonMenuSystem
