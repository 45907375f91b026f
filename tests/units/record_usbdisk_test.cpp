// The USB-disk screens through the whole system: opened from the record
// menu and the quick menu, the simulated disk formatted (or not), the speed
// check and its abort, and the keys after each screen closes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "menusystem_support.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "platform/xpm/xpm_record.h"
#include "strings/MenuSystem.h"
#include "strings/QuickMenu.h"
#include "strings/Record.h"
#include "strings/Strings.h"
#include "units/NonMenuSystem/PinDialogs.h"
#include "units/Constants/Constants.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/QuickMenu/QuickItems.h"
#include "units/QuickMenu/QuickMenu.h"
#include "units/Record/TimeshiftStatusDialog.h"
#include "units/Record/USBDiskDialogs.h"

namespace recordtest {
namespace {

using namespace Record;

constexpr int32_t kRecordEntry = 7;

class UsbDiskTest : public menutest::MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    sim::MountUsbDisk(Tv());
    Settle();
  }
  PersistentData::PersistentData* Store() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
  static std::string S(const kv::MultiTextId& id) { return kv::GetVariantOfString(id).ToUtf8(); }
  // The record page open and focused, on the item captioned `caption`.
  void RecordItem(const kv::MultiTextId& caption) {
    Ms()->SetMenuIndex(1, kRecordEntry);
    Press("menu");
    Settle();
    for (int i = 0; i < 8 && !kv::Cast<MenuSystem::VidiRecordMenu>(Page()); ++i) Step("up");
    ASSERT_TRUE(kv::Cast<MenuSystem::VidiRecordMenu>(Page()));
    Press("ok");
    Settle();
    for (int i = 0; i < 10 && FocusedCaption() != S(caption); ++i) Step("down");
    ASSERT_EQ(FocusedCaption(), S(caption));
  }
  // Opens the record page's item.
  void OpenItem(const kv::MultiTextId& caption) {
    RecordItem(caption);
    Press("ok");
    Settle();
  }
  // The record page and the column show again, and the page answers the next key.
  void ExpectMenuAnswers() {
    EXPECT_EQ(Open<USBProgressDialog>(), nullptr);
    ASSERT_NE(Page(), nullptr);
    EXPECT_TRUE(kv::Cast<MenuSystem::VidiRecordMenu>(Page()));
    EXPECT_TRUE(Page()->IsVisible());
    ASSERT_NE(Column(), nullptr);
    EXPECT_TRUE(Column()->IsVisible());
    const std::string before = FocusedCaption();
    EXPECT_FALSE(before.empty()) << "the page has the focus again";
    Step("down");
    EXPECT_NE(FocusedCaption(), before) << "the next key moves the menu";
  }
  // The Menu key acts: it opens the menu or closes the one shown.
  void ExpectMenuKeyActs() {
    const bool shown = Column() != nullptr;
    Press("menu");
    Settle();
    EXPECT_NE(Column() != nullptr, shown) << "the menu key acts";
  }
  std::filesystem::path Disk() { return Tv().TargetPath(sim::kUsbMountPoint); }
  std::string Value(USBDiskStatusDialog* d, int row) { return d->Value(row).ToUtf8(); }
};

TEST_F(UsbDiskTest, StatusFromTheRecordMenuBeforeAndAfterASpeedCheck) {
  OpenItem(Strings::RecordMenuUSBDiskStatus);
  auto* d = Open<USBDiskStatusDialog>();
  ASSERT_NE(d, nullptr);
  // The simulated disk's own size, not the size of the machine's disk.
  EXPECT_EQ(Value(d, 0), std::to_string(sim::kUsbCapacity >> 10) + " KB");
  EXPECT_EQ(Value(d, 2), "vfat");
  EXPECT_EQ(Value(d, 3), S(USB_SPEED_NOT_MEASURED));
  EXPECT_FALSE(Page()->IsVisible()) << "the menu steps aside";
  Press("ok");
  Settle();
  EXPECT_EQ(Open<USBDiskStatusDialog>(), nullptr);
  ExpectMenuAnswers();
  Press("exit");
  Settle();

  // A speed check, then the status shows the measured speed.
  OpenItem(MenuSystem::USB_SPEED_CHECK_CAPTION);
  Press("ok");
  Settle();
  Run(3500);
  Press("ok");
  Settle();
  Press("exit");
  Settle();
  OpenItem(Strings::RecordMenuUSBDiskStatus);
  d = Open<USBDiskStatusDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(Value(d, 3), std::to_string(sim::kUsbSpeed) + " MB/s");
}

