// The factory sub-system and its screens through the whole system: service
// mode and its adjustment menu, the value display, the message boxes, the
// panel-key messages, the light-sensor readout and the status check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "factory_support.h"
#include "platform/xpm/xpm_enhance.h"
#include "platform/xpm/xpm_oem.h"
#include "runtime/clock.h"
#include "units/Colors/Colors.h"
#include "units/Events/XPM_EVENT_FACTORY_COMMAND.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/FactorySystem/AdjustmentMenu.h"
#include "units/FactorySystem/Screens.h"
#include "units/FactorySystem/StatusCheck.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/SkinBin/OptionDatabaseTypes.h"

namespace {

using Lines = std::vector<std::string>;
using FactorySystem::AdjustmentMenu;
using FactorySystem::LargeMessage;
using FactorySystem::SmallMessage;
using FactorySystem::StatusCheck;
using FactorySystem::ValueDisplay;

class FactoryScreensTest : public FactoryTest {
 protected:
  // A key as the panel sends it (from-panel 1).
  void PanelKey(uint16_t code) {
    auto* e = kv::New<Events::XPM_EVENT_KEY>();
    e->Initialize(code, 1);
    e->FromPanel = 1;
    Dispatch(e);
  }
  void Message(const kv::Class* cls, const char* text, int32_t param) {
    auto* e = kv::New<Events::XPM_EVENT_FACTORY_COMMAND>();
    e->Initialize(FactorySystem::FACTORY_COMMAND_DISPLAY_MESSAGE, cls, param, kv::NewStringAnsi(text));
    Dispatch(e);
  }
  void SetOem(int32_t id, int32_t v) { ASSERT_EQ(XPM_SetExtOemProperty(id, v), 0); }
};

TEST_F(FactoryScreensTest, TheValueDisplayShowsTheLowByteInHexadecimalAndBits) {
  EnterFactoryMode();
  auto* e = kv::New<Events::XPM_EVENT_FACTORY_COMMAND>();
  e->Initialize(FactorySystem::FACTORY_COMMAND_DISPLAY_VALUE, nullptr, 0x1A5, kv::NewStringAnsi("RDRV"));
  Dispatch(e);
  auto* v = OpenForm<ValueDisplay>();
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->HexText().ToUtf8(), "A5h");
  EXPECT_EQ(v->BitText().ToUtf8(), "10100101");
  EXPECT_TRUE(Sees("Hex")) << "the hexadecimal column's header\n" << SeenList();
  EXPECT_EQ(v->Bounds().x1, 32);
  EXPECT_EQ(PixelAt(33, 33), 0x0B0A09u) << "drawn at its place";
  // It has no time-out of its own: it stays until the screens are cleared.
  Run(12000);
  EXPECT_NE(OpenForm<ValueDisplay>(), nullptr);
  EXPECT_EQ(ValueDisplay::Dec2Hex(16).ToUtf8(), "?");
}

TEST_F(FactoryScreensTest, ServiceModeByTheCombinationOrTheDiscreteKeyAndLeftOnlyByItsOwnCode) {
  // Panel key 5 without the held key, outside service mode: nothing.
  PanelKey(5);
  EXPECT_EQ(OpenForm<AdjustmentMenu>(), nullptr);
  SetOem(XPM_OEM_KEY_HELD_SERVICE, 1);
  PanelKey(5);
  SetOem(XPM_OEM_KEY_HELD_SERVICE, 0);
  ASSERT_NE(OpenForm<AdjustmentMenu>(), nullptr);
  ASSERT_NE(Factory()->Indicator(), nullptr);
  EXPECT_EQ(Factory()->Indicator()->Caption.ToUtf8(), "S");
  EXPECT_TRUE(FactorySystem::FactorySystem::IsInServiceMode());
  // The factory exit code leaves service mode alone.
  Code(0x40EE03FC);
  EXPECT_NE(Factory()->Indicator(), nullptr);
  Discrete(0x40EE1B);
  EXPECT_EQ(Factory()->Indicator(), nullptr);
  EXPECT_EQ(OpenForm<AdjustmentMenu>(), nullptr);
  // The discrete service key opens it again.
  Discrete(0x0040D53C);
  EXPECT_NE(OpenForm<AdjustmentMenu>(), nullptr);
  EXPECT_TRUE(FactorySystem::FactorySystem::IsInServiceMode());
  // Key 5 alone now reopens the menu (the set is in service mode).
  Press("exit");
  Discrete(0x40EE1B);
  Discrete(0x0040D53C);
  OpenForm<AdjustmentMenu>()->Close();
  PanelKey(5);
  EXPECT_NE(OpenForm<AdjustmentMenu>(), nullptr);
}

