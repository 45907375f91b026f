#include "units/NonMenuSystem/KeyPad.h"

#include <algorithm>
#include <array>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Font.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::KeyPadButton);
KV_REGISTER_CLASS(NonMenuSystem::KeyPadModeButton);
KV_REGISTER_CLASS(NonMenuSystem::KeyPadEditButton);
KV_REGISTER_CLASS(NonMenuSystem::KeyboardForm);
KV_REGISTER_CLASS(NonMenuSystem::KeyPad);

namespace NonMenuSystem {

namespace {

using namespace keys;

constexpr int32_t kKeySize = 27;
constexpr int32_t kKeyPitch = 28;
constexpr int32_t kKeysPerRow = 7;
constexpr int32_t kMaxKeys = 35;
constexpr int32_t kLetters = 26;
constexpr int32_t kBlinkPeriod = 600;
constexpr int32_t kCursorHeight = 26;
constexpr int32_t kEditMargin = 6;
constexpr uint32_t kHelpMaskLatin = 0xF203;
constexpr uint32_t kHelpMask = 0xB203;
constexpr uint32_t kKeyPadLayer = 128;
constexpr kv::Color kKeyText{200, 200, 200, 255};
constexpr kv::Color kHighlight{58, 136, 214, 255};

// The accented variants of each letter position (the same for both cases).
constexpr std::array<int32_t, kLetters> kVariantCounts{8, 0, 2, 0, 5, 0, 2, 0, 5, 0, 0, 0, 0,
                                                        2, 7, 0, 0, 0, 2, 0, 5, 0, 0, 0, 2, 0};

struct LatinRow {
  int32_t letter;
  kv::TextId upper;
  kv::TextId lower;
};
constexpr LatinRow kLatinRows[] = {
    {0, KEYPAD_UPPER_A, KEYPAD_LOWER_A},  {2, KEYPAD_UPPER_C, KEYPAD_LOWER_C},  {4, KEYPAD_UPPER_E, KEYPAD_LOWER_E},
    {6, KEYPAD_UPPER_G, KEYPAD_LOWER_G},  {8, KEYPAD_UPPER_I, KEYPAD_LOWER_I},  {13, KEYPAD_UPPER_N, KEYPAD_LOWER_N},
    {14, KEYPAD_UPPER_O, KEYPAD_LOWER_O}, {18, KEYPAD_UPPER_S, KEYPAD_LOWER_S}, {20, KEYPAD_UPPER_U, KEYPAD_LOWER_U},
    {24, KEYPAD_UPPER_Y, KEYPAD_LOWER_Y},
};

kv::String CharOf(const kv::String& layout, int32_t i) {
  return i >= 0 && i < layout.Length() ? kv::StringMiddle(layout, i, 1) : kv::String();
}

// The i-th label of the digit layout (its tenth key is typed by code 10).
kv::String DigitLabel(uint16_t code) {
  return CharOf(kv::LoadString(KEYPAD_DIGITS), code == KEY_0 ? 9 : code - KEY_0 - 1);
}

}  // namespace

// --- KeyPadButton ----------------------------------------------------------------------------

KeyPadButton::KeyPadButton() {
  OnSetBounds({0, 0, kKeySize, kKeySize});
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::KeyPadButtonNonfocus));
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::KeyPadButtonFocus));
  OnSetNonfocused_TextColor(kKeyText);
  OnSetFocused_TextColor(kKeyText);
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  const kv::Rect t = TextView().Bounds();
  TextView().OnSetBounds({t.x1, t.y1 + 1, t.x2, t.y2 + 1});
}

// --- KeyPadModeButton ----------------------------------------------------------------------------

KeyPadModeButton::KeyPadModeButton() {
  OnSetIcon(Resources::LoadResource(Bitmaps::KeyPadUpperAFocus));
}

void KeyPadModeButton::Refresh() {
  ButtonClass::Refresh();
  IconView().OnSetBounds({0, 0, Bounds().W(), Bounds().H()});
}

// --- KeyPadEditButton ----------------------------------------------------------------------------

