#include "units/NonMenuSystem/HelpBar.h"

#include <algorithm>

#include "runtime/ref.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/FocusPath.h"
#include "units/Core/Root.h"
#include "units/Fonts/Fonts.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Resources/Bitmap.h"
#include "units/Resources/Resources.h"
#include "units/SubSystem/MenuClass.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(NonMenuSystem::HelpButton);
KV_REGISTER_CLASS(NonMenuSystem::HelpBar);

namespace NonMenuSystem {

namespace {
constexpr int32_t kBarHeight = 37;
constexpr kv::Point kFullOrigin{0, 503};
constexpr kv::Point kShortOrigin{660, 498};
constexpr int32_t kFullWidth = 960;
constexpr int32_t kShortWidth = 295;
constexpr int32_t kIconGap = 3;
// Screens whose keys the bar remembers to show again.
constexpr size_t kRememberedOwners = 8;

::WidgetManager::WidgetManager* Manager() {
  return kv::GetAutoObject<::WidgetManager::WidgetManager>(MainApp::WidgetManager);
}

// Icons of the mask bits 0 to 19.
const Resources::BitmapId* const kIcons[] = {
    &Bitmaps::HelpBarCursor,    &Bitmaps::HelpBarNum,           &Bitmaps::HelpBarLeftRight,
    &Bitmaps::HelpBarLeft,      &Bitmaps::HelpBarRight,         &Bitmaps::HelpBarUpDown,
    &Bitmaps::HelpBarUp,        &Bitmaps::HelpBarDown,          &Bitmaps::HelpBarUpDownLeftRight,
    &Bitmaps::HelpBarOk,        &Bitmaps::HelpBarQuick,         &Bitmaps::HelpBarPageUpDown,
    &Bitmaps::HelpBarRedBall,   &Bitmaps::HelpBarGreenBall,     &Bitmaps::HelpBarYellowBall,
    &Bitmaps::HelpBarBlueBall,  &Bitmaps::HelpBarPageLeftRight, &Bitmaps::HelpBarRecord,
    &Bitmaps::HelpBarReturn,    &Bitmaps::HelpBarExit,
};
}  // namespace

// --- HelpButton --------------------------------------------------------------------

HelpButton::HelpButton() {
  KeyRoutingCtrl::OnSetBounds({0, 0, 60, kBarHeight});
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetTextColor(Colors::White);
  OnSetTextAlignH(0);
  OnSetIcon(Resources::LoadResource(Bitmaps::HelpBarOk));
  OnSetText(kv::GetVariantOfString(Strings::SID_ENTER));
}

void HelpButton::FitWidth() {
  const int32_t iconW = OnGetIcon() ? OnGetIcon()->GetFrameSize().x : 0;
  // The caption as wide as its glyphs reach, not only its advances: a
  // closing letter whose stroke reaches past its advance keeps it.
  const int32_t textW = TextView().InkWidth();
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x1 + iconW + textW + kIconGap, b.y2});
}

void HelpButton::OnSetIcon(Resources::Bitmap* bitmap) {
  ButtonClass::OnSetIcon(bitmap);
  FitWidth();
}

void HelpButton::OnSetText(const kv::String& text) {
  ButtonClass::OnSetText(text);
  FitWidth();
}

void HelpButton::Refresh() {
  ButtonClass::Refresh();
  const kv::Rect b = Bounds();
  int32_t iconW = 0;
  if (Resources::Bitmap* icon = OnGetIcon()) {
    const kv::Point size = icon->GetFrameSize();
    iconW = size.x;
    const int32_t y = (b.H() - size.y) / 2;
    IconView().OnSetBounds({0, y, size.x, y + size.y});
  }
  const int32_t x = iconW > 0 ? iconW + kIconGap : 0;
  TextView().OnSetBounds({x, 4, std::max(x, b.W()), b.H()});
}

// --- HelpBar -------------------------------------------------------------------------

