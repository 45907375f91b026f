#include "units/SkinBin/EntryForms.h"

#include <algorithm>

#include "ge/fill.h"
#include "keys/keycodes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Views/Align.h"

namespace SkinBin {

using namespace keys;

KV_REGISTER_CLASS(SkinBin::PinEntry);
KV_REGISTER_CLASS(SkinBin::NumberInput);
KV_REGISTER_CLASS(SkinBin::EnterTime);

namespace {

constexpr uint32_t kCellFill = 0xFF2A2928u;
constexpr uint32_t kCellTyped = 0xFF8C5617u;   // focus blue, red in the low byte
constexpr uint32_t kCellBorder = 0xFFC8C8C8u;

int32_t DigitOf(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return -1;
  return IsDigitKey(key->Code) ? key->Code - KEY_0 : -1;
}

uint16_t DownKey(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key->Code : 0;
}

constexpr int32_t kCellGap = 4;

// Cell `i` of `n` side by side in `b`.
kv::Rect CellRect(const kv::Rect& b, int32_t n, int32_t i) {
  const int32_t w = std::max(1, (b.W() - kCellGap * (n - 1)) / n);
  const int32_t x = b.x1 + i * (w + kCellGap);
  return {x, b.y1, x + w, b.y2};
}

// Draws `n` cells side by side; the first `typed` ones in the typed colour.
void DrawCells(const ge::Surface& target, const kv::Rect& clip, const kv::Rect& b, int32_t n, int32_t typed,
               int32_t opacity) {
  const ge::Rect c = Core::ToGeRect(clip);
  const auto scale = [opacity](uint32_t colour) {
    const uint32_t a = ge::Mul8(colour >> 24, static_cast<uint32_t>(std::clamp(opacity, 0, 255)));
    return (colour & 0x00FFFFFFu) | (a << 24);
  };
  for (int32_t i = 0; i < n; ++i) {
    const kv::Rect r = CellRect(b, n, i);
    ge::GenBlendRect(target, c, {r.x1, r.y1, r.x2, r.y2}, scale(kCellBorder));
    ge::GenBlendRect(target, c, {r.x1 + 1, r.y1 + 1, r.x2 - 1, r.y2 - 1}, scale(i < typed ? kCellTyped : kCellFill));
  }
}

void SetUpDigits(Views::Text* texts, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    texts[i].OnSetColor(Colors::White);
    texts[i].OnSetAlignH(Views::ALIGN_CENTER);
    texts[i].OnSetAlignV(Views::ALIGN_CENTER);
  }
}

void ShowDigit(Views::Text& text, int32_t digit) {
  const char s[2] = {static_cast<char>('0' + digit), 0};
  text.OnSetString(kv::String::FromUtf8(s));
}

// Draws `n` cells side by side in `b`, each with its text (a digit typed).
void DrawDigitCells(Views::Text* texts, const ge::Surface& target, const kv::Rect& clip, const kv::Rect& b,
                    int32_t n, int32_t typed, int32_t opacity) {
  DrawCells(target, clip, b, n, typed, opacity);
  for (int32_t i = 0; i < n; ++i) {
    Views::Text& t = texts[i];
    if (t.OnGetString().Empty()) continue;
    const kv::Rect cell = CellRect(b, n, i);
    t.OnSetBounds({0, 0, cell.W(), cell.H()});
    const kv::Rect c = clip.Intersect(cell);
    if (!c.IsEmpty()) t.Draw(target, c, cell.Origin(), opacity);
  }
}

}  // namespace

void PinEntry::AddDigit(int32_t digit) {
  const bool wasComplete = IsComplete();
  ::PinEntry::PinEntry::AddDigit(digit);
  if (!wasComplete && IsComplete()) kv::Signal(OnCompleteEntry, this);
}

void PinEntry::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  const kv::Rect b = Bounds().MoveTo(origin);
  const int32_t n = OnGetMaxNumDigits();
  const int32_t w = std::min(b.W(), n * kCellWidth + (n - 1) * kBoxGap);
  const int32_t h = std::min(b.H(), kCellHeight);
  const int32_t x = b.x1 + (b.W() - w) / 2;
  const int32_t y = b.y1 + (b.H() - h) / 2;
  DrawBoxes(target, clip, {x, y, x + w, y + h}, opacity);
}

