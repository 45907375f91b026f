// The renderer setup's dialogs through the whole system: the installation
// wizard both ways from the renderer page, the device name typed on the key
// pad and checked, the maximum volume, the controller and server lists.
#include <gtest/gtest.h>

#include <string>

#include "menusystem_support.h"
#include "units/Constants/Constants.h"
#include "units/ListForm/MediaLists.h"
#include "units/MediaPlayer/RendererDialogs.h"
#include "units/MediaPlayer/RendererSetupPages.h"
#include "units/MediaPlayer/SetupItems.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/KeyPad.h"
#include "units/Structures/RefHolders.h"

namespace menutest {
namespace {

using namespace MediaPlayer;

class RendererWizardTest : public MenuTest {
 protected:
  // The open screen of class T, or null.
  template <class T>
  T* Shown() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* t = kv::Cast<T>(f); t && t->IsOpen()) return t;
    return nullptr;
  }
  void Key(std::string_view key) {
    Press(key);
    Settle();
  }
  // The renderer page's installation row, activated.
  void Install() {
    ASSERT_NE(OpenPage<MediaRenderSetupMenu>(), nullptr);
    Key("ok");
  }
  // The key pad answers with a text, as it does on done.
  void KeyPadAnswers(const std::string& text) {
    auto* s = kv::New<Structures::RefString>();
    s->Value = kv::String::FromUtf8(text);
    Send(Constants::MSG_LABEL_CHANGE, -1, s);
  }
  std::vector<std::string> DlnaModes() {
    std::vector<std::string> out;
    for (const std::string& c : Calls("PslMediaEnableDLNA")) out.push_back(c.substr(c.find('(')));
    return out;
  }
};

TEST_F(RendererWizardTest, WizardTheLongWayEndsOnTheRendererPageWithEverySettingApplied) {
  Skin()->OnSetDMC_AccessControl(0);
  Install();
  ASSERT_TRUE(Skin()->RendererInstalled);
  auto* onOff = Shown<MediaRendererOnOffDialog>();
  ASSERT_NE(onOff, nullptr);
  EXPECT_EQ(Focused(), &onOff->YesButton());
  EXPECT_EQ(onOff->YesButton().OnGetText().ToUtf8(), "On");
  ClearCallLog();
  Key("ok");
  EXPECT_EQ(DlnaModes(), (std::vector<std::string>{"(3)"}));
  auto* name = Shown<DeviceNameSetupDialog>();
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->NameButton().OnGetText().ToUtf8(), "VANTORI LCDTV");
  Key("down");
  ASSERT_EQ(Focused(), &name->DoneButton());
  Key("ok");
  auto* access = Shown<AccessControlSelectDialog>();
  ASSERT_NE(access, nullptr);
  Key("ok");
  EXPECT_EQ(Skin()->OnGetDMC_AccessControl(), 1);
  ASSERT_NE(Shown<SelectMediaControllerConfirmDialog>(), nullptr);
  Key("ok");
  auto* list = Shown<SelectMediaControllerDialog>();
  ASSERT_NE(list, nullptr);
  // No controller on the network: key 22 removes nothing.
  ClearCallLog();
  Key("blue");
  EXPECT_EQ(Shown<SelectMediaControllerDialog>(), list);
  Key("right");
  ASSERT_EQ(Focused(), &list->DoneButton());
  Key("ok");
  auto* volume = Shown<MaximumVolumeSetupDialog>();
  ASSERT_NE(volume, nullptr);
  ASSERT_EQ(Focused(), volume->Button());
  EXPECT_EQ(volume->Button()->Value, 50);
  Key("right");
  Key("right");
  EXPECT_EQ(Skin()->OnGetMax_Volume_Setup(), 52);
  Key("7");  // no digits here
  EXPECT_EQ(Skin()->OnGetMax_Volume_Setup(), 52);
  Log().Clear();
  Key("ok");
  EXPECT_TRUE(Logged("SetMaxDMCVolume not support yet! 52"));
  auto* page = Shown<MediaRenderSetupMenu>();
  ASSERT_NE(page, nullptr);
  EXPECT_FALSE(Skin()->RendererInstalled);
  // The next key still answers on the page.
  Key("down");
  EXPECT_EQ(Focused(), page->Item(MediaRenderSetupMenu::kRenderer));
}