TEST_F(UsbDiskTest, StatusFromTheQuickMenuReturnsThere) {
  // The quick menu opens it as its disk row does (on the media quick types).
  Press("quick");
  Settle();
  ASSERT_NE(Open<QuickMenu::QuickMenu>(), nullptr);
  Nms()->Open(&USBDiskStatusDialog::StaticClass(),
              SkinBin::UserRefInt::Make(0, Constants::MSG_FROM_QUICKMENU));
  Settle();
  auto* d = Open<USBDiskStatusDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(Value(d, 0).empty());
  EXPECT_EQ(d->PrevState, &QuickMenu::QuickMenu::StaticClass());
  Press("ok");
  Settle();
  EXPECT_EQ(Open<USBDiskStatusDialog>(), nullptr);
  auto* quick = Open<QuickMenu::QuickMenu>();
  ASSERT_NE(quick, nullptr) << "back to the quick menu";
  auto* before = Focused();
  Press("down");
  Settle();
  EXPECT_NE(Focused(), before) << "the quick menu answers the next key";
}

TEST_F(UsbDiskTest, WithoutADiskTheRecordMenuOpensTheErrorNote) {
  sim::RemoveUsbDisk(Tv());
  // OK and Back both close the note and give the keys back to the menu.
  for (const char* close : {"ok", "back"})
    for (const kv::MultiTextId* item :
         {&Strings::RecordMenuUSBDiskStatus, &MenuSystem::USB_SPEED_CHECK_CAPTION, &MenuSystem::USB_FORMAT_CAPTION}) {
      SCOPED_TRACE(close);
      OpenItem(*item);
      auto* e = Open<USBDiskErrorDialog>();
      ASSERT_NE(e, nullptr);
      EXPECT_EQ(e->OnGetWarningInfo().ToUtf8(), S(USB_ERROR_WARNING));
      Press(close);
      Settle();
      EXPECT_EQ(Open<USBDiskErrorDialog>(), nullptr);
      ExpectMenuAnswers();
      Press("exit");
      Settle();
    }
  // The status dialog opened anyway shows empty values.
  Nms()->Open(&USBDiskStatusDialog::StaticClass());
  Settle();
  auto* d = Open<USBDiskStatusDialog>();
  ASSERT_NE(d, nullptr);
  for (int row = 0; row < USBDiskStatusDialog::kRows; ++row) EXPECT_EQ(Value(d, row), "") << row;
}

TEST_F(UsbDiskTest, FormatEmptiesTheDiskAndReturnsToTheMenu) {
  std::ofstream(Disk() / "REC_1.ts") << "recording";
  OpenItem(MenuSystem::USB_FORMAT_CAPTION);
  auto* q = Open<USBDiskFormatDialog>();
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(Focused(), &q->NoButton()) << "nothing happens by accident";
  Press("left");
  EXPECT_EQ(Focused(), &q->YesButton());
  Press("ok");
  Settle();
  auto* f = Open<USBDiskFormatStatusDialog>();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(Calls("XPM_USB_Format_Start").size(), 1u);
  // Keys are swallowed while it formats, and the waiting text moves on.
  for (const char* key : {"back", "exit", "menu", "ok", "ch+"}) {
    Press(key);
    Settle();
    EXPECT_EQ(Open<USBDiskFormatStatusDialog>(), f) << key;
  }
  EXPECT_EQ(f->StatusText().ToUtf8(), S(USB_FORMATTING_0));
  Run(500);
  EXPECT_EQ(f->StatusText().ToUtf8(), S(USB_FORMATTING_1));
  Run(2000);
  Settle();
  EXPECT_EQ(f->StatusText().ToUtf8(), S(USB_FORMAT_DONE));
  EXPECT_FALSE(f->IsWaiting());
  EXPECT_FALSE(std::filesystem::exists(Disk() / "REC_1.ts")) << "the disk was formatted";
  EXPECT_EQ(Focused(), &f->YesButton());
  Press("ok");
  Settle();
  EXPECT_EQ(Open<USBDiskFormatStatusDialog>(), nullptr);
  ExpectMenuAnswers();
}

