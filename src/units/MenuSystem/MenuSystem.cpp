#include "units/MenuSystem/MenuSystem.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/ref.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/MenuSystem.h"
#include "strings/SkinBinWrapper.h"
#include "units/Agent/EventAgent.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Events/StatusEvent.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/Events/XPM_EVENT_RATING_REGION_UPDATED.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/MenuSystem/OptionPopup.h"
#include "units/MenuSystem/ProductTree.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/MenuClass.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"

KV_REGISTER_CLASS(MenuSystem::MenuSystem);

namespace MenuSystem {

using namespace keys;

namespace {
constexpr uint32_t kMediaPlayerGroup = Constants::WIN_GROUP_MEDIAPLAYER << 24;

Agent::MessageAgent* Agent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }
WidgetManager::WidgetManager* Manager() {
  return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
}
SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)); }
PersistentData::PersistentData* Store() {
  return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
}
}  // namespace

MenuSystem::MenuSystem() { menuIndex_.fill(1); }

void MenuSystem::Initialize(Primitives::KeyRoutingParameter* param) {
  InitializeOnScreen(param);
  // Stored 0-based; a value out of range is caught where the column reads it.
  menuIndex_[0] = Store()->GetInteger(KEY_MENU_INDEX) + 1;
}

void MenuSystem::Close() { CloseOnScreen(); }

void MenuSystem::Remove(Core::View* view) {
  SubSystem::MenuSystemClass::Remove(view);
  // Those that follow the menu's pages (the help bar a setting page put up)
  // hear that one went.
  if (kv::Cast<SubSystem::MenuClass>(view)) kv::NotifyObjObservers(this, view);
  // Looked at once the pass is done: a page that closes to open another
  // (its parent, the next page of a wizard) leaves the menu empty only for
  // a moment.
  if (GetChildCount() == 0) kv::PostLateSignal(kv::MakeSlot(this, &MenuSystem::ReturnFocusWhenEmpty));
}

void MenuSystem::ReturnFocusWhenEmpty(kv::Object*) {
  if (GetChildCount() == 0) ReturnFocus();
}

void MenuSystem::TakeFocus() {
  if (Core::Group* owner = Owner()) owner->OnSetFocus(this);
}

void MenuSystem::ReturnFocus() {
  // Without a menu the keys belong to live TV again: its screens open into
  // the non-menu sub-system and get them only while it has the focus.
  Core::Group* owner = Owner();
  if (!owner || owner->OnGetFocus() != this) return;
  const kv::Class* live = KV_LATE_CLASS("NonMenuSystem::NonMenuSystem");
  for (int32_t i = 0; i < owner->GetChildCount(); ++i)
    if (live && owner->GetChild(i)->KvClass() == live) {
      owner->OnSetFocus(owner->GetChild(i));
      return;
    }
}

bool MenuSystem::IsMenuOpen() const {
  if (OnGetFocus()) return true;
  SubSystem::MenuClass* hidden = hiddenFocus_.get();
  return hidden && hidden->IsOpen();
}

void MenuSystem::HideForm(SubSystem::MenuClass* form) {
  if (!form) return;
  if (OnGetFocus() == form) hiddenFocus_ = form;
  form->OnSetVisible(false);
}

void MenuSystem::ShowForm(SubSystem::MenuClass* form) {
  if (!form) return;
  form->OnSetVisible(true);
  RestoreFocus();
}

bool MenuSystem::HiddenBehindScreen(const Primitives::KeyRoutingForm* form) const {
  if (!form || form->IsVisible() || form->Owner() != this) return false;
  const Core::Group* root = Owner();
  if (!root) return false;
  for (int32_t i = 0; i < root->GetChildCount(); ++i) {
    auto* group = kv::Cast<Primitives::KeyRoutingGroup>(root->GetChild(i));
    if (!group || group == this) continue;
    for (int32_t j = 0; j < group->GetChildCount(); ++j) {
      auto* screen = kv::Cast<Primitives::KeyRoutingForm>(group->GetChild(j));
      if (screen && screen->IsOpen() && screen->IsVisible() && screen->FocusOnOpen) return true;
    }
  }
  return false;
}

bool MenuSystem::ShowHiddenMenu(const SubSystem::State& state) {
  SubSystem::MenuClass* page = nullptr;
  bool hidden = false;
  for (int32_t i = 0; i < GetChildCount(); ++i) {
    auto* form = kv::Cast<SubSystem::MenuClass>(GetChild(i));
    if (!form || !form->IsOpen()) continue;
    if (!form->IsVisible()) hidden = true;
    if (form->KvClass() == state.Class) page = form;
  }
  if (!hidden) return false;
  // A screen going back (a change that names no opener) to a page that is
  // not the one it was opened from (a scan question the Setup page opened
  // names the Channels page): Back leads to the menu the viewer left, not
  // to a second page alone over the picture.
  if (!page && !state.PrevState) {
    SubSystem::MenuClass* held = hiddenFocus_.get();
    if (held && held->IsOpen()) page = held;
  }
  if (!page) return false;
  // Every hidden form of the menu shows itself again, as when a screen
  // hands the menu back; the page asked for gets the keys.
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CHANGE_APPEARANCE, nullptr, Constants::APPEARANCE_VISIBLE);
  Agent()->Dispatch(msg);
  ShowForm(page);
  hiddenFocus_ = nullptr;
  TakeFocus();
  OnSetFocus(page);
  RestartTimeOuts();
  return true;
}

