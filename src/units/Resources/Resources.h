// Compiled-in resources: named bitmaps and fonts, created on first use.
//
// A resource id is a constant of its unit's namespace:
//   header: namespace Bitmaps { extern const Resources::BitmapId MiniGuideBackground; }
//   source: KV_BITMAP(Bitmaps, MiniGuideBackground, DrawPanel, 80, 80, 1);
//   use:    Resources::Bitmap* b = Resources::LoadResource(Bitmaps::MiniGuideBackground);
//
// A bitmap's recipe is a function that draws the picture into the new
// bitmap, which LoadResource has already sized (frame width x frames by
// height) and given its frames. An id without a recipe gives a visible
// placeholder of the id's size and a log line.
//
// LoadResource keeps what it made in the resource cache, a collection root:
// one object per id, shared by every caller. The cache is emptied by
// kv::Runtime::ResetForTests; after a language change every cached bitmap is
// drawn again in place (the same object) and its object observers are
// notified, so that images showing it redraw.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/object.h"

namespace Resources {

class Bitmap;
class Font;

// Draws a freshly sized, transparent bitmap.
using BitmapRecipe = void (*)(Bitmap& bitmap);

struct BitmapId {
  const char* name;     // "Unit::Name"
  BitmapRecipe recipe;  // null: a placeholder is drawn
  int32_t width;        // of one frame
  int32_t height;
  int32_t frames;       // side by side in one strip (see Bitmap.h)
};

struct FontId {
  const char* name;  // "Unit::Name"
  int32_t pixelSize;
  bool bold;
};

// The shared bitmap of the id, created and drawn on first use.
Bitmap* LoadResource(const BitmapId& id);
// The shared font of the id, created on first use.
Font* LoadResource(const FontId& id);

// Every id declared with KV_BITMAP or KV_FONT, in registration order.
const std::vector<const BitmapId*>& AllBitmapIds();
const std::vector<const FontId*>& AllFontIds();

// Draws every cached bitmap again (the language-change hook).
void ReloadResources();
// Number of cached resources (tests).
size_t CachedResourceCount();

// The generic placeholder picture of data items (loading, media top-list entries).
extern const BitmapId DefaultBitmap;

namespace detail {
bool RegisterBitmapId(const BitmapId* id);
bool RegisterFontId(const FontId* id);
}  // namespace detail

}  // namespace Resources

// Defines and registers a bitmap id `Unit::Name` (declare it `extern const`
// in the unit's header). Write it at namespace scope of a source file.
#define KV_BITMAP(Unit, Name, recipe, width, height, frames)                                      \
  namespace Unit {                                                                               \
  const ::Resources::BitmapId Name{#Unit "::" #Name, recipe, width, height, frames};              \
  }                                                                                              \
  [[maybe_unused]] static const bool KV_CONCAT(kvBitmapRegistered_, __LINE__) =                  \
      ::Resources::detail::RegisterBitmapId(&Unit::Name)

// Defines and registers a font id `Unit::Name`.
#define KV_FONT(Unit, Name, pixelSize, bold)                                                      \
  namespace Unit {                                                                               \
  const ::Resources::FontId Name{#Unit "::" #Name, pixelSize, bold};                              \
  }                                                                                              \
  [[maybe_unused]] static const bool KV_CONCAT(kvFontRegistered_, __LINE__) =                    \
      ::Resources::detail::RegisterFontId(&Unit::Name)
