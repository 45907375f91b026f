// The initialisers of the skin's option modules: each refills its record's
// choice list, count and (for the channels) first index from the state of
// the set each time the option is opened.
#include <algorithm>
#include <array>

#include "runtime/ref.h"
#include "runtime/text.h"
#include "strings/OptionDatabase.h"
#include "strings/SkinBin.h"
#include "strings/Strings.h"
#include "units/Core/Log.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/OptionModules.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/CaptionServiceInfo.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/VideoContentInfo.h"
#include "units/Structures/VirtualChannel.h"

namespace SkinBin {

using OptionDatabase::OptionChoice;
using OptionDatabase::OptionDataClass;

namespace {

// Source types.
constexpr int32_t kTypeTuner = 1;
constexpr int32_t kTypeComposite = 2;
constexpr int32_t kTypeSVideo = 3;
constexpr int32_t kTypeComponent = 4;
constexpr int32_t kTypeHdmi = 5;
constexpr int32_t kTypeVga = 6;
constexpr int32_t kTypeMultimedia = 7;
constexpr int32_t kTypeExternal = 9;
constexpr int32_t kTypeDvi = 10;
constexpr int32_t kTypeDigitalTuner = 12;

bool IsTunerType(int32_t type) { return type == kTypeTuner || type == kTypeDigitalTuner; }

// Picture modes by source type; the retail mode (bit 5) only in the store.
constexpr uint32_t kModesTuner = 62;
constexpr uint32_t kModesMultimedia = 38;
constexpr uint32_t kModesAnalogInput = 126;
constexpr uint32_t kModesOther = 254;
constexpr uint32_t kRetailModeBit = 32;
// Picture sizes of a video and of a PC signal.
constexpr uint32_t kSizesVideo = 191;
constexpr uint32_t kSizesPc = 194;

// The channel-browser lists that only a tuner has.
constexpr std::array<int32_t, 4> kTunerCBLists = {1, 3, 5, 6};

// The caption key: off, the basic services 1-4 and the advanced services
// 5-10; without any service on a digital channel, a fixed list.
constexpr int32_t kBasicServices = 4;
constexpr int32_t kAdvancedServices = 6;
constexpr const kv::MultiTextId* kBasicCaptions[kBasicServices] = {&OptionDatabase::C_CC1, &OptionDatabase::C_CC2,
                                                                   &OptionDatabase::C_CC3, &OptionDatabase::C_CC4};
constexpr const kv::MultiTextId* kAdvancedCaptions[kAdvancedServices] = {&OPT_C_CS1, &OPT_C_CS2, &OPT_C_CS3,
                                                                         &OPT_C_CS4, &OPT_C_CS5, &OPT_C_CS6};
constexpr int32_t kFixedDigitalCaptionChoices = 9;
static_assert(1 + kBasicServices + kAdvancedServices <= MAX_OPTION_CHOICES);
static_assert(kFixedDigitalCaptionChoices <= MAX_OPTION_CHOICES);

// The none channel an empty channel table offers.
constexpr int32_t kNoChannel = -2;
// An automatic-input button that switches to nothing.
constexpr int32_t kNoAutoInput = -1;

OptionDataClass* RecordOf(kv::Object* sender, const char* who) {
  auto* record = kv::Cast<OptionDataClass>(sender);
  if (!record) Core::LogError("SkinBin option module: %s without an option record", {who});
  return record;
}

int32_t CurrentSourceType(SkinBin::Wrapper* w) { return w->GetSourceType(w->GetCurrentSource(0)); }


}  // namespace

// --- Picture ------------------------------------------------------------------------------

void CustomPictureModule1::PictureMode_Initialize(kv::Object* sender) {
  OptionDataClass* record = RecordOf(sender, "PictureMode_Initialize");
  SkinBin::Wrapper* w = GetWrapper();
  if (!record || !w) return;
  const int32_t type = CurrentSourceType(w);
  uint32_t mask = kModesOther;
  if (type == kTypeTuner || type == kTypeExternal || type == kTypeDigitalTuner)
    mask = kModesTuner;
  else if (type == kTypeMultimedia)
    mask = kModesMultimedia;
  else if (type == kTypeComposite || type == kTypeSVideo || type == kTypeComponent)
    mask = kModesAnalogInput;
  if (!w->OnGetRetailMode()) mask &= ~kRetailModeBit;
  OfferByMask(record, mask);
}

void CustomPictureModule1::PictureSize_Initialize(kv::Object* sender) {
  OptionDataClass* record = RecordOf(sender, "PictureSize_Initialize");
  SkinBin::Wrapper* w = GetWrapper();
  if (!record || !w) return;
  const int32_t type = CurrentSourceType(w);
  // With auto aspect on, the size chosen is the one shown now; else (and
  // always on a PC input) the preferred one.
  if (!w->OnGetAutoAspect() || type == kTypeVga)
    record->RefValue = kv::MakeRef<int32_t>(static_cast<::Wrapper::Wrapper*>(w), &::Wrapper::Wrapper::OnGetPreferViewMode,
                                            &::Wrapper::Wrapper::OnSetPreferViewMode);
  else
    record->RefValue = kv::MakeRef<int32_t>(static_cast<::Wrapper::Wrapper*>(w), &::Wrapper::Wrapper::OnGetViewMode,
                                            &::Wrapper::Wrapper::OnSetViewMode);
  Structures::VideoContentInfo* video = w->GetVideoContentInfo(0);
  // A 640 x 480 picture on an HDMI or DVI input is a video format, not a PC one.
  if ((type == kTypeHdmi || type == kTypeDvi) && video->Width == 640 && video->Height == 480) video->PCTiming = 0;
  uint32_t mask;
  if (type == kTypeVga) {
    mask = kSizesPc;
    video->PCTiming = 1;
  } else if (type == kTypeExternal) {
    mask = kSizesVideo;
    video->PCTiming = 0;
  } else {
    mask = video->PCTiming ? kSizesPc : kSizesVideo;
  }
  OfferByMask(record, mask);
}

// --- Setup and timers -----------------------------------------------------------------------

void ApplicationSetupModule::OnTimerInput_Initialize(kv::Object* sender) {
  OptionDataClass* record = RecordOf(sender, "OnTimerInput_Initialize");
  SkinBin::Wrapper* w = GetWrapper();
  if (!record || !w) return;
  if (record->OptionId == static_cast<uint32_t>(OPTION_TYPE_ONTIMER_MEDIUM)) {
    record->Num = 2;
    return;
  }
  // The inputs by index, those the timer may switch to.
  record->Choices.clear();
  const int32_t count = w->GetValidSourceNum();
  for (int32_t i = 0; i < count; ++i) {
    const int32_t id = w->GetSourceId(i);
    if (w->IsSourceSelectable(1, id) && !w->GetSourceDisable(id))
      record->Choices.push_back({nullptr, w->GetSourceName(id), i});
  }
  record->Num = static_cast<int32_t>(record->Choices.size());
  MapThroughList(record);
}

void ApplicationSetupModule::Channel_Initialize(kv::Object* sender) {
  OptionDataClass* record = RecordOf(sender, "Channel_Initialize");
  SkinBin::Wrapper* w = GetWrapper();
  if (!record || !w) return;
  ChannelListData* list = w->GetChannelListData();
  if (record->OptionId == static_cast<uint32_t>(OPTION_TYPE_GUIDE_CHANNEL))
    list->LoadGuideChannelTable(false);
  else
    list->LoadTimerChannelTable(w->OnGetTimerSource(), w->OnGetTimerMapId());
  const int32_t count = list->GetNumChannels();
  if (count <= 0) {
    // Nothing to choose: the one entry is the none channel.
    list->Clear();
    auto* none = kv::New<ChannelData>();
    none->Major = kNoChannel;
    none->Minor = kNoChannel;
    list->Append(none);
    record->Choices.assign({{&OptionDatabase::C_NONE, {}, 0}});
    record->Num = 1;
    record->Id = 0;
    return;
  }
  // One choice per channel, captioned with its number.
  record->Choices.clear();
  record->Choices.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const ChannelData* c = list->GetChannel(i);
    record->Choices.push_back({nullptr, w->GetChannelNumberStr(c->IsDigital != 0, c->Major, c->Minor), i});
  }
  record->Num = count;
  // The guide channel has no property behind it: its value is the channel on
  // screen, so that a screen reading the record after a channel change (the
  // channel entry's surfing) shows the channel just tuned.
  if (record->OptionId == static_cast<uint32_t>(OPTION_TYPE_GUIDE_CHANNEL)) {
    if (Structures::VirtualChannel* current = w->GetCurrentChannel()) {
      for (int32_t i = 0; i < count; ++i) {
        const ChannelData* c = list->GetChannel(i);
        if (c->Major == current->Major && c->Minor == current->Minor) {
          record->Value = i;
          break;
        }
      }
    }
  }
}

