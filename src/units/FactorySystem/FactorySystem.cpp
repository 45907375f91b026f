#include "keys/keycodes.h"
#include "units/FactorySystem/FactorySystem.h"

#include "runtime/auto_object.h"
#include "units/Constants/MessageTypes.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/SkinBinWrapper.h"
#include "strings/FactorySystem.h"
#include "strings/SkinBin.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/Events/XPM_EVENT_FACTORY_COMMAND.h"
#include "units/Events/XPM_EVENT_FACTORY_RESET.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/FactorySystem/AdjustmentMenu.h"
#include "units/FactorySystem/Screens.h"
#include "units/FactorySystem/StatusCheck.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(FactorySystem::FactorySystem);

namespace FactorySystem {

using namespace keys;

namespace {

constexpr uint32_t kClearLayers = 0x9000;
constexpr int32_t kPictureModeOption = static_cast<int32_t>(0x8100001Bu);
constexpr int32_t kPictureSizeOption = static_cast<int32_t>(0x8100001Cu);
constexpr int32_t kSetupMenuAntennaRow = 3;

SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)); }
WidgetManager::WidgetManager* Manager() {
  return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
}
Agent::MessageAgent* Agent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }

kv::String FactoryText() { return kv::LoadString(SkinBinWrapper::FACTORY_MODE_CAPTION); }
kv::String ServiceText() { return kv::LoadString(SkinBinWrapper::SERVICE_MODE_CAPTION); }

bool In(uint32_t code, uint32_t lo, uint32_t hi) { return code >= lo && code <= hi; }
bool IsMute(uint32_t code) { return In(code, 0x40BE80, 0x40BE82); }
bool IsInput(uint32_t code) { return In(code, 0x40BF20, 0x40BF25) || In(code, 0x40BF39, 0x40BF3D); }
bool IsPictureMode(uint32_t code) { return In(code, 0x40BE50, 0x40BE53) || In(code, 0x40BFCD, 0x40BFCF) || code == 0x40BE57; }
bool IsPictureSize(uint32_t code) {
  return In(code, 0x40BFC1, 0x40BFC3) || code == 0x40BFCB || code == 0x40BFD1 || In(code, 0x40BE54, 0x40BE56);
}
bool AnyOpen(std::initializer_list<uint32_t> ids) {
  for (uint32_t id : ids)
    if (Manager()->FindForm(id)) return true;
  return false;
}
bool TunerSource(SkinBin::Wrapper* w) {
  const int32_t type = w->GetSourceType(w->GetCurrentSource(0));
  return type == Constants::XPM_SOURCE_TYPE_RF_TUNER || type == 12;
}
// The widget application named by the skin's restricted name.
bool RestrictedWidgetApp(SkinBin::Wrapper* w) {
  return w->IsYahoo() && w->GetYahooWidgetName() == kv::LoadString(RESTRICTED_WIDGET_APP);
}

}  // namespace

FactorySystem::FactorySystem() {
  postTimer_.OnSetPeriod(0);
  postTimer_.OnTrigger = kv::MakeSlot(this, &FactorySystem::HandlePostEvent);
}

void FactorySystem::Initialize(Primitives::KeyRoutingParameter* param) {
  InitializeOnScreen(param);
}

void FactorySystem::Close() { CloseOnScreen(); }

bool FactorySystem::IsInFactoryMode() {
  SkinBin::Wrapper* w = Skin();
  return w && !w->OnGetFactoryMode().Empty() && w->OnGetFactoryMode() == FactoryText();
}

bool FactorySystem::IsInServiceMode() {
  SkinBin::Wrapper* w = Skin();
  return w && !w->OnGetFactoryMode().Empty() && w->OnGetFactoryMode() == ServiceText();
}

void FactorySystem::ClearAll() {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CLEAR_ALL, nullptr);
  Agent()->Dispatch(msg);
}

void FactorySystem::HandleMessage(Structures::Message* msg) {
  if (msg && msg->Code == Constants::MSG_CLEAR_ALL) Manager()->CloseLayers(kClearLayers);
}

