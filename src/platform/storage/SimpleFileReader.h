// SimpleFileReader: reads a whole file into memory, up to a given size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum SFR_Status {
    SFR_OK = 0,
    SFR_MISSING,    // the file does not exist
    SFR_TOO_LARGE,  // the file is larger than the maximum (logged)
    SFR_ERROR,      // it exists but cannot be read (logged)
    SFR_NOT_FILE,   // something other than a plain file stands there (not logged: the caller says what it does)
};

// Replaces *out with the file's bytes. On any status but SFR_OK *out is left
// empty. Opening never waits: a pipe or a device at the path is not read
// but answered SFR_NOT_FILE, with what it is ("a pipe", "a folder") in *kind.
SFR_Status SFR_ReadFile(const char* path, std::size_t maxBytes, std::vector<uint8_t>* out,
                        std::string* kind = nullptr);

// What a file system entry is, in words for a log line ("a folder", "a pipe").
const char* SFR_KindOf(unsigned mode);
