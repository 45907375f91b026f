#include "units/ThreeD/Start3DWizard.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/ThreeD.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/SeenTexts.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"
#include "units/ThreeD/SelectMode.h"
#include "units/ThreeD/ThreeDScreens.h"

KV_REGISTER_CLASS(ThreeD::Start3DWizard);

namespace ThreeD {

using namespace SkinBin;

namespace {
PersistentData::PersistentData* Store() {
  return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
}
}  // namespace

void Send3DStarted() {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_3D_STARTED, nullptr, 1);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Dispatch(msg);
}

Start3DWizard::Start3DWizard() {
  // Nothing to see and no keys: the wizard only decides.
  OnSetVisible(false);
  FocusOnOpen = false;
  OnSetTimeOutValue(0);
  OnTimeOut = kv::Slot();
  background_.OnSetColor({0, 0, 0, 0});
}

void Start3DWizard::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  CheckNextState();
}

void Start3DWizard::Next(const kv::Class* cls, int32_t param) {
  NextState = cls;
  Param = param;
  Post(&WidgetClass::EnterNextStateSlot);
}

void Start3DWizard::Start3D() {
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  kv::IdleSignal(kv::MakeSlot(&skin->Setup3D, &Setup3D::ApplyState));
  Send3DStarted();
  ClearAll();
  Next(&DisplayMode::StaticClass());
}

void Start3DWizard::CheckNextState() {
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  if (!skin) {
    Next(nullptr);
    return;
  }
  Setup3D& s = skin->Setup3D;
  const kv::Class* prev = PrevState;
  const bool fromSelect =
      prev == &SelectMode_Flag::StaticClass() || prev == &SelectMode_Button::StaticClass();
  const bool fromBar = prev == &NonMenuSystem::DirectMessageBar::StaticClass();
  if (fromSelect || fromBar) {
    // 1. The format check (only after a mode was chosen).
    if (fromSelect && !s.IsFormatSupported()) {
      s.State = Setup3D_State_Unsupported;
      Next(&NonMenuSystem::DirectMessageBar::StaticClass(), Constants::DirectMsgType3DUnsupport);
      return;
    }
    // 2. A 3D lock period still runs: the viewer passed the lock already.
    if (skin->OnGetRemain3DTime() > 0) {
      if (prev == &SelectMode_Flag::StaticClass() || s.IsFormatSelected())
        Start3D();
      else
        Next(&SelectFormat::StaticClass());
      return;
    }
    // 3. The important information, when asked for always or once.
    PersistentData::PersistentData* store = Store();
    const bool once = store && !store->GetString(KEY_3D_INFO_ONCE).Empty();
    if (skin->OnGetThreeD_DisplayInfo() == 1 || once) {
      if (store) store->RemoveString(KEY_3D_INFO_ONCE);
      Next(&ImportantInfoDialog::StaticClass());
      return;
    }
    StepTimerExpiry();
  } else if (prev == &ImportantInfoDialog::StaticClass()) {
    StepTimerExpiry();
  } else if (prev == KV_LATE_CLASS("NonMenuSystem::EnterPinDialog")) {
    StepLockTimerAndFormat();
  } else if (prev == &SelectFormat::StaticClass()) {
    StepStart();
  } else if (prev == &StartMessage::StaticClass()) {
    // 8. The start message was read.
    ClearAll();
    Next(nullptr);
  } else {
    Next(nullptr);
  }
}

void Start3DWizard::StepTimerExpiry() {
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  // 4. The 3D timer ran out during the last viewing.
  if (skin->OnGetRemain3DTime() <= 0 && skin->OnGetThreeD_EnableTimer() != 0 &&
      skin->OnGetRemain3DContinualTime() > 0) {
    skin->OnSetRemain3DContinualTime(-1);
    Next(KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog"), Constants::ConfirmType3DTimerExpire);
    return;
  }
  // 5. 3D is locked behind the 3D PIN.
  if (skin->OnGetThreeDLock() == 1) {
    Next(KV_LATE_CLASS("NonMenuSystem::EnterPinDialog"), EnterPinType3DUnlock);
    return;
  }
  StepLockTimerAndFormat();
}

void Start3DWizard::StepLockTimerAndFormat() {
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  // 6. The lock timer starts; a detected format needs no format dialog.
  if (skin->OnGetThreeD_EnableTimer() != 0) skin->Start3DLockTimer();
  if (skin->Setup3D.IsFormatSelected()) {
    PrevState = &SelectFormat::StaticClass();
    kv::IdleSignal(kv::MakeSlot(this, &Start3DWizard::PostCheckState));
    return;
  }
  Next(&SelectFormat::StaticClass());
}

void Start3DWizard::StepStart() {
  SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin();
  // 7. Into 3D: the start message, or straight to the icon.
  if (Setup3D::Is3DDisplay(skin->Setup3D.State)) Send3DStarted();
  if (skin->OnGetThreeDStartMessage() == 1) {
    Next(&StartMessage::StaticClass());
  } else {
    ClearAll();
    Next(&DisplayMode::StaticClass());
  }
}

void Start3DWizard::PostCheckState(kv::Object*) {
  if (SkinBin::Wrapper* skin = NonMenuSystem::Live::Skin()) skin->Setup3D.ApplyState();
  CheckNextState();
}

void Start3DWizard::EnterNextState() {
  Close();
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  if (!NextState || !owner) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = NextState;
  state->Param = SkinBin::UserRefInt::Make(Param, Constants::MSG_FROM_NONMENUSYSTEM);
  // The next step comes over whatever is open, the menu too, and takes the
  // keys there: the 3D signal's notice may have come while a page of the
  // menu had them.
  owner->TakeFocus();
  owner->ChangeState(state);
}

void MarkComesOverAll(NonMenuSystem::WidgetClass* screen) { Core::MarkStandsApart(screen, screen->PrevState == nullptr); }

}  // namespace ThreeD
