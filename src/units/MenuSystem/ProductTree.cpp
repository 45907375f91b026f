#include "units/MenuSystem/ProductTree.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/ProductTree.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/MenuSystem/FocusLook.h"
#include "units/MenuSystem/MenuSystem.h"
#include "units/MenuSystem/ProductTreeBitmaps.h"
#include "units/MenuSystem/ThirdMenu.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Resources/Bitmap.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(MenuSystem::CarouselItem);
KV_REGISTER_CLASS(MenuSystem::MainMenuItem);
KV_REGISTER_CLASS(MenuSystem::SecondaryMenuItem);
KV_REGISTER_CLASS(MenuSystem::Carousel);
KV_REGISTER_CLASS(MenuSystem::MainMenu);
KV_REGISTER_CLASS(MenuSystem::SecondaryMenu);
KV_REGISTER_CLASS(MenuSystem::SettingsMenu);
KV_REGISTER_CLASS(MenuSystem::NetworkMenu);
KV_REGISTER_CLASS(MenuSystem::MediaPlayerMenu);
KV_REGISTER_CLASS(MenuSystem::TimerMenu);

namespace MenuSystem {

using namespace keys;

using namespace ::ProductTree;

namespace {
constexpr int32_t kMovePeriod = 50;
constexpr int32_t kMainFrames = 6;
constexpr int32_t kSecondaryFrames = 5;
// MSG_CHANGE_APPEARANCE 10: the main menu shifts (UserRefInt value 2, flag 1)
// or comes back to rest (value 1, flag 0).
constexpr int32_t kAppearanceShift = 10;
constexpr int32_t kShiftOut = 2;
constexpr int32_t kShiftBack = 1;
constexpr int32_t kMainLayer = 2;
constexpr int32_t kSecondaryLayer = 4;
constexpr int32_t kTimerItemIndex = 7;
// The game-timer PIN type.
constexpr int32_t kGameTimerPin = 7;

// Rest x of the five main positions and the seven secondary ones.
constexpr int32_t kMainX[5] = {203, 320, 444, 578, 705};
// Secondary items are 120 px wide: 130 px apart, their captions stay 10 px
// apart, the row centred on the screen.
constexpr int32_t kSecondaryX[7] = {30, 160, 290, 420, 550, 680, 810};
constexpr int32_t kMainY = 40;
// The secondary carousel's entries stand on a band under the main menu's
// line; their captions end above y 430: a notice of the message bar stands
// at y 450 and grows about its centre to three lines of text, and it never
// hides the caption of the focused entry, which keeps the keys.
constexpr int32_t kSecondaryY = 246;
constexpr int32_t kSecondaryBandTop = 278;
constexpr int32_t kSecondaryBandBottom = 450;
// The main menu's items rise by this much while a secondary menu is open.
constexpr int32_t kShiftY = -30;
// Space between a caption set above its icon and the icon.
constexpr int32_t kCaptionGapUp = 4;

// True when a line of `layout` ends inside a word that goes on at the start
// of the next line (not after a hyphen): the word was wider than the
// caption and got cut apart.
bool SplitsWord(const kv::String& text, const ge::TextLayout& layout) {
  const std::u16string_view all = text.View();
  const auto n = static_cast<int32_t>(all.size());
  const auto inWord = [&](int32_t i) { return all[static_cast<size_t>(i)] != u' ' && all[static_cast<size_t>(i)] != u'\n'; };
  for (size_t i = 0; i + 1 < layout.lines.size(); ++i) {
    const int32_t end = layout.lines[i].end;
    if (end <= 0 || end >= n || end != layout.lines[i + 1].begin) continue;
    if (inWord(end - 1) && all[static_cast<size_t>(end - 1)] != u'-' && inWord(end)) return true;
  }
  return false;
}

Agent::MessageAgent* Agent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }

void SendAppearance(int32_t value, kv::Object* obj, const kv::Class* to) {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CHANGE_APPEARANCE, obj, value);
  if (to)
    Agent()->DispatchTo(msg, to);
  else
    Agent()->Dispatch(msg);
}

SkinBin::Wrapper* Skin() { return NonMenuSystem::Live::Skin(); }
}  // namespace

// --- Items -------------------------------------------------------------------------------

