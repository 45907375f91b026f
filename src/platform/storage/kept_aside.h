// What the set's files keep aside: a damaged file, or whatever stands where a
// save writes its new file. Each thing kept aside has a name of its own: the
// newest takes the given name, the ones before it the same name with ".1",
// ".2" (the oldest) after it; when one more arrives the oldest goes.
#pragma once

#include <string>

namespace storage {

// How many things one name keeps aside, the newest included.
inline constexpr int kKeptAside = 3;

// Frees `aside` for a new thing: the older ones move one name on, the oldest
// is removed. False (with the cause in `error`) when `aside` is still taken.
bool MakeRoomAside(const std::string& aside, std::string* error);

// Moves whatever stands at `path` (a file, a folder, a link) to `aside`,
// after making room there. False (with the cause) when it stays in place.
bool MoveAside(const std::string& path, const std::string& aside, std::string* error);

// Opens `path` for a save's new file: created or emptied, never followed
// through a link. Whatever stands there and is no plain file that can be
// written (a folder, a link, a pipe) is first moved to `aside`, and
// `movedAside` names it ("<path> (a folder) is kept as <aside>"). Answers
// the file descriptor, or -1 with errno set.
int OpenNewFile(const std::string& path, const std::string& aside, std::string* movedAside);

}  // namespace storage
