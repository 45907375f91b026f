// The product-tree icons: a rounded tile (plain, or focus-blue for the lit
// main-menu icons) with a simple line glyph of the entry's subject. Every
// frame of a bitmap is the same picture; the carousel scales it.
#include <cmath>
#include <numbers>

#include "resources/bitmaps/paint.h"
#include "units/MenuSystem/ProductTreeBitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

enum class G { Gear, Globe, Play, Landscape, Clock, Picture, Note, Apps, Sliders, Tools, Wave, Plug, Antenna, Camera,
               Film, Alarm, Moon, Pad };

void Glyph(const ge::Surface& s, G g, kv::Color c) {
  const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
  const float cx = w * 0.5f, cy = h * 0.5f, r = std::min(w, h) * 0.26f, t = std::max(2.0f, w * 0.05f);
  switch (g) {
    case G::Gear:
      Ring(s, {cx, cy}, r * 0.7f, t, c);
      for (int i = 0; i < 8; ++i) {
        const float a = static_cast<float>(i) * std::numbers::pi_v<float> / 4;
        Stroke(s, {cx + std::cos(a) * r * 0.8f, cy + std::sin(a) * r * 0.8f},
               {cx + std::cos(a) * r * 1.15f, cy + std::sin(a) * r * 1.15f}, t, c);
      }
      break;
    case G::Globe:
      Ring(s, {cx, cy}, r, t * 0.8f, c);
      Stroke(s, {cx - r, cy}, {cx + r, cy}, t * 0.6f, c);
      Stroke(s, {cx, cy - r}, {cx, cy + r}, t * 0.6f, c);
      break;
    case G::Play:
    case G::Film:
      Polygon(s, {{cx - r * 0.6f, cy - r}, {cx + r, cy}, {cx - r * 0.6f, cy + r}}, c);
      break;
    case G::Landscape:
    case G::Picture:
    case G::Camera:
      RoundRectRim(s, {static_cast<int32_t>(cx - r * 1.2f), static_cast<int32_t>(cy - r * 0.9f),
                       static_cast<int32_t>(cx + r * 1.2f), static_cast<int32_t>(cy + r * 0.9f)},
                   3, t * 0.7f, c);
      Polygon(s, {{cx - r, cy + r * 0.7f}, {cx - r * 0.2f, cy - r * 0.2f}, {cx + r * 0.6f, cy + r * 0.7f}}, c);
      break;
    case G::Clock:
    case G::Alarm:
      Ring(s, {cx, cy}, r, t * 0.8f, c);
      Stroke(s, {cx, cy}, {cx, cy - r * 0.7f}, t * 0.7f, c);
      Stroke(s, {cx, cy}, {cx + r * 0.5f, cy}, t * 0.7f, c);
      break;
    case G::Moon:
      Disc(s, {cx, cy}, r, c);
      Disc(s, {cx + r * 0.45f, cy - r * 0.3f}, r * 0.85f, Palette::PlainBottom);
      break;
    case G::Note:
    case G::Wave:
      Disc(s, {cx - r * 0.4f, cy + r * 0.6f}, r * 0.35f, c);
      Stroke(s, {cx - r * 0.1f, cy + r * 0.6f}, {cx - r * 0.1f, cy - r}, t * 0.7f, c);
      Stroke(s, {cx - r * 0.1f, cy - r}, {cx + r * 0.7f, cy - r * 0.6f}, t * 0.7f, c);
      break;
    case G::Apps:
      for (int i = 0; i < 4; ++i)
        Disc(s, {cx + (i % 2 ? r * 0.5f : -r * 0.5f), cy + (i / 2 ? r * 0.5f : -r * 0.5f)}, r * 0.3f, c);
      break;
    case G::Sliders:
    case G::Tools:
      for (int i = -1; i <= 1; ++i) {
        const float y = cy + static_cast<float>(i) * r * 0.6f;
        Stroke(s, {cx - r, y}, {cx + r, y}, t * 0.5f, c);
        Disc(s, {cx + static_cast<float>(i) * r * 0.4f, y}, t, c);
      }
      break;
    case G::Plug:
    case G::Antenna:
      Stroke(s, {cx, cy + r}, {cx, cy - r * 0.2f}, t * 0.7f, c);
      Ring(s, {cx, cy - r * 0.2f}, r * 0.6f, t * 0.6f, c);
      break;
    case G::Pad:
      RoundRectRim(s, {static_cast<int32_t>(cx - r * 1.2f), static_cast<int32_t>(cy - r * 0.6f),
                       static_cast<int32_t>(cx + r * 1.2f), static_cast<int32_t>(cy + r * 0.6f)},
                   r * 0.5f, t * 0.7f, c);
      Stroke(s, {cx - r * 0.8f, cy}, {cx - r * 0.3f, cy}, t * 0.6f, c);
      Disc(s, {cx + r * 0.6f, cy}, t, c);
      break;
  }
}

