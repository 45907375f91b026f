// The media player's dialogs through the running system: opened by state
// changes of the non-menu sub-system as their callers open them, over sticks
// and servers the media service finds, driven by remote keys.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "media_fixture.h"
#include "units/MainApp/ActiveApp.h"
#include "units/MediaPlayer/MediaPlayerDialogs.h"
#include "units/MediaPlayer/SelectBGMusicDialog.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/HelpBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/WaitingCircle.h"
#include "units/QuickMenu/QuickPages.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"

namespace listtest {

// A confirmation built on the template, as the home-network setup builds its own.
class SetupQuestion : public MediaPlayer::MediaPlayerConfirmDialogTemplate {
  KV_CLASS(listtest, SetupQuestion, MediaPlayer::MediaPlayerConfirmDialogTemplate)
 public:
  SetupQuestion() {
    WinID = WinIDs::WIN_ID_ConfirmMultiOptionsDialog;
    button.OnSetBounds({20, 120, 130, 147});
    Add(&button);
    OnSetFocus(&button);
  }
  SkinBin::Button button;
};

}  // namespace listtest

KV_REGISTER_CLASS(listtest::SetupQuestion);

namespace listtest {
namespace {

using MediaPlayer::DmsDeviceInfo;
using MediaPlayer::MediaPlayerConfirmDialogTemplate;
using MediaPlayer::MediaPlayerOpenConfirmDialog;
using MediaPlayer::SelectBGMusicDialog;

class MediaDialogTest : public MediaTest {
 protected:
  NonMenuSystem::NonMenuSystem* Nms() {
    for (int32_t i = 0; i < App().GetChildCount(); ++i)
      if (auto* a = kv::Cast<MainApp::ActiveApp>(App().GetChild(i)))
        return kv::Cast<NonMenuSystem::NonMenuSystem>(a->FindSubSystem(&NonMenuSystem::NonMenuSystem::StaticClass()));
    return nullptr;
  }
  // A state change of the non-menu sub-system, as the screen's callers make it.
  template <class T>
  T* OpenScreen(kv::Object* param = nullptr) {
    kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
    state->Class = &T::StaticClass();
    state->Param = param;
    auto* form = kv::Cast<T>(Nms()->ChangeState(state));
    Settle();
    return form;
  }
  std::string HelpText() {
    auto* bar = Find<NonMenuSystem::HelpBar>();
    return bar ? bar->HelpStringList.ToUtf8() : std::string();
  }
  bool WaitingShown() {
    NonMenuSystem::WaitingCircle* c = Nms()->GetWaitingCircle();
    return c && c->IsVisible();
  }
  int32_t MessageType() {
    NonMenuSystem::DirectMessageBar* bar = Nms()->MessageBar();
    return bar ? bar->MessageType : 0;
  }
  // The volume the set holds: a key that reached live TV after a dialog closed.
  int32_t Volume() { return W()->OnGetVolume(); }
  // A server folder the media service finds as a home-network server.
  void AddServer(const std::string& name, const std::string& address, const std::vector<std::string>& files) {
    const std::filesystem::path dir = DataDir() / "media" / "servers" / name;
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "server.ini") << "name=" << name << "\naddress=" << address << "\n";
    for (const std::string& f : files) media_writer::WriteWav((dir / f).string(), 2);
    psl::Rescan();
    Settle();
  }
  int32_t MediumOf(const std::string& caption) {
    for (int32_t i = 0; i < Bridge()->GetMediumCount(); ++i)
      if (Media::MediumDevice* m = Bridge()->GetMedium(i); m && m->Caption.ToUtf8() == caption) return i;
    return -1;
  }
  // The music stick: two songs at the top, an album folder with two more.
  void MusicStick() {
    WriteStick("music", {"Album/", "Album/c.wav", "Album/d.wav", "a.wav", "b.wav"});
    Plug("music");
    Browse(0, Media::MEDIA_TYPE_PICTURE);
  }
  SelectBGMusicDialog* OpenMusicDialog() {
    auto* d = OpenScreen<SelectBGMusicDialog>(SkinBin::UserRefInt::Make(0, Constants::MSG_FROM_QUICKMENU));
    Run(100);
    Settle();
    return d;
  }
  std::vector<std::string> Rows(SelectBGMusicDialog* d) {
    std::vector<std::string> out;
    for (Forms::Ctrl* row : d->List().GetRows()) out.push_back(Text(row));
    return out;
  }
};

// --- The templates and the yes/no base ----------------------------------------------------

TEST_F(MediaDialogTest, ConfirmTemplateActsOnItsKeysOnlyAndExitClearsTheRendererInstallation) {
  kv::Persistent<SetupQuestion> d = OpenScreen<SetupQuestion>();
  ASSERT_NE(d, nullptr);
  ASSERT_TRUE(d->IsOpen());
  EXPECT_EQ(d->TimeOutValue, 60000);
  const int32_t volume = Volume();
  // Digits, colour keys but red, volume and channel keys do nothing and stay in the dialog.
  for (const char* key : {"1", "5", "green", "vol+", "ch+", "up", "down", "info"}) {
    Press(key);
    EXPECT_TRUE(d->IsOpen()) << key;
  }
  EXPECT_EQ(Volume(), volume) << "volume up was swallowed";
  W()->RendererInstalled = true;
  Press("exit");
  Settle();
  EXPECT_FALSE(d->IsOpen());
  EXPECT_FALSE(W()->RendererInstalled);
  Press("vol+");
  EXPECT_EQ(Volume(), volume + 1) << "the next key reaches live TV";
  // The 60 s time-out runs out with nothing to do: the dialog stays.
  d = OpenScreen<SetupQuestion>();
  Run(61000);
  EXPECT_TRUE(d->IsOpen());
}

TEST_F(MediaDialogTest, OpenQuestionButtonsMoveOnlyTowardsEachOtherAndNoOrYesCloseIt) {
  kv::Persistent<MediaPlayerOpenConfirmDialog> d = OpenScreen<MediaPlayerOpenConfirmDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->WinID, WinIDs::WIN_ID_ConfirmMultiOptionsDialog);
  EXPECT_FALSE(d->HasCaption);
  EXPECT_EQ(d->WarningInfo.ToUtf8(), "A USB device is connected. Open the media player?");
  EXPECT_EQ(d->YesButton().OnGetText().ToUtf8(), "Yes");
  EXPECT_EQ(d->NoButton().OnGetText().ToUtf8(), "No");
  // The two buttons side by side, centred, 25 above the bottom.
  const kv::Rect yes = d->YesButton().Bounds(), no = d->NoButton().Bounds();
  EXPECT_EQ(yes.W(), 110);
  EXPECT_EQ(yes.H(), 27);
  EXPECT_EQ(yes.x1, (d->Bounds().W() - 2 * 110 - 20) / 2);
  EXPECT_EQ(yes.y2, d->Bounds().H() - 25);
  EXPECT_EQ(no.x1, yes.x2 + 20);
  EXPECT_EQ(no.y1, yes.y1);
  EXPECT_EQ(d->OnGetFocus(), &d->YesButton());
  Press("left");
  EXPECT_EQ(d->OnGetFocus(), &d->YesButton()) << "left on Yes stays";
  Press("right");
  EXPECT_EQ(d->OnGetFocus(), &d->NoButton());
  Press("right");
  EXPECT_EQ(d->OnGetFocus(), &d->NoButton()) << "right on No stays";
  Press("left");
  EXPECT_EQ(d->OnGetFocus(), &d->YesButton());
  // Other status events are kept from the screens behind.
  Dispatch(kv::New<Events::StatusEvent>());
  EXPECT_TRUE(d->IsOpen());
  Press("right");
  Press("ok");
  Settle();
  EXPECT_FALSE(d->IsOpen()) << "No closes the question";
  const int32_t volume = Volume();
  Press("vol+");
  EXPECT_EQ(Volume(), volume + 1);
  d = OpenScreen<MediaPlayerOpenConfirmDialog>();
  Press("ok");
  Settle();
  EXPECT_FALSE(d->IsOpen()) << "Yes moves on";
}

