// The renderer setup's dialogs through the whole system: the installation
// wizard both ways from the renderer page, the device name typed on the key
// pad and checked, the maximum volume, the controller and server lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media_writer.h"
#include "menusystem_support.h"
#include "platform/psl/psl.h"
#include "strings/MediaPlayerSetup.h"
#include "units/Constants/Constants.h"
#include "units/ListForm/MediaLists.h"
#include "units/MediaPlayer/RendererDialogs.h"
#include "units/MediaPlayer/RendererSetupPages.h"
#include "units/MediaPlayer/SetupItems.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/KeyPad.h"
#include "units/Structures/RefHolders.h"
#include "units/Views/Text.h"

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

// Three controllers on the network, one of them allowed. Ticking and
// unticking rows and Done reach the bridge's register and unregister for
// every row; the renderer keeps nothing, so the list read again shows the
// service's own marks. Key 22 removes the focused controller (traced) and
// reads the list again.
// The device name stands a little in from the field's left border, its
// first letter whole, focused or not.
TEST_F(RendererWizardTest, TheDeviceNameStandsInsideItsField) {
  Install();
  Key("ok");  // renderer on
  auto* name = Shown<DeviceNameSetupDialog>();
  ASSERT_NE(name, nullptr);
  for (const char* key : {"", "right"}) {
    if (*key) Key(key);
    SCOPED_TRACE(Focused() == &name->NameButton() ? "focused" : "not focused");
    const kv::Rect b = name->NameButton().GetAbsoluteBounds();
    bool seen = false;
    for (const Core::SeenText& t : SeenTexts())
      if (t.text == "VANTORI LCDTV") {
        seen = true;
        EXPECT_TRUE(t.Readable()) << t.Describe();
        EXPECT_GE(t.ink.x1, b.x1 + 5) << t.Describe();
      }
    EXPECT_TRUE(seen) << SeenList();
  }
}

