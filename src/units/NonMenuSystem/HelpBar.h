// NonMenuSystem::HelpBar: the strip at the bottom of the screen that shows
// which remote keys do what: one NonMenuSystem::HelpButton (key icon and
// text) for each set bit 0 to 27 of HelpButtonMask, in increasing bit order,
// with the texts of HelpStringList (comma-separated, one per set bit).
// Bits 20 to 27 have no icon; bit 28 selects the short bar (295 pixels at
// (660, 498)) in place of the full one (960 at (0, 503)). Window 0x2000007
// on layer 64; it never takes the focus and never times out. The row of
// buttons is centred, 14 pixels apart.
//
// A help bar goes with the screen that put it up. PutUpFor records which
// screen asked for the keys shown (the screen being opened, else the screen
// that has the focus); when that screen has closed by the end of a pass, the
// bar shows again the keys of the newest screen still open that put its keys
// up before, or closes when there is none. Keys put up by no screen (a
// message of the set) stay until replaced or cleared.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Button/Button.h"
#include "units/NonMenuSystem/WidgetClass.h"

namespace Resources {
struct BitmapId;
}
namespace Core {
class Group;
class View;
}
namespace Primitives {
class KeyRoutingForm;
}

namespace NonMenuSystem {

class HelpButton : public ::Button::IconButton {
  KV_CLASS(NonMenuSystem, HelpButton, ::Button::IconButton)
 public:
  HelpButton();

  // Set the icon or the text, then make the button as wide as icon + text + 3,
  // the text as wide as its glyphs reach (Views::Text::InkWidth).
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
  // Forgets the screens whose keys it showed.
  void Close() override;

  // Shows `mask` and `text` for the screen `owner` (null: for no screen) and
  // places the bar at its origin.
  void PutUpFor(Primitives::KeyRoutingForm* owner, int32_t mask, const kv::String& text);
  // The screen that asks for keys now: the open screen of the widget manager
  // deepest on the focused chain from `view`'s root (or its modal group),
  // never a help bar; null when none has the focus.
  static Primitives::KeyRoutingForm* ScreenInFocus(Core::View* view);
  // The screen whose keys are shown, or null.
  Primitives::KeyRoutingForm* Owner() const { return owners_.empty() ? nullptr : owners_.back(); }

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

  // A form left the widget manager, or a page left the menu: the owners are
  // checked at the end of the pass.
  void FormClosed(kv::Object* sender);
  void DropClosedOwners(kv::Object* sender = nullptr);
  void Show(int32_t mask, const kv::String& text);

  // The screens that put keys up, oldest first, with their keys; a null
  // owner stands for keys put up by no screen.
  kv::MemberVector<Primitives::KeyRoutingForm> owners_;
  std::vector<int32_t> masks_;
  std::vector<kv::String> texts_;
  bool watching_ = false;
  // The menu whose pages put keys up, followed for the pages that go.
  kv::Member<Core::Group> watchedMenu_;
};

}  // namespace NonMenuSystem
