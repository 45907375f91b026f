// The Channels unit's common parts.
//
// Channels::ChannelsDialogClass: the captioned dialog frame of every screen
// of the unit, at the unit's standard size, on a layer of its own (the
// banner of a channel the screens tune opens beside them). Moving on (EnterNextState) is the
// base screen's: close, then open NextState with the transition code of
// where this screen was opened from.
//
// Channels::ScanPanel: the views of the two scan screens (progress label, a
// count label, three separators, percentage, bar, count, channel and the
// waiting text) and their layout.
//
// The helpers below give the unit's texts and the analogue/digital choice
// that every scan makes.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/SkinBin/Sliders.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace SkinBin {
class Wrapper;
}  // namespace SkinBin

namespace Channels {

// The unit's standard dialog size.
inline constexpr int32_t kDialogWidth = 560;
inline constexpr int32_t kDialogHeight = 320;
// The layer of the unit's dialogs: the plain screens' bit (every screen
// outside the menu closes with them) and one of its own, so that the banner
// of a channel these screens tune (layer 32) opens behind them instead of
// replacing them; the help bar and the key pad stay in front.
inline constexpr uint32_t kChannelsLayer = NonMenuSystem::kWidgetLayer | 1u;
// An abort the set does not answer within this time counts as answered.
inline constexpr int32_t kAbortAnswerMs = 10000;

class ChannelsDialogClass : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(Channels, ChannelsDialogClass, NonMenuSystem::KXDWidgetClass)
 public:
  ChannelsDialogClass();

  // The base's layout; the frame's bitmap stands FrameWidth in from the
  // screen's edges, the margin that width keeps round the content.
  void Refresh() override;
};

// The live skin Wrapper, or null (logged) while another Wrapper runs.
SkinBin::Wrapper* Skin();
// A decimal number.
kv::String Number(int64_t v);
// Texts joined by `separator`.
kv::String Join(const kv::String& separator, std::initializer_list<kv::String> parts);
// The caption of a scan screen: the cable or antenna caption for `medium`,
// then the suffix of window 0's source (`source` 0 or another).
kv::String ScanCaption(int32_t medium, int32_t source);
// Which kinds a scan asks for: digital only on a digital tuner input of
// window 0, else the viewer's AddAnalog and AddDigital settings.
struct ScanKinds {
  bool analog = true;
  bool digital = true;
};
ScanKinds ChosenScanKinds(SkinBin::Wrapper* w);
// Left and right move the focus between two buttons, wrapping.
void ToggleButtons(Core::Group* dialog, SkinBin::Button* first, SkinBin::Button* second);
// The look of the unit's buttons.
void StyleButton(SkinBin::Button* b, const kv::String& text);

// The views of a scan screen (held by value in the screen).
struct ScanPanel {
  Views::Text progressLabel;
  Views::Text countLabel;
  Views::Rectangle separators[3];
  Views::Text percent;
  SkinBin::ProgressKXD bar;
  Views::Text count;
  Views::Text channel;
  Views::Text waiting;

  // Texts, fonts and colours; adds the views to `dialog`.
  void Build(Core::Group* dialog, const kv::String& countCaption);
  // Places the views in a dialog of `width` x `height` with frame `frame`.
  void Layout(int32_t width, int32_t height, int32_t frame);
  // On: the waiting text instead of count, bar, channel and percentage.
  void ShowWaiting(bool on);
  // The bar and the percentage text.
  void ShowPercent(int32_t value);
  // SID_CHANNEL, the separator and `number`.
  void ShowChannel(const kv::String& number);
};

// The "nothing found" screens' warning and their OK and Exit buttons (held
// by value in the screen; OK focused).
struct ErrorPanel {
  Views::MultilineText warning;
  SkinBin::Button ok;
  SkinBin::Button exit;

  // Texts and looks; adds the views to `dialog` and focuses OK.
  void Build(Core::Group* dialog);
  void Layout(int32_t width, int32_t height, int32_t frame);
  // Left and right move between the buttons (wrapping): true when the key was one.
  bool HandleKey(Core::Group* dialog, Core::Event* event);
};

}  // namespace Channels