HelpBar::HelpBar() {
  KeyRoutingForm::OnSetBounds({0, 0, kFullWidth, kBarHeight});
  WidgetOrigin = kFullOrigin;
  Layer = 64;
  WinID = WinIDs::WIN_ID_HelpBar;
  FocusOnOpen = false;
  OnTimeOut = kv::Slot();
  background_.OnSetColor({0, 0, 0, 176});
  RestackTop(&background_);
  Restack(&frame_, -GetChildCount());
  HelpStringList = kv::GetVariantOfString(Strings::SID_ENTER);
}

const Resources::BitmapId* HelpBar::IconOf(int32_t bit) {
  return bit >= 0 && bit < static_cast<int32_t>(std::size(kIcons)) ? kIcons[bit] : nullptr;
}

void HelpBar::RemoveAllButtons() {
  builtValid_ = false;
  for (int32_t i = GetChildCount() - 1; i >= 0; --i) {
    Core::View* child = GetChild(i);
    if (kv::Cast<HelpButton>(child)) Remove(child);
  }
}

void HelpBar::ParseHelpMask() {
  parsedCount_ = 0;
  for (int32_t bit = 0; bit < kHelpMaskBits; ++bit)
    if (HelpButtonMask & (1 << bit)) parsedBits_[static_cast<size_t>(parsedCount_++)] = bit;
}

void HelpBar::UpdateHelp() {
  // The same keys and texts again (a screen that shows its help when it opens
  // and again when it gains the focus): the buttons stand as they are.
  if (!builtValid_ || builtMask_ != HelpButtonMask || kv::CompString(builtText_, HelpStringList) != 0) {
    RemoveAllButtons();
    ParseHelpMask();
    for (int32_t i = 0; i < parsedCount_; ++i) {
      const int32_t bit = parsedBits_[static_cast<size_t>(i)];
      auto* button = kv::New<HelpButton>();
      const Resources::BitmapId* icon = IconOf(bit);
      button->OnSetIcon(icon ? Resources::LoadResource(*icon) : nullptr);
      button->OnSetText(::Wrapper::Wrapper::ParseStringItem(HelpStringList, i, u','));
      button->OnSetVisible(true);
      Add(button);
    }
    builtValid_ = true;
    builtMask_ = HelpButtonMask;
    builtText_ = HelpStringList;
  }
  const bool shortBar = (HelpButtonMask & (1 << kHelpShortBarBit)) != 0;
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x1 + (shortBar ? kShortWidth : kFullWidth), b.y2});
  WidgetOrigin = shortBar ? kShortOrigin : kFullOrigin;
  Post(&WidgetClass::RefreshSlot);
}

void HelpBar::Refresh() {
  WidgetClass::Refresh();
  int32_t total = 0;
  for (int32_t i = 0; i < GetChildCount(); ++i)
    if (auto* button = kv::Cast<HelpButton>(GetChild(i))) total += button->Bounds().W() + ButtonSpacing;
  int32_t x = (Bounds().W() + ButtonSpacing - total) / 2;
  for (int32_t i = 0; i < GetChildCount(); ++i) {
    auto* button = kv::Cast<HelpButton>(GetChild(i));
    if (!button) continue;
    const kv::Rect bb = button->Bounds();
    button->OnSetBounds({x, 0, x + bb.W(), bb.H()});
    x += bb.W() + ButtonSpacing;
  }
}

void HelpBar::ReInit() {
  WidgetClass::ReInit();
  HelpStringList = kv::GetVariantOfString(Strings::SID_ENTER);
  builtValid_ = false;  // icons and texts of the new language
  // The buttons are rebuilt after every object has re-initialised.
  kv::PostSignal(kv::MakeSlot(this, &HelpBar::UpdateHelpSlot));
}

// --- Whose keys the bar shows --------------------------------------------------------

