#include "units/Core/SeenTexts.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <string>
#include <utility>
#include <vector>

#include "runtime/text.h"
#include "runtime/trace.h"
#include "units/Core/FocusPath.h"
#include "units/Core/Group.h"
#include "units/Core/Root.h"

namespace Core {

namespace {

// Glyphs such as "T" or "V" reach a pixel or two past their pen position
// with faint edges: a box that holds a text's glyphs but these holds them.
constexpr int32_t kFaintEdge = 2;

std::string RectText(const kv::Rect& r) {
  return "(" + std::to_string(r.x1) + "," + std::to_string(r.y1) + ")-(" + std::to_string(r.x2) + "," +
         std::to_string(r.y2) + ")";
}

}  // namespace

bool SeenText::Cut() const { return !scrolls && !cutLetters.empty(); }

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
// The share of a letter's glyph pixels that may be hidden (a focus frame's
// line crossing it) before the letter counts as hidden, and the share from
// which it counts as gone. A text is partly hidden when a letter of it is
// hidden, or when its letters together lose more than kTextHidden (a strip
// across the tops of every letter, each losing less than its own share),
// and not every letter is gone; wholly hidden when every letter is.
constexpr double kLetterHidden = 0.25;
constexpr double kTextHidden = 0.1;
constexpr double kLetterGone = 0.9;
// Two texts run together when glyph pixels of both show within this many
// pixels across (and one pixel up or down) at this many places.
constexpr int32_t kApartX = 3;
constexpr int32_t kApartY = 1;
constexpr int kCloseEnough = 3;
// Two texts side by side on one row with less than this between their
// glyphs read as one phrase ("Seguridad Señal" for two column headings): a
// word space of the fonts is 5 to 7 pixels.
constexpr int32_t kWordGap = 10;
// Two texts whose strokes differ by more than this in a colour channel are
// drawn in colours a viewer tells apart (a white name and its blue-grey
// label): side by side they do not read as one phrase.
constexpr uint32_t kOtherColour = 48;
// A box or image stands on a text's row when it is no taller than this (a
// panel behind a whole page is not beside a text) and covers at least half
// of the text's glyphs' height.
constexpr int32_t kRowBoxHeight = 64;
// A box up to this high may still be the face a text of several lines is
// written on (a notice grown to hold three lines), though it stands beside
// no text on a row; a panel behind a whole page is neither.
constexpr int32_t kFaceHeight = 192;
// A text runs into a box when this many of its glyph pixels that show lie
// on pixels the box drew, or beside them: up to kBesideX across (a name
// ending two pixels before a row's number reads as one with it) and a
// pixel up or down.
constexpr int kIntoBox = 3;
constexpr int32_t kBesideX = 2;
// A box that drew this share of the pixels of a text's glyphs' box or more
// is the face the text stands on.
constexpr double kFaceShare = 0.5;
// A face drawn under the glyphs' whole box, not only where the glyphs are.
constexpr double kFilledFace = 0.8;
// The empty pixels a caption keeps between its glyphs and the rim of its
// button's or row's face.
constexpr int32_t kRimMargin = 2;
// A row pads its text at both ends alike: a name shortened may stop as far
// from the row's right end as its box starts from the row's left end, up to
// this much (a list row's usual padding), and still have no room left.
constexpr int32_t kRowPadding = 8;

// A glyph pixel of `t` shows within kApartX across and kApartY up or down.
bool AnyNear(const SeenText& t, int32_t x, int32_t y) {
  for (int32_t dy = -kApartY; dy <= kApartY; ++dy)
    for (int32_t dx = -kApartX; dx <= kApartX; ++dx)
      if (t.MaskAt(x + dx, y + dy)) return true;
  return false;
}

bool Differs(uint32_t a, uint32_t b, uint32_t by = kSeenDifference) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (static_cast<uint32_t>(std::abs(d)) > by) return true;
  }
  return false;
}

struct Recorded {
  const View* view = nullptr;
  const View* form = nullptr;
  const void* holder = nullptr;
  std::string text, shown, viewClass, where, screen;
  kv::Rect box, clip, ink;  // screen coordinates
  bool scrolls = false, ours = false, address = false, shortened = false;
  std::string brokenWord, cutLetters;
  std::vector<kv::Rect> letters;  // screen coordinates
  int32_t nextLetter = 0, penEnd = 0;  // screen coordinates
  kv::Rect room;  // the box of the row, button or group that holds it, screen coordinates
  std::vector<const View*> drawnBy;  // the views whose draws drew it
  kv::Rect maskArea;           // screen coordinates
  std::vector<uint8_t> mask;   // 1 where the draw changed the pixel visibly
  int64_t order = 0;           // its place in the drawing order
  const View* apartOf = nullptr;  // the screen standing apart that holds it
  uint32_t stroke = 0;  // the colour of its strongest glyph pixel that shows
};

// What a view that is not a group drew, while a look records.
struct RecordedBox {
  const View* view = nullptr;
  const View* form = nullptr;
  std::string where, screen;
  kv::Rect area;              // screen coordinates
  std::vector<uint8_t> mask;  // 1 where its draw changed the pixel visibly
  int64_t order = 0;          // its place in the drawing order
  const View* apartOf = nullptr;  // the screen standing apart that holds it
  bool tall = false;          // higher than a row: only a face of a text of several lines
  bool MaskAt(int32_t x, int32_t y) const {
    if (!area.Contains(kv::Point{x, y})) return false;
    const size_t i = static_cast<size_t>(y - area.y1) * static_cast<size_t>(area.W()) + static_cast<size_t>(x - area.x1);
    return i < mask.size() && mask[i] != 0;
  }
};