KeyPadEditButton::KeyPadEditButton() {
  OnSetNonfocused_TextColor({0, 0, 0, 255});
  OnSetFocused_TextColor({0, 0, 0, 255});
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetTextAlignH(0);
  OnSetMaxLength(1000);
  OnSetEditModeEnabled(true);
  OnSetEraseKey(KEY_RED);
  // The red key is offered as Delete by the help bar: it deletes the
  // character before the cursor.
  OnSetEnableEraseKey(true);
  OnSetLeftMargin(kEditMargin);
  OnSetRightMargin(kEditMargin);
  OnSetNonfocused_BackgroundColor({236, 238, 242, 255});
  OnSetFocused_BackgroundColor({236, 238, 242, 255});
  cursor_.OnSetColor({0, 0, 0, 255});
  cursor_.OnSetBounds({kEditMargin, 0, kEditMargin + 2, kCursorHeight});
  blink_.OnSetPeriod(kBlinkPeriod);
  blink_.OnSetBegin(kBlinkPeriod);
  blink_.OnTrigger = kv::MakeSlot(this, &KeyPadEditButton::CursorSlot);
}

void KeyPadEditButton::OnSetTextString(const kv::String& text) {
  TextEdit::OnSetTextString(text);
  Changed();
}

void KeyPadEditButton::OnSetCursorPos(int32_t pos) {
  TextEdit::OnSetCursorPos(pos);
  if (IsLatinMode) kv::Signal(OnExitLatinMode, this);
  Changed();
}

void KeyPadEditButton::Changed() {
  Refresh();
  kv::Signal(OnRefreshArrows, this);
}

void KeyPadEditButton::Insert(const kv::String& part) {
  InsertAtCursor(part);
  Changed();
}

void KeyPadEditButton::ReplaceBeforeCursor(const kv::String& part) {
  const int32_t pos = OnGetCursorPos();
  if (pos <= 0) return;
  const kv::String& text = OnGetTextString();
  SetTextAndCursor(kv::ConcatString(kv::ConcatString(kv::StringMiddle(text, 0, pos - 1), part),
                                    kv::StringMiddle(text, pos, text.Length())),
                   pos);
  Changed();
}

void KeyPadEditButton::Refresh() {
  const kv::Rect b = Bounds();
  const int32_t x = std::clamp(GetCursorX(), OnGetLeftMargin(), std::max(OnGetLeftMargin(), b.W() - OnGetRightMargin()));
  const int32_t top = (b.H() - kCursorHeight) / 2;
  cursor_.OnSetBounds({x, top, x + 2, top + kCursorHeight});
  const Resources::Font* font = TextView().EffectiveFont();
  const kv::String& text = OnGetTextString();
  const int32_t room = b.W() - OnGetLeftMargin() - OnGetRightMargin();
  const int32_t width = font ? font->GetTextWidth(text) : 0;
  overflowLeft_ = OnGetTextShift() > 0;
  overflowRight_ = width - OnGetTextShift() > room;
  ShowHighlight();
}

void KeyPadEditButton::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  // The cursor line stands between the field's face and its letters: where
  // a letter reaches past its advance ("t" before "r") the letter stays
  // whole over the line. It is drawn as the caret it is, not watched as a
  // box that the text would run into.
  DrawBackground(target, clip, origin, opacity);
  if (cursor_.IsVisible()) {
    const kv::Rect at = cursor_.Bounds().Move(origin);
    if (const kv::Rect c = clip.Intersect(at); !c.IsEmpty()) cursor_.Draw(target, c, at.Origin(), opacity);
  }
  DrawContent(target, clip, origin, opacity);
}

void KeyPadEditButton::ShowHighlight() {
  // The highlighted letter is the field's own letter in the highlight
  // colour, in its place: a second text drawn over the plain one would
  // garble both.
  const int32_t pos = OnGetCursorPos();
  if (IsLatinMode && highlightOn_ && pos > 0)
    TextView().OnSetMarkedRange(pos - 1, 1, kHighlight);
  else
    TextView().OnSetMarkedRange(0, 0, {});
}