Primitives::KeyRoutingForm* FactorySystem::ChangeState(SubSystem::State* state) {
  if (!state || !state->Class) return nullptr;
  Primitives::KeyRoutingForm* form = SubSystemClass::ChangeState(state);
  if (!form || !form->SubSystemClass || !KvClass()->Is(form->SubSystemClass)) return form;
  auto* widget = kv::Cast<WidgetClass>(form);
  if (!widget) return form;
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  param->Param = state->Param.get();
  widget->OnSetFactorySystem(this);
  widget->Initialize(param);
  const kv::Rect b = widget->Bounds();
  const kv::Point at = widget->WidgetOrigin;
  widget->OnSetBounds({at.x, at.y, at.x + b.W(), at.y + b.H()});
  widget->Open();
  if (widget->FocusOnOpen && widget->IsOpen()) OnSetFocus(widget);
  if (widget->TakesKeys && widget->IsOpen())
    if (Core::Group* owner = Owner()) owner->OnSetFocus(this);
  return form;
}

void FactorySystem::ReleaseKeys() {
  for (int32_t i = 0; i < GetChildCount(); ++i)
    if (auto* w = kv::Cast<WidgetClass>(GetChild(i)); w && w->TakesKeys && w->IsOpen()) return;
  Core::Group* owner = Owner();
  if (!owner || owner->OnGetFocus() != this) return;
  for (int32_t i = 0; i < owner->GetChildCount(); ++i)
    if (owner->GetChild(i)->KvClass() == KV_LATE_CLASS("NonMenuSystem::NonMenuSystem")) {
      owner->OnSetFocus(owner->GetChild(i));
      return;
    }
}

Primitives::KeyRoutingForm* FactorySystem::OpenState(const kv::Class* cls, kv::Object* param, const kv::Class* prev) {
  if (!cls) return nullptr;
  auto* state = kv::New<SubSystem::State>();
  state->Class = cls;
  state->Param = param;
  state->PrevState = prev;
  return ChangeState(state);
}

void FactorySystem::DisplayResultMenu(const kv::Class* menuClass, int32_t index) {
  auto* ref = kv::New<Structures::RefInt>();
  ref->Value = index;
  OpenState(menuClass, ref);
}

void FactorySystem::PostHandleEvent(Events::XPM_EVENT_FACTORY_COMMAND* event, int32_t seconds) {
  postedEvent_ = event;
  postTimer_.OnSetBegin(seconds * 1000);
  postTimer_.OnSetEnabled(true);
  postTimer_.Activate();
}

void FactorySystem::HandlePostEvent(kv::Object*) {
  Events::XPM_EVENT_FACTORY_COMMAND* event = postedEvent_.get();
  postedEvent_ = nullptr;
  if (event) HandleEvent(event);
}

kv::Object* FactorySystem::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    // Service mode: Down from the panel while the service key is held.
    if (!key->Down || key->Code != KEY_DOWN) return nullptr;
    auto* xkey = kv::Cast<Events::XPM_EVENT_KEY>(key);
    if (!xkey || xkey->FromPanel != 1) return nullptr;
    SkinBin::Wrapper* w = Skin();
    if (w && w->GetKeyHeld(KEY_HELD_SERVICE)) {
      ShowIndicator(ServiceText());
      w->OnSetFactoryMode(ServiceText());
    }
    if (IsInServiceMode()) {
      ClearAll();
      OpenState(&AdjustmentMenu::StaticClass());
    }
    return event;
  }
  auto* f = kv::Cast<Events::XPM_EVENT_FACTORY_COMMAND>(event);
  if (!f) return nullptr;
  kv::Trace("%s%i%$%i%s", {"factory command ", f->Kind, f->Class, f->Value, f->Text});
  HandleFactoryEvent(f);
  f->Handled = 1;
  return event;
}

void FactorySystem::HandleFactoryEvent(Events::XPM_EVENT_FACTORY_COMMAND* f) {
  switch (f->Kind) {
    case FACTORY_COMMAND_DISPLAY_MENU:
      ClearAll();
      DisplayResultMenu(f->Class, f->Value + 1);
      break;
    case FACTORY_COMMAND_DISPLAY_VALUE: {
      ClearAll();
      auto* v = kv::Cast<ValueDisplay>(OpenState(&ValueDisplay::StaticClass()));
      if (v) {
        v->OnSetFacName(f->Text);
        v->OnSetFacValue(f->Value);
      }
      break;
    }
    case FACTORY_COMMAND_RAW:
      ProcessFacRawCommand(static_cast<uint32_t>(f->Value));
      break;
    case FACTORY_COMMAND_DISPLAY_MESSAGE: {
      const int32_t post = f->Value & MESSAGE_PARAM_POST_TIME;
      if (post != 0) {
        f->Value &= ~MESSAGE_PARAM_POST_TIME;
        PostHandleEvent(f, post);
        break;
      }
      const bool touchKey = (f->Value & MESSAGE_PARAM_TYPE) == MESSAGE_PARAM_TYPE_TOUCH_KEY;
      if (touchKey && !IsInFactoryMode()) break;
      if (f->Class != &SmallMessage::StaticClass() && f->Class != &LargeMessage::StaticClass()) break;
      if (!touchKey) ClearAll();
      auto* ref = kv::New<SkinBin::UserRefInt>();
      ref->String = f->Text;
      ref->Value = f->Value;
      OpenState(f->Class, ref);
      break;
    }
    default:
      kv::Log("FactorySystem: factory command of unknown kind " + std::to_string(f->Kind) + ", ignored");
      break;
  }
}

