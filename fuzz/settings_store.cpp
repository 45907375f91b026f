// Feeds arbitrary bytes to the settings-file parser: it must never crash, and a file it
// accepts must serialise back to the same bytes, which parse to the same entries in the
// same order. Each input is tried as it is and, so that the line parser is reached
// without guessing checksums, once more with its correct checksum appended.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/storage/DoubleChain.h"
#include "platform/storage/storageFunction.h"

namespace {

void Check(const uint8_t* data, size_t size) {
    DC_Chain parsed;
    std::string error;
    if (!UDSM_Parse(data, size, &parsed, &error)) return;

    std::vector<uint8_t> bytes;
    if (!UDSM_Serialize(parsed, &bytes, &error)) std::abort();
    if (bytes.size() != size || std::memcmp(bytes.data(), data, size) != 0) std::abort();
    DC_Chain again;
    if (!UDSM_Parse(bytes.data(), bytes.size(), &again, &error)) std::abort();
    auto a = parsed.begin();
    auto b = again.begin();
    for (; a != parsed.end() && b != again.end(); ++a, ++b) {
        if (a->key != b->key || a->value != b->value) std::abort();
    }
    if (a != parsed.end() || b != again.end()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(data, size);
    std::vector<uint8_t> withCrc(data, data + size);
    uint16_t crc = UDSM_Crc16(data, size);
    withCrc.push_back(static_cast<uint8_t>(crc >> 8));
    withCrc.push_back(static_cast<uint8_t>(crc & 0xFF));
    Check(withCrc.data(), withCrc.size());
    return 0;
}