CarouselItem::CarouselItem() {
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetTextColor(Colors::StandardTextColor);
  OnSetFocused_TextColor(Colors::White);
  // Disabled entries stay readable over the dark band.
  OnSetDisabled_TextColor(kv::Color{128, 128, 128, 255});
  OnSetTextAlignH(1);
  caption_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  caption_.OnSetColor(Colors::StandardTextColor);
  caption_.OnSetAlignH(1);
  focusRing_.OnSetVisible(false);
  // A caption longer than two lines ends in an ellipsis.
  caption_.OnSetEllipsis(true);
  OnSetTextEllipsis(true);
}

void CarouselItem::OnSetText(const kv::String& text) {
  ::Button::IconButton::OnSetText(text);
  caption_.OnSetString(text);
  UpdateTextPos();
}

int32_t CarouselItem::GetCtrlState() {
  return ShownState(*this, ::Button::IconButton::GetCtrlState());
}

void CarouselItem::RefreshCtrlState(int32_t state) {
  ::Button::IconButton::RefreshCtrlState(state);
  caption_.OnSetColor(TextView().OnGetColor());
  icon_.OnSetBitmap(state == ::Button::kStateFocused && focused_ ? focused_.get() : normal_.get());
  // An entry without a lit icon of its own (the secondary carousels) is
  // marked by the ring; a brighter caption alone does not read as focus.
  focusRing_.OnSetVisible(state == ::Button::kStateFocused && focused_.get() == normal_.get());
  InvalidateView();
}

void CarouselItem::SetIcons(const Resources::BitmapId& normal, const Resources::BitmapId& focused) {
  normal_ = Resources::LoadResource(normal);
  focused_ = Resources::LoadResource(focused);
  icon_.OnSetBitmap(normal_.get());
}

int32_t CarouselItem::IconSize(int32_t) const { return 72; }

void CarouselItem::OnSetImageSize(int32_t level, int32_t alpha, int32_t offset) {
  ImageSize = level;
  textOffset_ = offset;
  OnSetTextAlpha(alpha);
  UpdateTextPos();
}

void CarouselItem::OnSetTextUp(bool up) {
  TextUp = up;
  UpdateTextPos();
}

void CarouselItem::HandleFocus(bool focused) {
  ::Button::IconButton::HandleFocus(focused);
  // A carousel opening is not yet in the menu when its item takes the
  // focus: the look is settled at the end of the pass.
  PostRefreshCtrlState();
}

void CarouselItem::UpdateTextPos() {
  const kv::Rect b = Bounds();
  const int32_t size = IconSize(ImageSize);
  const int32_t top = (b.H() - size) / 2;
  icon_.OnSetBounds({(b.W() - size) / 2, top, (b.W() + size) / 2, top + size});
  // The ring stands its margin outside the icon.
  focusRing_.OnSetBounds(icon_.Bounds().Inflate(focusRing_.OnGetMargin(), focusRing_.OnGetMargin()));
  // The caption keeps the item's width, below the icon, or above it while
  // the main menu is shifted: then its bottom edge stands on the icon, a few
  // pixels above it. Its lines stay inside the item.
  if (TextUp)
    TextView().OnSetBounds({0, std::max(0, top - kCaptionGapUp - 24), b.W(), std::max(0, top - kCaptionGapUp)});
  else
    TextView().OnSetBounds({0, top + size + textOffset_, b.W(), top + size + textOffset_ + 24});
  // The largest face that holds the caption in two lines of the item's width,
  // every word whole on its line.
  static const Resources::FontId* const kFaces[] = {&Fonts::MediumFont, &Fonts::BannerDescription,
                                                    &Fonts::ExtraSmallFont, &Fonts::SmallestFont};
  int32_t lineH = 1;
  for (const Resources::FontId* face : kFaces) {
    caption_.OnSetFont(Resources::LoadResource(*face));
    caption_.OnSetBounds({0, 0, b.W(), b.H()});
    const ge::TextLayout layout = caption_.GetLayout();
    lineH = std::max(layout.LinePitch(), 1);
    bool whole = layout.lines.size() <= 2 && !SplitsWord(caption_.OnGetString(), layout);
    for (const ge::TextLine& line : layout.lines) whole = whole && !line.ellipsis && line.width <= b.W();
    if (whole) break;
  }
  const int32_t captionH = std::min(2 * lineH, b.H());
  caption_.OnSetAlignV(TextUp ? 2 : 0);
  const int32_t y = TextUp ? std::max(0, top - kCaptionGapUp - captionH) : std::min(top + size + textOffset_, b.H() - captionH);
  caption_.OnSetBounds({0, y, b.W(), y + captionH});
  InvalidateView();
}

void CarouselItem::Refresh() {
  ::Button::IconButton::Refresh();
  UpdateTextPos();
}

