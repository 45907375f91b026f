// Record::RecordOptionsDialog: what the record key (on live TV) and OK on the
// programme on now (in the guide) offer: record the channel in tune at once,
// or record the programme on now through the timer editor (kind 3, its
// start and length; a timer of one hour from now when the guide knows no
// programme). Up and down move between the two, wrapping; back only closes
// it, leaving live TV or the guide beneath.
#pragma once

#include <cstdint>

#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"

namespace Record {

inline constexpr int32_t RecordOptionTypeHotKey = 1;
inline constexpr int32_t RecordOptionTypeGuide = 2;

class RecordOptionsDialog : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(Record, RecordOptionsDialog, NonMenuSystem::KXDWidgetClass)
 public:
  RecordOptionsDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  void EnterPrevState() override;
  void ReInit() override;

  int32_t OnGetOptionType() const { return OptionType; }
  // 1 clears the previous state; 2 makes the guide the previous state.
  void OnSetOptionType(int32_t type);
  // The editor's from-guide flag: 1 when opened from the guide.
  int32_t GetNextStateType() const { return OptionType == RecordOptionTypeGuide ? 1 : 0; }
  void StartRecord();
  void DoActivate(kv::Object* sender);

  int32_t OptionType = RecordOptionTypeHotKey;
  SkinBin::Button RecordNowButton;
  SkinBin::Button RecordProgramButton;
};

}  // namespace Record
