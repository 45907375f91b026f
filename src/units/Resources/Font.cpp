#include "units/Resources/Font.h"

#include <algorithm>
#include <string_view>

#include "ge/font.h"
#include "platform/fontengine/font_engine.h"

namespace Resources {

KV_REGISTER_CLASS(Font);

void Font::Initialize(int32_t pixelSize, bool bold) {
  size_ = pixelSize;
  bold_ = bold;
  source_ = fe::GetFont(pixelSize, bold ? fe::Weight::kBold : fe::Weight::kNormal);
}

int32_t Font::GetTextWidth(const kv::String& text, int32_t first, int32_t count) const {
  if (!source_) return 0;
  const int32_t len = text.Length();
  first = std::clamp(first, 0, len);
  if (count < 0 || count > len - first) count = len - first;
  return ge::GenMeasureText(*source_, std::u16string_view(text.Data() + first, static_cast<size_t>(count)));
}

int32_t Font::Ascent() const { return source_ ? source_->Ascent() : 0; }
int32_t Font::Descent() const { return source_ ? source_->Descent() : 0; }
int32_t Font::Leading() const { return source_ ? source_->Leading() : 0; }

}  // namespace Resources
