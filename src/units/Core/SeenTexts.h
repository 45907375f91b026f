// What the viewer sees of the texts on screen, for checked builds (KV_VERIFY).
//
// Every text reaches the screen through Views::Text::Draw (buttons, lists
// and forms draw their captions with an embedded Views::Text). Checked
// builds watch each such draw:
//
// - At every draw, a text of which a letter loses a stroke pixel outside
//   the rectangle the viewer can see is recorded as cut (TakeCutTexts) and
//   logged as an error, whatever share of the text the letter is. The
//   visible rectangle is the view's box clipped by every owner's bounds and
//   clip; a redraw that paints only a dirty part of the screen checks the
//   part of the glyphs that falls in it, so a partial redraw neither hides
//   nor invents a cut. A text meant to scroll inside its field is exempt:
//   its holder marks it with MarkScrollsInField (the entry field
//   Button::TextEdit, the scrolled text of SkinBin::TextForm).
// - LookAtTexts draws the whole picture again into a scratch surface and
//   answers, for every text drawn, where it stands, what of it shows and
//   whether something drawn later hides it, letter by letter. TextFaults
//   turns that into the faults a viewer would notice: texts cut, texts
//   partly hidden (a letter of them), texts of
//   different views whose glyphs overlap, a text whose glyphs run into a
//   box or into the drawn pixels of an image on its row (drawn before or
//   after it, a number in a row's image included), texts side by side that
//   read as one phrase, a text of ours (an entry of our string tables or a
//   text made of entries) or an address or number (whole or in a longer
//   text) drawn shortened with "...", a name from outside shortened while
//   its next letter would fit in the room it has, a word broken across two
//   lines without a hyphen, glyphs closer
//   than 2 px to the rim of the button or row face that holds them, and
//   two texts of one screen that read the same though they say different
//   things.
//
// Release builds compile none of the watching: LookAtTexts answers nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ge/attr_text.h"
#include "ge/surface.h"
#include "runtime/geometry.h"
#include "runtime/string.h"

namespace Core {

class Root;
class View;

// How much of a text something drawn after it hides.
enum class Cover : uint8_t {
  kNone,    // every glyph shows
  kPartly,  // some glyphs show, some are hidden: a fragment stays readable
  kWholly,  // nothing of it shows (under an opaque screen, or clipped away)
};

struct SeenText {
  const View* view = nullptr;  // valid until the view tree changes
  std::string text;            // UTF-8
  std::string viewClass;       // the class of the view that drew it
  // The view's class, then the object it is embedded in and the groups that
  // hold it up to the root, innermost first ("Views::Text in X < Y < Z").
  std::string where;
  // The class of the group right below the root that holds it: the screen.
  std::string screen;
  kv::Rect box;      // the view's box on screen
  kv::Rect visible;  // the box clipped by every owner's bounds and clip
  kv::Rect ink;      // where its glyphs fall, whole, on screen
  Cover cover = Cover::kNone;
  bool scrolls = false;  // meant to scroll inside its field
  // One of the texts of our string tables (a label, heading, title or
  // caption), or a text made of them with numbers, spaces and punctuation
  // between (a prompt of two sentences, a label with its colon, a label
  // and its value): not a name from outside (a file, server, channel,
  // device).
  bool ours = false;
  // An address (IP, MAC) or a number, or a text with an address in it
  // ("Wireless MAC address: DC:DD:DB:DC:DD:DB"): read whole or not at all.
  bool address = false;
  // Drawn shorter than it is: a line ends in "...".
  bool shortened = false;
  // What the viewer reads: its lines as drawn, "..." included.
  std::string shown;
  // The object it is the text of: the view it is embedded in (a button, a
  // row), else its own view.
  const void* holder = nullptr;
  // The screen (form) that holds it: the checks of one page compare texts
  // and boxes of the same form only.
  const View* form = nullptr;
  // The views (not groups) whose draws drew it, outermost first: the button
  // or row whose caption it is.
  std::vector<const View*> drawnBy;
  // The boxes and images beside it on its row that its glyphs run into, one
  // line each ("Class in Owner < ... (x1,y1)-(x2,y2)").
  std::vector<std::string> runsInto;
  // The word split across two of its lines with no hyphen ("Configura" |
  // "ción"), as "Configura|ción"; empty when none is.
  std::string brokenWord;
  // Its glyphs come closer than 2 px to the rim of the face of the button
  // or row that holds it: the rim's side and how close, else empty.
  std::string touchesRim;
  // The letters (UTF-8) that lose a stroke pixel outside the visible
  // rectangle.
  std::string cutLetters;
  // Where each of its glyphs stands on screen, in reading order.
  std::vector<kv::Rect> letters;
  // Shortened: the pixels one more letter needs, and the empty pixels after
  // its "..." in the room it has (its row or button, its group, the
  // screen) before the rim of its face or anything drawn beside it, less
  // the gap a viewer needs to read them apart; -1 when not shortened.
  int32_t nextLetter = 0;
  int32_t roomLeft = -1;
  // Its place in the drawing order (what is drawn later lies over it).
  int64_t order = 0;
  // The screen standing at a place of its own over whatever is open
  // (MarkStandsApart) that holds it, else null.
  const View* apartOf = nullptr;
  // It is the text of the control that holds the keys (the end of the focus
  // path), and no screen standing apart over it passes (MarkPasses).
  bool focus = false;
  // Partly hidden, and only by screens that stand apart over its own: none
  // of its screen's fault (never the focused control's text).
  bool overlaid = false;
  // The colour of its strongest glyph pixel that shows (0xAARRGGBB as the
  // surface holds it): the colour it is drawn in.
  uint32_t stroke = 0;

