// The help bar as the viewer reads it: each key icon stands beside its own
// label (the texts are split at commas, the separator of every string
// file), and every label's text stands at y 4 of its button, so that the
// labels of one bar and of every bar stand on one line.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "menusystem_support.h"
#include "units/MenuSystem/PictureSoundPages.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/Network/NetworkPages.h"
#include "units/NonMenuSystem/HelpBar.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Views/Text.h"

namespace {

// The text view of a help button, which the button keeps to itself.
struct LabelAccess : NonMenuSystem::HelpButton {
  static Views::Text& Of(NonMenuSystem::HelpButton& b) {
    Views::Text& (::Button::ButtonClass::*view)() = &LabelAccess::TextView;
    return (b.*view)();
  }
};
Views::Text& LabelOf(NonMenuSystem::HelpButton& b) { return LabelAccess::Of(b); }

class HelpBarLabelsTest : public menutest::MenuTest {
 protected:
  struct Label {
    std::string text;
    bool icon = false;
    kv::Rect button;  // on screen
    kv::Rect box;     // the text's box, on screen
    int32_t inkTop = -1;  // the first row of the label's first letter that shows ink
  };

  // The labels of the help bar on screen now, left to right.
  std::vector<Label> Labels() {
    std::vector<Label> out;
    auto* bar = Open<NonMenuSystem::HelpBar>();
    if (!bar || !bar->IsOpen()) return out;
    const ge::Surface& osd = Osd();
    for (int32_t i = 0; i < bar->GetChildCount(); ++i) {
      auto* button = kv::Cast<NonMenuSystem::HelpButton>(bar->GetChild(i));
      if (!button) continue;
      Label l;
      l.text = button->OnGetText().ToUtf8();
      l.icon = button->OnGetIcon() != nullptr;
      l.button = button->GetAbsoluteBounds();
      l.box = LabelOf(*button).Bounds().Move({l.button.x1, l.button.y1});
      // The first letter: white ink on the dark bar.
      for (int32_t y = l.button.y1; y < l.button.y2 && l.inkTop < 0; ++y)
        for (int32_t x = l.box.x1; x < l.box.x1 + 6 && x < l.box.x2; ++x) {
          const uint32_t p = osd.Row(y)[x];
          if ((p & 0xFF) > 160 && ((p >> 8) & 0xFF) > 160 && ((p >> 16) & 0xFF) > 160) {
            l.inkTop = y;
            break;
          }
        }
      out.push_back(l);
    }
    return out;
  }

  // Every icon has a label of its own; every label's box starts at y 4 of
  // its button and runs to its bottom; the letters of all labels start on
  // one row. Returns that row.
  int32_t ExpectPairedAndLevel(const std::string& screen) {
    SCOPED_TRACE(screen);
    const std::vector<Label> labels = Labels();
    EXPECT_GE(labels.size(), 2u) << "no help bar of several keys";
    std::set<int32_t> tops;
    for (const Label& l : labels) {
      SCOPED_TRACE(l.text);
      EXPECT_TRUE(l.icon);
      EXPECT_FALSE(l.text.empty()) << "an icon without its label";
      EXPECT_EQ(l.text.find('|'), std::string::npos) << "labels of several keys on one button";
      EXPECT_EQ(l.box.y1 - l.button.y1, 4);
      EXPECT_EQ(l.box.y2, l.button.y2);
      EXPECT_GE(l.inkTop, 0) << "the label is not drawn";
      tops.insert(l.inkTop);
    }
    EXPECT_EQ(tops.size(), 1u) << "the labels stand at different heights";
    return tops.empty() ? -1 : *tops.begin();
  }

  template <class T>
  void OpenByState(int32_t value) {
    auto* ref = SkinBin::UserRefInt::Make(value, Constants::MSG_FROM_MENUSYSTEM);
    Nms()->Open(&T::StaticClass(), ref);
    Run(500);
  }
};

// The picture page (Enter, Back), the network set-up page and the wireless
// wizard's set-up page: the labels of each bar stand on one row, the same
// row on every bar.
TEST_F(HelpBarLabelsTest, EachIconHasItsLabelAndAllLabelsStandOnOneLine) {
  std::set<int32_t> rows;
  ASSERT_NE(OpenPage<MenuSystem::PictureMenu>(), nullptr);
  Run(500);
  rows.insert(ExpectPairedAndLevel("picture page"));
  Press("exit");
  Run(500);
  ASSERT_NE(OpenPage<MenuSystem::NetworkSetupMenu>(), nullptr);
  Run(500);
  rows.insert(ExpectPairedAndLevel("network set-up page"));
  Press("exit");
  Run(500);
  OpenByState<Network::WirelessSetupMenu>(1);
  rows.insert(ExpectPairedAndLevel("wireless set-up page"));
  EXPECT_EQ(rows.size(), 1u) << "the labels of different bars stand at different heights";
  // The keys still act on the page under the bar: the focus moves.
  const Core::View* before = Focused();
  Press("down");
  Run(300);
  EXPECT_NE(Focused(), before);
}

}  // namespace
