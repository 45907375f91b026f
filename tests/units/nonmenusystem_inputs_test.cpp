// The input selection dialogs through the whole system: the input key opens
// the inputs, the right key on an HDMI input its HDMI-CEC devices, and the
// labelling dialog hands a label to the key pad and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "focus_look.h"
#include "known_faults.h"
#include "nonmenusystem_support.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_net_state.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_cec3d.h"
#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Constants/Constants.h"
#include "units/ListForm/InputLists.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/NonMenuSystem/InputDialogs.h"
#include "units/NonMenuSystem/KeyPad.h"
#include "units/NonMenuSystem/VolumeMuteBar.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"
#include "units/WinIDs/WinIDs.h"

namespace {

using NonMenuSystem::CecInputDialog;
using NonMenuSystem::ExternalInputDialog;
using NonMenuSystem::InputLabelingDialog;

class InputDialogTest : public livetvtest::LiveTVTest {
 protected:
  void SetUp() override {
    livetvtest::LiveTVTest::SetUp();
    Skin()->OnSetEnableKELVO(1);
    Skin()->GetHdmiCecData()->InitDevList();
  }
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }
  static int32_t FocusedSource(ListForm::ListClass& l) {
    auto* row = kv::Cast<ListForm::InputItem>(l.GetFocusedRow());
    return row ? row->SourceId : -1;
  }
  InputLabelingDialog* OpenLabels(int32_t code) {
    auto* state = kv::New<SubSystem::State>();
    state->Class = &InputLabelingDialog::StaticClass();
    state->Param = SkinBin::UserRefInt::Make(0, code);
    Nms()->ChangeState(state);
    Settle();
    return Find<InputLabelingDialog>();
  }
};

TEST_F(InputDialogTest, HeightFollowsTheRowsAndNeverGoesBelowZero) {
  // Ten rows at most, 28 pixels for each one missing.
  EXPECT_EQ(NonMenuSystem::ShrunkHeight(410, 10, 1, 28), 410 - 9 * 28);
  EXPECT_EQ(NonMenuSystem::ShrunkHeight(410, 10, 3, 28), 410 - 7 * 28);
  EXPECT_EQ(NonMenuSystem::ShrunkHeight(410, 10, 11, 28), 410);
  EXPECT_EQ(NonMenuSystem::ShrunkHeight(410, 10, -4, 28), 130);
  EXPECT_EQ(NonMenuSystem::ShrunkHeight(100, 10, 0, 28), 0);

  // The ten inputs of the set fill the ten rows: the designed height.
  Press("input");
  auto* d = Find<ExternalInputDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Bounds(), (kv::Rect{60, 60, 430, 470}));
  Press("exit");
  // Two CEC devices on HDMI1 out of six rows: 181 less 4 x 28.
  ASSERT_TRUE(SwitchToSourceType(5));
  Press("input");
  d = Find<ExternalInputDialog>();
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(FocusedSource(d->List()), sim::kSourceHdmi1);
  Press("right");
  auto* cec = Find<CecInputDialog>();
  ASSERT_NE(cec, nullptr);
  EXPECT_EQ(cec->Bounds(), (kv::Rect{378, 234, 628, 234 + 181 - 4 * 28}));
}

TEST_F(InputDialogTest, InputKeyOpensTheListAndOkSwitchesTheInputOfTheSet) {
  Press("input");
  auto* d = Find<ExternalInputDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(Focused(), d->List().GetFocusedRow());
  EXPECT_EQ(FocusedSource(d->List()), sim::kSourceTv);
  // The arrows restart the dialog's time-out: 14 s later it is still open.
  Run(10000);
  Press("down");
  Run(10000);
  ASSERT_NE(Find<ExternalInputDialog>(), nullptr);
  Press("down", 1);  // TV2, AV
  const int32_t chosen = FocusedSource(d->List());
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_SetSource").size(), 1u);
  EXPECT_EQ(W()->GetCurrentSource(0), chosen);
  EXPECT_EQ(Find<ExternalInputDialog>(), nullptr);

  // Choosing the input already shown only closes the dialog.
  Press("input");
  ASSERT_NE(Find<ExternalInputDialog>(), nullptr);
  ClearCallLog();
  Press("ok");
  EXPECT_TRUE(Calls("XPM_SetSource").empty());
  EXPECT_EQ(Find<ExternalInputDialog>(), nullptr);

  // Untouched, the dialog times out (15 s).
  Press("input");
  Run(15100);
  EXPECT_EQ(Find<ExternalInputDialog>(), nullptr);
}

