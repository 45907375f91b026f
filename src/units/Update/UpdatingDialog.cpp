#include "units/Update/UpdatingDialog.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/NonMenuSystem.h"
#include "strings/SkinBinWrapper.h"
#include "strings/Strings.h"
#include "strings/Update.h"
#include "units/Bitmaps/BarBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Core/SeenTexts.h"
#include "units/Events/XPM_EVENT_UBN_RESULT.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Progress/ProgressClass.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"
#include "units/Update/Placement.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(Update::UpdatingDialog);

namespace Update {

namespace {

// The progress block and bar, from the dialog's edges.
constexpr int32_t kBlockX = 20;
constexpr int32_t kBlockY = 96;
constexpr int32_t kBlockHeight = 28;
constexpr int32_t kTextGap = 5;
constexpr int32_t kBarInset = 66;
constexpr int32_t kBarHeight = 10;
constexpr int32_t kBarRight = 434;

SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)); }

// The update takes the set: a channel scan under way ends first (its
// screen's Close aborts it and gives back the set's critical section).
// Its end would otherwise come while this screen takes every event, and
// its screen would wait for it after the update.
void EndChannelScans() {
  const kv::Class* scan = KV_LATE_CLASS("Channels::ScanDialog");
  auto* manager = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  if (!scan || !manager) return;
  for (kv::Object* item : manager->Snapshot())
    if (auto* form = kv::Cast<Primitives::KeyRoutingForm>(item); form && form->IsOpen() && kv::ClassOf(form)->Is(scan))
      form->Close();
}

}  // namespace

UpdatingDialog::UpdatingDialog() {
  OnSetBounds({0, 0, 541, 135});
  WinID = WinIDs::WIN_ID_UBN_Updating;
  // The update's progress stands at the screen's centre over whatever was
  // open when its question was answered, as the question did.
  Core::MarkStandsApart(this, true);
  OnSetTimeOutValue(0);
  OnTimeOut = kv::Slot();
  background_.OnSetColor(Colors::MenuBgColor);
  kv::String text = kv::ConcatString(kv::GetVariantOfString(Strings::SID_UPGRADING_TITLE), kv::LoadString(TITLE_SEPARATOR));
  text_.OnSetBounds({10, 10, 520, 88});
  text_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  text_.OnSetColor(Colors::StandardTextColor);
  text_.OnSetString(kv::ConcatString(text, kv::GetVariantOfString(Strings::SID_SWU_MSG_PROGRESS)));
  block_.OnSetColor(Colors::ChannelScanBlockColor);
  block_.OnSetBounds({20, 90, 510, 120});
  bar_.OnSetBgImageBitmap(Resources::LoadResource(Bitmaps::ScanSliderBackground));
  bar_.OnSetIndicatorImageBitmap(Resources::LoadResource(Bitmaps::ScanSliderIndicator));
  bar_.OnSetStretchIndicator(::Progress::kIndicatorStretch);
  bar_.OnSetIndicatorTopLeft({0, 0});
  bar_.OnSetMin(0);
  bar_.OnSetMax(100);
  bar_.OnSetValue(0);
  bar_.OnSetReadOnly(true);
  Add(&text_);
  Add(&block_);
  Add(&bar_);
  pollTimer_.OnSetBegin(kPollPeriod);
  pollTimer_.OnSetPeriod(kPollPeriod);
  pollTimer_.OnTrigger = kv::MakeSlot(this, &UpdatingDialog::UpdateUpdatingDialog_Slot);
  startTimer_.OnSetBegin(kStartLimit);
  startTimer_.OnSetPeriod(0);
  startTimer_.OnTrigger = kv::MakeSlot(this, &UpdatingDialog::StartTimedOut);
  UpdatingDialog::Refresh();
}

void UpdatingDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  EndChannelScans();
  WidgetClass::Initialize(param);
  OnSetTimeOutValue(0);
  OnTimeOut = kv::Slot();
  ShowWaiting(false);
  bar_.OnSetValue(0);
  lastProgress_ = 0;
  progressSeen_ = false;
  if (SkinBin::Wrapper* skin = Skin()) {
    skin->EnterAppCriticalSection(true);
    skin->PowerKeyControl(0);
    inSection_ = true;
  }
  pollTimer_.OnSetEnabled(true);
  startTimer_.OnSetEnabled(true);
}