void KeyPadEditButton::OnSetIsLatinMode(bool on) {
  IsLatinMode = on;
  cursor_.OnSetVisible(!on);
  highlightOn_ = on;
  Refresh();
  InvalidateView();
}

void KeyPadEditButton::CursorSlot(kv::Object*) {
  if (IsLatinMode) {
    highlightOn_ = !highlightOn_;
    ShowHighlight();
  } else {
    cursor_.OnSetVisible(!cursor_.IsVisible());
    InvalidateView();
  }
}

kv::Object* KeyPadEditButton::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || !OnGetEditModeEnabled()) return TextEdit::HandleEvent(event);
  const int32_t length = OnGetTextString().Length();
  const int32_t pos = OnGetCursorPos();
  if (key->Code == OnGetEraseKey()) {
    if (!OnGetEnableEraseKey()) return TextEdit::HandleEvent(event);
    if (!IsLatinMode && length > 0 && pos > 0) {
      DeleteBeforeCursor();
      Changed();
    }
    return this;
  }
  if (IsDigitKey(key->Code)) {
    if (key->Char >= u'0' && key->Char <= u'9' && length < OnGetMaxLength()) Insert(DigitLabel(key->Code));
    return this;
  }
  // Previous and Next move the cursor to the ends, Rewind and Forward by one.
  switch (key->Code) {
    case KEY_PREV: OnSetCursorPos(0); return this;
    case KEY_NEXT: OnSetCursorPos(length); return this;
    case KEY_REWIND: OnSetCursorPos(std::max(0, pos - 1)); return this;
    case KEY_FORWARD: OnSetCursorPos(std::min(length, pos + 1)); return this;
    default: return TextEdit::HandleEvent(event);
  }
}

// --- KeyboardForm -----------------------------------------------------------------------------------

KeyboardForm::KeyboardForm() {
  KeyRoutingForm::OnSetBounds({0, 0, 195, 139});
  OnTimeOut = kv::Slot();
  OnSetTimeOutValue(0);
}

int32_t KeyboardForm::VariantCount(int32_t letter) {
  return letter >= 0 && letter < kLetters ? kVariantCounts[static_cast<size_t>(letter)] : 0;
}

int32_t KeyboardForm::KeyCount() const {
  if (KeyboardMode & KEYBOARD_LATIN) return VariantCount(CurrentIndex);
  switch (KeyboardMode) {
    case KEYBOARD_DIGITS: return kv::LoadString(KEYPAD_DIGITS).Length();
    case KEYBOARD_SYMBOLS: return kv::LoadString(KEYPAD_SYMBOLS).Length();
    default: return kv::LoadString(KEYPAD_UPPER).Length();
  }
}

kv::String KeyboardForm::GetItemLabel(int32_t index) const {
  if (KeyboardMode & KEYBOARD_LATIN) {
    for (const LatinRow& row : kLatinRows)
      if (row.letter == CurrentIndex)
        return CharOf(kv::LoadString((KeyboardMode & KEYBOARD_LOWER) ? row.lower : row.upper), index);
    return kv::String();
  }
  switch (KeyboardMode) {
    case KEYBOARD_LOWER: return CharOf(kv::LoadString(KEYPAD_LOWER), index);
    case KEYBOARD_DIGITS: return CharOf(kv::LoadString(KEYPAD_DIGITS), index);
    case KEYBOARD_SYMBOLS: return CharOf(kv::LoadString(KEYPAD_SYMBOLS), index);
    default: return CharOf(kv::LoadString(KEYPAD_UPPER), index);
  }
}

void KeyboardForm::OnSetKeyboardMode(uint8_t mode) {
  KeyboardMode = mode;
  LoadKeyboard();
}

void KeyboardForm::RemoveAllButtons() {
  for (int32_t i = GetChildCount() - 1; i >= 0; --i)
    if (auto* key = kv::Cast<KeyPadButton>(GetChild(i))) Remove(key);
}

