// The confirm types of NonMenuSystem::ConfirmMultiOptionDialog (its
// question, its Yes and No actions and the states it leads to) and the
// actions themselves.
#include <array>
#include <string>

#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/NonMenuSystem.h"
#include "strings/SkinBinWrapper.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Group.h"
#include "units/Events/XPM_EVENT_FACTORY_RESET.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/TimerData.h"
#include "units/Structures/VirtualChannel.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

namespace NonMenuSystem {

namespace {

using namespace Constants;
using namespace Strings;

constexpr int32_t kRecordLayer = 128;
constexpr int32_t kLongTimeOut = 60000;
constexpr int32_t kTimerWarningTimeOut = 15000;
// The option of the picture position that its reset returns to choice 0.
constexpr int32_t kPicturePositionOption = 0x1000015;
constexpr int32_t kAutoInputReset = -1;
constexpr int32_t kChannelBrowserDefault = 111;
// The standby reason of going to sleep after stopping every recording.
constexpr int32_t kSleepStandbyReason = 5;

// The picture-mode names, by video preset 0 to 7.
constexpr std::array<const kv::MultiTextId*, 8> kPictureModes{&SID_GLOWSYNC, &SID_SPORTS, &SID_STANDARD,
                                                              &SID_MOVIE_1,  &SID_MOVIE_2, &SID_STORE,
                                                              &SID_GAME,     &SID_PC};

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }
kv::String Cat(const kv::String& a, const kv::String& b) { return kv::ConcatString(a, b); }

::Wrapper::Wrapper* W() { return kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper); }
SkinBin::Wrapper* Skin() { return Live::Skin(); }
PersistentData::PersistentData* Store() {
  return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
}

void SendToAll(int32_t code, int32_t value = -1) {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, nullptr, value);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Dispatch(msg);
}

void SendTo(const kv::Class* target, int32_t code, int32_t value = -1) {
  if (!target) return;  // the receiver does not exist yet: nothing is sent
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, nullptr, value);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(msg, target);
}

// Switches the test pattern and the white-balance window off when on.
void TestPatternAndWindowOff(SkinBin::Wrapper* s) {
  if (s->OnGetTestPattern() != 0) s->OnSetTestPattern(0);
  if (s->OnGetWB_WindowDisplay() != 0) s->OnSetWB_WindowDisplay(0);
}

kv::String ReplacePlaceholder(const kv::String& text, const kv::String& mark, const kv::String& by) {
  const int32_t at = kv::StringFind(text, mark, 0);
  if (at < 0) return text;
  return Cat(Cat(kv::StringMiddle(text, 0, at), by), kv::StringMiddle(text, at + mark.Length(), text.Length()));
}

}  // namespace

// --- The table ---------------------------------------------------------------------------

void ConfirmMultiOptionDialog::SetTexts(const kv::String& caption, const kv::String& warning) {
  OnSetHasCaption(!caption.Empty());
  OnSetCaption(caption);
  OnSetWarningInfo(warning);
}

void ConfirmMultiOptionDialog::SetRecordRow(const kv::String& caption, const kv::String& warning, bool keepFocus) {
  SetTexts(caption, warning);
  OnSetYesButtonLabel(Text(SID_YES));
  OnSetNoButtonLabel(Text(SID_NO));
  IsShortcut = false;
  PrevState = nullptr;
  NextState = nullptr;
  if (!keepFocus) OnSetFocus(&yes_);
}

