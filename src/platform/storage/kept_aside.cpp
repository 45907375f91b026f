#include "platform/storage/kept_aside.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/storage/SimpleFileReader.h"
#include "runtime/escaped_text.h"

namespace storage {

namespace {

namespace fs = std::filesystem;

bool Taken(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::string Older(const std::string& aside, int n) { return n == 0 ? aside : aside + "." + std::to_string(n); }

const char* KindOf(const struct stat& st) {
  return S_ISREG(st.st_mode) ? "a file that cannot be written" : SFR_KindOf(st.st_mode);
}

}  // namespace

bool MakeRoomAside(const std::string& aside, std::string* error) {
  if (!Taken(aside)) return true;
  std::error_code ec;
  fs::remove_all(Older(aside, kKeptAside - 1), ec);
  for (int n = kKeptAside - 2; n >= 0; --n) {
    const std::string from = Older(aside, n);
    if (Taken(from) && std::rename(from.c_str(), Older(aside, n + 1).c_str()) != 0) {
      if (error) *error = std::strerror(errno);
      return false;
    }
  }
  return true;
}

bool MoveAside(const std::string& path, const std::string& aside, std::string* error) {
  if (!MakeRoomAside(aside, error)) return false;
  if (std::rename(path.c_str(), aside.c_str()) == 0) return true;
  if (error) *error = std::strerror(errno);
  return false;
}

int OpenNewFile(const std::string& path, const std::string& aside, std::string* movedAside) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) {
    int fd = S_ISREG(st.st_mode) ? ::open(path.c_str(), kFlags, 0644) : -1;
    if (fd >= 0) return fd;
    std::string why;
    if (!MoveAside(path, aside, &why)) {
      errno = EEXIST;
      if (movedAside)
        *movedAside = kv::EscapedText(path, kv::kMaxLoggedPath) + " (" + KindOf(st) + ") cannot be moved aside: " + why;
      return -1;
    }
    if (movedAside)
      *movedAside = kv::EscapedText(path, kv::kMaxLoggedPath) + " (" + KindOf(st) + ") is kept as " +
                    kv::EscapedText(aside, kv::kMaxLoggedPath);
  }
  return ::open(path.c_str(), kFlags, 0644);
}

}  // namespace storage