void UpdatingDialog::Close() {
  pollTimer_.OnSetEnabled(false);
  startTimer_.OnSetEnabled(false);
  // Closed from outside before anything was written: nothing holds the set
  // any more, so it gets its timers and power key back. Once the update
  // writes, the set stays locked until the platform restarts it.
  if (inSection_ && !progressSeen_ && IsOpen()) {
    inSection_ = false;
    if (SkinBin::Wrapper* skin = Skin()) {
      skin->ExitAppCriticalSection();
      skin->PowerKeyControl(1);
    }
  }
  WidgetClass::Close();
}

void UpdatingDialog::UpdateUpdatingDialog_Slot(kv::Object*) {
  SkinBin::Wrapper* skin = Skin();
  const int32_t progress = skin ? skin->GetUpdateProgress() : 0;
  bar_.OnSetValue(progress);
  if (progress != lastProgress_) {
    lastProgress_ = progress;
    startTimer_.Activate();
  }
  if (bar_.OnGetValue() >= 1) {
    progressSeen_ = true;
    ShowWaiting(true);
  }
}

void UpdatingDialog::ShowWaiting(bool flag) {
  block_.OnSetVisible(flag);
  bar_.OnSetVisible(flag);
}

void UpdatingDialog::StopScan() {
  if (inSection_) {
    inSection_ = false;
    if (SkinBin::Wrapper* skin = Skin()) skin->ExitAppCriticalSection();
  }
  EnterNextState();
  kv::Signal(OnStop, this);
}

void UpdatingDialog::EnterNextState() {
  Close();
  if (NextState) OpenState(NextState, nullptr);
}

void UpdatingDialog::StartTimedOut(kv::Object*) {
  if (!IsOpen() || progressSeen_) return;
  kv::Trace("%s", {kv::LoadString(T_UPDATE_NO_ANSWER)});
  Finish(-1);
}

void UpdatingDialog::Finish(int32_t result) {
  kv::Trace("%s%i", {kv::LoadString(T_UPDATE_RESULT), result});
  pollTimer_.OnSetEnabled(false);
  startTimer_.OnSetEnabled(false);
  bar_.OnSetValue(100);
  const kv::Rect area = Bounds();
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  StopScan();
  SkinBin::Wrapper* skin = Skin();
  int32_t type = Constants::DirectMsgTypeNetworkUpgradeComplete;
  if (result != 0) {
    type = Constants::DirectMsgTypeUpgradeError;
    if (skin) skin->PowerKeyControl(1);
  } else if (skin && skin->IsUSBUpdate()) {
    type = Constants::DirectMsgTypeUSBUpgradeComplete;
  }
  if (s) {
    if (auto* bar = s->ShowMessage(type)) CentreOver(bar, area);
  }
  auto* data = kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  data->RemoveString(SkinBinWrapper::KEY_USB_UPDATE);
  data->RemoveString(NonMenuSystem::KEY_UPDATE_PATH);
}

kv::Object* UpdatingDialog::HandleEvent(Core::Event* event) {
  if (auto* result = kv::Cast<Events::XPM_EVENT_UBN_RESULT>(event)) {
    if (IsOpen()) Finish(result->Result);
  }
  // Nothing else may act while the update runs.
  return this;
}

void UpdatingDialog::Refresh() {
  WidgetClass::Refresh();
  const int32_t w = Bounds().W();
  const kv::Rect block{kBlockX, kBlockY, w - kBlockX, kBlockY + kBlockHeight};
  block_.OnSetBounds(block);
  const kv::Rect t = text_.Bounds();
  text_.OnSetBounds({t.x1, t.y1, t.x2, block.y1 - kTextGap});
  const int32_t barTop = block.y1 + (kBlockHeight - kBarHeight) / 2;
  bar_.OnSetBounds({block.x1 + kBarInset, barTop, kBarRight, barTop + kBarHeight});
}

}  // namespace Update
