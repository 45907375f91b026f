#include "platform/psl/psl_library.h"

#include <magic.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

namespace psl {
namespace fs = std::filesystem;

int32_t MediaTypeOf(FileKind kind) {
  switch (kind) {
    case FileKind::kMusic: return 1;
    case FileKind::kPicture: return 2;
    case FileKind::kVideo: return 3;
    default: return 0;
  }
}

FileKind KindByExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return FileKind::kOther;
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const char* const kMusic[] = {"mp3", "flac", "wav", "ogg", "m4a", "aac", "wma"};
  static const char* const kPicture[] = {"jpg", "jpeg", "png", "gif", "bmp", "webp"};
  static const char* const kVideo[] = {"mp4", "mkv", "avi", "mov", "m4v", "mpg", "mpeg", "ts", "mts", "m2ts", "wmv"};
  for (const char* e : kMusic)
    if (ext == e) return FileKind::kMusic;
  for (const char* e : kPicture)
    if (ext == e) return FileKind::kPicture;
  for (const char* e : kVideo)
    if (ext == e) return FileKind::kVideo;
  return FileKind::kOther;
}

namespace {

// libmagic is not shared between threads: one cookie per thread.
FileKind KindByContent(const std::string& path) {
  thread_local std::unique_ptr<magic_set, void (*)(magic_t)> cookie{nullptr, magic_close};
  thread_local bool tried = false;
  if (!tried) {
    tried = true;
    magic_t m = magic_open(MAGIC_MIME_TYPE | MAGIC_NO_CHECK_COMPRESS | MAGIC_NO_CHECK_TAR);
    if (m && magic_load(m, nullptr) == 0) cookie.reset(m);
    else if (m) magic_close(m);
  }
  if (!cookie) return FileKind::kOther;
  const char* mime = magic_file(cookie.get(), path.c_str());
  if (!mime) return FileKind::kOther;
  const std::string m = mime;
  if (m.rfind("audio/", 0) == 0) return FileKind::kMusic;
  if (m.rfind("image/", 0) == 0) return FileKind::kPicture;
  if (m.rfind("video/", 0) == 0) return FileKind::kVideo;
  return FileKind::kOther;
}

bool MatchesType(FileKind kind, int32_t mediaType) {
  const int32_t t = MediaTypeOf(kind);
  return t != 0 && (mediaType == 0 || t == mediaType);
}

// Lists one folder's entries without sub-folder counts.
std::vector<Entry> ListPlain(const std::string& folder, int32_t mediaType) {
  std::vector<Entry> out;
  std::error_code ec;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  if (ec) return out;
  for (const fs::directory_entry& de : it) {
    const std::string name = de.path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    struct stat st{};
    if (::stat(de.path().c_str(), &st) != 0) continue;  // a dangling link
    Entry e;
    e.name = name;
    e.mtime = st.st_mtime;
    if (S_ISDIR(st.st_mode)) {
      // A link to a folder elsewhere is left out (no escape through links).
      if (de.is_symlink(ec)) continue;
      e.kind = FileKind::kFolder;
    } else if (S_ISREG(st.st_mode)) {
      e.kind = KindByExtension(name);
      if (e.kind == FileKind::kOther && name.find('.') == std::string::npos)
        e.kind = KindByContent(de.path().string());
      if (!MatchesType(e.kind, mediaType)) continue;
    } else {
      continue;
    }
    out.push_back(std::move(e));
  }
  return out;
}

}  // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
    if (std::isdigit(ca) && std::isdigit(cb)) {
      size_t ie = i, je = j;
      while (ie < a.size() && a[ie] == '0') ++ie;
      while (je < b.size() && b[je] == '0') ++je;
      size_t ia = ie, jb = je;
      while (ia < a.size() && std::isdigit(static_cast<unsigned char>(a[ia]))) ++ia;
      while (jb < b.size() && std::isdigit(static_cast<unsigned char>(b[jb]))) ++jb;
      if (ia - ie != jb - je) return ia - ie < jb - je;
      for (size_t k = 0; k < ia - ie; ++k)
        if (a[ie + k] != b[je + k]) return a[ie + k] < b[je + k];
      i = ia, j = jb;
      continue;
    }
    const int la = std::tolower(ca), lb = std::tolower(cb);
    if (la != lb) return la < lb;
    ++i, ++j;
  }
  if ((a.size() - i) != (b.size() - j)) return a.size() - i < b.size() - j;
  return a < b;  // equal but for case or zeros: a fixed order all the same
}

std::vector<Entry> ListFolder(const std::string& folder, int32_t mediaType, int32_t sortMode) {
  std::vector<Entry> out = ListPlain(folder, mediaType);
  for (Entry& e : out)
    if (e.kind == FileKind::kFolder) e.count = static_cast<int32_t>(ListPlain(folder + "/" + e.name, mediaType).size());
  std::stable_sort(out.begin(), out.end(), [sortMode](const Entry& a, const Entry& b) {
    const bool fa = a.kind == FileKind::kFolder, fb = b.kind == FileKind::kFolder;
    if (fa != fb) return fa;
    if (sortMode == 2 && a.mtime != b.mtime) return a.mtime > b.mtime;
    if (sortMode == 3 && a.mtime != b.mtime) return a.mtime < b.mtime;
    return NaturalLess(a.name, b.name);
  });
  return out;
}

Counts CountMedium(const std::string& folder, int32_t budget) {
  Counts c;
  std::error_code ec;
  for (const char* top : {"BDMV", "AVCHD"})
    if (fs::is_directory(folder + "/" + top, ec)) c.avchd = true;
  std::vector<std::string> todo{folder};
  while (!todo.empty() && c.scanned < budget) {
    const std::string dir = todo.back();
    todo.pop_back();
    bool has[4] = {false, false, false, false};
    const std::vector<Entry> entries = ListPlain(dir, 0);
    if (dir == folder) c.top = static_cast<int32_t>(entries.size());
    for (const Entry& e : entries) {
      if (++c.scanned > budget) break;
      if (e.kind == FileKind::kFolder) {
        todo.push_back(dir + "/" + e.name);
        continue;
      }
      const int32_t t = MediaTypeOf(e.kind);
      ++c.files[t];
      has[t] = true;
    }
    for (int t = 1; t < 4; ++t) c.folders[t] += has[t] ? 1 : 0;
  }
  return c;
}

}  // namespace psl
