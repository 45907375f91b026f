#include "units/MenuSystem/LiveMenu.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/MenuSystem.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/MenuBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/MenuSystem/FocusLook.h"
#include "units/MenuSystem/LiveMenuPages.h"
#include "units/MenuSystem/MenuSystem.h"
#include "units/MenuSystem/OptionPopup.h"
#include "units/MenuSystem/PinMenus.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(MenuSystem::VidiMainMenuItem);
KV_REGISTER_CLASS(MenuSystem::VidiSubMenuItem);
KV_REGISTER_CLASS(MenuSystem::VidiMainMenu);
KV_REGISTER_CLASS(MenuSystem::VidiSubMenu);

namespace MenuSystem {

using namespace keys;

namespace {

// Top-left corners of the slots -1 to 6.
constexpr int32_t kMainSlotY[] = {-70, 15, 100, 185, 270, 355, 440, 540};
constexpr int32_t kPageSlotY[] = {30, 100, 170, 215, 260, 305, 350, 395};
constexpr kv::Point kMainItemSize{100, 70};
constexpr kv::Point kPageItemSize{530, 70};

Agent::MessageAgent* Agent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }
::Wrapper::Wrapper* Base() { return kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper); }
SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(Base()); }

OptionDatabase::OptionDataClass* Record(int32_t option) {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  return db && option ? db->GetOptionData(option) : nullptr;
}

void SendToColumn(int32_t code, kv::Object* obj, int32_t value) {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, obj, value);
  Agent()->DispatchTo(msg, &VidiMainMenu::StaticClass());
}

int32_t Wrap(int32_t v, int32_t n) { return n <= 0 ? 0 : ((v % n) + n) % n; }

// MSG_CHANGE_APPEARANCE 3 (focus back inside the menu), 2 (hide), 1 (show);
// false for other values.
bool Appearance(SubSystem::MenuClass* form, int32_t value) {
  switch (value) {
    case Constants::APPEARANCE_FOCUS:
      if (MenuController* owner = OwnerOf(form)) {
        owner->OnSetFocus(form);
        if (Core::Group* app = owner->Owner()) app->OnSetFocus(owner);
      }
      return true;
    case Constants::APPEARANCE_INVISIBLE:
      if (MenuController* owner = OwnerOf(form))
        owner->HideForm(form);
      else
        form->OnSetVisible(false);
      return true;
    case Constants::APPEARANCE_VISIBLE:
      if (MenuController* owner = OwnerOf(form))
        owner->ShowForm(form);
      else
        form->OnSetVisible(true);
      return true;
    default:
      return false;
  }
}

kv::Rect SlotRect(bool main, int32_t slot) {
  const int32_t i = std::clamp(slot, -1, 6) + 1;
  if (main) return {60, kMainSlotY[i], 60 + kMainItemSize.x, kMainSlotY[i] + kMainItemSize.y};
  return {20, kPageSlotY[i], 20 + kPageItemSize.x, kPageSlotY[i] + kPageItemSize.y};
}
}  // namespace

MenuController* OwnerOf(SubSystem::MenuClass* page) { return page ? kv::Cast<MenuController>(page->MenuSystem.get()) : nullptr; }

// --- The carousel shared by the column and the pages ---------------------------------
//
// The column shows the focused entry in slot 1 (offset -1), a page its
// focused item in slot 0 (offset 0).

struct LiveCarousel {
  template <class Menu>
  static int32_t Count(const Menu& m) {
    return std::clamp(m.ItemsNum, 0, static_cast<int32_t>(m.items_.size()));
  }

  template <class Menu>
  static int32_t SlotToItem(const Menu& m, int32_t slot, int32_t offset) {
    const int32_t n = Count(m);
    if (n == 0) return -1;
    int32_t c = m.CurrentItemIndex > 0 ? m.CurrentItemIndex - 1 : 0;
    if (c >= n) c = 0;
    return Wrap(slot - m.FirstSlot + offset + c, n);
  }

  template <class Menu>
  static auto* ItemAt(const Menu& m, int32_t slot, int32_t offset) {
    const int32_t i = SlotToItem(m, slot, offset);
    return i < 0 ? nullptr : m.items_.at(static_cast<size_t>(i));
  }

  // Visible slots := the item count when all fit (the spare goes on top),
  // else the spare is not needed.
  template <class Menu>
  static void FitSlots(Menu& m) {
    const int32_t n = Count(m);
    if (m.VisibleSlots >= n) {
      m.VisibleSlots = n;
      if (m.spare_) m.RestackTop(m.spare_.get());
    } else if (m.spare_) {
      if (m.spare_->Owner() == &m) m.Remove(m.spare_.get());
      m.spare_ = nullptr;
    }
  }

  template <class Menu>
  static void MakeEffects(Menu& m) {
    for (size_t i = 0; i < m.effects_.size(); ++i) m.effects_[i]->OnSetEnabled(false);
    m.effects_.clear();
    for (int32_t s = 0; s <= m.VisibleSlots; ++s) {
      auto* e = kv::New<SkinBin::MenuEffect>();
      e->OnSetBegin(0);
      e->OnSetPeriod(kMovePeriod);
      e->OnSetFactor(2);
      e->OnSetNoOfFrames(kMoveFrames);
      m.effects_.push_back(e);
    }
  }

  // Every item hidden, then the items of the visible slots placed, opaque.
  template <class Menu>
  static void Place(Menu& m, bool main, int32_t offset) {
    for (size_t i = 0; i < m.items_.size(); ++i) m.items_[i]->OnSetVisible(false);
    if (m.spare_) m.spare_->OnSetVisible(false);
    for (int32_t s = 0; s < m.VisibleSlots; ++s) {
      auto* item = ItemAt(m, s, offset);
      if (!item) continue;
      item->OnSetBounds(SlotRect(main, s));
      item->OnSetOpacity(255);
      item->OnSetVisible(true);
    }
  }