void KeyboardForm::LoadKeyboard() {
  RemoveAllButtons();
  const int32_t count = std::min(KeyCount(), kMaxKeys);
  KeyPadButton* focus = nullptr;
  if (!KeyTyped) CurrentIndex = 0;
  const int32_t focusIndex = (KeyboardMode & KEYBOARD_LATIN) ? 0 : CurrentIndex;
  for (int32_t i = 0; i < count; ++i) {
    auto* key = kv::New<KeyPadButton>();
    key->OnSetText(GetItemLabel(i));
    key->Index = i;
    key->OnActivate = kv::MakeSlot(this, &KeyboardForm::DoActivate);
    Add(key);
    if (i == focusIndex) focus = key;
  }
  Refresh();
  if (focus) OnSetFocus(focus);
}

void KeyboardForm::Refresh() {
  int32_t i = 0;
  for (int32_t c = 0; c < GetChildCount(); ++c) {
    auto* key = kv::Cast<KeyPadButton>(GetChild(c));
    if (!key) continue;
    const int32_t x = (i % kKeysPerRow) * kKeyPitch;
    const int32_t y = (i / kKeysPerRow) * kKeyPitch;
    key->OnSetBounds({x, y, x + kKeySize, y + kKeySize});
    ++i;
  }
  KeyRoutingForm::Refresh();
}

void KeyboardForm::SelectWrap(uint16_t key) {
  auto* focused = kv::Cast<Forms::Ctrl>(OnGetFocus());
  if (!focused) {
    if (key == KEY_UP || key == KEY_LEFT)
      SelectLast();
    else
      SelectFirst();
    return;
  }
  const kv::Rect f = focused->Bounds();
  auto sameX = [&](Forms::Ctrl* c) { return c && c->Bounds().x1 == f.x1; };
  auto sameY = [&](Forms::Ctrl* c) { return c && c->Bounds().y1 == f.y1; };
  Forms::Ctrl* target = nullptr;
  switch (key) {
    case KEY_UP:
    case KEY_DOWN: {
      Forms::Ctrl* next = key == KEY_UP ? GetUpperCtrl(focused) : GetLowerCtrl(focused);
      if (sameX(next)) {
        target = next;
      } else {
        // Wrap to the other end of the column.
        target = focused;
        for (Forms::Ctrl* c = target; c;) {
          Forms::Ctrl* step = key == KEY_UP ? GetLowerCtrl(c) : GetUpperCtrl(c);
          if (!sameX(step)) break;
          target = c = step;
        }
      }
      break;
    }
    case KEY_LEFT:
    case KEY_RIGHT: {
      Forms::Ctrl* next = key == KEY_LEFT ? GetLeftCtrl(focused) : GetRightCtrl(focused);
      if (sameY(next)) {
        target = next;
      } else {
        target = focused;
        for (Forms::Ctrl* c = target; c;) {
          Forms::Ctrl* step = key == KEY_LEFT ? GetRightCtrl(c) : GetLeftCtrl(c);
          if (!sameY(step)) break;
          target = c = step;
        }
      }
      break;
    }
    default:
      break;
  }
  if (target && target != focused) OnSetFocus(target);
}

kv::Object* KeyboardForm::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code >= KEY_UP && key->Code <= KEY_RIGHT) {
    SelectWrap(key->Code);
    kv::Signal(FocusMove, this);
    return this;
  }
  return KeyRoutingForm::HandleEvent(event);
}

void KeyboardForm::DoActivate(kv::Object* sender) {
  kv::Signal(FocusMove, this);
  auto* key = kv::Cast<KeyPadButton>(sender);
  auto* pad = kv::Cast<KeyPad>(Parent.get());
  if (key && pad) {
    KeyPadEditButton& edit = pad->EditField();
    if (edit.OnGetTextString().Length() < pad->MaxLabelLength) {
      if (pad->IsLatinMode) {
        edit.ReplaceBeforeCursor(key->OnGetText());
      } else {
        CurrentIndex = key->Index;
        edit.Insert(key->OnGetText());
      }
    }
  }
  KeyTyped = true;
}