void ConfirmMultiOptionDialog::OnSetConfirmType(int32_t type) {
  ConfirmOptionDialog::OnSetConfirmType(type);
  kv::Trace("%s%i", {kv::LoadString(T_CONFIRM_TYPE), type});
  // A reset that returns to the page that opened it.
  auto back = [this](Action yes) {
    OnYesSlot = Make(yes);
    NextState = PrevState;
  };
  // A step of a software update: the set asks it (an update found, the
  // reminder, a check's answer), not a menu page, so Yes leads on to the
  // next step instead of back to a page, and only an answer ends it.
  auto update = [this](const kv::Class* next) {
    NextState = next;
    IsShortcut = false;
    OnTimeOut = kv::Slot();
  };
  auto rec = [this](const kv::MultiTextId& caption, const kv::MultiTextId& warning, Action yes, bool keepFocus) {
    SetRecordRow(Text(caption), Text(warning), keepFocus);
    OnYesSlot = Make(yes);
  };
  SkinBin::Wrapper* skin = Skin();
  switch (type) {
    case ConfirmTypeQuickSetup:
      SetTexts(Text(SID_QUICK_SETUP), Text(SID_CHANGE_SETUP_WARNING));
      PrevState = KV_LATE_CLASS("MenuSystem::SetupMenu");
      if (skin && skin->IsPinExisting()) {
        OnYesSlot = kv::Slot();
        NextState = KV_LATE_CLASS("NonMenuSystem::EnterPinDialog");
      } else {
        OnYesSlot = Make(&ConfirmMultiOptionDialog::StartQuickSetup);
        NextState = nullptr;
      }
      break;
    case ConfirmTypeNetflixDeactivation:
      SetTexts(Text(SID_DEACTIVATION), Text(SID_NETFLIX_DEACTIV_MESG));
      back(&ConfirmMultiOptionDialog::DeactivateNetAppSlot);
      break;
    case ConfirmType3DTimerExpire: {
      // The period Continue grants: what is left of a running one, else a new one.
      int32_t minutes = skin ? skin->OnGetRemain3DTime() : 0;
      if (minutes <= 0 && skin) minutes = skin->ThreeDLockPeriod();
      SetTexts(kv::String(), ReplacePlaceholder(Text(SID_3D_TIMER_LOCK_WARNING), kv::LoadString(REMAIN_3D_PLACEHOLDER),
                                                kv::NewStringInt(minutes, 0)));
      OnYesSlot = Make(&ConfirmMultiOptionDialog::Continue3DSlot);
      OnNoSlot = Make(&ConfirmMultiOptionDialog::Abort3DSlot);
      PrevState = KV_LATE_CLASS("ThreeD::DisplayMode");
      OnSetTimeOutValue(kLongTimeOut);
      break;
    }
    case ConfirmTypeVuduDeactivation:
      SetTexts(Text(SID_VUDU_DEACTIVATION), Text(SID_VUDU_DEACTIVATION_MSG));
      back(&ConfirmMultiOptionDialog::DeactivateNetAppSlot);
      break;
    case ConfirmTypeStartUpdate:
      SetTexts(kv::String(), Text(SID_SWU_CONFIRM_UPGRADE_START));
      OnYesSlot = Make(&ConfirmMultiOptionDialog::CorfirmUpdate);
      OnNoSlot = Make(&ConfirmMultiOptionDialog::USBUpdateAbort);
      update(KV_LATE_CLASS("Update::UpdatingDialog"));
      break;
    case ConfirmTypeResetAllPictureSettings: back(&ConfirmMultiOptionDialog::ResetAllPictureSettingsSlot); break;
    case ConfirmTypeResetAdvancedPictureSettings: back(&ConfirmMultiOptionDialog::ResetAdvancedPictureSettingsSlot); break;
    case ConfirmTypeResetExpertPictureSettings: back(&ConfirmMultiOptionDialog::ResetExpertPictureSettingsSlot); break;
    case ConfirmTypeResetColorTemperature: back(&ConfirmMultiOptionDialog::ResetColorTemperatureSlot); break;
    case ConfirmTypeCopyToAllInputs: {
      const int32_t preset = skin ? skin->OnGetVideoPreset() : 0;
      const kv::String mode =
          preset >= 0 && preset < static_cast<int32_t>(kPictureModes.size()) ? Text(*kPictureModes[preset]) : kv::String();
      SetTexts(Text(SID_WB_COPY_SETTINGS), Cat(Text(SID_WB_COPY_INFO_MSG), mode));
      back(&ConfirmMultiOptionDialog::CopyToAllInputsSlot);
      break;
    }
    case ConfirmTypeResetBaseColorSettings: back(&ConfirmMultiOptionDialog::ResetBaseColorSettingsSlot); break;
    case ConfirmTypeResetAll:
      SetTexts(Text(SID_RESET_TV), Text(SID_RESET_MESSAGE));
      OnYesSlot = Make(&ConfirmMultiOptionDialog::ResetAllSlot);
      PrevState = KV_LATE_CLASS("MenuSystem::VidiSettingsMenu");
      break;
    case ConfirmTypeDeletePin:
      SetTexts(Text(SID_DELETE_PIN), Text(SID_PIN_DELETE_CONFIRM));
      OnYesSlot = Make(&ConfirmMultiOptionDialog::DeletePinSlot);
      NextState = KV_LATE_CLASS("MenuSystem::PreferencesMenu");
      break;
    case ConfirmTypeResetRating: back(&ConfirmMultiOptionDialog::ResetRatingSlot); break;
    case ConfirmTypeDelete3DPin:
      SetTexts(Text(SID_3D_PIN), Text(SID_PIN_DELETE_CONFIRM));
      OnYesSlot = Make(&ConfirmMultiOptionDialog::Delete3DPinSlot);
      NextState = KV_LATE_CLASS("ThreeD::ThreeDMenu");
      break;
    case ConfirmTypeResetAutoInput: back(&ConfirmMultiOptionDialog::ResetAutoInputSlot); break;
    case ConfirmTypeResetRRT: back(&ConfirmMultiOptionDialog::ResetRRTSlot); break;
    case ConfirmTypeResetChBrowser: back(&ConfirmMultiOptionDialog::ResetChBrowserSlot); break;
    case ConfirmTypeResetDigitalCC: back(&ConfirmMultiOptionDialog::ResetDigitalCC); break;
    case ConfirmTypeResetPicturePosition: back(&ConfirmMultiOptionDialog::ResetPicturePosition); break;
    case ConfirmTypeResetPCSettings: back(&ConfirmMultiOptionDialog::ResetPCSettings); break;
    case ConfirmTypeResetYahoo:
      SetTexts(Text(SID_RESET_YAHOO), Text(SID_RESET_YAHOO_CONFIRMATION));
      OnYesSlot = Make(&ConfirmMultiOptionDialog::DeactivateNetAppSlot);
      break;
    case ConfirmTypeUpdateReminder:
      SetTexts(kv::String(), Text(SID_SWU_AVAILABLE_MSG_1));
      update(KV_LATE_CLASS("Update::CheckingMessage"));
      break;
    case ConfirmTypeUpdateAvailable:
      SetTexts(kv::String(), Text(SID_SWU_AVAILABLE_MSG_2));
      OnNoSlot = Make(&ConfirmMultiOptionDialog::USBUpdateAbort);
      update(&StaticClass());
      break;
    case ConfirmTypeResetAudio: back(&ConfirmMultiOptionDialog::ResetAudioSlot); break;
    case ConfirmTypeResetCCSettings: back(&ConfirmMultiOptionDialog::ResetCCSettings); break;
    case ConfirmTypeResetLocks: back(&ConfirmMultiOptionDialog::ResetLocksSlot); break;
    case ConfirmTypeResetScreenSaver: back(&ConfirmMultiOptionDialog::ResetScreenSaver); break;
    case ConfirmTypeStartRecord:
      rec(REC_CAPTION_55, REC_WARNING_55, &ConfirmMultiOptionDialog::StartRecord, false);
      PrevState = KV_LATE_CLASS("Record::RecordOptionsDialog");
      Layer = kRecordLayer;
      if (kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager)->FindForm(WinIDs::WIN_ID_FullEPGDialog))
        frame_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaQuickMenuBg));
      break;
    case ConfirmTypeStopRecord: rec(REC_CAPTION_56, REC_WARNING_56, &ConfirmMultiOptionDialog::StopRecord, false); break;
    case ConfirmTypeStartTimeshift: rec(REC_CAPTION_57, REC_WARNING_57, &ConfirmMultiOptionDialog::StartTimeshift, false); break;
    case ConfirmTypeStopTimeshift: rec(REC_CAPTION_58, REC_WARNING_58, &ConfirmMultiOptionDialog::StopTimeshift, false); break;
    case ConfirmTypeDeleteMovieFile: rec(REC_CAPTION_59, REC_WARNING_59, &ConfirmMultiOptionDialog::DeleteMovieFile, true); break;
    case ConfirmTypeResetScaleWindow: back(&ConfirmMultiOptionDialog::ResetScaleWindow); break;
    case ConfirmTypeDeleteRecordedShow:
      rec(REC_CAPTION_61, REC_WARNING_61, &ConfirmMultiOptionDialog::DeleteRecordedShow, true);
      Layer = kRecordLayer;
      break;
    case ConfirmTypeDeleteScheduledRecord:
      rec(REC_CAPTION_62, REC_WARNING_62, &ConfirmMultiOptionDialog::DeleteScheduledRecord, true);
      Layer = kRecordLayer;
      break;
    case ConfirmTypeTimerStandby:
      rec(REC_CAPTION_63, REC_WARNING_63, &ConfirmMultiOptionDialog::StandbyByTimerExpired, false);
      OnSetTimeOutValue(kLongTimeOut);
      OnTimeOut = Make(&ConfirmMultiOptionDialog::StandbyByTimerExpired);
      break;
    case ConfirmTypeTimerRecordWarning: {
      Structures::TimerData* timer = W()->ActiveTimer.get();
      kv::String warning = Text(REC_WARNING_64_A);
      if (timer)
        warning = Cat(Cat(Cat(warning, kv::NewStringInt(timer->ChannelMajor, 0)), kv::LoadString(CHANNEL_SEPARATOR)),
                      kv::NewStringInt(timer->ChannelMinor, 0));
      warning = Cat(Cat(Cat(warning, Text(REC_WARNING_64_B)), kv::NewStringInt(timer && timer->Source ? 2 : 1, 0)),
                    Text(REC_WARNING_64_C));
      SetRecordRow(Text(REC_CAPTION_64), warning, false);
      OnYesSlot = Make(&ConfirmMultiOptionDialog::StartTimerRecord);
      OnNoSlot = Make(&ConfirmMultiOptionDialog::CancelTimerRecordAndClose);
      OnSetTimeOutValue(kTimerWarningTimeOut);
      OnTimeOut = Make(&ConfirmMultiOptionDialog::StartTimerRecordAndClose);
      break;
    }
    case ConfirmTypeRecordSleepWarning:
      rec(REC_CAPTION_65, REC_WARNING_65, &ConfirmMultiOptionDialog::StopAllRecordAndSleep, false);
      OnSetTimeOutValue(kTimerWarningTimeOut);
      OnTimeOut = Make(&ConfirmMultiOptionDialog::StopAllRecordAndSleep);
      break;
    default:
      // The types without a row (7 to 16, 23 to 32, 44 to 48, 66 and up) keep the constructed dialog.
      break;
  }
}

