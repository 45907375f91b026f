// Key-routing screens: opening and closing into a parent, the one-shot
// time-out on the fake clock, modality through the root's dispatch, the
// controls' activate key and focus slots, and AutoScroll of scroll forms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/member.h"
#include "support/kv_test.h"
#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/Primitives/KeyRoutingCtrl.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Primitives/KeyRoutingScrollForm.h"
#include "units/Views/Rectangle.h"

namespace primtest {
namespace {

// Records the slots it receives as "<what>:<sender name>".
class Probe : public kv::Object {
  KV_CLASS(primtest, Probe, kv::Object)
 public:
  void Activated(kv::Object* sender) { Note("activate", sender); }
  void Focused(kv::Object* sender) { Note("focus", sender); }
  void Unfocused(kv::Object* sender) { Note("unfocus", sender); }
  void TimedOut(kv::Object* sender) { Note("timeout", sender); }
  void Note(const char* what, kv::Object* sender);
  std::vector<std::string> log;
};

class Button : public Primitives::KeyRoutingCtrl {
  KV_CLASS(primtest, Button, Primitives::KeyRoutingCtrl)
 public:
  std::string name;
};

class Screen : public Primitives::KeyRoutingForm {
  KV_CLASS(primtest, Screen, Primitives::KeyRoutingForm)
 public:
  std::string name;
};

void Probe::Note(const char* what, kv::Object* sender) {
  std::string who = "?";
  if (auto* b = kv::Cast<Button>(sender)) who = b->name;
  if (auto* s = kv::Cast<Screen>(sender)) who = s->name;
  log.push_back(std::string(what) + ":" + who);
}

class FormTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    kvtest::RuntimeTest::SetUp();
    root = kv::New<Core::Root>();
    probe = kv::New<Probe>();
  }
  Screen* NewScreen(const char* name) {
    auto* s = kv::New<Screen>();
    s->name = name;
    s->OnSetBounds({100, 100, 400, 300});
    s->Parent = root.get();
    s->OnTimeOut = kv::MakeSlot(probe.get(), &Probe::TimedOut);
    return s;
  }
  Button* NewButton(Core::Group* owner, const char* name, kv::Rect bounds) {
    auto* b = kv::New<Button>();
    b->name = name;
    b->OnSetBounds(bounds);
    b->OnActivate = kv::MakeSlot(probe.get(), &Probe::Activated);
    b->OnFocus = kv::MakeSlot(probe.get(), &Probe::Focused);
    b->OnUnfocus = kv::MakeSlot(probe.get(), &Probe::Unfocused);
    owner->Add(b);
    return b;
  }
  kv::Object* Press(uint16_t code, uint8_t down = 1) {
    auto* key = kv::New<Core::KeyEvent>();
    key->Initialize(code, down);
    kv::Object* answer = root->DispatchEvent(key);
    driver.Pass();
    return answer;
  }

  kv::Persistent<Core::Root> root;
  kv::Persistent<Probe> probe;
};

using Log = std::vector<std::string>;

TEST_F(FormTest, OpensIntoItsParentOnlyAndClosesOnlyFromThere) {
  Screen* s = NewScreen("s");
  EXPECT_TRUE(s->FocusOnOpen);
  s->Parent = nullptr;
  s->Open();  // no parent: logged, nothing happens
  EXPECT_EQ(s->Owner(), nullptr);
  s->Close();  // not open: nothing

  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = root.get();
  s->Initialize(param);
  EXPECT_EQ(s->Parent.get(), root.get());
  s->Open();
  EXPECT_EQ(s->Owner(), root.get());
  EXPECT_TRUE(s->IsOpen());
  s->Open();  // already open: stays where it is
  EXPECT_EQ(root->GetChildCount(), 1);

  param->Owner = probe.get();  // not a group: refused, the parent stays
  s->Initialize(param);
  EXPECT_EQ(s->Parent.get(), root.get());
  s->Initialize(nullptr);
  EXPECT_EQ(s->Parent.get(), root.get());

  s->Close();
  EXPECT_EQ(s->Owner(), nullptr);
  EXPECT_FALSE(s->IsTimeoutRunning());
  s->Close();
  EXPECT_EQ(root->GetChildCount(), 0);
}

TEST_F(FormTest, TimesOutOnceAfterTimeOutValueAndResetRestartsTheWait) {
  Screen* s = NewScreen("s");
  EXPECT_EQ(s->OnGetTimeOutValue(), Primitives::kDefaultTimeOut);
  s->Open();
  driver.RunFor(9990);
  EXPECT_TRUE(probe->log.empty());
  driver.Pass(10);
  EXPECT_EQ(probe->log, Log({"timeout:s"}));
  EXPECT_FALSE(s->IsTimeoutRunning());
  driver.RunFor(30000, 1000);
  EXPECT_EQ(probe->log.size(), 1u);  // one-shot

  s->ResetTimeout();  // stopped: stays stopped
  driver.RunFor(20000, 1000);
  EXPECT_EQ(probe->log.size(), 1u);

  s->SetTimeout(true);
  driver.RunFor(6000, 1000);
  s->ResetTimeout();  // running: the wait starts again
  driver.RunFor(9000, 1000);
  EXPECT_EQ(probe->log.size(), 1u);
  driver.RunFor(1000, 1000);
  EXPECT_EQ(probe->log.size(), 2u);
}