// From whichever input the list opens on, down and up reach every input of
// the set, each shown in the focused row.
TEST_F(InputDialogTest, EveryInputIsReachedFromEveryInput) {
  std::set<int32_t> all;
  for (int32_t i = 0; i < W()->GetNumSources(); ++i) all.insert(W()->GetSourceId(i));
  ASSERT_GE(all.size(), 2u);
  for (size_t start = 0; start < all.size(); ++start) {
    // Choose the input `start` rows down from TV through the list itself.
    if (start > 0) {
      Press("input");
      Run(300);
      auto* d = Find<ExternalInputDialog>();
      ASSERT_NE(d, nullptr);
      while (FocusedSource(d->List()) != sim::kSourceTv) Press("up");
      Press("down", static_cast<int>(start));
      Press("ok");
      Run(2000);
    }
    for (const char* key : {"down", "up"}) {
      Press("input");
      Run(300);
      auto* d = Find<ExternalInputDialog>();
      ASSERT_NE(d, nullptr);
      std::set<int32_t> reached{FocusedSource(d->List())};
      for (size_t i = 0; i < all.size(); ++i) {
        Press(key);
        Run(100);
        const int32_t id = FocusedSource(d->List());
        reached.insert(id);
        const std::string name = Skin()->GetSourceName(id).ToUtf8();
        EXPECT_TRUE(Sees(name)) << name << "\n" << SeenList();
      }
      EXPECT_EQ(reached, all) << "from input " << W()->GetCurrentSource(0) << " by " << key;
      Press("exit");
      Run(300);
    }
  }
}

TEST_F(InputDialogTest, RightOnHdmiOpensTheDevicesAndDownPastTheEndMovesTheInputsOn) {
  ASSERT_TRUE(SwitchToSourceType(5));
  Press("input");
  auto* d = Find<ExternalInputDialog>();
  ASSERT_NE(d, nullptr);
  Press("right");
  auto* cec = Find<CecInputDialog>();
  ASSERT_NE(cec, nullptr);
  EXPECT_EQ(cec->List().ItemNum, 2);
  // The device list has the focus: the input dialog's time-out stands still.
  EXPECT_FALSE(d->IsTimeoutRunning());
  Press("down");  // second device
  ASSERT_NE(Find<CecInputDialog>(), nullptr);
  Press("down");  // past the end: the device list closes, the inputs move on
  EXPECT_EQ(Find<CecInputDialog>(), nullptr);
  d = Find<ExternalInputDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(FocusedSource(d->List()), sim::kSourceHdmi2);
  EXPECT_TRUE(d->IsTimeoutRunning());

  // OK on a device addresses it and switches to its input; everything closes.
  Press("up");
  Press("right");
  ASSERT_NE(Find<CecInputDialog>(), nullptr);
  ClearCallLog();
  Press("ok");
  EXPECT_EQ(Calls("XPM_HdmiCecSetAddr").size(), 1u);
  EXPECT_EQ(Find<CecInputDialog>(), nullptr);
  EXPECT_EQ(Find<ExternalInputDialog>(), nullptr);
}