// --- Helpers -------------------------------------------------------------------------------------

void ConfirmMultiOptionDialog::SettingsChanged() { SendToAll(Constants::MSG_OPTION_CHANGE); }

kv::String ConfirmMultiOptionDialog::UpdatePath() { return Store()->GetString(KEY_UPDATE_PATH); }

void ConfirmMultiOptionDialog::RemoveUpdatePath() { Store()->RemoveString(KEY_UPDATE_PATH); }

// --- The actions ---------------------------------------------------------------------------------

void ConfirmMultiOptionDialog::StartQuickSetup(kv::Object*) {
  SendTo(KV_LATE_CLASS("MainApp::Standby"), Constants::MSG_RESTART_INITIAL_SETUP);
}

void ConfirmMultiOptionDialog::DeactivateNetAppSlot(kv::Object*) {
  SkinBin::Wrapper* s = Skin();
  switch (ConfirmType) {
    case ConfirmTypeNetflixDeactivation:
      if (s) s->DeactivateNetworkApp(0);
      break;
    case ConfirmTypeVuduDeactivation:
      if (s) s->DeactivateNetworkApp(1);
      break;
    case ConfirmTypeResetYahoo:
      ClearAll();
      SendTo(&::NonMenuSystem::NonMenuSystem::StaticClass(), Constants::MSG_SHOW_MESSAGE, DirectMsgTypePleaseWait);
      kv::IdleSignal(Make(&ConfirmMultiOptionDialog::ResetYahoo));
      break;
    default:
      break;
  }
}

