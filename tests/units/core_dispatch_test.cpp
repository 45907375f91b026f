// Key dispatch through the root: the focused chain, modality, PreDispatch,
// views removed during dispatch, re-entrance and broadcasts.
#include <gtest/gtest.h>

#include "core_test_support.h"

namespace coretest {
namespace {

using Strings = std::vector<std::string>;

class DispatchTest : public ViewTest {};

TEST_F(DispatchTest, KeysRunFromTheDeepestFocusedViewUpToTheRoot) {
  KeyForm* screen = NewForm(root, "screen", {0, 0, 400, 300});
  KeyForm* panel = NewForm(screen, "panel", {10, 10, 200, 200});
  KeyCtrl* ok = NewCtrl(panel, "ok", {0, 0, 50, 20});
  NewCtrl(panel, "other", {0, 30, 50, 50});
  KeyCtrl* beside = NewCtrl(screen, "beside", {250, 0, 300, 20});

  // Add never focuses: only the root sees the key.
  EXPECT_EQ(Press(4), nullptr);
  EXPECT_EQ(Log(), Strings{"root"});

  root->OnSetFocus(screen);
  screen->OnSetFocus(panel);
  panel->OnSetFocus(ok);
  Log().clear();
  EXPECT_EQ(Press(4), nullptr);
  EXPECT_EQ(Log(), (Strings{"ok", "panel", "screen", "root"}));

  // The first handler that answers consumes the key.
  panel->eatAll = true;
  Log().clear();
  EXPECT_EQ(Press(4), panel);
  EXPECT_EQ(Log(), (Strings{"ok", "panel"}));
  ok->eats = 4;
  Log().clear();
  EXPECT_EQ(Press(4), ok);
  EXPECT_EQ(Log(), Strings{"ok"});

  // An empty focus in the middle of the chain: no child below gets keys.
  panel->eatAll = false;
  screen->OnSetFocus(nullptr);
  Log().clear();
  Press(4);
  EXPECT_EQ(Log(), (Strings{"screen", "root"}));

  // Group::DispatchEvent walks the chain below that group only.
  screen->OnSetFocus(beside);
  Log().clear();
  auto* key = kv::New<Core::KeyEvent>();
  key->Initialize(5, 1);
  EXPECT_EQ(screen->DispatchEvent(key), nullptr);
  EXPECT_EQ(Log(), (Strings{"beside", "screen"}));
}

TEST_F(DispatchTest, AModalGroupTakesTheKeysAndBubblingStopsThere) {
  KeyForm* screen = NewForm(root, "screen", {0, 0, 960, 540});
  KeyCtrl* row = NewCtrl(screen, "row", {0, 0, 100, 20});
  root->OnSetFocus(screen);
  screen->OnSetFocus(row);
  KeyForm* dialog = NewForm(root, "dialog", {300, 200, 600, 400});
  KeyCtrl* yes = NewCtrl(dialog, "yes", {10, 10, 60, 30});
  dialog->OnSetFocus(yes);

  dialog->BeginModal();
  EXPECT_TRUE(dialog->IsModal());
  EXPECT_EQ(root->GetModalGroup(), dialog);
  EXPECT_EQ(Press(7), nullptr);
  EXPECT_EQ(Log(), (Strings{"yes", "dialog"}));  // neither the screen nor the root

  // A second modal group on top takes over; ending it gives the keys back.
  KeyForm* confirm = NewForm(root, "confirm", {350, 250, 550, 350});
  confirm->BeginModal();
  Log().clear();
  Press(7);
  EXPECT_EQ(Log(), Strings{"confirm"});
  confirm->EndModal();
  dialog->EndModal();
  EXPECT_FALSE(dialog->IsModal());
  Log().clear();
  Press(7);
  EXPECT_EQ(Log(), (Strings{"row", "screen", "root"}));

  // A modal group that left the screen without EndModal is dropped.
  confirm->BeginModal();
  root->Remove(confirm);
  Log().clear();
  Press(7);
  EXPECT_EQ(Log(), (Strings{"row", "screen", "root"}));
  EXPECT_EQ(root->GetModalGroup(), nullptr);
}

TEST_F(DispatchTest, PreDispatchTakesThePowerKeyFromUnderADialogThatEatsEveryKey) {
  KeyForm* dialog = NewForm(root, "dialog", {300, 200, 600, 400});
  dialog->eatAll = true;
  root->OnSetFocus(dialog);
  dialog->BeginModal();

  EXPECT_EQ(Press(keys::KEY_POWER), root.get());
  EXPECT_EQ(Log(), Strings{"standby"});
  Log().clear();
  EXPECT_EQ(Press(1), dialog);
  EXPECT_EQ(Log(), Strings{"dialog"});
}

TEST_F(DispatchTest, AViewRemovedBeforeItsTurnEndsTheWalkAsConsumed) {
  kv::Persistent<KeyForm> dialog = NewForm(root, "dialog", {300, 200, 600, 400});  // outlive their removal
  kv::Persistent<KeyCtrl> ok = NewCtrl(dialog, "ok", {0, 0, 50, 20});
  KeyCtrl* cancel = NewCtrl(dialog, "cancel", {60, 0, 110, 20});
  root->OnSetFocus(dialog);
  dialog->OnSetFocus(ok);

  // The control closes its dialog and answers nothing: the dialog and the
  // root never see the key, and it counts as consumed.
  ok->action = [this, d = dialog.get()](KeyCtrl*, Core::KeyEvent*) { root->Remove(d); };
  EXPECT_NE(Press(1), nullptr);
  EXPECT_EQ(Log(), Strings{"ok"});
  EXPECT_EQ(dialog->Owner(), nullptr);
  EXPECT_EQ(root->OnGetFocus(), nullptr);

  // A control that takes itself out during its own turn: the focus moves on
  // and the dialog, still on screen, gets its turn.
  root->Add(dialog);
  root->OnSetFocus(dialog);
  ok->action = [](KeyCtrl* self, Core::KeyEvent*) { self->Owner()->Remove(self); };
  Log().clear();
  EXPECT_EQ(Press(1), nullptr);
  EXPECT_EQ(Log(), (Strings{"ok", "dialog", "root"}));
  EXPECT_EQ(dialog->OnGetFocus(), cancel);
  EXPECT_EQ(ok->Owner(), nullptr);
}

TEST_F(DispatchTest, AHandlerMayDispatchAgain) {
  KeyForm* screen = NewForm(root, "screen", {0, 0, 960, 540});
  KeyCtrl* a = NewCtrl(screen, "a", {0, 0, 100, 20});
  KeyCtrl* b = NewCtrl(screen, "b", {0, 30, 100, 50});
  screen->navigate = true;
  root->OnSetFocus(screen);
  screen->OnSetFocus(a);
  // "a" turns OK into a "down" key of its own, dispatched from the root,
  // which moves the focus to "b" while the first walk is still running.
  a->action = [this](KeyCtrl*, Core::KeyEvent* k) {
    if (k->Code != 2) return;
    auto* down = kv::New<Core::KeyEvent>();
    down->Initialize(5, 1);
    root->DispatchEvent(down);
  };
  a->eats = 2;
  Press(2);
  EXPECT_EQ(Log(), (Strings{"a", "a", "screen"}));
  EXPECT_EQ(screen->OnGetFocus(), b);
}

TEST_F(DispatchTest, BroadcastOffersFrontToBackStoppingOnlyInMode0) {
  KeyForm* group = NewForm(root, "group", {0, 0, 960, 540});
  NewCtrl(group, "back", {0, 0, 10, 10});
  KeyCtrl* middle = NewCtrl(group, "middle", {0, 0, 10, 10});
  NewCtrl(group, "front", {0, 0, 10, 10});
  middle->eats = 3;
  auto* key = kv::New<Core::KeyEvent>();
  key->Initialize(3, 1);

  EXPECT_EQ(group->Broadcast(key, 0), middle);
  EXPECT_EQ(Log(), (Strings{"front", "middle"}));
  Log().clear();
  EXPECT_EQ(group->Broadcast(key, 1), middle);
  EXPECT_EQ(Log(), (Strings{"front", "middle", "back"}));
}

TEST_F(DispatchTest, KeyEventsCarryTheDigitCharacter) {
  auto* key = kv::New<Core::KeyEvent>();
  EXPECT_EQ(key->Code, 0);
  EXPECT_EQ(key->Down, 0);
  EXPECT_EQ(key->Char, 0);
  key->Initialize(10, 1);
  EXPECT_EQ(key->Char, u'0');
  key->Initialize(19, 0);
  EXPECT_EQ(key->Char, u'9');
  EXPECT_EQ(key->Down, 0);
  key->Initialize(20, 1);
  EXPECT_EQ(key->Char, 0);
  key->Initialize(9, 1);
  EXPECT_EQ(key->Char, 0);
}

}  // namespace
}  // namespace coretest
