// The two full-screen recording lists of the record menu:
//
// Record::ScheduledRecordDialog (window 0x2000034): the set's timers as the
// recording database lists them; OK edits the focused one in the timer
// editor, red deletes it after confirmation 62 (message 50 while it
// records), the panel shows the programme of a timer set from the guide.
// Record::RecordedShowsDialog (window 0x2000033): the shows on the USB disk;
// OK does nothing, red deletes the focused show after confirmation 61, the
// panel shows a show's programme when it has one.
//
// Both show the input and the channel in tune, the clock, the volume and
// mute keys' line, and the legend of their keys (RecordScreenParts).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "units/Core/Timer.h"
#include "units/ListForm/RecordLists.h"
#include "units/ListForm/RowColumns.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Record/EPGInfoForm.h"
#include "units/Views/Frame.h"
#include "units/Views/Image.h"
#include "units/Views/Line.h"
#include "units/Views/Text.h"

namespace Record {

// What the two screens share: the header with input, channel and clock, the
// column headers, the panel and the volume line. Held by value in each
// screen; its views are the screen's children.
struct RecordScreenParts {
  static constexpr int32_t kMaxHeaders = 7;
  struct Header {
    const kv::MultiTextId* text;
    ListForm::RowColumn column;  // of the list's rows, that the header stands over
  };

  // Adds the views to `screen` around `list`.
  void Build(NonMenuSystem::WidgetClass& screen, ListForm::RecordListBase& list, const kv::MultiTextId& caption,
             std::initializer_list<Header> headers);
  void ReloadTexts();
  // Source icon and text, channel banner, clock (steps 2 to 6 of the start-up).
  void ShowHeader();
  void UpdateSourceImage(int32_t sourceType);
  void UpdateBanner();
  void UpdateClock();
  void FitBanner();
  // The panel for the list's focused programme, when `show`; else hidden.
  void UpdateEPGInfo(const ListForm::FocusedProgramme& f, bool show);
  // Keys 46 (up) and 47 (down): the volume changes only from 1 to 99.
  void UpdateVolume(uint16_t key);
  void ClearVolume();
  void ToggleMute();

  Views::Frame BannerFrame;
  Views::Frame SecondFrame;
  Views::Frame ClockFrame;
  Views::Text Number;
  Views::Text Name;
  Views::Text Clock;
  EPGInfoForm Info;
  Views::Line Separator;
  Views::Text Caption;
  Views::Text ListCaption;
  Views::Frame SourceFrame;
  Views::Text SourceText;
  Views::Text Volume;
  Core::Timer VolumeTimer;
  Views::Text Headers[kMaxHeaders];
  Views::Image SourceImage;

 private:
  const kv::MultiTextId* caption_ = nullptr;
  const kv::MultiTextId* headerTexts_[kMaxHeaders] = {};
  int32_t headerCount_ = 0;
};

// What both screens are made of: a full-screen shortcut of the record menu
// with its list of kind ListT and the parts around it, opened, reloaded and
// closed alike, answering the volume, mute and description-scroll keys
// alike. Each screen names WidgetClass as its class ancestor; this base has
// no class descriptor of its own.
template <class ListT>
class RecordListScreen : public NonMenuSystem::WidgetClass {
 public:
  ~RecordListScreen() override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // Keys 46/47 (volume), 58/59 (description scroll) and 84 (mute); the
  // others go to the base.
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  void ReInit() override;

  // The panel for the focused row (hidden without rows or when the row has
  // no programme to show).
  void UpdateEPGInfo(kv::Object* sender = nullptr);
  void ClearVolume(kv::Object* = nullptr) { Parts.ClearVolume(); }
  // Deletes the focused entry (the confirmation's yes), then reloads.
  virtual void DeleteFocused() = 0;

  ListT List;
  RecordScreenParts Parts;

 protected:
  RecordListScreen(int32_t winId, const kv::MultiTextId& caption, std::initializer_list<RecordScreenParts::Header> headers);
  // Whether the focused row's programme shows in the panel.
  virtual bool ShowsProgramme() = 0;
  // The list again after a delete, and the panel for the new focus.
  void Reload();
  // Red on a row: the confirmation `type`, after which the screen takes the keys again.
  void AskToDelete(int32_t type);
};

class ScheduledRecordDialog : public RecordListScreen<ListForm::ScheduledRecordList> {
  KV_CLASS(Record, ScheduledRecordDialog, NonMenuSystem::WidgetClass)
 public:
  ScheduledRecordDialog();
  ~ScheduledRecordDialog() override;

  // Red: message 50 on a row that records, else confirmation 62.
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleMessage(Structures::Message* msg) override;
  void DeleteFocused() override;

 protected:
  bool ShowsProgramme() override;
};

class RecordedShowsDialog : public RecordListScreen<ListForm::RecordedShowsList> {
  KV_CLASS(Record, RecordedShowsDialog, NonMenuSystem::WidgetClass)
 public:
  RecordedShowsDialog();
  ~RecordedShowsDialog() override;

  // OK does nothing; red: confirmation 61.
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleMessage(Structures::Message* msg) override;
  void DeleteFocused() override;

 protected:
  bool ShowsProgramme() override;
};

extern template class RecordListScreen<ListForm::ScheduledRecordList>;
extern template class RecordListScreen<ListForm::RecordedShowsList>;

}  // namespace Record