void ConfirmMultiOptionDialog::ResetYahoo(kv::Object*) {
  if (SkinBin::Wrapper* s = Skin()) s->DeactivateNetworkApp(3);
  ClearAll();
}

void ConfirmMultiOptionDialog::Continue3DSlot(kv::Object*) {
  SkinBin::Wrapper* s = Skin();
  if (s && s->OnGetThreeDTimerLock()) {
    NextState = KV_LATE_CLASS("NonMenuSystem::EnterPinDialog");
  } else {
    NextState = nullptr;
    if (s && s->OnGetThreeD_EnableTimer()) s->Start3DLockTimer();
  }
}

void ConfirmMultiOptionDialog::Abort3DSlot(kv::Object*) {
  if (SkinBin::Wrapper* s = Skin()) {
    s->Remain3DTime = 0;
    s->Setup3D.SwitchTo2DState(true);
  }
  EnterPrevState();
}

void ConfirmMultiOptionDialog::CorfirmUpdate(kv::Object*) {
  SkinBin::Wrapper* s = Skin();
  if (!s) return;
  const kv::String path = UpdatePath();
  if (path.Empty())
    s->ConfirmUpdate();
  else
    s->StartUpdateCheck(0, path);
}

void ConfirmMultiOptionDialog::USBUpdateAbort(kv::Object*) {
  SkinBin::Wrapper* s = Skin();
  if (s && UpdatePath().Empty()) s->CancelUpdate();
  RemoveUpdatePath();
  ClearAll();
}

