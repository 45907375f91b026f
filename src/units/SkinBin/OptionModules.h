// The skin's option modules. The named ones are the modules whose options
// have choice lists that depend on the source, the channel or the sources
// present: their initialisers (OptionInitializers.cpp) refill those records
// each time the option is opened (the record's Initialize). The other skin
// modules (0x82 sound, 0x86 media, 0x87 second picture module) are plain
// OptionDatabase::OptionModuleClass objects.
//
// An initialiser offers the entries of the module's table that apply, in
// table order, with their own values; the record then maps value and index
// through its list. A viewer's caption list never holds more than
// MAX_OPTION_CHOICES entries (the caption key of a digital channel offers
// off, four basic and six advanced services); the service menu's model ids
// are the thirteen of the factory's model table.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/OptionDatabase/OptionModule.h"

namespace SkinBin {

class Wrapper;

inline constexpr int32_t MAX_OPTION_CHOICES = 11;
// The longest sleep time offered in the menu, in minutes (as the sleep key's dialog).
inline constexpr int32_t kSleepMinutes = 120;
inline constexpr int32_t kMinutesPerDay = 24 * 60;

// What the four modules share: the skin's Wrapper that the initialisers read.
class SkinOptionModule : public OptionDatabase::OptionModuleClass {
  KV_CLASS(SkinBin, SkinOptionModule, OptionDatabase::OptionModuleClass)
 public:
  // The Wrapper set here, else the application's when it is the skin's;
  // null (logged) otherwise, and the record keeps its table's list.
  SkinBin::Wrapper* GetWrapper();
  kv::Member<SkinBin::Wrapper> SkinWrapper;

 protected:
  // The record offers table entry i for each bit i set in `mask`.
  void OfferByMask(OptionDatabase::OptionDataClass* record, uint32_t mask);
  // Makes the record map value and index through its list.
  void MapThroughList(OptionDatabase::OptionDataClass* record);
};

// 0x81: picture.
class CustomPictureModule1 : public SkinOptionModule {
  KV_CLASS(SkinBin, CustomPictureModule1, SkinOptionModule)
 public:
  CustomPictureModule1();
  // The picture modes of the current source. A slot.
  void PictureMode_Initialize(kv::Object* sender);
  // The picture sizes of the current source and signal, and the view-mode
  // property they set. A slot.
  void PictureSize_Initialize(kv::Object* sender);

 protected:
  void PrepareRecord(OptionDatabase::OptionDataClass* record, const OptionDatabase::OptionEntry& entry) override;
};

// 0x83: setup, timers and captions.
class ApplicationSetupModule : public SkinOptionModule {
  KV_CLASS(SkinBin, ApplicationSetupModule, SkinOptionModule)
 public:
  ApplicationSetupModule();
  // The on-timer's medium (2 entries) and its selectable inputs. A slot.
  void OnTimerInput_Initialize(kv::Object* sender);
  // The guide's or the timer's channels. A slot.
  void Channel_Initialize(kv::Object* sender);
  // The records whose index counts minutes: the sleep timer (off, then 1 to
  // kSleepMinutes) and the on-timer's power-on time (minute of the day). A slot.
  void Minutes_Initialize(kv::Object* sender);
  // Their captions: "Off" or "N min" for the sleep timer, "HH:MM" for the
  // time of day. A slot.
  void Minutes_GetData(kv::Object* sender);

 protected:
  void PrepareRecord(OptionDatabase::OptionDataClass* record, const OptionDatabase::OptionEntry& entry) override;
};

// 0x84: preferences and locks.
class PreferencesModule1 : public SkinOptionModule {
  KV_CLASS(SkinBin, PreferencesModule1, SkinOptionModule)
 public:
  PreferencesModule1();
  // The channel-browser lists that apply to the current source. A slot.
  void CurrentCBList_Initialize(kv::Object* sender);

 protected:
  void PrepareRecord(OptionDatabase::OptionDataClass* record, const OptionDatabase::OptionEntry& entry) override;
};

// 0x85: connections and energy.
class PreferencesModule2 : public SkinOptionModule {
  KV_CLASS(SkinBin, PreferencesModule2, SkinOptionModule)
 public:
  PreferencesModule2();
  // The caption of the rear shared input: HD 2 or PC. A slot.
  void RearShared_Initialize(kv::Object* sender);
  // The caption services of the channel, or the fixed ones. A slot.
  void CCKey_Initialize(kv::Object* sender);
  // The inputs an automatic-input button can choose. A slot.
  void AutoInput_Initialize(kv::Object* sender);
  // The model ids of the factory's model table, shown as their numbers. A slot.
  void ModelId_Initialize(kv::Object* sender);

  // The number of valid sources, as the automatic-input record last read it.
  int32_t ValidSourceNum = 0;

 protected:
  void PrepareRecord(OptionDatabase::OptionDataClass* record, const OptionDatabase::OptionEntry& entry) override;
};

}  // namespace SkinBin