void MenuSystem::RestoreFocus() {
  SubSystem::MenuClass* form = hiddenFocus_.get();
  if (!form) return;
  if (!form->IsOpen()) {
    hiddenFocus_ = nullptr;
    return;
  }
  if (!form->OnGetVisible()) return;
  hiddenFocus_ = nullptr;
  OnSetFocus(form);
  RestartTimeOuts();
}

void MenuSystem::SetMenuIndex(int32_t level, int32_t index) {
  if (level < 1 || level > kMenuLevels) return;
  menuIndex_[static_cast<size_t>(level - 1)] = index;
}

int32_t MenuSystem::GetMenuIndex(int32_t level) {
  if (level < 1 || level > kMenuLevels) return 1;
  return menuIndex_[static_cast<size_t>(level - 1)];
}

// --- Keys ---------------------------------------------------------------------------

kv::Object* MenuSystem::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    if (!key->Down) return KeyRoutingGroup::HandleEvent(event);
    SkinBin::Wrapper* skin = Skin();
    if (key->Code == KEY_MENU) {
      bool widgetEnded = false;
      if (skin && skin->IsYahoo()) {
        if (skin->GetYahooWidgetName() == kv::String(kv::LoadString(KEPT_WIDGET_NAME))) return this;
        skin->TerminateYahooApp();
        widgetEnded = true;
      }
      if (!widgetEnded) {
        if (Manager()->HasWidgetInGroup(kMediaPlayerGroup)) return nullptr;
        if (skin && skin->GetActiveNetAppStatus() && !skin->IsDemoFlash()) return nullptr;
      }
      auto* xpm = kv::Cast<Events::XPM_EVENT_KEY>(event);
      if (xpm && xpm->FromPanel == 1 && skin) {
        // The factory mode's caption, as the factory sub-system gives it to the Wrapper.
        if (skin->OnGetFactoryMode() == kv::String(kv::LoadString(SkinBinWrapper::FACTORY_MODE_CAPTION))) return nullptr;
        if (skin->GetKeyHeld(KEY_HELD_SERVICE)) return nullptr;
      }
      if (IsMenuOpen()) {
        ClearAll();
        return this;
      }
      ClearAll();
      auto* state = kv::New<SubSystem::State>();
      state->Class = &VidiMainMenu::StaticClass();
      TakeFocus();
      ChangeState(state);
      return this;
    }
    if (key->Code == KEY_EXIT_ALT || key->Code == KEY_EXIT) {
      if (!IsMenuOpen()) return nullptr;
      ClearAll();
      return this;
    }
    return KeyRoutingGroup::HandleEvent(event);
  }
  if (kv::Cast<Events::XPM_EVENT_RATING_REGION_UPDATED>(event)) {
    auto* agent = kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent);
    agent->InsertEvent(event);
    agent->ProcessEvents(this);
    return this;
  }
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) {
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_MM_STATUS_INFO, status, status->SubCode0);
    Agent()->Dispatch(msg);
    return this;
  }
  return KeyRoutingGroup::HandleEvent(event);
}

// --- Messages -----------------------------------------------------------------------

void MenuSystem::HandleMessage(Structures::Message* msg) {
  if (!msg) return;
  switch (msg->Code) {
    case Constants::MSG_CLEAR_ALL:
      if (IsMenuOpen()) TearDownMenus();
      break;
    case Constants::MSG_CHANGE_STATE: {
      auto* state = kv::Cast<SubSystem::State>(msg->ObjParam.get());
      if (!state) {
        Core::LogError("MenuSystem::MenuSystem: MSG_CHANGE_STATE without a state");
        break;
      }
      TakeFocus();
      if (ShowHiddenMenu(*state)) break;
      // A screen going back (a change that names no opener) to the page of
      // one of the column's entries with no menu open (a scan question
      // opened on its own, or from the Setup page): the menu opens as the
      // Menu key opens it, on that entry, and the page takes the keys,
      // rather than the page standing alone over the picture.
      if (!state->PrevState && !IsMenuOpen() && VidiMainMenu::IsEntryPage(state->Class)) {
        auto* column = kv::New<SubSystem::State>();
        column->Class = &VidiMainMenu::StaticClass();
        if (auto* menu = kv::Cast<VidiMainMenu>(ChangeState(column)); menu && menu->ShowEntryOf(state->Class))
          OnSetFocus(menu->OpenPage());
        break;
      }
      // A page opened from outside the menu takes the keys when no page of
      // the menu holds them: with nothing holding them it would stand on
      // screen with the keys going past it to live TV, and nothing could
      // close it; with the column holding them, the column's next move
      // would put another page in its place before the viewer could use it.
      if (auto* page = kv::Cast<SubSystem::MenuClass>(ChangeState(state));
          page && page->IsOpen() && page->OnGetVisible() &&
          (!OnGetFocus() || (kv::Cast<VidiSubMenu>(page) && kv::Cast<VidiMainMenu>(OnGetFocus()))))
        OnSetFocus(page);
      break;
    }
    case Constants::MSG_CHANGE_APPEARANCE:
      // Only with a menu form open here: otherwise the keys would leave live
      // TV for an empty menu (screens closing broadcast this to everyone).
      if (msg->IntParam == Constants::APPEARANCE_FOCUS && GetChildCount() > 0) TakeFocus();
      if (msg->IntParam == Constants::APPEARANCE_FOCUS || msg->IntParam == Constants::APPEARANCE_VISIBLE)
        RestoreFocus();
      break;
    default:
      break;
  }
}

