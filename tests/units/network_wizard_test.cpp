// The menu-style wireless wizard and the network menu pages, driven through
// the whole system against the simulated air: pages opened by state change
// as the product tree does, keys and middleware events through the GUI loop.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "focus_look.h"
#include "menusystem_support.h"
#include "platform/sim/sim_net_state.h"
#include "platform/xpm/xpm_network.h"
#include "runtime/member.h"
#include "units/Constants/Constants.h"
#include "units/Events/WlanConnectCompleteEvent.h"
#include "strings/Strings.h"
#include "units/MainApp/Standby.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/Network/AddressPages.h"
#include "units/Network/AdvancedDialog.h"
#include "units/Network/ConnectionTestDialog.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/Network/NetworkPages.h"
#include "units/Structures/IF_Configuration.h"
#include "units/Structures/WPS_Connection.h"
#include "units/Network/WizardBase.h"
#include "units/Network/WizardStates.h"
#include "units/NonMenuSystem/HelpBar.h"
#include "units/NonMenuSystem/KeyPad.h"
#include "units/NonMenuSystem/WaitingCircle.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/AccessPointLists.h"
#include "units/Resources/Font.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"

namespace wizardtest {

using namespace Network;

class WizardTest : public menutest::MenuTest {
 protected:
  sim::NetState& Net() { return Tv().Net(); }
  kv::Color Pixel(int32_t x, int32_t y) { return kv::Color::FromWord(Osd().Row(y)[x]); }
  template <class T>
  T* Shown() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* t = kv::Cast<T>(f); t && t->IsOpen()) return t;
    return nullptr;
  }
  bool CircleShown() {
    NonMenuSystem::WaitingCircle* c = Nms()->GetWaitingCircle();
    return c && c->IsVisible();
  }
  int32_t HelpMask() {
    auto* bar = Open<NonMenuSystem::HelpBar>();
    return bar && bar->IsOpen() ? bar->OnGetHelpButtonMask() : 0;
  }
  // A wizard state opened by a state change with the menu's transition code
  // and an optional caption, as the state before it opens it.
  template <class T>
  T* OpenState(const std::string& caption = {}) {
    auto* ref = SkinBin::UserRefInt::Make(0, Constants::MSG_FROM_MENUSYSTEM);
    if (!caption.empty()) ref->String = kv::String::FromUtf8(caption);
    Nms()->Open(&T::StaticClass(), ref);
    Settle();
    return Shown<T>();
  }
  // The network set-up page and its row `row` (1-based) activated.
  void FromNetworkSetup(int32_t row) {
    ASSERT_NE(OpenPage<MenuSystem::NetworkSetupMenu>(row), nullptr);
    Press("ok");
    Settle();
  }
  std::string FocusedRow() {
    auto* row = kv::Cast<MenuSystem::SubMenuItem>(Focused());
    return row ? row->OnGetText().ToUtf8() : std::string();
  }
  std::string Info(NetworkWidgetClass* s) { return s ? s->Info.ToUtf8() : std::string("<none>"); }
  std::string Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id).ToUtf8(); }
  size_t Quits() { return Calls("XPM_LAN_Test_Network_Quit").size(); }
  // The settings file and the set's own state file, as stored.
  std::string SettingsFile() {
    std::stringstream s;
    for (const std::string& path : {(DataDir() / "settings.dat").string(), Tv().StatePath()}) {
      std::ifstream in(path, std::ios::binary);
      s << in.rdbuf();
    }
    return s.str();
  }
  // The open-network question over the hidden `caller`, answered: No shows
  // the caller again and joins nothing; Yes joins at once.
  void AnswerOpenNetwork(Core::View* caller, bool yes) {
    ASSERT_NE(Shown<CheckNoEncryption>(), nullptr);
    EXPECT_FALSE(caller->IsVisible());
    if (!yes) Press("right");
    Press("ok");
    Settle();
    EXPECT_EQ(Shown<CheckNoEncryption>(), nullptr);
    EXPECT_EQ(Calls("XPM_WLAN_JoinNetwork").size(), yes ? 1u : 0u);
    if (!yes) {
      EXPECT_TRUE(caller->IsVisible());
    }
  }
  void SetTest(int32_t w0, int32_t w1, int32_t w2, int64_t delay) {
    sim::NetState::TestAnswer a;
    a.own = false;
    a.word[0] = w0;
    a.word[1] = w1;
    a.word[2] = w2;
    a.delay = delay;
    Net().SetTestAnswer(a);
  }
};

// --- Connection test -------------------------------------------------------------------------

TEST_F(WizardTest, ConnectionTestPassesFailsAndItsNoticesReturnToTheSetupPage) {
  Skin()->OnSetNetworkType(0);
  FromNetworkSetup(4);
  auto* t = Shown<NetworkConnectionTest>();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(Calls("XPM_LAN_Test_Network").back(), "XPM_LAN_Test_Network(5)");
  EXPECT_EQ(HelpMask(), 0x80000);
  // The set's own answer on a working link: word 2 the speed: a pass, the
  // success notice 2 s later.
  Run(sim::NetState::kTestDelay + 100);
  Settle();
  EXPECT_NE(Shown<NetworkConnectionTest>(), nullptr);
  Run(NetworkWidgetClass::kPauseTimeOut);
  Settle();
  auto* ok = Shown<NetworkTestSuccess>();
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(Info(ok), Text(Strings::SID_NETWORK_CONNECTION_SUCCESS_MSG));
  EXPECT_EQ(Shown<NetworkConnectionTest>(), nullptr);
  Run(NetworkWidgetClass::kNoticeTimeOut + 100);
  Settle();
  EXPECT_EQ(Shown<NetworkTestSuccess>(), nullptr);
  ASSERT_NE(Shown<MenuSystem::NetworkSetupMenu>(), nullptr) << "4 s later the set-up page";
  // A result with word 2 at 0 and word 1 not 1: the failure notice at once.
  SetTest(0, 0, 0, 500);
  Press("ok");
  Settle();
  ASSERT_NE(Shown<NetworkConnectionTest>(), nullptr);
  Run(600);
  Settle();
  ASSERT_NE(Shown<NetworkTestFail>(), nullptr);
  Press("back");
  Settle();
  ASSERT_NE(Shown<MenuSystem::NetworkSetupMenu>(), nullptr);
  // Word 2 at 0 with word 1 at 1 is no result: the test ends by its time-out.
  SetTest(0, 1, 0, 500);
  Press("ok");
  Settle();
  Run(600);
  Settle();
  ASSERT_NE(Shown<NetworkConnectionTest>(), nullptr);
  Run(NetworkWidgetClass::kLongTimeOut);
  Settle();
  ASSERT_NE(Shown<NetworkTestFail>(), nullptr);
  Press("ok");
  Settle();
  auto* page = Shown<MenuSystem::NetworkSetupMenu>();
  ASSERT_NE(page, nullptr);
  Press("up");
  Settle();
  EXPECT_NE(kv::Cast<MenuSystem::SubMenuItem>(Focused()), nullptr) << "the page answers keys";
}

