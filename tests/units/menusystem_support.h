// Shared set-up of the menu tests: the whole system through the application
// fixture, with the menu sub-system, its column and open pages at hand.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "nonmenusystem_support.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/MenuSystem/LiveMenuPages.h"
#include "units/MenuSystem/MenuSystem.h"
#include "units/MenuSystem/OptionPopup.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/PinMenus.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Constants/Constants.h"
#include "units/Structures/RefHolders.h"

namespace menutest {

// How well a text stands out from what lies under it on screen, as the
// contrast ratio of the usual readability rules (1: invisible, 21: black on
// white): the glyph pixels against the median of the other pixels of the
// text's ink box. 3 or more reads at menu sizes.
inline double InkContrast(const ge::Surface& osd, const Core::SeenText& t) {
  const auto luminance = [&](int32_t x, int32_t y) {
    const uint32_t p = osd.Row(y)[x];
    const auto lin = [](uint32_t c) {
      const double v = static_cast<double>(c & 0xFF) / 255.0;
      return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(p) + 0.7152 * lin(p >> 8) + 0.0722 * lin(p >> 16);
  };
  std::vector<double> glyph, ground;
  const kv::Rect r = t.ink.Intersect(t.visible);
  for (int32_t y = std::max(0, r.y1); y < std::min(osd.height, r.y2); ++y)
    for (int32_t x = std::max(0, r.x1); x < std::min(osd.width, r.x2); ++x)
      (t.MaskAt(x, y) ? glyph : ground).push_back(luminance(x, y));
  if (glyph.empty() || ground.empty()) return 1.0;
  std::nth_element(ground.begin(), ground.begin() + static_cast<long>(ground.size() / 2), ground.end());
  const double bg = ground[ground.size() / 2];
  // The glyphs' cores, not their blended edges: the pixel a quarter of the
  // way from the one that stands out most.
  std::sort(glyph.begin(), glyph.end(), [bg](double a, double b) { return std::abs(a - bg) > std::abs(b - bg); });
  const double fg = glyph[glyph.size() / 4];
  return (std::max(fg, bg) + 0.05) / (std::min(fg, bg) + 0.05);
}

class MenuTest : public livetvtest::LiveTVTest {
 protected:
  MenuSystem::MenuSystem* Ms() {
    MainApp::ActiveApp* a = App2();
    return a ? kv::Cast<MenuSystem::MenuSystem>(a->FindSubSystem(&MenuSystem::MenuSystem::StaticClass())) : nullptr;
  }
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }
  // The first open form of class T, or null.
  template <class T>
  T* Open() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* t = kv::Cast<T>(f)) return t;
    return nullptr;
  }
  MenuSystem::VidiMainMenu* Column() { return Open<MenuSystem::VidiMainMenu>(); }
  MenuSystem::VidiSubMenu* Page() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* p = kv::Cast<MenuSystem::VidiSubMenu>(f); p && p->IsOpen()) return p;
    return nullptr;
  }
  // Presses a key and lets a move (6 frames of 50 ms) finish.
  void Step(std::string_view key, int times = 1) {
    for (int i = 0; i < times; ++i) {
      Press(key);
      Run(400);
    }
    Settle();
  }
  // Types digits ("1234") on the remote.
  void Digits(const std::string& digits) {
    for (char c : digits) Press(std::string(1, c));
    Settle();
  }
  // Opens a setting page as the dialogs and the product tree do: a state
  // change to the menu sub-system with a Structures::RefInt naming the row
  // to focus.
  template <class T>
  T* OpenPage(int32_t row = 1) {
    auto* ref = kv::New<Structures::RefInt>();
    ref->Value = row;
    auto* state = kv::New<SubSystem::State>();
    state->Class = &T::StaticClass();
    state->Param = ref;
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_CHANGE_STATE, state);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)
        ->DispatchTo(msg, &MenuSystem::MenuSystem::StaticClass());
    Settle();
    return Open<T>();
  }
  // The caption of the focused page item, or "".
  std::string FocusedCaption() {
    auto* item = kv::Cast<MenuSystem::VidiSubMenuItem>(Focused());
    return item ? item->OnGetText().ToUtf8() : std::string();
  }
};

}  // namespace menutest
