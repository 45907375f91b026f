// The full programme guide of live TV (Channels::FullEPGDialog, window
// 0x2000032, the guide key): the channel column (ListForm::EPGChannelList,
// focused), the programme list of the listed channel (ListForm::
// EPGProgramList), the focused programme's details (Channels::EPGInfoForm),
// the live picture shrunk into a window at (10, 324) 366 x 206, the clock
// and the channel in tune. Left / right move between column and list; the
// column tunes the set 500 ms after it rests (only lists, while the set
// records or time-shifts); volume and mute keys act here with their own
// line. Sixty seconds without a key, the guide key or back close it, and the
// picture returns to the whole screen.
//
// Channels::EPGInfoForm: title, time span, scrolling description, the stream
// badges of the channel in tune (every 2000 ms), the focused programme's
// rating, and the legend.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/member.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "units/Resources/Resources.h"
#include "units/Core/Timer.h"
#include "units/ListForm/GuideLists.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/TextForm.h"
#include "units/Structures/LocalTime.h"
#include "units/Views/Frame.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Image.h"
#include "units/Views/Line.h"
#include "units/Views/Text.h"

namespace Channels {

// The key legend of a details pane: up to six icon + caption pairs in a row.
class GuideLegend {
 public:
  static constexpr int32_t kMax = 6;
  struct Entry {
    const Resources::BitmapId* icon;
    const kv::MultiTextId* caption;
  };
  // Adds the pairs to `form`, from (x, y), each caption fitted to its text.
  void Build(Core::Group& form, std::initializer_list<Entry> entries, int32_t x, int32_t y);

 private:
  Views::Image icons_[kMax];
  Views::Text captions_[kMax];
};

// What both details panes are built on (the guide's EPGInfoForm below and
// the recording lists' Record::EPGInfoForm): the background, the programme's
// title and time span, the line under them, the scrolling description, the
// line above the key legend, and the programme's values. The owner sets
// title, description, Duration and start time. Each pane names
// KeyRoutingForm as its class ancestor; this base has no class descriptor of
// its own.
class ProgrammePane : public Primitives::KeyRoutingForm {
 public:
  // A new size lays the pane out again (Refresh).
  void OnSetBounds(kv::Rect bounds) override;

  void OnSetTitle(const kv::String& text);
  const kv::String& OnGetTitle() const { return Title; }
  void OnSetDescriptionText(const kv::String& text);
  const kv::String& OnGetDescriptionText() const { return DescriptionText; }
  // Writes the time span from the start and Duration (minutes); null clears it.
  void OnSetStartTime(Structures::LocalTime* time);
  Structures::LocalTime* OnGetStartTime() const { return StartTime.get(); }

  kv::String Title;
  kv::String DescriptionText;
  kv::Member<Structures::LocalTime> StartTime;
  int32_t Duration = 0;

  Views::Text TimeSpan;
  Views::Text TitleText;
  SkinBin::TextForm Description;

 protected:
  // The background takes `background`; background, texts and lines are
  // added in drawing order, before the pane's own views.
  explicit ProgrammePane(const Resources::BitmapId& background);
  // Places background, title, time span and lines over the pane's size; the
  // description fills what the title lines and the legend line leave. The
  // time span keeps the width of its text (a 12-hour time is longer in
  // Spanish).
  void PlaceTexts();
  // Places `badges` on the time span's line, clear of its text, the shown
  // ones one after the other; returns where the next one would stand.
  int32_t PlaceBadges(std::initializer_list<Views::Image*> badges);

  Views::Frame background_;
  Views::Line line1_;
  Views::Line line2_;
  GuideLegend legend_;
};

class EPGInfoForm : public ProgrammePane {
  KV_CLASS(Channels, EPGInfoForm, Primitives::KeyRoutingForm)
 public:
  EPGInfoForm();
  ~EPGInfoForm() override;
  void Refresh() override;
  void Close() override;
  void ReInit() override;

  void UpdateBanner();
  void HideAllInfo();
  void RefreshSlot(kv::Object* = nullptr) { UpdateBanner(); }
  // The focused programme's rating words (0: none), shown at once.
  void OnSetRating(int32_t usWord, int32_t canadian);

  // The rating the pane shows is the focused programme's own, not the
  // channel's current one: a later programme may be rated otherwise.
  int32_t UsRating = 0;
  int32_t CanadianRating = 0;
  Views::Image Dolby;
  Views::Image AudioMode;
  Views::Text Rating;
  Views::Image SDHD;
  Views::Image Caption;
  Views::Image Resolution;
  Views::Image Record;
  Views::Text SignalText;

 private:
  void StartTimer();

  Core::Timer refreshTimer_;
};

class FullEPGDialog : public NonMenuSystem::WidgetClass {
  KV_CLASS(Channels, FullEPGDialog, NonMenuSystem::WidgetClass)
 public:
  FullEPGDialog();
  ~FullEPGDialog() override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleMessage(Structures::Message* msg) override;
  void Close() override;
  void ReInit() override;
  // The focused rows of both lists show the focus only while the guide
  // takes the keys.
  void HandleFocus(bool focused) override;

  void UpdateBanner();
  void RefreshSlot(kv::Object* = nullptr);
  void UpdateEPGInfo(kv::Object* = nullptr);
  void UpdateEPGSlot(kv::Object* = nullptr);
  void ChannelChangeSlot(kv::Object* = nullptr);
  void UpdateVolume(uint16_t key);
  void ToggleMute();
  void ClearVolume(kv::Object* = nullptr);
  kv::String GetFocusedProgramTitle() const { return Info.Title; }
  kv::String GetFocusedProgramSubtitle() const { return Info.DescriptionText; }

  ListForm::EPGChannelList Column;
  ListForm::EPGProgramList Programs;
  EPGInfoForm Info;
  Views::Text Number;
  Views::Text Name;
  Views::Text Clock;
  Views::Text SourceCaption;
  Views::Text Volume;
  Views::Image RecordMark;
  Core::Timer& VolumeTimer() { return volumeTimer_; }
  Core::Timer& RefreshTimer() { return refreshTimer_; }
  // The panels of the channel column and of the programme list.
  const Views::Frame& ColumnPanel() const { return columnPanel_; }
  const Views::Frame& ListPanel() const { return listPanel_; }
  // Where the live picture shows through the guide.
  const Views::Rectangle& VideoWindow() const { return videoWindow_; }

 private:
  void StartTimers();
  void SetWaiting(int32_t mode);
  // The clock text and its place at the right of the header.
  void PlaceClock();
  // The title, the input and the channel's number and name, left to right.
  void PlaceHeader();

  Views::Frame backdrop_;
  Views::Frame header_;
  Views::Frame clockPanel_;
  Views::Frame columnPanel_;
  Views::Frame listPanel_;
  Views::Frame videoBorder_;
  Views::Rectangle videoWindow_;  // the live picture shows through it
  Views::Line divider1_;
  Views::Line divider2_;
  Views::Text caption_;
  Views::Text columnCaption_;
  Views::Text listCaption_;
  Core::Timer volumeTimer_;
  Core::Timer clockTimer_;
  Core::Timer refreshTimer_;
};

}  // namespace Channels