TEST_F(FactoryScreensTest, TheAdjustmentMenuWalksItsOptionsAndWritesEachChange) {
  Discrete(0x0040D53C);
  auto* menu = OpenForm<AdjustmentMenu>();
  ASSERT_NE(menu, nullptr);
  SetOem(XPM_OEM_TV_MODEL_ID, 50);  // the set made as model 50
  EXPECT_EQ(menu->OptionIndex, 0);
  EXPECT_EQ(menu->FacName.ToUtf8(), "R OFFSET");
  Press("ch-");  // from option 0 back to 10
  EXPECT_EQ(menu->OptionIndex, 10);
  EXPECT_EQ(menu->FacName.ToUtf8(), "MODEL ID");
  EXPECT_EQ(menu->FacValue, 50) << "the set's own model id";
  Press("ch+");  // and forward again to 0
  EXPECT_EQ(menu->OptionIndex, 0);

  // A slider: volume up writes the value through the option's property.
  ClearCallLog();
  Press("vol+");
  EXPECT_EQ(menu->FacValue, 1);
  EXPECT_FALSE(Calls("XPM_SetExtOemProperty").empty());
  EXPECT_EQ(Skin()->OnGetSRV_Red_Offset(), 1) << "the set holds the new offset";
  Press("vol-");
  Press("vol-");  // stays at the minimum
  EXPECT_EQ(menu->FacValue, 0);
  EXPECT_EQ(Skin()->OnGetSRV_Red_Offset(), 0);
  // At the maximum volume up stays there.
  Press("ch+", 5);  // option 5: blue gain
  EXPECT_EQ(menu->FacName.ToUtf8(), "B GAIN");
  menu->OnSetFacValue(255);
  Press("vol+");
  EXPECT_EQ(menu->FacValue, 255);
  EXPECT_EQ(Skin()->OnGetSRV_Blue_Gain(), 255);

  // The model id wraps at both ends of its list.
  Press("ch-", 6);
  EXPECT_EQ(menu->OptionIndex, 10);
  ASSERT_GT(menu->ModelIdCount, 1);
  menu->ModelIdIndex = 0;
  Press("vol-");
  EXPECT_EQ(menu->ModelIdIndex, menu->ModelIdCount - 1);
  Press("vol+");
  EXPECT_EQ(menu->ModelIdIndex, 0);

  // The remote's menu key does nothing here; the panel's closes the menu.
  Press("menu");
  EXPECT_NE(OpenForm<AdjustmentMenu>(), nullptr);
  PanelKey(3);
  EXPECT_EQ(OpenForm<AdjustmentMenu>(), nullptr);
  // The next key reaches live TV again.
  ClearCallLog();
  Press("vol+");
  EXPECT_FALSE(Calls("XPM_SetVolume").empty());
}

TEST_F(FactoryScreensTest, BackWithTheResetKeyHeldOnTheModelIdResetsTheSet) {
  Discrete(0x0040D53C);
  auto* menu = OpenForm<AdjustmentMenu>();
  ASSERT_NE(menu, nullptr);
  SetOem(XPM_OEM_KEY_HELD_FACTORY_RESET, 1);
  PanelKey(41);  // not on the model id: nothing
  EXPECT_FALSE(Logged("MainApp::Standby: factory reset"));
  Press("ch-");
  Press("back");  // the remote's back is not the combination
  EXPECT_FALSE(Logged("MainApp::Standby: factory reset"));
  PanelKey(41);
  EXPECT_TRUE(Logged("MainApp::Standby: factory reset"));
}

