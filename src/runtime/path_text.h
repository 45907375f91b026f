// File paths as text. A name on a stick is a run of bytes that need not be
// UTF-8: such a path is held as text with each byte that is no part of valid
// UTF-8 kept as the lone surrogate U+DC80 + byte, so that the same bytes come
// back when the path is handed to the platform again. Valid UTF-8 reads as
// kv::String::FromUtf8 reads it.
#pragma once

#include <string>
#include <string_view>

#include "runtime/string.h"

namespace kv {

String PathFromBytes(std::string_view bytes);
// The bytes of a path made by PathFromBytes (or of any text, as UTF-8).
std::string PathToBytes(const String& path);

}  // namespace kv