void FactorySystem::Unfreeze() {
  if (SkinBin::Wrapper* w = Skin(); w && w->OnGetIsFrozen()) w->OnSetIsFrozen(0);
}

void FactorySystem::ShowIndicator(const kv::String& caption) {
  if (!modeIndicator_) {
    auto* indicator = kv::New<ModeIndicator>();
    const kv::Rect b = indicator->Bounds();
    const kv::Point at = indicator->WidgetOrigin;
    indicator->OnSetBounds({at.x, at.y, at.x + b.W(), at.y + b.H()});
    indicator->OnSetFactorySystem(this);
    indicator->Refresh();
    Add(indicator);
    modeIndicator_ = indicator;
  }
  modeIndicator_->OnSetCaption(caption);
}

void FactorySystem::LeaveMode(const kv::String& caption) {
  SkinBin::Wrapper* w = Skin();
  if (!w || w->OnGetFactoryMode().Empty() || w->OnGetFactoryMode() != caption) return;
  if (ModeIndicator* indicator = modeIndicator_.get()) {
    if (indicator->Owner() == this) Remove(indicator);
    modeIndicator_ = nullptr;
  }
  w->OnSetFactoryMode(kv::String());
  ClearAll();
  if (auto* status = kv::Cast<StatusCheck>(Manager()->FindForm(WinIDs::WIN_ID_StatusCheck))) status->Close();
}

void FactorySystem::SetPictureOption(uint32_t code, int32_t optionId, const kv::Class* screen) {
  Unfreeze();
  if (!DiscreteKeyNeedHandled(code) || IsDiscreteKeyNotAvailable(code)) return;
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  OptionDatabase::OptionDataClass* option = db ? db->GetOptionData(optionId) : nullptr;
  if (!option) return;
  option->Initialize();
  const int32_t value = Command2Value(code);
  if (optionId == kPictureSizeOption) {
    kv::String caption;
    if (code == 0x40BFD1) caption = kv::GetVariantOfString(SkinBin::OPT_C_PS_NATIVE);
    else if (code == 0x40BE55) caption = kv::GetVariantOfString(SkinBin::OPT_C_PS_NORMAL);
    if (!IsValueCaptionValid(option, value, caption)) return;
  } else if (!IsValueValid(option, value)) {
    return;
  }
  if (!option->HasProperty() || option->RefValue.Get() == value) return;
  ClearAll();
  option->RefValue.Set(value);
  if (optionId == kPictureModeOption) {
    auto* ref = kv::New<SkinBin::UserRefInt>();
    ref->Value = optionId;
    OpenState(screen, ref);
  } else {
    OpenState(screen);
  }
}