Primitives::KeyRoutingForm* HelpBar::ScreenInFocus(Core::View* view) {
  Core::Root* root = view ? view->GetRoot() : nullptr;
  if (!root) return nullptr;
  ::WidgetManager::WidgetManager* wm = Manager();
  Primitives::KeyRoutingForm* screen = nullptr;
  for (Core::View* v : Core::FocusPath(*root)) {
    auto* form = kv::Cast<Primitives::KeyRoutingForm>(v);
    if (form && !kv::Cast<HelpBar>(form) && wm->Contains(form)) screen = form;
  }
  return screen;
}

void HelpBar::Show(int32_t mask, const kv::String& text) {
  OnSetHelpButtonMask(mask);
  OnSetHelpStringList(text);
  UpdateHelp();
  const kv::Rect b = Bounds();
  OnSetBounds({WidgetOrigin.x, WidgetOrigin.y, WidgetOrigin.x + b.W(), WidgetOrigin.y + b.H()});
}

void HelpBar::PutUpFor(Primitives::KeyRoutingForm* owner, int32_t mask, const kv::String& text) {
  // A screen that puts its keys up again moves to the top with its new keys.
  for (size_t i = owners_.size(); i-- > 0;)
    if (owners_[i] == owner) {
      owners_.erase(i);
      masks_.erase(masks_.begin() + static_cast<std::ptrdiff_t>(i));
      texts_.erase(texts_.begin() + static_cast<std::ptrdiff_t>(i));
    }
  if (owners_.size() >= kRememberedOwners) {
    owners_.erase(0);
    masks_.erase(masks_.begin());
    texts_.erase(texts_.begin());
  }
  owners_.push_back(owner);
  masks_.push_back(mask);
  texts_.push_back(text);
  if (owner && !watching_) {
    kv::AttachObjObserver(kv::MakeSlot(this, &HelpBar::FormClosed), Manager());
    watching_ = true;
  }
  // A page of the menu is no screen of the widget manager: its menu tells
  // when it goes.
  Core::Group* menu = kv::Cast<SubSystem::MenuClass>(owner) ? owner->Owner() : nullptr;
  if (menu && !watchedMenu_) {
    kv::AttachObjObserver(kv::MakeSlot(this, &HelpBar::FormClosed), menu);
    watchedMenu_ = menu;
  }
  Show(mask, text);
}

void HelpBar::FormClosed(kv::Object* /*sender*/) {
  // The screen that closed may be replaced in the same pass (the next step of
  // a dialog): the owners are looked at once the pass is over.
  if (IsOpen()) kv::PostSignal(kv::MakeSlot(this, &HelpBar::DropClosedOwners));
}

void HelpBar::DropClosedOwners(kv::Object* /*sender*/) {
  if (!IsOpen() || owners_.empty()) return;
  Primitives::KeyRoutingForm* top = owners_.back();
  const int32_t topMask = masks_.back();
  const kv::String topText = texts_.back();
  for (size_t i = owners_.size(); i-- > 0;) {
    Primitives::KeyRoutingForm* owner = owners_[i];
    if (!owner || owner->IsOpen()) continue;
    owners_.erase(i);
    masks_.erase(masks_.begin() + static_cast<std::ptrdiff_t>(i));
    texts_.erase(texts_.begin() + static_cast<std::ptrdiff_t>(i));
  }
  if (owners_.empty()) {
    Close();
    return;
  }
  if (owners_.back() != top || masks_.back() != topMask || kv::CompString(texts_.back(), topText) != 0)
    Show(masks_.back(), texts_.back());
}

void HelpBar::Close() {
  if (watching_) {
    kv::DetachObjObserver(kv::MakeSlot(this, &HelpBar::FormClosed), Manager());
    watching_ = false;
  }
  if (Core::Group* menu = watchedMenu_.get()) {
    kv::DetachObjObserver(kv::MakeSlot(this, &HelpBar::FormClosed), menu);
    watchedMenu_ = nullptr;
  }
  owners_.clear();
  masks_.clear();
  texts_.clear();
  WidgetClass::Close();
}

}  // namespace NonMenuSystem
