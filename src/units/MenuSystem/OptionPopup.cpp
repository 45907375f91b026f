#include "units/MenuSystem/OptionPopup.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/MenuBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/MenuSystem/FocusLook.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/MenuSystem/MenuSystem.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Structures/Message.h"

KV_REGISTER_CLASS(MenuSystem::VidiOptionMenu);

namespace MenuSystem {

using namespace keys;

namespace {

Agent::MessageAgent* Agent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }
OptionDatabase::OptionDataClass* Record(int32_t option) {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  return db ? db->GetOptionData(option) : nullptr;
}

// The caption of choice `index` as the record's courier gives it, in the
// current language (the record's Id is left on that choice).
kv::String CourierCaption(OptionDatabase::OptionDataClass* record, int32_t index) {
  record->Id = index;
  record->GetData();
  auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get());
  return courier ? courier->Caption : kv::String();
}
}  // namespace

VidiOptionMenu::VidiOptionMenu() {
  Layer = 8;
  MenuLevel = 3;
  ArrangeMode = 1;
  ItemXOffset = 6;
  ItemYOffset = 10;
  ItemInterval = 5;
  FocusOnOpen = false;
  SubSystemClass = &MenuController::StaticClass();
  OnSetOpacity(224);
  OnSetBounds({0, 0, 200, 200});
  background_.OnSetColor({0, 0, 0, 160});
  Add(&background_);
  border_.OnSetWidth(2);
  border_.OnSetColor(Colors::BannerDescription);
  Add(&border_);
}

void VidiOptionMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  if (param)
    if (auto* owner = kv::Cast<MenuController>(param->Owner.get())) MenuSystem = owner;
  MenuClass::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) OptionType = ref->Value;
  LoadingSettings();
}

Forms::Ctrl* VidiOptionMenu::Choice(int32_t index) { return GetCtrlAt(index); }

void VidiOptionMenu::LoadingSettings() {
  OptionDatabase::OptionDataClass* record = Record(OptionType);
  ItemNum = 0;
  if (record) {
    record->Initialize();
    ItemNum = record->Num;
    for (int32_t i = 0; i < ItemNum; ++i) {
      auto* choice = kv::New<VidiSubMenuItem>();
      Add(choice);
      choice->OnSetBounds({0, 0, kChoiceWidth, kChoiceHeight});
      choice->OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::VidiItemFocus));
      choice->OnSetTextAlignH(1);
      choice->OnSetTextFont(Resources::LoadResource(Fonts::LargeFont));
      choice->OnFocus = kv::MakeSlot(static_cast<SubSystem::MenuClass*>(this), &SubSystem::MenuClass::DoFocus);
      choice->OnSetText(CourierCaption(record, i));
    }
    if (record->HasProperty()) record->Value = kv::OnGetInt32(record->RefValue);
    record->Val2Id();
    // Focusing the current choice applies it, which writes nothing since it is unchanged.
    MenuClass::OnSetCurrentItemIndex(record->Id + 1);
  }
  const int32_t n = ItemNum;
  const int32_t h = 2 * ItemYOffset + kChoiceHeight + (n - 1) * (ItemInterval + kChoiceHeight);
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x1 + 2 * ItemXOffset + kChoiceWidth, b.y1 + h});
  Refresh();
}

void VidiOptionMenu::ReInit() {
  MenuClass::ReInit();
  OptionDatabase::OptionDataClass* record = Record(OptionType);
  if (!record) return;
  const int32_t current = record->Id;
  for (int32_t i = 0; i < ItemNum; ++i)
    if (auto* choice = kv::Cast<VidiSubMenuItem>(Choice(i))) choice->OnSetText(CourierCaption(record, i));
  record->Id = current;
}

void VidiOptionMenu::Refresh() {
  MenuClass::Refresh();
  const kv::Rect b = Bounds();
  background_.OnSetBounds({0, 0, b.W(), b.H()});
  border_.OnSetBounds({0, 0, b.W(), b.H()});
}

void VidiOptionMenu::DoFocus(kv::Object* sender) {
  auto* choice = kv::Cast<Forms::Ctrl>(sender);
  if (!choice) return;
  const int32_t index = GetIndexOf(choice);
  if (OptionDatabase::OptionDataClass* record = Record(OptionType)) {
    record->Id = index;
    record->Id2Value();
    if (record->HasProperty() && kv::OnGetInt32(record->RefValue) != record->Value)
      kv::OnSetInt32(record->RefValue, record->Value);
  }
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_OPTION_CHANGE, this);
  Agent()->Dispatch(msg);
}

kv::Object* VidiOptionMenu::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    const int32_t n = ItemNum;
    auto* focus = kv::Cast<Forms::Ctrl>(OnGetFocus());
    const int32_t at = focus ? GetIndexOf(focus) : -1;
    switch (key->Code) {
      case KEY_DOWN:
      case KEY_UP: {
        ResetTimeout();
        if (n <= 0) return this;
        int32_t next = at < 0 ? 0 : at + (key->Code == KEY_DOWN ? 1 : -1);
        next = (next % n + n) % n;
        if (next != at)
          if (Forms::Ctrl* c = Choice(next)) OnSetFocus(c);
        return this;
      }
      case KEY_LEFT:
      case KEY_BACK: {
        ResetTimeout();
        auto* msg = kv::New<Structures::Message>();
        msg->Initialize(Constants::MSG_CHANGE_APPEARANCE, nullptr, Constants::APPEARANCE_FOCUS);
        Agent()->DispatchTo(msg, PrevState);
        return this;
      }
      default:
        break;
    }
  }
  return MenuClass::HandleEvent(event);
}

void VidiOptionMenu::HandleFocus(bool focused) {
  MenuClass::HandleFocus(focused);
  RefreshFocusedRow(this);
  if (!focused) return;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_UPDATE_MAIN_MENU_HELP, nullptr, HelpTypeUpDown);
  Agent()->DispatchTo(msg, &VidiMainMenu::StaticClass());
}

void VidiOptionMenu::DoTimeout(kv::Object*) {
  if (MenuController* owner = OwnerOf(this)) owner->TearDownMenus();
}

}  // namespace MenuSystem