void ConfirmMultiOptionDialog::ResetAllPictureSettingsSlot(kv::Object*) {
  SkinBin::Wrapper* s = Skin();
  if (!s) return;
  s->StopGlowSyncThread();
  s->ResetVideo();
  s->WB_Reset();
  s->ResetBacklightAdjustment();
  s->ResetTintForge();
  for (kv::TextId group : {SkinBinWrapper::GROUP_BASIC_PICTURE, SkinBinWrapper::GROUP_ADVANCED_PICTURE,
                           SkinBinWrapper::GROUP_COLOR})
    s->SetOptionChange(group, false);
  TestPatternAndWindowOff(s);
  if (s->OnGetAutoBrightnessSensor()) s->StartGlowSyncThread();
  SettingsChanged();
}

void ConfirmMultiOptionDialog::ResetAdvancedPictureSettingsSlot(kv::Object*) {
  SkinBin::Wrapper* s = Skin();
  if (!s) return;
  const int32_t p = s->OnGetVideoPreset();
  const int32_t source = s->OnGetTestPattern() != 0 ? s->TestPatternPrevSource : s->GetCurrentSource(0);
  const int32_t st = s->GetSourceType(source);
  const int32_t t = s->OnGetSeriesType();
  // 1. The common part.
  s->StopGlowSyncThread();
  s->OnSetColorManager(0);
  s->ResetTintForge();
  s->ResetBacklightAdjustment();
  s->OnSetStaticGamma(0);
  // 2. Light sensor and Lumiflux.
  if (p == 0) {
    s->OnSetLumiflux(1);
  } else {
    s->OnSetAutoBrightnessSensor(0);
    s->OnSetLumiflux(p == 3 || p == 7 ? 0 : 1);
  }
  // 3. Colour temperature and dynamic contrast by picture mode.
  static constexpr int32_t kTemp[8] = {5, 10, 7, 2, 2, 10, 7, 7};
  static constexpr int32_t kContrast[8] = {5, 10, 7, 3, 5, 10, 7, 5};
  if (p >= 0 && p < 8) {
    s->OnSetColorTemperature(kTemp[p]);
    s->OnSetDynamicContrast(kContrast[p]);
  }
  if (p == 6 || p == 7) {
    // 4. Game and PC: every processing off.
    s->OnSetDigitalNR(0);
    s->OnSetAnalogNR(0);
    switch (t) {
      case 1: s->OnSetStillpane(0); s->OnSetFilmStabilization(0); break;
      case 2: s->OnSetStillpane240(0); s->OnSetFilmStabilization(0); break;
      case 3: s->OnSetStillpane240(0); s->OnSetFilmStabilization240(0); break;
      case 0: s->OnSetQRV_CinemaMode(0); break;
      default: break;
    }
  } else {
    // 5. The other modes: on, or off for source type 6.
    const bool on = st != 6;
    if (t == 1) s->OnSetStillpane(on ? 1 : 0);
    if (t == 2 || t == 3) s->OnSetStillpane240(on ? 1 : 0);
    s->OnSetDigitalNR(on ? 1 : 0);
    s->OnSetAnalogNR(on ? 4 : 0);
    s->OnSetSuperResolutionStatus(on ? 1 : 0);
    if (t == 1 || t == 2) s->OnSetFilmStabilization(on ? 1 : 0);
    if (t == 3) s->OnSetFilmStabilization240(on ? 3 : 1);
    if (t == 0) s->OnSetQRV_CinemaMode(1);
    // 6. The super-resolution level.
    s->OnSetSuperResolutionLevel(p == 0 ? 0 : p == 5 ? 4 : 3);
  }
  // 7. The mark, the sensor, and the news.
  s->SetOptionChange(SkinBinWrapper::GROUP_ADVANCED_PICTURE, false);
  if (s->OnGetAutoBrightnessSensor()) s->StartGlowSyncThread();
  SettingsChanged();
}

