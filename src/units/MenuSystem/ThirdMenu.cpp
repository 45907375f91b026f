#include "units/MenuSystem/ThirdMenu.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "units/Agent/MessageAgent.h"
#include "units/Colors/Colors.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Fonts/Fonts.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/SettingPage.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/MenuSystemClass.h"
#include "units/SubSystem/SubSystemClass.h"
#include "units/SubSystem/State.h"
#include "units/WinIDs/WinIDs.h"

namespace MenuSystem {

using namespace keys;

KV_REGISTER_CLASS(MenuSystem::ThirdMenu);

namespace {

constexpr kv::Rect kRowsArea{18, 40, 508, 247};
constexpr int32_t kMenuLayer = 8;
// The black panel behind the rows reaches this far beyond their area.
constexpr int32_t kPanelRim = 2;

Agent::MessageAgent* Messages() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }

void Send(int32_t code, kv::Object* obj, int32_t param) {
  Agent::MessageAgent* agent = Messages();
  if (!agent) return;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, obj, param);
  agent->Dispatch(msg);
}

}  // namespace

ThirdMenu::ThirdMenu() {
  background_.OnSetColor(kv::Color::FromWord(0xF0201C1Au));
  black_.OnSetColor(kv::Color{0, 0, 0, 255});
  border_.OnSetWidth(1);
  border_.OnSetColor(Colors::DialogBorder);
  title_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  title_.OnSetAlignH(0);
  title_.OnSetAlignV(1);
  title_.OnSetColor(Colors::StandardTextColor);
  upArrow_.OnSetAutoSize(true);
  downArrow_.OnSetAutoSize(true);
  upArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::OptionButtonUpArrow));
  downArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::OptionButtonDownArrow));
  upArrow_.OnSetVisible(false);
  downArrow_.OnSetVisible(false);
  OnSetBounds({kPageX, 0, kPageX + kPageWidth, kPageHeight});
  AutoScroll = true;
  Layer = kMenuLayer;
  SubSystemClass = KV_LATE_CLASS("MenuSystem::MenuSystem");
  MenuLevel = 3;
  ArrangeMode = 2;
}

void ThirdMenu::OnSetCaption(const kv::String& caption) {
  caption_ = caption;
  title_.OnSetString(caption);
  InvalidateView();
}

void ThirdMenu::ReInit() {
  SubSystem::MenuClass::ReInit();
  if (CaptionId) OnSetCaption(kv::GetVariantOfString(*CaptionId));
}

int32_t ThirdMenu::RowCount() {
  int32_t n = 0;
  for (int32_t i = 0, c = GetChildCount(); i < c; ++i) n += kv::Cast<SubMenuItem>(GetChild(i)) != nullptr;
  return n;
}

SubMenuItem* ThirdMenu::Row(int32_t index) {
  int32_t n = 0;
  for (int32_t i = 0, c = GetChildCount(); i < c; ++i) {
    auto* row = kv::Cast<SubMenuItem>(GetChild(i));
    if (row && n++ == index) return row;
  }
  return nullptr;
}

SubMenuItem* ThirdMenu::RowOf(int32_t option) {
  for (int32_t i = 0, n = RowCount(); i < n; ++i) {
    if (Row(i)->OptionType == option) return Row(i);
  }
  return nullptr;
}

SubMenuItem* ThirdMenu::AddRow(SubMenuItem* row, const kv::MultiTextId* caption, int32_t option,
                               const kv::Class* target) {
  if (caption) row->OnSetText(kv::GetVariantOfString(*caption));
  row->OptionType = option;
  row->OnSetNextState(target);
  row->OnActivate = kv::MakeSlot(static_cast<SubSystem::MenuClass*>(this), &SubSystem::MenuClass::DoActivate);
  row->OnFocus = kv::MakeSlot(static_cast<SubSystem::MenuClass*>(this), &SubSystem::MenuClass::DoFocus);
  Add(row);
  ItemsNum = RowCount();
  PlaceRows();
  return row;
}

void ThirdMenu::RemoveRow(SubMenuItem* row) {
  if (!row || row->Owner() != this) return;
  Remove(row);
  ItemsNum = RowCount();
  PlaceRows();
}

void ThirdMenu::PlaceRows() {
  int32_t y = kRowsArea.y1 + HeaderHeight;
  for (int32_t i = 0, n = RowCount(); i < n; ++i) {
    SubMenuItem* row = Row(i);
    row->OnSetBounds({kRowsArea.x1, y, kRowsArea.x1 + kItemWidth, y + kItemHeight});
    row->Refresh();
    y += kItemHeight + ItemGap;
  }
}

kv::Rect ThirdMenu::GetPageArea() {
  // The black panel behind the rows ends 8 pixels above a short page's edge.
  return {kRowsArea.x1, kRowsArea.y1 + HeaderHeight, kRowsArea.x2, std::min(kRowsArea.y2, Bounds().H() - 8)};
}

int32_t ThirdMenu::RememberedIndex() { return MenuSystem ? MenuSystem->GetMenuIndex(MenuLevel) : 1; }