TEST_F(UsbDiskTest, AFailedFormatLeadsBackToTheQuestion) {
  Tv().SetState("usb.format", "3");
  std::ofstream(Disk() / "keep.ts") << "recording";
  OpenItem(MenuSystem::USB_FORMAT_CAPTION);
  Press("left");
  Press("ok");
  Run(2500);
  Settle();
  auto* f = Open<USBDiskFormatStatusDialog>();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->StatusText().ToUtf8(), S(USB_FORMAT_FAILED));
  EXPECT_TRUE(std::filesystem::exists(Disk() / "keep.ts"));
  Press("ok");
  Settle();
  auto* q = Open<USBDiskFormatDialog>();
  ASSERT_NE(q, nullptr) << "the viewer may try again";
  // Cancel there: back to the menu.
  Press("ok");
  Settle();
  EXPECT_EQ(Open<USBDiskFormatDialog>(), nullptr);
  ExpectMenuAnswers();
}

TEST_F(UsbDiskTest, AFormatOrSpeedCheckThatCannotStartFailsAtOnce) {
  FailCall("XPM_USB_Format_Start", 7);
  Nms()->Open(&USBDiskFormatStatusDialog::StaticClass());
  Settle();
  auto* f = Open<USBDiskFormatStatusDialog>();
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(f->IsWaiting());
  EXPECT_EQ(f->StatusText().ToUtf8(), S(USB_FORMAT_FAILED));
  EXPECT_EQ(f->PrevState, &USBDiskFormatDialog::StaticClass());
  Nms()->ClearAll();
  Settle();
  FailCall("XPM_USB_Test", 7);
  Nms()->Open(&USBSpeedCheckStatusDialog::StaticClass());
  Settle();
  auto* c = Open<USBSpeedCheckStatusDialog>();
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(c->IsWaiting());
  EXPECT_EQ(c->StatusText().ToUtf8(), S(USB_SPEED_FAILED));
  Press("ok");
  Settle();
  EXPECT_EQ(Open<USBSpeedCheckStatusDialog>(), nullptr);
}

TEST_F(UsbDiskTest, AFormatThatNeverAnswersFailsAfterTenMinutes) {
  Tv().SetState("usb.format", "none");
  OpenItem(MenuSystem::USB_FORMAT_CAPTION);
  Press("left");
  Press("ok");
  Settle();
  auto* f = Open<USBDiskFormatStatusDialog>();
  ASSERT_NE(f, nullptr);
  // Four waiting phases every 500 ms, then the first again.
  const kv::MultiTextId* phases[] = {&USB_FORMATTING_0, &USB_FORMATTING_1, &USB_FORMATTING_2, &USB_FORMATTING_3,
                                     &USB_FORMATTING_0};
  for (const kv::MultiTextId* phase : phases) {
    EXPECT_EQ(f->StatusText().ToUtf8(), S(*phase));
    Run(500);
  }
  Run(USBDiskFormatStatusDialog::kFormatAnswerLimit - 3500);
  EXPECT_TRUE(f->IsWaiting());
  Press("ok");
  EXPECT_EQ(Open<USBDiskFormatStatusDialog>(), f);
  Run(2000);
  Settle();
  EXPECT_FALSE(f->IsWaiting());
  EXPECT_EQ(f->StatusText().ToUtf8(), S(USB_FORMAT_FAILED));
  EXPECT_TRUE(Logged("no format result"));
  // A late result still replaces the failure.
  Inject(XPM_EVT_PVR_USB_FORMAT, XPM_Int32Payload{0});
  Settle();
  EXPECT_EQ(f->StatusText().ToUtf8(), S(USB_FORMAT_DONE));
  // And the keys work again (the menu behind it timed out long ago).
  Press("ok");
  Settle();
  EXPECT_EQ(Open<USBDiskFormatStatusDialog>(), nullptr);
  ExpectMenuKeyActs();
}