bool KeyboardForm::SwitchLatinMode() {
  if (KeyboardMode & KEYBOARD_LATIN) {
    OnSetKeyboardMode(static_cast<uint8_t>(KeyboardMode - KEYBOARD_LATIN));
    return true;
  }
  if ((KeyboardMode == KEYBOARD_UPPER || KeyboardMode == KEYBOARD_LOWER) && CurrentIndex < kLetters &&
      VariantCount(CurrentIndex) > 0) {
    OnSetKeyboardMode(static_cast<uint8_t>(KeyboardMode + KEYBOARD_LATIN));
    return true;
  }
  return false;
}

// --- KeyPad ------------------------------------------------------------------------------------------

KeyPad::KeyPad() {
  WinID = WinIDs::WIN_ID_KeyPad;
  Layer = kKeyPadLayer;
  KeyRoutingForm::OnSetBounds({0, 0, kWidth, kHeight});
  background_.OnSetVisible(false);
  frame_.OnSetBitmap(Resources::LoadResource(Bitmaps::KeyPadBg));
  frame_.OnSetVisible(true);
  const int32_t xs[4] = {142, 161, 180, 199};
  for (int i = 0; i < 4; ++i) {
    ModeButton(i).OnSetBounds({xs[i], 8, xs[i] + 18, 8 + 20});
    ModeButton(i).OnSetVisible(true);
    Add(&ModeButton(i));
  }
  edit_.OnSetBounds({23, 35, 217, 35 + 27});
  edit_.OnRefreshArrows = kv::MakeSlot(this, &KeyPad::RefreshArrows);
  edit_.OnExitLatinMode = kv::MakeSlot(this, &KeyPad::ExitLatinMode);
  edit_.OnSetMaxLength(MaxLabelLength);
  Add(&edit_);
  keyboard_.OnSetBounds({23, 70, 23 + 195, 70 + 139});
  keyboard_.FocusMove = kv::MakeSlot<KeyRoutingForm>(this, &KeyRoutingForm::ResetTimeout);
  Add(&keyboard_);
  for (Views::Image* arrow : {&leftArrow_, &rightArrow_}) {
    arrow->OnSetAutoSize(true);
    arrow->OnSetVisible(false);
    Add(arrow);
  }
  leftArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::KeyPadLeftArrow));
  rightArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::KeyPadRightArrow));
  leftArrow_.OnSetBounds({3, 35, 3 + 14, 35 + 18});
  rightArrow_.OnSetBounds({220, 34, 220 + 14, 34 + 18});
  ShowModeIcons();
  OnSetFocus(&keyboard_);
}

void KeyPad::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) {
    latinAllowed_ = ref->Flag == 0;
    OnSetMaxLabelLength(ref->Value);
    OnSetLabelString(ref->String);
  }
  OnSetCursorPos(edit_.OnGetTextString().Length());
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(this);
  edit_.Blink().OnSetEnabled(true);
  UpdateHelp(latinAllowed_);
  auto* keyboardParam = kv::New<Primitives::KeyRoutingParameter>();
  keyboardParam->Owner = this;
  keyboard_.Initialize(keyboardParam);
  OnSetKeyboardMode(KEYBOARD_UPPER);
}

void KeyPad::Close() {
  edit_.Blink().OnSetEnabled(false);
  BorderWidgetClass::Close();
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(this);
}

void KeyPad::Refresh() {
  BorderWidgetClass::Refresh();
  keyboard_.Refresh();
  edit_.Refresh();
}

void KeyPad::OnSetMaxLabelLength(int32_t length) {
  MaxLabelLength = length;
  edit_.OnSetMaxLength(length);
}

void KeyPad::OnSetKeyboardMode(uint8_t mode) {
  KeyboardMode = mode;
  keyboard_.OnSetKeyboardMode(mode);
  ShowModeIcons();
}

void KeyPad::OnSetIsLatinMode(bool on) {
  IsLatinMode = on;
  edit_.OnSetIsLatinMode(on);
}