void CarouselItem::OnSetOpacity(int32_t opacity) {
  opacity_ = std::clamp(opacity, 0, 255);
  InvalidateView();
}

void CarouselItem::CopyLook(CarouselItem& from) {
  if (!(OnGetText() == from.OnGetText())) OnSetText(from.OnGetText());
  normal_ = from.normal_.get();
  focused_ = from.focused_.get();
  icon_.OnSetBitmap(normal_.get());
  if (OnGetIsDisabled() != from.OnGetIsDisabled()) OnSetIsDisabled(from.OnGetIsDisabled());
}

void CarouselItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  const int32_t o = opacity * opacity_ / 255;
  DrawPart(icon_, target, clip, origin, o);
  DrawPart(focusRing_, target, clip, origin, o);
  DrawPart(caption_, target, clip, origin, o * OnGetTextAlpha() / 255);
}

MainMenuItem::MainMenuItem() { OnSetBounds(MAIN_MENU_ITEM_DEFAULT_BOUNDS); }

int32_t MainMenuItem::IconSize(int32_t level) const {
  static constexpr int32_t kSizes[] = {52, 62, 72, 62, 72};
  return kSizes[std::clamp(level, 0, 4)];
}

kv::Object* MainMenuItem::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == KEY_UP) {
    kv::Signal(OnActivate, this);
    return this;
  }
  return CarouselItem::HandleEvent(event);
}

void MainMenuItem::HandleFocus(bool focused) {
  CarouselItem::HandleFocus(focused);
  if (focused) OnSetImageSize(4, MAIN_MENU_TEXT_FOCUSED_ALPHA, 0);
}

SecondaryMenuItem::SecondaryMenuItem() { OnSetBounds(SECOND_MENU_ITEM_DEFAULT_BOUNDS); }

int32_t SecondaryMenuItem::IconSize(int32_t level) const {
  static constexpr int32_t kSizes[] = {60, 72, 84, 100};
  return kSizes[std::clamp(level, 0, 3)];
}

// --- Carousel ------------------------------------------------------------------------------

Carousel::Carousel() {
  ArrangeMode = 2;
  SubSystemClass = &MenuSystem::StaticClass();
  moveTimer_.OnSetPeriod(kMovePeriod);
  moveTimer_.OnTrigger = kv::MakeSlot(this, &Carousel::MoveTick);
}

CarouselItem* Carousel::AddItem(CarouselItem* item, const kv::MultiTextId& caption, const Resources::BitmapId& normal,
                                const Resources::BitmapId& focused, const char* target) {
  item->OnSetText(kv::GetVariantOfString(caption));
  item->SetIcons(normal, focused);
  if (target) item->NextState = kv::FindClass(target);
  item->OnActivate = kv::MakeSlot(static_cast<SubSystem::MenuClass*>(this), &SubSystem::MenuClass::DoActivate);
  item->OnFocus = kv::MakeSlot(static_cast<SubSystem::MenuClass*>(this), &SubSystem::MenuClass::DoFocus);
  items_.push_back(item);
  Add(item);
  ItemsNum = ItemCount();
  return item;
}

int32_t Carousel::PositionIndexToItemIndex(int32_t pos) const {
  const int32_t n = ItemCount();
  if (n == 0) return 0;
  // An index remembered from another menu of the same level may lie past
  // this menu's items: it counts as the first.
  const int32_t c = CurrentItemIndex >= 1 && CurrentItemIndex <= n ? CurrentItemIndex : 1;
  const int32_t i = pos - first_ - visible_ / 2 + (c - 1);
  return ((i % n) + n) % n;
}

void Carousel::HandleFocus(bool focused) {
  MenuClass::HandleFocus(focused);
  RefreshFocusedRow(this);
}

void Carousel::ApplyCurrentItemIndex() {
  if (CurrentItemIndex >= 1 && CurrentItemIndex <= ItemCount()) OnSetFocus(Item(CurrentItemIndex - 1));
}

void Carousel::OnSetAnimating(bool on) {
  if (on == Animating) return;
  Animating = on;
  ::Wrapper::Wrapper* w = NonMenuSystem::Live::Base();
  if (on)
    w->StartAnimation();
  else
    w->StopAnimation();
}