template <G g, bool lit>
void Icon(Resources::Bitmap& b) {
  for (int32_t f = 0; f < b.OnGetNoOfFrames(); ++f) {
    const ge::Surface s = b.GetFrameSurface(f);
    const kv::Rect r{2, 2, s.width - 2, s.height - 2};
    if (lit)
      Panel(s, r, PanelStyle{10, Palette::FocusTop, Palette::FocusBottom, Palette::FocusRim, 2});
    else
      Panel(s, r, PanelStyle{10, Palette::PlainTop, Palette::PlainBottom, Palette::PlainRim, 1.5f});
    Glyph(s, g, Palette::Glyph);
  }
}

}  // namespace

KV_BITMAP(Bitmaps, L1SettingsMenuOff, (Icon<G::Gear, false>), 72, 72, 1);
KV_BITMAP(Bitmaps, L1SettingsMenuOn, (Icon<G::Gear, true>), 72, 72, 1);
KV_BITMAP(Bitmaps, L1NetworkMenuOff, (Icon<G::Globe, false>), 72, 72, 1);
KV_BITMAP(Bitmaps, L1NetworkMenuOn, (Icon<G::Globe, true>), 72, 72, 1);
KV_BITMAP(Bitmaps, L1MediaPlayerMenuOff, (Icon<G::Play, false>), 72, 72, 1);
KV_BITMAP(Bitmaps, L1MediaPlayerMenuOn, (Icon<G::Play, true>), 72, 72, 1);
KV_BITMAP(Bitmaps, L1WallpaperMenuOff, (Icon<G::Landscape, false>), 72, 72, 1);
KV_BITMAP(Bitmaps, L1WallpaperMenuOn, (Icon<G::Landscape, true>), 72, 72, 1);
KV_BITMAP(Bitmaps, L1TimerMenuOff, (Icon<G::Clock, false>), 72, 72, 1);
KV_BITMAP(Bitmaps, L1TimerMenuOn, (Icon<G::Clock, true>), 72, 72, 1);
KV_BITMAP(Bitmaps, L2PictureMenu, (Icon<G::Picture, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2SoundMenu, (Icon<G::Note, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2ApplicationsMenu, (Icon<G::Apps, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2PreferenceMenu, (Icon<G::Sliders, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2SetupMenu, (Icon<G::Tools, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2WebTideMenu, (Icon<G::Wave, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2NetworkSetupMenu, (Icon<G::Plug, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2WirelessInfoMenu, (Icon<G::Antenna, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2PhotoMenu, (Icon<G::Camera, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2MovieMenu, (Icon<G::Film, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2MusicMenu, (Icon<G::Note, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2OnTimerMenu, (Icon<G::Alarm, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2SleepTimerMenu, (Icon<G::Moon, false>), 100, 100, 1);
KV_BITMAP(Bitmaps, L2GameTimerMenu, (Icon<G::Pad, false>), 100, 100, 1);