void KeyPad::ShowModeIcons() {
  static const Resources::BitmapId* const kPlain[4] = {&Bitmaps::KeyPadUpperA, &Bitmaps::KeyPadLowerA,
                                                       &Bitmaps::KeyPadNum, &Bitmaps::KeyPadSymbol};
  static const Resources::BitmapId* const kFocus[4] = {&Bitmaps::KeyPadUpperAFocus, &Bitmaps::KeyPadLowerAFocus,
                                                       &Bitmaps::KeyPadNumFocus, &Bitmaps::KeyPadSymbolFocus};
  for (int i = 0; i < 4; ++i) {
    const bool current = KeyboardMode == (1 << i);
    ModeButton(i).OnSetIcon(Resources::LoadResource(current ? *kFocus[i] : *kPlain[i]));
    ModeButton(i).Refresh();
  }
}

void KeyPad::SwitchKeyboardMode() {
  uint8_t mode = static_cast<uint8_t>(KeyboardMode * 2);
  if (mode >= 9) mode = KEYBOARD_UPPER;
  keyboard_.KeyTyped = false;
  OnSetKeyboardMode(mode);
  UpdateHelp(latinAllowed_ && (mode == KEYBOARD_UPPER || mode == KEYBOARD_LOWER));
}

void KeyPad::UpdateHelp(bool withLatin) {
  ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!s) return;
  const kv::String sep = kv::LoadString(HELP_SEPARATOR);
  kv::String text;
  auto add = [&](const kv::String& part) { text = text.Empty() ? part : kv::ConcatString(kv::ConcatString(text, sep), part); };
  add(kv::GetVariantOfString(Strings::SID_CURSOR));
  add(kv::GetVariantOfString(Strings::SID_INPUT));
  add(kv::GetVariantOfString(Strings::SID_ENTER));
  add(kv::GetVariantOfString(Strings::SID_DELETE));
  add(kv::GetVariantOfString(Strings::SID_MODE));
  if (withLatin) add(kv::GetVariantOfString(KEYPAD_LATIN_HELP));
  add(kv::GetVariantOfString(Strings::SID_DONE));
  s->UpdateHelp(static_cast<int32_t>(withLatin ? kHelpMaskLatin : kHelpMask), text);
}

void KeyPad::NotifyLabelChanged(bool withText) {
  Structures::RefString* ref = nullptr;
  if (withText) {
    ref = kv::New<Structures::RefString>();
    ref->Value = edit_.OnGetTextString();
  }
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_LABEL_CHANGE, ref);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Dispatch(msg);
}

void KeyPad::RefreshArrows(kv::Object*) {
  leftArrow_.OnSetVisible(edit_.OverflowsLeft());
  rightArrow_.OnSetVisible(edit_.OverflowsRight());
}

void KeyPad::LatinSwitched() {
  OnSetIsLatinMode((keyboard_.KeyboardMode & KEYBOARD_LATIN) != 0);
  UpdateHelp(!IsLatinMode);
}

void KeyPad::ExitLatinMode(kv::Object*) {
  if (keyboard_.SwitchLatinMode()) LatinSwitched();
}

kv::Object* KeyPad::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || key->Code < KEY_0 || key->Code > KEY_FORWARD)
    return BorderWidgetClass::HandleEvent(event);
  const uint16_t code = key->Code;
  // Digits and the red key (erase) go to the text field; green switches the
  // layout, blue finishes, yellow turns to accented letters.
  if (code >= KEY_0 && code <= KEY_RED) {
    keyboard_.KeyTyped = false;
    edit_.HandleEvent(event);
  } else if (code == KEY_GREEN) {
    if (!IsLatinMode) SwitchKeyboardMode();
  } else if (code == KEY_BLUE) {
    NotifyLabelChanged(true);
    Close();
    return this;
  } else if (code == KEY_YELLOW) {
    if (latinAllowed_ && keyboard_.KeyTyped && keyboard_.SwitchLatinMode()) LatinSwitched();
  } else if (code == KEY_PREV || code == KEY_NEXT || code == KEY_REWIND || code == KEY_FORWARD) {
    edit_.HandleEvent(event);
  } else if (code == KEY_BACK) {
    NotifyLabelChanged(false);
    Close();
    return this;
  } else {
    return BorderWidgetClass::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

}  // namespace NonMenuSystem
