#include "platform/storage/SimpleFileReader.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/storage/native_log.h"
#include "runtime/escaped_text.h"

const char* SFR_KindOf(unsigned mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISLNK(mode)) return "a link";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISREG(mode)) return "a file";
    return "not a plain file";
}

SFR_Status SFR_ReadFile(const char* path, std::size_t maxBytes, std::vector<uint8_t>* out, std::string* kind) {
    out->clear();
    // Non-blocking, so that a pipe with no writer cannot hold the start; what
    // it is comes from the open descriptor, not from a second look at the name.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return SFR_MISSING;
        NativeLog("SimpleFileReader: cannot open %s: %s", kv::EscapedText(path, kv::kMaxLoggedPath).c_str(), std::strerror(errno));
        return SFR_ERROR;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (kind) *kind = SFR_KindOf(st.st_mode);
        ::close(fd);
        return SFR_NOT_FILE;
    }
    // Reads until the end or until one byte past the maximum, without trusting the file's size.
    std::vector<uint8_t> bytes;
    uint8_t chunk[16384];
    int readErrno = 0;
    while (bytes.size() <= maxBytes) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            readErrno = errno;
            break;
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    if (readErrno != 0) {
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