void ApplicationSetupModule::Minutes_Initialize(kv::Object* sender) {
  OptionDataClass* record = RecordOf(sender, "Minutes_Initialize");
  if (!record) return;
  // The index is the number of minutes itself: no list to map through.
  record->Choices.clear();
  record->Offset = 0;
  record->SetVal2Id = kv::Slot();
  record->SetId2Val = kv::Slot();
  record->Num = record->OptionId == static_cast<uint32_t>(OPTION_TYPE_SLEEP_TIMER) ? kSleepMinutes + 1 : kMinutesPerDay;
  record->DoGetData = kv::MakeSlot(this, &ApplicationSetupModule::Minutes_GetData);
}

void ApplicationSetupModule::Minutes_GetData(kv::Object* sender) {
  OptionDataClass* record = RecordOf(sender, "Minutes_GetData");
  if (!record) return;
  auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get());
  if (!courier) {
    courier = kv::New<OptionDatabase::OptionCourier>();
    record->Courier = courier;
  }
  const int32_t minutes = std::max(0, record->Id);
  courier->Index = record->Id;
  if (record->OptionId == static_cast<uint32_t>(OPTION_TYPE_SLEEP_TIMER)) {
    courier->Caption = minutes == 0 ? kv::GetVariantOfString(OptionDatabase::C_OFF)
                                    : kv::ConcatString(kv::NewStringInt(minutes, 0),
                                                       kv::GetVariantOfString(::Strings::Minutes));
  } else {
    const int32_t m = minutes % kMinutesPerDay;
    courier->Caption = kv::ConcatString(kv::ConcatString(kv::NewStringInt(m / 60, 2), kv::NewStringAnsi(":")),
                                        kv::NewStringInt(m % 60, 2));
  }
}