struct WatchState {
  bool hasArea = false;
  kv::Rect area;      // the part a redraw under way paints, screen coordinates
  kv::Point shift;    // target coordinates plus this are screen coordinates
  std::set<std::string> cutSeen;  // reported since the last take
  std::vector<std::string> cutLines;
  bool recording = false;
  std::vector<Recorded> recorded;
  std::vector<RecordedBox> boxes;
  bool drewWhole = false;          // set by BoxWatch::DrewWholeArea
  const View* skipView = nullptr;  // drawn without, to see what it hides
  kv::Rect skipBox;
  std::set<const View*> scrolling;  // marked by MarkScrollsInField
  std::set<const View*> drifting;   // marked by MarkDrifts
  std::set<const View*> outside;    // marked by MarkNameFromOutside
  std::set<const View*> apart;      // marked by MarkStandsApart
  std::set<const View*> passing;    // marked by MarkPasses
  int64_t order = 0;                // the next text or box drawn while a look records
  std::vector<const View*> drawing;  // the watched views drawing now, outermost first
  ge::Bitmap whole, without;         // LookAtTexts' pictures, reused
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

bool IsLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c != 0x2026 && c != 0x2013 && c != 0x2014 && c != 0x2019);
}

// What may stand between entries of ours in a text made of them: spaces,
// punctuation and digits (a label, its colon and a number).
bool IsGlue(char16_t c) {
  if (c >= u'0' && c <= u'9') return true;
  static const std::u16string_view kGlue = u" \n\t:;,.-/()[]\"'!?+%#*=<>|\u00a0\u2026\u2013\u2014\u00ab\u00bb";
  return kGlue.find(c) != std::u16string_view::npos;
}

// Whether the text is one of our string tables' texts, in any language, or
// is made of them: whole words that are entries of two letters or more,
// with spaces, punctuation and digits between ("Aceptar" twice, "Red:" and a
// value, a prompt of two sentences). Names from outside rarely split into
// entries whole word by whole word; a lone letter never counts as an entry.
// One entry with only spaces and digits beside it ("Sports 11") is a name
// as likely as ours (a channel's), so a text made of entries needs two of
// them or punctuation between them and the rest.
std::vector<std::pair<size_t, size_t>> AddressSpans(std::u16string_view text);

bool IsOurs(const std::string& utf8) {
  static const std::unordered_set<std::u16string> texts = [] {
    std::unordered_set<std::u16string> out;
    for (const std::u16string& t : kv::AllTexts())
      if (!t.empty()) out.insert(t);
    return out;
  }();
  static std::unordered_map<std::string, bool> known;
  if (const auto it = known.find(utf8); it != known.end()) return it->second;
  const kv::String string = kv::String::FromUtf8(utf8);
  std::u16string text(string.View());
  bool ours = texts.count(text) != 0;
  // An address in it reads as a number, whatever its letters.
  for (const auto& [begin, end] : AddressSpans(text))
    for (size_t i = begin; i < end; ++i) text[i] = u'0';
  if (!ours && !text.empty()) {
    // reach[i]: text[0, i) is entries and glue; used[i]: how many entries
    // among them (counted up to two).
    const size_t n = text.size();
    std::vector<uint8_t> reach(n + 1, 0), used(n + 1, 0);
    reach[0] = 1;
    for (size_t i = 0; i < n; ++i) {
      if (!reach[i]) continue;
      if (IsGlue(text[i])) {
        reach[i + 1] = 1;
        used[i + 1] = std::max(used[i + 1], used[i]);
      }
      // An entry starts at a word's start and ends at a word's end.
      if (i > 0 && IsLetter(text[i - 1]) && IsLetter(text[i])) continue;
      // A word of hexadecimal digits with a digit in it (a part of an
      // address, "1C") is a number, not a name.
      size_t k = i;
      bool hexDigit = false;
      while (k < n && IsLetter(text[k]) && std::u16string_view(u"0123456789abcdefABCDEF").find(text[k]) != std::u16string_view::npos) {
        hexDigit = hexDigit || (text[k] >= u'0' && text[k] <= u'9');
        ++k;
      }
      if (hexDigit && (k == n || !IsLetter(text[k]))) {
        reach[k] = 1;
        used[k] = std::max(used[k], used[i]);
      }
      // An entry that is only glue (" 1", a suffix of ours) is no word.
      bool word = !IsGlue(text[i]);
      for (size_t j = i + 2; j <= n; ++j) {
        word = word || !IsGlue(text[j - 1]);
        if (j < n && IsLetter(text[j - 1]) && IsLetter(text[j])) continue;
        if (word && texts.count(text.substr(i, j - i)) != 0) {
          reach[j] = 1;
          used[j] = std::max<uint8_t>(used[j], std::min<uint8_t>(2, uint8_t(used[i] + 1)));
        }
      }
    }
    bool punctuated = false;
    for (char16_t c : text) punctuated = punctuated || (IsGlue(c) && c != u' ' && !(c >= u'0' && c <= u'9'));
    ours = reach[n] && (used[n] >= 2 || (used[n] == 1 && punctuated));
  }
  if (known.size() > 4096) known.clear();
  known.emplace(utf8, ours);
  return ours;
}