void ThirdMenu::Remember(int32_t index) {
  if (MenuSystem) MenuSystem->SetMenuIndex(MenuLevel, index);
}

void ThirdMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SubSystem::MenuClass::Initialize(param);
  if (param && !MenuSystem) MenuSystem = kv::Cast<SubSystem::MenuSystemClass>(param->Owner.get());
  PlaceRows();
  // The rows present decide the height and the focus, whatever count a
  // page set before some rows were taken out.
  const int32_t rows = RowCount();
  ItemsNum = rows;
  const kv::Rect b = Bounds();
  int32_t height = kPageHeight;
  if (rows < THIRD_MENU_ITEM_MAX_NUM) height -= (ItemGap + kItemHeight) * (THIRD_MENU_ITEM_MAX_NUM - rows);
  if (FixedHeight > 0) height = FixedHeight;
  OnSetBounds({b.x1, b.y1, b.x1 + b.W(), b.y1 + height});
  int32_t index = RememberedIndex();
  auto* ref = param ? kv::Cast<Structures::RefInt>(param->Param.get()) : nullptr;
  if (ref) index = ref->Value;
  // A remembered row beyond the rows present (read from the settings file,
  // or left by a longer page of the same level) counts as the first.
  if (index > rows) index = 1;
  if (index >= 1) FocusRowFrom(index, 1);
  // The focused row took the focus before the page opened, or keeps it.
  ShowFocusedHelp();
  LoadSettings();
  RefreshArrow();
  if (auto* user = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) {
    if (user->Code == Constants::MSG_FROM_QUICKMENU) QuickMenu = true;
    if (auto* key = kv::Cast<Core::KeyEvent>(user->Object.get())) HandleEvent(key);
  }
}

void ThirdMenu::FocusRowFrom(int32_t index, int32_t step) {
  const int32_t n = RowCount();
  for (int32_t i = 0; i < n; ++i) {
    const int32_t at = ((index - 1 + i * step) % n + n) % n + 1;
    if (SubMenuItem* row = Row(at - 1); row && row->CanFocus()) {
      OnSetCurrentItemIndex(at);
      return;
    }
  }
}

void ThirdMenu::LoadSettings() {
  for (int32_t i = 0, n = RowCount(); i < n; ++i) {
    SubMenuItem* row = Row(i);
    BindOption(row);
    const kv::Slot reset = kv::MakeSlot(this, &ThirdMenu::ResetTimeoutSlot);
    if (auto* value = kv::Cast<SubMenuItemValue>(row)) value->OnResetTimeout = reset;
    if (auto* adjust = kv::Cast<SubMenuItemAdjust>(row)) adjust->OnResetTimeout = reset;
  }
}

void ThirdMenu::RefreshArrow() {
  const int32_t n = RowCount();
  const bool up = n > 0 && Row(0)->Bounds().y1 < kRowsArea.y1 + HeaderHeight;
  const bool down = n > 0 && Row(n - 1)->Bounds().y2 > std::min(kRowsArea.y2, Bounds().H());
  if (upArrow_.IsVisible() != up) upArrow_.OnSetVisible(up);
  if (downArrow_.IsVisible() != down) downArrow_.OnSetVisible(down);
  // Both arrows stand in the margin between the rows' black panel and the
  // page's right border, centred across it: the up arrow level with the
  // first row, the down arrow level with the last row the page shows.
  const kv::Rect area = GetPageArea();
  const int32_t marginMid = (area.x2 + kPanelRim + Bounds().W() - 1) / 2;
  const kv::Rect u = upArrow_.Bounds();
  upArrow_.OnSetBounds(kv::Rect{0, 0, u.W(), u.H()}.MoveTo({marginMid - u.W() / 2, area.y1}));
  const kv::Rect d = downArrow_.Bounds();
  downArrow_.OnSetBounds(kv::Rect{0, 0, d.W(), d.H()}.MoveTo({marginMid - d.W() / 2, area.y2 - d.H()}));
  InvalidateView();
}

void ThirdMenu::UpdateHelp(int32_t mask, const kv::String& text) {
  // The first row takes the focus as the page is built, before it opens:
  // its keys go up when the page opens, as that page's own.
  if (!IsOpen() && SubSystem::OpeningScreen() != this) return;
  // The keys are this page's: a page is no screen of the widget manager, so
  // the focus would not name it, and the help bar must drop them when the
  // page goes.
  const SubSystem::OpeningScope asking(this);
  auto* s = kv::New<Structures::RefString>();
  s->Value = text;
  Send(Constants::MSG_UPDATE_HELP_BAR, s, mask);
}

void ThirdMenu::ShowFocusedHelp(kv::Object* /*sender*/) {
  if (SubMenuItem* row = Row(OnGetCurrentItemIndex() - 1)) DoFocus(row);
}

void ThirdMenu::DoFocus(kv::Object* sender) {
  if (auto* row = kv::Cast<SubMenuItem>(sender)) UpdateHelp(row->HelpMask, row->HelpString);
}

