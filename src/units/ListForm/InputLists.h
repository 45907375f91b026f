// The lists of the television's inputs: ListForm::ExternalInputList (input
// selection: one row per input, disabled inputs skipped, the chosen one
// tuned, the way into the HDMI-CEC devices of an input), ListForm::
// CecInputList (the HDMI-CEC devices of one input) and ListForm::
// InputLabelingList (per input a label from a fixed set or typed in, and a
// skip flag that disables the input in input selection).
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/ListForm/ListCourier.h"
#include "units/ListForm/OptionLists.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace ListForm {

// Delay between the last input-key press and the tuning of the input.
inline constexpr int32_t kInputAutoTuneMs = 500;
// Number of label choices without and with a custom label.
inline constexpr int32_t kLabelChoices = 9;
inline constexpr int32_t kLabelChoicesCustom = 10;
// Longest label typed on the key pad.
inline constexpr int32_t MaxLabelLength = 10;

class InputCourier : public ListCourier {
  KV_CLASS(ListForm, InputCourier, ListCourier)
 public:
  uint8_t CecAddress = 0;
  bool HasCecDevice = false;
  int32_t SourceId = 0;
  kv::String Label;
  kv::Member<Resources::Bitmap> IndexImage;
  int32_t SourceType = 0;
};

class CecInputCourier : public ListCourier {
  KV_CLASS(ListForm, CecInputCourier, ListCourier)
 public:
  bool IsCurrent = false;
  uint8_t CecAddress = 0;
  int32_t SourceId = 0;
};

class InputLabelingCourier : public ListCourier {
  KV_CLASS(ListForm, InputLabelingCourier, ListCourier)
 public:
  bool IsSkip = false;
  int32_t SourceId = 0;
  kv::String LabelText;
  int32_t LabelCount = kLabelChoices;
  kv::String CustomLabel;
};

// The source-type icon of an input type (none for unknown types).
Resources::Bitmap* SourceTypeIcon(int32_t type);
// Tuner inputs (analogue and digital) are never locked or disabled.
bool IsTunerType(int32_t type);

class InputItem : public ListItem {
  KV_CLASS(ListForm, InputItem, ListItem)
 public:
  InputItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void OnSetText(const kv::String& text) override;
  void Refresh() override;
  void HandleFocus(bool focused) override;
  void RefreshCtrlState(int32_t state) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  void OnSetIndexImage(Resources::Bitmap* bitmap);
  void OnSetLabelText(const kv::String& text);
  const kv::String& OnGetLabelText() const { return label_.OnGetString(); }
  void OnSetSourceType(int32_t type);
  int32_t OnGetSourceType() const { return SourceType; }
  Resources::Bitmap* TypeIcon() { return typeIcon_.OnGetBitmap(); }

  int32_t SourceType = 0;
  int32_t SourceId = 0;
  bool HasCecDevice = false;
  uint8_t CecAddress = 0;

 private:
  void ShowMarks();

  Views::Image index_;
  Views::Image typeIcon_;
  Views::Text label_;
  Views::Image cec_;
  Views::Image arrow_;
  bool disabledLayout_ = false;  // the label placed for a disabled row
};

class CecInputItem : public ListItem {
  KV_CLASS(ListForm, CecInputItem, ListItem)
 public:
  CecInputItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  void OnSetIsCurrent(bool on);
  bool OnGetIsCurrent() const { return IsCurrent; }

  bool IsCurrent = false;
  uint8_t CecAddress = 0;
  int32_t SourceId = 0;

 private:
  Views::Image marker_;
};

class InputLabelingItem : public ListItem {
  KV_CLASS(ListForm, InputLabelingItem, ListItem)
 public:
  // The names' column ends at the first divider of a labelling row; the key
  // pad stands right of it.
  static constexpr int32_t kNameColumnEnd = 130;

  InputLabelingItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  // Left and right change the label, 20 toggles skip, OK does nothing more;
  // each signals FocusMove. 21 (ActivateKey) opens the key pad.
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  void HandleFocus(bool focused) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  // One step through the choices (wrapping), stored at once.
  void ChangeLabel(bool forward);
  // Toggles the skip flag and stores it.
  void SkipSource();
  // The text of choice `index` (the custom label for the last choice while
  // there is one).
  kv::String ChoiceText(int32_t index) const;

  // Where the skip check box stands in the row.
  kv::Rect CheckBoxBounds() const { return check_.Bounds(); }

  void OnSetIsSkip(bool on);
  void OnSetLabelText(const kv::String& text);
  void OnSetCustomLabel(const kv::String& text) { CustomLabel = text; }

  bool IsSkip = false;
  kv::String LabelText;
  kv::String CustomLabel;
  int32_t LabelOptionIndex = 0;
  int32_t LabelCount = kLabelChoices;
  int32_t SourceId = 0;
  kv::Slot FocusMove;

 private:
  Views::Text label_;
  Views::Image check_;
  Views::Image left_;
  Views::Image right_;
};

// The shared parts of the input and CEC lists: the auto-tune timer and the
// shrinking to their rows.
class AutoTuneList : public ListClass {
  KV_CLASS(ListForm, AutoTuneList, ListClass)
 public:
  AutoTuneList();
  // Tunes the focused row's input.
  virtual void TuneToSource(kv::Object* sender = nullptr);
  bool IsAutoTunePending() const { return timer_.IsEnabled(); }

 protected:
  // Height = full height less (ItemInterval + 28) for each row below MaxRows.
  void ShrinkToRows();
  // The input key: the next row, and a tune 500 ms after the last press.
  kv::Object* StepAndRestartTune(Core::Event* event);
  void StopAutoTune() { timer_.OnSetEnabled(false); }

 private:
  void TimerSlot(kv::Object* sender);
  Core::Timer timer_;
  int32_t fullHeight_ = -1;
};

class ExternalInputList : public AutoTuneList {
  KV_CLASS(ListForm, ExternalInputList, AutoTuneList)
 public:
  ExternalInputList();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  int32_t GetFocusItemIndex() override;
  // The next or previous row that is not disabled, wrapping; the row itself
  // when no other qualifies.
  Forms::Ctrl* GetScrolledItem(Forms::Ctrl* row, int32_t direction) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void TuneToSource(kv::Object* sender = nullptr) override;
  // Right on an input with HDMI-CEC devices asks for its device list.
  void ProcessRightKey();
  // Rebuilds row `index` (1 <= index < number of inputs) from the Wrapper.
  void RefreshItems(int32_t index);

  bool InputLock = false;

 private:
  bool cecListInitialized_ = false;
};

class CecInputList : public AutoTuneList {
  KV_CLASS(ListForm, CecInputList, AutoTuneList)
 public:
  CecInputList();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // The device count handed in the parameter.
  int32_t GetItemsNum() override;
  // The input's current device.
  int32_t GetFocusItemIndex() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void TuneToSource(kv::Object* sender = nullptr) override;

  int32_t DeviceCount = 0;
};

class InputLabelingList : public IndicatedList {
  KV_CLASS(ListForm, InputLabelingList, IndicatedList)
 public:
  InputLabelingList();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  int32_t GetItemsNum() override;
  void InitializeItems() override;
  // Key 21 on a row: the key pad, starting from the custom label.
  void DoChangeLabel(kv::Object* sender);
  // The key pad's answer (MSG_LABEL_CHANGE).
  void HandleMessage(Structures::Message* msg) override;
};

}  // namespace ListForm