TEST_F(UsbDiskTest, FormatAsksForTheStoredPinFirst) {
  Store()->PutString(MenuSystem::KEY_PIN, kv::NewStringAnsi("4321"));
  OpenItem(MenuSystem::USB_FORMAT_CAPTION);
  auto* pin = Open<NonMenuSystem::EnterPinDialog>();
  ASSERT_NE(pin, nullptr);
  EXPECT_EQ(pin->EnterPinType, 12);
  EXPECT_EQ(Open<USBDiskFormatDialog>(), nullptr);
  Digits("4321");
  Run(500);
  Settle();
  EXPECT_NE(Open<USBDiskFormatDialog>(), nullptr) << "the right PIN leads to the format question";
}

// Each format screen reads whole with its own keys only: the PIN's keys go
// with the PIN, the question and the waiting show none, the result shows its
// button's, which go with it. The warning reads on one line.
TEST_F(UsbDiskTest, EachFormatScreenShowsItsOwnKeysAndReadsWhole) {
  Store()->PutString(MenuSystem::KEY_PIN, kv::NewStringAnsi("4321"));
  OpenItem(MenuSystem::USB_FORMAT_CAPTION);
  ASSERT_NE(Open<NonMenuSystem::EnterPinDialog>(), nullptr);
  EXPECT_TRUE(Sees("Input")) << SeenList();
  Digits("4321");
  Run(500);
  Settle();
  ASSERT_NE(Open<USBDiskFormatDialog>(), nullptr);
  EXPECT_TRUE(Sees(S(USB_FORMAT_WARNING))) << SeenList();
  EXPECT_FALSE(Sees("Input")) << "the PIN's keys under the question";
  EXPECT_FALSE(Sees("Back"));
  Press("left");
  Press("ok");
  Settle();
  ASSERT_NE(Open<USBDiskFormatStatusDialog>(), nullptr);
  EXPECT_FALSE(Sees("Enter")) << SeenList();
  const Core::SeenText* warning = nullptr;
  const Core::SeenText* caption = nullptr;
  const std::vector<Core::SeenText> seen = SeenTexts();
  for (const Core::SeenText& t : seen) {
    if (t.text == S(USB_FORMAT_PROGRESS_WARNING)) warning = &t;
    if (t.text == S(MenuSystem::USB_FORMAT_CAPTION)) caption = &t;
  }
  ASSERT_NE(warning, nullptr) << SeenList();
  ASSERT_NE(caption, nullptr) << SeenList();
  EXPECT_TRUE(warning->Readable());
  EXPECT_LT(warning->ink.H(), 2 * caption->ink.H()) << "one line: " << warning->Describe();
  Run(2500);
  Settle();
  EXPECT_TRUE(Sees(S(USB_FORMAT_DONE))) << SeenList();
  EXPECT_TRUE(Sees("Enter"));
  Press("ok");
  Settle();
  EXPECT_EQ(Open<USBDiskFormatStatusDialog>(), nullptr);
  EXPECT_FALSE(Sees("Enter")) << "the result's keys under the menu: " << SeenList();
  ExpectMenuAnswers();
}