  template <class Menu>
  static void Bind(Menu& m, SkinBin::MenuEffect* e, Core::View* item, kv::Rect from, kv::Rect to) {
    e->OnSetEnabled(false);
    e->OnSetStartRect(from);
    e->OnSetEndRect(to);
    e->OnSetOutlet(kv::MakeRef<kv::Rect>(item, &Core::View::OnGetBounds, &Core::View::OnSetBounds));
    (void)m;
  }

  template <class Menu, class Item>
  static void StartMove(Menu& m, bool main, int32_t offset, void (*copy)(Item* spare, Item* from)) {
    const int32_t n = Count(m);
    const bool up = m.MoveDirection == KEY_UP;
    const int32_t step = up ? 1 : -1;
    for (int32_t s = 0; s < m.VisibleSlots; ++s) {
      Item* item = ItemAt(m, s, offset);
      Bind(m, m.effects_[static_cast<size_t>(s)], item, SlotRect(main, s), SlotRect(main, s + step));
      m.effects_[static_cast<size_t>(s)]->OnAnimate = kv::Slot();
      m.effects_[static_cast<size_t>(s)]->OnFinished = kv::Slot();
    }
    Item* entering = nullptr;
    const int32_t from = up ? -1 : m.VisibleSlots;
    const int32_t into = up ? 0 : m.VisibleSlots - 1;
    if (n > m.VisibleSlots) {
      entering = ItemAt(m, from, offset);
    } else if (m.spare_) {
      // Every item is visible: the spare plays the one that leaves at the other end.
      entering = m.spare_.get();
      copy(entering, ItemAt(m, up ? m.VisibleSlots - 1 : 0, offset));
    }
    m.leaving_ = ItemAt(m, up ? m.VisibleSlots - 1 : 0, offset);
    m.entering_ = entering;
    SkinBin::MenuEffect* trigger = m.effects_[static_cast<size_t>(m.VisibleSlots)];
    if (entering) {
      Bind(m, trigger, entering, SlotRect(main, from), SlotRect(main, into));
      entering->OnSetBounds(SlotRect(main, from));
      entering->OnSetOpacity(0);
      entering->OnSetVisible(true);
    } else {
      trigger->OnSetOutlet(Effects::RefRect());
    }
    trigger->OnAnimate = kv::MakeSlot(&m, &Menu::MoveTriggerSlot);
    trigger->OnFinished = kv::MakeSlot(&m, &Menu::MoveEndSlot);
    m.FrameCounter = 0;
    m.OnSetAnimating(true);
    for (size_t i = 0; i < m.effects_.size(); ++i) m.effects_[i]->OnSetEnabled(true);
  }

  template <class Menu>
  static void Frame(Menu& m) {
    ++m.FrameCounter;
    if (m.entering_) m.entering_->OnSetOpacity(std::clamp(15 + 40 * m.FrameCounter, 0, 255));
    if (m.leaving_ && m.leaving_.get() != m.entering_.get())
      m.leaving_->OnSetOpacity(std::clamp(255 - 40 * m.FrameCounter, 0, 255));
  }

  template <class Menu>
  static void End(Menu& m, bool main, int32_t offset) {
    m.OnSetAnimating(false);
    for (size_t i = 0; i < m.effects_.size(); ++i) m.effects_[i]->OnSetEnabled(false);
    const int32_t n = Count(m);
    int32_t idx = m.CurrentItemIndex;
    if (m.MoveDirection == KEY_UP) {
      idx = idx - 1 < 1 ? n : idx - 1;
    } else {
      idx = idx + 1 > n ? 1 : idx + 1;
    }
    m.CurrentItemIndex = idx;
    m.entering_ = nullptr;
    m.leaving_ = nullptr;
    Place(m, main, offset);
    m.ApplyCurrentItemIndex();
    m.LastItemIndex = idx;
  }

  template <class Menu>
  static void Focus(Menu& m) {
    const int32_t n = Count(m);
    if (m.CurrentItemIndex >= 1 && m.CurrentItemIndex <= n)
      m.OnSetFocus(m.items_.at(static_cast<size_t>(m.CurrentItemIndex - 1)));
  }

  template <class Menu>
  static void SetAnimating(Menu& m, bool on) {
    if (m.Animating == on) return;
    m.Animating = on;
    if (on)
      Base()->StartAnimation();
    else
      Base()->StopAnimation();
  }
};

// --- VidiMainMenuItem ----------------------------------------------------------------

VidiMainMenuItem::VidiMainMenuItem() {
  OnSetIsDefault(true);
  OnSetBounds({0, 0, kMainItemSize.x, kMainItemSize.y});
  OnSetTextFont(Resources::LoadResource(Fonts::BannerDescription));
  OnSetTextColor(Colors::White);
  OnSetTextAlignH(1);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::VidiItemFocus));
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::VidiItemNonfocus));
  OnSetDisabled_BackgroundBitmap(Resources::LoadResource(Bitmaps::VidiItemDisabled));
  image_.OnSetAlignH(1);
  image_.OnSetAlignV(1);
  image_.OnSetFrameDelay(kMovePeriod);
  OnSetAnimationEndless(false);
}

void VidiMainMenuItem::OnSetIconBitmap(Resources::Bitmap* bitmap) {
  image_.OnSetBitmap(bitmap);
  image_.OnSetFrameNumber(OnGetCtrlState() >= ::Button::kStateNonfocused ? 7 : 0);
  InvalidateView();
}

void VidiMainMenuItem::OnSetAnimationEndless(bool endless) {
  AnimationEndless = endless;
  image_.OnSetEndless(endless);
  image_.OnFinished = endless ? kv::Slot() : kv::MakeSlot(this, &VidiMainMenuItem::StopAnimation);
}