TEST_F(InputDialogTest, AnInputIsRelabelledThroughTheKeyPad) {
  auto* d = OpenLabels(Constants::MSG_FROM_MENUSYSTEM);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(d->MenuTriggered);
  EXPECT_EQ(d->Bounds().H(), 360);
  Press("down", 2);  // the AV input
  auto* row = kv::Cast<ListForm::InputLabelingItem>(d->List().GetFocusedRow());
  ASSERT_NE(row, nullptr);
  const int32_t source = row->SourceId;
  Press("green");
  auto* pad = Find<NonMenuSystem::KeyPad>();
  ASSERT_NE(pad, nullptr);
  EXPECT_EQ(pad->PrevState, &InputLabelingDialog::StaticClass());
  // The key pad's Done answers with the typed label; the row and the set take it.
  pad->OnSetLabelString(KV_STR(u"Console"));
  Press("blue");
  Settle();
  EXPECT_EQ(Find<NonMenuSystem::KeyPad>(), nullptr);
  ASSERT_EQ(Find<InputLabelingDialog>(), d);
  EXPECT_EQ(row->LabelText.ToUtf8(), "Console");
  EXPECT_EQ(Skin()->GetSourceLabel(source).ToUtf8(), "Console");
}

using kvtest::Unlisted;

// The key pad that Green opens from a labelling row leaves that row's name
// and label whole in sight and hides no text of the dialog by half (its
// caption, its headings, the other rows), on every row, before and after
// the list scrolls, in the three menu languages.
TEST_F(InputDialogTest, TheKeyPadLeavesTheLabelledRowInSightOnEveryRow) {
  const char* labels[] = {"Blu-ray", "Cable", "DVD", "Game", "PC", "Recorder", "Satellite", "VCR"};
  for (int32_t language : {0, 1, 2}) {
    SCOPED_TRACE(language);
    ChooseMenuLanguage(language);
    auto* d = OpenLabels(0);
    ASSERT_NE(d, nullptr);
    for (int row = 0; row < 10; ++row) {
      SCOPED_TRACE(row);
      const int choice = row % 8;
      Press("right", choice + 1);
      Press("green");
      Run(500);
      auto* pad = Find<NonMenuSystem::KeyPad>();
      ASSERT_NE(pad, nullptr);
      auto* item = d->List().GetFocusedRow();
      ASSERT_NE(item, nullptr);
      const kv::Rect r = item->GetAbsoluteBounds();
      const kv::Rect p = pad->GetAbsoluteBounds();
      EXPECT_FALSE(p.Intersects(r)) << "the key pad over the row being labelled";
      if (language == 0) {
        EXPECT_TRUE(Sees(labels[choice])) << SeenList();
      }
      EXPECT_EQ(Unlisted(Core::TextFaults(SeenTexts())), std::vector<std::string>{}) << SeenList();
      Press("back");  // the key pad closes; the keys are the list's again
      Run(300);
      ASSERT_EQ(Find<NonMenuSystem::KeyPad>(), nullptr);
      Press("down");
    }
    // Every label back to none for the next language.
    for (int row = 0; row < 10; ++row) {
      Press("right", 8 - row % 8);
      Press("down");
    }
    Press("exit");
    Run(300);
  }
}

// In Latin mode the letter before the cursor shows highlighted in its place
// in the edit field, not drawn over the plain letter; the blink shows the
// plain one between, and an accent chosen replaces it.
TEST_F(InputDialogTest, TheKeyPadsHighlightedLetterStandsInPlaceOfThePlainOne) {
  ASSERT_NE(OpenLabels(0), nullptr);
  Press("green");
  Run(500);
  auto* pad = Find<NonMenuSystem::KeyPad>();
  ASSERT_NE(pad, nullptr);
  auto padFaults = [&] {
    std::vector<std::string> out;
    for (const std::string& f : Core::TextFaults(SeenTexts()))
      if (f.find("NonMenuSystem::KeyPad") != std::string::npos) out.push_back(f);
    return out;
  };
  Press("right");
  Press("ok");  // B
  Press("left");
  Press("ok");  // A
  Press("yellow");
  Run(100);
  ASSERT_TRUE(pad->IsLatinMode);
  // Both phases of the blink: the A highlighted, and plain.
  for (int blink = 0; blink < 2; ++blink) {
    SCOPED_TRACE(blink);
    EXPECT_EQ(padFaults(), std::vector<std::string>{}) << SeenList();
    EXPECT_TRUE(Sees("BA")) << SeenList();
    const bool shown = pad->EditField().HighlightShown();
    pad->EditField().CursorSlot();
    EXPECT_NE(pad->EditField().HighlightShown(), shown);
  }
  Press("right");
  Press("ok");  // the second variant replaces the A
  Run(100);
  EXPECT_EQ(pad->EditField().OnGetTextString().ToUtf8(), "B\u00c1");
  EXPECT_EQ(padFaults(), std::vector<std::string>{}) << SeenList();
}

