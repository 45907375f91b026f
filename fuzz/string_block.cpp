// Feeds arbitrary string-table blocks to the block decoder that
// kv::LoadString uses. The input is a header (one mode byte, the number of
// texts as 16 bits and the decompressed size as 32 bits, little-endian) and
// then the block: in even modes the compressed data as it stands, in odd
// modes the raw UTF-16 text, compressed here with its real size, so that the
// fuzzer reaches the text splitting without having to make valid zlib data.
//
// What must hold: no crash or sanitizer report, nor a huge allocation for a
// size the data cannot hold; a refused block is logged; an accepted one holds
// exactly `count` zero-terminated texts, each within the block.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz_runtime.h"
#include "runtime/text.h"

using fuzzrt::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzrt::Start();
  constexpr size_t kHeader = 7;
  if (size < kHeader) return 0;
  const uint8_t mode = data[0];
  kv::StringBlock block{};
  block.count = static_cast<uint16_t>(data[1] | (data[2] << 8));
  block.rawSize = static_cast<uint32_t>(data[3] | (data[4] << 8) | (data[5] << 16)) | (uint32_t{data[6]} << 24);
  const uint8_t* body = data + kHeader;
  const size_t bodySize = size - kHeader;

  std::vector<uint8_t> compressed;
  if (mode & 1) {
    uLongf length = compressBound(static_cast<uLong>(bodySize));
    compressed.resize(length);
    if (compress(compressed.data(), &length, body, static_cast<uLong>(bodySize)) != Z_OK) return 0;
    compressed.resize(length);
    block.rawSize = static_cast<uint32_t>(bodySize);
  } else {
    compressed.assign(body, body + bodySize);
  }
  // Exactly the block's bytes, so that a read past them is reported.
  std::unique_ptr<uint8_t[]> exact(new uint8_t[compressed.size() + 1]);
  if (!compressed.empty()) std::memcpy(exact.get(), compressed.data(), compressed.size());
  block.data = compressed.empty() ? nullptr : exact.get();
  block.compressedSize = static_cast<uint32_t>(compressed.size());

  const uint64_t logged = fuzzrt::LogCount();
  std::unique_ptr<char16_t[]> units;
  std::vector<uint32_t> starts;
  if (!kv::detail::DecodeStringBlock(block, "fuzzed block", &units, &starts)) {
    Require(fuzzrt::LogCount() > logged && !units && starts.empty());
    return 0;
  }
  const size_t n = block.rawSize / 2;
  Require(units && n > 0 && units[n - 1] == 0);
  Require(starts.size() == block.count);
  // Each text as LoadString cuts it: from its start to the zero before the next one.
  for (size_t i = 0; i < starts.size(); ++i) {
    const uint32_t begin = starts[i];
    const uint32_t end = i + 1 < starts.size() ? starts[i + 1] - 1 : static_cast<uint32_t>(n - 1);
    Require(begin <= end && end < n && units[end] == 0);
    for (uint32_t k = begin; k < end; ++k) Require(units[k] != 0);
  }
  return 0;
}
