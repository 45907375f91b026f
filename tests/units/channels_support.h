// Shared set-up of the channel screen tests: the whole system through the
// application fixture, the menus at hand, and the simulated set's air.
#pragma once

#include <string>

#include "menusystem_support.h"
#include "platform/sim/sim_tv_air.h"
#include "platform/sim/sim_tv_state.h"
#include "units/Channels/AutoTuning.h"
#include "units/Channels/ChannelLockDialogs.h"
#include "units/Channels/FullEPGScan.h"
#include "units/Channels/ManualTuning.h"
#include "units/Constants/Constants.h"
#include "units/NonMenuSystem/HelpBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/PersistentData/PersistentData.h"

namespace channeltest {

class ChannelTest : public menutest::MenuTest {
 protected:
  // Opens the channel page of the menu and activates its row `row` (0-based).
  void MenuRow(int row) {
    Ms()->SetMenuIndex(1, 3);
    Press("menu");
    Settle();
    Press("ok");
    Settle();
    Step("down", row);
    Press("ok");
    Settle();
  }
  // Opens a screen outside the menu as the live keys do.
  template <class T>
  T* OpenScreen() {
    Nms()->OpenWithValue(&T::StaticClass(), 1, Constants::MSG_FROM_NONMENUSYSTEM);
    Settle();
    return Open<T>();
  }
  // The help bar's button mask, 0 without a bar.
  int32_t HelpMask() {
    auto* bar = Open<NonMenuSystem::HelpBar>();
    return bar && bar->IsOpen() ? bar->OnGetHelpButtonMask() : 0;
  }
  sim::TvState& Set() { return Tv().Tv(); }
  PersistentData::PersistentData* Store() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
  int32_t Window0Source() {
    int32_t id = -1;
    Set().CurrentSource(0, &id, "test");
    return id;
  }
  static std::string Str(const kv::String& s) { return s.ToUtf8(); }
  // The channel screens open now.
  bool AnyChannelScreen() {
    for (auto* f : OpenForms())
      if (f->IsOpen() && std::string(f->KvClass()->name).rfind("Channels::", 0) == 0) return true;
    return false;
  }
};

}  // namespace channeltest
