#include "units/NonMenuSystem/BaseColorAdjustmentBar.h"

#include "keys/keycodes.h"
#include "runtime/trace.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Primitives/StateValues.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::BaseColorAdjustItem);
KV_REGISTER_CLASS(NonMenuSystem::BaseColorAdjustmentBar);
KV_REGISTER_CLASS(NonMenuSystem::ColorPad);

namespace NonMenuSystem {

namespace {

using namespace keys;

constexpr uint32_t kHelpMask = 0x10000024;
constexpr int32_t kFirstHue = static_cast<int32_t>(0x87000000u);
// The dialog-information text colour of the column headings.
constexpr kv::Color kHeadingColor = Colors::InputLabelStandardTextColor;

Core::KeyEvent* DownKey(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key : nullptr;
}

// The swatch of each of the six hue ids (red, green, blue, yellow, magenta, cyan).
constexpr uint32_t kHueSwatch[6] = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFF00FFFFu, 0xFFFF00FFu, 0xFFFFFF00u};

// The bar opens on one colour: the id of its first option, the hue.
bool IsHueId(int32_t id) {
  const int64_t offset = static_cast<int64_t>(id) - kFirstHue;
  return offset >= 0 && offset < 18 && offset % 3 == 0;
}

// The pad's colours, row by row, as 0xRRGGBB.
constexpr uint32_t kPadColors[ColorPad::kRows][ColorPad::kColumns] = {
    {0xEBEBEB, 0xD9D9D9, 0xAAAAAA, 0x808080, 0x555555, 0x2B2B2B, 0x111111},
    {0xD41900, 0xFE9F12, 0xF9FF15, 0x92E334, 0x5DCFBD, 0x4579F7, 0x9258E8},
    {0xA71605, 0xCC8316, 0xC9C818, 0x73B12A, 0x3E9B8C, 0x3961BE, 0x7447B8},
    {0x79120A, 0x99661B, 0x989218, 0x537E21, 0x1F675C, 0x2C4985, 0x573589},
    {0x4C0F0F, 0x66491F, 0x665B19, 0x344C17, 0x00332B, 0x20314C, 0x392459},
};

// 0xRRGGBB to the word with red in the low byte, opaque.
constexpr uint32_t ToWord(uint32_t rgb) {
  return 0xFF000000u | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

void AppendDigits(std::string& s, uint32_t v) {
  s += static_cast<char>('0' + v / 100 % 10);
  s += static_cast<char>('0' + v / 10 % 10);
  s += static_cast<char>('0' + v % 10);
}

}  // namespace

KV_STATE_VALUES(BaseColorAdjustmentBar, IsHueId,
                "the hue of one of the six colours (0x87000000, 0x87000003 ... 0x8700000F)");

// --- BaseColorAdjustItem ----------------------------------------------------------

BaseColorAdjustItem::BaseColorAdjustItem() {
  up_.OnSetBitmap(Resources::LoadResource(Bitmaps::BaseColorAdjustUpArrow));
  down_.OnSetBitmap(Resources::LoadResource(Bitmaps::BaseColorAdjustDownArrow));
  up_.OnSetVisible(false);
  down_.OnSetVisible(false);
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetValue(0);
}

void BaseColorAdjustItem::OnSetOptionType(int32_t id) {
  OptionType = id;
  OptionDatabase::SliderCourier* c = OptionBinding::SliderOf(OptionBinding::Find(id));
  if (!c) return;
  Max = c->Max;
  Min = c->Min;
  Step = c->Step;
  OnSetValue(c->Value);
}

void BaseColorAdjustItem::OnSetValue(int32_t v) {
  Value = v > Max ? Max : (v > Min ? v : Min);
  const kv::String number = kv::NewStringInt(Value, 0);
  OnSetText(Value >= 1 ? kv::ConcatString(kv::LoadString(BASECOLOR_SIGN), number) : number);
}

void BaseColorAdjustItem::ChangeValue() {
  OptionDatabase::OptionDataClass* record = OptionBinding::Find(OptionType);
  if (record && record->HasProperty()) record->RefValue.Set(Value);
  OptionBinding::MarkOptionChange(OptionType);
}

kv::Object* BaseColorAdjustItem::HandleEvent(Core::Event* event) {
  Core::KeyEvent* key = DownKey(event);
  if (!key || (key->Code != KEY_UP && key->Code != KEY_DOWN))
    return Primitives::KeyRoutingCtrl::HandleEvent(event);
  // No wrap: at a limit the same value is written (and marked) again.
  OnSetValue(key->Code == KEY_UP ? Value + Step : Value - Step);
  ChangeValue();
  kv::Signal(OnResetTimeout, this);
  return this;
}

void BaseColorAdjustItem::HandleFocus(bool focused) {
  SkinBin::Button::HandleFocus(focused);
  up_.OnSetVisible(focused);
  down_.OnSetVisible(focused);
  InvalidateView();
}

void BaseColorAdjustItem::Refresh() {
  SkinBin::Button::Refresh();
  const int32_t w = Bounds().W(), h = Bounds().H();
  // Background and value in a 25-pixel band from y 6; the arrows above and below it.
  BackgroundView().OnSetBounds({0, 6, w, 31});
  TextView().OnSetBounds({0, 6, w, 31});
  const kv::Rect u = up_.Bounds(), d = down_.Bounds();
  const int32_t uw = u.W() > 0 ? u.W() : 12, uh = u.H() > 0 ? u.H() : 6;
  const int32_t dw = d.W() > 0 ? d.W() : 12, dh = d.H() > 0 ? d.H() : 6;
  up_.OnSetBounds({(w - uw) / 2, 0, (w - uw) / 2 + uw, uh});
  down_.OnSetBounds({(w - dw) / 2, h - dh, (w - dw) / 2 + dw, h});
}

void BaseColorAdjustItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  SkinBin::Button::Draw(target, clip, origin, opacity);
  DrawPart(up_, target, clip, origin, opacity);
  DrawPart(down_, target, clip, origin, opacity);
}