TEST_F(FactoryScreensTest, MessagesWaitTheirPostTimeTimeOutAndTakeTheirColours) {
  EnterFactoryMode();
  Message(&SmallMessage::StaticClass(), "posted", 0x2 | 0x30 | 0x200 | 0x3000);
  EXPECT_EQ(OpenForm<SmallMessage>(), nullptr);
  Run(2100);
  auto* m = OpenForm<SmallMessage>();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Text().ToUtf8(), "posted");
  EXPECT_EQ(m->TextColor(), Colors::Green);
  EXPECT_EQ(m->BackgroundColor(), Colors::Blue);
  EXPECT_EQ(m->Layer, FactorySystem::kFactoryLayer);
  Run(3100);
  EXPECT_EQ(OpenForm<SmallMessage>(), nullptr) << "closed after its 3 s";

  // Parameter 0: no time-out, default colours.
  Message(&LargeMessage::StaticClass(), "stays", 0);
  auto* large = OpenForm<LargeMessage>();
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(large->TextColor(), Colors::White);
  EXPECT_EQ(large->BackgroundColor(), Colors::MenuBgColor);
  EXPECT_EQ(PixelAt(250, 160), 0x0B0A09u);
  Run(30000);
  EXPECT_NE(OpenForm<LargeMessage>(), nullptr);

  // Another class is ignored.
  Message(&ValueDisplay::StaticClass(), "no", 0x30);
  EXPECT_EQ(OpenForm<ValueDisplay>(), nullptr);
}

TEST_F(FactoryScreensTest, PanelKeyMessagesShowOnlyInFactoryModeOverTheOpenScreens) {
  Press("panel-vol+");
  EXPECT_EQ(OpenForm<SmallMessage>(), nullptr);
  EnterFactoryMode();
  Press("panel-vol+");
  auto* touch = OpenForm<SmallMessage>();
  ASSERT_NE(touch, nullptr);
  EXPECT_EQ(touch->Text().ToUtf8(), "Vol+");
  EXPECT_EQ(touch->Layer, FactorySystem::kTouchKeyLayer);
  // The touch-key message leaves the open screens in place.
  Message(&LargeMessage::StaticClass(), "report", 0);
  Message(&SmallMessage::StaticClass(), "CH+", 0x10010);
  EXPECT_NE(OpenForm<LargeMessage>(), nullptr) << "the open screen stays";
  Run(1100);
  bool touchOpen = false;
  for (auto* f : OpenForms()) touchOpen |= f->KvClass() == &SmallMessage::StaticClass();
  EXPECT_FALSE(touchOpen) << "gone after its second";
}

// In factory mode the panel's Menu key belongs to the factory: it opens no
// menu, while the remote's Menu key still opens it.
TEST_F(FactoryScreensTest, InFactoryModeThePanelsMenuKeyOpensNoMenuTheRemotesDoes) {
  EnterFactoryMode();
  Settle();
  Press("panel-menu");
  Run(1000);
  EXPECT_EQ(OpenForm<MenuSystem::VidiMainMenu>(), nullptr) << SeenList();
  Press("menu");
  Run(1000);
  EXPECT_NE(OpenForm<MenuSystem::VidiMainMenu>(), nullptr) << SeenList();
}

TEST_F(FactoryScreensTest, TheLightSensorReadoutRefreshesEveryOneAndAHalfSeconds) {
  EnterFactoryMode();
  sim::SetLightSensor(Tv(), 120);
  Code(0x40EE54AB);
  auto* sensor = OpenForm<FactorySystem::DetectLightSensor>();
  ASSERT_NE(sensor, nullptr);
  EXPECT_EQ(sensor->Text().ToUtf8(), "LIGHT SENSOR: 120");
  EXPECT_EQ(Skin()->OnGetAutoBrightnessSensor(), 1);
  sim::SetLightSensor(Tv(), 300);
  Run(1400);
  EXPECT_EQ(sensor->Text().ToUtf8(), "LIGHT SENSOR: 120");
  Run(200);
  EXPECT_EQ(sensor->Text().ToUtf8(), "LIGHT SENSOR: 300");
  Run(15000);
  EXPECT_NE(OpenForm<FactorySystem::DetectLightSensor>(), nullptr) << "it runs until closed";
  const std::string log = SerialLog();
  EXPECT_NE(log.find("LIGHT SENSOR: 120\r\n"), std::string::npos);
  EXPECT_NE(log.find("LIGHT SENSOR: 300\r\n"), std::string::npos);
  Press("exit");
  Code(0x40EE03FC);
  EXPECT_EQ(OpenForm<FactorySystem::DetectLightSensor>(), nullptr);
  // Closed, it reads and reports nothing more.
  const size_t reported = SerialLog().size();
  ClearCallLog();
  Run(5000);
  EXPECT_EQ(SerialLog().size(), reported) << SerialLog().substr(reported);
  EXPECT_TRUE(Calls("XPM_GetLightSensor").empty());
}