void VidiMainMenuItem::OnSetOpacity(int32_t opacity) {
  opacity = std::clamp(opacity, 0, 255);
  if (opacity == Opacity) return;
  Opacity = opacity;
  InvalidateView();
}

kv::Object* VidiMainMenuItem::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == KEY_RIGHT && OnActivate) {
    kv::Signal(OnActivate, this);
    return this;
  }
  return IconButton::HandleEvent(event);
}

void VidiMainMenuItem::HandleFocus(bool focused) {
  IconButton::HandleFocus(focused);
  // A form opening is not yet in the menu when its row takes the focus: the
  // look is settled at the end of the pass.
  PostRefreshCtrlState();
  if (focused) {
    image_.OnSetFrameNumber(0);
    image_.OnSetStartFrame(0);
    image_.OnSetEndFrame(7);
    image_.OnSetAnimated(true);
    stopped_ = false;
    Base()->StartAnimation();
  } else if (!stopped_) {
    StopAnimation();
  }
}

void VidiMainMenuItem::StopAnimation(kv::Object*) {
  image_.OnSetFrameNumber(7);
  if (stopped_) return;
  stopped_ = true;
  image_.OnSetAnimated(false);
  Base()->StopAnimation();
}

int32_t VidiMainMenuItem::GetCtrlState() {
  return ShownState(*this, IconButton::GetCtrlState());
}

void VidiMainMenuItem::RefreshCtrlState(int32_t state) {
  IconButton::RefreshCtrlState(state);
  if (stopped_) image_.OnSetFrameNumber(state <= ::Button::kStateDefault ? 0 : 7);
}

void VidiMainMenuItem::Refresh() {
  IconButton::Refresh();
  const kv::Rect b = Bounds();
  image_.OnSetBounds({0, 2, b.W(), b.H() - 18});
  TextView().OnSetBounds({0, b.H() - 20, b.W(), b.H() - 2});
}

void VidiMainMenuItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  const int32_t o = opacity * Opacity / 255;
  if (o <= 0) return;
  IconButton::Draw(target, clip, origin, o);
  DrawPart(image_, target, clip, origin, o);
}

// --- VidiSubMenuItem -----------------------------------------------------------------

VidiSubMenuItem::VidiSubMenuItem() {
  OnSetBounds({0, 0, kPageItemSize.x, kPageItemSize.y});
  OnSetTextFont(Resources::LoadResource(Fonts::EPGListFont));
  OnSetTextColor(Colors::White);
  // The bar drawn at the row's size: stretched, its rim would widen under
  // the label's first letter.
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::VidiRowFocus));
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::VidiItemNonfocus));
  OnSetDisabled_BackgroundBitmap(Resources::LoadResource(Bitmaps::VidiItemDisabled));
  // A caption too wide for the item (a pop-up choice in the large font) ends in "...".
  TextView().OnSetEllipsis(true);
  value_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  value_.OnSetColor(Colors::White);
  value_.OnSetAlignV(1);
  value_.OnSetVisible(false);
  slider_.OnSetBgImageBitmap(Resources::LoadResource(Bitmaps::SliderGroove));
  slider_.OnSetIndicatorImageBitmap(Resources::LoadResource(Bitmaps::SliderIndicatorRed));
  slider_.OnSetStretchIndicator(1);
  slider_.OnSetVisible(false);
  slider_.OnValueChanged = kv::MakeSlot(this, &VidiSubMenuItem::DoValueChanged);
  arrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::SubMenuRightArrow));
  arrow_.OnSetAutoSize(true);
  arrow_.OnSetVisible(false);
  swatch_.OnSetVisible(false);
  Refresh();
}

void VidiSubMenuItem::SetCaptionId(const kv::MultiTextId* id) {
  captionId_ = id;
  if (id) OnSetText(kv::GetVariantOfString(*id));
}

void VidiSubMenuItem::ReInit() {
  IconButton::ReInit();
  if (captionId_) OnSetText(kv::GetVariantOfString(*captionId_));
}

void VidiSubMenuItem::OnSetIsItemValue(bool on) {
  IsItemValue = on;
  PostRefreshCtrlState();
  Refresh();
}
void VidiSubMenuItem::OnSetIsSlider(bool on) {
  IsSlider = on;
  if (IsSlider && IsSelect) HelpType = HelpTypeLeftRight;
  Refresh();
}
void VidiSubMenuItem::OnSetIsSelect(bool on) {
  IsSelect = on;
  if (IsSlider && IsSelect) HelpType = HelpTypeLeftRight;
}
void VidiSubMenuItem::OnSetIsColor(bool on) {
  IsColor = on;
  Refresh();
}
void VidiSubMenuItem::OnSetColor(kv::Color color) {
  Color = color;
  swatch_.OnSetColor(color);
  InvalidateView();
}
void VidiSubMenuItem::OnSetCaptionGap(int32_t gap) {
  CaptionGap = gap;
  Refresh();
}
void VidiSubMenuItem::OnSetValueString(const kv::String& text) {
  ValueString = text;
  value_.OnSetString(text);
  InvalidateView();
}
void VidiSubMenuItem::OnSetOpacity(int32_t opacity) {
  opacity = std::clamp(opacity, 0, 255);
  if (opacity == Opacity) return;
  Opacity = opacity;
  InvalidateView();
}

void VidiSubMenuItem::OnSetValue(int32_t v) {
  Value = v;
  CurrentValue = v;
  const kv::Slot keep = slider_.OnValueChanged;
  slider_.OnValueChanged = kv::Slot();
  slider_.OnSetValue(v);
  slider_.OnValueChanged = keep;
  OnSetValueString(kv::NewStringInt(v, 0));
}

