// Forms: the ordered control walks, focus moves by order and by geometry on a
// grid of controls (with disabled and hidden ones, and views that are not
// controls), and focus hand-over when the focused control goes away.
#include <gtest/gtest.h>

#include "core_test_support.h"
#include "units/Forms/ImageIndicator.h"
#include "units/Views/Text.h"

namespace coretest {
namespace {

class FormsTest : public ViewTest {
 protected:
  // A 3 x 3 grid of 100 x 40 controls, 20 pixels apart, named by row and
  // column ("00" .. "22"), with a plain view and an indicator among them.
  void SetUp() override {
    ViewTest::SetUp();
    form = NewForm(root, "form", {100, 100, 500, 300});
    form->navigate = true;
    root->OnSetFocus(form);
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) {
        const std::string name = std::to_string(r) + std::to_string(c);
        grid[r][c] = NewCtrl(form, name.c_str(), {c * 120, r * 60, c * 120 + 100, r * 60 + 40});
        grid[r][c]->OnSetTag(r * 3 + c);
      }
      if (r == 0) {
        auto* decoration = kv::New<FillView>();
        decoration->OnSetBounds({0, 0, 400, 200});
        form->Add(decoration);
        form->Add(kv::New<Forms::ImageIndicator>());
      }
    }
  }
  // The tag of the form's focused control, -1 for none.
  int32_t FocusedTag() {
    auto* c = kv::Cast<Forms::Ctrl>(form->OnGetFocus());
    return c ? c->OnGetTag() : -1;
  }

  KeyForm* form = nullptr;
  KeyCtrl* grid[3][3] = {};
};

TEST_F(FormsTest, WalksSkipViewsThatAreNotControlsAndControlsThatCannotBeFocused) {
  EXPECT_EQ(form->GetCount(), 9);
  EXPECT_EQ(form->GetCtrlAt(0), grid[0][0]);
  EXPECT_EQ(form->GetCtrlAt(3), grid[1][0]);  // the two views between are not counted
  EXPECT_EQ(form->GetCtrlAt(8), grid[2][2]);
  EXPECT_EQ(form->GetCtrlAt(9), nullptr);
  EXPECT_EQ(form->GetCtrlAt(-1), nullptr);
  EXPECT_EQ(form->GetIndexOf(grid[1][0]), 3);
  EXPECT_EQ(form->GetIndexOf(nullptr), -1);
  KeyCtrl* stranger = NewCtrl(root, "stranger", {0, 0, 1, 1});
  EXPECT_EQ(form->GetIndexOf(stranger), -1);

  grid[0][0]->OnSetEnabled(false);
  grid[0][2]->OnSetVisible(false);
  EXPECT_EQ(form->GetFirstCtrl(), grid[0][1]);
  EXPECT_EQ(form->GetNextCtrl(grid[0][1]), grid[1][0]);
  EXPECT_EQ(form->GetPrevCtrl(grid[1][0]), grid[0][1]);
  EXPECT_EQ(form->GetPrevCtrl(grid[0][1]), nullptr);
  EXPECT_EQ(form->GetLastCtrl(), grid[2][2]);
  EXPECT_EQ(form->GetNextCtrl(grid[2][2]), nullptr);
  // Indexing still counts them.
  EXPECT_EQ(form->GetCount(), 9);
  EXPECT_EQ(form->GetIndexOf(grid[0][2]), 2);

  EXPECT_PANIC(form->GetNextCtrl(stranger), "The control does not belong to the form");
  EXPECT_PANIC(form->GetPrevCtrl(stranger), "The control does not belong to the form");
  EXPECT_PANIC(form->GetUpperCtrl(stranger), "The control does not belong to the form");
}

TEST_F(FormsTest, SelectNextAndPrevFollowChildOrderAndStopAtTheEnds) {
  grid[0][1]->OnSetEnabled(false);
  // No focus: OK (SelectNext) takes the first control.
  Press(1);
  EXPECT_EQ(FocusedTag(), 0);
  Press(1);
  EXPECT_EQ(FocusedTag(), 2);  // 01 is disabled
  EXPECT_EQ(form->SelectLast(), grid[2][2]);
  EXPECT_EQ(form->SelectNext(), nullptr);
  EXPECT_EQ(FocusedTag(), 8);
  EXPECT_EQ(form->SelectPrev(), grid[2][1]);
  EXPECT_EQ(form->SelectFirst(), grid[0][0]);
  EXPECT_EQ(form->SelectPrev(), nullptr);
  EXPECT_EQ(FocusedTag(), 0);
  form->OnSetFocus(nullptr);
  EXPECT_EQ(form->SelectPrev(), grid[2][2]);
  EXPECT_EQ(grid[2][2]->gained, 2);
  EXPECT_EQ(grid[0][0]->lost, 2);
}