void ConfirmMultiOptionDialog::ResetExpertPictureSettingsSlot(kv::Object*) {
  SkinBin::Wrapper* s = Skin();
  if (!s) return;
  s->WB_Reset();
  s->SetRGBFilter(0x111111);
  s->OnSetColor(50);
  s->OnSetTint(0);
  s->SetOptionChange(SkinBinWrapper::GROUP_COLOR, false);
  TestPatternAndWindowOff(s);
}

void ConfirmMultiOptionDialog::CopyToAllInputsSlot(kv::Object*) {
  if (SkinBin::Wrapper* s = Skin()) s->WB_Copy2AllInputs();
}

void ConfirmMultiOptionDialog::ResetBaseColorSettingsSlot(kv::Object*) {
  SkinBin::Wrapper* s = Skin();
  if (!s) return;
  s->ResetTintForge();
  s->ForceApplyGlowSync();
}

void ConfirmMultiOptionDialog::ResetAllSlot(kv::Object*) {
  if (Core::Group* root = W()->Root.get()) root->DispatchEvent(kv::New<Events::XPM_EVENT_FACTORY_RESET>());
}

void ConfirmMultiOptionDialog::DeletePinSlot(kv::Object*) {
  Store()->RemoveString(SkinBinWrapper::KEY_PIN);
  ResetRatingSlot();
  ResetRRTSlot();
  SkinBin::Wrapper* s = Skin();
  if (!s) return;
  s->ResetChannelLocks();
  s->OnSetEnableRatingBlock(0);
  s->OnSetInputLock(0);
  s->OnSetPanelLock(0);
  s->OnSetGameTimerIndex(0);
}

void ConfirmMultiOptionDialog::ResetRatingSlot(kv::Object*) {
  ::Wrapper::Wrapper* w = W();
  w->SetUsAgeRating(5, 0x1111111, false, true);
  w->SetUsChildRating(2, 0x1111111, false, true);
  if (SkinBin::Wrapper* s = Skin()) s->SetNoneRating(false);
  w->SetUsMovieRating(7, false, true);
  SettingsChanged();
}

