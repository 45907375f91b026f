#include "units/MenuSystem/SettingPage.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/MenuSystemItems.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ArrayInt.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/MenuSystemClass.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"

namespace MenuSystem {

KV_REGISTER_CLASS(MenuSystem::SettingPage);

SkinBin::Wrapper* SkinOf() { return NonMenuSystem::Live::Skin(); }
::Wrapper::Wrapper* BaseOf() { return NonMenuSystem::Live::Base(); }
const kv::Class* ConfirmDialog() { return KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog"); }
int32_t SourceType() { return NonMenuSystem::Live::CurrentSourceType(); }
bool NetAppActive() { return NonMenuSystem::Live::OtherNetAppActive(); }

bool WindowOpen(uint32_t winId) {
  auto* manager = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  return manager && manager->FindForm(winId) != nullptr;
}

void SendMessage(int32_t code, int32_t param, const kv::Class* target) {
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  if (!agent) return;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, nullptr, param);
  if (target)
    agent->DispatchTo(msg, target);
  else
    agent->Dispatch(msg);
}

namespace {

SubMenuItem* MakeRow(RowKind kind) {
  switch (kind) {
    case RowKind::Link: return kv::New<SubMenuItem>();
    case RowKind::Value: return kv::New<SubMenuItemValue>();
    case RowKind::Select: return kv::New<SubMenuItemValueSelect>();
    case RowKind::Slider: return kv::New<AdjustItemSlider>();
    case RowKind::SliderSelect: return kv::New<AdjustItemSliderSelect>();
    case RowKind::Arrow: return kv::New<AdjustItemArrow>();
    case RowKind::RGBOption: return kv::New<RGBFilterOptionItem>();
    case RowKind::RGBSlider: return kv::New<RGBFilterSliderItem>();
    case RowKind::BaseColor: return kv::New<BaseColorAdjustItem>();
    case RowKind::Timer: return kv::New<TimerSetItem>();
    case RowKind::Channel: return kv::New<ChannelSetItem>();
    case RowKind::TimerSource: return kv::New<TimerSourceItem>();
    case RowKind::Volume: return kv::New<VolumeSetItem>();
  }
  return kv::New<SubMenuItem>();
}

// The help text of a row in the menu's language, as the row's class gives
// it: rows with a value (choices, overlays, sliders, base colours) are
// edited, the others entered.
kv::String RowHelp(SubMenuItem* row) {
  if (kv::Cast<SubMenuItemValue>(row) || kv::Cast<SubMenuItemAdjust>(row) || kv::Cast<BaseColorAdjustItem>(row))
    return HelpText({&MenuSystemItems::SID_EDIT, &MenuSystemItems::SID_BACK});
  return HelpText({&MenuSystemItems::SID_ENTER, &MenuSystemItems::SID_BACK});
}

}  // namespace

void SettingPage::Build(const PageLayout& page) {
  layout_ = &page;
  WinID = page.winId;
  MenuLevel = page.level;
  ParentPage = page.parent ? page.parent() : nullptr;
  PrevState = ParentPage;
  ItemGap = page.itemGap;
  FixedHeight = page.fixedHeight;
  CaptionId = page.caption;
  if (page.caption) OnSetCaption(kv::GetVariantOfString(*page.caption));
  const kv::Slot changed = kv::MakeSlot(this, &SettingPage::RowChangedSlot);
  for (int32_t i = 0; i < page.rowCount; ++i) {
    const RowDef& r = page.rows[i];
    SubMenuItem* row = AddRow(MakeRow(r.kind), r.caption, r.option, r.target ? r.target() : nullptr);
    if (auto* slider = kv::Cast<AdjustItemSlider>(row)) slider->OnSetSliderMiddlePoint(!r.noMark);
    if (auto* select = kv::Cast<SubMenuItemValueSelect>(row)) select->OnValueChanged = changed;
    if (auto* select = kv::Cast<AdjustItemSliderSelect>(row)) select->OnValueChanged = changed;
    if (auto* select = kv::Cast<AdjustItemArrowSelect>(row)) select->OnValueChanged = changed;
    rows_.push_back(row);
  }
  if (Row(0)) OnSetCurrentItemIndex(1);
}

void SettingPage::Initialize(Primitives::KeyRoutingParameter* param) {
  // A deeper page whose parent page does not exist yet goes back as a
  // shortcut does (closing the menu) rather than staying on screen.
  if (MenuLevel >= 4 && !ParentPage) IsShortcut = true;
  ThirdMenu::Initialize(param);
  RefreshGrayout();
}

void SettingPage::ReInit() {
  ThirdMenu::ReInit();
  if (!layout_) return;
  for (int32_t i = 0; i < layout_->rowCount && i < static_cast<int32_t>(rows_.size()); ++i) {
    SubMenuItem* row = rows_[static_cast<size_t>(i)];
    if (layout_->rows[i].caption) row->OnSetText(kv::GetVariantOfString(*layout_->rows[i].caption));
    row->HelpString = RowHelp(row);
  }
  if (IsOpen()) {
    LoadSettings();
    RefreshGrayout();
    // The help bar shows the focused row's help in the new language, once
    // every object has re-initialised (the bar puts its default text back).
    kv::PostSignal(kv::MakeSlot(static_cast<ThirdMenu*>(this), &ThirdMenu::ShowFocusedHelp));
  }
}

void SettingPage::Close() { ThirdMenu::Close(); }

void SettingPage::Grey(int32_t i, bool disabled) {
  SubMenuItem* row = R(i);
  if (row && row->OnGetIsDisabled() != disabled) row->OnSetIsDisabled(disabled);
}

void SettingPage::Drop(int32_t i) { RemoveRow(R(i)); }

void SettingPage::RowChanged(SubMenuItem* /*row*/) { RefreshGrayout(); }

void SettingPage::RowChangedSlot(kv::Object* sender) {
  ResetTimeout();
  if (auto* row = kv::Cast<SubMenuItem>(sender)) RowChanged(row);
}

void SettingPage::OpenSubPage(const kv::Class* target) {
  if (!target || !MenuSystem) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = target;
  state->PrevState = KvClass();
  state->Param =
      SkinBin::UserRefInt::Make(0, QuickMenu ? Constants::MSG_FROM_QUICKMENU : Constants::MSG_FROM_MENUSYSTEM);
  SubSystem::MenuSystemClass* owner = MenuSystem.get();
  const int32_t index = OnGetCurrentItemIndex();
  Close();
  owner->SetMenuIndex(MenuLevel, index);
  owner->ChangeState(state);
}

}  // namespace MenuSystem