// The addresses in a text, as [begin, end) of its characters: words of
// hexadecimal digits joined by one separator, at least three of them ("DC:
// DD:DB:DC:DD:DB", "fe80::1c", "192.168.1.20", "00-1A-2B-3C-4D-5E"), with
// decimal digits only between dots and pairs only between dashes.
std::vector<std::pair<size_t, size_t>> AddressSpans(std::u16string_view text) {
  std::vector<std::pair<size_t, size_t>> out;
  auto hex = [](char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); };
  auto sep = [](char16_t c) { return c == u':' || c == u'.' || c == u'-'; };
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    // A token: letters, digits and separators, from a word's start.
    if ((i > 0 && IsLetter(text[i - 1])) || !(hex(text[i]) || text[i] == u':')) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < n && (IsLetter(text[end]) || sep(text[end]))) ++end;
    // The token without separators at its end (a sentence's full stop).
    size_t last = end;
    while (last > i && sep(text[last - 1]) && text[last - 1] != u':') --last;
    std::u16string_view token = text.substr(i, last - i);
    char16_t separator = 0;
    bool ok = !token.empty();
    int groups = 1, width = 0;
    bool decimal = true;
    size_t maxWidth = 0;
    for (char16_t c : token) {
      if (sep(c)) {
        if (separator != 0 && c != separator) ok = false;
        separator = c;
        ++groups;
        width = 0;
        continue;
      }
      if (!hex(c)) ok = false;
      decimal = decimal && c >= u'0' && c <= u'9';
      maxWidth = std::max<size_t>(maxWidth, static_cast<size_t>(++width));
    }
    if (separator == u'.' && !decimal) ok = false;
    if (separator == u'-' && maxWidth != 2) ok = false;
    if (ok && separator != 0 && groups >= 3 && maxWidth <= 4) out.emplace_back(i, last);
    i = end;
  }
  return out;
}

// An address (IP, MAC) or a number: digits, hexadecimal letters and the
// separators of addresses, with at least one digit, and letters only where
// the text reads as an address (a separator in it); or a text with an
// address in it.
bool IsAddress(const std::string& utf8) {
  if (!AddressSpans(kv::String::FromUtf8(utf8).View()).empty()) return true;
  bool digit = false, separator = false, letter = false;
  for (char c : utf8) {
    if (c >= '0' && c <= '9')
      digit = true;
    else if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))
      letter = true;
    else if (c == ':' || c == '.' || c == '-')
      separator = true;
    else if (c != ' ')
      return false;
  }
  // "AA:BB:CC:DD:EE:FF" has no digit and is an address all the same.
  return (digit || (letter && separator)) && (separator || !letter);
}

// The first word split across two lines of a layout with no hyphen: its
// start on one line, its rest on the next, as "start|rest".
std::string BrokenWord(const kv::String& text, const ge::TextLayout& layout) {
  const std::u16string_view all = text.View();
  const auto n = static_cast<int32_t>(all.size());
  for (size_t i = 0; i + 1 < layout.lines.size(); ++i) {
    const int32_t end = layout.lines[i].end, next = layout.lines[i + 1].begin;
    if (layout.lines[i].ellipsis || end <= 0 || end != next || next >= n) continue;
    if (!IsLetter(all[static_cast<size_t>(end - 1)]) || !IsLetter(all[static_cast<size_t>(next)])) continue;
    int32_t a = end, b = next;
    while (a > 0 && IsLetter(all[static_cast<size_t>(a - 1)])) --a;
    while (b < n && IsLetter(all[static_cast<size_t>(b)])) ++b;
    std::u16string word(all.substr(static_cast<size_t>(a), static_cast<size_t>(end - a)));
    word += u'|';
    word += all.substr(static_cast<size_t>(end), static_cast<size_t>(b - end));
    return kv::String::FromUtf16(word).ToUtf8();
  }
  return {};
}

// The lines of a text as the viewer reads them ("..." where one ends in an
// ellipsis), joined by '\n'.
std::string ShownText(const kv::String& text, const ge::TextLayout& layout, bool* shortened) {
  std::u16string out;
  const std::u16string_view all = text.View();
  *shortened = false;
  for (const ge::TextLine& line : layout.lines) {
    if (!out.empty()) out += u'\n';
    const auto begin = static_cast<size_t>(std::clamp<int32_t>(line.begin, 0, static_cast<int32_t>(all.size())));
    const auto end = static_cast<size_t>(std::clamp<int32_t>(line.end, 0, static_cast<int32_t>(all.size())));
    if (end > begin) out += all.substr(begin, end - begin);
    if (line.ellipsis) {
      out += u"...";
      *shortened = true;
    }
  }
  return kv::String::FromUtf16(out).ToUtf8();
}

// The screen that holds the view: the group the root's application holds
// through its sub-system (root < application < sub-system < screen), or the
// outermost group below the root where the tree is shallower. Texts and
// boxes of two screens stacked never stand on one row of a page.
const View* FormOf(const View* view) {
  auto* self = const_cast<View*>(view);
  const View* v = view;
  if (self->IsEmbedded())
    if (auto* hostView = kv::Cast<View>(self->Container())) v = hostView;
  std::vector<const View*> chain;
  for (; v; v = v->Owner()) chain.push_back(v);
  if (chain.size() >= 4) return chain[chain.size() - 4];
  return chain.size() >= 2 ? chain[chain.size() - 2] : view;
}

// Shown with every group that holds it.
bool Shown(const View* view) {
  for (; view; view = view->Owner())
    if (!view->IsVisible()) return false;
  return true;
}