// Every label of the labelling dialog after every input's name in the input
// list, in the three languages: the list writes the label 8 pixels after
// the name, as the name and label of one input (known-faults.txt lists
// those pairs); nothing else is reported.
TEST_F(InputDialogTest, EveryLabelReadsAfterEveryInputsNameInEveryLanguage) {
  // Moves every input's label on to the next choice in the labelling dialog.
  auto nextLabels = [&] {
    ASSERT_NE(OpenLabels(0), nullptr);
    for (int row = 0; row < 10; ++row) {
      Press("right");
      Press("down");
    }
    Press("exit");
    Run(300);
  };
  for (int32_t language : {0, 1, 2}) {
    SCOPED_TRACE(language);
    ChooseMenuLanguage(language);
    for (int label = 1; label <= 8; ++label) {
      SCOPED_TRACE(label);
      nextLabels();
      Press("input");
      Run(500);
      ASSERT_NE(Find<ExternalInputDialog>(), nullptr);
      EXPECT_EQ(Unlisted(Core::TextFaults(SeenTexts())), std::vector<std::string>{}) << SeenList();
      Press("exit");
      Run(300);
    }
    nextLabels();  // back to no label for the next language
  }
}

TEST_F(InputDialogTest, OpenedAndClosedFiftyTimesTheDialogsReturnToTheirBaseline) {
  auto cycle = [&] {
    Press("input");
    Press("down");
    Press("exit");
    Settle();
  };
  cycle();
  const auto baseline = Census();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(Census(), baseline);
  EXPECT_EQ(Find<ExternalInputDialog>(), nullptr);
}

}  // namespace

// The focused input row as the viewer reads it: the bar keeps the row's
// number in its right part, and the input's name sits in the middle of the
// bar's height.
TEST_F(InputDialogTest, TheFocusedRowShowsItsNumberAndItsNameInTheMiddleOfTheBar) {
  Press("input");
  Run(300);
  auto* d = Find<ExternalInputDialog>();
  ASSERT_NE(d, nullptr);
  auto channel = [](uint32_t p, int i) { return static_cast<int>((p >> (8 * i)) & 0xFFu); };
  auto differs = [&](uint32_t a, uint32_t b) {
    for (int i = 0; i < 3; ++i)
      if (std::abs(channel(a, i) - channel(b, i)) > 40) return true;
    return false;
  };
  // The caption text of the focused row, as drawn.
  auto caption = [&](const std::string& name) -> Core::SeenText {
    for (const Core::SeenText& t : SeenTexts())
      if (t.text == name && t.where.find("ListForm::InputItem") != std::string::npos) return t;
    ADD_FAILURE() << "no row caption " << name << "\n" << SeenList();
    return {};
  };
  struct Row {
    int downs;
    const char* name;
    bool number;  // an input without a device behind it: nothing else right of its name
  };
  for (const Row& r : {Row{0, "TV", true}, Row{3, "Component", true}, Row{1, "HDMI 1", false}}) {
    SCOPED_TRACE(r.name);
    if (r.downs) Press("down", r.downs);
    Run(300);
    auto* row = kv::Cast<ListForm::InputItem>(d->List().GetFocusedRow());
    ASSERT_NE(row, nullptr);
    const kv::Rect bar = row->GetAbsoluteBounds();
    const Core::SeenText t = caption(r.name);
    ASSERT_TRUE(t.Readable()) << t.Describe();
    const ge::Surface& osd = Osd();
    // Centred: as much bar above the letters as below them (capitals and
    // digits, no descenders).
    EXPECT_LE(std::abs((t.ink.y1 - bar.y1) - (bar.y2 - t.ink.y2)), 2) << t.Describe() << " in the bar " << bar.y1
                                                                       << ".." << bar.y2;
    if (!r.number) continue;
    // The number: marks right of the name, on the bar's plain colour.
    int marks = 0;
    const int32_t plainX = t.ink.x2 + 6;
    for (int32_t y = bar.y1 + 4; y < bar.y2 - 4; ++y)
      for (int32_t x = plainX + 1; x < bar.x2 - 4; ++x)
        if (differs(osd.Row(y)[x], osd.Row(y)[plainX])) ++marks;
    EXPECT_GT(marks, 8) << "no number on the focused row";
  }
}

