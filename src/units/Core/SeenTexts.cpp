#include "units/Core/SeenTexts.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "runtime/trace.h"
#include "units/Core/Group.h"
#include "units/Core/Root.h"

namespace Core {

namespace {

// Glyphs such as "T" or "V" reach a pixel or two past their pen position
// with faint edges; that much past the visible rectangle loses nothing a
// viewer reads.
constexpr int32_t kCutSlack = 2;

std::string RectText(const kv::Rect& r) {
  return "(" + std::to_string(r.x1) + "," + std::to_string(r.y1) + ")-(" + std::to_string(r.x2) + "," +
         std::to_string(r.y2) + ")";
}

}  // namespace

bool SeenText::Cut() const {
  return !scrolls && !ink.IsEmpty() && !visible.Inflate(kCutSlack, kCutSlack).Contains(ink);
}

bool SeenText::Readable() const { return cover == Cover::kNone && !Cut() && !ink.Intersect(visible).IsEmpty(); }

std::string SeenText::Describe() const {
  return where + ": \"" + text + "\" glyphs " + RectText(ink) + " visible " + RectText(visible);
}

#ifdef KV_VERIFY
namespace {

// A pixel that changes by more than this in some channel when a text is
// drawn, or left out, is one the viewer can tell apart. A panel that lets
// a text beneath show through by a few percent hides it.
constexpr uint32_t kSeenDifference = 24;
// A text's glyph pixels are those its draw changed by more than this: the
// cores of its strokes, not their faint edges, which a greying veil over a
// disabled control may hide without making the text any less readable.
constexpr uint32_t kGlyphDifference = 48;
// The share of a text's glyph pixels that may be hidden (under a focus
// frame, a crossing glyph) before it counts as partly hidden, and the share
// beyond which it counts as wholly hidden.
constexpr double kHiddenLittle = 0.1;
constexpr double kHiddenMost = 0.9;

bool Differs(uint32_t a, uint32_t b, uint32_t by = kSeenDifference) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (static_cast<uint32_t>(std::abs(d)) > by) return true;
  }
  return false;
}

struct Recorded {
  const View* view = nullptr;
  std::string text, viewClass, where, screen;
  kv::Rect box, clip, ink;  // screen coordinates
  bool scrolls = false;
  kv::Rect maskArea;           // screen coordinates
  std::vector<uint8_t> mask;   // 1 where the draw changed the pixel visibly
};

struct WatchState {
  bool hasArea = false;
  kv::Rect area;      // the part a redraw under way paints, screen coordinates
  kv::Point shift;    // target coordinates plus this are screen coordinates
  std::set<std::string> cutSeen;  // reported since the last take
  std::vector<std::string> cutLines;
  bool recording = false;
  std::vector<Recorded> recorded;
  const View* skipView = nullptr;  // drawn without, to see what it hides
  kv::Rect skipBox;
  std::set<const View*> scrolling;  // marked by MarkScrollsInField
};

WatchState& State() {
  static WatchState s;
  return s;
}

// The view's class, then the object it is embedded in and the groups that
// hold it up to the root, innermost first.
std::string Where(const View* view) {
  std::string out = kv::ClassOf(view)->name;
  const char* sep = " in ";
  auto* self = const_cast<View*>(view);
  const View* v = view;
  if (self->IsEmbedded()) {
    kv::Object* host = self->Container();
    out += sep;
    out += kv::ClassOf(host)->name;
    sep = " < ";
    if (auto* hostView = kv::Cast<View>(host)) v = hostView;
  }
  for (const Group* g = v->Owner(); g && g->Owner(); g = g->Owner()) {
    out += sep;
    out += kv::ClassOf(g)->name;
    sep = " < ";
  }
  return out;
}

// The class of the outermost group below the root holding the view.
std::string ScreenOf(const View* view) {
  auto* self = const_cast<View*>(view);
  const View* v = view;
  if (self->IsEmbedded())
    if (auto* hostView = kv::Cast<View>(self->Container())) v = hostView;
  while (v->Owner() && v->Owner()->Owner()) v = v->Owner();
  return kv::ClassOf(v)->name;
}

