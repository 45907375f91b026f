// Button and row backgrounds. Focused: a bright blue bar with a light rim,
// the one clear highlight of every list and dialog. Unfocused: a quiet grey
// translucent bar. Rows stretch these over their bounds.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

void Bar(Resources::Bitmap& b, bool focused, float radius) {
  const ge::Surface s = b.GetFrameSurface(0);
  if (focused) {
    Panel(s, Whole(s), PanelStyle{radius, Palette::FocusTop, Palette::FocusBottom, Palette::FocusRim, 1.0f});
    // A glint along the top edge.
    FadedLine(s, {3, 2, s.width - 3, 3}, {255, 255, 255, 70});
  } else {
    Panel(s, Whole(s), PanelStyle{radius, Palette::PlainTop, Palette::PlainBottom, Palette::PlainRim, 1.0f});
  }
}

void FocusBar(Resources::Bitmap& b) { Bar(b, true, 4); }
// The focus on a grey row: the focused rim round a pale body, light enough
// for the grey row's dark blue-grey caption.
void DisabledFocusBar(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{4, {214, 222, 232, 255}, {168, 182, 200, 255}, Palette::FocusRim, 1.0f});
}
void PlainBar(Resources::Bitmap& b) { Bar(b, false, 4); }
// A row of a list whose dialog shows no background between its top and
// bottom caps: the panel's own opaque body with its side rims, and the
// quiet bar over it, so that nothing behind the list shows through.
void PanelRow(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, {0, -16, s.width, s.height + 16}, PanelStyle{7});
  RoundRect(s, {3, 2, s.width - 3, s.height - 2}, 4, Palette::PlainTop, Palette::PlainBottom);
}
void FocusKey(Resources::Bitmap& b) { Bar(b, true, 3); }
void PlainKey(Resources::Bitmap& b) { Bar(b, false, 3); }

// The focus frame round a thumbnail cell: a bright rim, transparent inside.
void CellFrame(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  RoundRectRim(s, Whole(s), 6, 2, {58, 136, 214, 160});
  RoundRectRim(s, {2, 2, s.width - 2, s.height - 2}, 4, 2, Palette::FocusRim);
}

}  // namespace

KV_BITMAP(Bitmaps, DialogButtonFocus, FocusBar, 110, 27, 1);
KV_BITMAP(Bitmaps, DialogButtonNonfocus, PlainBar, 110, 27, 1);
KV_BITMAP(Bitmaps, TimeZoneListButtonFocus, FocusBar, 180, 27, 1);
KV_BITMAP(Bitmaps, TimeZoneListButtonNonfocus, PlainBar, 180, 27, 1);
KV_BITMAP(Bitmaps, ChannelLockButtonFocus, FocusBar, 70, 30, 1);
KV_BITMAP(Bitmaps, ChannelLockButtonNonfocus, PlainBar, 70, 30, 1);
KV_BITMAP(Bitmaps, ChannelOptionButtonFocus, FocusBar, 250, 27, 1);
KV_BITMAP(Bitmaps, OptionButtonFocus, FocusBar, 490, 25, 1);
KV_BITMAP(Bitmaps, OptionButtonNonfocus, PlainBar, 490, 25, 1);
KV_BITMAP(Bitmaps, OptionButtonDisabledFocus, DisabledFocusBar, 490, 25, 1);
KV_BITMAP(Bitmaps, ChannelListButtonFocus, FocusBar, 250, 27, 1);
KV_BITMAP(Bitmaps, NetworkButtonFocus, FocusBar, 150, 27, 1);
KV_BITMAP(Bitmaps, NetworkButtonNonfocus, PlainBar, 150, 27, 1);
KV_BITMAP(Bitmaps, IPAddressFocus, FocusKey, 40, 27, 1);
KV_BITMAP(Bitmaps, IPAddressNonfocus, PlainKey, 40, 27, 1);
KV_BITMAP(Bitmaps, SelectButtonFocused, FocusBar, 90, 30, 1);
KV_BITMAP(Bitmaps, SelectButtonNonFocused, PlainBar, 90, 30, 1);
KV_BITMAP(Bitmaps, KeyPadButtonFocus, FocusKey, 27, 27, 1);
KV_BITMAP(Bitmaps, KeyPadButtonNonfocus, PlainKey, 27, 27, 1);
KV_BITMAP(Bitmaps, CECInputDialogButtonFocus, FocusBar, 250, 28, 1);
KV_BITMAP(Bitmaps, CECInputDialogButtonNonfocus, PanelRow, 250, 28, 1);
KV_BITMAP(Bitmaps, InputDialogButtonFocus, FocusBar, 250, 27, 1);
KV_BITMAP(Bitmaps, InputLabelsListButtonFocus, FocusBar, 250, 27, 1);
KV_BITMAP(Bitmaps, EPG_ChanButtonFocus, FocusBar, 336, 26, 1);
KV_BITMAP(Bitmaps, EPG_ProgramButtonFocus, FocusBar, 300, 27, 1);
KV_BITMAP(Bitmaps, MiniGuide_ButtonFocus, FocusBar, 250, 27, 1);
KV_BITMAP(Bitmaps, MediaListButtonFocus, FocusBar, 300, 27, 1);
KV_BITMAP(Bitmaps, WiFiScanButtonFocus, FocusBar, 300, 27, 1);
KV_BITMAP(Bitmaps, PinButtonFocus, FocusKey, 32, 32, 1);
KV_BITMAP(Bitmaps, PinButtonNonfocus, PlainKey, 32, 32, 1);
KV_BITMAP(MediaPlayer, ThumbnailCellFocus, CellFrame, 120, 92, 1);
