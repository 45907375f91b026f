// The resource cache: one object per resource id, a collection root.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "ge/fill.h"
#include "ge/wu_line.h"
#include "runtime/collector.h"
#include "runtime/ref.h"
#include "runtime/runtime.h"
#include "runtime/trace.h"
#include "units/Resources/Bitmap.h"
#include "units/Resources/Font.h"
#include "units/Resources/Resources.h"

namespace Resources {

namespace {

struct Entry {
  const void* id;
  const BitmapId* bitmapId;  // null for fonts
  kv::Object* object;
};

struct Cache {
  std::vector<Entry> entries;
  bool hooked = false;  // root marker, reset hook and language hook installed
};

// Never destroyed: the cached resources live until the process ends, and a
// cache torn down by the static destructors would leave them unreferenced.
Cache& C() {
  static Cache& c = *new Cache;
  return c;
}

std::vector<const BitmapId*>& BitmapIds() {
  static std::vector<const BitmapId*> v;
  return v;
}
std::vector<const FontId*>& FontIds() {
  static std::vector<const FontId*> v;
  return v;
}

void MarkCache(kv::Marker& m) {
  for (const Entry& e : C().entries) m.Mark(e.object);
}

void ResetCache() {
  C().entries.clear();
  // ResetForTests also drops the language hook: install it again on next use.
  C().hooked = false;
}

void Hook() {
  Cache& c = C();
  if (c.hooked) return;
  c.hooked = true;
  kv::AddRootMarker(&MarkCache);
  kv::Runtime::AddResetHook(&ResetCache);
  kv::Runtime::SetLanguageHook(&ReloadResources);
}

kv::Object* Find(const void* id) {
  for (const Entry& e : C().entries)
    if (e.id == id) return e.object;
  return nullptr;
}

// A dark box with a magenta outline and a cross: plainly not finished art.
void DrawPlaceholder(Bitmap& bitmap) {
  for (int32_t f = 0; f < bitmap.OnGetNoOfFrames(); ++f) {
    const ge::Surface s = bitmap.GetFrameSurface(f);
    const ge::Rect all = s.Bounds();
    ge::GenFillRect(s, all, all, 0xC0303030u);
    const uint32_t magenta = 0xFFFF00FFu;
    for (int32_t i = 0; i < 2; ++i) {
      const ge::Rect r{i, i, s.width - i, s.height - i};
      if (r.IsEmpty()) break;
      ge::GenFillRect(s, all, {r.x1, r.y1, r.x2, r.y1 + 1}, magenta);
      ge::GenFillRect(s, all, {r.x1, r.y2 - 1, r.x2, r.y2}, magenta);
      ge::GenFillRect(s, all, {r.x1, r.y1, r.x1 + 1, r.y2}, magenta);
      ge::GenFillRect(s, all, {r.x2 - 1, r.y1, r.x2, r.y2}, magenta);
    }
    ge::GenWuLine(s, all, 0, 0, s.width - 1, s.height - 1, magenta, 255);
    ge::GenWuLine(s, all, s.width - 1, 0, 0, s.height - 1, magenta, 255);
  }
}

// Sizes the bitmap for the id and draws it by its recipe or as a placeholder.
void DrawBitmap(Bitmap& bitmap, const BitmapId& id) {
  int32_t w = id.width, h = id.height, frames = id.frames;
  if (frames < 1) frames = 1;
  if (w <= 0 || h <= 0) {
    kv::Log(std::string("Bitmap ") + id.name + " has no size: using 32 x 32");
    w = h = 32;
  }
  bitmap.OnSetNoOfFrames(frames);
  bitmap.OnSetSize({w * frames, h});
  if (id.recipe) {
    id.recipe(bitmap);
  } else {
    kv::Log(std::string("Bitmap ") + id.name + " has no recipe: drawing a placeholder");
    DrawPlaceholder(bitmap);
  }
}

}  // namespace

Bitmap* LoadResource(const BitmapId& id) {
  Hook();
  if (kv::Object* o = Find(&id)) return static_cast<Bitmap*>(o);
  Bitmap* bitmap = kv::New<Bitmap>();
  // Cached before drawing, so that a recipe can load other resources safely.
  C().entries.push_back({&id, &id, bitmap});
  DrawBitmap(*bitmap, id);
  return bitmap;
}

Font* LoadResource(const FontId& id) {
  Hook();
  if (kv::Object* o = Find(&id)) return static_cast<Font*>(o);
  int32_t size = id.pixelSize;
  if (size < 1) {
    kv::Log(std::string("Font ") + id.name + " has pixel size " + std::to_string(size) + ": using 18");
    size = 18;
  }
  Font* font = kv::New<Font>();
  font->Initialize(size, id.bold);
  C().entries.push_back({&id, nullptr, font});
  return font;
}

void ReloadResources() {
  // A copy: a recipe may load further resources while we walk.
  const std::vector<Entry> entries = C().entries;
  for (const Entry& e : entries) {
    if (!e.bitmapId) continue;
    auto* bitmap = static_cast<Bitmap*>(e.object);
    DrawBitmap(*bitmap, *e.bitmapId);
    kv::NotifyObjObservers(bitmap);
  }
}

size_t CachedResourceCount() { return C().entries.size(); }

const std::vector<const BitmapId*>& AllBitmapIds() { return BitmapIds(); }
const std::vector<const FontId*>& AllFontIds() { return FontIds(); }

bool detail::RegisterBitmapId(const BitmapId* id) {
  BitmapIds().push_back(id);
  return true;
}
bool detail::RegisterFontId(const FontId* id) {
  FontIds().push_back(id);
  return true;
}

}  // namespace Resources