void VidiSubMenuItem::DoValueChanged(kv::Object*) {
  const int32_t v = slider_.OnGetValue();
  OnSetValueString(kv::NewStringInt(v, 0));
  Value = v;
  CurrentValue = v;
  if (OptionDatabase::OptionDataClass* record = Record(OptionType)) {
    record->Id = v;
    record->Id2Value();
    if (record->HasProperty()) kv::OnSetInt32(record->RefValue, record->Value);
  }
  kv::Signal(OnResetTimeout, this);
  kv::Signal(OnValueChanged, this);
}

kv::Object* VidiSubMenuItem::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    if (key->Code == KEY_RIGHT && IsItemValue && OnActivate) {
      kv::Signal(OnActivate, this);
      return this;
    }
    if (IsSlider && IsSelect && !OnGetIsDisabled() && (key->Code == KEY_LEFT || key->Code == KEY_RIGHT)) {
      const int32_t step = std::max(1, Step);
      const int32_t before = slider_.OnGetValue();
      slider_.OnSetValue(before + (key->Code == KEY_RIGHT ? step : -step));
      if (slider_.OnGetValue() != before) DoValueChanged();
      return this;
    }
  }
  return IconButton::HandleEvent(event);
}

void VidiSubMenuItem::HandleFocus(bool focused) {
  IconButton::HandleFocus(focused);
  PostRefreshCtrlState();
  arrow_.OnSetVisible(focused && IsItemValue);
  InvalidateView();
}

int32_t VidiSubMenuItem::GetCtrlState() {
  return ShownState(*this, IconButton::GetCtrlState());
}

void VidiSubMenuItem::RefreshCtrlState(int32_t state) {
  IconButton::RefreshCtrlState(state);
  if (state == ::Button::kStateFocused && OnGetIsDisabled()) TextView().OnSetColor(Colors::FocusDisableTextColor);
  value_.OnSetColor(TextView().OnGetColor());
}

void VidiSubMenuItem::Refresh() {
  IconButton::Refresh();
  const kv::Rect b = Bounds();
  const int32_t h = b.H();
  const int32_t captionEnd = IsSlider ? 246 : (IsItemValue || IsColor) ? 300 : b.W();
  TextView().OnSetBounds({CaptionGap, 0, captionEnd, h});
  value_.OnSetVisible(IsItemValue || IsSlider);
  if (IsSlider) {
    value_.OnSetBounds({439, 0, b.W() - 24, h});
    slider_.OnSetBounds({246, (h - 16) / 2, 246 + 180, (h - 16) / 2 + 16});
  } else {
    value_.OnSetBounds({300, 0, b.W() - 28, h});
  }
  slider_.OnSetVisible(IsSlider);
  swatch_.OnSetVisible(IsColor);
  swatch_.OnSetBounds({300, (h - 30) / 2, 360, (h - 30) / 2 + 30});
  const kv::Rect a = arrow_.Bounds();
  arrow_.OnSetBounds({506, (h - a.H()) / 2, 506 + a.W(), (h - a.H()) / 2 + a.H()});
  InvalidateView();
}

void VidiSubMenuItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  const int32_t o = opacity * Opacity / 255;
  if (o <= 0) return;
  IconButton::Draw(target, clip, origin, o);
  DrawPart(value_, target, clip, origin, o);
  DrawPart(slider_, target, clip, origin, o);
  DrawPart(swatch_, target, clip, origin, o);
  DrawPart(arrow_, target, clip, origin, o);
}

// --- VidiMainMenu --------------------------------------------------------------------

namespace {
struct EntryDef {
  const kv::MultiTextId* caption;
  const Resources::BitmapId* icon;
  const char* target;
};
const EntryDef kEntries[] = {
    {&Strings::MainMenuPicture, &Bitmaps::VidiMenuPicture, "MenuSystem::VidiPictureMenu"},
    {&Strings::SID_AUDIO, &Bitmaps::VidiMenuAudio, "MenuSystem::VidiAudioMenu"},
    {&Strings::SID_CHANNEL, &Bitmaps::VidiMenuChannels, "MenuSystem::VidiChannelsMenu"},
    {&Strings::SID_SETTINGS, &Bitmaps::VidiMenuSettings, "MenuSystem::VidiSettingsMenu"},
    {&Strings::MainMenuLocks, &Bitmaps::VidiMenuLocks, nullptr},
    {&MEDIA_CAPTION, &Bitmaps::VidiMenuMedia, "MenuSystem::VidiMediaMenu"},
    {&RECORD_CAPTION, &Bitmaps::VidiMenuRecord, "MenuSystem::VidiRecordMenu"},
};
constexpr int32_t kLocksEntry = 4;

void CopyEntry(VidiMainMenuItem* spare, VidiMainMenuItem* from) {
  if (!spare || !from) return;
  spare->OnSetText(from->OnGetText());
  spare->OnSetIconBitmap(from->OnGetIconBitmap());
}

void SetupText(Views::Text& t, kv::Rect r, kv::Color c) {
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(c);
  t.OnSetAlignV(1);
  t.OnSetBounds(r);
}
}  // namespace

