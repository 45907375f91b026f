// Folders as the media service sees them: which files are music, pictures
// or movies (by extension, else by content through libmagic), a folder's
// entries for one media type (sub-folders first, then files) in one sort
// order, and the counts of a medium.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace psl {

enum class FileKind { kOther, kFolder, kMusic, kPicture, kVideo };

// 1 music, 2 picture, 3 video (0 for folders and other files).
int32_t MediaTypeOf(FileKind kind);

// By extension (case-insensitive); kOther for an unknown one.
FileKind KindByExtension(const std::string& name);
// By extension, else by the file's content (libmagic); kOther when neither knows.
FileKind KindOfFile(const std::string& path);

struct Entry {
  std::string name;  // the file or folder name
  FileKind kind = FileKind::kOther;
  int64_t mtime = 0;   // seconds
  int32_t count = 0;   // folders: their entries of the listed type
};

// Natural, case-insensitive order: "img2" before "IMG10".
bool NaturalLess(const std::string& a, const std::string& b);

// The entries of a folder that show for `mediaType` (0: all media):
// sub-folders, then matching files; each group by name (sort 0), newest
// first (2) or oldest first (3). Hidden entries (a leading dot) and links
// leading out of the folder are left out. Sub-folder counts are filled.
std::vector<Entry> ListFolder(const std::string& folder, int32_t mediaType, int32_t sortMode);

// Counts of a medium, scanning at most `budget` entries: files and folders
// holding them per media type (index 1 .. 3).
struct Counts {
  int32_t files[4] = {0, 0, 0, 0};
  int32_t folders[4] = {0, 0, 0, 0};
  int32_t scanned = 0;
  int32_t top = 0;     // entries of the top folder (folders and media of any type)
  bool avchd = false;  // a BDMV or AVCHD folder at the top
};
Counts CountMedium(const std::string& folder, int32_t budget);

}  // namespace psl
