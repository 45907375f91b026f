#include "units/Update/CheckingMessage.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/SkinBinWrapper.h"
#include "strings/Strings.h"
#include "strings/Update.h"
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
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"
#include "units/Update/Placement.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(Update::CheckingMessage);

namespace Update {

namespace {
constexpr int32_t kCheckOverNetwork = 1;
}  // namespace

CheckingMessage::CheckingMessage() {
  OnSetBounds({0, 0, 500, 80});
  WinID = WinIDs::WIN_ID_UBN_Message;
  // The check the set's update question starts stands at the screen's
  // centre over whatever was open, as the question did.
  Core::MarkStandsApart(this, true);
  NextState = KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog");
  WidgetOrigin = {130, 310};
  OnSetTimeOutValue(0);
  OnTimeOut = kv::Slot();
  text_.OnSetBounds({60, 9, 470, 189});
  text_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  text_.OnSetColor(Colors::StandardTextColor);
  text_.OnSetAutoSize(true);
  text_.OnSetString(kv::GetVariantOfString(Strings::SID_CHECK_TV_SOFTWARE_VERSION));
  Add(&text_);
  answerTimer_.OnSetPeriod(0);
  answerTimer_.OnSetBegin(kAnswerLimit);
  answerTimer_.OnTrigger = kv::MakeSlot(this, &CheckingMessage::NoAnswer);
}

void CheckingMessage::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  OnSetTimeOutValue(0);
  OnTimeOut = kv::Slot();
  NextState = KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog");
  NextMessageType = Constants::ConfirmTypeUpdateAvailable;
  const kv::Rect b = Bounds();
  WidgetOrigin = CentreOnScreen(b.W(), b.H());
  auto* data = kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  data->RemoveString(SkinBinWrapper::KEY_USB_UPDATE);
  if (auto* skin = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)))
    skin->StartUpdateCheck(kCheckOverNetwork, kv::String());
  if (auto* s = OnGetNonMenuSystem()) s->ClearHelpBar();
  answerTimer_.OnSetEnabled(true);
}

void CheckingMessage::Close() {
  answerTimer_.OnSetEnabled(false);
  WidgetClass::Close();
}

kv::Object* CheckingMessage::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    if (key->Down) return this;
    return WidgetClass::HandleEvent(event);
  }
  if (auto* result = kv::Cast<Events::XPM_EVENT_UBN_RESULT>(event)) {
    if (IsOpen()) Answer(result->Result);
    return this;
  }
  return WidgetClass::HandleEvent(event);
}

void CheckingMessage::Answer(int32_t result) {
  answerTimer_.OnSetEnabled(false);
  kv::Trace("%s%i", {kv::LoadString(T_CHECK_RESULT), result});
  if (result != 0) {
    NextState = &NonMenuSystem::DirectMessageBar::StaticClass();
    if (result % 1000 != 0) NextMessageType = Constants::DirectMsgTypeNetworkUnavailable;
    else if (result >= 5000 && result <= 5999) NextMessageType = Constants::DirectMsgTypeNoUpgradeAvailable;
    else NextMessageType = Constants::DirectMsgTypeUpgradeWarning;
  }
  EnterNextState();
}

void CheckingMessage::NoAnswer(kv::Object*) {
  if (!IsOpen()) return;
  kv::Trace("%s", {kv::LoadString(T_CHECK_NO_ANSWER)});
  NextState = &NonMenuSystem::DirectMessageBar::StaticClass();
  NextMessageType = Constants::DirectMsgTypeNetworkUnavailable;
  EnterNextState();
}

void CheckingMessage::EnterNextState() {
  const kv::Rect area = Bounds();
  Close();
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!NextState || !s) return;
  auto* param = kv::New<SkinBin::UserRefInt>();
  param->Value = NextMessageType;
  param->Code = Constants::MSG_FROM_NONMENUSYSTEM;
  auto* state = kv::New<SubSystem::State>();
  state->Class = NextState;
  state->Param = param;
  Primitives::KeyRoutingForm* next = s->ChangeState(state);
  if (auto* bar = kv::Cast<NonMenuSystem::DirectMessageBar>(next)) CentreOver(bar, area);
}

}  // namespace Update