TEST_F(RendererWizardTest, WizardShortRoadsAndExitEndTheInstallation) {
  // Renderer off: straight back to the page, network media only.
  Install();
  ClearCallLog();
  Key("right");
  Key("ok");
  EXPECT_EQ(DlnaModes(), (std::vector<std::string>{"(1)"}));
  EXPECT_NE(Shown<MediaRenderSetupMenu>(), nullptr);
  EXPECT_FALSE(Skin()->RendererInstalled);
  // Access control off skips to the maximum volume.
  Skin()->OnSetDMC_AccessControl(1);
  Install();
  Key("ok");
  Key("down");
  Key("ok");
  ASSERT_NE(Shown<AccessControlSelectDialog>(), nullptr);
  Key("right");
  Key("ok");
  EXPECT_EQ(Skin()->OnGetDMC_AccessControl(), 0);
  EXPECT_NE(Shown<MaximumVolumeSetupDialog>(), nullptr);
  EXPECT_EQ(Shown<SelectMediaControllerConfirmDialog>(), nullptr);
  // Back goes to the access question while installing.
  Key("back");
  ASSERT_NE(Shown<AccessControlSelectDialog>(), nullptr);
  Key("ok");
  // Not choosing controllers now skips to the maximum volume as well.
  ASSERT_NE(Shown<SelectMediaControllerConfirmDialog>(), nullptr);
  Key("right");
  Key("ok");
  EXPECT_NE(Shown<MaximumVolumeSetupDialog>(), nullptr);
  // Exit ends the wizard; the device name opened from the page returns to it.
  Key("exit");
  EXPECT_FALSE(Skin()->RendererInstalled);
  EXPECT_EQ(Shown<MaximumVolumeSetupDialog>(), nullptr);
  ASSERT_NE(OpenPage<MediaRenderSetupMenu>(3), nullptr);
  Key("ok");
  ASSERT_NE(Shown<DeviceNameSetupDialog>(), nullptr);
  Key("down");
  Key("ok");
  EXPECT_NE(Shown<MediaRenderSetupMenu>(), nullptr);
  EXPECT_EQ(Shown<AccessControlSelectDialog>(), nullptr);
}