// The screen marked as standing apart that holds the view (a notice a
// player opens as its own child included), else null.
const View* ApartOf(const View* view) {
  const std::set<const View*>& apart = State().apart;
  if (apart.empty()) return nullptr;
  auto* self = const_cast<View*>(view);
  if (self->IsEmbedded())
    if (auto* host = kv::Cast<View>(self->Container())) view = host;
  for (; view; view = view->Owner())
    if (apart.count(view) != 0) return view;
  return nullptr;
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

bool TextWatch::Recording() { return State().recording; }

kv::Rect TextWatch::PaintedArea() {
  const WatchState& s = State();
  if (!s.hasArea) return {INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2};
  return s.area.Move({-s.shift.x, -s.shift.y});
}

TextWatch::TextWatch(const View* view, const kv::String& text, const ge::TextLayout& layout, const kv::Rect& box,
                     const kv::Rect& ink, const kv::Rect& clip, bool scrolls, const ge::Surface& target,
                     const DrawnLetters& letters) {
  WatchState& s = State();
  const kv::Rect screenBox = box.Move(s.shift), screenInk = ink.Move(s.shift), screenClip = clip.Move(s.shift);
  if (s.skipView == view && s.skipBox == screenBox) {
    skip_ = true;
    return;
  }
  // The strokes of the letters the redraw paints must all lie in what the
  // viewer sees.
  if (!scrolls && !letters.cut.empty()) RecordCut(view, text, screenInk, screenClip);
  if (!s.recording) return;
  Recorded r;
  r.view = view;
  r.text = text.ToUtf8();
  r.shown = ShownText(text, layout, &r.shortened);
  r.ours = s.outside.count(view) == 0 && IsOurs(r.text);
  r.address = IsAddress(r.text);
  r.cutLetters = kv::String::FromUtf16(letters.cut).ToUtf8();
  for (const kv::Rect& g : letters.boxes) r.letters.push_back(g.Move(s.shift));
  r.nextLetter = r.shortened ? letters.nextLetter : 0;
  r.penEnd = letters.penEnd + s.shift.x;
  {
    // The room it has: the row or button it is the caption of, else the
    // group that holds it.
    auto* self = const_cast<View*>(view);
    const View* holder = self->IsEmbedded() ? kv::Cast<View>(self->Container()) : view->Owner();
    r.room = holder ? holder->GetAbsoluteBounds() : screenBox;
  }
  r.brokenWord = BrokenWord(text, layout);
  r.drawnBy = s.drawing;
  auto* self = const_cast<View*>(view);
  r.holder = self->IsEmbedded() ? static_cast<const void*>(self->Container()) : static_cast<const void*>(view);
  r.viewClass = kv::ClassOf(view)->name;
  r.where = Where(view);
  r.screen = ScreenOf(view);
  r.form = FormOf(view);
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
  r.order = s.order++;
  r.apartOf = ApartOf(view);
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

BoxWatch::BoxWatch(const View* view, const kv::Rect& clip, const ge::Surface& target) {
  WatchState& s = State();
  if (!s.recording || s.skipView) return;
  // The texts it draws (a button's caption) are its own, not beside it.
  s.drawing.push_back(view);
  drawing_ = true;
  area_ = clip.Intersect({0, 0, target.width, target.height});
  if (area_.IsEmpty() || area_.H() > kFaceHeight || s.drifting.count(view) != 0) return;
  RecordedBox b;
  b.view = view;
  b.tall = area_.H() > kRowBoxHeight;
  b.form = FormOf(view);
  b.where = Where(view);
  b.screen = ScreenOf(view);
  b.area = area_.Move(s.shift);
  target_ = &target;
  before_.reserve(static_cast<size_t>(area_.W()) * static_cast<size_t>(area_.H()));
  for (int32_t y = area_.y1; y < area_.y2; ++y)
    before_.insert(before_.end(), target.Row(y) + area_.x1, target.Row(y) + area_.x2);
  b.order = s.order++;
  b.apartOf = ApartOf(view);
  record_ = static_cast<int64_t>(s.boxes.size());
  s.boxes.push_back(std::move(b));
  s.drewWhole = false;
}

void BoxWatch::DrewWholeArea() { State().drewWhole = true; }

BoxWatch::~BoxWatch() {
  if (drawing_) State().drawing.pop_back();
  if (record_ < 0 || !target_) return;
  RecordedBox& b = State().boxes[static_cast<size_t>(record_)];
  if (std::exchange(State().drewWhole, false)) {
    b.mask.assign(before_.size(), 1);
    return;
  }
  b.mask.assign(before_.size(), 0);
  size_t i = 0;
  for (int32_t y = area_.y1; y < area_.y2; ++y) {
    const uint32_t* row = target_->Row(y);
    for (int32_t x = area_.x1; x < area_.x2; ++x, ++i) b.mask[i] = Differs(row[x], before_[i]) ? 1 : 0;
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

// How much of a recorded text the finished picture hides, letter by
// letter: it is drawn again without that text, and a glyph pixel shows
// where the two pictures differ. The mask keeps only the glyph pixels that
// show. A letter that loses more than kLetterHidden of its glyph pixels is
// hidden, whatever share of the text it is; so is a text whose letters
// together lose more than kTextHidden. `*elsewhere` tells whether it is
// hidden so also when what the screens in `apart` hide counts as shown.
Cover HiddenCover(Root& root, const ge::Surface& whole, ge::Bitmap& without, Recorded& r,
                  const std::vector<kv::Rect>& apart, bool* elsewhere) {
  const kv::Rect area = r.maskArea;
  size_t glyph = 0;
  for (uint8_t m : r.mask) glyph += m;
  *elsewhere = true;
  if (glyph == 0 || area.IsEmpty()) return Cover::kWholly;
  const std::vector<uint8_t> drawn = r.mask;
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
  size_t i = 0;
  int strongest = -1;
  for (int32_t y = area.y1; y < area.y2; ++y)
    for (int32_t x = area.x1; x < area.x2; ++x, ++i) {
      if (!r.mask[i]) continue;
      if (!Differs(whole.Row(y)[x], w.Row(y)[x])) {
        r.mask[i] = 0;
        continue;
      }
      // The pixel the text changed most is a stroke's core: its colour.
      int d = 0;
      for (int shift = 0; shift < 24; shift += 8)
        d += std::abs(static_cast<int>((whole.Row(y)[x] >> shift) & 0xFF) - static_cast<int>((w.Row(y)[x] >> shift) & 0xFF));
      if (d > strongest) {
        strongest = d;
        r.stroke = whole.Row(y)[x];
      }
    }
  // Each letter's glyph pixels, and those of them that show. A text drawn
  // without letters (none recorded) counts as one letter.
  std::vector<kv::Rect> letters = r.letters;
  if (letters.empty()) letters.push_back(area);
  const auto underApart = [&](int32_t x, int32_t y) {
    for (const kv::Rect& a : apart)
      if (a.Contains(kv::Point{x, y})) return true;
    return false;
  };
  const auto tooMuch = [](size_t shows, size_t mine, double most) {
    return 1.0 - static_cast<double>(shows) / static_cast<double>(mine) > most;
  };
  bool hidden = false, hiddenElsewhere = false, allGone = true;
  size_t allMine = 0, allShows = 0, allShowsBut = 0;
  for (const kv::Rect& letter : letters) {
    const kv::Rect in = letter.Intersect(area);
    size_t mine = 0, shows = 0, showsBut = 0;  // showsBut: shows, or lies under a screen apart
    for (int32_t y = in.y1; y < in.y2; ++y)
      for (int32_t x = in.x1; x < in.x2; ++x) {
        const size_t k = static_cast<size_t>(y - area.y1) * static_cast<size_t>(area.W()) + static_cast<size_t>(x - area.x1);
        mine += drawn[k];
        shows += r.mask[k];
        showsBut += drawn[k] && (r.mask[k] || underApart(x, y)) ? 1 : 0;
      }
    if (mine == 0) continue;  // clipped away, or too faint to count
    allMine += mine;
    allShows += shows;
    allShowsBut += showsBut;
    hidden = hidden || tooMuch(shows, mine, kLetterHidden);
    hiddenElsewhere = hiddenElsewhere || tooMuch(showsBut, mine, kLetterHidden);
    allGone = allGone && 1.0 - static_cast<double>(shows) / static_cast<double>(mine) >= kLetterGone;
  }
  if (allMine > 0 && tooMuch(allShows, allMine, kTextHidden)) hidden = true;
  if (allMine > 0 && tooMuch(allShowsBut, allMine, kTextHidden)) hiddenElsewhere = true;
  *elsewhere = hiddenElsewhere;
  return allGone ? Cover::kWholly : hidden ? Cover::kPartly : Cover::kNone;
}

// The share of the pixels of `r` that the box drew.
double DrawnShare(const RecordedBox& b, const kv::Rect& r) {
  const kv::Rect both = r.Intersect(b.area);
  if (r.IsEmpty() || both.IsEmpty()) return 0.0;
  size_t drawn = 0;
  for (int32_t y = both.y1; y < both.y2; ++y)
    for (int32_t x = both.x1; x < both.x2; ++x) drawn += b.MaskAt(x, y) ? 1 : 0;
  return static_cast<double>(drawn) / (static_cast<double>(r.W()) * static_cast<double>(r.H()));
}

// Whether the box is the face the text stands on (a button's face or rim,
// a row's bar): it holds the glyphs whole and drew beside them on their
// rows on both sides. An image that holds the text but drew on one side of
// it only (a row's number) is beside it, not its face.
bool IsFace(const SeenText& t, const RecordedBox& b) {
  if (!b.area.Inflate(kFaintEdge, kFaintEdge).Contains(t.ink)) return false;
  bool left = false, right = false;
  for (int32_t y = std::max(t.ink.y1, b.area.y1); y < std::min(t.ink.y2, b.area.y2); ++y) {
    for (int32_t x = b.area.x1; x < t.ink.x1 && !left; ++x) left = b.MaskAt(x, y);
    for (int32_t x = t.ink.x2; x < b.area.x2 && !right; ++x) right = b.MaskAt(x, y);
  }
  if (left && right) return true;
  // Glyphs that reach the box's edge leave no room for its rim there: it is
  // their face still when it is drawn under them (a button's face filled
  // rim to rim), not when it only holds them (a help button: its icon and
  // its caption on nothing).
  if ((!left && t.ink.x1 > b.area.x1 + 1) || (!right && t.ink.x2 < b.area.x2 - 1)) return false;
  return DrawnShare(b, t.ink) >= kFilledFace;
}

// The boxes and images beside the text on its row that its glyphs run
// into: a box of its screen, not the view that draws the text nor the one
// it is embedded in nor one whose draw drew it (a button drawing its
// caption) nor its face, covering at least half the glyphs'
// height, with pixels it drew on or beside glyph pixels of the text that
// show. A box drawn under most of the glyphs' box is a face too; an image
// that holds the text but draws only a part of its area (a row's number)
// is beside it where it drew.
std::vector<std::string> RunsInto(const SeenText& t, const std::vector<RecordedBox>& boxes,
                                  const std::set<const View*>& textViews) {
  std::vector<std::string> out;
  if (t.ink.IsEmpty()) return out;
  // The text's face (the panel it is written on) drawn after a box hides the
  // box where it covers it: a notice's panel over an image of its screen.
  size_t face = boxes.size();
  for (size_t i = 0; i < boxes.size(); ++i)
    if (!boxes[i].tall && boxes[i].view != t.view && textViews.count(boxes[i].view) == 0 && IsFace(t, boxes[i]))
      face = i;
  for (size_t i = 0; i < boxes.size(); ++i) {
    const RecordedBox& b = boxes[i];
    if (b.tall || textViews.count(b.view) != 0 || b.view == t.view || b.view == t.holder || b.form != t.form)
      continue;
    if (face < boxes.size() && i < face &&
        boxes[face].area.Contains(b.area.Intersect(t.maskArea_.Inflate(kBesideX, 1))))
      continue;
    if (std::find(t.drawnBy.begin(), t.drawnBy.end(), b.view) != t.drawnBy.end()) continue;
    // A screen standing apart over the text's own (a player's notice) stands
    // beside it on purpose, unless the text is the focused control's.
    if (b.apartOf && b.apartOf != t.apartOf && b.order > t.order && !t.focus) continue;
    // A line (a caret after an entry's text, a rule) is not a box.
    if (b.area.W() <= 3 || b.area.H() <= 3) continue;
    const kv::Rect rows{t.ink.x1, std::max(t.ink.y1, b.area.y1), t.ink.x2, std::min(t.ink.y2, b.area.y2)};
    if (rows.H() * 2 < t.ink.H()) continue;
    const kv::Rect both = t.maskArea_.Intersect(b.area.Inflate(kBesideX, 1));
    if (both.IsEmpty() || IsFace(t, b) || DrawnShare(b, t.ink) >= kFaceShare) continue;
    int into = 0;
    for (int32_t y = both.y1; y < both.y2 && into < kIntoBox; ++y)
      for (int32_t x = both.x1; x < both.x2 && into < kIntoBox; ++x) {
        if (!t.MaskAt(x, y)) continue;
        bool near = false;
        for (int32_t dy = -1; dy <= 1 && !near; ++dy)
          for (int32_t dx = -kBesideX; dx <= kBesideX && !near; ++dx) near = b.MaskAt(x + dx, y + dy);
        if (near) ++into;
      }
    if (into >= kIntoBox) out.push_back(b.where + " " + RectText(b.area));
  }
  return out;
}

// How close the glyphs come to the rim of their face (the button or row
// the text is the caption of, or a box of its screen that is its face): on
// each side, the outermost column the face drew on the glyphs' rows is its
// rim, and the empty columns between it and the glyphs are the margin. A
// text of several lines may stand on a face higher than a row (a notice
// grown to its lines); a line of text on such a box is on a panel, whose
// rim is no caption's.
std::string TouchesRim(const SeenText& t, const std::vector<RecordedBox>& boxes,
                       const std::set<const View*>& textViews) {
  if (t.ink.IsEmpty()) return {};
  const bool lines = t.shown.find('\n') != std::string::npos;
  for (const RecordedBox& b : boxes) {
    if (b.tall && !lines) continue;
    const bool drewIt = std::find(t.drawnBy.begin(), t.drawnBy.end(), b.view) != t.drawnBy.end();
    if (b.view == t.view || textViews.count(b.view) != 0 || (b.view != t.holder && !drewIt && b.form != t.form)) continue;
    if (!IsFace(t, b)) continue;
    const int32_t y1 = std::max(t.ink.y1, b.area.y1), y2 = std::min(t.ink.y2, b.area.y2);
    auto drawnAt = [&](int32_t x) {
      for (int32_t y = y1; y < y2; ++y)
        if (b.MaskAt(x, y)) return true;
      return false;
    };
    std::string out;
    if (t.ink.x1 - b.area.x1 < kRimMargin) out = "left " + std::to_string(std::max(0, t.ink.x1 - b.area.x1)) + " px";
    for (int32_t x = b.area.x1; x < t.ink.x1 && out.empty(); ++x)
      if (drawnAt(x)) {
        if (t.ink.x1 - x - 1 < kRimMargin) out = "left " + std::to_string(std::max(0, t.ink.x1 - x - 1)) + " px";
        break;
      }
    const bool atRightEdge = b.area.x2 - t.ink.x2 < kRimMargin;
    if (atRightEdge)
      out += (out.empty() ? "" : ", ") + std::string("right ") + std::to_string(std::max(0, b.area.x2 - t.ink.x2)) + " px";
    for (int32_t x = b.area.x2 - 1; x >= t.ink.x2 && !atRightEdge; --x)
      if (drawnAt(x)) {
        if (x - t.ink.x2 < kRimMargin)
          out += (out.empty() ? "" : ", ") + std::string("right ") + std::to_string(std::max(0, x - t.ink.x2)) + " px";
        break;
      }
    if (!out.empty()) return out + " from the rim of " + b.where + " " + RectText(b.area);
  }
  return {};
}

// The empty pixels after a shortened text's "..." in the room it has: up
// to the room's edge or the rim of its face, less the padding the row gives
// its text at its start (kRimMargin to kRowPadding), or up to anything else
// drawn on its rows (a text, a box, an image) less kWordGap.
int32_t RoomLeft(const SeenText& t, int32_t penEnd, const kv::Rect& room, const kv::Rect& screen,
                 const std::vector<SeenText>& texts, const std::vector<RecordedBox>& boxes) {
  if (t.ink.IsEmpty()) return 0;
  const auto padding = [&](const kv::Rect& area) { return std::clamp(t.box.x1 - area.x1, kRimMargin, kRowPadding); };
  int32_t limit = std::min(room.Intersect(screen).x2 - padding(room), screen.x2);
  const int32_t y1 = t.ink.y1, y2 = t.ink.y2;
  for (const RecordedBox& b : boxes) {
    if (b.tall || b.view == t.view) continue;
    if (IsFace(t, b) || DrawnShare(b, t.ink) >= kFaceShare) {
      limit = std::min(limit, b.area.x2 - padding(b.area));
      continue;
    }
    for (int32_t x = std::max(t.ink.x2, b.area.x1); x < std::min(limit + kWordGap, b.area.x2); ++x) {
      bool drawn = false;
      for (int32_t y = std::max(y1, b.area.y1); y < std::min(y2, b.area.y2) && !drawn; ++y) drawn = b.MaskAt(x, y);
      if (drawn) {
        limit = std::min(limit, x - kWordGap);
        break;
      }
    }
  }
  for (const SeenText& o : texts) {
    if (o.view == t.view || o.cover == Cover::kWholly || o.maskArea_.x2 <= t.ink.x2) continue;
    const kv::Rect near = o.maskArea_.Intersect({t.ink.x2, y1, limit + kWordGap, y2});
    for (int32_t x = near.x1; x < near.x2; ++x) {
      bool shows = false;
      for (int32_t y = near.y1; y < near.y2 && !shows; ++y) shows = o.MaskAt(x, y);
      if (shows) {
        limit = std::min(limit, x - kWordGap);
        break;
      }
    }
  }
  // From where its pen ends: past the last dot's ink, the dot's own room.
  return std::max(0, limit - std::max(t.ink.x2, penEnd));
}

}  // namespace

std::vector<SeenText> LookAtTexts(Root& root) {
  const kv::Rect screen{0, 0, root.Bounds().W(), root.Bounds().H()};
  WatchState& s = State();
  // The two pictures are kept from look to look: checked runs look after
  // every key, and two fresh screen-sized allocations each time cost more
  // than the look itself. `without` needs no clearing: HiddenCover clears
  // each area it draws into.
  ge::Bitmap& whole = s.whole;
  ge::Bitmap& without = s.without;
  whole.Resize(screen.W(), screen.H());
  without.Resize(screen.W(), screen.H());
  std::fill_n(whole.Pixels(), static_cast<size_t>(whole.Width()) * static_cast<size_t>(whole.Height()), 0u);
  s.recorded.clear();
  s.boxes.clear();
  s.order = 0;
  s.recording = true;
  if (root.IsVisible() && !screen.IsEmpty()) {
    DrawArea a(screen);
    root.Draw(whole.View(), screen, {0, 0}, 255);
  }
  s.recording = false;
  std::vector<Recorded> recorded = std::exchange(s.recorded, {});
  const std::vector<RecordedBox> boxes = std::exchange(s.boxes, {});
  std::set<const View*> textViews;  // texts that are views of their own are not boxes
  for (const Recorded& r : recorded) textViews.insert(r.view);
  // The screens apart drawn in this picture: where and from when.
  struct Apart {
    kv::Rect area;
    int64_t from = INT64_MAX;
    bool passes = false;
  };
  std::map<const View*, Apart> apart;
  for (const View* view : s.apart)
    if (Shown(view)) apart[view] = {view->GetAbsoluteBounds(), INT64_MAX, s.passing.count(view) != 0};
  for (const Recorded& r : recorded)
    if (auto it = apart.find(r.apartOf); it != apart.end()) it->second.from = std::min(it->second.from, r.order);
  for (const RecordedBox& b : boxes)
    if (auto it = apart.find(b.apartOf); it != apart.end()) it->second.from = std::min(it->second.from, b.order);
  const std::vector<View*> path = FocusPath(root);
  // The control that holds the keys; a screen that holds them with no
  // control in focus (an adjustment bar) has none.
  const View* focused = path.empty() || FormOf(path.back()) == path.back() ? nullptr : path.back();
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
    t.ours = r.ours;
    t.address = r.address;
    t.brokenWord = std::move(r.brokenWord);
    t.shortened = r.shortened;
    t.shown = std::move(r.shown);
    t.holder = r.holder;
    t.form = r.form;
    t.drawnBy = std::move(r.drawnBy);
    t.order = r.order;
    t.apartOf = r.apartOf;
    t.focus = focused && (r.view == focused || r.holder == focused ||
                          std::find(r.drawnBy.begin(), r.drawnBy.end(), focused) != r.drawnBy.end());
    std::vector<kv::Rect> over;  // the screens apart drawn over it
    bool under = false, allPass = true;
    for (const auto& [view, a] : apart)
      if (view != r.apartOf && a.from != INT64_MAX && a.from > r.order) {
        over.push_back(a.area);
        if (a.area.Intersects(r.clip)) {
          under = true;
          allPass = allPass && a.passes;
        }
      }
    // Under passing screens alone the focused control is spared as the
    // rest: it shows again within seconds. Otherwise what hides it counts.
    if (t.focus && under && allPass) t.focus = false;
    if (t.focus) over.clear();
    bool elsewhere = true;
    t.cover = HiddenCover(root, whole.View(), without, r, over, &elsewhere);
    t.stroke = r.stroke;
    t.overlaid = t.cover == Cover::kPartly && !elsewhere;
    t.cutLetters = std::move(r.cutLetters);
    t.letters = std::move(r.letters);
    t.nextLetter = r.nextLetter;
    t.maskArea_ = r.maskArea;
    t.mask_ = std::move(r.mask);
    if (t.cover != Cover::kWholly) {
      t.runsInto = RunsInto(t, boxes, textViews);
      t.touchesRim = TouchesRim(t, boxes, textViews);
    }
    out.push_back(std::move(t));
  }
  for (size_t i = 0; i < out.size(); ++i)
    if (out[i].shortened && out[i].cover != Cover::kWholly)
      out[i].roomLeft = RoomLeft(out[i], recorded[i].penEnd, recorded[i].room, screen, out, boxes);
  return out;
}

std::vector<std::string> TextFaults(const std::vector<SeenText>& texts) {
  std::vector<std::string> faults;
  for (const SeenText& t : texts) {
    if (t.cover == Cover::kWholly) continue;
    if (t.Cut()) faults.push_back("text cut: " + t.Describe() + " loses \"" + t.cutLetters + "\"");
    if (t.cover == Cover::kPartly && !t.overlaid) faults.push_back("text partly hidden: " + t.Describe());
    for (const std::string& box : t.runsInto) faults.push_back("text runs into a box: " + t.Describe() + " and " + box);
    // An address or a number is read whole or not at all, also inside a
    // longer text.
    if (t.address && t.shortened)
      faults.push_back("address or number shortened: " + t.Describe() + " reads \"" + t.shown + "\"");
    // Our own captions are written to fit.
    else if (t.ours && t.shortened)
      faults.push_back("text of ours shortened: " + t.Describe() + " reads \"" + t.shown + "\"");
    // A name from outside may be shortened, only where no more of it fits:
    // its next letter, with the kerning and faint edges it may bring.
    else if (t.shortened && t.nextLetter > 0 && t.roomLeft >= t.nextLetter + kFaintEdge)
      faults.push_back("name shortened with room left: " + t.Describe() + " reads \"" + t.shown + "\", " +
                       std::to_string(t.roomLeft) + " px free after it, its next letter needs " +
                       std::to_string(t.nextLetter));
    if (!t.brokenWord.empty()) faults.push_back("word broken: " + t.Describe() + " splits \"" + t.brokenWord + "\"");
    if (!t.touchesRim.empty()) faults.push_back("text touches the rim: " + t.Describe() + ", " + t.touchesRim);
  }
  std::set<std::pair<size_t, size_t>> overlapping;
  // Glyph pixels of two texts that show on the same spot, or closer side by
  // side than a viewer can tell two texts apart ("Sleep TimerGame Timer"):
  // each garbles the other. Where an opaque screen lies between them, the
  // lower one's pixels do not show and nothing is reported.
  for (size_t i = 0; i < texts.size(); ++i) {
    const SeenText& a = texts[i];
    if (a.cover == Cover::kWholly) continue;
    for (size_t j = i + 1; j < texts.size(); ++j) {
      const SeenText& b = texts[j];
      if (b.cover == Cover::kWholly || (a.view == b.view && a.box == b.box)) continue;
      // A screen apart writes over what lies under it (not over the
      // control that holds the keys).
      const auto over = [](const SeenText& top, const SeenText& low) {
        return top.apartOf && top.apartOf != low.apartOf && top.order > low.order && !low.focus;
      };
      if (over(a, b) || over(b, a)) continue;
      const kv::Rect both = a.maskArea_.Intersect(b.maskArea_.Inflate(kApartX, kApartY));
      if (both.IsEmpty()) continue;
      int close = 0;
      for (int32_t y = both.y1; y < both.y2 && close < kCloseEnough; ++y)
        for (int32_t x = both.x1; x < both.x2 && close < kCloseEnough; ++x)
          if (a.MaskAt(x, y) && AnyNear(b, x, y)) ++close;
      if (close >= kCloseEnough) {
        faults.push_back("texts overlap: " + a.Describe() + " and " + b.Describe());
        overlapping.insert({i, j});
        overlapping.insert({j, i});
      }
    }
  }
  // Texts of two views side by side on one row, no further apart than a word
  // space, touching included ("AceptarAceptar"), in one colour: the viewer
  // reads them as one phrase. A label drawn in a colour of its own (an
  // input's label after its name) reads apart. A label ending in ':' is one on purpose, with the word
  // before it ("Early" "Start:") and with the value after it.
  for (size_t i = 0; i < texts.size(); ++i) {
    const SeenText& a = texts[i];
    if (a.cover == Cover::kWholly || a.ink.IsEmpty() || a.text.empty() || a.text.back() == ':') continue;
    for (size_t j = 0; j < texts.size(); ++j) {
      const SeenText& b = texts[j];
      if (b.view == a.view || b.cover == Cover::kWholly || b.ink.IsEmpty() || b.form != a.form) continue;
      if ((!b.text.empty() && b.text.back() == ':') || overlapping.count({i, j}) != 0) continue;
      if (Differs(a.stroke, b.stroke, kOtherColour)) continue;
      const int32_t gap = b.ink.x1 - a.ink.x2;
      if (gap <= -kApartX || gap >= kWordGap) continue;
      const int32_t shared = std::min(a.ink.y2, b.ink.y2) - std::max(a.ink.y1, b.ink.y1);
      if (shared * 2 < std::min(a.ink.H(), b.ink.H()) || std::max(a.ink.H(), b.ink.H()) > 2 * std::min(a.ink.H(), b.ink.H()))
        continue;
      faults.push_back("texts run together: " + a.Describe() + " and " + b.Describe());
    }
  }
  // Two texts of one screen that say different things but read the same
  // once shortened ("Sintonizad..." twice): the viewer cannot tell them apart.
  for (size_t i = 0; i < texts.size(); ++i) {
    const SeenText& a = texts[i];
    if (a.cover == Cover::kWholly || !a.shortened) continue;
    for (size_t j = 0; j < texts.size(); ++j) {
      const SeenText& b = texts[j];
      if (j == i || b.cover == Cover::kWholly || b.view == a.view || b.form != a.form) continue;
      if (b.shown != a.shown || b.text == a.text || (b.shortened && j < i)) continue;
      faults.push_back("texts read the same: " + a.Describe() + " and " + b.Describe() + " read \"" + a.shown + "\"");
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

void MarkNameFromOutside(const View* view, bool on) {
  if (on)
    State().outside.insert(view);
  else
    State().outside.erase(view);
}

void MarkDrifts(const View* view, bool on) {
  if (on)
    State().drifting.insert(view);
  else
    State().drifting.erase(view);
}

void MarkStandsApart(const View* form, bool on) {
  if (on) {
    State().apart.insert(form);
  } else {
    State().apart.erase(form);
    State().passing.erase(form);
  }
}

void MarkPasses(const View* form, bool on) {
  if (on)
    State().passing.insert(form);
  else
    State().passing.erase(form);
}

#else

std::vector<SeenText> LookAtTexts(Root&) { return {}; }
std::vector<std::string> TextFaults(const std::vector<SeenText>&) { return {}; }
std::vector<std::string> TakeCutTexts() { return {}; }
void MarkScrollsInField(const View*, bool) {}
bool ScrollsInField(const View*) { return false; }
void MarkDrifts(const View*, bool) {}
void MarkNameFromOutside(const View*, bool) {}
void MarkStandsApart(const View*, bool) {}
void MarkPasses(const View*, bool) {}

#endif

bool SeenText::MaskAt(int32_t x, int32_t y) const {
  if (!maskArea_.Contains(kv::Point{x, y})) return false;
  const size_t i = static_cast<size_t>(y - maskArea_.y1) * static_cast<size_t>(maskArea_.W()) +
                   static_cast<size_t>(x - maskArea_.x1);
  return i < mask_.size() && mask_[i] != 0;
}

}  // namespace Core