TEST_F(FormsTest, ArrowKeysMoveByGeometryOverDisabledAndHiddenControls) {
  form->OnSetFocus(grid[1][1]);
  Press(4);
  EXPECT_EQ(FocusedTag(), 1);
  Press(4);  // nothing above: the focus stays
  EXPECT_EQ(FocusedTag(), 1);

  form->OnSetFocus(grid[1][0]);
  Press(7);
  EXPECT_EQ(FocusedTag(), 4);
  Press(6);
  EXPECT_EQ(FocusedTag(), 3);
  // With 11 disabled, 01 and 21 face 10 as near and their centres are as
  // far: child order picks 01.
  grid[1][1]->OnSetEnabled(false);
  Press(7);
  EXPECT_EQ(FocusedTag(), 1);
  form->OnSetFocus(grid[1][0]);
  grid[0][1]->OnSetVisible(false);
  Press(7);
  EXPECT_EQ(FocusedTag(), 7);
  Press(5);  // nothing below
  EXPECT_EQ(FocusedTag(), 7);
  // Up from 21: 11 disabled, 01 hidden; 10 and 12 tie, child order picks 10.
  Press(4);
  EXPECT_EQ(FocusedTag(), 3);
  form->OnSetFocus(grid[2][0]);
  EXPECT_EQ(form->SelectLeft(), nullptr);
  EXPECT_EQ(FocusedTag(), 6);
  form->OnSetFocus(nullptr);
  EXPECT_EQ(form->SelectRight(), nullptr);
}

TEST_F(FormsTest, GeometryPrefersTheNearestFacingEdgeThenTheNearestCentre) {
  KeyForm* f = NewForm(root, "f", {0, 0, 960, 540});
  KeyCtrl* src = NewCtrl(f, "src", {100, 100, 200, 140});
  // Below: "far" is right under the source but further down; "near" is
  // closer to the edge though off to the side; only "partly" overlaps the
  // source's bottom edge, so it is not wholly below.
  KeyCtrl* far = NewCtrl(f, "far", {100, 200, 200, 240});
  KeyCtrl* near = NewCtrl(f, "near", {400, 160, 500, 200});
  KeyCtrl* partly = NewCtrl(f, "partly", {100, 130, 200, 150});
  EXPECT_EQ(f->GetLowerCtrl(src), near);
  // At the same distance the centre across decides.
  KeyCtrl* centred = NewCtrl(f, "centred", {110, 160, 190, 180});
  EXPECT_EQ(f->GetLowerCtrl(src), centred);
  centred->OnSetEnabled(false);
  near->OnSetVisible(false);
  EXPECT_EQ(f->GetLowerCtrl(src), far);
  EXPECT_EQ(f->GetUpperCtrl(far), partly);  // its bottom edge is nearer than the source's
  EXPECT_EQ(f->GetRightCtrl(src), nullptr);
  EXPECT_EQ(f->GetLeftCtrl(src), nullptr);
}

TEST_F(FormsTest, TheFocusMovesOnWhenTheFocusedControlIsDisabledHiddenOrRemoved) {
  form->OnSetFocus(grid[2][1]);
  grid[2][1]->OnSetEnabled(false);
  EXPECT_EQ(FocusedTag(), 8);  // the next
  grid[2][2]->OnSetVisible(false);
  EXPECT_EQ(FocusedTag(), 6);  // no next: the previous that can take it
  form->Remove(grid[2][0]);
  EXPECT_EQ(FocusedTag(), 5);
  EXPECT_EQ(grid[2][0]->lost, 1);

  // A hidden or disabled control is refused and the focus stays.
  form->OnSetFocus(grid[2][1]);
  form->OnSetFocus(grid[2][2]);
  EXPECT_EQ(FocusedTag(), 5);
  grid[2][1]->OnSetEnabled(true);
  form->OnSetFocus(grid[2][1]);
  EXPECT_EQ(FocusedTag(), 7);

  // Nothing left to take it: the focus becomes empty.
  KeyForm* lone = NewForm(root, "lone", {0, 0, 10, 10});
  KeyCtrl* only = NewCtrl(lone, "only", {0, 0, 10, 10});
  lone->OnSetFocus(only);
  only->OnSetEnabled(false);
  EXPECT_EQ(lone->OnGetFocus(), nullptr);
}

// A label between two controls never takes the focus over: the hand-off
// skips it to the next control, and keys keep reaching a control.
TEST_F(FormsTest, TheFocusSkipsALabelBetweenTwoControls) {
  KeyForm* row = NewForm(root, "row", {0, 0, 300, 40});
  root->OnSetFocus(row);
  KeyCtrl* a = NewCtrl(row, "a", {0, 0, 100, 40});
  auto* label = kv::New<Views::Text>();
  label->OnSetBounds({100, 0, 200, 40});
  row->Add(label);
  KeyCtrl* b = NewCtrl(row, "b", {200, 0, 300, 40});
  a->eats = b->eats = 9;

  row->OnSetFocus(a);
  a->OnSetEnabled(false);
  EXPECT_EQ(row->OnGetFocus(), b);
  Log().clear();
  EXPECT_EQ(Press(9), b);

  a->OnSetEnabled(true);
  row->OnSetFocus(a);
  a->OnSetVisible(false);
  EXPECT_EQ(row->OnGetFocus(), b);

  a->OnSetVisible(true);
  row->Remove(b);  // no next control: back over the label to a
  EXPECT_EQ(row->OnGetFocus(), a);
  EXPECT_EQ(Press(9), a);

  // Only the label left: the focus becomes empty.
  a->OnSetEnabled(false);
  EXPECT_EQ(row->OnGetFocus(), nullptr);
}

TEST_F(FormsTest, ModalFormsNeedToBeOnScreen) {
  auto* offscreen = kv::New<KeyForm>();
  offscreen->BeginModal();
  EXPECT_FALSE(offscreen->IsModal());
  form->BeginModal();
  EXPECT_TRUE(form->IsModal());
  EXPECT_EQ(root->GetModalGroup(), form);
  form->EndModal();
  EXPECT_FALSE(form->IsModal());
  EXPECT_EQ(root->GetModalGroup(), nullptr);
}

}  // namespace
}  // namespace coretest