// --- Preferences ----------------------------------------------------------------------------

void PreferencesModule1::CurrentCBList_Initialize(kv::Object* sender) {
  OptionDataClass* record = RecordOf(sender, "CurrentCBList_Initialize");
  SkinBin::Wrapper* w = GetWrapper();
  if (!record || !w) return;
  record->RefValue =
      kv::MakeRef<int32_t>(w, &SkinBin::Wrapper::OnGetCurrentCBList, &SkinBin::Wrapper::OnSetCurrentCBList);
  const bool tuner = IsTunerType(CurrentSourceType(w));
  for (int32_t bit : kTunerCBLists) w->SetCBListStatus(bit, tuner);
  uint32_t mask = 0;
  for (int32_t i = 0; i < record->Entry->numChoices && i < 32; ++i)
    if (w->IsCBListEnabled(i)) mask |= 1u << i;
  OfferByMask(record, mask);
  if (record->Num == 0) {
    Core::LogError("SkinBin::PreferencesModule1: no channel-browser list is enabled");
    return;
  }
  if (record->IndexOfValue(w->OnGetCurrentCBList()) < 0) w->OnSetCurrentCBList(record->Choices.front().value);
}

// --- Connections ----------------------------------------------------------------------------

void PreferencesModule2::RearShared_Initialize(kv::Object* sender) {
  OptionDataClass* record = RecordOf(sender, "RearShared_Initialize");
  SkinBin::Wrapper* w = GetWrapper();
  if (!record || !w) return;
  record->Name = kv::GetVariantOfString(w->OnGetSharedPCInput() == 1 ? ::Strings::SID_PRISMALINE_HD2 : ::Strings::SID_PC);
}

