// MenuSystem::MenuSystem: the sub-system of the setting menu.
//
// - The Menu key opens the live menu column (MenuSystem::VidiMainMenu) and,
//   while a menu is open, closes it again; Exit closes it. The key is left to
//   the other sub-systems while the media player or a network application
//   owns the screen, and the panel's Menu key is refused in factory mode.
// - ChangeState initialises, opens and places every menu page: level 1 at
//   (0, 0), the option pop-up at (710, 95), every other page at (160, 0).
// - While a screen opened from a page (the menu hidden behind it) is open,
//   the hidden forms do not time out; a screen going back to the page it
//   was opened from shows the hidden menu again (ShowHiddenMenu).
// - It remembers the focused item of each menu level (1 to 9); level 1
//   survives a restart through the application settings.
// - TearDownMenus closes every menu layer and undoes what the expert picture
//   pages may have left on (test pattern, white-balance window, RGB filter).
#pragma once

#include <array>
#include <cstdint>

#include "runtime/member.h"
#include "units/SubSystem/MenuSystemClass.h"
#include "units/SubSystem/State.h"

namespace Core {
class Event;
}
namespace Structures {
class Message;
}
namespace SubSystem {
class MenuClass;
}

namespace MenuSystem {

inline constexpr int32_t kMenuLevels = 9;
// The RGB filter word with every colour on.
inline constexpr int32_t kRGBFilterAll = 0x111111;

class MenuSystem : public SubSystem::MenuSystemClass {
  KV_CLASS(MenuSystem, MenuSystem, SubSystem::MenuSystemClass)
 public:
  MenuSystem();

  // Key-routing group start-up, full screen, registration with the message
  // agent, and the level-1 index from the settings (stored 0-based).
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  // The last form of the menu gone, the keys go back to live TV, whichever
  // way it closed (Back from a page opened on its own, a time-out, Exit).
  // The menu's observers hear of every page that goes.
  void Remove(Core::View* view) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleMessage(Structures::Message* msg) override;
  Primitives::KeyRoutingForm* ChangeState(SubSystem::State* state) override;

  void SetMenuIndex(int32_t level, int32_t index) override;
  int32_t GetMenuIndex(int32_t level) override;
  // A page timed out: the whole menu comes down.
  void MenuTimeout(kv::Object* /*sender*/ = nullptr) override { TearDownMenus(); }

  void TearDownMenus();
  // MSG_CLEAR_ALL to every receiver; MSG_CLEAR_HELP_BAR to the live-TV sub-system.
  void ClearAll();
  void ClearHelpBar();
  // A menu is open while a page holds this sub-system's focus, or while a
  // page that had it is hidden behind a screen opened from the menu.
  bool IsMenuOpen() const;
  // Hides a menu form for a screen outside the menu; when it held the focus
  // it takes it back as soon as the menu shows again (ShowForm, or
  // MSG_CHANGE_APPEARANCE 1 or 3).
  void HideForm(SubSystem::MenuClass* form);
  void ShowForm(SubSystem::MenuClass* form);
  // A form of the menu hidden for a screen outside the menu does not time
  // out while such a screen is open and in view (it takes the keys when it
  // opens): the viewer is still using what the menu opened.
  bool HiddenBehindScreen(const Primitives::KeyRoutingForm* form) const override;

  // Opens `cls` with a SkinBin::UserRefInt {value, code} parameter and the
  // previous state `prev`; answers the form (null when the class does not
  // exist yet).
  Primitives::KeyRoutingForm* OpenState(const kv::Class* cls, int32_t value, int32_t code, const kv::Class* prev);

 private:
  void TakeFocus();
  // A screen opened from a page of the hidden menu goes back to that page
  // (a state change to its class, or a change back that names no opener to
  // another page): the menu shows again as the viewer left it, the column,
  // the page and its focused row with the help row, and takes the keys.
  // False when no hidden menu waits for it.
  bool ShowHiddenMenu(const SubSystem::State& state);
  // Hands the application's focus back to the live-TV sub-system.
  void ReturnFocus();
  void ReturnFocusWhenEmpty(kv::Object* /*sender*/);
  // Gives the focus back to the hidden form that had it, once it shows.
  void RestoreFocus();
  kv::Member<SubSystem::MenuClass> hiddenFocus_;
  std::array<int32_t, kMenuLevels> menuIndex_{};
};

}  // namespace MenuSystem