int32_t FactorySystem::ProcessFacRawCommand(uint32_t code) {
  SkinBin::Wrapper* w = Skin();
  if (!w) return 0;
  if (IsPictureMode(code)) {
    SetPictureOption(code, kPictureModeOption, KV_LATE_CLASS("NonMenuSystem::ToggleOptionOverlay"));
  } else if (IsPictureSize(code)) {
    SetPictureOption(code, kPictureSizeOption, KV_LATE_CLASS("NonMenuSystem::PictureSizeDialog"));
  } else if (IsMute(code)) {
    Unfreeze();
    const int32_t value = Command2Value(code);
    if (value == w->OnGetMute()) return 0;
    w->OnSetMute(value);
    if (value != 0) {
      OpenState(KV_LATE_CLASS("NonMenuSystem::CommonMuteBar"));
    } else if (Primitives::KeyRoutingForm* bar = Manager()->FindForm(WinIDs::WIN_ID_MuteBar)) {
      if (bar->KvClass() == KV_LATE_CLASS("NonMenuSystem::CommonMuteBar")) bar->Close();
    }
  } else if (IsInput(code)) {
    Unfreeze();
    if (!DiscreteKeyNeedHandled(code) || IsDiscreteKeyNotAvailable(code)) return 0;
    const int32_t id = Command2SrcId(code);
    if (id != w->GetCurrentSource(0)) {
      ClearAll();
      w->SetSource(0, id);
    }
  } else {
    switch (code) {
      case 0x40BE43:
      case 0x40BF10EF:
      case 0x40BF13EC:
        DiscreteKey2KeyEvent(code);
        break;
      case 0xCFA90FFF: w->OnSetAutoBrightnessSensor(0); break;
      case 0x40EA42BD: ClearAll(); break;
      case 0x40BF0CF3: w->ResetAudioVideoSettings(); break;
      case 0x40BFAB54: {
        ClearAll();
        if (auto* status = kv::Cast<StatusCheck>(OpenState(&StatusCheck::StaticClass()))) status->PrintStatusResults();
        break;
      }
      case 0x40BFB649:
        if (!TunerSource(w)) break;
        ClearAll();
        w->OnSetAntCableIn(w->OnGetAntCableIn() == 0 ? 1 : 0);
        DisplayResultMenu(KV_LATE_CLASS("MenuSystem::SetupMenu"), kSetupMenuAntennaRow);
        break;
      case 0x40EEEC13:
      case 0x40EEED12: {
        const int32_t medium = code == 0x40EEEC13 ? 0 : 1;
        if (!TunerSource(w) || w->OnGetAntCableIn() == medium) break;
        ClearAll();
        w->OnSetAntCableIn(medium);
        DisplayResultMenu(KV_LATE_CLASS("MenuSystem::SetupMenu"), kSetupMenuAntennaRow);
        break;
      }
      case 0x40EE53AC:
        if (w->OnGetVideoPreset() == 0) break;
        ClearAll();
        w->OnSetAutoBrightnessSensor(w->OnGetAutoBrightnessSensor() == 1 ? 0 : 1);
        DisplayResultMenu(KV_LATE_CLASS("MenuSystem::AutoBrightnessSensorMenu"), 1);
        break;
      case 0x40EE54AB:
        ClearAll();
        if (w->OnGetAutoBrightnessSensor() == 0) w->OnSetAutoBrightnessSensor(1);
        OpenState(&DetectLightSensor::StaticClass());
        break;
      case 0x40EE9A65: w->OnSetFactoryLocalDimming((w->OnGetFactoryLocalDimming() + 1) % 3); break;
      case 0x40D55AA5:
        ShowIndicator(FactoryText());
        w->OnSetFactoryMode(FactoryText());
        if (w->OnGetAutoAspect()) {
          ClearAll();
          w->OnSetAutoAspect(0);
          if (w->OnGetStretch43()) w->OnSetStretch43(0);
        }
        break;
      case 0x0040D53C:
        ShowIndicator(ServiceText());
        w->OnSetFactoryMode(ServiceText());
        ClearAll();
        OpenState(&AdjustmentMenu::StaticClass());
        break;
      case 0x40EE03FC: LeaveMode(FactoryText()); break;
      case 0x40EE1B: LeaveMode(ServiceText()); break;
      case 0x40EE00FF: {
        auto* reset = kv::New<Events::XPM_EVENT_FACTORY_RESET>();
        if (Core::Root* root = GetRoot()) root->DispatchEvent(reset);
        break;
      }
      default: break;
    }
  }
  return 0;
}

int32_t FactorySystem::DiscreteKey2KeyEvent(uint32_t code) {
  uint16_t key = KEY_NONE;
  switch (code) {
    case 0x40BF10EF: key = KEY_MUTE; break;
    case 0x40BF13EC: key = KEY_AUDIO; break;
    case 0x40BE43: key = KEY_3D; break;
    default: return 0;
  }
  auto* e = kv::New<Events::XPM_EVENT_KEY>();
  e->Initialize(key, 1);
  if (Core::Root* root = GetRoot()) root->DispatchEvent(e);
  return 0;
}