// The test is quit once on every way out, so that a late result never
// reaches the next test screen.
TEST_F(WizardTest, ConnectionTestIsQuitOnceOnEveryWayOut) {
  Skin()->OnSetNetworkType(0);
  struct Way {
    const char* name;
    std::function<void()> leave;
  };
  const Way ways[] = {
      {"back", [&] { Press("back"); }},
      {"exit", [&] { Press("exit"); }},
      {"ok", [&] { Press("ok"); }},
      {"standby", [&] { Press("power"); }},
      {"120 s", [&] { Run(NetworkWidgetClass::kLongTimeOut + 100); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    if (App().GetStandby()->IsInStandby()) {
      Press("power");
      Run(3000);
      Settle();
    }
    // A failing result far in the future.
    SetTest(0, 0, 0, NetworkWidgetClass::kLongTimeOut + 20000);
    Nms()->OpenWithValue(&NetworkConnectionTest::StaticClass(), 0, Constants::MSG_FROM_MENUSYSTEM);
    Settle();
    ASSERT_NE(Shown<NetworkConnectionTest>(), nullptr);
    ClearCallLog();
    way.leave();
    Settle();
    EXPECT_EQ(Shown<NetworkConnectionTest>(), nullptr);
    EXPECT_EQ(Quits(), 1u);
  }
  // Left by back, a test's late result must not reach the wireless
  // information page opened next (its speed row shows a test's speed).
  Press("exit");
  Settle();
  SetTest(1, 1, 20 * 1024, 3000);
  Nms()->OpenWithValue(&NetworkConnectionTest::StaticClass(), 0, Constants::MSG_FROM_MENUSYSTEM);
  Settle();
  Press("back");
  Settle();
  auto* info = OpenPage<WirelessInformationMenu>();
  ASSERT_NE(info, nullptr);
  Run(4000);
  Settle();
  EXPECT_EQ(info->Value(WirelessInformationMenu::kSpeed)->OnGetValueString().ToUtf8(), "")
      << "the left test's result reached the information page";
}

// --- Easy set-up by push button and PIN -----------------------------------------------------

TEST_F(WizardTest, PushButtonJoinsShowsSuccessTwoSecondsThenTheResult) {
  Skin()->OnSetNetworkType(1);
  Skin()->OnSetWPSConfiguration(0);
  Net().AddAccessPoint({"HomeNet", "", 80, XPM_WLAN_SEC_WPA2_AES, "home-secret"});
  Net().PressWpsButton("HomeNet");
  ASSERT_NE(OpenPage<EasySetupMenu>(2), nullptr);
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_WPSJoinByPb").size(), 1u) << "the join starts before the waiting state";
  auto* pbc = Shown<EasySetupPBC>();
  ASSERT_NE(pbc, nullptr);
  EXPECT_TRUE(CircleShown());
  EXPECT_EQ(Info(pbc), Text(Strings::SID_PBC_SEARCHING));
  EXPECT_EQ(HelpMask(), 0x40000);
  // OK while waiting does nothing.
  Press("ok");
  Settle();
  ASSERT_EQ(Shown<EasySetupPBC>(), pbc);
  Run(sim::NetState::kWpsDelay + 100);
  Settle();
  EXPECT_EQ(Info(pbc), Text(Strings::SID_PBC_SEARCH_SUCCESS));
  Run(NetworkWidgetClass::kPauseTimeOut);
  Settle();
  EXPECT_EQ(Shown<EasySetupPBC>(), nullptr);
  auto* result = Shown<EasySetup_ApInfo>();
  ASSERT_NE(result, nullptr);
  EXPECT_FALSE(CircleShown()) << "the circle leaves with the waiting state";
  ASSERT_NE(result->Link(), nullptr);
  EXPECT_EQ(result->Link()->SSID.ToUtf8(), "HomeNet");
  // The link in the disabled form: the name, the security, the key's placeholder.
  EXPECT_EQ(result->Form().Item(ApInfo::kName).OnGetValueString().ToUtf8(), "HomeNet");
  EXPECT_EQ(result->Form().Item(ApInfo::kAuthentication).OnGetValueString().ToUtf8(), "WPA2-PSK");
  EXPECT_EQ(result->Form().Item(ApInfo::kKey).OnGetValueString().ToUtf8(), "********");
  EXPECT_TRUE(result->Form().IsFormDisabled());
  EXPECT_EQ(HelpMask(), 0x40200);
  // OK: the wireless set-up page, which answers keys.
  Press("ok");
  Settle();
  ASSERT_NE(Shown<WirelessSetupMenu>(), nullptr);
  Press("down");
  Settle();
  EXPECT_EQ(FocusedRow(), Text(Strings::SID_ASSISTED_SETUP));
}

TEST_F(WizardTest, PushButtonFailureAndSilenceReturnToTheEasySetupPage) {
  Skin()->OnSetNetworkType(1);
  Skin()->OnSetWPSConfiguration(0);
  // No button pressed on any access point: the join fails after 5 s.
  ASSERT_NE(OpenPage<EasySetupMenu>(2), nullptr);
  Press("ok");
  Settle();
  auto* pbc = Shown<EasySetupPBC>();
  ASSERT_NE(pbc, nullptr);
  Run(sim::NetState::kWpsDelay + 100);
  Settle();
  EXPECT_EQ(Info(pbc), Text(Strings::SID_PBC_SEARCH_FAILURE));
  EXPECT_FALSE(CircleShown());
  EXPECT_EQ(HelpMask(), 512);
  Press("ok");
  Settle();
  ASSERT_NE(Shown<EasySetupMenu>(), nullptr);
  // No answer at all: 120 s to the failure text, 60 s more back to the page.
  Net().SetWirelessAnswers(false);
  Press("ok");
  Settle();
  pbc = Shown<EasySetupPBC>();
  ASSERT_NE(pbc, nullptr);
  Run(NetworkWidgetClass::kLongTimeOut - 500);
  Settle();
  EXPECT_EQ(Info(pbc), Text(Strings::SID_PBC_SEARCHING));
  Run(600);
  Settle();
  EXPECT_EQ(Info(pbc), Text(Strings::SID_PBC_SEARCH_FAILURE));
  EXPECT_FALSE(CircleShown());
  Run(NetworkWidgetClass::kIdleTimeOut + 100);
  Settle();
  EXPECT_EQ(Shown<EasySetupPBC>(), nullptr);
  ASSERT_NE(Shown<EasySetupMenu>(), nullptr);
}

TEST_F(WizardTest, PinListShowsTheGeneratedPinAndTheChosenNetworkJoinsWithIt) {
  Skin()->OnSetNetworkType(1);
  Skin()->OnSetWPSConfiguration(1);
  Net().ClearAccessPoints();
  Net().AddAccessPoint({"PinNet", "", 80, XPM_WLAN_SEC_WPA2_AES, "pin-net-key"});
  ASSERT_NE(OpenPage<EasySetupMenu>(2), nullptr);
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_TRUE(Calls("XPM_WLAN_WPSJoinByPb").empty()) << "the PIN path starts no push-button join";
  auto* list = Shown<EasySetupPIN_ApList>();
  ASSERT_NE(list, nullptr);
  const std::string pin = list->PinView().OnGetString().ToUtf8();
  EXPECT_EQ(pin.size(), 8u);
  EXPECT_TRUE(Sees("Enter this PIN on your access point")) << SeenList();
  EXPECT_EQ(Calls("XPM_GenerateWPSPin").size(), 1u);
  EXPECT_TRUE(CircleShown());
  // Selection while scanning does nothing.
  Press("ok");
  Settle();
  ASSERT_NE(Shown<EasySetupPIN_ApList>(), nullptr);
  Run(sim::NetState::kScanDelay + 100);
  Settle();
  EXPECT_FALSE(CircleShown());
  Press("ok");
  Settle();
  ASSERT_EQ(Calls("XPM_WLAN_WPSJoinByPinEx").size(), 1u);
  EXPECT_NE(Calls("XPM_WLAN_WPSJoinByPinEx")[0].find("PinNet"), std::string::npos);
  auto* wait = Shown<EasySetupPIN>();
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(Info(wait), Text(Strings::SID_WAIT_UNTIL_SETUP_COMPLETE_MSG));
  EXPECT_TRUE(CircleShown());
  Run(sim::NetState::kWpsDelay + 100 + NetworkWidgetClass::kPauseTimeOut);
  Settle();
  ASSERT_NE(Shown<EasySetup_PINApInfo>(), nullptr);
  EXPECT_EQ(Net().Joined(), "PinNet");
  // Back: the easy set-up page.
  Press("back");
  Settle();
  ASSERT_NE(Shown<EasySetupMenu>(), nullptr);
  // The PIN never reaches the log, and nothing of it the settings file.
  EXPECT_FALSE(Logged(pin));
  EXPECT_EQ(Calls("XPM_WLAN_WPSJoinByPinEx")[0].find(pin), std::string::npos);
  Restart();
  EXPECT_EQ(SettingsFile().find(pin), std::string::npos);
}

// --- Cancel confirmation ---------------------------------------------------------------------

TEST_F(WizardTest, CancelConfirmationStopsOrRestoresTheWaitingState) {
  Skin()->OnSetNetworkType(1);
  Skin()->OnSetWPSConfiguration(0);
  Net().AddAccessPoint({"HomeNet", "", 80, XPM_WLAN_SEC_WPA2_AES, "home-secret"});
  ASSERT_NE(OpenPage<EasySetupMenu>(2), nullptr);
  Press("ok");
  Settle();
  // Held: the state is read after it moves on.
  kv::Persistent<EasySetupPBC> pbc{Shown<EasySetupPBC>()};
  ASSERT_NE(pbc.get(), nullptr);
  // Back while waiting asks first; the waiting state hides under it with its circle.
  Press("back");
  Settle();
  auto* cancel = Shown<CancelDialog>();
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->Caption.ToUtf8(), Text(Strings::SID_EASY_SETUP_PBC));
  EXPECT_TRUE(pbc->IsOpen());
  EXPECT_FALSE(pbc->IsVisible());
  EXPECT_FALSE(CircleShown());
  EXPECT_EQ(HelpMask(), 0x40204);
  // No: the state shows again, circle and help as they were.
  Press("right");
  Press("ok");
  Settle();
  EXPECT_EQ(Shown<CancelDialog>(), nullptr);
  EXPECT_TRUE(pbc->IsVisible());
  EXPECT_TRUE(CircleShown());
  EXPECT_EQ(HelpMask(), 0x40000);
  // A connect event while the question is open waits for the answer; 60 s
  // without one is a No, and the state takes the event then.
  Net().PressWpsButton("HomeNet");
  auto* wps = kv::New<Structures::WPS_Connection>();
  wps->Mode = 1;
  Skin()->NetworkSetup.WPS_Join(wps);
  Press("exit");
  Settle();
  ASSERT_NE(Shown<CancelDialog>(), nullptr);
  Run(sim::NetState::kWpsDelay + 100);
  Settle();
  EXPECT_EQ(pbc->Status, -1);
  // The question's 60 s end 100 ms from here (it opened 5.1 s ago).
  Run(NetworkWidgetClass::kIdleTimeOut - sim::NetState::kWpsDelay);
  Settle();
  EXPECT_EQ(Shown<CancelDialog>(), nullptr);
  EXPECT_EQ(pbc->Status, 1) << "the connect event came meanwhile";
  Run(NetworkWidgetClass::kPauseTimeOut + 100);
  Settle();
  ASSERT_NE(Shown<EasySetup_ApInfo>(), nullptr);
  // Yes: the join is quit and the easy set-up page shows.
  Press("back");
  Settle();
  ASSERT_NE(Shown<EasySetupMenu>(), nullptr);
  Press("ok");
  Settle();
  ASSERT_NE(Shown<EasySetupPBC>(), nullptr);
  Press("back");
  Settle();
  ASSERT_NE(Shown<CancelDialog>(), nullptr);
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_QuitNetwork").size(), 1u);
  EXPECT_EQ(Shown<EasySetupPBC>(), nullptr);
  EXPECT_FALSE(CircleShown());
  ASSERT_NE(Shown<EasySetupMenu>(), nullptr);
}

// The cancel question shows both answers side by side; the focus bar sits on
// the answer that OK takes and right moves it to No.
TEST_F(WizardTest, CancelQuestionShowsYesAndNo) {
  Skin()->OnSetNetworkType(1);
  Skin()->OnSetWPSConfiguration(0);
  ASSERT_NE(OpenPage<EasySetupMenu>(2), nullptr);
  Press("ok");
  Settle();
  kv::Persistent<EasySetupPBC> pbc{Shown<EasySetupPBC>()};
  ASSERT_NE(pbc.get(), nullptr);
  Press("back");
  Settle();
  Run(300);
  auto* cancel = Shown<CancelDialog>();
  ASSERT_NE(cancel, nullptr);
  // The answers' places: two buttons side by side under the question.
  const kv::Rect b = cancel->Bounds();
  const int32_t y = b.y1 + b.H() - 48;
  const kv::Point yes{b.x1 + b.W() / 2 - 105, y}, no{b.x1 + b.W() / 2 + 105, y};
  const kv::Color yesFocused = Pixel(yes.x, yes.y), noPlain = Pixel(no.x, no.y);
  EXPECT_NE(yesFocused, noPlain) << "one bar over both answers";
  Press("right");
  Run(300);
  EXPECT_EQ(Pixel(no.x, no.y), yesFocused) << "No does not take the focus bar";
  EXPECT_EQ(Pixel(yes.x, yes.y), noPlain);
  Press("left");
  Run(300);
  EXPECT_EQ(Pixel(yes.x, yes.y), yesFocused);
  // No declines: the waiting state shows again and the next key still acts.
  Press("right");
  Press("ok");
  Settle();
  EXPECT_EQ(Shown<CancelDialog>(), nullptr);
  EXPECT_TRUE(pbc->IsVisible());
  Press("back");
  Settle();
  EXPECT_NE(Shown<CancelDialog>(), nullptr);
}

TEST_F(WizardTest, StandbyWhileWaitingCancelsFirst) {
  Skin()->OnSetNetworkType(1);
  Skin()->OnSetWPSConfiguration(0);
  ASSERT_NE(OpenPage<EasySetupMenu>(2), nullptr);
  Press("ok");
  Settle();
  ASSERT_NE(Shown<EasySetupPBC>(), nullptr);
  ClearCallLog();
  Press("power");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_QuitNetwork").size(), 1u);
  EXPECT_TRUE(App().GetStandby()->IsInStandby());
  EXPECT_EQ(Shown<EasySetupPBC>(), nullptr);
  EXPECT_EQ(Shown<CancelDialog>(), nullptr) << "standby asks nothing";
}

// --- Access-point lists ----------------------------------------------------------------------

TEST_F(WizardTest, AssistedListScansRescansAndStopsTheScanOnTheWayOut) {
  Skin()->OnSetNetworkType(1);
  Net().ClearAccessPoints();
  Net().AddAccessPoint({"Attic", "", 60, XPM_WLAN_SEC_WPA2_AES, "attic-key"});
  ASSERT_NE(OpenPage<WirelessSetupMenu>(2), nullptr);
  ClearCallLog();
  Press("ok");
  Settle();
  auto* list = Shown<AssistedSetup_ApList>();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Calls("XPM_WLAN_Scan").size(), 1u);
  EXPECT_TRUE(CircleShown());
  EXPECT_EQ(HelpMask(), 0x41200);
  Run(sim::NetState::kScanDelay + 100);
  Settle();
  EXPECT_FALSE(CircleShown());
  EXPECT_EQ(list->Notice(), nullptr);
  // A rescan that finds nothing gives up after 60 s with the notice.
  Net().SetWirelessAnswers(false);
  Press("red");
  Settle();
  EXPECT_TRUE(CircleShown());
  Run(NetworkWidgetClass::kIdleTimeOut - 500);
  Settle();
  EXPECT_EQ(list->Notice(), nullptr);
  Run(600);
  Settle();
  ASSERT_NE(list->Notice(), nullptr);
  EXPECT_EQ(list->Notice()->Bounds().Origin(), AssistedSetup_ApList::kNoticeOrigin);
  EXPECT_FALSE(CircleShown());
  // Back while scanning stops the scan and shows the wireless set-up page.
  Press("red");
  Settle();
  ClearCallLog();
  Press("back");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_StopScan").size(), 1u);
  ASSERT_NE(Shown<WirelessSetupMenu>(), nullptr);
  EXPECT_FALSE(CircleShown());
  // Exit while scanning stops it too and closes everything.
  Press("ok");
  Settle();
  ASSERT_NE(Shown<AssistedSetup_ApList>(), nullptr);
  ClearCallLog();
  Press("exit");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_StopScan").size(), 1u);
  EXPECT_EQ(Shown<AssistedSetup_ApList>(), nullptr);
  EXPECT_EQ(Shown<WirelessSetupMenu>(), nullptr);
}