void Carousel::Initialize(Primitives::KeyRoutingParameter* param) {
  MenuClass::Initialize(param);
  const int32_t n = ItemCount();
  visible_ = std::min(n, positions_);
  const int32_t centre = positions_ / 2;
  first_ = std::max(0, centre - n / 2);
  if (spare_) {
    if (n < positions_)
      Remove(spare_.get());
    else
      RestackTop(spare_.get());
    spare_->OnSetVisible(false);
  }
  const int32_t stored = MenuSystem ? MenuSystem->GetMenuIndex(MenuLevel) : 1;
  CurrentItemIndex = stored >= 1 && stored <= n ? stored : 1;
  Layout(0, 1);
  Agent()->Register(this);
  ApplyCurrentItemIndex();
  // The show effect: the items fade in over the page's frames.
  if (visible_ > 0) {
    for (int32_t k = 0; k < visible_; ++k) Item(PositionIndexToItemIndex(first_ + k))->OnSetOpacity(0);
    showing_ = true;
    step_ = 0;
    OnSetAnimating(true);
    moveTimer_.OnSetEnabled(true);
  }
}

void Carousel::EndShow() {
  if (!showing_) return;
  showing_ = false;
  moveTimer_.OnSetEnabled(false);
  step_ = 0;
  for (int32_t k = 0; k < visible_; ++k) Item(PositionIndexToItemIndex(first_ + k))->OnSetOpacity(255);
  OnSetAnimating(false);
}

void Carousel::Close() {
  moveTimer_.OnSetEnabled(false);
  showing_ = false;
  MenuClass::Close();
  Agent()->UnRegister(this);
  OnSetAnimating(false);
}

void Carousel::Layout(int32_t step, int32_t frames) {
  // Items off the visible positions are hidden (the focused one never is:
  // hiding it would hand the focus on).
  for (int32_t i = 0; i < ItemCount(); ++i) {
    bool shown = false;
    for (int32_t k = 0; k < visible_; ++k) shown = shown || PositionIndexToItemIndex(first_ + k) == i;
    Item(i)->OnSetVisible(shown);
  }
  const int32_t dy = shifted_ ? kShiftY : 0;
  const int32_t last = first_ + visible_ - 1;
  const bool moving = step > 0 && MoveDirection != 0;
  const auto place = [&](CarouselItem* item, int32_t x, int32_t levelPos, int32_t opacity) {
    const kv::Rect b = item->Bounds();
    item->OnSetBounds({x, y_ + dy, x + b.W(), y_ + dy + b.H()});
    item->OnSetVisible(true);
    item->OnSetOpacity(opacity);
    int32_t level = 0, alpha = 255, offset = 0;
    LevelOf(levelPos, level, alpha, offset);
    if (!item->IsFocused() || step > 0) item->OnSetImageSize(level, alpha, offset);
  };
  for (int32_t pos = first_; pos <= last; ++pos) {
    CarouselItem* item = Item(PositionIndexToItemIndex(pos));
    if (!moving) {
      place(item, x_[pos], pos, 255);
      continue;
    }
    const int32_t to = pos - MoveDirection;
    if (to >= first_ && to <= last) {
      // Glides towards its neighbour, taking its size half way.
      place(item, x_[pos] + (x_[to] - x_[pos]) * step / frames, step * 2 >= frames ? to : pos, 255);
    } else {
      // The item at the near edge leaves: one slot further out, fading out.
      const int32_t inner = pos + MoveDirection;
      const int32_t out = inner >= first_ && inner <= last ? 2 * x_[pos] - x_[inner] : x_[pos];
      place(item, x_[pos] + (out - x_[pos]) * step / frames, pos, 255 - 40 * step);
    }
  }
  // The spare stands in for the item that enters at the far edge (with every
  // position in use that item is the one still leaving at the near edge).
  CarouselItem* spare = spare_.get();
  if (!spare || spare->Owner() != this) return;
  if (!moving) {
    spare->OnSetVisible(false);
    return;
  }
  // It glides in from one slot further out, as far from its neighbour as the
  // other items are.
  const int32_t edge = MoveDirection > 0 ? last : first_;
  spare->CopyLook(*Item(PositionIndexToItemIndex(edge + MoveDirection)));
  const int32_t inner = edge - MoveDirection;
  const int32_t from = inner >= first_ && inner <= last ? 2 * x_[edge] - x_[inner] : x_[edge];
  place(spare, from + (x_[edge] - from) * step / frames, edge, 15 + 40 * step);
}

bool Carousel::Moving() {
  EndShow();
  return Animating;
}