TEST_F(MediaDialogTest, PluggingAStickAsksWithItsNumberAndPullingThatStickTakesTheQuestionAway) {
  W()->OnSetUSBSDAutoStart(1);
  WriteStick("first", {"a.jpg"});
  WriteStick("second", {"b.jpg"});
  Plug("first");
  kv::Persistent<MediaPlayerOpenConfirmDialog> d = Find<MediaPlayerOpenConfirmDialog>();
  ASSERT_NE(d, nullptr) << "the question comes with the stick";
  EXPECT_EQ(d->DeviceNumber, 242);
  EXPECT_EQ(d->OnGetFocus(), &d->YesButton());
  // A second stick: its own question.
  Nms()->ClearAll();
  Settle();
  const int32_t second = Plug("second");
  d = Find<MediaPlayerOpenConfirmDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->DeviceNumber, 241 + second);
  psl::Unplug(1);
  Settle();
  EXPECT_TRUE(d->IsOpen()) << "the first stick is not the one asked about";
  psl::Unplug(second);
  Settle();
  EXPECT_FALSE(d->IsOpen());
  const int32_t volume = Volume();
  Press("vol+");
  EXPECT_EQ(Volume(), volume + 1) << "the next key reaches live TV";
  // Automatic start off: no question.
  W()->OnSetUSBSDAutoStart(0);
  Plug("first");
  EXPECT_EQ(Find<MediaPlayerOpenConfirmDialog>(), nullptr);
}