void PreferencesModule2::ModelId_Initialize(kv::Object* sender) {
  static constexpr int32_t kModelIds[] = {33, 34, 35, 49, 50, 51, 68, 65, 66, 67, 81, 82, 83};
  OptionDataClass* record = RecordOf(sender, "ModelId_Initialize");
  if (!record) return;
  record->Choices.clear();
  for (int32_t id : kModelIds) record->Choices.push_back({nullptr, kv::NewStringInt(id, 0), id});
  record->Num = static_cast<int32_t>(record->Choices.size());
  MapThroughList(record);
}

void PreferencesModule2::CCKey_Initialize(kv::Object* sender) {
  OptionDataClass* record = RecordOf(sender, "CCKey_Initialize");
  SkinBin::Wrapper* w = GetWrapper();
  if (!record || !w) return;
  const bool digital = IsTunerType(CurrentSourceType(w)) && w->GetCurrentChannelInfo()->IsDigital != 0;
  if (!digital) {
    record->RefValue = kv::MakeRef<int32_t>(w, &SkinBin::Wrapper::OnGetCCKey, &SkinBin::Wrapper::OnSetCCKey);
    OfferByMask(record, (1u << record->Entry->numChoices) - 1);
    return;
  }
  record->RefValue =
      kv::MakeRef<int32_t>(w, &SkinBin::Wrapper::OnGetCCKeyDigital, &SkinBin::Wrapper::OnSetCCKeyDigital);
  record->Choices.clear();
  record->Choices.push_back({&OptionDatabase::C_OFF, {}, 0});
  const kv::String separator = kv::LoadString(OPT_CC_SEPARATOR);
  for (int32_t service = 1; service <= kBasicServices; ++service) {
    Structures::CaptionServiceInfo* info = w->GetCaptionServiceInfo(false, service - 1);
    if (!info) continue;
    const kv::MultiTextId* caption = kBasicCaptions[service - 1];
    const kv::String language = w->GetFullLangName(info->Language);
    if (language.Empty())
      record->Choices.push_back({caption, {}, service});
    else
      record->Choices.push_back({nullptr, kv::ConcatString(kv::ConcatString(language, separator), kv::GetVariantOfString(*caption)), service});
  }
  for (int32_t service = 5; service < 5 + kAdvancedServices; ++service) {
    Structures::CaptionServiceInfo* info = w->GetCaptionServiceInfo(true, service - 5);
    if (!info) continue;
    kv::String language = w->GetFullLangName(info->Language);
    if (language.Empty()) {
      record->Choices.push_back({&OPT_C_DIGITAL_CAPTION, {}, service});
      continue;
    }
    if (info->EasyReader) language = kv::ConcatString(language, kv::LoadString(OPT_CC_EASY_READER));
    record->Choices.push_back({nullptr, language, service});
  }
  if (record->Choices.size() == 1) {
    // No service found: off, the first and third basic services, and the
    // six advanced ones.
    record->Choices.push_back({kBasicCaptions[0], {}, 1});
    record->Choices.push_back({kBasicCaptions[2], {}, 3});
    for (int32_t i = 0; i < kAdvancedServices; ++i) record->Choices.push_back({kAdvancedCaptions[i], {}, 5 + i});
  }
  record->Num = static_cast<int32_t>(record->Choices.size());
  MapThroughList(record);
}

void PreferencesModule2::AutoInput_Initialize(kv::Object* sender) {
  OptionDataClass* record = RecordOf(sender, "AutoInput_Initialize");
  SkinBin::Wrapper* w = GetWrapper();
  if (!record || !w) return;
  // Every opening counts the sources again, so a button opened before the
  // enable switch still lists them all.
  ValidSourceNum = w->GetValidSourceNum();
  if (record->OptionId == static_cast<uint32_t>(OPTION_TYPE_AUTO_INPUT_ENABLE)) return;
  // None, then every valid source by index; the setting holds the source id.
  record->Choices.clear();
  record->Choices.push_back({&OptionDatabase::C_NONE, {}, kNoAutoInput});
  for (int32_t i = 0; i < ValidSourceNum; ++i) {
    const int32_t id = w->GetSourceId(i);
    record->Choices.push_back({nullptr, w->GetSourceName(id), id});
  }
  record->Num = ValidSourceNum + 1;
  MapThroughList(record);
}

}  // namespace SkinBin