void Carousel::StartMove(int32_t direction) {
  EndShow();
  if (Animating) return;
  MoveDirection = direction;
  step_ = 0;
  OnSetAnimating(true);
  // The items leave the focus while they glide.
  OnSetFocus(nullptr);
  moveTimer_.OnSetEnabled(true);
}

void Carousel::MoveTick(kv::Object*) {
  ++step_;
  if (showing_) {
    for (int32_t k = 0; k < visible_; ++k)
      Item(PositionIndexToItemIndex(first_ + k))->OnSetOpacity(255 * step_ / frames_);
    if (step_ >= frames_) EndShow();
    return;
  }
  Layout(step_, frames_);
  if (step_ >= frames_) MoveEnd();
}

void Carousel::MoveEnd() {
  moveTimer_.OnSetEnabled(false);
  const int32_t n = ItemCount();
  CurrentItemIndex += MoveDirection;
  if (CurrentItemIndex < 1) CurrentItemIndex = n;
  if (CurrentItemIndex > n) CurrentItemIndex = 1;
  MoveDirection = 0;
  step_ = 0;
  Layout(0, 1);
  OnSetAnimating(false);
  ApplyCurrentItemIndex();
}

kv::Object* Carousel::HandleMoveKeys(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || (key->Code != KEY_LEFT && key->Code != KEY_RIGHT)) return nullptr;
  StartMove(key->Code == KEY_RIGHT ? 1 : -1);
  ResetTimeout();
  return this;
}

void Carousel::HandleMessage(Structures::Message* msg) {
  if (!msg || msg->Code != Constants::MSG_CHANGE_APPEARANCE) return;
  auto* owner = kv::Cast<::MenuSystem::MenuSystem>(MenuSystem.get());
  if (msg->IntParam == Constants::APPEARANCE_INVISIBLE) owner ? owner->HideForm(this) : OnSetVisible(false);
  if (msg->IntParam == Constants::APPEARANCE_VISIBLE) owner ? owner->ShowForm(this) : OnSetVisible(true);
}

// --- MainMenu ------------------------------------------------------------------------------

MainMenu::MainMenu() {
  WinID = WinIDs::WIN_ID_MainMenu;
  Layer = kMainLayer;
  MenuLevel = 1;
  positions_ = 5;
  x_ = kMainX;
  y_ = kMainY;
  frames_ = kMainFrames;
  KeyRoutingForm::OnSetBounds({0, 0, 960, 540});
  background_.OnSetBitmap(Resources::LoadResource(Bitmaps::L1Background));
  background_.OnSetBounds({0, 0, 960, 540});
  line_.OnSetBitmap(Resources::LoadResource(Bitmaps::L1BgLine));
  line_.OnSetBounds({0, kMainY + 214 + 8, 960, kMainY + 214 + 12});
  Add(&background_);
  Add(&line_);
  struct Entry {
    const kv::MultiTextId* caption;
    const Resources::BitmapId* off;
    const Resources::BitmapId* on;
    const char* target;
  };
  const Entry entries[] = {
      {&SID_SETTINGS, &Bitmaps::L1SettingsMenuOff, &Bitmaps::L1SettingsMenuOn, "MenuSystem::SettingsMenu"},
      {&SID_NETWORK, &Bitmaps::L1NetworkMenuOff, &Bitmaps::L1NetworkMenuOn, "MenuSystem::NetworkMenu"},
      {&SID_MEDIA_PLAYER, &Bitmaps::L1MediaPlayerMenuOff, &Bitmaps::L1MediaPlayerMenuOn, "MenuSystem::MediaPlayerMenu"},
      {&SID_WALLPAPER, &Bitmaps::L1WallpaperMenuOff, &Bitmaps::L1WallpaperMenuOn, nullptr},
      {&SID_TIMER, &Bitmaps::L1TimerMenuOff, &Bitmaps::L1TimerMenuOn, "MenuSystem::TimerMenu"},
  };
  for (const Entry& e : entries) {
    CarouselItem* item = AddItem(kv::New<MainMenuItem>(), *e.caption, *e.off, *e.on, e.target);
    if (!e.target) item->OnActivate = kv::MakeSlot(this, &MainMenu::DoActivateWallpaper);
  }
  auto* spare = kv::New<MainMenuItem>();
  spare->OnSetVisible(false);
  spare_ = spare;
  Add(spare);
}

void MainMenu::Initialize(Primitives::KeyRoutingParameter* param) { Carousel::Initialize(param); }