// The focus bar of the input list reaches as near the panel's right edge as
// its left end is to the left edge.
TEST_F(InputDialogTest, TheFocusBarSpansThePanel) {
  Press("input");
  Run(300);
  auto* d = Find<ExternalInputDialog>();
  ASSERT_NE(d, nullptr);
  auto* row = d->List().GetFocusedRow();
  ASSERT_NE(row, nullptr);
  const kv::Rect panel = d->GetAbsoluteBounds();
  const kv::Rect bar = row->GetAbsoluteBounds();
  const int32_t left = bar.x1 - panel.x1;
  EXPECT_GT(apptest::FocusBlueShare(Osd(), {bar.x1 + 4, bar.y1 + 6, bar.x1 + 10, bar.y2 - 6}), 0.5);
  EXPECT_GT(apptest::FocusBlueShare(Osd(), {panel.x2 - left - 10, bar.y1 + 6, panel.x2 - left - 4, bar.y2 - 6}), 0.5)
      << "the bar stops short of the panel's right edge";
}

// The banner of an input without channels: its badges stand right under
// the source line (no empty band where a channel's number would be), the
// first badge shown in the first place, also the PC's lone timing badge.
TEST_F(InputDialogTest, AnInputsBannerShowsItsBadgesUnderTheSourceLineFromTheFirstPlace) {
  struct Step {
    const char* name;
    int downs;
  };
  for (const Step& step : {Step{"HDMI 1", 4}, Step{"PC", 4}}) {
    SCOPED_TRACE(step.name);
    Press("input");
    Run(300);
    Press("down", step.downs);
    Press("ok");
    Run(2000);
    // The source line: the label of the banner's basic form (a device's
    // name when one answers on the input).
    const Core::SeenText* source = nullptr;
    NonMenuSystem::BannerBasicInfo* b = nullptr;
    std::vector<Core::SeenText> seen = SeenTexts();
    for (const Core::SeenText& t : seen)
      if (auto* form = t.view ? kv::Cast<NonMenuSystem::BannerBasicInfo>(t.view->Owner()) : nullptr;
          form && t.view == &form->SourceLabel && !t.ink.IsEmpty()) {
        source = &t;
        b = form;
      }
    ASSERT_NE(source, nullptr) << SeenList();
    int32_t top = 1 << 30, left = 1 << 30;
    for (Core::View* v : std::initializer_list<Core::View*>{&b->SDHD, &b->Resolution, &b->AudioMode, &b->SecondAudio,
                                                            &b->Dolby, &b->ClosedCaption})
      if (v->IsVisible()) {
        top = std::min(top, v->GetAbsoluteBounds().y1);
        left = std::min(left, v->GetAbsoluteBounds().x1);
      }
    ASSERT_LT(top, 1 << 30) << "no badge";
    EXPECT_LE(top - source->ink.y2, 12) << "an empty band between the source line and the badges";
    EXPECT_EQ(left, b->SourceIcon.GetAbsoluteBounds().x1) << "the first badge is not in the first place";
  }
}