// --- BaseColorAdjustmentBar --------------------------------------------------------

BaseColorAdjustmentBar::BaseColorAdjustmentBar() {
  WinID = WinIDs::WIN_ID_BaseColorAdjustmentBar;
  KeyRoutingForm::OnSetBounds({0, 0, 540, 80});
  WidgetOrigin = {5, 455};
  PrevState = KV_LATE_CLASS("MenuSystem::BaseColorAdjustmentMenu");
  OnTimeOut = kv::MakeSlot(this, &WidgetClass::ClearAllSlot);

  name_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  name_.OnSetColor(Colors::StandardTextColor);
  name_.OnSetAlignV(1);
  name_.OnSetEllipsis(true);
  name_.OnSetBounds({60, 44, 120, 66});
  name_.OnSetString(kv::GetVariantOfString(SID_RED));
  swatch_.OnSetBounds({20, 38, 50, 68});
  swatch_.OnSetColor(kv::Color::FromWord(kHueSwatch[0]));
  swatchBorder_.OnSetBounds({20, 38, 50, 68});
  swatchBorder_.OnSetWidth(1);
  swatchBorder_.OnSetColor(Colors::StandardTextColor);
  Add(&name_);
  Add(&swatch_);
  Add(&swatchBorder_);

  const kv::MultiTextId* headings[3] = {&SID_HUE, &SID_SATURATION, &SID_BRIGHTNESS};
  // Each heading is centred over its column, as wide as the column.
  const kv::Rect headingBounds[3] = {{200, 13, 300, 35}, {310, 13, 410, 35}, {420, 13, 520, 35}};
  const kv::Rect itemBounds[3] = {{200, 35, 300, 72}, {310, 35, 410, 72}, {420, 35, 520, 72}};
  for (int i = 0; i < 3; ++i) {
    Views::Text& t = headings_[i];
    t.OnSetFont(Resources::LoadResource(Fonts::BannerDescription));
    t.OnSetColor(kHeadingColor);
    t.OnSetAlignH(1);
    t.OnSetAlignV(1);
    t.OnSetBounds(headingBounds[i]);
    t.OnSetString(kv::GetVariantOfString(*headings[i]));
    Add(&t);
    items_[i].OnSetBounds(itemBounds[i]);
    items_[i].OnResetTimeout = kv::MakeSlot(this, &BaseColorAdjustmentBar::ResetTimeoutSlot);
    Add(&items_[i]);
  }
  OnSetFocus(&items_[0]);
}

void BaseColorAdjustmentBar::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) OnSetOptionType(ref->Value);
  OptionBinding::ShowHelp(this, kHelpMask,
                          {kv::GetVariantOfString(Strings::SID_SELECT), kv::GetVariantOfString(SID_ADJUST)});
}

void BaseColorAdjustmentBar::OnSetOptionType(int32_t id) {
  OptionType = id;
  OptionDatabase::OptionDataClass* record = OptionBinding::Find(id);
  if (OptionBinding::SliderOf(record)) name_.OnSetString(record->Name);
  if (IsHueId(id)) swatch_.OnSetColor(kv::Color::FromWord(kHueSwatch[(static_cast<int64_t>(id) - kFirstHue) / 3]));
  // Option ids are 32-bit patterns: the colour's three options follow its
  // first, whatever id the bar was given.
  for (uint32_t i = 0; i < 3; ++i) items_[i].OnSetOptionType(static_cast<int32_t>(static_cast<uint32_t>(id) + i));
}