void MainMenu::LevelOf(int32_t pos, int32_t& level, int32_t& alpha, int32_t& offset) const {
  switch (pos) {
    case 0: case 4: level = 0; alpha = MAIN_MENU_TEXT_SMALL_ALPHA; offset = 20; break;
    case 1: case 3: level = 1; alpha = MAIN_MENU_TEXT_MEDIUM_ALPHA; offset = 10; break;
    default: level = 2; alpha = MAIN_MENU_TEXT_MEDIUM_ALPHA; offset = 0; break;
  }
}

kv::Object* MainMenu::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    // A key ends the opening effect and then acts as usual.
    EndShow();
    if (key->Code == KEY_LEFT || key->Code == KEY_RIGHT) {
      // A move takes the secondary menu away.
      if (!Animating) CloseSecondaryMenu();
      return HandleMoveKeys(event);
    }
    if (key->Code == KEY_DOWN || key->Code == KEY_BACK) {
      ResetTimeout();
      kv::PostSignal(kv::MakeSlot(this, &MainMenu::TearDown));
      return this;
    }
    if (Animating) return this;
  }
  return Carousel::HandleEvent(event);
}

void MainMenu::DoFocus(kv::Object* sender) {
  auto* item = kv::Cast<CarouselItem>(sender);
  if (!item) return;
  CurrentItemIndex = GetIndexOf(item) + 1;
  if (!item->NextState) {
    CloseSecondaryMenu();
  } else if (!secondary_ || secondary_->KvClass() != item->NextState) {
    kv::IdleSignal(kv::MakeSlot(this, &MainMenu::LaunchSecondaryMenu));
  }
}

void MainMenu::LaunchSecondaryMenu(kv::Object*) {
  if (!MenuSystem || !IsOpen() || CurrentItemIndex < 1 || CurrentItemIndex > ItemCount()) return;
  const kv::Class* target = Item(CurrentItemIndex - 1)->NextState;
  if (!target) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = target;
  state->PrevState = KvClass();
  secondary_ = MenuSystem->ChangeState(state);
  // The main menu keeps the keys until an entry is activated.
  if (MenuSystem) MenuSystem->OnSetFocus(this);
}

void MainMenu::CloseSecondaryMenu(kv::Object*) {
  if (Primitives::KeyRoutingForm* open = secondary_.get()) open->Close();
  secondary_ = nullptr;
}

void MainMenu::DoActivate(kv::Object* sender) {
  auto* item = kv::Cast<CarouselItem>(sender);
  if (!item || !item->NextState || Moving()) return;
  SendAppearance(kAppearanceShift, SkinBin::UserRefInt::Make(kShiftOut, 0), nullptr);
  if (!secondary_ || !secondary_->IsOpen()) LaunchSecondaryMenu();
  if (secondary_ && MenuSystem) MenuSystem->OnSetFocus(secondary_.get());
}

void MainMenu::DoActivateWallpaper(kv::Object*) {
  auto* nms = kv::FindClass("NonMenuSystem::NonMenuSystem");
  if (NonMenuSystem::Live::NetApp() && !NonMenuSystem::Live::IsDemoFlash()) {
    auto* clear = kv::New<Structures::Message>();
    clear->Initialize(Constants::MSG_CLEAR_ALL, nullptr);
    Agent()->DispatchTo(clear, nms);
    auto* show = kv::New<Structures::Message>();
    show->Initialize(Constants::MSG_SHOW_MESSAGE, nullptr, Constants::DirectMsgTypeNotAvailable);
    Agent()->DispatchTo(show, nms);
    return;
  }
  if (!MenuSystem) return;
  ::MenuSystem::MenuSystem* menu = kv::Cast<::MenuSystem::MenuSystem>(MenuSystem.get());
  if (menu) menu->ClearHelpBar();
  Close();
  if (menu) menu->OpenState(kv::FindClass("MediaPlayer::PhotoFrame"), 0, Constants::MSG_FROM_MENUSYSTEM, nullptr);
}

void MainMenu::TearDown(kv::Object*) {
  if (auto* menu = kv::Cast<::MenuSystem::MenuSystem>(MenuSystem.get())) menu->TearDownMenus();
}

void MainMenu::Shift(bool shifted) {
  shifted_ = shifted;
  Layout(0, 1);
  if (CurrentItemIndex >= 1 && CurrentItemIndex <= ItemCount()) Item(CurrentItemIndex - 1)->OnSetTextUp(shifted);
}