// The "Skip" heading stands over the rows' check boxes, in every menu
// language.
TEST_F(InputDialogTest, TheSkipHeadingStandsOverTheCheckBoxes) {
  for (int32_t lang = 0; lang < 3; ++lang) {
    SCOPED_TRACE(lang);
    Skin()->SetMenuLanguage(lang);
    InputLabelingDialog* d = OpenLabels(Constants::MSG_FROM_MENUSYSTEM);
    ASSERT_NE(d, nullptr);
    Run(100);
    auto* row = kv::Cast<ListForm::InputLabelingItem>(d->List().GetFocusedRow());
    ASSERT_NE(row, nullptr);
    const kv::Rect r = row->GetAbsoluteBounds();
    const kv::Rect box = row->CheckBoxBounds().Move(r.Origin());
    const std::string skip = kv::GetVariantOfString(Strings::SID_SKIP).ToUtf8();
    int headings = 0;
    for (const Core::SeenText& t : SeenTexts()) {
      if (t.text != skip || t.where.find(" in NonMenuSystem::InputLabelingDialog <") == std::string::npos || t.ink.IsEmpty())
        continue;
      ++headings;
      EXPECT_LE(std::abs((t.ink.x1 + t.ink.x2) / 2 - (box.x1 + box.x2) / 2), 4)
          << "the heading's ink " << t.ink.x1 << ".." << t.ink.x2 << ", the boxes " << box.x1 << ".." << box.x2;
      EXPECT_LT(t.ink.y2, r.y1) << "the heading stands over the rows";
    }
    EXPECT_EQ(headings, 1) << SeenList();
    Press("exit");
    Settle();
  }
  Skin()->SetMenuLanguage(0);
}

namespace {

using NonMenuSystem::CecInputDialog;
using NonMenuSystem::ExternalInputDialog;

// HDMI-CEC control switched on as a viewer does (its setting page, Right,
// Exit), nothing else shown before: the input list shows the devices on
// HDMI 1 and HDMI 2 and Right on HDMI 1 opens its devices, also after a
// restart. Every row's texts end before the row's number and CEC badge.
class NewSetCecInputsTest : public livetvtest::LiveTVTest {
 protected:
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }
  void SwitchCecControlOn() {
    OpenCecPage();
    Press("right");
    Run(300);
    Press("exit");
    Run(1000);
  }
  // The HDMI-CEC page, as no key reaches it from live TV.
  void OpenCecPage() {
    auto* ref = kv::New<Structures::RefInt>();
    ref->Value = 1;
    auto* state = kv::New<SubSystem::State>();
    state->Class = KV_LATE_CLASS("MenuSystem::CECSetupMenu");
    state->Param = ref;
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_CHANGE_STATE, state);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(msg, KV_LATE_CLASS("MenuSystem::MenuSystem"));
    Run(500);
  }
  // The input list open, the focus on HDMI 1 (the fifth input).
  ExternalInputDialog* InputsOnHdmi1() {
    Press("input");
    Run(300);
    Press("down", 4);
    Run(200);
    auto* d = Find<ExternalInputDialog>();
    if (d && FocusedSource(d->List()) != sim::kSourceHdmi1) ADD_FAILURE() << "not on HDMI 1";
    return d;
  }
  static int32_t FocusedSource(ListForm::ListClass& l) {
    auto* row = kv::Cast<ListForm::InputItem>(l.GetFocusedRow());
    return row ? row->SourceId : -1;
  }
  // Every text of an input row ends before the row's number; a device name
  // too long for its place ends in an ellipsis.
  void RowTextsEndBeforeTheNumber(ExternalInputDialog* d) {
    int texts = 0;
    for (const Core::SeenText& t : SeenTexts()) {
      if (t.where.find("ListForm::InputItem") == std::string::npos) continue;
      const kv::Point middle{(t.ink.x1 + t.ink.x2) / 2, (t.ink.y1 + t.ink.y2) / 2};
      const Forms::Ctrl* row = nullptr;
      for (Forms::Ctrl* r : d->List().GetRows())
        if (kv::Cast<ListForm::InputItem>(r) && r->GetAbsoluteBounds().Contains(middle)) row = r;
      ASSERT_NE(row, nullptr) << t.Describe();
      ++texts;
      EXPECT_LE(t.ink.x2, row->GetAbsoluteBounds().x2 - Bitmaps::kInputIndexLeft) << t.Describe();
      EXPECT_TRUE(t.Readable()) << t.Describe();
    }
    EXPECT_GT(texts, 0) << SeenList();
  }
};

