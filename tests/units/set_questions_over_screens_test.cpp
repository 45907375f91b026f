// What the set raises by itself (the update questions, the notices that
// take every key) over a screen that holds the keys (the channel lock list,
// the channel options list, the wireless wizard's access-point list, which
// is modal): while it shows it takes the keys, so that OK answers it and
// never acts on the list hidden under it; when it goes, the list answers its
// keys again. Driven from a new set's defaults by keys, middleware events
// and the set's own messages through the GUI loop.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "channels_support.h"
#include "platform/sim/sim_net_state.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "units/Channels/ChannelLockDialogs.h"
#include "units/Network/NetworkPages.h"
#include "units/Network/WizardStates.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/KeyPad.h"
#include "units/Constants/MessageTypes.h"
#include "units/Structures/Message.h"

namespace {

class SetQuestionsTest : public channeltest::ChannelTest {
 protected:
  int LockedChannels() {
    int n = 0;
    for (const sim::Channel& c : Set().Channels(0)) n += c.locked ? 1 : 0;
    return n;
  }
  template <class T>
  T* Shown() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* t = kv::Cast<T>(f); t && t->IsOpen()) return t;
    return nullptr;
  }
  // The set's own notice to live TV, as the recorder, the USB port and the
  // update check send it.
  void Notice(int32_t type) {
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_SHOW_MESSAGE, nullptr, type);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)
        ->DispatchTo(msg, &NonMenuSystem::NonMenuSystem::StaticClass());
    Settle();
  }
  // No screen of ours is open but the help bar.
  bool NothingOpen() {
    for (const apptest::OpenScreen& s : Screens())
      if (s.cls != "NonMenuSystem::HelpBar") return false;
    return true;
  }
};

// A screen that holds the keys: how the viewer opens it, whether OK acted
// on it (which must not happen while something the set raised shows over
// it) and whether it is still open.
struct Holder {
  const char* name;
  std::function<bool()> open;
  std::function<bool()> okActed;
  std::function<bool()> isOpen;
  // A screen of the questions' layer: the widget manager closes it when a
  // question opens (one screen per layer), and the question alone stays.
  bool questionReplacesIt = false;
};

// What the set raises, how, and what the answer does.
struct Raised {
  const char* name;
  std::function<void()> raise;
  // The text the viewer reads on it.
  const char* text;
  // A question (else a notice).
  bool question;
  // What the viewer does: keys, or "wait" for a notice that goes by itself.
  std::vector<const char*> answer;
  // After the answer every screen is closed (the update medium's No cancels
  // the update; OK on the USB and network notices closes everything);
  // otherwise the screen under it stays with the keys.
  bool closesAll;
};