// --- Opening pages ------------------------------------------------------------------

Primitives::KeyRoutingForm* MenuSystem::ChangeState(SubSystem::State* state) {
  // A class that does not exist yet opens nothing.
  if (!state || !state->Class) return nullptr;
  Primitives::KeyRoutingForm* form = SubSystemClass::ChangeState(state);
  if (!form || !form->SubSystemClass || !KvClass()->Is(form->SubSystemClass)) return form;
  auto* page = kv::Cast<SubSystem::MenuClass>(form);
  if (!page) return form;
  page->MenuSystem = this;
  if (auto* ref = kv::Cast<Structures::RefInt>(state->Param.get())) SetMenuIndex(page->MenuLevel, ref->Value);
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  param->Param = state->Param.get();
  {
    const SubSystem::OpeningScope opening(page);
    page->Initialize(param);
    page->Open();
  }
  const kv::Rect b = page->Bounds();
  // Pages stand beside the menu column; the product tree's carousels span
  // the screen like the top level.
  kv::Point at{160, 0};
  if (page->MenuLevel == 1 || kv::Cast<SecondaryMenu>(page))
    at = {0, 0};
  else if (kv::Cast<VidiOptionMenu>(page))
    at = {710, 95};
  page->OnSetBounds({at.x, at.y, at.x + b.W(), at.y + b.H()});
  if (page->FocusOnOpen && page->IsOpen()) OnSetFocus(page);
  return form;
}

Primitives::KeyRoutingForm* MenuSystem::OpenState(const kv::Class* cls, int32_t value, int32_t code,
                                                  const kv::Class* prev) {
  if (!cls) return nullptr;
  auto* state = kv::New<SubSystem::State>();
  state->Class = cls;
  state->Param = SkinBin::UserRefInt::Make(value, code);
  state->PrevState = prev;
  return ChangeState(state);
}

// --- Tearing down -------------------------------------------------------------------

void MenuSystem::TearDownMenus() {
  hiddenFocus_ = nullptr;
  OnSetFocus(nullptr);
  ReturnFocus();
  Manager()->CloseLayers(Constants::LAYER_MASK_MENU);
  // An acquisition kept back while the menu was open (a channel tuned from
  // a menu page) reaches live TV now: its banner shows over the picture.
  if (auto* agent = kv::GetAutoObject<Agent::EventAgent>(MainApp::EventAgent)) agent->PostProcessEvents();
  for (size_t i = 1; i < menuIndex_.size(); ++i) menuIndex_[i] = 1;
  PersistentData::PersistentData* store = Store();
  const int32_t level1 = GetMenuIndex(1) - 1;
  if (level1 != store->GetInteger(KEY_MENU_INDEX)) store->PutInteger(KEY_MENU_INDEX, level1);
  ClearHelpBar();
  if (SkinBin::Wrapper* skin = Skin()) {
    if (skin->OnGetTestPattern()) skin->OnSetTestPattern(0);
    if (skin->OnGetWB_WindowDisplay()) skin->OnSetWB_WindowDisplay(0);
    if (skin->GetRGBFilter() != kRGBFilterAll) skin->SetRGBFilter(kRGBFilterAll);
    skin->StartAutoDemoTimer(this);
  }
  if (Manager()->HasWidgetInGroup(kMediaPlayerGroup)) {
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_CHANGE_APPEARANCE, nullptr, Constants::APPEARANCE_FOCUS);
    Agent()->DispatchTo(msg, KV_LATE_CLASS("NonMenuSystem::NonMenuSystem"));
  }
}

void MenuSystem::ClearAll() {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CLEAR_ALL, nullptr);
  Agent()->Dispatch(msg);
}

void MenuSystem::ClearHelpBar() {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CLEAR_HELP_BAR, nullptr);
  Agent()->DispatchTo(msg, KV_LATE_CLASS("NonMenuSystem::NonMenuSystem"));
}

}  // namespace MenuSystem