VidiMainMenu::VidiMainMenu() {
  WinID = WinIDs::WIN_ID_MainMenu;
  Layer = 2;
  MenuLevel = 1;
  ArrangeMode = 2;
  SubSystemClass = &MenuController::StaticClass();
  OnSetBounds({0, 0, 710, 540});
  shade_.OnSetColor({0, 0, 0, 160});
  shade_.OnSetBounds({0, 0, 710, 540});
  Add(&shade_);
  background_.OnSetBitmap(Resources::LoadResource(Bitmaps::VidiMainMenuBg));
  background_.OnSetBounds({0, 0, 710, 540});
  Add(&background_);
  for (const EntryDef& e : kEntries) {
    auto* item = kv::New<VidiMainMenuItem>();
    item->Position = static_cast<int32_t>(items_.size());
    item->OnSetText(kv::GetVariantOfString(*e.caption));
    item->OnSetIconBitmap(Resources::LoadResource(*e.icon));
    if (e.target) item->NextState = kv::FindClass(e.target);
    item->OnActivate = kv::MakeSlot(static_cast<SubSystem::MenuClass*>(this), &SubSystem::MenuClass::DoActivate);
    item->OnFocus = kv::MakeSlot(static_cast<SubSystem::MenuClass*>(this), &SubSystem::MenuClass::DoFocus);
    items_.push_back(item);
    Add(item);
  }
  locks_ = items_.at(kLocksEntry);
  ItemsNum = static_cast<int32_t>(items_.size());
  auto* spare = kv::New<VidiMainMenuItem>();
  spare->OnSetVisible(false);
  spare->OnSetEnabled(false);
  spare_ = spare;
  Add(spare);
  helpIcon_.OnSetAutoSize(true);
  helpIcon_.OnSetBounds({210, 470, 252, 504});
  Add(&helpIcon_);
  SetupText(helpText_, {260, 480, 338, 500}, Colors::White);
  helpText_.OnSetAutoSize(true);
  Add(&helpText_);
  returnIcon_.OnSetBitmap(Resources::LoadResource(Bitmaps::MenuHelpReturn));
  returnIcon_.OnSetBounds({379, 473, 421, 507});
  Add(&returnIcon_);
  SetupText(returnText_, {430, 480, 530, 500}, Colors::White);
  Add(&returnText_);
  exitIcon_.OnSetBitmap(Resources::LoadResource(Bitmaps::MenuHelpExit));
  exitIcon_.OnSetBounds({560, 470, 600, 510});
  Add(&exitIcon_);
  SetupText(exitText_, {610, 480, 710, 500}, Colors::White);
  Add(&exitText_);
  ReInit();
  UpdateHelp(HelpTypeEnter);
}

void VidiMainMenu::ReInit() {
  MenuClass::ReInit();
  // An entry's Position is its place in the full column (the Locks entry may be gone).
  for (size_t i = 0; i < items_.size(); ++i) {
    const auto k = static_cast<size_t>(items_[i]->Position);
    if (k < std::size(kEntries)) items_[i]->OnSetText(kv::GetVariantOfString(*kEntries[k].caption));
  }
  helpText_.OnSetString(kv::GetVariantOfString(HELP_SELECT));
  returnText_.OnSetString(kv::GetVariantOfString(HELP_RETURN));
  exitText_.OnSetString(kv::GetVariantOfString(HELP_EXIT));
}

VidiSubMenu* VidiMainMenu::OpenPage() const {
  VidiSubMenu* page = openPage_.get();
  return page && page->IsOpen() ? page : nullptr;
}

bool VidiMainMenu::IsEntryPage(const kv::Class* page) {
  if (!page) return false;
  for (const EntryDef& e : kEntries)
    if (e.target && std::string_view(page->name) == e.target) return true;
  return false;
}

bool VidiMainMenu::ShowEntryOf(const kv::Class* page) {
  for (int32_t i = 0; i < EntryCount(); ++i) {
    if (items_[static_cast<size_t>(i)]->NextState != page) continue;
    if (CurrentItemIndex != i + 1) {
      CloseSecondaryMenu();
      CurrentItemIndex = i + 1;
      FirstSlot = 0;
      LiveCarousel::Place(*this, true, -1);
      ApplyCurrentItemIndex();
    }
    if (!OpenPage()) LaunchSecondaryMenu();
    return OpenPage() && OpenPage()->KvClass() == page;
  }
  return false;
}

int32_t VidiMainMenu::PositionIndexToItemIndex(int32_t slot) const { return LiveCarousel::SlotToItem(*this, slot, -1); }

void VidiMainMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  MenuController* owner = param ? kv::Cast<MenuController>(param->Owner.get()) : nullptr;
  if (owner) MenuSystem = owner;
  CurrentItemIndex = MenuSystem ? MenuSystem->GetMenuIndex(1) : 1;
  SkinBin::Wrapper* skin = Skin();
  const auto busy = [](int32_t s) { return s == Constants::XPM_TV_STATE_PAUSE_LIVE_TV || s == Constants::XPM_TV_STATE_RECORDING_LIVE_TV; };
  if (skin && (busy(skin->GetLiveTVState(0)) || busy(skin->GetLiveTVState(1)))) {
    if (VidiMainMenuItem* locks = locks_.get()) {
      items_.Remove(locks);
      if (locks->Owner() == this) Remove(locks);
      --ItemsNum;
    }
  } else if (VidiMainMenuItem* locks = locks_.get()) {
    const bool pin = skin && skin->IsPinExisting();
    locks->NextState = pin ? &EnterPinMenu::StaticClass() : &ChangePinMenu::StaticClass();
    locks->OptionType = pin ? ENTER_PIN_PARENTAL_LOCK : CHANGE_PIN_PASSWORD;
  }
  // A remembered index past the entries (a smaller column, a damaged
  // settings file) starts on the first entry; 0 or below focuses nothing.
  if (CurrentItemIndex > ItemsNum) CurrentItemIndex = 1;
  MenuClass::Initialize(param);
  LiveCarousel::FitSlots(*this);
  FirstSlot = 0;
  LiveCarousel::MakeEffects(*this);
  LiveCarousel::Place(*this, true, -1);
  Agent()->Register(this);
  ApplyCurrentItemIndex();
}

void VidiMainMenu::ApplyCurrentItemIndex(kv::Object*) { LiveCarousel::Focus(*this); }

kv::Object* VidiMainMenu::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    switch (key->Code) {
      case KEY_UP:
      case KEY_DOWN:
        if (Animating) return this;
        OnSetFocus(nullptr);
        MoveDirection = key->Code;
        StartMove();
        ResetTimeout();
        return this;
      case KEY_BACK:
        ResetTimeout();
        if (MenuController* owner = OwnerOf(this)) owner->TearDownMenus();
        return this;
      default:
        break;
    }
  }
  return MenuClass::HandleEvent(event);
}