void ConfirmMultiOptionDialog::Delete3DPinSlot(kv::Object*) {
  Store()->RemoveString(SkinBinWrapper::KEY_3D_PIN);
  SkinBin::Wrapper* s = Skin();
  if (!s) return;
  s->OnSetThreeDLock(0);
  s->OnSetThreeDStartMessage(1);
  s->OnSetThreeDTimerLock(0);
  s->OnSetThreeD_EnableTimer(0);
}

void ConfirmMultiOptionDialog::ResetAutoInputSlot(kv::Object*) {
  PersistentData::PersistentData* store = Store();
  store->RemoveString(KEY_AUTO_INPUT_NAME);
  for (kv::TextId key : {SkinBinWrapper::KEY_AUTO_INPUT_TV, SkinBinWrapper::KEY_AUTO_INPUT_CABLE_SAT,
                         SkinBinWrapper::KEY_AUTO_INPUT_BD_DVD, SkinBinWrapper::KEY_AUTO_INPUT_AUX})
    store->PutInteger(key, kAutoInputReset);
}

void ConfirmMultiOptionDialog::ResetRRTSlot(kv::Object*) {
  if (SkinBin::Wrapper* s = Skin()) s->DynamicRatingData.ResetDownloadedRegion();
}

void ConfirmMultiOptionDialog::ResetChBrowserSlot(kv::Object*) {
  Store()->PutInteger(SkinBinWrapper::KEY_CB_LISTS, kChannelBrowserDefault);
  Store()->RemoveStrings(SkinBinWrapper::KEY_PREFIX_22);
}

void ConfirmMultiOptionDialog::ResetDigitalCC(kv::Object*) { W()->ResetAdvanceCaptionProperty(); }

void ConfirmMultiOptionDialog::ResetPicturePosition(kv::Object*) {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  OptionDatabase::OptionDataClass* record = db ? db->GetOptionData(kPicturePositionOption) : nullptr;
  if (!record) return;
  record->Id = 0;
  record->Id2Value();
  if (record->HasProperty()) record->RefValue.Set(record->Value);
}

void ConfirmMultiOptionDialog::ResetPCSettings(kv::Object*) { W()->AutoSync(); }

void ConfirmMultiOptionDialog::ResetAudioSlot(kv::Object*) {
  W()->ResetAudio();
  SettingsChanged();
}

void ConfirmMultiOptionDialog::ResetCCSettings(kv::Object*) {
  W()->ResetClosedCaption();
  SettingsChanged();
}

void ConfirmMultiOptionDialog::ResetLocksSlot(kv::Object*) {
  ResetRatingSlot();
  ResetRRTSlot();
  W()->ResetLock();
  SettingsChanged();
}

void ConfirmMultiOptionDialog::ResetScreenSaver(kv::Object*) {
  Store()->PutString(SkinBinWrapper::KEY_SCREEN_SAVER_DELAY, kv::LoadString(SCREEN_SAVER_DEFAULT_DELAY));
  Store()->PutString(KEY_SCREEN_SAVER_COLOR, kv::LoadString(SCREEN_SAVER_DEFAULT_COLOR));
  SettingsChanged();
}

void ConfirmMultiOptionDialog::ResetScaleWindow(kv::Object*) {
  if (SkinBin::Wrapper* s = Skin()) {
    s->OnSetWindowHPos(0);
    s->OnSetWindowVPos(0);
    s->OnSetWindowHSize(0);
    s->OnSetWindowVSize(0);
  }
  SettingsChanged();
}

void ConfirmMultiOptionDialog::StartRecord(kv::Object*) {
  if (SkinBin::Wrapper* s = Skin()) s->StartRecord(s->GetCurrentTunerId(), s->GetCurrentChannel());
}

void ConfirmMultiOptionDialog::StopRecord(kv::Object*) {
  if (SkinBin::Wrapper* s = Skin()) s->StopRecord(s->GetCurrentTunerId());
  if (::NonMenuSystem::NonMenuSystem* n = OnGetNonMenuSystem()) n->ClearWaitingCircle();
}

void ConfirmMultiOptionDialog::StartTimeshift(kv::Object*) {
  if (SkinBin::Wrapper* s = Skin()) s->StartTimeshift(s->GetCurrentTunerId());
}

