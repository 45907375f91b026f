#include "units/NonMenuSystem/SoftwareLicencesDialog.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"

KV_REGISTER_CLASS(NonMenuSystem::SoftwareLicencesDialog);

namespace NonMenuSystem {

namespace {

using namespace keys;

// The scroll bar at the right edge of the text area.
constexpr kv::Rect kTrack{692, 45, 698, 375};
constexpr int32_t kMinThumb = 16;
constexpr kv::Color kTrackColor{60, 62, 66, 255};

}  // namespace

SoftwareLicencesDialog::SoftwareLicencesDialog() {
  OnSetBounds({0, 0, 730, 400});
  OnSetCaption(kv::GetVariantOfString(Strings::SID_SOFTWARE_LICENCES));
  PrevState = KV_LATE_CLASS("MenuSystem::SetupMenu");
  area_.OnSetBounds({19, 36, 709, 381});
  area_.OnSetColor(Colors::StandardBgColor);
  text_.OnSetBounds({30, 45, 670, 375});
  text_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  text_.OnSetColor(Colors::StandardTextColor);
  text_.OnScrollNotice = kv::MakeSlot(this, &SoftwareLicencesDialog::Scrolled);
  track_.OnSetBounds(kTrack);
  track_.OnSetColor(kTrackColor);
  thumb_.OnSetColor(Colors::StandardTextColor);
  Add(&area_);
  Add(&text_);
  Add(&track_);
  Add(&thumb_);
  // The frame stands behind everything else.
  Restack(&frame_, -GetChildCount());
  OnSetFocus(&text_);
  PlaceThumb();
}

void SoftwareLicencesDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  if (::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) {
    kv::String help = kv::ConcatString(kv::GetVariantOfString(Strings::SID_SCROLL), kv::LoadString(HELP_SEPARATOR));
    s->UpdateHelp(kHelpMask, kv::ConcatString(help, kv::GetVariantOfString(Strings::SID_BACK)));
  }
  auto* skin = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper));
  text_.OnSetString(skin ? skin->ReadFromFile(kv::LoadString(LICENCE_FILE)) : kv::String());
  OnSetFocus(&text_);
}

kv::Object* SoftwareLicencesDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == KEY_OK) {
    Post(PrevState ? &WidgetClass::EnterPrevStateSlot : &WidgetClass::ClearAllSlot);
    return this;
  }
  return BorderWidgetClass::HandleEvent(event);
}

void SoftwareLicencesDialog::Scrolled(kv::Object*) {
  ResetTimeout();
  PlaceThumb();
}

void SoftwareLicencesDialog::PlaceThumb() {
  const int32_t max = text_.MaxScroll();
  const int32_t view = text_.Bounds().H();
  const int32_t track = kTrack.H();
  track_.OnSetVisible(max > 0);
  thumb_.OnSetVisible(max > 0);
  if (max <= 0) return;
  int32_t h = static_cast<int32_t>(int64_t{track} * view / (view + max));
  if (h < kMinThumb) h = kMinThumb;
  const int32_t y = kTrack.y1 + static_cast<int32_t>(int64_t{track - h} * text_.GetScroll() / max);
  thumb_.OnSetBounds({kTrack.x1, y, kTrack.x2, y + h});
}

}  // namespace NonMenuSystem