void VidiMainMenu::HandleFocus(bool focused) {
  MenuClass::HandleFocus(focused);
  RefreshFocusedRow(this);
  UpdateHelp(HelpTypeEnter);
}

void VidiMainMenu::UpdateHelp(int32_t type) {
  const Resources::BitmapId* id = nullptr;
  switch (type) {
    case HelpTypeEnter: id = &Bitmaps::MenuHelpOk; break;
    case HelpTypeUpDown: id = &Bitmaps::MenuHelpUD; break;
    case HelpTypeLeftRight: id = &Bitmaps::MenuHelpLR; break;
    default: break;
  }
  if (id) helpIcon_.OnSetBitmap(Resources::LoadResource(*id));
  const kv::Rect icon = helpIcon_.Bounds();
  const kv::Rect t = helpText_.Bounds();
  helpText_.OnSetBounds({icon.x2 + 8, t.y1, icon.x2 + 8 + t.W(), t.y2});
}

void VidiMainMenu::HandleMessage(Structures::Message* msg) {
  if (!msg) return;
  if (msg->Code == Constants::MSG_UPDATE_MAIN_MENU_HELP) {
    UpdateHelp(msg->IntParam);
    return;
  }
  if (msg->Code != Constants::MSG_CHANGE_APPEARANCE) return;
  if (msg->IntParam == Constants::APPEARANCE_FOCUS)
    if (auto* page = kv::Cast<VidiSubMenu>(msg->ObjParam.get())) openPage_ = page;
  if (Appearance(this, msg->IntParam)) return;
  switch (msg->IntParam) {
    case APPEARANCE_PIN_PASSED: {
      auto* page = kv::Cast<VidiSubMenu>(msg->ObjParam.get());
      if (!page || !OwnerOf(this)) break;
      openPage_ = page;
      if (VidiMainMenuItem* locks = locks_.get(); locks && locks->NextState != &EnterPinMenu::StaticClass()) {
        locks->NextState = &EnterPinMenu::StaticClass();
        locks->OptionType = ENTER_PIN_PARENTAL_LOCK;
      }
      break;
    }
    default:
      break;
  }
}

void VidiMainMenu::Close() {
  MenuClass::Close();
  if (MenuSystem) MenuSystem->SetMenuIndex(MenuLevel, CurrentItemIndex);
  Agent()->UnRegister(this);
  for (size_t i = 0; i < effects_.size(); ++i) effects_[i]->OnSetEnabled(false);
  OnSetAnimating(false);
}

void VidiMainMenu::DoActivate(kv::Object* sender) {
  auto* entry = kv::Cast<VidiMainMenuItem>(sender);
  if (!entry || !entry->NextState) return;
  VidiSubMenu* page = OpenPage();
  MenuController* owner = OwnerOf(this);
  if (page && owner) owner->OnSetFocus(page);
}

void VidiMainMenu::DoFocus(kv::Object* sender) {
  auto* entry = kv::Cast<VidiMainMenuItem>(sender);
  if (!entry || !OwnerOf(this)) return;
  if (!entry->NextState) {
    CloseSecondaryMenu();
    return;
  }
  VidiSubMenu* page = OpenPage();
  if (page && page->KvClass() == entry->NextState) return;
  if (page && kv::Cast<VidiLocksMenu>(page)) return;
  LaunchSecondaryMenu();
}

void VidiMainMenu::LaunchSecondaryMenu(kv::Object*) {
  MenuController* owner = OwnerOf(this);
  if (!owner || CurrentItemIndex < 1 || CurrentItemIndex > LiveCarousel::Count(*this)) return;
  VidiMainMenuItem* entry = items_.at(static_cast<size_t>(CurrentItemIndex - 1));
  if (!entry->NextState) return;
  auto* page = kv::Cast<VidiSubMenu>(owner->OpenState(entry->NextState, entry->OptionType, 0, KvClass()));
  if (page) openPage_ = page;
}

void VidiMainMenu::CloseSecondaryMenu(kv::Object*) {
  if (VidiSubMenu* page = OpenPage()) page->Close();
  openPage_ = nullptr;
  if (MenuSystem) MenuSystem->SetMenuIndex(2, 1);
}

void VidiMainMenu::DoTimeout(kv::Object*) {
  if (MenuController* owner = OwnerOf(this)) owner->TearDownMenus();
}

void VidiMainMenu::StartMove() {
  LiveCarousel::StartMove<VidiMainMenu, VidiMainMenuItem>(*this, true, -1, &CopyEntry);
  CloseSecondaryMenu();
}

void VidiMainMenu::MoveTriggerSlot(kv::Object*) { LiveCarousel::Frame(*this); }
void VidiMainMenu::MoveEndSlot(kv::Object*) { LiveCarousel::End(*this, true, -1); }
void VidiMainMenu::OnSetAnimating(bool on) { LiveCarousel::SetAnimating(*this, on); }
void VidiMainMenu::PlaceEntries() { LiveCarousel::Place(*this, true, -1); }

// --- VidiSubMenu ---------------------------------------------------------------------

namespace {
void CopyItem(VidiSubMenuItem* spare, VidiSubMenuItem* from) {
  if (!spare || !from) return;
  spare->OnSetText(from->OnGetText());
  spare->OnSetTextFont(from->OnGetTextFont());
  spare->OnSetTextColor(from->OnGetTextColor());
  spare->OnSetIsItemValue(from->IsItemValue);
  spare->OnSetIsSlider(from->IsSlider);
  spare->OnSetIsSelect(from->IsSelect);
  spare->OnSetValue(from->Value);
  spare->OnSetValueString(from->ValueString);
  spare->OnSetIsDisabled(from->OnGetIsDisabled());
}
}  // namespace