bool FactorySystem::DiscreteKeyNeedHandled(uint32_t code) {
  if (IsMute(code)) return true;
  if (AnyOpen({0x12000031, 0x12000034, 0x12000037, 0x12000038, 0x12000039})) return false;
  if (AnyOpen({0x12000032, 0x12000033, 0x1200003A}))
    return code == 0x40BE50 || code == 0x40BE51 || code == 0x40BFCD || code == 0x40BFCE;
  if (AnyOpen({0x12000035, 0x12000036})) return !(IsInput(code) || code == 0x40BE52 || code == 0x40BE53);
  SkinBin::Wrapper* w = Skin();
  if (!w) return false;
  if (IsInput(code)) {
    if (RestrictedWidgetApp(w)) return false;
    if (w->IsYahoo()) w->RequestTVResources();
    if (w->IsFlashlite() || w->IsVuduDock()) return false;
    return true;
  }
  if (IsPictureSize(code) && w->IsYahoo()) {
    if (RestrictedWidgetApp(w)) return false;
    w->TerminateYahooApp();
    return true;
  }
  if (IsPictureMode(code)) return !RestrictedWidgetApp(w);
  return true;
}

bool FactorySystem::IsDiscreteKeyNotAvailable(uint32_t code) {
  if (IsMute(code)) return false;
  SkinBin::Wrapper* w = Skin();
  if (!w) return false;
  const bool home = w->OnGetLocation() == 0;
  const bool players = AnyOpen({0x12000035, 0x12000036});
  const bool unavailable =
      (TunerSource(w) && (code == 0x40BE52 || code == 0x40BE53 || code == 0x40BE55 || code == 0x40BE56)) ||
      (home && code == 0x40BE51 && Manager()->Empty() && !w->OnGetIsFrozen()) ||
      (w->OnGetInputLock() != 0 && (In(code, 0x40BF20, 0x40BF25) || In(code, 0x40BF39, 0x40BF3C))) ||
      (AnyOpen({0x12000032, 0x12000033, 0x1200003A, 0x12000035, 0x12000036}) && home && code == 0x40BE51) ||
      (players && (code == 0x40BE55 || code == 0x40BE56));
  if (!unavailable) return false;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_SHOW_MESSAGE, nullptr, Constants::DirectMsgTypeNotAvailable);
  Agent()->Dispatch(msg, KV_LATE_CLASS("NonMenuSystem::NonMenuSystem"));
  return true;
}

int32_t FactorySystem::Command2Value(uint32_t code) {
  switch (code) {
    case 0x40BFD1: case 0x40BE55: return 0;
    case 0x40BFCB: return 1;
    case 0x40BFC1: return 2;
    case 0x40BFC2: return 3;
    case 0x40BFC3: return 4;
    case 0x40BE54: return 5;
    case 0x40BE56: return 7;
    case 0x40BE50: return 0;
    case 0x40BFCD: return 1;
    case 0x40BFCE: return 2;
    case 0x40BFCF: return 3;
    case 0x40BE57: return 4;
    case 0x40BE51: return 5;
    case 0x40BE52: return 6;
    case 0x40BE53: return 7;
    case 0x40BE80: return 2;
    case 0x40BE81: return 0;
    case 0x40BE82: return 1;
    default: return 0;
  }
}

int32_t FactorySystem::Command2SrcId(uint32_t code) {
  SkinBin::Wrapper* w = Skin();
  if (!w) return -1;
  struct Row {
    uint32_t code;
    int32_t type, nth;
  };
  static constexpr Row kRows[] = {
      {0x40BF20, 2, 1}, {0x40BF21, 2, 2}, {0x40BF22, 4, 1}, {0x40BF23, 4, 2}, {0x40BF24, 5, 1}, {0x40BF25, 5, 2},
      {0x40BF39, 5, 3}, {0x40BF3A, 5, 4}, {0x40BF3B, 6, 1}, {0x40BF3D, 1, 1},
  };
  for (const Row& r : kRows)
    if (r.code == code) return w->GetSourceByType(0, r.type, r.nth);
  return -1;
}

bool FactorySystem::IsValueValid(OptionDatabase::OptionDataClass* option, int32_t value) {
  return IsValueCaptionValid(option, value, kv::String());
}

bool FactorySystem::IsValueCaptionValid(OptionDatabase::OptionDataClass* option, int32_t value,
                                        const kv::String& caption) {
  if (!option) return false;
  const int32_t saved = option->Id;
  const int32_t savedValue = option->Value;
  bool found = false;
  // The picture sizes offer value 0 twice (native and normal): with a
  // caption, the entry of that caption counts.
  for (int32_t i = 0; i < option->Num && !found; ++i) {
    option->Id = i;
    option->Id2Value();
    found = option->Value == value && (caption.Empty() || option->ChoiceCaption(i) == caption);
  }
  option->Id = saved;
  option->Value = savedValue;
  return found;
}

}  // namespace FactorySystem