void RecordCut(const View* view, const kv::String& text, const kv::Rect& ink, const kv::Rect& visible) {
  const std::string where = Where(view);
  const std::string utf8 = text.ToUtf8();
  WatchState& s = State();
  // Once per view class, place and text: an animation moves it every frame.
  if (!s.cutSeen.insert(where + "\n" + utf8).second) return;
  std::string line = where + ": \"" + utf8 + "\" glyphs " + RectText(ink) + " visible " + RectText(visible);
  kv::Log("Views::Text: error: text cut: " + line);
  s.cutLines.push_back(std::move(line));
}

}  // namespace

TextWatch::TextWatch(const View* view, const kv::String& text, const kv::Rect& box, const kv::Rect& ink,
                     const kv::Rect& clip, bool scrolls, const ge::Surface& target) {
  WatchState& s = State();
  const kv::Rect screenBox = box.Move(s.shift), screenInk = ink.Move(s.shift), screenClip = clip.Move(s.shift);
  if (s.skipView == view && s.skipBox == screenBox) {
    skip_ = true;
    return;
  }
  if (!scrolls && !screenInk.IsEmpty()) {
    // The glyphs the redraw paints must all lie in what the viewer sees.
    const kv::Rect painted = s.hasArea ? screenInk.Intersect(s.area) : screenInk;
    if (!painted.IsEmpty() && !screenClip.Inflate(kCutSlack, kCutSlack).Contains(painted))
      RecordCut(view, text, screenInk, screenClip);
  }
  if (!s.recording) return;
  Recorded r;
  r.view = view;
  r.text = text.ToUtf8();
  r.viewClass = kv::ClassOf(view)->name;
  r.where = Where(view);
  r.screen = ScreenOf(view);
  r.box = screenBox;
  r.clip = screenClip;
  r.ink = screenInk;
  r.scrolls = scrolls;
  area_ = clip.Intersect(ink).Intersect({0, 0, target.width, target.height});
  r.maskArea = area_.Move(s.shift);
  if (!area_.IsEmpty()) {
    target_ = &target;
    before_.reserve(static_cast<size_t>(area_.W()) * static_cast<size_t>(area_.H()));
    for (int32_t y = area_.y1; y < area_.y2; ++y)
      before_.insert(before_.end(), target.Row(y) + area_.x1, target.Row(y) + area_.x2);
  }
  record_ = static_cast<int64_t>(s.recorded.size());
  s.recorded.push_back(std::move(r));
}

TextWatch::~TextWatch() {
  if (record_ < 0 || !target_) return;
  Recorded& r = State().recorded[static_cast<size_t>(record_)];
  r.mask.assign(before_.size(), 0);
  size_t i = 0;
  for (int32_t y = area_.y1; y < area_.y2; ++y) {
    const uint32_t* row = target_->Row(y);
    for (int32_t x = area_.x1; x < area_.x2; ++x, ++i)
      r.mask[i] = Differs(row[x], before_[i], kGlyphDifference) ? 1 : 0;
  }
}

DrawArea::DrawArea(const kv::Rect& screenArea) : saved_(State().area), hadArea_(State().hasArea) {
  State().area = screenArea;
  State().hasArea = true;
}

DrawArea::~DrawArea() {
  State().area = saved_;
  State().hasArea = hadArea_;
}

DrawShift::DrawShift(kv::Point shift) : shift_(shift) { State().shift = State().shift + shift_; }
DrawShift::~DrawShift() { State().shift = State().shift - shift_; }

namespace {

// The share of a recorded text's glyph pixels that the finished picture
// does not show: it is drawn again without that text, and a glyph pixel
// shows where the two pictures differ. The mask keeps only the glyph pixels
// that show.
double HiddenShare(Root& root, const ge::Surface& whole, ge::Bitmap& without, Recorded& r) {
  const kv::Rect area = r.maskArea;
  size_t glyph = 0;
  for (uint8_t m : r.mask) glyph += m;
  if (glyph == 0 || area.IsEmpty()) return 1.0;
  const ge::Surface w = without.View();
  for (int32_t y = area.y1; y < area.y2; ++y) std::fill(w.Row(y) + area.x1, w.Row(y) + area.x2, 0u);
  WatchState& s = State();
  s.skipView = r.view;
  s.skipBox = r.box;
  {
    DrawArea a(area);
    root.Draw(w, area, {0, 0}, 255);
  }
  s.skipView = nullptr;
  size_t shown = 0, i = 0;
  for (int32_t y = area.y1; y < area.y2; ++y)
    for (int32_t x = area.x1; x < area.x2; ++x, ++i) {
      if (!r.mask[i]) continue;
      if (Differs(whole.Row(y)[x], w.Row(y)[x]))
        ++shown;
      else
        r.mask[i] = 0;
    }
  return 1.0 - static_cast<double>(shown) / static_cast<double>(glyph);
}

}  // namespace