VidiSubMenu::VidiSubMenu() {
  Layer = 4;
  MenuLevel = 2;
  ArrangeMode = 2;
  FocusOnOpen = false;
  CurrentItemIndex = 1;
  ItemsNum = 9;
  SubSystemClass = &MenuController::StaticClass();
  PrevState = &VidiMainMenu::StaticClass();
  OnSetBounds({0, 0, 550, 540});
  title_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  title_.OnSetColor(Colors::TitleTextColor);
  title_.OnSetAlignV(1);
  title_.OnSetAutoSize(true);
  title_.OnSetBounds({5, 40, 46, 70});
  Add(&title_);
  auto* spare = kv::New<VidiSubMenuItem>();
  spare->OnSetVisible(false);
  spare->OnSetEnabled(false);
  spare_ = spare;
  Add(spare);
}

VidiSubMenuItem* VidiSubMenu::AddItem(const kv::MultiTextId* caption, const kv::Class* target, int32_t optionType) {
  VidiSubMenuItem* item = AddItem(kv::String(), target, optionType);
  item->SetCaptionId(caption);
  return item;
}

VidiSubMenuItem* VidiSubMenu::AddItem(const kv::String& caption, const kv::Class* target, int32_t optionType) {
  auto* item = kv::New<VidiSubMenuItem>();
  item->OnSetText(caption);
  item->NextState = target;
  item->OptionType = optionType;
  item->OnActivate = kv::MakeSlot(static_cast<SubSystem::MenuClass*>(this), &SubSystem::MenuClass::DoActivate);
  item->OnFocus = kv::MakeSlot(static_cast<SubSystem::MenuClass*>(this), &SubSystem::MenuClass::DoFocus);
  item->OnSetVisible(false);
  items_.push_back(item);
  if (spare_ && spare_->Owner() == this)
    AddBehind(item, spare_.get());
  else
    Add(item);
  ItemsNum = static_cast<int32_t>(items_.size());
  return item;
}

void VidiSubMenu::RemoveItem(VidiSubMenuItem* item) {
  if (!item || !items_.Remove(item)) return;
  if (item->Owner() == this) Remove(item);
  ItemsNum = std::max(0, ItemsNum - 1);
}

void VidiSubMenu::MoveItemLast(VidiSubMenuItem* item) {
  const int i = items_.IndexOf(item);
  if (i < 0) return;
  items_.erase(static_cast<size_t>(i));
  items_.push_back(item);
}

void VidiSubMenu::SetTitle(const kv::MultiTextId* a, const kv::MultiTextId* b) {
  titleA_ = a;
  titleB_ = b;
  titleText_ = kv::String();
  ReInit();
}

void VidiSubMenu::SetTitleText(const kv::String& a, const kv::MultiTextId* b) {
  titleA_ = nullptr;
  titleB_ = b;
  titleText_ = a;
  ReInit();
}

void VidiSubMenu::ReInit() {
  MenuClass::ReInit();
  kv::String a = titleA_ ? kv::GetVariantOfString(*titleA_) : titleText_;
  if (titleB_)
    a = kv::ConcatString(kv::ConcatString(a, kv::String(kv::LoadString(TITLE_SEPARATOR))),
                         kv::GetVariantOfString(*titleB_));
  if (titleA_ || titleB_ || !titleText_.Empty()) OnSetLabelstring(a);
}

void VidiSubMenu::OnSetLabelstring(const kv::String& s) {
  Labelstring = s;
  title_.OnSetString(s);
}

VidiOptionMenu* VidiSubMenu::OptionMenu() const {
  VidiOptionMenu* menu = optionMenu_.get();
  return menu && menu->IsOpen() ? menu : nullptr;
}

int32_t VidiSubMenu::PositionIndexToItemIndex(int32_t slot) const { return LiveCarousel::SlotToItem(*this, slot, 0); }

int32_t VidiSubMenu::RememberedIndex() {
  const int32_t idx = MenuSystem ? MenuSystem->GetMenuIndex(MenuLevel) : 1;
  return idx > LiveCarousel::Count(*this) ? 1 : idx;
}

void VidiSubMenu::PlaceItems() {
  VisibleSlots = std::min(kVisibleSlots, LiveCarousel::Count(*this));
  LiveCarousel::Place(*this, false, 0);
}

void VidiSubMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  if (param)
    if (auto* owner = kv::Cast<MenuController>(param->Owner.get())) MenuSystem = owner;
  MenuClass::Initialize(param);
  LiveCarousel::FitSlots(*this);
  FirstSlot = 0;
  LiveCarousel::MakeEffects(*this);
  if (!NeedAdjustCurrentItemIndex) CurrentItemIndex = RememberedIndex();
  LiveCarousel::Place(*this, false, 0);
  Agent()->Register(this);
  LoadSettings();
  if (!NeedAdjustCurrentItemIndex) ApplyCurrentItemIndex();
}

void VidiSubMenu::ApplyCurrentItemIndex(kv::Object*) { LiveCarousel::Focus(*this); }

void VidiSubMenu::LoadSettings() {
  const int32_t n = LiveCarousel::Count(*this);
  for (int32_t i = 0; i < n; ++i) {
    VidiSubMenuItem* item = items_.at(static_cast<size_t>(i));
    if (item->OptionType == 0) continue;
    OptionDatabase::OptionDataClass* record = Record(item->OptionType);
    if (!record) continue;
    record->Initialize();
    if (item->IsItemValue) {
      if (record->HasProperty()) record->Value = kv::OnGetInt32(record->RefValue);
      record->Val2Id();
      record->GetData();
      if (auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get()))
        item->OnSetValueString(courier->Caption);
    } else if (item->IsSlider) {
      record->GetData();
      if (auto* courier = kv::Cast<OptionDatabase::SliderCourier>(record->Courier.get())) {
        item->Max = courier->Max;
        item->Min = courier->Min;
        item->Step = courier->Step;
        item->Slider().OnSetMin(courier->Min);
        item->Slider().OnSetMax(courier->Max);
        item->Slider().OnSetStep(courier->Step);
        record->Value = courier->Value;
        record->Val2Id();
        item->OnSetValue(record->Id);
      }
    }
  }
}