namespace {
// How many glyph pixels of the shown text containing `part` have the colour
// `c` (within a few steps, on an opaque background).
int GlyphPixelsOf(const std::vector<Core::SeenText>& seen, const ge::Surface& osd, std::string_view part, kv::Color c) {
  int n = 0;
  for (const Core::SeenText& t : seen) {
    if (t.text.find(part) == std::string::npos) continue;
    for (int32_t y = std::max(t.ink.y1, 0); y < std::min(t.ink.y2, osd.height); ++y)
      for (int32_t x = std::max(t.ink.x1, 0); x < std::min(t.ink.x2, osd.width); ++x) {
        if (!t.MaskAt(x, y)) continue;
        const uint32_t p = osd.Row(y)[x];
        const int r = static_cast<int>(p & 0xFF), g = static_cast<int>(p >> 8 & 0xFF), b = static_cast<int>(p >> 16 & 0xFF);
        if (std::abs(r - c.r) <= 6 && std::abs(g - c.g) <= 6 && std::abs(b - c.b) <= 6) ++n;
      }
  }
  return n;
}
}  // namespace

// The device name of an input row is light on the focus bar and dim on the
// other rows; the device list's rows are solid: neither the picture nor the
// input list shows through them. The input list keeps HDMI 1's focus bar
// while its devices are listed, as the mark of whose devices they are.
TEST_F(NewSetCecInputsTest, DeviceNamesReadOnTheFocusBarAndTheDeviceListIsSolid) {
  Run(1000);
  SwitchCecControlOn();
  ExternalInputDialog* d = InputsOnHdmi1();
  ASSERT_NE(d, nullptr);
  std::vector<Core::SeenText> seen = SeenTexts();
  EXPECT_GT(GlyphPixelsOf(seen, Osd(), "Blu-ray Player", Colors::InputLabelStandardTextColor), 10) << SeenList();
  EXPECT_EQ(GlyphPixelsOf(seen, Osd(), "Blu-ray Player", Colors::InputLabelDefaultTextColor), 0);
  EXPECT_GT(GlyphPixelsOf(seen, Osd(), "Game Console", Colors::InputLabelDefaultTextColor), 10) << SeenList();
  EXPECT_EQ(GlyphPixelsOf(seen, Osd(), "Game Console", Colors::InputLabelStandardTextColor), 0);
  Press("right");
  Run(500);
  auto* cec = Find<CecInputDialog>();
  ASSERT_NE(cec, nullptr);
  EXPECT_TRUE(Sees("2. AV Receiver")) << SeenList();
  // The panel's soft outline (2 px, as on its caps) aside.
  int rows = 0;
  for (Forms::Ctrl* row : cec->List().GetRows()) {
    if (!row->IsVisible() || row->IsFocused()) continue;
    ++rows;
    const kv::Rect b = row->GetAbsoluteBounds();
    int seeThrough = 0;
    for (int32_t y = b.y1; y < b.y2; ++y)
      for (int32_t x = b.x1 + 2; x < b.x2 - 2; ++x) seeThrough += (Osd().Row(y)[x] >> 24) < 255 ? 1 : 0;
    EXPECT_EQ(seeThrough, 0) << "row at " << b.y1;
  }
  EXPECT_EQ(rows, 1);
  // HDMI 1 keeps its bar under the device list.
  EXPECT_TRUE(apptest::LooksFocused(Osd(), d->List().GetFocusedRow()));
}

TEST_F(NewSetCecInputsTest, TheInputListReachesTheDevicesOnceCecControlIsOn) {
  Run(1000);
  SwitchCecControlOn();
  ASSERT_EQ(Skin()->OnGetEnableKELVO(), 1);
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    ExternalInputDialog* d = InputsOnHdmi1();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(Sees("Game C")) << SeenList();
    RowTextsEndBeforeTheNumber(d);
    Press("right");
    Run(300);
    auto* cec = Find<CecInputDialog>();
    ASSERT_NE(cec, nullptr);
    EXPECT_TRUE(Sees("Blu-ray Player")) << SeenList();
    EXPECT_EQ(cec->List().ItemNum, 2);
    // The next key still acts: Exit closes both lists.
    Press("exit");
    Run(500);
    EXPECT_EQ(Find<CecInputDialog>(), nullptr);
    EXPECT_EQ(Find<ExternalInputDialog>(), nullptr);
    if (pass == 0) {
      Restart();
      Run(2000);
    }
  }
}

