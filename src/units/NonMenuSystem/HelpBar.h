// NonMenuSystem::HelpBar: the strip at the bottom of the screen that shows
// which remote keys do what: one NonMenuSystem::HelpButton (key icon and
// text) for each set bit 0 to 27 of HelpButtonMask, in increasing bit order,
// with the texts of HelpStringList (comma-separated, one per set bit).
// Bits 20 to 27 have no icon; bit 28 selects the short bar (295 pixels at
// (660, 498)) in place of the full one (960 at (0, 503)). Window 0x2000007
// on layer 64; it never takes the focus and never times out. The row of
// buttons is centred, 14 pixels apart.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/string.h"
#include "units/Button/Button.h"
#include "units/NonMenuSystem/WidgetClass.h"

namespace Resources {
struct BitmapId;
}

namespace NonMenuSystem {

class HelpButton : public ::Button::IconButton {
  KV_CLASS(NonMenuSystem, HelpButton, ::Button::IconButton)
 public:
  HelpButton();

  // Set the icon or the text, then make the button as wide as icon + text + 3.
  void OnSetIcon(Resources::Bitmap* bitmap) override;
  void OnSetText(const kv::String& text) override;
  // Icon at x 0, centred vertically; the text 3 pixels right of it at y 4.
  void Refresh() override;

 private:
  void FitWidth();
};

inline constexpr int32_t kHelpMaskBits = 28;
inline constexpr int32_t kHelpShortBarBit = 28;

class HelpBar : public WidgetClass {
  KV_CLASS(NonMenuSystem, HelpBar, WidgetClass)
 public:
  HelpBar();

  // Rebuilds the buttons from the mask and the texts.
  void UpdateHelp();
  void UpdateHelpSlot(kv::Object* = nullptr) { UpdateHelp(); }
  void ParseHelpMask();
  void RemoveAllButtons();
  // Lays the buttons out in a centred row.
  void Refresh() override;
  // A language change: the default text in the new language, then UpdateHelp.
  void ReInit() override;

  void OnSetHelpStringList(const kv::String& text) { HelpStringList = text; }
  const kv::String& OnGetHelpStringList() const { return HelpStringList; }
  void OnSetHelpButtonMask(int32_t mask) { HelpButtonMask = mask; }
  int32_t OnGetHelpButtonMask() const { return HelpButtonMask; }

  // The icon of a mask bit, or null for a bit without one.
  static const Resources::BitmapId* IconOf(int32_t bit);
  int32_t GetParsedCount() const { return parsedCount_; }
  int32_t GetParsedBit(int32_t i) const { return parsedBits_[static_cast<size_t>(i)]; }

  kv::String HelpStringList;
  int32_t HelpButtonMask = 0;
  int32_t ButtonSpacing = 14;

 private:
  std::array<int32_t, kHelpMaskBits> parsedBits_{};
  int32_t parsedCount_ = 0;
  // What the buttons were built from; not valid once removed or re-initialised.
  bool builtValid_ = false;
  int32_t builtMask_ = 0;
  kv::String builtText_;
};

}  // namespace NonMenuSystem