kv::Object* VidiSubMenu::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    switch (key->Code) {
      case KEY_UP:
      case KEY_DOWN:
        if (Animating) return this;
        if (LiveCarousel::Count(*this) >= 2) {
          OnSetFocus(nullptr);
          MoveDirection = key->Code;
          StartMove();
        }
        ResetTimeout();
        return this;
      case KEY_LEFT:
      case KEY_BACK:
        ResetTimeout();
        GoBack();
        return this;
      default:
        break;
    }
  }
  return MenuClass::HandleEvent(event);
}

void VidiSubMenu::HandleFocus(bool focused) {
  MenuClass::HandleFocus(focused);
  RefreshFocusedRow(this);
  // Back from the option pop-up (Left or Back): the help bar shows the
  // focused item's keys again, not the pop-up's.
  if (auto* item = focused ? kv::Cast<VidiSubMenuItem>(OnGetFocus()) : nullptr)
    SendToColumn(Constants::MSG_UPDATE_MAIN_MENU_HELP, nullptr, item->HelpType);
}

void VidiSubMenu::GoBack() {
  CloseOptionMenu();
  MenuController* owner = OwnerOf(this);
  if (MenuLevel <= 2) {
    SendToColumn(Constants::MSG_CHANGE_APPEARANCE, this, Constants::APPEARANCE_FOCUS);
    return;
  }
  const kv::Class* prev = PrevState;
  Close();
  if (!owner) return;
  owner->SetMenuIndex(MenuLevel, 1);
  auto* state = kv::New<SubSystem::State>();
  state->Class = prev;
  if (auto* page = kv::Cast<SubSystem::MenuClass>(owner->ChangeState(state))) owner->OnSetFocus(page);
}

void VidiSubMenu::HandleMessage(Structures::Message* msg) {
  if (!msg) return;
  if (msg->Code == Constants::MSG_OPTION_CHANGE) {
    LoadSettings();
    return;
  }
  if (msg->Code != Constants::MSG_CHANGE_APPEARANCE) return;
  Appearance(this, msg->IntParam);
}

void VidiSubMenu::Close() {
  CloseOptionMenu();
  MenuClass::Close();
  if (MenuSystem) MenuSystem->SetMenuIndex(MenuLevel, CurrentItemIndex);
  Agent()->UnRegister(this);
  for (size_t i = 0; i < effects_.size(); ++i) effects_[i]->OnSetEnabled(false);
  OnSetAnimating(false);
}

void VidiSubMenu::DoFocus(kv::Object* sender) {
  auto* item = kv::Cast<VidiSubMenuItem>(sender);
  if (!item) return;
  if (item->NextState == &VidiOptionMenu::StaticClass())
    kv::IdleSignal(kv::MakeSlot(this, &VidiSubMenu::LaunchOptionMenu));
  else
    CloseOptionMenu();
  SendToColumn(Constants::MSG_UPDATE_MAIN_MENU_HELP, nullptr, item->HelpType);
}

void VidiSubMenu::LaunchOptionMenu(kv::Object*) {
  MenuController* owner = OwnerOf(this);
  // The focus may have moved on before this idle call runs.
  auto* item = kv::Cast<VidiSubMenuItem>(OnGetFocus());
  if (!owner || !IsOpen() || Animating || !item || item->NextState != &VidiOptionMenu::StaticClass()) return;
  if (VidiOptionMenu* open = OptionMenu(); open && open->OptionType == item->OptionType) return;
  CloseOptionMenu();
  optionMenu_ = kv::Cast<VidiOptionMenu>(owner->OpenState(&VidiOptionMenu::StaticClass(), item->OptionType, 0, KvClass()));
}

void VidiSubMenu::CloseOptionMenu(kv::Object*) {
  if (VidiOptionMenu* menu = OptionMenu()) menu->Close();
  optionMenu_ = nullptr;
}

void VidiSubMenu::DoActivate(kv::Object* sender) {
  auto* item = kv::Cast<VidiSubMenuItem>(sender);
  MenuController* owner = OwnerOf(this);
  // A target that does not exist yet counts as none: nothing happens.
  if (!item || !item->NextState || !owner) return;
  if (item->IsItemValue) {
    if (VidiOptionMenu* menu = OptionMenu()) owner->OnSetFocus(menu);
    return;
  }
  if (item->NeedHideMenu) {
    SendToColumn(Constants::MSG_CHANGE_APPEARANCE, nullptr, Constants::APPEARANCE_INVISIBLE);
    owner->HideForm(this);
  } else {
    Close();
  }
  Primitives::KeyRoutingForm* form =
      owner->OpenState(item->NextState, item->OptionType, Constants::MSG_FROM_MENUSYSTEM, KvClass());
  if (auto* page = kv::Cast<VidiSubMenu>(form)) owner->OnSetFocus(page);
}

void VidiSubMenu::DoTimeout(kv::Object*) {
  if (MenuController* owner = OwnerOf(this)) owner->TearDownMenus();
}

void VidiSubMenu::StartMove() {
  LiveCarousel::StartMove<VidiSubMenu, VidiSubMenuItem>(*this, false, 0, &CopyItem);
  CloseOptionMenu();
}

void VidiSubMenu::MoveTriggerSlot(kv::Object*) { LiveCarousel::Frame(*this); }
void VidiSubMenu::MoveEndSlot(kv::Object*) { LiveCarousel::End(*this, false, 0); }
void VidiSubMenu::OnSetAnimating(bool on) { LiveCarousel::SetAnimating(*this, on); }

}  // namespace MenuSystem