  // A letter loses a stroke pixel outside the visible rectangle (never for
  // a text that scrolls).
  bool Cut() const;
  // Shown whole: some ink visible, nothing hidden, nothing cut.
  bool Readable() const;
  // One line for logs and test failures: where, the text and the rectangles.
  std::string Describe() const;
  // True where a glyph pixel of the text shows in the finished picture
  // (drawing it changed the pixel visibly, and nothing drawn later hid
  // that), in screen coordinates.
  bool MaskAt(int32_t x, int32_t y) const;

  kv::Rect maskArea_;
  std::vector<uint8_t> mask_;
};

// Every text of the current picture, in drawing order (back to front). Draws
// the whole screen again into a scratch surface; the display, its dirty
// areas and the views are left as they are. Empty in release builds.
std::vector<SeenText> LookAtTexts(Root& root);

// The faults of a picture a viewer would notice, one line each: "text cut:
// ...", "text partly hidden: ...", "texts overlap: ... and ...", "text runs
// into a box: ... and ..." (a box or the drawn pixels of an image),
// "texts run together: ... and ..." (side by side no further apart than a
// word space), "text of ours shortened: ...", "address or number
// shortened: ...", "word broken: ...", "text touches the rim: ...",
// "texts read the same: ... and ...".
std::vector<std::string> TextFaults(const std::vector<SeenText>& texts);

// The texts drawn cut since the last call, one line each, forgetting them.
std::vector<std::string> TakeCutTexts();

// Marks (or unmarks, before it goes) a text view that scrolls inside the
// field that clips it: its glyphs may leave what the viewer sees. Release
// builds keep nothing.
void MarkScrollsInField(const View* view, bool on);
bool ScrollsInField(const View* view);

// Marks (or unmarks, before it goes) a text view that shows a name from
// outside (a channel's name, which the broadcaster or the viewer gives): it
// is judged as a name, whatever words of ours it may be made of ("Movies
// One"). Release builds keep nothing.
void MarkNameFromOutside(const View* view, bool on);
// Marks (or unmarks, before it goes) a view that wanders over its screen
// behind what the screen shows (the music player's logo, placed anew every
// few seconds): the texts it passes behind do not run into it. Release
// builds keep nothing.
void MarkDrifts(const View* view, bool on);
// Marks (or unmarks, before it goes) a screen that stands at a place of its
// own over whatever screen is open (a notice, the volume bar, a question the
// set raises and the update's check and progress after it, the 3D screens
// the 3D signal brings, the quick menu): what it hides of the screens under
// it, or writes over them, is no fault of theirs, unless it hides the
// control that holds the keys. Release builds keep nothing.
void MarkStandsApart(const View* form, bool on);
// Marks (or unmarks) such a screen as passing: it closes by itself within a
// couple of seconds (a notice of two seconds). It may hide the control that
// holds the keys too: the control shows again before the viewer could act on
// what was hidden. Release builds keep nothing.
void MarkPasses(const View* form, bool on);

#ifdef KV_VERIFY
// A glyph pixel covered by at least this much (of 255) is a part of a
// stroke; fainter ones are the anti-aliased edges that "T" or "V" send a
// pixel or two past their pen position, and losing them loses nothing.
inline constexpr uint8_t kStrokeCoverage = 128;

// The letters of one draw of a text, as Views::Text places them.
struct DrawnLetters {
  std::u16string cut;           // the letters that lose a stroke pixel to the clip
  std::vector<kv::Rect> boxes;  // each glyph's box, target coordinates (while a look records)
  int32_t nextLetter = 0;       // a shortened line: the pixels its next letter needs
  int32_t penEnd = 0;           // and where its pen ends after the "...", target coordinates
};

// Watches one draw of a text (Views::Text::Draw holds one while it draws):
// checks the cut, and while LookAtTexts records, records the text with the
// pixels it changed. Skip() is true when the look draws the picture without
// this text, to see what it hides.
class TextWatch {
 public:
  // `layout` is the text's layout as drawn (its lines, their ellipses).
  TextWatch(const View* view, const kv::String& text, const ge::TextLayout& layout, const kv::Rect& box,
            const kv::Rect& ink, const kv::Rect& clip, bool scrolls, const ge::Surface& target,
            const DrawnLetters& letters);
  // A look (LookAtTexts) records the texts drawn now.
  static bool Recording();
  // The part of the target the redraw under way paints (target
  // coordinates): a clip there may cut a letter, not one elsewhere.
  static kv::Rect PaintedArea();
  ~TextWatch();
  TextWatch(const TextWatch&) = delete;
  TextWatch& operator=(const TextWatch&) = delete;
  bool Skip() const { return skip_; }