TEST_F(MediaDialogTest, DeviceInformationShowsTheStickByNameAndTheServerWithItsAddress) {
  WriteStick("holiday", {"a.jpg"});
  Plug("holiday");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  kv::Persistent<DmsDeviceInfo> d = OpenScreen<DmsDeviceInfo>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->WinID, WinIDs::WIN_ID_DEVICE_INFO);
  EXPECT_EQ(d->NameValue().ToUtf8(), Bridge()->GetCurMedium()->Caption.ToUtf8());
  EXPECT_FALSE(d->NameValue().Empty());
  EXPECT_FALSE(d->AddressShown()) << "a stick has no address";
  EXPECT_EQ(HelpText(), "Back");
  EXPECT_EQ(d->OnGetFocus(), nullptr);
  // It closes itself after a minute.
  Run(61000);
  EXPECT_FALSE(d->IsOpen());

  AddServer("Den", "192.168.1.20", {"x.wav"});
  const int32_t server = MediumOf("Den");
  ASSERT_GE(server, 0);
  Browse(server, Media::MEDIA_TYPE_MUSIC);
  d = OpenScreen<DmsDeviceInfo>();
  EXPECT_EQ(d->NameValue().ToUtf8(), "Den");
  EXPECT_TRUE(d->AddressShown());
  EXPECT_EQ(d->AddressValue().ToUtf8(), "192.168.1.20");
  Press("back");
  Settle();
  EXPECT_FALSE(d->IsOpen());
}

// --- The music selection ---------------------------------------------------------------------

TEST_F(MediaDialogTest, MusicSelectionWalksFoldersAndBackClosesAtTheTop) {
  MusicStick();
  kv::Persistent<SelectBGMusicDialog> d = OpenMusicDialog();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->WinID, WinIDs::WIN_ID_BGM_SELECT);
  EXPECT_FALSE(WaitingShown()) << "the waiting circle went with the first page";
  EXPECT_EQ(Rows(d), (std::vector<std::string>{"Album", "a.wav", "b.wav"}));
  EXPECT_EQ(d->PathText().ToUtf8(), "/");
  EXPECT_EQ(HelpText(), "Select,Page,Back");
  // Into the album: its songs, the path one level down.
  Press("ok");
  Run(100);
  Settle();
  EXPECT_EQ(Rows(d), (std::vector<std::string>{"c.wav", "d.wav"}));
  EXPECT_EQ(d->PathText().ToUtf8(), "/Album");
  // A folder's picture stands before the path.
  Run(200);
  const std::vector<Core::SeenText> seen = SeenTexts();
  const auto path = std::find_if(seen.begin(), seen.end(), [](const Core::SeenText& t) { return t.text == "/Album"; });
  ASSERT_NE(path, seen.end()) << SeenList();
  std::set<uint32_t> colours;
  for (int32_t y = path->ink.y1; y < path->ink.y2; ++y)
    for (int32_t x = d->GetAbsoluteBounds().x1 + 20; x < path->ink.x1 - 2; ++x) colours.insert(Osd().Row(y)[x]);
  EXPECT_GT(colours.size(), 4u) << "no folder picture before " << path->Describe();
  // Back goes up a level and stays open.
  Press("back");
  Settle();
  EXPECT_TRUE(d->IsOpen());
  EXPECT_EQ(Rows(d), (std::vector<std::string>{"Album", "a.wav", "b.wav"}));
  EXPECT_EQ(d->PathText().ToUtf8(), "/");
  // Back at the top closes it and the background-music page comes back.
  Press("back");
  Settle();
  EXPECT_FALSE(d->IsOpen());
  EXPECT_NE(Find<QuickMenu::BgMusicMenu>(), nullptr);
  EXPECT_EQ(HelpText(), "");
}

