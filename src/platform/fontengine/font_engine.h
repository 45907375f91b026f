// The platform's font engine: one font file, rendered by FreeType.
//
// The engine keeps the C-style names the GUI calls (FS_Init, FS_AddFont,
// FS_Exit); the font descriptors and their glyph sources live in namespace fe.
//
//   FS_Init(20000);                      // the glyph cache, shared by every font
//   FS_AddFont(fe::DefaultFontPath());   // the one font file
//   ge::GlyphSource* f = fe::GetFont(24, fe::Weight::kBold);
//   ...
//   FS_Exit();
//
// A font is (pixel size, weight) over the one file; bold is FreeType's
// emboldening of the outlines. Fonts are owned by the engine and stay valid
// for the life of the process: without an initialised engine and a
// registered font file they measure by rough pixel-size proportions and draw
// nothing, so text disappears but nothing fails.
//
// Glyphs are cached by (size, weight, character), at most the number given to
// FS_Init, least recently used first out. A character the font lacks renders
// the font's notdef glyph.
//
// Thread-safety: GUI task only. Nothing here locks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ge/glyph_source.h"

// Status codes of the FS_* calls.
enum : int32_t {
  FS_OK = 0,
  FS_ERR_NOT_INITIALISED = 1,  // FS_Init was not called (or FS_Exit was)
  FS_ERR_ALREADY_INITIALISED = 2,
  FS_ERR_FILE_NOT_FOUND = 3,
  FS_ERR_BAD_FONT = 4,       // the file is not a font FreeType can read
  FS_ERR_FONT_PRESENT = 5,   // a font file is already registered
  FS_ERR_ENGINE = 6,         // FreeType could not start
};

// Starts the engine with a glyph cache of `glyphCacheSize` glyphs (the system
// uses 20000). A size below 1 is logged and replaced by 20000.
int32_t FS_Init(int32_t glyphCacheSize);
// Registers the font file. A missing file logs "Font file <path> not found".
int32_t FS_AddFont(const std::string& path);
// Drops the font file and the glyph cache. Fonts from fe::GetFont stay valid
// but draw nothing until the engine is started again.
int32_t FS_Exit();

namespace fe {

enum class Weight { kNormal, kBold };

// The absolute path of fonts/tt7268m_803.ttf: in the working folder, else
// next to the executable.
std::string DefaultFontPath();

// The font of `pixelSize` (1 to 512; others are logged and clamped) and
// `weight`. Never null; owned by the engine, one object per descriptor.
ge::GlyphSource* GetFont(int32_t pixelSize, Weight weight);

struct CacheStats {
  size_t glyphs = 0;  // glyphs cached now
  size_t limit = 0;   // the most the cache keeps
  uint64_t hits = 0;
  uint64_t misses = 0;
};
CacheStats GetCacheStats();

}  // namespace fe