// The assisted list: empty rows while the scan runs (nothing held from an
// earlier scan), then the access points with a focus bar on the first, every
// word whole.
TEST_F(WizardTest, AssistedListWaitsEmptyThenShowsTheFocusedAccessPointWhole) {
  Skin()->OnSetNetworkType(1);
  // An earlier scan left a result behind (the wireless scan dialog's).
  Skin()->NetworkSetup.WLAN_ScanAccessPoint({});
  Run(sim::NetState::kScanDelay + 100);
  Skin()->NetworkSetup.WLAN_LoadAccessPoints();
  ASSERT_GT(Skin()->NetworkSetup.GetAccessPointNum(), 0);
  ASSERT_NE(OpenPage<WirelessSetupMenu>(2), nullptr);
  Press("ok");
  Settle();
  Run(100);
  auto* state = Shown<AssistedSetup_ApList>();
  ASSERT_NE(state, nullptr);
  ListForm::AccessPointList& list = state->List();
  auto rowsOf = [&] {
    std::vector<ListForm::ApItem*> rows;
    for (Forms::Ctrl* r : list.GetAllRows())
      if (auto* a = kv::Cast<ListForm::ApItem>(r); a && a->IsVisible()) rows.push_back(a);
    return rows;
  };
  for (ListForm::ApItem* row : rowsOf()) {
    EXPECT_EQ(row->NetworkName.ToUtf8(), "") << "a row filled before the scan ended";
    EXPECT_EQ(row->OnGetSignalText().ToUtf8(), "");
    EXPECT_FALSE(apptest::LooksFocused(Osd(), row)) << "a bar on a row of the list that scans";
  }
  Run(sim::NetState::kScanDelay + 100);
  Settle();
  Run(300);
  const std::vector<ListForm::ApItem*> rows = rowsOf();
  ASSERT_GE(rows.size(), 2u);
  ASSERT_FALSE(rows[0]->NetworkName.ToUtf8().empty());
  ASSERT_EQ(Focused(), rows[0]);
  // The focused row has a bar: its left end differs from the next row's.
  const kv::Rect r0 = rows[0]->GetAbsoluteBounds(), r1 = rows[1]->GetAbsoluteBounds();
  int differing = 0;
  for (int32_t dy = 2; dy < r0.H() - 2; ++dy)
    if (Pixel(r0.x1 + 2, r0.y1 + dy) != Pixel(r1.x1 + 2, r1.y1 + dy)) ++differing;
  EXPECT_GT(differing, r0.H() / 2) << "no focus bar on the focused row";
  // The rows take the list's width and every signal word fits its column.
  Resources::Font* font = Resources::LoadResource(Fonts::MediumFont);
  for (ListForm::ApItem* row : rows) {
    EXPECT_EQ(row->Bounds().W(), list.Bounds().W() - list.ItemXOffset);
    const kv::String word = row->OnGetSignalText();
    EXPECT_LE(font->GetTextWidth(word), row->SignalView().Bounds().W()) << word.ToUtf8();
  }
  const kv::String medium = kv::GetVariantOfString(Strings::SID_MEDIUM_U);
  EXPECT_LE(font->GetTextWidth(medium), rows[0]->SignalView().Bounds().W());
}