void ThirdMenu::GoBack() {
  // A page of the fourth level opened without the menu's column (by a
  // screen outside the menu) has no menu page to go back to: a page of the
  // third level stands only beside the column, which takes its keys. Back
  // closes it as it closes a shortcut, and the keys go back to the screen
  // under it. Back to the quick menu needs no column.
  const bool onItsOwn = MenuLevel == 4 && !QuickMenu && !WindowOpen(WinIDs::WIN_ID_MainMenu);
  if (MenuLevel != 3 && !IsShortcut && !onItsOwn) {
    if (MenuLevel < 4 || !MenuSystem || !ParentPage) return;
    SubSystem::MenuSystemClass* owner = MenuSystem.get();
    const kv::Class* parent = ParentPage;
    const bool quick = QuickMenu;
    Close();
    owner->SetMenuIndex(MenuLevel, 1);
    auto* state = kv::New<SubSystem::State>();
    state->Class = parent;
    if (quick) state->Param = SkinBin::UserRefInt::Make(0, Constants::MSG_FROM_QUICKMENU);
    owner->ChangeState(state);
    return;
  }
  SubSystem::MenuSystemClass* owner = MenuSystem.get();
  Close();
  if (owner) {
    owner->SetMenuIndex(MenuLevel, 1);
    Send(Constants::MSG_CLEAR_HELP_BAR, nullptr, -1);
  }
  if (QuickMenu && owner && ParentPage) {
    auto* state = kv::New<SubSystem::State>();
    state->Class = ParentPage;
    owner->ChangeState(state);
  } else {
    Send(Constants::MSG_CHANGE_APPEARANCE, nullptr, Constants::APPEARANCE_VISIBLE);
  }
}

kv::Object* ThirdMenu::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || key->Code > KEY_BACK) return nullptr;
  const int32_t n = RowCount();
  switch (key->Code) {
    case KEY_UP:
    case KEY_DOWN: {
      if (n > 0) {
        const int32_t at = OnGetCurrentItemIndex();
        int32_t next = key->Code == KEY_UP ? (at <= 1 ? n : at - 1) : (at >= n || at < 1 ? 1 : at + 1);
        FocusRowFrom(next, key->Code == KEY_UP ? -1 : 1);
      }
      RefreshArrow();
      break;
    }
    case KEY_OK:
    case KEY_LEFT:
    case KEY_RIGHT:
      break;
    case KEY_BACK:
      GoBack();
      break;
    default:
      return nullptr;
  }
  ResetTimeout();
  return this;
}

void ThirdMenu::DoActivate(kv::Object* sender) {
  auto* row = kv::Cast<SubMenuItem>(sender);
  if (!row || !row->OnGetNextState() || row->OnGetIsDisabled() || !MenuSystem) return;
  auto* ref = SkinBin::UserRefInt::Make(row->OptionType,
                                        QuickMenu ? Constants::MSG_FROM_QUICKMENU : Constants::MSG_FROM_MENUSYSTEM);
  if (auto* slider = kv::Cast<AdjustItemSlider>(row)) ref->Flag = slider->SliderMiddlePoint ? 1 : 0;
  auto* state = kv::New<SubSystem::State>();
  state->Class = row->OnGetNextState();
  state->PrevState = KvClass();
  state->Param = ref;
  SubSystem::MenuSystemClass* owner = MenuSystem.get();
  const int32_t index = OnGetCurrentItemIndex();
  Close();
  owner->SetMenuIndex(MenuLevel, index);
  owner->ChangeState(state);
}

void ThirdMenu::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  const kv::Rect b = Bounds();
  background_.OnSetBounds({0, 0, b.W(), b.H()});
  black_.OnSetBounds({kRowsArea.x1 - kPanelRim, kRowsArea.y1 - kPanelRim, kRowsArea.x2 + kPanelRim,
                      std::min(kRowsArea.y2, b.H() - 8) + kPanelRim});
  border_.OnSetBounds({0, 0, b.W(), b.H()});
  title_.OnSetBounds({18, 8, b.W() - 18, 36});
  const auto part = [&](Core::View& v) {
    if (!v.IsVisible()) return;
    const kv::Rect r = v.Bounds();
    const kv::Rect at{origin.x + r.x1, origin.y + r.y1, origin.x + r.x2, origin.y + r.y2};
    const kv::Rect c = at.Intersect(clip);
    if (!c.IsEmpty()) v.Draw(target, c, {at.x1, at.y1}, opacity);
  };
  part(background_);
  part(black_);
  part(border_);
  part(title_);
  // Rows scrolled past the rows' area are cut at its edges.
  const kv::Rect rows = GetPageArea();
  const kv::Rect rowsClip =
      clip.Intersect({origin.x + rows.x1, origin.y + rows.y1, origin.x + rows.x2, origin.y + rows.y2});
  if (!rowsClip.IsEmpty()) SubSystem::MenuClass::Draw(target, rowsClip, origin, opacity);
  part(upArrow_);
  part(downArrow_);
}

}  // namespace MenuSystem
