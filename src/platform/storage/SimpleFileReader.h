// SimpleFileReader: reads a whole file into memory, up to a given size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum SFR_Status {
    SFR_OK = 0,
    SFR_MISSING,    // the file does not exist
    SFR_TOO_LARGE,  // the file is larger than the maximum (logged)
    SFR_ERROR,      // it exists but cannot be read (logged)
};

// Replaces *out with the file's bytes. On any status but SFR_OK *out is left empty.
SFR_Status SFR_ReadFile(const char* path, std::size_t maxBytes, std::vector<uint8_t>* out);
