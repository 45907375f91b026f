#include "platform/storage/SimpleFileReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/storage/native_log.h"
#include "runtime/escaped_text.h"

SFR_Status SFR_ReadFile(const char* path, std::size_t maxBytes, std::vector<uint8_t>* out) {
    out->clear();
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) {
        if (errno == ENOENT) return SFR_MISSING;
        NativeLog("SimpleFileReader: cannot open %s: %s", kv::EscapedText(path, kv::kMaxLoggedPath).c_str(), std::strerror(errno));
        return SFR_ERROR;
    }
    // Reads until the end or until one byte past the maximum, without trusting the file's size.
    std::vector<uint8_t> bytes;
    uint8_t chunk[16384];
    while (bytes.size() <= maxBytes) {
        std::size_t n = std::fread(chunk, 1, sizeof chunk, f);
        if (n == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    bool failed = std::ferror(f) != 0;
    int readErrno = errno;
    std::fclose(f);
    if (failed) {
        NativeLog("SimpleFileReader: cannot read %s: %s", kv::EscapedText(path, kv::kMaxLoggedPath).c_str(), std::strerror(readErrno));
        return SFR_ERROR;
    }
    if (bytes.size() > maxBytes) {
        NativeLog("SimpleFileReader: %s is larger than %zu bytes, refused", kv::EscapedText(path, kv::kMaxLoggedPath).c_str(), maxBytes);
        return SFR_TOO_LARGE;
    }
    *out = std::move(bytes);
    return SFR_OK;
}