// On HDMI 1 with HDMI-CEC control on, the first banner after a restart names
// the input's device, as the banner did before the restart.
TEST_F(NewSetCecInputsTest, AfterARestartOnHdmi1TheFirstBannerNamesItsDevice) {
  Run(1000);
  SwitchCecControlOn();
  ASSERT_NE(InputsOnHdmi1(), nullptr);
  Press("ok");
  Run(2500);
  ASSERT_EQ(Skin()->GetCurrentSource(0), sim::kSourceHdmi1);
  EXPECT_TRUE(Sees("Blu-ray Player")) << SeenList();
  Restart();
  Run(3000);
  Press("info");
  Run(500);
  ASSERT_NE(Find<NonMenuSystem::InfoBanner>(), nullptr);
  EXPECT_TRUE(Sees("Blu-ray Player")) << SeenList();
  EXPECT_FALSE(Sees("HDMI 1")) << SeenList();
}

// HDMI-CEC control on, an AV receiver on HDMI 1. With the TV's speakers
// chosen (a new set's choice) the receiver plays nothing: the TV's bars show
// and the keys change the TV's volume and mute. With the audio system chosen
// on the HDMI-CEC page, the amplifier bars show, every key reaches the
// receiver and nothing of the TV's, and a second mute unmutes the receiver.
TEST_F(NewSetCecInputsTest, TheVolumeAndMuteKeysReachTheSpeakersChosen) {
  Run(1000);
  SwitchCecControlOn();
  sim::TvState& tv = Tv().Tv();
  sim::NetState& receiver = Tv().Net();
  const int32_t volume = tv.Value(sim::Setting::kVolume);
  Press("vol+");
  Run(300);
  EXPECT_NE(Find<NonMenuSystem::CommonVolumeBar>(), nullptr);
  EXPECT_EQ(tv.Value(sim::Setting::kVolume), volume + 1);
  Run(3000);
  Press("mute");
  Run(300);
  EXPECT_NE(Find<NonMenuSystem::CommonMuteBar>(), nullptr);
  EXPECT_EQ(Find<NonMenuSystem::AmplifierMuteBar>(), nullptr);
  EXPECT_NE(tv.Value(sim::Setting::kMute), 0);
  Run(3000);
  Press("mute");
  Run(300);
  EXPECT_EQ(tv.Value(sim::Setting::kMute), 0);
  EXPECT_TRUE(receiver.AudioSystemControls().empty());

  // The audio system chosen: the page's last row, Right.
  Run(3000);
  OpenCecPage();
  Press("down", 4);
  Run(300);
  Press("right");
  Run(300);
  Press("exit");
  Run(1000);
  Press("vol+");
  Run(300);
  EXPECT_NE(Find<NonMenuSystem::AmplifierVolumeBar>(), nullptr);
  EXPECT_TRUE(Sees("Amplifier")) << SeenList();
  EXPECT_EQ(tv.Value(sim::Setting::kVolume), volume + 1);
  Run(3000);
  Press("mute");
  Run(300);
  EXPECT_NE(Find<NonMenuSystem::AmplifierMuteBar>(), nullptr);
  EXPECT_TRUE(Sees("Mute")) << SeenList();
  EXPECT_EQ(receiver.CecAudioMuted(), 1);
  Run(3000);
  Press("mute");
  Run(300);
  EXPECT_EQ(receiver.CecAudioMuted(), 0);
  EXPECT_EQ(Find<NonMenuSystem::AmplifierMuteBar>(), nullptr) << "unmuted: the bar closes at once";
  EXPECT_EQ(tv.Value(sim::Setting::kMute), 0);
  const std::vector<int32_t> sent{XPM_CEC_KEY_VOLUME_UP, XPM_CEC_KEY_MUTE, XPM_CEC_KEY_MUTE};
  EXPECT_EQ(receiver.AudioSystemControls(), sent);
}

}  // namespace