TEST_F(FactoryScreensTest, TheStatusCheckShowsTheSetAndReportsItOnTheSerialPort) {
  EnterFactoryMode();
  // VGA calibration failed, SD and HD good.
  Tv().SetState("oem." + std::to_string(XPM_OEM_ADC_CALIB_RESULT) + ".2", "0");
  Code(0x40BFAB54);
  auto* status = OpenForm<StatusCheck>();
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->Value(StatusCheck::kAdcSdHd).ToUtf8(), "OK");
  EXPECT_EQ(status->Value(StatusCheck::kAdcVga).ToUtf8(), "NG");
  EXPECT_TRUE(Sees("SD/HD")) << SeenList();
  EXPECT_EQ(status->Value(StatusCheck::kModelName).ToUtf8(), "SIM-42");
  EXPECT_EQ(status->Value(StatusCheck::kMac).ToUtf8(), "00:1C:A2:10:20:30");
  EXPECT_EQ(StatusCheck::GetAddressString(0x01020304).ToUtf8(), "1.2.3.4");
  EXPECT_EQ(StatusCheck::GetAddressString(0).ToUtf8(), "0.0.0.0");
  std::string log = SerialLog();
  size_t lines = 0;
  for (size_t p = log.find("\r\n"); p != std::string::npos; p = log.find("\r\n", p + 2)) ++lines;
  EXPECT_EQ(lines, 19u) << log;  // the hello line and 18 report lines
  EXPECT_NE(log.find("MAC address: 00:1C:A2:10:20:30\r\n"), std::string::npos) << log;
  // Keys other than its own are taken; exit closes it; the next key acts.
  Press("vol+");
  EXPECT_NE(OpenForm<StatusCheck>(), nullptr);
  Press("exit");
  EXPECT_EQ(OpenForm<StatusCheck>(), nullptr);
  ClearCallLog();
  Press("vol+");
  EXPECT_FALSE(Calls("XPM_SetVolume").empty());

  // A set without a series type reports three lines; the screen still shows
  // everything.
  // SD failed, HD good: the SD/HD row fails.
  Press("exit");
  Tv().SetState("oem." + std::to_string(XPM_OEM_ADC_CALIB_RESULT) + ".0", "0");
  Code(0x40BFAB54);
  ASSERT_NE(OpenForm<StatusCheck>(), nullptr);
  EXPECT_EQ(OpenForm<StatusCheck>()->Value(StatusCheck::kAdcSdHd).ToUtf8(), "NG");
  Press("exit");
  Skin()->SeriesType = 0;
  const size_t before = SerialLog().size();
  Code(0x40BFAB54);
  ASSERT_NE(OpenForm<StatusCheck>(), nullptr);
  EXPECT_EQ(OpenForm<StatusCheck>()->Value(StatusCheck::kModelName).ToUtf8(), "SIM-42");
  log = SerialLog().substr(before);
  EXPECT_EQ(log.substr(0, log.find("\r\n")), "MAC:00:1C:A2:10:20:30");
  lines = 0;
  for (size_t p = log.find("\r\n"); p != std::string::npos; p = log.find("\r\n", p + 2)) ++lines;
  EXPECT_EQ(lines, 3u) << log;
}

TEST_F(FactoryScreensTest, EachScreenOpenedAndClosedFiftyTimesLeavesNothingBehind) {
  EnterFactoryMode();
  auto cycle = [&] {
    Code(0x40E23380);                                       // value display
    Code(0x40EEFF00);                                       // large message
    Code(0x40EE609F);                                       // small message
    Code(0x40EE54AB);                                       // light sensor
    Code(0x40BFAB54);                                       // status check
    Press("exit");
    Discrete(0x0040D53C);                                   // adjustment menu
    Press("ch+");
    Press("vol+");
    Discrete(0x40EE1B);
    EnterFactoryMode();
    Run(4000);
  };
  cycle();
  const auto baseline = Census();
  for (int i = 0; i < 50; ++i) cycle();
  const auto after = Census();
  for (const auto& [cls, n] : after) {
    const auto it = baseline.find(cls);
    EXPECT_LE(n, it == baseline.end() ? 0u : it->second) << cls;
  }
  ClearCallLog();
  Press("vol+");
  EXPECT_FALSE(Calls("XPM_SetVolume").empty());
}

}  // namespace
