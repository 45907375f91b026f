#include "units/Channels/ChannelsDialog.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/Channels.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Fonts/Fonts.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/SkinBin/Wrapper.h"

KV_REGISTER_CLASS(Channels::ChannelsDialogClass);

namespace Channels {

using namespace keys;

ChannelsDialogClass::ChannelsDialogClass() {
  KeyRoutingForm::OnSetBounds({0, 0, kDialogWidth, kDialogHeight});
  Layer = kChannelsLayer;
}

void ChannelsDialogClass::Refresh() {
  KXDWidgetClass::Refresh();
  const int32_t w = FrameWidth;
  frame_.OnSetBounds({w, w, std::max(w, Bounds().W() - w), std::max(w, Bounds().H() - w)});
}

SkinBin::Wrapper* Skin() {
  auto* w = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper));
  if (!w) Core::LogError("Channels: the skin Wrapper is not the live Wrapper");
  return w;
}

kv::String Number(int64_t v) { return kv::String::FromUtf8(std::to_string(v)); }

kv::String Join(const kv::String& separator, std::initializer_list<kv::String> parts) {
  kv::String text;
  bool first = true;
  for (const kv::String& part : parts) {
    text = first ? part : kv::ConcatString(kv::ConcatString(text, separator), part);
    first = false;
  }
  return text;
}

kv::String ScanCaption(int32_t medium, int32_t source) {
  const kv::String caption = kv::GetVariantOfString(medium == 1 ? Strings::SID_AUTO_TUNING_CABLE
                                                                : Strings::SID_AUTO_TUNING_ANT);
  return kv::ConcatString(caption, kv::GetVariantOfString(source == 0 ? CAPTION_TUNER_1 : CAPTION_TUNER_2));
}

ScanKinds ChosenScanKinds(SkinBin::Wrapper* w) {
  if (!w) return {};
  if (w->GetSourceType(w->GetCurrentSource(0)) == Constants::XPM_SOURCE_TYPE_RF_DIGITAL) return {false, true};
  return {w->OnGetAddAnalog() != 0, w->OnGetAddDigital() != 0};
}

void ToggleButtons(Core::Group* dialog, SkinBin::Button* first, SkinBin::Button* second) {
  dialog->OnSetFocus(dialog->OnGetFocus() == first ? static_cast<Core::View*>(second) : first);
}

void StyleButton(SkinBin::Button* b, const kv::String& text) {
  b->OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonNonfocus));
  b->OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus));
  b->OnSetTextAlignH(1);
  b->OnSetText(text);
}

// --- ScanPanel ----------------------------------------------------------------------

void ScanPanel::Build(Core::Group* dialog, const kv::String& countCaption) {
  for (Views::Text* t : {&progressLabel, &countLabel, &percent, &count, &channel, &waiting}) {
    t->OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    t->OnSetColor(Colors::StandardTextColor);
    t->OnSetAlignV(1);
    t->OnSetEllipsis(true);
  }
  progressLabel.OnSetString(kv::GetVariantOfString(Strings::SID_PROGRESS));
  countLabel.OnSetString(countCaption);
  countLabel.OnSetAlignH(2);
  percent.OnSetAlignH(2);
  count.OnSetAlignH(2);
  waiting.OnSetAlignH(1);
  channel.OnSetString(kv::ConcatString(kv::GetVariantOfString(Strings::SID_CHANNEL), kv::GetVariantOfString(LABEL_SEPARATOR)));
  waiting.OnSetString(kv::GetVariantOfString(Strings::SID_WAITING));
  for (Views::Rectangle& r : separators) r.OnSetColor(Colors::DialogBorder);
  bar.OnSetMin(0);
  bar.OnSetMax(100);
  bar.OnSetValue(0);
  bar.OnSetStretchIndicator(::Progress::kIndicatorStretch);
  // The fill runs inside the track's rim.
  bar.OnSetIndicatorTopLeft({2, 2});
  bar.OnSetIndicatorBottomRight({2, 2});
  bar.OnSetReadOnly(true);
  dialog->Add(&progressLabel);
  dialog->Add(&countLabel);
  for (Views::Rectangle& r : separators) dialog->Add(&r);
  dialog->Add(&percent);
  dialog->Add(&bar);
  dialog->Add(&count);
  dialog->Add(&channel);
  dialog->Add(&waiting);
}

void ScanPanel::Layout(int32_t width, int32_t height, int32_t frame) {
  const int32_t x1 = frame + 16;
  const int32_t x2 = std::max(x1 + 1, width - frame - 16);
  const int32_t top = frame + 7 + 30 + 14;
  progressLabel.OnSetBounds({x1, top, x1 + 200, top + 26});
  percent.OnSetBounds({x2 - 120, top, x2, top + 26});
  separators[0].OnSetBounds({x1, top + 30, x2, top + 32});
  bar.OnSetBounds({x1, top + 42, x2, top + 58});
  waiting.OnSetBounds({x1, top + 36, x2, top + 64});
  separators[1].OnSetBounds({x1, top + 68, x2, top + 70});
  const int32_t mid = (x1 + x2) / 2;
  channel.OnSetBounds({x1, top + 76, mid, top + 102});
  countLabel.OnSetBounds({mid, top + 76, x2 - 70, top + 102});
  count.OnSetBounds({x2 - 66, top + 76, x2, top + 102});
  separators[2].OnSetBounds({x1, std::min(height - frame - 8, top + 108), x2, std::min(height - frame - 6, top + 110)});
}

void ScanPanel::ShowWaiting(bool on) {
  waiting.OnSetVisible(on);
  for (Core::View* v : std::initializer_list<Core::View*>{&count, &bar, &channel, &percent}) v->OnSetVisible(!on);
}

void ScanPanel::ShowPercent(int32_t value) {
  bar.OnSetValue(value);
  percent.OnSetString(kv::ConcatString(Number(bar.OnGetValue()), kv::LoadString(PERCENT_SUFFIX)));
}

void ScanPanel::ShowChannel(const kv::String& number) {
  channel.OnSetString(kv::ConcatString(
      kv::ConcatString(kv::GetVariantOfString(Strings::SID_CHANNEL), kv::GetVariantOfString(LABEL_SEPARATOR)), number));
}

// --- ErrorPanel ---------------------------------------------------------------------

void ErrorPanel::Build(Core::Group* dialog) {
  warning.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  warning.OnSetColor(Colors::StandardTextColor);
  warning.OnSetAlignH(1);
  warning.OnSetString(kv::GetVariantOfString(Strings::SID_NO_CHANNELS_WARNING));
  dialog->Add(&warning);
  StyleButton(&ok, kv::GetVariantOfString(Strings::SID_OK));
  StyleButton(&exit, kv::GetVariantOfString(Strings::SID_EXIT));
  dialog->Add(&ok);
  dialog->Add(&exit);
  dialog->OnSetFocus(&ok);
}

void ErrorPanel::Layout(int32_t width, int32_t height, int32_t frame) {
  warning.OnSetBounds({frame + 16, frame + 30, width - frame - 16, std::max(frame + 31, height - frame - 70)});
  const int32_t y = height - frame - 50;
  const int32_t x = width / 2;
  ok.OnSetBounds({x - 190, y, x - 10, y + 27});
  exit.OnSetBounds({x + 10, y, x + 190, y + 27});
}

bool ErrorPanel::HandleKey(Core::Group* dialog, Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || (key->Code != KEY_LEFT && key->Code != KEY_RIGHT)) return false;
  ToggleButtons(dialog, &ok, &exit);
  return true;
}

}  // namespace Channels