TEST_F(RendererWizardTest, DeviceNameIsCheckedTypedOnTheKeyPadAndTheRendererKeepsItsFixedName) {
  ASSERT_NE(OpenPage<MediaRenderSetupMenu>(3), nullptr);
  Key("ok");
  kv::Persistent<DeviceNameSetupDialog> dialog{Shown<DeviceNameSetupDialog>()};
  ASSERT_NE(dialog, nullptr);
  // Keys the dialog does not know do nothing.
  Key("5");
  Key("green");
  EXPECT_TRUE(dialog->IsOpen());
  EXPECT_EQ(Focused(), &dialog->NameButton());
  // OK on the name opens the key pad with the name; the dialog hides.
  Key("ok");
  auto* pad = Shown<NonMenuSystem::KeyPad>();
  ASSERT_NE(pad, nullptr);
  EXPECT_FALSE(dialog->IsVisible());
  // A digit typed and done (key 22): the new name shows.
  Key("5");
  Key("blue");
  Settle();
  EXPECT_EQ(Shown<NonMenuSystem::KeyPad>(), nullptr);
  EXPECT_TRUE(dialog->IsVisible());
  EXPECT_EQ(dialog->NameButton().OnGetText().ToUtf8(), "VANTORI LCDTV5");
  EXPECT_EQ(Focused(), &dialog->NameButton());

  // Refused names: each forbidden character, 65 characters, a final space.
  const std::string forbidden = "#$@[\\]^`{}~";
  std::vector<std::string> refused;
  for (char c : forbidden) refused.push_back(std::string("Den ") + c + " TV");
  refused.push_back(std::string(65, 'x'));
  refused.push_back("Den TV ");
  for (const std::string& text : refused) {
    SCOPED_TRACE(text);
    KeyPadAnswers(text);
    NonMenuSystem::DirectMessageBar* bar = Bar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->MessageInfo.ToUtf8(), "This name cannot be used.");
    EXPECT_FALSE(dialog->NameButton().IsVisible());
    EXPECT_EQ(dialog->NameButton().OnGetText().ToUtf8(), "VANTORI LCDTV5");
    // Back closes the bar and shows the dialog again.
    Key("back");
    EXPECT_EQ(Bar(), nullptr);
    EXPECT_TRUE(dialog->NameButton().IsVisible());
    EXPECT_EQ(Focused(), &dialog->NameButton());
  }
  // Left alone, the bar goes after two seconds and the key pad opens again.
  KeyPadAnswers("Den~TV");
  ASSERT_NE(Bar(), nullptr);
  Run(1900);
  EXPECT_NE(Bar(), nullptr);
  Run(200);
  Settle();
  EXPECT_EQ(Bar(), nullptr);
  ASSERT_NE(Shown<NonMenuSystem::KeyPad>(), nullptr);
  Key("back");
  Settle();
  EXPECT_TRUE(dialog->IsVisible());
  // 64 characters and a vertical bar are accepted.
  const std::string longest(64, 'y');
  KeyPadAnswers(longest);
  EXPECT_EQ(Bar(), nullptr);
  EXPECT_EQ(dialog->NameButton().OnGetText().ToUtf8(), longest);
  KeyPadAnswers("Den|TV");
  EXPECT_EQ(dialog->NameButton().OnGetText().ToUtf8(), "Den|TV");
  // Reset shows the fixed name again and takes the focus.
  Key("right");
  ASSERT_EQ(Focused(), &dialog->ResetButton());
  Key("ok");
  EXPECT_EQ(dialog->NameButton().OnGetText().ToUtf8(), "VANTORI LCDTV");
  EXPECT_EQ(Focused(), &dialog->NameButton());
  // Done with a typed name: the renderer still carries the fixed name.
  KeyPadAnswers("Den|TV");
  Key("down");
  Key("ok");
  EXPECT_FALSE(dialog->IsOpen());
  auto* page = Shown<MediaRenderSetupMenu>();
  ASSERT_NE(page, nullptr);
  // The page comes back on the row the dialog was opened from.
  ASSERT_EQ(Focused(), page->Item(MediaRenderSetupMenu::kDeviceName));
  Key("ok");
  auto* again = Shown<DeviceNameSetupDialog>();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->NameButton().OnGetText().ToUtf8(), "VANTORI LCDTV");
}

TEST_F(RendererWizardTest, ServerDialogOpensDirectlyAndDoneReturnsToThePlayerSetup) {
  kv::Persistent<MediaServerSetupDialog> dialog{OpenScreen<MediaServerSetupDialog>()};
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(dialog->List(), nullptr);
  Key("right");
  EXPECT_EQ(Focused(), &dialog->DoneButton());
  Key("ok");
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_NE(Shown<MediaPlayerSetupMenu>(), nullptr);
}

TEST_F(RendererWizardTest, DialogsOpenedFiftyTimesLeaveNothingBehind) {
  auto cycle = [&] {
    Install();
    Key("ok");
    Key("down");
    Key("ok");
    Key("ok");
    Key("ok");
    Key("right");
    Key("ok");
    Key("ok");
    Key("exit");
    Key("exit");
    OpenScreen<MediaServerSetupDialog>();
    Key("exit");
  };
  cycle();
  const auto baseline = Census();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(Census(), baseline);
}

}  // namespace
}  // namespace menutest