// --- Menu pages ------------------------------------------------------------------------------

TEST_F(WizardTest, WirelessSetupPageHasNoEnhanced11nRowAndAdvancedPageOpensItsPages) {
  auto* page = OpenPage<WirelessSetupMenu>();
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(page->RowCount(), 3);
  EXPECT_EQ(page->WinID, 0x1001542u);
  for (int32_t i = 0; i < 3; ++i)
    EXPECT_NE(page->Row(i)->OnGetText().ToUtf8(), Text(Strings::SID_ENHANCED_11N));
  Press("up");
  Settle();
  EXPECT_EQ(FocusedRow(), Text(Strings::SID_MANUAL_SETUP)) << "up wraps to the last of three";
  Press("back");
  Settle();
  ASSERT_NE(Shown<MenuSystem::NetworkSetupMenu>(), nullptr);
  // The advanced page: IP, DNS and MAC pages, each back to it.
  auto* adv = OpenPage<AdvancedNetworkSetupMenu>(3);
  ASSERT_NE(adv, nullptr);
  ASSERT_EQ(adv->RowCount(), 3);
  Press("ok");
  Settle();
  auto* mac = Shown<MACAddressMenu>();
  ASSERT_NE(mac, nullptr);
  Press("back");
  Settle();
  ASSERT_NE(Shown<AdvancedNetworkSetupMenu>(), nullptr);
  Press("up", 2);
  Press("ok");
  Settle();
  ASSERT_NE(Shown<IPAddressSetupMenu>(), nullptr);
  Press("back");
  Settle();
  ASSERT_NE(Shown<AdvancedNetworkSetupMenu>(), nullptr);
}

TEST_F(WizardTest, MacPageShowsBothAddressesAndAFailedReadAsZeros) {
  auto* page = OpenPage<MACAddressMenu>();
  ASSERT_NE(page, nullptr);
  const std::string wired = page->Value(0)->OnGetValueString().ToUtf8();
  const std::string wireless = page->Value(1)->OnGetValueString().ToUtf8();
  EXPECT_EQ(wired.size(), 17u);
  EXPECT_EQ(wireless.size(), 17u);
  EXPECT_NE(wired, wireless);
  EXPECT_NE(wired, "00:00:00:00:00:00");
  EXPECT_EQ(HelpMask(), 0x40000);
  Press("exit");
  Settle();
  FailCall("XPM_LAN_GetMacAddr", XPM_ERR_NOT_READY);
  page = OpenPage<MACAddressMenu>();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Value(0)->OnGetValueString().ToUtf8(), "00:00:00:00:00:00");
  EXPECT_EQ(page->Value(1)->OnGetValueString().ToUtf8(), "00:00:00:00:00:00");
}

// The MAC page's rows cannot change: the focused row looks as the other one
// does, with no focus bar and no arrows.
TEST_F(WizardTest, MacRowsShowNeitherAFocusBarNorArrows) {
  auto* page = OpenPage<MACAddressMenu>();
  ASSERT_NE(page, nullptr);
  Run(300);
  ASSERT_EQ(Focused(), page->Value(0));
  const kv::Rect wired = page->Value(0)->GetAbsoluteBounds();
  const kv::Rect wireless = page->Value(1)->GetAbsoluteBounds();
  ASSERT_EQ(wired.W(), wireless.W());
  ASSERT_EQ(wired.H(), wireless.H());
  // Columns that hold no text: the bar's left end and the arrows' places
  // (left of the value and at the right end).
  const int32_t value = page->Value(0)->ValueText().Bounds().x1;
  for (const int32_t x : {2, 5, value - 24, value - 14, value - 8, wired.W() - 20, wired.W() - 14, wired.W() - 8}) {
    SCOPED_TRACE(x);
    int differing = 0;
    for (int32_t dy = 1; dy < wired.H() - 1; ++dy)
      if (Pixel(wired.x1 + x, wired.y1 + dy) != Pixel(wireless.x1 + x, wireless.y1 + dy)) ++differing;
    EXPECT_EQ(differing, 0);
  }
  // Down moves to the wireless row, which looks the same.
  Press("down");
  Run(300);
  EXPECT_EQ(Focused(), page->Value(1));
  EXPECT_EQ(Pixel(wired.x1 + 5, wired.y1 + wired.H() / 2), Pixel(wireless.x1 + 5, wireless.y1 + wireless.H() / 2));
}

TEST_F(WizardTest, WirelessInformationShowsTheLinkAndTheInterface) {
  Skin()->OnSetNetworkType(1);
  using P = WirelessInformationMenu;
  auto row = [](P* p, int32_t r) { return p->Value(r)->OnGetValueString().ToUtf8(); };
  // Disconnected with DHCP on: no link rows, no addresses.
  auto* page = OpenPage<P>();
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(page->RowCount(), 16);
  EXPECT_EQ(page->WinID, 0x1001542u);
  EXPECT_EQ(HelpMask(), 0x41000);
  EXPECT_EQ(kv::Cast<MenuSystem::SubMenuItem>(Focused()), nullptr) << "read-only: no row takes the focus";
  EXPECT_EQ(row(page, P::kStatus), Text(Strings::SID_DISCONNECTED));
  for (int32_t r : {P::kSignal, P::kSpeed, P::kMode, P::kChannel, P::kApMac, P::kIp, P::kMask, P::kGateway, P::kDns})
    EXPECT_EQ(row(page, r), "") << r;
  EXPECT_EQ(row(page, P::kDhcp), Text(Strings::SID_ENABLED));
  EXPECT_EQ(row(page, P::kMac).size(), 17u);
  Press("exit");
  Settle();
  // Joined to a WPA2 network: status, signal word, channel, the name, the
  // security as its two choices, and the key only as a placeholder.
  Net().AddAccessPoint({"Lounge", "", 95, XPM_WLAN_SEC_WPA2_AES, "lounge-passphrase", "12345670", 11});
  sim::NetState::IfConfig dhcp;
  ASSERT_EQ(Net().SetIfConfig(1, dhcp, "test"), 0);
  ASSERT_EQ(Net().Join("Lounge", "lounge-passphrase", XPM_WLAN_SEC_WPA2_AES, "test"), 0);
  Run(sim::NetState::kJoinDelay + 100);
  Settle();
  page = OpenPage<P>();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(row(page, P::kStatus), Text(Strings::SID_CONNECTED));
  EXPECT_EQ(row(page, P::kSignal), Text(Strings::SID_STRONG));
  EXPECT_EQ(row(page, P::kChannel), "11");
  EXPECT_NE(row(page, P::kApMac), "");
  EXPECT_EQ(row(page, P::kNetworkName), "Lounge");
  EXPECT_EQ(row(page, P::kAuthentication), "WPA2-PSK");
  EXPECT_EQ(row(page, P::kEncryption), "AES");
  EXPECT_EQ(row(page, P::kSecurityKey), "********");
  EXPECT_NE(row(page, P::kIp), "") << "connected: the addresses the set got";
  // The scan key lists the access points with their modes; back returns.
  Press("red");
  Settle();
  auto* list = Shown<WirelessInformation_ApList>();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->List().ProtocolMode);
  EXPECT_EQ(list->Caption.ToUtf8(), Text(Strings::SID_WIRELESS_INFORMATION));
  Run(sim::NetState::kScanDelay + 100);
  Settle();
  Press("back");
  Settle();
  page = Shown<P>();
  ASSERT_NE(page, nullptr);
  // Down and up scroll the sixteen rows a line at a time.
  const int32_t top = page->Row(0)->Bounds().y1;
  Press("down");
  Settle();
  EXPECT_EQ(page->OnGetScroll(), 1);
  EXPECT_LT(page->Row(0)->Bounds().y1, top);
  Press("up");
  Settle();
  EXPECT_EQ(page->Row(0)->Bounds().y1, top);
  // Disconnected with DHCP off: the interface's static addresses still show
  // (the simulated set reports none without a link: the record as a set
  // with static addresses on an unlinked interface reports it).
  auto* down = kv::New<Structures::WLAN_Info>();
  down->State = 0;
  auto* fixed = kv::New<Structures::IF_Configuration>();
  fixed->DHCP = 0;
  const uint8_t ip[4] = {192, 168, 2, 20}, mask[4] = {255, 255, 255, 0}, gw[4] = {192, 168, 2, 1}, dns[4] = {8, 8, 8, 8};
  std::memcpy(fixed->IPAddress, ip, 4);
  std::memcpy(fixed->SubnetMask, mask, 4);
  std::memcpy(fixed->DefaultGateway, gw, 4);
  std::memcpy(fixed->DNS1, dns, 4);
  page->ShowLink(down, fixed);
  EXPECT_EQ(row(page, P::kStatus), Text(Strings::SID_DISCONNECTED));
  EXPECT_EQ(row(page, P::kDhcp), Text(Strings::SID_DISABLED));
  EXPECT_EQ(row(page, P::kIp), "192.168.2.20");
  EXPECT_EQ(row(page, P::kMask), "255.255.255.0");
  EXPECT_EQ(row(page, P::kGateway), "192.168.2.1");
  EXPECT_EQ(row(page, P::kDns), "8.8.8.8");
  // The same record with DHCP on: no addresses while disconnected.
  fixed->DHCP = 1;
  page->ShowLink(down, fixed);
  EXPECT_EQ(row(page, P::kIp), "");
  EXPECT_EQ(row(page, P::kDhcp), Text(Strings::SID_ENABLED));
  // Records out of range: signal 7 reads strong, modes 10 unsupported and
  // 20 none; a security method past the table shows the unsupported pair.
  auto* rec = kv::New<Structures::WLAN_Info>();
  rec->State = 1;
  rec->Signal = 7;
  rec->Mode = 10;
  rec->Security = 9;
  rec->Rate = 108;
  page->ShowLink(rec, nullptr);
  EXPECT_EQ(row(page, P::kSignal), Text(Strings::SID_STRONG));
  EXPECT_EQ(row(page, P::kMode), Text(Strings::SID_UNSUPPORTED));
  EXPECT_EQ(row(page, P::kSpeed), "54 " + Text(Strings::SID_MBPS));
  EXPECT_EQ(row(page, P::kAuthentication), Text(Strings::SID_UNSUPPORTED));
  EXPECT_EQ(row(page, P::kEncryption), Text(Strings::SID_UNSUPPORTED));
  rec->Mode = 20;
  page->ShowLink(rec, nullptr);
  EXPECT_EQ(row(page, P::kMode), Text(Strings::SID_NONE));
  // A test result's third word is the speed in kbit/s.
  SetTest(1, 1, 30 * 1024, 100);
  Skin()->NetworkSetup.LAN_TestConnection(5);
  Run(200);
  Settle();
  EXPECT_EQ(row(page, P::kSpeed), "30 " + Text(Strings::SID_MBPS));
  // The pass phrase is nowhere.
  EXPECT_FALSE(Logged("lounge-passphrase"));
  Restart();
  EXPECT_EQ(SettingsFile().find("lounge-passphrase"), std::string::npos);
}