void MainMenu::HandleMessage(Structures::Message* msg) {
  if (msg && msg->Code == Constants::MSG_CHANGE_APPEARANCE && msg->IntParam == kAppearanceShift) {
    auto* ref = kv::Cast<SkinBin::UserRefInt>(msg->ObjParam.get());
    if (!ref) return;
    Shift(ref->Value == kShiftOut);
    if (ref->Value == kShiftBack) {
      if (MenuSystem) MenuSystem->OnSetFocus(this);
      ApplyCurrentItemIndex();
    }
    return;
  }
  Carousel::HandleMessage(msg);
}

void MainMenu::Close() {
  if (MenuSystem) MenuSystem->SetMenuIndex(MenuLevel, CurrentItemIndex);
  CloseSecondaryMenu();
  Carousel::Close();
}

// --- SecondaryMenu -------------------------------------------------------------------------

SecondaryMenu::SecondaryMenu() {
  Layer = kSecondaryLayer;
  MenuLevel = 2;
  positions_ = 7;
  x_ = kSecondaryX;
  y_ = kSecondaryY;
  frames_ = kSecondaryFrames;
  KeyRoutingForm::OnSetBounds({0, 0, 960, 540});
  panel_.OnSetColor(kv::Color{12, 13, 16, 224});
  panel_.OnSetBounds({0, kSecondaryBandTop, 960, kSecondaryBandBottom});
  Add(&panel_);
  auto* spare = kv::New<SecondaryMenuItem>();
  spare->OnSetVisible(false);
  spare_ = spare;
  Add(spare);
}

void SecondaryMenu::LevelOf(int32_t pos, int32_t& level, int32_t& alpha, int32_t& offset) const {
  switch (pos) {
    case 0: case 6: level = 0; alpha = SECOND_MENU_TEXT_EXTRA_SMALL_ALPHA; offset = 20; break;
    case 1: case 5: level = 1; alpha = SECOND_MENU_TEXT_SMALL_ALPHA; offset = 10; break;
    default: level = 2; alpha = SECOND_MENU_TEXT_MEDIUM_ALPHA; offset = 10; break;
  }
}

kv::Object* SecondaryMenu::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    // A key ends the opening effect and then acts as usual.
    EndShow();
    if (kv::Object* taken = HandleMoveKeys(event)) return taken;
    if (key->Code == KEY_DOWN || key->Code == KEY_BACK) {
      ResetTimeout();
      SendAppearance(kAppearanceShift, SkinBin::UserRefInt::Make(kShiftBack, 0), nullptr);
      return this;
    }
    if (Animating) return this;
  }
  return Carousel::HandleEvent(event);
}

void SecondaryMenu::OpenTarget(CarouselItem* item, kv::Object* param) {
  SendAppearance(Constants::APPEARANCE_INVISIBLE, nullptr, &MainMenu::StaticClass());
  if (auto* owner = kv::Cast<::MenuSystem::MenuSystem>(MenuSystem.get()))
    owner->HideForm(this);
  else
    OnSetVisible(false);
  auto* state = kv::New<SubSystem::State>();
  state->Class = item->NextState;
  state->PrevState = KvClass();
  state->Param = param;
  Primitives::KeyRoutingForm* page = MenuSystem->ChangeState(state);
  if (auto* third = kv::Cast<ThirdMenu>(page); third && third->MenuLevel >= 4) third->IsShortcut = true;
}

void SecondaryMenu::DoActivate(kv::Object* sender) {
  auto* item = kv::Cast<CarouselItem>(sender);
  if (!item || !item->NextState || item->OnGetIsDisabled() || !MenuSystem || Moving()) return;
  OpenTarget(item, SkinBin::UserRefInt::Make(item->OptionType, Constants::MSG_FROM_MENUSYSTEM));
}

void SecondaryMenu::Close() {
  if (MenuSystem) MenuSystem->SetMenuIndex(MenuLevel, 1);
  Carousel::Close();
}

SettingsMenu::SettingsMenu() {
  WinID = WinIDs::WIN_ID_SettingsMenu;
  AddItem(kv::New<SecondaryMenuItem>(), SID_PICTURE, Bitmaps::L2PictureMenu, Bitmaps::L2PictureMenu,
          "MenuSystem::PictureMenu");
  AddItem(kv::New<SecondaryMenuItem>(), SID_SOUND, Bitmaps::L2SoundMenu, Bitmaps::L2SoundMenu, "MenuSystem::SoundMenu");
  AddItem(kv::New<SecondaryMenuItem>(), SID_APPLICATIONS, Bitmaps::L2ApplicationsMenu, Bitmaps::L2ApplicationsMenu,
          "MenuSystem::ApplicationsMenu");
  AddItem(kv::New<SecondaryMenuItem>(), SID_PREFERENCE, Bitmaps::L2PreferenceMenu, Bitmaps::L2PreferenceMenu,
          "MenuSystem::PreferencesMenu");
  AddItem(kv::New<SecondaryMenuItem>(), SID_SETUP, Bitmaps::L2SetupMenu, Bitmaps::L2SetupMenu, "MenuSystem::SetupMenu");
}