std::vector<SeenText> LookAtTexts(Root& root) {
  const kv::Rect screen{0, 0, root.Bounds().W(), root.Bounds().H()};
  ge::Bitmap whole(screen.W(), screen.H());
  WatchState& s = State();
  s.recorded.clear();
  s.recording = true;
  if (root.IsVisible() && !screen.IsEmpty()) {
    DrawArea a(screen);
    root.Draw(whole.View(), screen, {0, 0}, 255);
  }
  s.recording = false;
  std::vector<Recorded> recorded = std::exchange(s.recorded, {});
  ge::Bitmap without(screen.W(), screen.H());
  std::vector<SeenText> out;
  out.reserve(recorded.size());
  for (Recorded& r : recorded) {
    SeenText t;
    t.view = r.view;
    t.text = std::move(r.text);
    t.viewClass = std::move(r.viewClass);
    t.where = std::move(r.where);
    t.screen = std::move(r.screen);
    t.box = r.box;
    t.visible = r.clip;
    t.ink = r.ink;
    t.scrolls = r.scrolls;
    const double hidden = HiddenShare(root, whole.View(), without, r);
    t.cover = hidden >= kHiddenMost ? Cover::kWholly : hidden > kHiddenLittle ? Cover::kPartly : Cover::kNone;
    t.maskArea_ = r.maskArea;
    t.mask_ = std::move(r.mask);
    out.push_back(std::move(t));
  }
  return out;
}

std::vector<std::string> TextFaults(const std::vector<SeenText>& texts) {
  std::vector<std::string> faults;
  for (const SeenText& t : texts) {
    if (t.cover == Cover::kWholly) continue;
    if (t.Cut()) faults.push_back("text cut: " + t.Describe());
    if (t.cover == Cover::kPartly) faults.push_back("text partly hidden: " + t.Describe());
  }
  // Glyph pixels of two texts that show on the same spot or side by side
  // there: each garbles the other. Where an opaque screen lies between
  // them, the lower one's pixels do not show and nothing is reported.
  for (size_t i = 0; i < texts.size(); ++i) {
    const SeenText& a = texts[i];
    if (a.cover == Cover::kWholly) continue;
    for (size_t j = i + 1; j < texts.size(); ++j) {
      const SeenText& b = texts[j];
      if (b.cover == Cover::kWholly || (a.view == b.view && a.box == b.box)) continue;
      const kv::Rect both = a.maskArea_.Intersect(b.maskArea_.Inflate(1, 1));
      if (both.IsEmpty()) continue;
      int shared = 0;
      for (int32_t y = both.y1; y < both.y2; ++y)
        for (int32_t x = both.x1; x < both.x2; ++x)
          if (a.MaskAt(x, y) && (b.MaskAt(x, y) || b.MaskAt(x - 1, y) || b.MaskAt(x + 1, y) ||
                                 b.MaskAt(x, y - 1) || b.MaskAt(x, y + 1)))
            ++shared;
      if (shared >= 3) faults.push_back("texts overlap: " + a.Describe() + " and " + b.Describe());
    }
  }
  return faults;
}

std::vector<std::string> TakeCutTexts() {
  State().cutSeen.clear();
  return std::exchange(State().cutLines, {});
}

void MarkScrollsInField(const View* view, bool on) {
  if (on)
    State().scrolling.insert(view);
  else
    State().scrolling.erase(view);
}

bool ScrollsInField(const View* view) { return State().scrolling.count(view) != 0; }

#else

std::vector<SeenText> LookAtTexts(Root&) { return {}; }
std::vector<std::string> TextFaults(const std::vector<SeenText>&) { return {}; }
std::vector<std::string> TakeCutTexts() { return {}; }
void MarkScrollsInField(const View*, bool) {}
bool ScrollsInField(const View*) { return false; }

#endif

bool SeenText::MaskAt(int32_t x, int32_t y) const {
  if (!maskArea_.Contains(kv::Point{x, y})) return false;
  const size_t i = static_cast<size_t>(y - maskArea_.y1) * static_cast<size_t>(maskArea_.W()) +
                   static_cast<size_t>(x - maskArea_.x1);
  return i < mask_.size() && mask_[i] != 0;
}

}  // namespace Core