// --- The advanced dialog's question and notices -----------------------------------------------

class AdvancedWizardTest : public WizardTest {
 protected:
  WirelessAdvancedDialog* OpenAdvanced(int32_t mode, int32_t auth, int32_t enc) {
    Skin()->OnSetNetworkType(1);
    Skin()->OnSetConnectMode(mode);
    Skin()->OnSetAuthentication(auth);
    Skin()->OnSetEncryption(enc);
    Nms()->OpenWithValue(&WirelessAdvancedDialog::StaticClass(), 0, Constants::MSG_FROM_MENUSYSTEM);
    Settle();
    return Shown<WirelessAdvancedDialog>();
  }
  bool FocusOn(Core::View* target) {
    for (int i = 0; i < 8 && Focused() != target; ++i) Press("down");
    if (Focused() != target) Press("left");
    Settle();
    return Focused() == target;
  }
};

TEST_F(AdvancedWizardTest, OpenNetworkIsConfirmedOnceAndNoticesReturnToTheDialog) {
  // Open/shared without encryption: the question first, no join yet.
  WirelessAdvancedDialog* d = OpenAdvanced(2, 0, 0);
  ASSERT_NE(d, nullptr);
  ASSERT_TRUE(FocusOn(&d->NameButton()));
  KeyPadAnswers("CafeGuest");
  ASSERT_TRUE(FocusOn(&d->OkButton()));
  ClearCallLog();
  Press("ok");
  Settle();
  auto* ask = Shown<CheckNoEncryption>();
  ASSERT_NE(ask, nullptr);
  EXPECT_EQ(ask->Caption.ToUtf8(), d->Caption.ToUtf8());
  EXPECT_EQ(Info(ask), Text(Strings::SID_WIFI_NO_ENCRYPTION_CONFIRM));
  EXPECT_EQ(HelpMask(), 0x40204);
  EXPECT_TRUE(Calls("XPM_WLAN_JoinNetwork").empty());
  // No: the dialog shows again and joins nothing.
  AnswerOpenNetwork(d, false);
  // 60 s without an answer is a No too.
  ASSERT_TRUE(FocusOn(&d->OkButton()));
  Press("ok");
  Settle();
  ASSERT_NE(Shown<CheckNoEncryption>(), nullptr);
  Run(NetworkWidgetClass::kIdleTimeOut + 100);
  Settle();
  EXPECT_EQ(Shown<CheckNoEncryption>(), nullptr);
  EXPECT_TRUE(d->IsVisible());
  // Yes: the join starts without a second question.
  ASSERT_TRUE(FocusOn(&d->OkButton()));
  Press("ok");
  Settle();
  AnswerOpenNetwork(d, true);
  ASSERT_EQ(Calls("XPM_WLAN_JoinNetwork").size(), 1u);
  EXPECT_NE(Calls("XPM_WLAN_JoinNetwork")[0].find("CafeGuest"), std::string::npos);
  ASSERT_NE(Shown<NetworkStatusDialog>(), nullptr);
  Press("exit");
  Settle();

  // Open/shared with TKIP has no method of its own: the mismatch notice,
  // under the dialog's caption, returns to the dialog by OK, back and 60 s.
  struct Way {
    const char* name;
    std::function<void()> go;
  };
  const Way ways[] = {{"ok", [&] { Press("ok"); }}, {"back", [&] { Press("back"); }},
                      {"60 s", [&] { Run(NetworkWidgetClass::kIdleTimeOut + 100); }}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    d = OpenAdvanced(2, 0, 2);
    ASSERT_NE(d, nullptr);
    const std::string caption = d->Caption.ToUtf8();
    ASSERT_TRUE(FocusOn(&d->NameButton()));
    KeyPadAnswers("HomeNet");
    ASSERT_TRUE(FocusOn(&d->OkButton()));
    Press("ok");
    Settle();
    auto* notice = Shown<AssistedSetupSecureError>();
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->Caption.ToUtf8(), caption);
    EXPECT_EQ(Info(notice), Text(Strings::SID_WIFI_ENCRYPTION_MISMATCH));
    EXPECT_EQ(HelpMask(), 512);
    EXPECT_FALSE(CircleShown());
    way.go();
    Settle();
    EXPECT_EQ(Shown<AssistedSetupSecureError>(), nullptr);
    ASSERT_NE(Shown<WirelessAdvancedDialog>(), nullptr) << "back to the dialog";
    Press("exit");
    Settle();
  }
}

// --- Access-point entry and information -------------------------------------------------------

class EntryWizardTest : public WizardTest {
 protected:
  // Types on the open key pad: letters by the on-screen keyboard (upper
  // case, from its first key), digits by the remote's digit keys; blue is
  // its Done.
  void TypeOnKeyPad(const std::string& text) {
    ASSERT_NE(Shown<NonMenuSystem::KeyPad>(), nullptr);
    for (char c : text) {
      if (c >= '0' && c <= '9') {
        Press(std::string(1, c));
        continue;
      }
      ASSERT_TRUE(c >= 'A' && c <= 'G') << "letters A to G only (the keyboard's first row)";
      Press("right", c - 'A');
      Press("ok");
      Press("left", c - 'A');
    }
    Press("blue");
    Settle();
  }
  // The row's value text.
  std::string Value(ApInfoItem& row) { return row.OnGetValueString().ToUtf8(); }
  // Light (text) pixels of the OSD inside the view's value half.
  int LitValuePixels(ApInfoItem& row) {
    const kv::Rect r = row.GetAbsoluteBounds();
    int lit = 0;
    for (int32_t y = r.y1; y < r.y2; ++y)
      for (int32_t x = r.x1 + r.W() / 2; x < r.x2; ++x) {
        const uint32_t p = Osd().Row(y)[x];
        if ((p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF) > 3 * 150) ++lit;
      }
    return lit;
  }
  // The assisted entry of `ap`, the only access point on the air.
  AssistedSetup_ApInfo* PickOnly(const sim::NetState::AccessPoint& ap) {
    Skin()->OnSetNetworkType(1);
    Net().ClearAccessPoints();
    Net().AddAccessPoint(ap);
    return PickFirst();
  }
  // The assisted list on the wireless set-up page, scanned, its first
  // access point chosen.
  AssistedSetup_ApInfo* PickFirst() {
    if (!OpenPage<WirelessSetupMenu>(2)) return nullptr;
    Press("ok");
    Settle();
    if (!Shown<AssistedSetup_ApList>()) return nullptr;
    Run(sim::NetState::kScanDelay + 100);
    Settle();
    Press("ok");
    Settle();
    return Shown<AssistedSetup_ApInfo>();
  }
  void ExpectNowhere(const std::string& secret) {
    EXPECT_FALSE(Logged(secret)) << secret;
    for (const std::string& call : Tv().CallLog()) EXPECT_EQ(call.find(secret), std::string::npos) << call;
    Restart();
    EXPECT_EQ(SettingsFile().find(secret), std::string::npos);
  }
};