void ConfirmMultiOptionDialog::StopTimeshift(kv::Object*) {
  if (SkinBin::Wrapper* s = Skin()) s->StopTimeshift(s->GetCurrentTunerId());
}

void ConfirmMultiOptionDialog::DeleteMovieFile(kv::Object*) {
  SendTo(KV_LATE_CLASS("MediaPlayer::MovieListView"), Constants::MSG_DELETE_ITEM, 1);
}

void ConfirmMultiOptionDialog::DeleteRecordedShow(kv::Object*) {
  SendTo(KV_LATE_CLASS("Record::RecordedShowsDialog"), Constants::MSG_DELETE_ITEM, 2);
}

void ConfirmMultiOptionDialog::DeleteScheduledRecord(kv::Object*) {
  SendTo(KV_LATE_CLASS("Record::ScheduledRecordDialog"), Constants::MSG_DELETE_ITEM, 3);
}

void ConfirmMultiOptionDialog::StandbyByTimerExpired(kv::Object*) {
  if (::NonMenuSystem::NonMenuSystem* n = OnGetNonMenuSystem()) {
    n->TimerStandbyTimer().OnSetEnabled(false);
    n->TimerStandby();
  }
}

void ConfirmMultiOptionDialog::StartTimerRecord(kv::Object*) { RecordActiveTimer(); }

void ConfirmMultiOptionDialog::RecordActiveTimer() {
  SkinBin::Wrapper* s = Skin();
  if (!s) return;
  const int32_t tuner = s->OnGetTimerSource() != 0 ? 1 : 0;
  // 1. Make room for the recording.
  if (s->IsVuduDock())
    s->LaunchVuduDock(false, false);
  else if (s->IsFlashlite())
    s->TerminateFlashApp();
  else if (s->GetLiveTVState(tuner) == XPM_TV_STATE_PAUSE_LIVE_TV)
    s->StopTimeshift(tuner);
  // 2. To a tuner source.
  if (!s->IsTunerSource()) s->SetSource(0, s->OnGetTimerSource());
  // 3. The timer becomes the valid recording.
  s->SetTimerRecordValid(tuner, s->OnGetTimerTimesType() == 4, s->OnGetActiveTimerId(), s->OnGetTimerStartEarly());
  // 4. Record the timer's channel.
  auto* channel = kv::New<Structures::VirtualChannel>();
  if (Structures::TimerData* timer = s->ActiveTimer.get()) {
    channel->Major = timer->ChannelMajor;
    channel->Minor = timer->ChannelMinor;
  }
  s->StartRecord(tuner, channel);
}

void ConfirmMultiOptionDialog::CancelTimerRecord(kv::Object*) {
  SkinBin::Wrapper* s = Skin();
  if (!s || s->OnGetTimerTimesType() != 4) return;
  const int32_t id = s->OnGetActiveTimerId();
  s->DB_CheckInTimerId(id);
  s->ResetTimer(id);
  s->DB_DeleteScheduledRecord(s->GetScheduleIdByTimerId(id));
}

void ConfirmMultiOptionDialog::StartTimerRecordAndClose(kv::Object*) {
  StartTimerRecord();
  Close();
}

void ConfirmMultiOptionDialog::CancelTimerRecordAndClose(kv::Object*) {
  CancelTimerRecord();
  Close();
}

void ConfirmMultiOptionDialog::StopAllRecordAndSleep(kv::Object*) {
  if (SkinBin::Wrapper* s = Skin()) {
    for (int32_t tuner : {0, 1}) {
      const int32_t state = s->GetLiveTVState(tuner);
      if (state == XPM_TV_STATE_PAUSE_LIVE_TV) s->StopTimeshift(tuner);
      else if (state == XPM_TV_STATE_RECORDING_LIVE_TV) s->StopRecord(tuner);
    }
  }
  if (Core::Group* root = W()->Root.get()) {
    auto* standby = kv::New<Events::XPM_EVENT_STANDBY>();
    standby->Reason = kSleepStandbyReason;
    root->DispatchEvent(standby);
  }
}

}  // namespace NonMenuSystem
