#include "units/PinEntry/PinEntry.h"

#include <algorithm>

#include "ge/fill.h"
#include "keys/keycodes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Core/Root.h"

namespace PinEntry {

using namespace keys;

KV_REGISTER_CLASS(PinEntry::PinEntry);

namespace {
// The look of the boxes: light grey outlines on a dark fill, a light grey
// mask square per digit; while the entry takes the keys, the box that takes
// the next digit shows the focus look of the rows and buttons: the focus
// blue inside a pale blue outline two pixels wide.
constexpr uint32_t kBoxFill = 0xFF2A2928u;
constexpr uint32_t kBoxBorder = 0xFFC8C8C8u;
constexpr uint32_t kNextFill = 0xFF8C5617u;    // (23, 86, 140)
constexpr uint32_t kNextBorder = 0xFFFFD6AAu;  // (170, 214, 255)
constexpr uint32_t kMask = 0xFFC8C8C8u;
}  // namespace

kv::Object* PinEntry::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    if (IsDigitKey(key->Code)) {
      AddDigit(key->Code - KEY_0);
      return this;
    }
    if (key->Code != KEY_NONE && key->Code == deleteKey_) {
      if (pin_.Empty())
        kv::Signal(OnPrevPin, this);
      else
        DeleteCurrentDigit();
      return this;
    }
  }
  return KeyRoutingCtrl::HandleEvent(event);
}

void PinEntry::Clear() {
  pin_ = kv::String();
  InvalidateView();
}

void PinEntry::DeleteCurrentDigit() {
  if (pin_.Empty()) return;
  pin_ = kv::StringLeft(pin_, pin_.Length() - 1);
  InvalidateView();
  kv::Signal(OnResetTimeout, this);
}

void PinEntry::AddDigit(int32_t digit) {
  if (digit < 0 || digit > 9) {
    Core::LogError("PinEntry::PinEntry: %i is not a digit", {digit});
    return;
  }
  if (IsComplete()) return;
  pin_ = kv::ConcatString(pin_, kv::NewStringChar(static_cast<char16_t>(u'0' + digit), 1));
  InvalidateView();
  kv::Signal(OnResetTimeout, this);
}

void PinEntry::OnSetMaxNumDigits(int32_t count) {
  if (count < 1 || count > kMaxDigits) {
    Core::LogError("PinEntry::PinEntry: %i digits outside 1..%i", {count, kMaxDigits});
    count = std::clamp(count, 1, kMaxDigits);
  }
  maxNumDigits_ = count;
  if (pin_.Length() > count) pin_ = kv::StringLeft(pin_, count);
  InvalidateView();
}

void PinEntry::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  DrawBoxes(target, clip, Bounds().MoveTo(origin), opacity);
}

bool PinEntry::TakesKeys() const {
  Core::Root* root = GetRoot();
  if (!root) return false;
  const Core::View* top = root->GetModalGroup();
  for (const Core::View* v = this; v; v = v->Owner()) {
    if (v == top || !v->Owner()) return !top || v == top;
    if (!v->IsFocused()) return false;
  }
  return false;
}

void PinEntry::DrawBoxes(const ge::Surface& target, const kv::Rect& clip, const kv::Rect& b, int32_t opacity) {
  const ge::Rect c = Core::ToGeRect(clip);
  const int32_t n = maxNumDigits_;
  const int32_t boxW = std::max(1, (b.W() - kBoxGap * (n - 1)) / n);
  const int32_t boxH = b.H();
  const auto scale = [opacity](uint32_t colour) {
    const uint32_t a = ge::Mul8(colour >> 24, static_cast<uint32_t>(std::clamp(opacity, 0, 255)));
    return (colour & 0x00FFFFFFu) | (a << 24);
  };
  const int32_t next = TakesKeys() ? pin_.Length() : -1;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t x = b.x1 + i * (boxW + kBoxGap);
    const ge::Rect box{x, b.y1, x + boxW, b.y1 + boxH};
    const bool isNext = i == next;
    const uint32_t border = scale(isNext ? kNextBorder : kBoxBorder);
    const int32_t t = isNext ? 2 : 1;  // outline thickness
    ge::GenBlendRect(target, c, {box.x1 + t, box.y1 + t, box.x2 - t, box.y2 - t}, scale(isNext ? kNextFill : kBoxFill));
    ge::GenBlendRect(target, c, {box.x1, box.y1, box.x2, box.y1 + t}, border);
    ge::GenBlendRect(target, c, {box.x1, box.y2 - t, box.x2, box.y2}, border);
    ge::GenBlendRect(target, c, {box.x1, box.y1 + t, box.x1 + t, box.y2 - t}, border);
    ge::GenBlendRect(target, c, {box.x2 - t, box.y1 + t, box.x2, box.y2 - t}, border);
    if (i < pin_.Length()) {
      const int32_t side = std::max(2, std::min(boxW, boxH) / 3);
      const int32_t mx = box.x1 + (boxW - side) / 2;
      const int32_t my = box.y1 + (boxH - side) / 2;
      ge::GenBlendRect(target, c, {mx, my, mx + side, my + side}, scale(kMask));
    }
  }
}

}  // namespace PinEntry
