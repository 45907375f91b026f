// The input lists in a test screen that plays their dialog, against the
// simulated set's inputs (in order TV, TV2, AV, Component, HDMI1-3, DVI,
// PC, Multimedia) and HDMI-CEC devices (two on HDMI1, one on
// HDMI2): the input list, the CEC device list and the input labels.
#include <gtest/gtest.h>

#include <map>

#include "listform_fixture.h"
#include "platform/sim/sim_net_state.h"
#include "platform/sim/sim_tv_state.h"
#include "units/Events/CEC_EVENT_NAME_UPDATED.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Constants/Constants.h"
#include "units/ListForm/InputLists.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"

namespace listtest {
namespace {

using ListForm::ExternalInputList;
using ListForm::InputItem;
using ListForm::InputLabelingItem;

class InputListTest : public ListTest {
 protected:
  void SetUp() override {
    ListTest::SetUp();
    W()->OnSetEnableKELVO(1);
    W()->GetHdmiCecData()->InitDevList();
  }
  ExternalInputList* OpenInputs() { return Open(kv::New<ExternalInputList>(), {100, 60, 350, 340}); }
  static int32_t FocusedSource(ListForm::ListClass* l) {
    auto* row = kv::Cast<InputItem>(l->GetFocusedRow());
    return row ? row->SourceId : -1;
  }
};

TEST_F(InputListTest, OpensOnTheCurrentInputSkipsDisabledOnesAndTunesOnceAfterTheInputKey) {
  W()->SetSourceDisable(sim::kSourceAv, 1);
  auto* exits = kv::New<Probe>();
  kv::Persistent<Probe> keep(exits);
  auto* l = kv::New<ExternalInputList>();
  l->OnExit = kv::MakeSlot(exits, &Probe::Hit);
  Open(l, {100, 60, 350, 340});
  ASSERT_EQ(Rows(l).size(), 10u);  // one row for each of the ten inputs
  EXPECT_EQ(l->Bounds().H(), 280);
  EXPECT_EQ(FocusedSource(l), sim::kSourceTv);
  EXPECT_TRUE(Row<InputItem>(l, 2)->OnGetIsDisabled());

  Press("down", 2);  // TV2, then over the skipped AV input
  EXPECT_EQ(FocusedSource(l), sim::kSourceComponent);
  Press("up", 2);
  EXPECT_EQ(FocusedSource(l), sim::kSourceTv);
  Press("up");  // wraps to the last row
  EXPECT_EQ(FocusedSource(l), sim::kSourceMultimedia);
  Press("down");
  ClearCallLog();

  Press("input", 3);  // TV2, Component, HDMI1
  EXPECT_EQ(FocusedSource(l), sim::kSourceHdmi1);
  Run(450);
  EXPECT_TRUE(Calls("XPM_SetSource").empty());
  Run(100);
  const auto tunes = Calls("XPM_SetSource");
  ASSERT_EQ(tunes.size(), 1u);
  EXPECT_EQ(tunes[0], "XPM_SetSource(0, 3)");
  EXPECT_EQ(Calls("XPM_HdmiCecSetAddrEx").size(), 1u);
  EXPECT_EQ(exits->hits, 1);

  // OK on the input that is now current tunes nothing but still closes.
  ClearCallLog();
  Press("ok");
  EXPECT_TRUE(Calls("XPM_SetSource").empty());
  EXPECT_EQ(exits->hits, 2);
}

// Each row shows the icon of its input's kind: the antenna and digital
// tuners, composite video, component (HD), HDMI and DVI (one icon), PC.
TEST_F(InputListTest, EachInputShowsTheIconOfItsKind) {
  auto* l = OpenInputs();
  const std::map<int32_t, const Resources::BitmapId*> icons = {
      {sim::kSourceTv, &Bitmaps::BannerRF1Input},        {sim::kSourceTv2, &Bitmaps::BannerRF2Input},
      {sim::kSourceAv, &Bitmaps::BannerVideoInput},      {sim::kSourceComponent, &Bitmaps::BannerHDInput},
      {sim::kSourceHdmi1, &Bitmaps::BannerHDMIInput},    {sim::kSourceDvi, &Bitmaps::BannerHDMIInput},
      {sim::kSourcePc, &Bitmaps::BannerPCInput},
  };
  size_t seen = 0;
  for (Forms::Ctrl* ctrl : Rows(l)) {
    auto* row = kv::Cast<InputItem>(ctrl);
    ASSERT_NE(row, nullptr);
    const auto it = icons.find(row->SourceId);
    if (it == icons.end()) continue;
    ++seen;
    EXPECT_EQ(row->TypeIcon(), Resources::LoadResource(*it->second)) << "input " << row->SourceId;
  }
  EXPECT_EQ(seen, icons.size());
}

TEST_F(InputListTest, WithTheInputLockEveryInputButTheTunerIsDisabled) {
  W()->OnSetInputLock(1);
  ExternalInputList* l = OpenInputs();
  EXPECT_TRUE(l->InputLock);
  for (Forms::Ctrl* row : Rows(l)) {
    auto* item = kv::Cast<InputItem>(row);
    const bool tuner = item->SourceId == sim::kSourceTv || item->SourceId == sim::kSourceTv2;
    EXPECT_EQ(item->OnGetIsDisabled(), !tuner) << item->SourceId;
  }
  Press("down");
  EXPECT_EQ(FocusedSource(l), sim::kSourceTv2);
  Press("down");  // past every disabled input, round to the first tuner
  EXPECT_EQ(FocusedSource(l), sim::kSourceTv);
  // A disabled row is never tuned.
  l->OnSetFocus(Rows(l)[2]);
  ClearCallLog();
  Press("ok");
  EXPECT_TRUE(Calls("XPM_SetSource").empty());
}

TEST_F(InputListTest, RightOnAnHdmiInputReadsItsDevicesAndNameUpdatesReload) {
  // The list reads the device table as it opens.
  ClearCallLog();
  ExternalInputList* l = OpenInputs();
  EXPECT_FALSE(Calls("XPM_HdmiCec_GetDevInfo").empty());
  auto* hdmi1 = Row<InputItem>(l, 4);
  ASSERT_EQ(hdmi1->SourceId, sim::kSourceHdmi1);
  EXPECT_TRUE(hdmi1->HasCecDevice);
  EXPECT_EQ(hdmi1->OnGetLabelText().ToUtf8(), "Blu-ray Player");
  EXPECT_FALSE(Row<InputItem>(l, 3)->HasCecDevice);

  // Right on an input without devices does nothing.
  l->OnSetFocus(Rows(l)[3]);
  ClearCallLog();
  Press("right");
  EXPECT_TRUE(Calls("XPM_HdmiCec_GetDevInfo").empty());
  // On HDMI1 Right reads the table no more: it was read as the list opened.
  l->OnSetFocus(hdmi1);
  Press("right");
  Press("right");
  EXPECT_TRUE(Calls("XPM_HdmiCec_GetDevInfo").empty());

  Tv().Net().SetCecDevices({{sim::kSourceHdmi1, 4, "Disc Player", true}, {sim::kSourceHdmi2, 8, "Game Console", true}});
  auto* renamed = kv::New<Events::CEC_EVENT_NAME_UPDATED>();
  renamed->Address = 4;
  Dispatch(renamed);
  EXPECT_EQ(Row<InputItem>(l, 4)->OnGetLabelText().ToUtf8(), "Disc Player");
}

TEST_F(InputListTest, TheCecListAddressesTheChosenDeviceAndStopsAtItsEnds) {
  auto* exits = kv::New<Probe>();
  kv::Persistent<Probe> keep(exits);
  auto* l = kv::New<ListForm::CecInputList>();
  l->OnExit = kv::MakeSlot(exits, &Probe::Hit);
  Open(l, {100, 60, 350, 228}, 2, sim::kSourceHdmi1);
  ASSERT_EQ(Rows(l).size(), 2u);
  EXPECT_EQ(Text(Rows(l)[0]), "1. Blu-ray Player");
  EXPECT_EQ(Text(Rows(l)[1]), "2. AV Receiver");
  EXPECT_EQ(l->Bounds().H(), 168 - 4 * 28);
  Press("down");
  Press("down");  // no wrap-around: the focus stays on the last device
  EXPECT_EQ(l->GetFocusedRow(), Rows(l)[1]);
  Press("left");
  EXPECT_EQ(exits->hits, 1);
  // OK addresses the device and switches to its input (live TV then closes
  // the overlays over the new source, this test's host among them).
  ClearCallLog();
  Press("ok");
  ASSERT_EQ(Calls("XPM_HdmiCecSetAddr").size(), 1u);
  EXPECT_NE(Calls("XPM_HdmiCecSetAddr")[0].find("5"), std::string::npos);
  ASSERT_EQ(Calls("XPM_SetSource").size(), 1u);
}

// --- Input labels ------------------------------------------------------------------

TEST_F(InputListTest, LabelsCycleAndAreStoredAtOnceAndRedSkipsTheInput) {
  auto* l = Open(kv::New<ListForm::InputLabelingList>(), {100, 60, 460, 300});
  ASSERT_EQ(Rows(l).size(), 8u);
  Press("down", 2);  // the AV input
  auto* row = kv::Cast<InputLabelingItem>(l->GetFocusedRow());
  ASSERT_EQ(row->SourceId, sim::kSourceAv);
  EXPECT_EQ(row->LabelOptionIndex, 0);
  Press("right");
  EXPECT_EQ(W()->GetSourceLabel(sim::kSourceAv).ToUtf8(), "Blu-ray");
  Press("left", 2);  // back through no label to the last fixed choice
  EXPECT_EQ(row->LabelOptionIndex, 8);
  EXPECT_EQ(W()->GetSourceLabel(sim::kSourceAv).ToUtf8(), "VCR");

  Press("red");
  EXPECT_TRUE(row->IsSkip);
  EXPECT_TRUE(W()->GetSourceDisable(sim::kSourceAv));
  CloseHost();
  ExternalInputList* inputs = OpenInputs();
  EXPECT_TRUE(Row<InputItem>(inputs, 2)->OnGetIsDisabled());
  EXPECT_FALSE(Row<InputItem>(inputs, 3)->OnGetIsDisabled());
}

TEST_F(InputListTest, AConfirmedTextBecomesTheCustomLabelAndAnEmptyOneClearsIt) {
  auto* l = Open(kv::New<ListForm::InputLabelingList>(), {100, 60, 460, 300});
  Press("down", 2);
  auto* row = kv::Cast<InputLabelingItem>(l->GetFocusedRow());
  ASSERT_EQ(row->SourceId, sim::kSourceAv);
  Press("green");  // the key pad comes with its dialog; nothing else happens
  KeyPadAnswers("My Box");
  EXPECT_EQ(row->LabelCount, 10);
  EXPECT_EQ(row->LabelOptionIndex, 9);
  EXPECT_EQ(W()->GetSourceLabel(sim::kSourceAv).ToUtf8(), "My Box");
  EXPECT_EQ(W()->GetSourceCustomLabel(sim::kSourceAv).ToUtf8(), "My Box");
  Press("right");  // past the custom choice to no label
  EXPECT_EQ(row->LabelOptionIndex, 0);
  EXPECT_TRUE(W()->GetSourceLabel(sim::kSourceAv).Empty());
  Press("left");
  EXPECT_EQ(W()->GetSourceLabel(sim::kSourceAv).ToUtf8(), "My Box");

  // A cancelled entry changes nothing.
  KeyPadAnswers(nullptr);
  EXPECT_EQ(W()->GetSourceCustomLabel(sim::kSourceAv).ToUtf8(), "My Box");
  // An empty text is no label at all, and no custom choice.
  KeyPadAnswers("");
  EXPECT_EQ(row->LabelCount, 9);
  EXPECT_EQ(row->LabelOptionIndex, 0);
  EXPECT_TRUE(W()->GetSourceLabel(sim::kSourceAv).Empty());
  EXPECT_TRUE(W()->GetSourceCustomLabel(sim::kSourceAv).Empty());

  // Reopened, a stored label finds its choice by its text.
  W()->SetSourceLabel(sim::kSourceAv, kv::String::FromUtf8("Game"));
  CloseHost();
  l = Open(kv::New<ListForm::InputLabelingList>(), {100, 60, 460, 300});
  EXPECT_EQ(Row<InputLabelingItem>(l, 2)->LabelOptionIndex, 4);
}

TEST_F(InputListTest, EachInputListReturnsToTheCensusBaseline) {
  auto cycle = [&](int kind) {
    if (kind == 0) OpenInputs();
    if (kind == 1) Open(kv::New<ListForm::CecInputList>(), {100, 60, 350, 228}, 2, sim::kSourceHdmi1);
    if (kind == 2) Open(kv::New<ListForm::InputLabelingList>(), {100, 60, 460, 300});
    Press("down");
    CloseHost();
  };
  ExpectCensusBaseline(3, cycle);
}

}  // namespace
}  // namespace listtest