// A folder without songs lists nothing: no empty row to choose.
TEST_F(MediaDialogTest, MusicSelectionInAFolderWithoutSongsListsNothing) {
  WriteStick("music", {"Empty/", "a.wav"});
  Plug("music");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  kv::Persistent<SelectBGMusicDialog> d = OpenMusicDialog();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(Rows(d), (std::vector<std::string>{"Empty", "a.wav"}));
  Press("ok");
  Run(100);
  Settle();
  EXPECT_EQ(d->PathText().ToUtf8(), "/Empty");
  EXPECT_EQ(Rows(d), std::vector<std::string>{});
  // OK chooses nothing there; Back goes up again.
  Press("ok");
  Settle();
  EXPECT_FALSE(Bridge()->IsBgmSelected());
  Press("back");
  Settle();
  EXPECT_EQ(Rows(d), (std::vector<std::string>{"Empty", "a.wav"}));
}

TEST_F(MediaDialogTest, ASongChosenSetsThePlayListAndPlaysOnlyDuringASlideShowWithMusicOn) {
  MusicStick();
  // No slide show: the play list is set, no music starts.
  kv::Persistent<SelectBGMusicDialog> d = OpenMusicDialog();
  Press("down");
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_FALSE(d->IsOpen());
  EXPECT_TRUE(Bridge()->IsBgmSelected());
  EXPECT_FALSE(Bridge()->IsBgmPlaying());
  EXPECT_TRUE(Calls("PslMediaSetPlaylist").empty());
  EXPECT_NE(Find<QuickMenu::BgMusicMenu>(), nullptr) << "back to the background-music page";

  // A slide show with music on: the chosen song plays.
  W()->OnSetBackgroundMusicOnOff(1);
  W()->OnSetIsSlideshow(1);
  d = OpenMusicDialog();
  Press("down", 2);
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_TRUE(Bridge()->IsBgmPlaying());
  const std::vector<std::string> lists = Calls("PslMediaSetPlaylist");
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_NE(lists[0].find(", 7, 5)"), std::string::npos) << lists[0];
  EXPECT_FALSE(Calls("PslExternalSendNavCommand").empty());
}

TEST_F(MediaDialogTest, PullingTheMusicStickClosesTheSelectionWithOneMessage) {
  MusicStick();
  WriteStick("other", {"z.wav"});
  const int32_t other = Plug("other");
  kv::Persistent<SelectBGMusicDialog> d = OpenMusicDialog();
  // Another stick going changes nothing.
  psl::Unplug(other);
  Settle();
  EXPECT_TRUE(d->IsOpen());
  EXPECT_EQ(MessageType(), 0);
  psl::Unplug(1);
  Settle();
  EXPECT_FALSE(d->IsOpen());
  EXPECT_EQ(MessageType(), 21);
  EXPECT_EQ(HelpText(), "");
  EXPECT_EQ(Find<QuickMenu::BgMusicMenu>(), nullptr) << "nothing opens in its place";
}

TEST_F(MediaDialogTest, LosingTheServerClosesTheSelectionOfItsMusic) {
  AddServer("Den", "192.168.1.20", {"x.wav", "y.wav"});
  const int32_t server = MediumOf("Den");
  ASSERT_GE(server, 0);
  Browse(server, Media::MEDIA_TYPE_MUSIC);
  kv::Persistent<SelectBGMusicDialog> d = OpenMusicDialog();
  EXPECT_EQ(Rows(d), (std::vector<std::string>{"x.wav", "y.wav"}));
  // Another server going changes nothing; this one closes the selection.
  AddServer("Attic", "192.168.1.30", {"z.wav"});
  std::filesystem::remove_all(DataDir() / "media" / "servers" / "Attic");
  psl::Rescan();
  Settle();
  EXPECT_TRUE(d->IsOpen());
  std::filesystem::remove_all(DataDir() / "media" / "servers" / "Den");
  psl::Rescan();
  Settle();
  EXPECT_FALSE(d->IsOpen());
  EXPECT_EQ(MessageType(), 21);
}

TEST_F(MediaDialogTest, EachDialogOpenedAndClosedFiftyTimesKeepsTheCensus) {
  MusicStick();
  auto censusOf = [&](const char* name, const std::function<void()>& open) {
    SCOPED_TRACE(name);
    auto cycle = [&] {
      open();
      Press("exit");
      Settle();
    };
    for (int i = 0; i < 2; ++i) cycle();
    const auto base = Census();
    for (int i = 0; i < 50; ++i) cycle();
    EXPECT_EQ(Census(), base);
  };
  censusOf("open question", [&] { OpenScreen<MediaPlayerOpenConfirmDialog>(); });
  censusOf("device information", [&] { OpenScreen<DmsDeviceInfo>(); });
  censusOf("music selection", [&] { OpenMusicDialog(); });
}

}  // namespace
}  // namespace listtest