TEST_F(EntryWizardTest, AssistedRoadTakesTheKeyJoinsAndAWrongKeyIsRefused) {
  Skin()->OnSetNetworkType(1);
  Net().ClearAccessPoints();
  Net().AddAccessPoint({"Attic", "", 60, XPM_WLAN_SEC_WPA2_AES, "AB345678"});
  AssistedSetup_ApInfo* s = PickFirst();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(Shown<AssistedSetup_ApList>(), nullptr);
  ApInfo& f = s->Form();
  EXPECT_EQ(s->Caption.ToUtf8(), Text(Strings::SID_ASSISTED_SETUP));
  EXPECT_EQ(Info(s), Text(Strings::SID_ENTER_SECURITY_KEY));
  EXPECT_EQ(Value(f.Item(ApInfo::kName)), "Attic");
  EXPECT_EQ(Value(f.Item(ApInfo::kAuthentication)), "WPA2-PSK");
  EXPECT_EQ(Value(f.Item(ApInfo::kEncryption)), "AES");
  EXPECT_EQ(f.Item(ApInfo::kKeyId).Owner(), nullptr) << "the key-id row is never shown";
  EXPECT_EQ(Focused(), &f.Item(ApInfo::kKey)) << "a secured network starts on its key";
  EXPECT_EQ(HelpMask(), 0x40200);
  // The rows one under the other; the name and the security are drawn.
  for (int32_t r = ApInfo::kName; r < ApInfo::kKey; ++r)
    EXPECT_LE(f.Item(r).GetAbsoluteBounds().y2, f.Item(r + 1).GetAbsoluteBounds().y1) << r;
  EXPECT_LE(f.Item(ApInfo::kKey).GetAbsoluteBounds().y2, s->DoneButton().GetAbsoluteBounds().y1);
  EXPECT_GT(LitValuePixels(f.Item(ApInfo::kName)), 20);
  EXPECT_GT(LitValuePixels(f.Item(ApInfo::kEncryption)), 20);
  // OK on the key row: the key pad where the form was.
  Press("ok");
  Settle();
  ASSERT_NE(Shown<NonMenuSystem::KeyPad>(), nullptr);
  EXPECT_FALSE(f.IsVisible());
  TypeOnKeyPad("AB345678");
  EXPECT_EQ(Shown<NonMenuSystem::KeyPad>(), nullptr);
  EXPECT_TRUE(s->IsVisible());
  EXPECT_EQ(Value(f.Item(ApInfo::kKey)), "********");
  EXPECT_EQ(Focused(), &s->DoneButton()) << "Done is next";
  // Done: the set receives the join for Attic, WPA2 with AES, 8 bytes of key.
  ClearCallLog();
  Press("ok");
  Settle();
  ASSERT_EQ(Calls("XPM_WLAN_JoinNetwork").size(), 1u);
  EXPECT_EQ(Calls("XPM_WLAN_JoinNetwork")[0], "XPM_WLAN_JoinNetwork(\"Attic\", 8, 4)");
  EXPECT_TRUE(CircleShown());
  EXPECT_TRUE(f.IsFormDisabled());
  // OK while joining does nothing.
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_JoinNetwork").size(), 1u);
  Run(sim::NetState::kJoinDelay + 100);
  Settle();
  EXPECT_EQ(Net().Joined(), "Attic");
  EXPECT_EQ(Shown<AssistedSetup_ApInfo>(), nullptr);
  auto* done = Shown<AssistedSetup_ApConnected>();
  ASSERT_NE(done, nullptr);
  EXPECT_FALSE(CircleShown());
  EXPECT_EQ(Value(done->Form().Item(ApInfo::kName)), "Attic");
  EXPECT_EQ(Value(done->Form().Item(ApInfo::kKey)), "********") << "the placeholder, not the key";
  EXPECT_EQ(kv::Cast<ApInfoItem>(Focused()), nullptr) << "the result only shows";
  // Back: the entry again, now a wrong key: the set refuses it, the
  // mismatch notice under the assisted caption returns to the entry.
  Press("back");
  Settle();
  s = Shown<AssistedSetup_ApInfo>();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(Value(s->Form().Item(ApInfo::kKey)), "");
  Press("ok");
  Settle();
  TypeOnKeyPad("99999999");
  Press("ok");
  Settle();
  Run(sim::NetState::kJoinDelay + 100);
  Settle();
  EXPECT_EQ(Net().Joined(), "");
  auto* refused = Shown<AssistedSetupSecureError>();
  ASSERT_NE(refused, nullptr);
  EXPECT_EQ(refused->Caption.ToUtf8(), Text(Strings::SID_ASSISTED_SETUP));
  EXPECT_EQ(Info(refused), Text(Strings::SID_WIFI_ENCRYPTION_MISMATCH));
  Press("ok");
  Settle();
  ASSERT_NE(Shown<AssistedSetup_ApInfo>(), nullptr);
  // Back: the list shows its held result without a new scan, and answers.
  ClearCallLog();
  Press("back");
  Settle();
  auto* list = Shown<AssistedSetup_ApList>();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(Calls("XPM_WLAN_Scan").empty());
  EXPECT_FALSE(CircleShown());
  Press("ok");
  Settle();
  ASSERT_NE(Shown<AssistedSetup_ApInfo>(), nullptr) << "the held list still chooses";
  ExpectNowhere("AB345678");
}

// The key pad opened from HomeNet's key row: the caption and a prompt
// naming HomeNet stay readable beside it, and only the pad's key looks
// focused. A 12-letter key shows as 12 asterisks, also while the set joins.
TEST_F(EntryWizardTest, TheKeyPadSaysWhoseKeyAndTheKeyKeepsItsAsterisks) {
  AssistedSetup_ApInfo* s = PickOnly({"HomeNet", "", 60, XPM_WLAN_SEC_WPA2_AES, "AB3456789012"});
  ASSERT_NE(s, nullptr);
  ApInfo& f = s->Form();
  ASSERT_EQ(Focused(), &f.Item(ApInfo::kKey));
  Press("ok");
  Settle();
  auto* pad = Shown<NonMenuSystem::KeyPad>();
  ASSERT_NE(pad, nullptr);
  EXPECT_TRUE(Sees(Text(Strings::SID_ASSISTED_SETUP))) << SeenList();
  EXPECT_TRUE(Sees("Enter the security key of HomeNet.")) << SeenList();
  EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << SeenList();
  EXPECT_FALSE(apptest::LooksFocused(Osd(), &f.Item(ApInfo::kKey))) << "the key row beside the pad's key";
  TypeOnKeyPad("AB3456789012");
  ASSERT_EQ(Shown<NonMenuSystem::KeyPad>(), nullptr);
  EXPECT_EQ(Value(f.Item(ApInfo::kKey)), "************");
  EXPECT_TRUE(f.IsVisible());
  EXPECT_TRUE(Sees(Text(Strings::SID_ENTER_SECURITY_KEY))) << SeenList();
  // Done: the form only shows while the set joins; the key keeps its 12.
  Press("ok");
  Settle();
  EXPECT_TRUE(f.IsFormDisabled());
  EXPECT_EQ(Value(f.Item(ApInfo::kKey)), "************");
  Run(sim::NetState::kJoinDelay + 100);
  Settle();
  EXPECT_EQ(Net().Joined(), "HomeNet");
}

// An open network has no key: its page does not ask for one over the grey
// key row; choosing a secured kind asks for the key again.
TEST_F(EntryWizardTest, AnOpenNetworksPageDoesNotAskForAKey) {
  AssistedSetup_ApInfo* s = PickOnly({"CafeGuest", "", 60, XPM_WLAN_SEC_OPEN, ""});
  ASSERT_NE(s, nullptr);
  ApInfo& f = s->Form();
  EXPECT_EQ(Value(f.Item(ApInfo::kEncryption)), Text(Strings::SID_NONE));
  EXPECT_EQ(Focused(), &s->DoneButton());
  EXPECT_FALSE(Sees(Text(Strings::SID_ENTER_SECURITY_KEY))) << SeenList();
  EXPECT_TRUE(Sees(Text(Strings::SID_CONFIGURE_SETTINGS))) << SeenList();
  // Up to the encryption row, right: WEP wants a key.
  Press("up");
  ASSERT_EQ(Focused(), &f.Item(ApInfo::kEncryption));
  Press("right");
  Settle();
  EXPECT_EQ(Value(f.Item(ApInfo::kEncryption)), "WEP");
  EXPECT_TRUE(Sees(Text(Strings::SID_ENTER_SECURITY_KEY))) << SeenList();
}