// --- NumberInput -----------------------------------------------------------------------

NumberInput::NumberInput() { SetUpDigits(digits_, kDigits); }

kv::Object* NumberInput::HandleEvent(Core::Event* event) {
  const int32_t digit = DigitOf(event);
  if (digit >= 0) {
    if (DigitCount == 0) Num = 0;
    Num = Num * 10 + digit;
    DigitCount = (DigitCount + 1) % kDigits;
    RefreshButtons();
    kv::Signal(OnResetTimeout, this);
    kv::Signal(OnNumChanged, this);
    return this;
  }
  switch (DownKey(event)) {
    case KEY_OK:
      DigitCount = 0;
      kv::Signal(OnNumChanged, this);
      return this;
    case KEY_BACK:
      DigitCount = 0;
      kv::Signal(OnCancelChange, this);
      return this;
    default:
      return KeyRoutingCtrl::HandleEvent(event);
  }
}

void NumberInput::SetNum(int32_t num) {
  Num = std::clamp(num, 0, 999);
  RefreshButtons();
}

void NumberInput::RefreshButtons() {
  // The digits typed are the last DigitCount digits of Num, leading zeros
  // included ("0", "7" for 0 then 7).
  int32_t rest = Num;
  for (int32_t i = kDigits - 1; i >= 0; --i) {
    if (i < DigitCount) {
      ShowDigit(digits_[i], rest % 10);
      rest /= 10;
    } else {
      digits_[i].OnSetString(kv::String());
    }
  }
  InvalidateView();
}

void NumberInput::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  DrawDigitCells(digits_, target, clip, Bounds().MoveTo(origin), kDigits, DigitCount, opacity);
}

// --- EnterTime -------------------------------------------------------------------------

EnterTime::EnterTime() { SetUpDigits(digits_, kDigits); }

kv::Object* EnterTime::HandleEvent(Core::Event* event) {
  const int32_t digit = DigitOf(event);
  if (digit >= 0) {
    const int32_t i = DigitCount % kDigits;
    // The first digit of the hours is 0 to 2, the hours at most 23, the tens of minutes 0 to 5.
    const bool ok = (i == 0 && digit <= 2) || (i == 1 && Digits[0] * 10 + digit <= 23) || (i == 2 && digit <= 5) ||
                    i == 3;
    if (ok) {
      Digits[i] = digit;
      DigitCount = i + 1;
      RefreshButtons();
    }
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  switch (DownKey(event)) {
    case KEY_OK:
      DigitCount = 0;
      RefreshButtons();
      kv::Signal(OnTimeChanged, this);
      return this;
    case KEY_BACK:
      DigitCount = 0;
      RefreshButtons();
      kv::Signal(OnCancelChange, this);
      return this;
    case kClearKey:
      DigitCount = 0;
      std::fill(std::begin(Digits), std::end(Digits), 0);
      RefreshButtons();
      kv::Signal(OnResetTimeout, this);
      return this;
    default:
      return KeyRoutingCtrl::HandleEvent(event);
  }
}

void EnterTime::SetTimeIndex(int32_t index) {
  index = std::clamp(index, 0, 23 * 60 + 59);
  const int32_t h = index / 60, m = index % 60;
  Digits[0] = h / 10;
  Digits[1] = h % 10;
  Digits[2] = m / 10;
  Digits[3] = m % 10;
  RefreshButtons();
}

int32_t EnterTime::GetTimeIndex() const { return (Digits[0] * 10 + Digits[1]) * 60 + Digits[2] * 10; }

void EnterTime::RefreshButtons() {
  // The viewer sees the time as it is typed: hours, then tens and units of
  // minutes; the cells not yet typed stay empty.
  for (int32_t i = 0; i < kDigits; ++i) {
    if (i < DigitCount)
      ShowDigit(digits_[i], Digits[i]);
    else
      digits_[i].OnSetString(kv::String());
  }
  InvalidateView();
}

void EnterTime::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  DrawDigitCells(digits_, target, clip, Bounds().MoveTo(origin), kDigits, DigitCount, opacity);
}

}  // namespace SkinBin