 private:
  bool skip_ = false;
  int64_t record_ = -1;  // the recorded entry, while a look records
  const ge::Surface* target_ = nullptr;
  kv::Rect area_;                 // the part of the target compared, target coordinates
  std::vector<uint32_t> before_;  // its pixels before the draw
};

// Watches one draw of a view that is not a group (an image, a frame, a
// button, a box) while LookAtTexts records: where it drew, so that a text
// running into it shows. Group::DrawChildren holds one for every such child,
// and Button::ButtonClass::DrawPart for every part of a button or row that
// is not a text (its face, its icon, the image of a row's number).
class BoxWatch {
 public:
  // The view drawing now filled every pixel of its clip (a plain fill): its
  // whole area counts as drawn, also where a see-through colour left the
  // pixel as it was (dark glass over a black picture), so that the edge of
  // what shows through is not taken for an edge of the box.
  static void DrewWholeArea();

  BoxWatch(const View* view, const kv::Rect& clip, const ge::Surface& target);
  ~BoxWatch();
  BoxWatch(const BoxWatch&) = delete;
  BoxWatch& operator=(const BoxWatch&) = delete;

 private:
  int64_t record_ = -1;
  bool drawing_ = false;
  const ge::Surface* target_ = nullptr;
  kv::Rect area_;
  std::vector<uint32_t> before_;
};

// A redraw under way paints `screenArea` (screen coordinates): the cut check
// looks at the part of each text that falls in it. Root::Redraw holds one
// for each dirty rectangle.
class DrawArea {
 public:
  explicit DrawArea(const kv::Rect& screenArea);
  ~DrawArea();
  DrawArea(const DrawArea&) = delete;
  DrawArea& operator=(const DrawArea&) = delete;

 private:
  kv::Rect saved_;
  bool hadArea_;
};

// A group drawing its children into a scratch surface: target coordinates
// are screen coordinates minus `shift` while it lives.
class DrawShift {
 public:
  explicit DrawShift(kv::Point shift);
  ~DrawShift();
  DrawShift(const DrawShift&) = delete;
  DrawShift& operator=(const DrawShift&) = delete;

 private:
  kv::Point shift_;
};
#endif

}  // namespace Core
