// Network::AddressErrorInfo: the short notice over a network screen that an
// entered address was refused (or could not be applied): a black box with a
// one-pixel border and a centred text. Any key, or 2000 ms after it took
// the focus, signals OnClose; the screen that opened it removes it.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Views/Border.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace Network {

class AddressErrorInfo : public Primitives::KeyRoutingForm {
  KV_CLASS(Network, AddressErrorInfo, Primitives::KeyRoutingForm)
 public:
  static constexpr int32_t kTimeOut = 2000;
  static constexpr int32_t kWidth = 230;
  static constexpr int32_t kHeight = 60;

  AddressErrorInfo();

  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void Refresh() override;
  void OnSetBounds(kv::Rect bounds) override;

  void OnSetCaption(const kv::String& text);
  const kv::String& OnGetCaption() const { return Caption; }
  void DoTimeout(kv::Object* sender = nullptr);

  kv::String Caption;
  kv::Slot OnClose;

  // Creates a box at (x, y) of `owner` with the message, opens it there
  // with the focus and wires its close to `onClose`.
  static AddressErrorInfo* Show(Core::Group* owner, int32_t x, int32_t y, const kv::String& message,
                                const kv::Slot& onClose);

 private:
  Views::Rectangle background_;
  Views::Border border_;
  Views::Text text_;
};

}  // namespace Network
