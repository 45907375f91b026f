// A bar or dialog that opens over another screen hides that screen's texts:
// along each row of the panel that passes over a text beneath, the panel's
// pixels over the text equal those over the plain background beside it (a
// panel body is uniform along a row), so nothing of the text can be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "ge/surface.h"
#include "parentallocks_support.h"
#include "platform/sim/sim_guide.h"
#include "platform/sim/sim_tv_state.h"
#include "record_support.h"
#include "strings/SkinBinWrapper.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/Core/Group.h"
#include "units/ParentalLocks/PinPrompts.h"
#include "units/Views/Frame.h"
#include "units/Views/Rectangle.h"

namespace {

// A copy of the on-screen display.
struct Picture {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;
  explicit Picture(const ge::Surface& s) : width(s.width), height(s.height) {
    pixels.reserve(size_t(s.width) * size_t(s.height));
    for (int32_t y = 0; y < s.height; ++y) pixels.insert(pixels.end(), s.Row(y), s.Row(y) + s.width);
  }
  uint32_t At(int32_t x, int32_t y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

int ChannelDistance(uint32_t a, uint32_t b) {
  int d = 0;
  for (int shift = 0; shift < 32; shift += 8)
    d = std::max(d, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return d;
}

// Where the panel draws something of its own (texts, icons, buttons): every
// descendant but its frames and plain colour fills.
void OwnContent(Core::View* view, std::vector<kv::Rect>* out) {
  auto* group = kv::Cast<Core::Group>(view);
  if (!group) return;
  for (int32_t i = 0; i < group->GetChildCount(); ++i) {
    Core::View* child = group->GetChild(i);
    if (!child || !child->IsVisible()) continue;
    if (kv::Cast<Views::Frame>(child) || kv::Cast<Views::Rectangle>(child)) continue;
    if (kv::Cast<Core::Group>(child)) OwnContent(child, out);
    else out->push_back(child->GetAbsoluteBounds());
  }
}

// Pixel distance between a text and the plain background beneath that counts
// as text; and the most the panel may differ over the two.
constexpr int kTextContrast = 60;
constexpr int kTolerance = 2;

struct SeeThrough {
  int textRows = 0;   // rows of the panel over a text beneath
  int worst = 0;      // the largest difference over text and plain beneath
  std::string where;  // where it is
};

// `beneath` is the screen before the panel opened, `over` with the panel
// open at `panel`; the panel's own content is left out.
SeeThrough Measure(const Picture& beneath, const Picture& over, kv::Rect panel, const std::vector<kv::Rect>& own) {
  SeeThrough r;
  // The rim and the rounded corners stay out: they are not the body.
  const int32_t x1 = panel.x1 + 16, x2 = panel.x2 - 16;
  for (int32_t y = panel.y1 + 4; y < panel.y2 - 4; ++y) {
    std::vector<int32_t> xs;
    for (int32_t x = x1; x < x2; ++x)
      if (std::none_of(own.begin(), own.end(), [&](const kv::Rect& o) { return o.Contains(kv::Point{x, y}); })) xs.push_back(x);
    if (xs.size() < 8) continue;
    // The background beneath: the most common pixel of the row.
    std::map<uint32_t, int> counts;
    for (int32_t x : xs) ++counts[beneath.At(x, y)];
    const uint32_t plain = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                             return a.second < b.second;
                           })->first;
    std::vector<int32_t> plainX, textX;
    for (int32_t x : xs) {
      if (beneath.At(x, y) == plain) plainX.push_back(x);
      if (ChannelDistance(beneath.At(x, y), plain) > kTextContrast) textX.push_back(x);
    }
    if (plainX.empty() || textX.empty()) continue;
    // A row where the panel itself is not uniform over the plain background
    // (a divider fading at its ends, a drawn line) shows the panel's own
    // content there: it says nothing of what shows through.
    if (std::any_of(plainX.begin(), plainX.end(),
                    [&](int32_t x) { return ChannelDistance(over.At(x, y), over.At(plainX[0], y)) > kTolerance; }))
      continue;
    ++r.textRows;
    for (int32_t x : textX) {
      const int d = ChannelDistance(over.At(x, y), over.At(plainX[0], y));
      if (d > r.worst) {
        r.worst = d;
        r.where = "(" + std::to_string(x) + ", " + std::to_string(y) + ") against (" + std::to_string(plainX[0]) +
                  ", " + std::to_string(y) + ")";
      }
    }
  }
  return r;
}

// --- The PIN prompt's wrong-PIN bar ----------------------------------------------------------

class PinBarOpacityTest : public parentallockstest::ParentalLocksTest {};

TEST_F(PinBarOpacityTest, TheWrongPinBarHidesThePromptBeneath) {
  Store()->PutString(SkinBinWrapper::KEY_PIN, kv::String::FromUtf8("1234"));
  W()->SetParentalLocksState(2);
  PutTV("..................");
  kv::Persistent<ParentalLocks::USTVRatingsDialog> d = OpenFromMenu<ParentalLocks::USTVRatingsDialog>();
  ASSERT_NE(d, nullptr);
  FocusBox(d, 9);  // blocks TV-14
  Press("ok");
  Press("exit");
  Settle();
  // A channel whose programme on now is TV-14: the PIN prompt.
  int32_t major = 0, minor = 0;
  const int64_t now = Tv().Tv().NetworkTime();
  for (const sim::Channel& c : Tv().Tv().Ring(0, 0)) {
    sim::GuideEvent e;
    if (c.digital && sim::GuideEventAt(c.major, c.minor, now, &e) && e.rating == 2) {
      major = c.major;
      minor = c.minor;
      break;
    }
  }
  ASSERT_NE(major, 0) << "no TV-14 programme on now";
  Tune(major, minor);
  kv::Persistent<ParentalLocks::ChannelLockEnterPin> p = Open<ParentalLocks::ChannelLockEnterPin>();
  ASSERT_NE(p, nullptr);
  Press("1");  // a digit in the boxes, as the viewer has typed before the wrong PIN
  Run(100);
  Type("999");
  ASSERT_EQ(BarType(), 2);
  const kv::Rect bar = Bar()->GetAbsoluteBounds();
  Bar()->Close();
  Run(100);
  Press("1");
  Run(100);
  const Picture beneath(Osd());
  Type("999");
  ASSERT_EQ(BarType(), 2);
  Run(100);
  ASSERT_EQ(Bar()->GetAbsoluteBounds(), bar);
  std::vector<kv::Rect> own;
  OwnContent(Bar(), &own);
  const SeeThrough r = Measure(beneath, Picture(Osd()), bar, own);
  ASSERT_GT(r.textRows, 0) << "no row of the bar lies over a text of the prompt";
  EXPECT_LE(r.worst, kTolerance) << "the prompt's text shows through the bar at " << r.where;
}

// --- The timer editor over the guide ---------------------------------------------------------

class EditorOverGuideOpacityTest : public recordtest::RecordTest {};

TEST_F(EditorOverGuideOpacityTest, TheTimerEditorHidesTheGuideBeneath) {
  Press("guide");
  Run(1000);
  ASSERT_NE(Open<Channels::FullEPGDialog>(), nullptr);
  Press("right");
  Press("down", 2);
  Run(500);
  const Picture beneath(Osd());
  Press("ok");
  Settle();
  Run(500);
  Record::RecordTimerDialog* e = Editor();
  ASSERT_NE(e, nullptr);
  std::vector<kv::Rect> own;
  OwnContent(e, &own);
  const SeeThrough r = Measure(beneath, Picture(Osd()), e->GetAbsoluteBounds(), own);
  ASSERT_GT(r.textRows, 0) << "no row of the editor lies over a text of the guide";
  EXPECT_LE(r.worst, kTolerance) << "the guide's text shows through the editor at " << r.where;
}

}  // namespace