void BaseColorAdjustmentBar::ResetTimeoutSlot(kv::Object*) { ResetTimeout(); }

kv::Object* BaseColorAdjustmentBar::HandleEvent(Core::Event* event) {
  Core::KeyEvent* key = DownKey(event);
  if (!key || (key->Code != KEY_OK && key->Code != KEY_LEFT && key->Code != KEY_RIGHT))
    return BorderWidgetClass::HandleEvent(event);
  if (key->Code == KEY_LEFT && !SelectPrev()) SelectLast();
  if (key->Code == KEY_RIGHT && !SelectNext()) SelectFirst();
  ResetTimeout();
  return this;
}

// --- ColorPad ------------------------------------------------------------------------

ColorPad::ColorPad() {
  OnSetHasCaption(false);
  OnSetFrameWidth(0);
  KeyRoutingForm::OnSetBounds({0, 0, 380, 300});
  IsShortcut = true;
  for (int32_t r = 0; r < kRows; ++r) {
    for (int32_t c = 0; c < kColumns; ++c) {
      SkinBin::ColorButton& b = Button(r, c);
      b.OnSetBounds({20 + 40 * c, 20 + 40 * r, 52 + 40 * c, 52 + 40 * r});
      b.OnSetColor(ToWord(kPadColors[r][c]));
      b.OnActivate = kv::MakeSlot(this, &ColorPad::SelectSlot);
      Add(&b);
    }
  }
}

void ColorPad::OnSetCurrentButton(kv::Point p) {
  CurrentButton = p;
  OnSetFocus(&Button(p.x, p.y));
}

void ColorPad::HandleFocus(bool focused) {
  KXDWidgetClass::HandleFocus(focused);
  if (!focused) return;
  kv::String stored;
  if (SkinBin::Wrapper* w = Live::Skin())
    if (auto* store = w->PersistentData.get()) stored = store->GetString(KEY_SCREEN_SAVER_COLOR);
  kv::Trace("%s%s", {kv::LoadString(COLOR_PAD_TRACE), stored});
  kv::Point p{0, 0};
  if (stored.Length() >= 2) {
    const int32_t row = stored.At(0) - '0', column = stored.At(1) - '0';
    p.x = row >= 0 && row < kRows ? row : 0;
    p.y = column >= 0 && column < kColumns ? column : 0;
  }
  OnSetCurrentButton(p);
}

kv::Object* ColorPad::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || key->Code < KEY_UP || key->Code > KEY_RIGHT) return KXDWidgetClass::HandleEvent(event);
  // Press and release alike; Left and Right walk the pad as one ring in reading order.
  kv::Point p = CurrentButton;
  switch (key->Code) {
    case KEY_DOWN:
      if (p.x < kRows - 1) ++p.x;
      break;
    case KEY_UP:
      if (p.x > 0) --p.x;
      break;
    case KEY_LEFT:
      if (p.y >= 1) {
        --p.y;
      } else {
        p.y = kColumns - 1;
        p.x = p.x > 0 ? p.x - 1 : kRows - 1;
      }
      break;
    default:
      if (p.y < kColumns - 1) {
        ++p.y;
      } else {
        p.y = 0;
        p.x = p.x < kRows - 1 ? p.x + 1 : 0;
      }
      break;
  }
  OnSetCurrentButton(p);
  ResetTimeout();
  return this;
}

void ColorPad::SelectSlot(kv::Object* button) {
  std::string text = std::to_string(CurrentButton.x) + std::to_string(CurrentButton.y);
  if (auto* swatch = kv::Cast<SkinBin::ColorButton>(button)) {
    const uint32_t c = swatch->OnGetColor();
    AppendDigits(text, c & 0xFF);
    AppendDigits(text, (c >> 8) & 0xFF);
    AppendDigits(text, (c >> 16) & 0xFF);
  }
  const kv::String value = kv::NewStringAnsi(text.c_str());
  kv::Trace("%s%s", {kv::LoadString(COLOR_PAD_TRACE), value});
  if (SkinBin::Wrapper* w = Live::Skin())
    if (auto* store = w->PersistentData.get()) store->PutString(KEY_SCREEN_SAVER_COLOR, value);
  OptionBinding::Announce(Constants::MSG_OPTION_CHANGE);
  Post(&WidgetClass::EnterPrevStateSlot);
}

}  // namespace NonMenuSystem
