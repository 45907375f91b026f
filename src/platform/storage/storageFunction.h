// The settings file format: lines "[key]=value\n" of at most UDSM_MAX_LINE_BYTES each
// (newline included), then a CRC-16 (CCITT-FALSE, big-endian) of every byte before it,
// at most UDSM_MAX_FILE_BYTES in all. Keys are not empty and hold no ']' or newline;
// values hold no newline; a key appears once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/storage/DoubleChain.h"

inline constexpr std::size_t UDSM_MAX_LINE_BYTES = 520;
inline constexpr std::size_t UDSM_MAX_FILE_BYTES = 64000;
inline constexpr std::size_t UDSM_CRC_BYTES = 2;

// CRC-16/CCITT-FALSE: polynomial 0x1021, initial value 0xFFFF, no reflection, no final xor.
uint16_t UDSM_Crc16(const uint8_t* data, std::size_t len);

bool UDSM_IsValidKey(std::string_view key);
bool UDSM_IsValidValue(std::string_view value);

// Bytes of the line "[key]=value\n".
inline std::size_t UDSM_LineBytes(std::string_view key, std::string_view value) {
    return key.size() + value.size() + 4;
}

// Parses a whole file image into *out (replacing it). On failure *out is untouched
// and *error names the first fault.
bool UDSM_Parse(const uint8_t* data, std::size_t len, DC_Chain* out, std::string* error);

// Builds the file image of the chain into *out. Fails, with *error, when an entry is
// invalid or a line or the file would pass its limit.
bool UDSM_Serialize(const DC_Chain& chain, std::vector<uint8_t>* out, std::string* error);