TEST_F(RendererWizardTest, ControllerTicksReachTheBridgeAndTheListIsReadAgain) {
  psl::AddController("Phone", "00:11:22:33:44:01", "127.0.0.21", false);
  psl::AddController("Tablet", "00:11:22:33:44:02", "127.0.0.22", true);
  psl::AddController("Laptop", "00:11:22:33:44:03", "127.0.0.23", false);
  Skin()->OnSetDMC_AccessControl(1);
  auto rows = [&](SelectMediaControllerDialog* d) {
    std::vector<std::string> out;
    for (Forms::Ctrl* c : d->List()->GetRows())
      if (auto* r = kv::Cast<ListForm::MediaControllerListItem>(c))
        out.push_back(r->OnGetText().ToUtf8() + " " + r->MacAddr.ToUtf8() + (r->IsChecked ? " ticked" : ""));
    return out;
  };
  // The service's controller list read by the bridge.
  auto reads = [&] {
    size_t n = 0;
    for (const std::string& c : Calls("PslMediaGetMediumList")) n += c == "PslMediaGetMediumList(2)" ? 1 : 0;
    return n;
  };
  auto open = [&] {
    EXPECT_NE(OpenPage<MediaControllerSetupMenu>(), nullptr);
    Key("down");
    ClearCallLog();
    Key("ok");
    return Shown<SelectMediaControllerDialog>();
  };
  kv::Persistent<SelectMediaControllerDialog> dialog{open()};
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(dialog->List(), nullptr);
  EXPECT_EQ(rows(dialog), (std::vector<std::string>{"Phone 00:11:22:33:44:01", "Tablet 00:11:22:33:44:02 ticked",
                                                    "Laptop 00:11:22:33:44:03"}));
  EXPECT_GT(reads(), 0u);
  EXPECT_EQ(Focused(), dialog->List()->GetFocusedRow());
  Key("ok");    // Phone ticked
  Key("down");
  Key("ok");    // Tablet unticked
  EXPECT_EQ(rows(dialog), (std::vector<std::string>{"Phone 00:11:22:33:44:01 ticked", "Tablet 00:11:22:33:44:02",
                                                    "Laptop 00:11:22:33:44:03"}));
  Key("right");
  ASSERT_EQ(Focused(), &dialog->DoneButton());
  Log().Clear();
  ClearCallLog();
  Key("ok");
  EXPECT_FALSE(dialog->IsOpen());
  EXPECT_NE(Shown<MediaControllerSetupMenu>(), nullptr);
  // Each row reached the bridge once, with the controller's mark as listed
  // (name and flag): Phone registered and Tablet unregistered change the
  // list, which is read again; Laptop, unticked and not allowed, leaves its
  // index in the trace. The list's unused row slots reach nothing.
  const std::vector<std::string> lines = Log().Lines();
  auto count = [&](const std::string& line) { return std::count(lines.begin(), lines.end(), line); };
  EXPECT_EQ(count("MediaWrapper::GetMediaControllor Phonefalse"), 1) << ::testing::PrintToString(lines);
  EXPECT_EQ(count("MediaWrapper::GetMediaControllor Tablettrue"), 1);
  EXPECT_EQ(count("MediaWrapper::GetMediaControllor Laptopfalse"), 1);
  EXPECT_EQ(count("MediaWrapper::GetMediaControllor 2"), 1);
  EXPECT_EQ(count("MediaWrapper::GetMediaControllor 0"), 0);
  EXPECT_EQ(reads(), 2u);

  // The renderer keeps no ticks: the list opened again shows the service's marks.
  dialog = open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(rows(dialog), (std::vector<std::string>{"Phone 00:11:22:33:44:01", "Tablet 00:11:22:33:44:02 ticked",
                                                    "Laptop 00:11:22:33:44:03"}));
  Key("down");
  Key("down");
  Log().Clear();
  ClearCallLog();
  Key("blue");
  EXPECT_TRUE(Logged("MediaWrapper::GetMediaControllor 2"));
  EXPECT_GT(reads(), 0u);
  EXPECT_EQ(Shown<SelectMediaControllerDialog>(), dialog);
  // The next key still answers.
  Key("back");
  EXPECT_EQ(Shown<SelectMediaControllerDialog>(), nullptr);
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

// The server list's three column heads show whole in each menu language,
// each over its own column.
TEST_F(RendererWizardTest, ServerDialogColumnHeadsShowWholeInEveryLanguage) {
  for (int32_t lang : {0, 1, 2}) {
    SCOPED_TRACE(lang);
    Skin()->OnSetMenuLanguage(lang);
    Run(100);
    Settle();
    kv::Persistent<MediaServerSetupDialog> dialog{OpenScreen<MediaServerSetupDialog>()};
    ASSERT_NE(dialog, nullptr);
    Run(100);
    const std::vector<Core::SeenText> seen = SeenTexts();
    std::vector<kv::Rect> boxes;
    for (const kv::MultiTextId* id :
         {&MediaPlayerSetup::SID_DEVICE_NAME, &MediaPlayerSetup::SID_MAC_ADDRESS, &MediaPlayerSetup::SID_WAKE_ON_LAN}) {
      const std::string head = kv::GetVariantOfString(*id).ToUtf8();
      EXPECT_TRUE(Sees(head)) << head << "\n" << SeenList();
      for (const Core::SeenText& t : seen)
        if (t.text == head && t.where.find("MediaServerSetupDialog") != std::string::npos) {
          boxes.push_back(t.ink);
          // Not shortened to an ellipsis to fit its column.
          auto* view = kv::Cast<Views::Text>(const_cast<Core::View*>(t.view));
          ASSERT_NE(view, nullptr);
          const ge::TextLayout layout = view->GetLayout();
          ASSERT_EQ(layout.lines.size(), 1u) << t.Describe();
          EXPECT_FALSE(layout.lines[0].ellipsis) << t.Describe();
        }
    }
    ASSERT_EQ(boxes.size(), 3u) << SeenList();
    EXPECT_LT(boxes[0].x2, boxes[1].x1);
    EXPECT_LT(boxes[1].x2, boxes[2].x1);
    Key("exit");
    ASSERT_EQ(Shown<MediaServerSetupDialog>(), nullptr);
  }
  Skin()->OnSetMenuLanguage(0);
}

// Each digit of the maximum volume shows in its cell as it is typed: the
// picture on the screen after each digit is the picture a whole redraw gives.
TEST_F(RendererWizardTest, EveryDigitOfTheMaximumVolumeShowsAsItIsTyped) {
  kv::Persistent<MediaRenderSetupMenu> page{OpenPage<MediaRenderSetupMenu>()};
  ASSERT_NE(page, nullptr);
  for (int i = 0; i < 8 && Focused() != page->MaxVolume(); ++i) Key("down");
  ASSERT_EQ(Focused(), page->MaxVolume());
  const kv::Rect row = page->MaxVolume()->GetAbsoluteBounds();
  auto pixels = [&] {
    Run(300);
    Settle();
    std::vector<uint32_t> out;
    for (int32_t y = row.y1; y < row.y2; ++y)
      for (int32_t x = row.x1; x < row.x2; ++x) out.push_back(Osd().Row(y)[x]);
    return out;
  };
  auto redrawn = [&] {
    App().InvalidateView();
    return pixels();
  };
  Key("4");
  const std::vector<uint32_t> one = pixels();
  EXPECT_EQ(one, redrawn());
  Key("2");
  const std::vector<uint32_t> two = pixels();
  EXPECT_NE(one, two);
  EXPECT_EQ(two, redrawn());
  Key("ok");
  EXPECT_TRUE(Sees("42")) << SeenList();
}

// Two home-network servers, one that names its MAC address and one that
// names none.
class ServerListTest : public RendererWizardTest {
 protected:
  void SetUpData() override {
    Server("NAS", "name=NAS\naddress=192.168.1.20\nmac=00:11:22:33:44:55\n");
    Server("Attic", "name=Attic\naddress=192.168.1.30\n");
  }
  void Server(const std::string& folder, const std::string& ini) {
    const std::filesystem::path dir = DataDir() / "media" / "servers" / folder;
    std::filesystem::create_directories(dir / "Photos");
    std::ofstream(dir / "server.ini") << ini;
    media_writer::WriteBytes((dir / "Photos" / "a.jpg").string(), media_writer::Jpeg(64, 48, 0x204080, 0xC0E0FF));
  }
};

// The column under "MAC Address" shows each server's MAC address, or the
// list's placeholder, never its IP address.
TEST_F(ServerListTest, TheMacAddressColumnShowsTheServersMacAddress) {
  kv::Persistent<MediaServerSetupDialog> dialog{OpenScreen<MediaServerSetupDialog>()};
  ASSERT_NE(dialog, nullptr);
  Run(1000);
  Settle();
  EXPECT_TRUE(Sees("NAS")) << SeenList();
  EXPECT_TRUE(Sees("00:11:22:33:44:55")) << SeenList();
  EXPECT_FALSE(Sees("192.168.1.20")) << SeenList();
  EXPECT_FALSE(Sees("192.168.1.30")) << SeenList();
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
