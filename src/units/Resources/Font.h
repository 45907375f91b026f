// Resources::Font: a GUI object over a font of the font engine (a pixel size
// and a weight of the one font file).
#pragma once

#include <cstdint>

#include "ge/glyph_source.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace Resources {

class Font : public kv::Object {
  KV_CLASS(Resources, Font, kv::Object)
 public:
  Font() = default;

  // Binds the font to the engine's font of that pixel size and weight.
  void Initialize(int32_t pixelSize, bool bold);

  int32_t PixelSize() const { return size_; }
  bool Bold() const { return bold_; }

  // Pixel width of `count` characters of `text` from index `first`, as the
  // text views lay them out (advances and kerning). The range is clipped to
  // the text; a negative count means up to the end.
  int32_t GetTextWidth(const kv::String& text, int32_t first, int32_t count) const;
  int32_t GetTextWidth(const kv::String& text) const { return GetTextWidth(text, 0, -1); }

  int32_t Ascent() const;
  int32_t Descent() const;
  int32_t Leading() const;
  // Height of one line of text: ascent + descent.
  int32_t LineHeight() const { return Ascent() + Descent(); }
  // Distance between the baselines of two lines: the line height plus the leading.
  int32_t LinePitch() const { return LineHeight() + Leading(); }

  // The glyphs of the font; never null once initialised.
  ge::GlyphSource* GetGlyphSource() const { return source_; }

 private:
  ge::GlyphSource* source_ = nullptr;  // owned by the font engine, lives for the process
  int32_t size_ = 0;
  bool bold_ = false;
};

}  // namespace Resources