NetworkMenu::NetworkMenu() {
  WinID = WinIDs::WIN_ID_NetworkMenu;
  AddItem(kv::New<SecondaryMenuItem>(), SID_WEB_TIDE, Bitmaps::L2WebTideMenu, Bitmaps::L2WebTideMenu, nullptr);
  AddItem(kv::New<SecondaryMenuItem>(), SID_NETWORK_SETUP, Bitmaps::L2NetworkSetupMenu, Bitmaps::L2NetworkSetupMenu,
          "MenuSystem::NetworkSetupMenu");
  AddItem(kv::New<SecondaryMenuItem>(), SID_WIRELESS_INFORMATION, Bitmaps::L2WirelessInfoMenu,
          Bitmaps::L2WirelessInfoMenu, "Network::WirelessInformationMenu");
}

void NetworkMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SecondaryMenu::Initialize(param);
  RefreshGrayout();
}

void NetworkMenu::RefreshGrayout() {
  SkinBin::Wrapper* skin = Skin();
  Item(2)->OnSetIsDisabled(!skin || skin->OnGetNetworkType() == 0);
}

void NetworkMenu::HandleMessage(Structures::Message* msg) {
  SecondaryMenu::HandleMessage(msg);
  if (msg && msg->Code == Constants::MSG_CHANGE_APPEARANCE && msg->IntParam == Constants::APPEARANCE_VISIBLE)
    RefreshGrayout();
}

MediaPlayerMenu::MediaPlayerMenu() {
  AddItem(kv::New<SecondaryMenuItem>(), SID_PHOTO, Bitmaps::L2PhotoMenu, Bitmaps::L2PhotoMenu, nullptr);
  AddItem(kv::New<SecondaryMenuItem>(), SID_MOVIE, Bitmaps::L2MovieMenu, Bitmaps::L2MovieMenu, nullptr);
  AddItem(kv::New<SecondaryMenuItem>(), SID_MUSIC, Bitmaps::L2MusicMenu, Bitmaps::L2MusicMenu, nullptr);
}

void MediaPlayerMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SecondaryMenu::Initialize(param);
  // A network application (other than the store demo) owns the media.
  const bool netApp = NonMenuSystem::Live::NetApp() && !NonMenuSystem::Live::IsDemoFlash();
  for (int32_t i = 0; i < ItemCount(); ++i) Item(i)->OnSetIsDisabled(netApp);
}

TimerMenu::TimerMenu() {
  WinID = WinIDs::WIN_ID_TimerMenu;
  AddItem(kv::New<SecondaryMenuItem>(), SID_ON_TIMER, Bitmaps::L2OnTimerMenu, Bitmaps::L2OnTimerMenu,
          "MenuSystem::OnTimerMenu");
  AddItem(kv::New<SecondaryMenuItem>(), SID_SLEEP_TIMER, Bitmaps::L2SleepTimerMenu, Bitmaps::L2SleepTimerMenu,
          "MenuSystem::ApplicationsMenu");
  CarouselItem* game = AddItem(kv::New<SecondaryMenuItem>(), SID_GAME_TIMER, Bitmaps::L2GameTimerMenu,
                               Bitmaps::L2GameTimerMenu, "NonMenuSystem::EnterPinDialog");
  game->OptionType = kGameTimerPin;
}

void TimerMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  SecondaryMenu::Initialize(param);
  SkinBin::Wrapper* skin = Skin();
  Item(2)->OnSetIsDisabled(!skin || !skin->IsPinExisting());
}

void TimerMenu::DoActivate(kv::Object* sender) {
  auto* item = kv::Cast<CarouselItem>(sender);
  if (item && item == Item(1)) {
    if (!item->NextState || !MenuSystem || Moving()) return;
    // The applications page opens on its sleep-timer row.
    auto* row = kv::New<Structures::RefInt>();
    row->Value = kTimerItemIndex;
    OpenTarget(item, row);
    return;
  }
  SecondaryMenu::DoActivate(sender);
}

}  // namespace MenuSystem