TEST_F(FormTest, ANewTimeOutValueReloadsTheTimerAndZeroMeansNone) {
  Screen* s = NewScreen("s");
  s->Open();
  driver.RunFor(5000, 1000);
  s->OnSetTimeOutValue(2000);  // running: restarts with the new value
  driver.RunFor(1000, 1000);
  EXPECT_TRUE(probe->log.empty());
  driver.RunFor(1000, 1000);
  EXPECT_EQ(probe->log.size(), 1u);

  s->Close();
  s->OnSetTimeOutValue(0);
  s->Open();
  EXPECT_FALSE(s->IsTimeoutRunning());
  driver.RunFor(60000, 5000);
  EXPECT_EQ(probe->log.size(), 1u);

  s->OnSetTimeOutValue(-5);  // logged, counts as none
  EXPECT_EQ(s->OnGetTimeOutValue(), 0);

  // An empty slot: the time-out passes silently.
  s->OnTimeOut = kv::Slot();
  s->OnSetTimeOutValue(100);
  s->SetTimeout(true);
  driver.RunFor(200);
  EXPECT_EQ(probe->log.size(), 1u);
  EXPECT_FALSE(s->IsTimeoutRunning());
}

TEST_F(FormTest, KeysGoToTheModalScreenUntilItCloses) {
  Screen* back = NewScreen("back");
  Button* backButton = NewButton(back, "backButton", {0, 0, 50, 20});
  backButton->OnSetActivateKey(41);
  back->OnSetFocus(backButton);
  back->Open();
  root->OnSetFocus(back);

  Screen* dialog = NewScreen("dialog");
  dialog->IsModal = 1;
  Button* yes = NewButton(dialog, "yes", {0, 0, 50, 20});
  dialog->OnSetFocus(yes);
  probe->log.clear();
  dialog->Open();
  EXPECT_EQ(root->GetModalGroup(), dialog);
  EXPECT_EQ(root->OnGetFocus(), back);  // the modal screen needs no focus

  EXPECT_EQ(Press(keys::KEY_OK), yes);
  EXPECT_EQ(probe->log, Log({"activate:yes"}));
  EXPECT_EQ(Press(41), nullptr);  // not consumed inside: it does not reach the screen behind
  EXPECT_EQ(probe->log.size(), 1u);

  dialog->Close();
  EXPECT_EQ(root->GetModalGroup(), nullptr);
  EXPECT_EQ(Press(41), backButton);
  EXPECT_EQ(probe->log, Log({"activate:yes", "activate:backButton"}));
}

TEST_F(FormTest, ControlsSignalTheirActivateKeyDownAndTheirFocusChanges) {
  Screen* s = NewScreen("s");
  Button* a = NewButton(s, "a", {0, 0, 50, 20});
  Button* b = NewButton(s, "b", {0, 30, 50, 50});
  b->OnSetActivateKey(7);
  s->Open();
  root->OnSetFocus(s);
  s->OnSetFocus(a);
  EXPECT_EQ(Press(keys::KEY_OK, 0), nullptr);  // a release does not activate
  EXPECT_EQ(Press(7), nullptr);                      // another key goes on
  EXPECT_EQ(Press(keys::KEY_OK), a);
  s->OnSetFocus(b);
  EXPECT_EQ(Press(keys::KEY_OK), nullptr);
  EXPECT_EQ(Press(7), b);
  b->OnActivate = kv::Slot();
  EXPECT_EQ(Press(7), nullptr);  // nothing to signal: the key goes on to the form
  EXPECT_EQ(probe->log, Log({"focus:a", "activate:a", "unfocus:a", "focus:b", "activate:b"}));
}

TEST_F(FormTest, AutoScrollBringsTheFocusedControlIntoThePage) {
  auto* page = kv::New<Primitives::KeyRoutingScrollForm>();
  page->OnSetBounds({0, 0, 200, 100});
  auto* background = kv::New<Views::Rectangle>();
  background->OnSetBounds({0, 0, 200, 100});
  page->Add(background);
  std::vector<Button*> items;
  for (int i = 0; i < 6; ++i) items.push_back(NewButton(page, "item", {10, 10 + 40 * i, 190, 40 + 40 * i}));

  page->OnSetFocus(items[4]);  // 170..200: below the page, AutoScroll is off
  EXPECT_EQ(items[4]->Bounds().y1, 170);
  page->OnSetAutoScroll(true);  // scrolls at once: the item's bottom meets the page's
  EXPECT_EQ(items[4]->Bounds(), kv::Rect({10, 70, 190, 100}));
  EXPECT_EQ(items[0]->Bounds().y1, -90);
  EXPECT_EQ(background->Bounds(), kv::Rect({0, 0, 200, 100}));  // not a control: stays
  page->OnSetFocus(items[5]);
  EXPECT_EQ(items[5]->Bounds().y2, 100);
  page->OnSetFocus(items[1]);  // above the page: its top meets the page's
  EXPECT_EQ(items[1]->Bounds().y1, 0);
  page->OnSetFocus(items[2]);  // inside: nothing moves
  EXPECT_EQ(items[1]->Bounds().y1, 0);

  // A hand-off scrolls as well: hiding the focus moves it to the next item,
  // below the page, which is brought into it.
  page->OnSetFocus(items[3]);
  items[3]->OnSetVisible(false);
  EXPECT_EQ(page->OnGetFocus(), items[4]);
  EXPECT_EQ(items[4]->Bounds().y2, 100);
  page->Remove(items[4]);  // and removing it: to the next, items[5]
  EXPECT_EQ(page->OnGetFocus(), items[5]);
  EXPECT_EQ(items[5]->Bounds().y2, 100);
}

}  // namespace
}  // namespace primtest