TEST_F(SetQuestionsTest, WhatTheSetRaisesTakesTheKeysUntilItGoes) {
  const Holder holders[] = {
      {"channel locks",
       [this] {
         if (!OpenPage<MenuSystem::VidiLocksMenu>(2)) return false;
         Step("ok");
         Step("down");
         return Shown<Channels::ChannelLockDialog>() != nullptr;
       },
       [this] { return LockedChannels() > 0; }, [this] { return Shown<Channels::ChannelLockDialog>() != nullptr; }},
      {"channel options",
       [this] {
         if (!OpenPage<MenuSystem::VidiChannelsMenu>(1)) return false;
         for (int i = 0; i < 8 && !Shown<Channels::ChannelOptionDialog>(); ++i) {
           if (FocusedCaption() == "Channel list") Step("ok");
           else Step("down");
         }
         return Shown<Channels::ChannelOptionDialog>() != nullptr;
       },
       [this] { return Shown<NonMenuSystem::KeyPad>() != nullptr; },
       [this] { return Shown<Channels::ChannelOptionDialog>() != nullptr; }},
      {"wireless access points (modal)",
       [this] {
         Skin()->OnSetNetworkType(1);
         if (!OpenPage<Network::WirelessSetupMenu>(2)) return false;
         Press("ok");
         Settle();
         Run(sim::NetState::kScanDelay + 100);
         return Shown<Network::AssistedSetup_ApList>() != nullptr;
       },
       [this] { return Shown<Network::AssistedSetup_ApInfo>() != nullptr; },
       [this] { return Shown<Network::AssistedSetup_ApList>() != nullptr; }, true},
  };
  const Raised raised[] = {
      {"update reminder", [this] { Inject(XPM_EVT_UBN_UPDATE_REMIND, nullptr, 0); },
       "A software update is available", true, {"ok"}, false},
      {"update medium",
       [this] {
         XPM_PathPayload path{};
         std::strncpy(path.path, "/mnt/usb/sda1/update.bin", sizeof path.path - 1);
         Inject(XPM_EVT_UBN_MEDIA_INSERTED, path);
       },
       "Start the software update now?", true, {"ok"}, true},
      {"USB over-current notice, OK", [this] { Notice(Constants::DirectMsgTypeUSBOverCurrent); },
       "USB over-current", false, {"ok"}, true},
      {"USB over-current notice, left to go", [this] { Notice(Constants::DirectMsgTypeUSBOverCurrent); },
       "USB over-current", false, {"wait"}, false},
      {"network unavailable notice", [this] { Notice(Constants::DirectMsgTypeNetworkUnavailable); },
       "The network is not available", false, {"ok"}, true},
  };
  for (const Holder& h : holders) {
    for (const Raised& r : raised) {
      SCOPED_TRACE(std::string(h.name) + " / " + r.name);
      StartAfresh();
      ASSERT_TRUE(h.open()) << SeenList();
      ASSERT_FALSE(h.okActed());
      const size_t screens = Screens().size();
      r.raise();
      Run(500);
      // It shows in front, readable; the screen under it stays, but for a
      // wizard step that a question of its layer replaces.
      ASSERT_TRUE(Sees(r.text)) << SeenList();
      const bool replaced = h.questionReplacesIt && r.question;
      ASSERT_EQ(h.isOpen(), !replaced) << SeenList();
      for (const char* key : r.answer) {
        if (std::string(key) == "wait")
          Run(5000);
        else
          Press(key);
      }
      Run(1000);
      EXPECT_FALSE(h.okActed()) << "the key reached the screen under it\n" << SeenList();
      EXPECT_FALSE(Sees(r.text)) << "the answer closes it\n" << SeenList();
      if (r.closesAll) {
        EXPECT_TRUE(NothingOpen()) << SeenList();
        continue;
      }
      if (replaced) continue;
      // The screen under it has the keys again: OK acts on it.
      EXPECT_EQ(Screens().size(), screens) << SeenList();
      ASSERT_TRUE(h.isOpen()) << SeenList();
      Press("ok");
      Run(1000);
      EXPECT_TRUE(h.okActed()) << "the screen under it answers OK again\n" << SeenList();
    }
  }
}

// The lock set while the question showed is nowhere: not on the list, not
// in the set's state after a restart; the lock set after it is kept.
TEST_F(SetQuestionsTest, TheChannelLockListUnderTheUpdateQuestionLocksNothing) {
  ASSERT_NE(OpenPage<MenuSystem::VidiLocksMenu>(2), nullptr);
  Step("ok");
  Step("down");
  auto* dialog = Shown<Channels::ChannelLockDialog>();
  ASSERT_NE(dialog, nullptr);
  Inject(XPM_EVT_UBN_UPDATE_REMIND, nullptr, 0);
  Run(500);
  ASSERT_TRUE(Sees("A software update is available")) << SeenList();
  EXPECT_TRUE(KeysIn<NonMenuSystem::ConfirmMultiOptionDialog>());
  Press("ok");
  Run(500);
  EXPECT_FALSE(Sees("A software update is available")) << SeenList();
  EXPECT_TRUE(KeysIn<Channels::ChannelLockDialog>());
  Restart();
  EXPECT_EQ(LockedChannels(), 0);
}

}  // namespace