TEST_F(EntryWizardTest, ManualRoadTakesNameSecurityAndKeyAndChecksTheirLengths) {
  Skin()->OnSetNetworkType(1);
  const std::string name32 = "12345678901234567890123456789012";
  Net().ClearAccessPoints();
  Net().AddAccessPoint({name32, "", 70, XPM_WLAN_SEC_WPA_TKIP, "87654321"});
  ASSERT_NE(OpenPage<WirelessSetupMenu>(3), nullptr);
  Press("ok");
  Settle();
  auto* s = Shown<ManualSetup_ApInfo>();
  ASSERT_NE(s, nullptr);
  ApInfo* f = &s->Form();
  EXPECT_EQ(s->Caption.ToUtf8(), Text(Strings::SID_MANUAL_SETUP));
  EXPECT_EQ(Info(s), Text(Strings::SID_CONFIGURE_SETTINGS));
  EXPECT_EQ(Focused(), &f->Item(ApInfo::kName));
  EXPECT_EQ(Value(f->Item(ApInfo::kName)), "");
  // A new access point shows WPA2-PSK with AES.
  EXPECT_EQ(Value(f->Item(ApInfo::kAuthentication)), "WPA2-PSK");
  EXPECT_EQ(Value(f->Item(ApInfo::kEncryption)), "AES");
  // 33 bytes: the invalid-name notice under the manual caption; OK returns.
  Press("ok");
  Settle();
  TypeOnKeyPad(name32 + "3");
  auto* bad = Shown<AssistedSetupInvalidName>();
  ASSERT_NE(bad, nullptr);
  EXPECT_EQ(bad->Caption.ToUtf8(), Text(Strings::SID_MANUAL_SETUP));
  Press("ok");
  Settle();
  s = Shown<ManualSetup_ApInfo>();
  ASSERT_NE(s, nullptr);
  f = &s->Form();
  EXPECT_EQ(Value(f->Item(ApInfo::kName)), "");
  // Exactly 32: taken.
  Press("ok");
  Settle();
  TypeOnKeyPad(name32);
  ASSERT_EQ(Shown<ManualSetup_ApInfo>(), s);
  EXPECT_EQ(Value(f->Item(ApInfo::kName)), name32);
  // The authentication row: open/shared brings WEP, and the key row stays;
  // no encryption greys the key row out (the focus skips it); WPA-PSK
  // brings AES back; TKIP by hand.
  Press("down");
  ASSERT_EQ(Focused(), &f->Item(ApInfo::kAuthentication));
  EXPECT_TRUE(f->Item(ApInfo::kAuthentication).LeftArrow().IsVisible()) << "arrows on the focused option row";
  Press("right");  // WPA2-PSK -> open/shared
  EXPECT_EQ(Value(f->Item(ApInfo::kAuthentication)), std::string("Open/Shared"));
  EXPECT_EQ(Value(f->Item(ApInfo::kEncryption)), std::string("WEP"));
  EXPECT_EQ(f->OnGetSecurityMethod(), 1);
  Press("down");
  ASSERT_EQ(Focused(), &f->Item(ApInfo::kEncryption));
  Press("left");  // WEP -> none
  EXPECT_EQ(Value(f->Item(ApInfo::kEncryption)), Text(Strings::SID_NONE));
  EXPECT_TRUE(f->Item(ApInfo::kKey).OnGetIsDisabled());
  Press("down");
  EXPECT_EQ(Focused(), &s->DoneButton()) << "the greyed key row is skipped";
  Press("up");
  Press("up");
  ASSERT_EQ(Focused(), &f->Item(ApInfo::kAuthentication));
  Press("right");  // open/shared -> WPA-PSK
  EXPECT_EQ(Value(f->Item(ApInfo::kAuthentication)), "WPA-PSK");
  EXPECT_EQ(Value(f->Item(ApInfo::kEncryption)), "AES");
  EXPECT_FALSE(f->Item(ApInfo::kKey).OnGetIsDisabled());
  Press("down");
  Press("left");  // AES -> TKIP
  EXPECT_EQ(Value(f->Item(ApInfo::kEncryption)), "TKIP");
  EXPECT_EQ(f->OnGetSecurityMethod(), 3);
  // A 7-byte pass phrase: the invalid-WPA-key notice; back at the entry
  // the name and the security typed before are still there.
  Press("down");
  ASSERT_EQ(Focused(), &f->Item(ApInfo::kKey));
  Press("ok");
  Settle();
  TypeOnKeyPad("8765432");
  ASSERT_NE(Shown<AssistedSetupInvalidWPAKey>(), nullptr);
  Press("back");
  Settle();
  s = Shown<ManualSetup_ApInfo>();
  ASSERT_NE(s, nullptr);
  f = &s->Form();
  EXPECT_EQ(Value(f->Item(ApInfo::kName)), name32);
  EXPECT_EQ(f->OnGetSecurityMethod(), 3);
  // 8 bytes: taken; Done joins, and the set received name, key length and method.
  Press("down", 3);
  ASSERT_EQ(Focused(), &f->Item(ApInfo::kKey));
  Press("ok");
  Settle();
  TypeOnKeyPad("87654321");
  ClearCallLog();
  Press("ok");
  Settle();
  ASSERT_EQ(Calls("XPM_WLAN_JoinNetwork").size(), 1u);
  EXPECT_EQ(Calls("XPM_WLAN_JoinNetwork")[0], "XPM_WLAN_JoinNetwork(\"" + name32 + "\", 8, 3)");
  Run(sim::NetState::kJoinDelay + 100);
  Settle();
  EXPECT_EQ(Net().Joined(), name32);
  auto* joined = Shown<ManualSetup_ApConnected>();
  ASSERT_NE(joined, nullptr);
  EXPECT_EQ(Value(joined->Form().Item(ApInfo::kName)), name32);
  // OK: the wireless set-up page, which answers keys.
  Press("ok");
  Settle();
  ASSERT_NE(Shown<WirelessSetupMenu>(), nullptr);
  EXPECT_EQ(FocusedRow(), Text(Strings::SID_MANUAL_SETUP));
  Press("up");
  Settle();
  EXPECT_EQ(FocusedRow(), Text(Strings::SID_ASSISTED_SETUP));
  ExpectNowhere("87654321");
}