TEST_F(UsbDiskTest, SpeedCheckShowsTheResultAndAlwaysAborts) {
  OpenItem(MenuSystem::USB_SPEED_CHECK_CAPTION);
  auto* q = Open<USBSpeedCheckDialog>();
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(Focused(), &q->YesButton());
  Press("ok");
  Settle();
  auto* c = Open<USBSpeedCheckStatusDialog>();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(Calls("XPM_USB_Test").size(), 1u);
  EXPECT_EQ(c->Bounds().H(), 172);
  Run(3500);
  Settle();
  EXPECT_EQ(c->StatusText().ToUtf8(), S(USB_SPEED_DONE));
  EXPECT_NE(c->OnGetWarningInfo().ToUtf8().find(std::to_string(sim::kUsbSpeed) + " MB/s"), std::string::npos);
  EXPECT_EQ(Skin()->LastUSBSpeed, sim::kUsbSpeed);
  EXPECT_TRUE(Calls("XPM_USB_Test_Abort").empty());
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_USB_Test_Abort").size(), 1u) << "closing after the result aborts";
  ExpectMenuAnswers();
  Press("exit");
  Settle();

  // Cancelled while it runs: the set's test is aborted and reports nothing.
  ClearCallLog();
  Skin()->LastUSBSpeed = 0;
  OpenItem(MenuSystem::USB_SPEED_CHECK_CAPTION);
  Press("ok");
  Settle();
  c = Open<USBSpeedCheckStatusDialog>();
  ASSERT_NE(c, nullptr);
  Run(1000);
  Press("ok");  // cancel
  Settle();
  EXPECT_EQ(Open<USBSpeedCheckStatusDialog>(), nullptr);
  EXPECT_EQ(Calls("XPM_USB_Test_Abort").size(), 1u);
  Run(3000);
  EXPECT_EQ(Skin()->LastUSBSpeed, 0);
  ExpectMenuAnswers();
}

TEST_F(UsbDiskTest, ASpeedCheckThatNeverAnswersWaitsUntilCancelled) {
  Tv().SetState("usb.test", "none");
  OpenItem(MenuSystem::USB_SPEED_CHECK_CAPTION);
  Press("ok");
  Settle();
  auto* c = Open<USBSpeedCheckStatusDialog>();
  ASSERT_NE(c, nullptr);
  Run(600000);
  EXPECT_TRUE(c->IsWaiting());
  Press("ok");
  Settle();
  EXPECT_EQ(Open<USBSpeedCheckStatusDialog>(), nullptr);
  EXPECT_EQ(Calls("XPM_USB_Test_Abort").size(), 1u);
  ExpectMenuKeyActs();
}

TEST_F(UsbDiskTest, TheRecordMenuOpensTheTimeshiftStatusWhileTimeshifting) {
  ASSERT_EQ(Skin()->StartTimeshift(Skin()->GetCurrentTunerId()), XPM_OK);
  Run(5000);
  Nms()->ClearAll();
  Settle();
  OpenItem(Strings::TimeshiftMenuStatus);
  auto* s = Open<TimeshiftStatusDialog>();
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(Page()->IsVisible());
  Run(1000);
  EXPECT_GT(s->BufferBar().OnGetValue(), 0);
  Press("back");
  Settle();
  EXPECT_EQ(Open<TimeshiftStatusDialog>(), nullptr);
  ExpectMenuAnswers();
}

TEST_F(UsbDiskTest, EachScreenOpenedAndClosed50TimesKeepsTheCensus) {
  const kv::Class* screens[] = {&USBDiskStatusDialog::StaticClass(),       &USBDiskErrorDialog::StaticClass(),
                                &USBDiskFormatDialog::StaticClass(),       &USBSpeedCheckDialog::StaticClass(),
                                &USBSpeedCheckStatusDialog::StaticClass(), &USBDiskFormatStatusDialog::StaticClass()};
  Tv().SetState("usb.format", "none");
  auto round = [&](const kv::Class* cls) {
    ASSERT_NE(Nms()->Open(cls), nullptr);
    Settle();
    Run(600);
    Nms()->ClearAll();
    Settle();
  };
  for (const kv::Class* cls : screens) {
    SCOPED_TRACE(cls->name);
    round(cls);
    round(cls);
    const auto base = Census();
    for (int i = 0; i < 50; ++i) round(cls);
    const auto after = Census();
    for (const auto& [name, n] : after) {
      auto it = base.find(name);
      EXPECT_LE(n, (it == base.end() ? 0u : it->second) + 2) << name;
    }
  }
}

}  // namespace
}  // namespace recordtest
