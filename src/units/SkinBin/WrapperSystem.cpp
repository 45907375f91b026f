// The skin Wrapper's identification and console services: model
// information and selection, the device ids, the service serial port, the
// source rings, the resumed acquisition event, the on-timer record, the
// home-network controller's access control, the time-zone abbreviation and
// the front display's no-channel indication.
#include <cstring>
#include <vector>

#include "factory/factory_command.h"
#include "platform/oam/oam_model.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_settings.h"
#include "platform/xpm/xpm_system.h"
#include "runtime/auto_object.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "strings/SkinBinServices.h"
#include "units/Agent/EventAgent.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Media/MediaWrapper.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/TimerData.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {

using namespace ::SkinBinServices;

namespace {

// The model type whose name is not the platform's but a fixed one.
constexpr int32_t kServiceModelType = 6;
// The model ids of the service menu and the models they select; any other
// id selects the service model 6.
constexpr struct {
  int32_t id;
  int32_t model;
} kModelIds[] = {{33, 0}, {34, 1}, {35, 2}, {49, 3}, {50, 4}, {51, 5},
                 {65, 7}, {66, 8}, {67, 9}, {81, 10}, {82, 11}, {83, 12}};
constexpr int32_t kFirstModelId = 33;

// The serial port takes at most 255 bytes of text per line.
constexpr int32_t kUartTextMax = 255;
// Path buffer of ReadFromFile.
constexpr int32_t kPathMax = 4096;

// The reset on-timer: a disabled record of no channel and no source.
constexpr int32_t kResetVolume = 30;
constexpr int32_t kResetDuration = 3600;
constexpr int32_t kResetTimesType = 2;
constexpr int32_t kNoChannel = -2;
// The timer whose record holds the on-timer's volume when none is cached.
constexpr int32_t kOnTimerId = 0;

// The front display's no-channel indication.
constexpr int32_t kDisplayNoChannel = 1;

constexpr kv::TextId kZoneAbbrev[] = {TZ_ABBREV_0, TZ_ABBREV_1, TZ_ABBREV_2, TZ_ABBREV_3, TZ_ABBREV_4,
                                      TZ_ABBREV_5, TZ_ABBREV_6, TZ_ABBREV_7, TZ_ABBREV_8};

// A status event with a picture fault is not the source's good picture.
constexpr int32_t kSourceOk = Agent::SOURCE_OK;

}  // namespace

// --- Identification ------------------------------------------------------------------

SkinBin::ModelInfo* Wrapper::GetModelInfo() {
  auto* info = kv::New<ModelInfo>();
  OAM_ModelInfo rec;
  std::memset(&rec, 0, sizeof rec);
  if (kv::LogFailedCall("OAM_GetModelInfo", OAM_GetModelInfo(&rec)) != 0) return info;
  // Never trust the platform to terminate its texts.
  rec.name[sizeof rec.name - 1] = rec.text2[sizeof rec.text2 - 1] = rec.text3[sizeof rec.text3 - 1] = '\0';
  info->Number = rec.number;
  info->Name = rec.type == kServiceModelType ? kv::LoadString(MODEL_NAME_SERVICE) : kv::NewStringAnsi(rec.name);
  info->Text2 = kv::NewStringAnsi(rec.text2);
  info->Type = rec.type;
  info->Text3 = kv::NewStringAnsi(rec.text3);
  return info;
}

int32_t Wrapper::SetTVModelID(int32_t id) {
  int32_t model = kServiceModelType;
  for (const auto& m : kModelIds)
    if (m.id == id) model = m.model;
  const int32_t taken = ServiceSelectModel(model, id - kFirstModelId);
  if (taken != 1) kv::Log("ServiceSelectModel(" + std::to_string(model) + ", " + std::to_string(id - kFirstModelId) +
                          ") refused: " + std::to_string(taken));
  return taken;
}

void Wrapper::OnSetTVModelId(int32_t id) {
  TVModelId = id;
  SetTVModelID(id);
}

kv::String Wrapper::GetNetflixESN() {
  char esn[XPM_ESN_MAX] = {};
  if (XPM_NetFlixGetESN(esn, sizeof esn) != 0) {
    kv::Log("XPM_NetFlixGetESN return error");
    return kv::String();
  }
  esn[sizeof esn - 1] = '\0';
  kv::Log("ESN is " + kv::EscapedText(esn));
  return kv::NewStringAnsi(esn);
}

kv::String Wrapper::GetWidevineDeviceId() {
  char id[XPM_WIDEVINE_ID_LENGTH + 1] = {};
  if (XPM_GetWidevineDeviceId(id) != 0) {
    kv::Log("XPM_GetWidevineDeviceId return error");
    return kv::String();
  }
  id[XPM_WIDEVINE_ID_LENGTH] = '\0';
  kv::Log("Widevine is " + kv::EscapedText(id));
  return kv::NewStringAnsi(id);
}

// --- Console -------------------------------------------------------------------------

int32_t Wrapper::OpenUART(bool on) { return on ? XPM_CALL(XPM_OpenUART) : XPM_CALL(XPM_CloseUART); }

void Wrapper::PrintKvString(const kv::String& text) {
  if (text.Length() == 0) return;
  char line[kUartTextMax + 3] = {};
  kv::StringToAnsi(text, line, kUartTextMax + 1, '?');
  std::strcat(line, "\r\n");
  XPM_CALL(XPM_PrintStringUART, line);
}