TEST_F(EntryWizardTest, WepKeysOpenNetworksAndASilentJoin) {
  Skin()->OnSetNetworkType(1);
  Net().ClearAccessPoints();
  Net().AddAccessPoint({"Cellar", "", 90, XPM_WLAN_SEC_WEP, "CAFE5"});
  AssistedSetup_ApInfo* s = PickFirst();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Form().OnGetSecurityMethod(), 1);
  // Ten characters with a non-hex one: the invalid-WEP-key notice.
  Press("ok");
  Settle();
  TypeOnKeyPad("G123456789");
  auto* bad = Shown<AssistedSetupInvalidWEPKey>();
  ASSERT_NE(bad, nullptr);
  // 60 s: back to the entry.
  Run(NetworkWidgetClass::kIdleTimeOut + 100);
  Settle();
  s = Shown<AssistedSetup_ApInfo>();
  ASSERT_NE(s, nullptr);
  // Ten hexadecimal digits pass, and so do 13 of any kind and 5.
  for (const std::string key : {"ABCDEF1234", "ABCDEFG123456", "CAFE5"}) {
    SCOPED_TRACE(key);
    // From Done, up reaches the key row.
    if (Focused() != &s->Form().Item(ApInfo::kKey)) Press("up");
    ASSERT_EQ(Focused(), &s->Form().Item(ApInfo::kKey));
    Press("ok");
    Settle();
    TypeOnKeyPad(key);
    ASSERT_EQ(Shown<AssistedSetup_ApInfo>(), s);
    EXPECT_EQ(Value(s->Form().Item(ApInfo::kKey)), std::string(key.size(), '*'));
  }
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_JoinNetwork")[0], "XPM_WLAN_JoinNetwork(\"Cellar\", 5, 1)");
  Run(sim::NetState::kJoinDelay + 100);
  Settle();
  ASSERT_NE(Shown<AssistedSetup_ApConnected>(), nullptr);
  Press("exit");
  Settle();

  // An open network: Done asks once; No joins nothing, Yes joins at once.
  Net().AddAccessPoint({"Cafe", "", 95, XPM_WLAN_SEC_OPEN, ""});
  Net().RemoveAccessPoint("Cellar");
  s = PickFirst();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(Value(s->Form().Item(ApInfo::kName)), "Cafe");
  EXPECT_TRUE(s->Form().Item(ApInfo::kKey).OnGetIsDisabled());
  EXPECT_EQ(Focused(), &s->DoneButton()) << "an open network starts on Done";
  ClearCallLog();
  Press("ok");
  Settle();
  auto* ask = Shown<CheckNoEncryption>();
  ASSERT_NE(ask, nullptr);
  EXPECT_EQ(ask->Caption.ToUtf8(), Text(Strings::SID_ASSISTED_SETUP));
  AnswerOpenNetwork(s, false);
  Press("ok");
  Settle();
  AnswerOpenNetwork(s, true);
  ASSERT_EQ(Calls("XPM_WLAN_JoinNetwork").size(), 1u);
  EXPECT_EQ(Calls("XPM_WLAN_JoinNetwork")[0], "XPM_WLAN_JoinNetwork(\"Cafe\", 0, 0)");
  // The set stays silent: 36 s later the no-access-point notice.
  Net().SetWirelessAnswers(false);
  ClearCallLog();
  Press("back");
  Settle();
  ASSERT_EQ(Calls("XPM_WLAN_QuitNetwork").size(), 1u) << "back while joining quits the join";
  ASSERT_NE(Shown<AssistedSetup_ApList>(), nullptr);
  Press("ok");
  Settle();
  s = Shown<AssistedSetup_ApInfo>();
  ASSERT_NE(s, nullptr);
  Press("ok");
  Settle();
  Press("ok");
  Settle();
  EXPECT_TRUE(CircleShown());
  Run(NetworkWidgetClass::kJoinTimeOut - 500);
  Settle();
  EXPECT_NE(Shown<AssistedSetup_ApInfo>(), nullptr);
  Run(600);
  Settle();
  ASSERT_NE(Shown<AssistedSetupNoApFound>(), nullptr);
  EXPECT_FALSE(CircleShown());
  // A refused join goes there at once.
  Press("ok");
  Settle();
  FailCall("XPM_WLAN_JoinNetwork", 4);
  Press("ok");
  Settle();
  Press("ok");
  Settle();
  ASSERT_NE(Shown<AssistedSetupNoApFound>(), nullptr);
}

TEST_F(EntryWizardTest, WirelessInformationShowsTheChosenAccessPoint) {
  Skin()->OnSetNetworkType(1);
  Net().ClearAccessPoints();
  sim::NetState::AccessPoint ap{"Lounge", "", 95, XPM_WLAN_SEC_WPA2_AES, "lounge-passphrase", "12345670", 11};
  ap.mode = 4 | 8;
  ap.rate = 108;
  Net().AddAccessPoint(ap);
  auto* page = OpenPage<WirelessInformationMenu>();
  ASSERT_NE(page, nullptr);
  Press("red");
  Settle();
  ASSERT_NE(Shown<WirelessInformation_ApList>(), nullptr);
  Run(sim::NetState::kScanDelay + 100);
  Settle();
  Press("ok");
  Settle();
  auto* s = Shown<WirelessInformation_ApInfo>();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(Shown<WirelessInformation_ApList>(), nullptr);
  EXPECT_EQ(s->Caption.ToUtf8(), Text(Strings::SID_WIRELESS_INFORMATION));
  EXPECT_EQ(HelpMask(), 0x40000);
  WInfo_ApInfo& f = s->Form();
  using W = WInfo_ApInfo;
  EXPECT_EQ(Value(f.Item(W::kStatus)), Text(Strings::SID_DISCONNECTED));
  EXPECT_EQ(Value(f.Item(W::kSignal)), Text(Strings::SID_STRONG));
  EXPECT_EQ(Value(f.Item(W::kSpeed)), "54 " + Text(Strings::SID_MBPS));
  EXPECT_EQ(Value(f.Item(W::kMode)), Text(Strings::SID_WIFI_11G_N));
  EXPECT_EQ(Value(f.Item(W::kChannel)), "11");
  EXPECT_EQ(Value(f.Item(W::kNetworkName)), "Lounge");
  // Each row's value is drawn, one row under the other.
  for (int32_t r = 0; r < W::kRows; ++r) {
    EXPECT_GT(LitValuePixels(f.Item(r)), 10) << r;
    if (r > 0) {
      EXPECT_LE(f.Item(r - 1).GetAbsoluteBounds().y2, f.Item(r).GetAbsoluteBounds().y1) << r;
    }
  }
  // OK changes nothing, and there is no time-out.
  Press("ok");
  Run(NetworkWidgetClass::kIdleTimeOut + 100);
  Settle();
  ASSERT_EQ(Shown<WirelessInformation_ApInfo>(), s);
  // The table's ends: signal 7 strong, mode 10 unsupported, 20 none.
  auto* rec = kv::New<Structures::WLAN_Info>();
  rec->State = 1;
  rec->Signal = 7;
  rec->Mode = 10;
  f.Show(rec);
  EXPECT_EQ(Value(f.Item(W::kStatus)), Text(Strings::SID_CONNECTED));
  EXPECT_EQ(Value(f.Item(W::kSignal)), Text(Strings::SID_STRONG));
  EXPECT_EQ(Value(f.Item(W::kMode)), Text(Strings::SID_UNSUPPORTED));
  rec->Mode = 20;
  f.Show(rec);
  EXPECT_EQ(Value(f.Item(W::kMode)), Text(Strings::SID_NONE));
  // Back: the list with its held result, no new scan.
  ClearCallLog();
  Press("back");
  Settle();
  ASSERT_NE(Shown<WirelessInformation_ApList>(), nullptr);
  EXPECT_TRUE(Calls("XPM_WLAN_Scan").empty());
}

// --- Census ----------------------------------------------------------------------------------

TEST_F(WizardTest, EachStateAndPageOpenedAndClosed50TimesKeepsTheCensus) {
  Skin()->OnSetNetworkType(1);
  Net().SetWirelessAnswers(false);
  sim::NetState::TestAnswer none;
  none.answer = false;
  Net().SetTestAnswer(none);
  auto anyOpen = [&] { return Shown<NetworkWidgetClass>() != nullptr || Shown<MenuSystem::SettingPage>() != nullptr; };
  auto censusOf = [&](const char* name, const std::function<void()>& open) {
    SCOPED_TRACE(name);
    auto cycle = [&] {
      open();
      Settle();
      ASSERT_TRUE(anyOpen());
      // A waiting state asks first: exit again closes the question and all.
      for (int i = 0; i < 3 && anyOpen(); ++i) {
        Press("exit");
        Settle();
      }
      ASSERT_FALSE(anyOpen());
    };
    for (int i = 0; i < 2; ++i) cycle();
    const auto base = Census();
    for (int i = 0; i < 50; ++i) cycle();
    EXPECT_EQ(Census(), base);
  };
  for (const kv::Class* cls :
       {&AssistedSetup_ApList::StaticClass(), &WirelessInformation_ApList::StaticClass(),
        &EasySetupPIN_ApList::StaticClass(), &EasySetupPBC::StaticClass(), &EasySetupPIN::StaticClass(),
        &AssistedSetupSecureError::StaticClass(), &AssistedSetupInvalidName::StaticClass(),
        &AssistedSetupInvalidWEPKey::StaticClass(), &AssistedSetupInvalidWPAKey::StaticClass(),
        &AssistedSetupNoApFound::StaticClass(), &NetworkConnectionTest::StaticClass(),
        &NetworkTestSuccess::StaticClass(), &NetworkTestFail::StaticClass(), &EasySetup_ApInfo::StaticClass(),
        &EasySetup_PINApInfo::StaticClass(), &AssistedSetup_ApConnected::StaticClass(),
        &ManualSetup_ApConnected::StaticClass(), &CheckNoEncryption::StaticClass(),
        &AssistedSetup_ApInfo::StaticClass(), &ManualSetup_ApInfo::StaticClass(),
        &WirelessInformation_ApInfo::StaticClass()})
    censusOf(cls->name, [&] { Nms()->OpenWithValue(cls, 0, Constants::MSG_FROM_MENUSYSTEM); });
  censusOf("cancel question", [&] {
    Nms()->OpenWithValue(&EasySetupPBC::StaticClass(), 0, Constants::MSG_FROM_MENUSYSTEM);
    Settle();
    Press("back");
  });
  censusOf("wireless set-up page", [&] { OpenPage<WirelessSetupMenu>(); });
  censusOf("easy set-up page", [&] { OpenPage<EasySetupMenu>(); });
  censusOf("advanced page", [&] { OpenPage<AdvancedNetworkSetupMenu>(); });
  censusOf("MAC page", [&] { OpenPage<MACAddressMenu>(); });
  censusOf("wireless information page", [&] { OpenPage<WirelessInformationMenu>(); });
}

}  // namespace wizardtest