kv::String Wrapper::ReadFromFile(const kv::String& path) {
  std::vector<char> p(kPathMax);
  kv::StringToAnsi(path, p.data(), kPathMax, '?');
  return kv::LoadStringFromFile(kv::ProgramFile(p.data()).c_str());
}

// --- Source rings --------------------------------------------------------------------

namespace {

int32_t ChangeSourceRing(bool add, int32_t window, int32_t source, int32_t flag, Structures::VirtualChannel* channel) {
  kv::Trace("%s%u%i%i%s", {kv::LoadString(T_SOURCE_RING), static_cast<uint32_t>(window), source, flag,
                           kv::LoadString(add ? T_SOURCE_RING_ADD : T_SOURCE_RING_REMOVE)});
  const int32_t major = channel ? channel->Major : kNoChannel;
  const int32_t minor = channel ? channel->Minor : kNoChannel;
  return add ? XPM_CALL(XPM_AddSourceToRing, window, source, flag, major, minor)
             : XPM_CALL(XPM_RemoveSourceFromRing, window, source, flag, major, minor);
}

}  // namespace

int32_t Wrapper::AddSourceToRing(int32_t window, int32_t source, int32_t flag, Structures::VirtualChannel* channel) {
  return ChangeSourceRing(true, window, source, flag, channel);
}

int32_t Wrapper::RemoveSourceFromRing(int32_t window, int32_t source, int32_t flag,
                                      Structures::VirtualChannel* channel) {
  return ChangeSourceRing(false, window, source, flag, channel);
}

// --- The kept acquisition event ------------------------------------------------------

// Lets the event agent handle the main window's acquisition event again when
// it still describes what is on screen: the current channel's, or the
// current source's when that source has no good picture.
void Wrapper::ResumeSignalEvent() {
  if (!EventAgent) return;
  Core::Event* event = EventAgent->GetMainWindowAcquiredEvent();
  if (!event) return;
  uint8_t* handled = nullptr;
  if (auto* ch = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event)) {
    Structures::VirtualChannel* current = GetCurrentChannel();
    if (ch->Channel && current && ch->Channel->Major == current->Major && ch->Channel->Minor == current->Minor)
      handled = &ch->Handled;
  } else if (auto* src = kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(event)) {
    if (src->Status != kSourceOk && src->Source == GetCurrentSource(0)) handled = &src->Handled;
  }
  if (!handled) return;
  *handled = 0;
  kv::Signal(kv::MakeSlot(EventAgent.get(), &Agent::EventAgent::PostProcessEvents), this);
}

// --- The on-timer record -------------------------------------------------------------

int32_t Wrapper::ResetTimer(int32_t index) {
  auto* timer = kv::New<Structures::TimerData>();
  timer->Id = index;
  timer->Enable = 0;
  timer->ChannelMajor = kNoChannel;
  timer->ChannelMinor = kNoChannel;
  timer->Source = -1;
  timer->Extra2 = kResetVolume;
  timer->Duration = kResetDuration;
  timer->TimesType = kResetTimesType;
  timer->SourceType = 0;
  timer->StartTime = kv::New<Structures::LocalTime>();
  return SetTimer(timer);
}

// The volume is extra word 2 of the record: of the cached record when the
// Wrapper holds one (saved with it), else of the on-timer, read and saved at
// once.
int32_t Wrapper::OnGetOnTimerVolume() {
  if (UseTimerCache && ActiveTimer) return OnTimerVolume = ActiveTimer->Extra2;
  if (Structures::TimerData* timer = GetTimer(kOnTimerId)) OnTimerVolume = timer->Extra2;
  return OnTimerVolume;
}

void Wrapper::OnSetOnTimerVolume(int32_t v) {
  OnTimerVolume = v;
  if (UseTimerCache && ActiveTimer) {
    ActiveTimer->Extra2 = v;
    return;
  }
  Structures::TimerData* timer = GetTimer(kOnTimerId);
  if (!timer) return;
  timer->Extra2 = v;
  SetTimer(timer);
}

// --- Home-network controller access --------------------------------------------------

int32_t Wrapper::OnGetDMC_AccessControl() {
  return DMC_AccessControl = kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper)->GetDmcAccessControl();
}

void Wrapper::OnSetDMC_AccessControl(int32_t v) {
  DMC_AccessControl = v;
  kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper)->SetDmcAccessControl(v != 0);
}

// --- Time zone and front display -----------------------------------------------------

kv::String Wrapper::GetTimeZoneAbbrev() {
  const int32_t zone = OnGetTimeZone();
  if (zone < 0 || zone >= static_cast<int32_t>(std::size(kZoneAbbrev))) return kv::String();
  const kv::String abbrev = kv::LoadString(kZoneAbbrev[zone]);
  if (abbrev.Length() == 0) return abbrev;
  return kv::ConcatString(abbrev, kv::LoadString(OnGetDaylightSavingTime() == 1 ? TZ_DAYLIGHT : TZ_STANDARD));
}

void Wrapper::DisplayNoChannel() {
  BCM_ChannelNumberDisplay record;
  std::memset(&record, 0, sizeof record);
  record.mode = kDisplayNoChannel;
  XPM_CALL(BCM_DisplayChannelNumber, &record);
}

}  // namespace SkinBin
