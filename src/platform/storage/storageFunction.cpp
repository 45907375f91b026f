#include "platform/storage/storageFunction.h"

#include <cstdio>
#include <string>
#include <utility>

namespace {

std::string Describe(const char* what, std::size_t lineNo) {
    char text[96];
    std::snprintf(text, sizeof text, "line %zu: %s", lineNo, what);
    return text;
}

}  // namespace

uint16_t UDSM_Crc16(const uint8_t* data, std::size_t len) {
    uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < len; ++i) {
        crc = static_cast<uint16_t>(crc ^ (data[i] << 8));
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000) != 0 ? static_cast<uint16_t>((crc << 1) ^ 0x1021)
                                      : static_cast<uint16_t>(crc << 1);
        }
    }
    return crc;
}

bool UDSM_IsValidKey(std::string_view key) {
    return !key.empty() && key.find_first_of("]\n") == std::string_view::npos;
}

bool UDSM_IsValidValue(std::string_view value) { return value.find('\n') == std::string_view::npos; }

bool UDSM_Parse(const uint8_t* data, std::size_t len, DC_Chain* out, std::string* error) {
    if (len < UDSM_CRC_BYTES) {
        *error = "truncated: no checksum";
        return false;
    }
    if (len > UDSM_MAX_FILE_BYTES) {
        *error = "larger than " + std::to_string(UDSM_MAX_FILE_BYTES) + " bytes";
        return false;
    }
    std::size_t textLen = len - UDSM_CRC_BYTES;
    uint16_t stored = static_cast<uint16_t>((data[textLen] << 8) | data[textLen + 1]);
    if (UDSM_Crc16(data, textLen) != stored) {
        *error = "checksum mismatch";
        return false;
    }

    std::string_view text(reinterpret_cast<const char*>(data), textLen);
    DC_Chain chain;
    std::size_t lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        std::size_t nl = text.find('\n');
        if (nl == std::string_view::npos) {
            *error = Describe("no newline at the end", lineNo);
            return false;
        }
        if (nl + 1 > UDSM_MAX_LINE_BYTES) {
            *error = Describe("longer than the line limit", lineNo);
            return false;
        }
        std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl + 1);
        std::size_t close = line.find(']');
        if (line.empty() || line[0] != '[' || close == std::string_view::npos ||
            close + 1 >= line.size() || line[close + 1] != '=') {
            *error = Describe("not of the form [key]=value", lineNo);
            return false;
        }
        std::string_view key = line.substr(1, close - 1);
        if (key.empty()) {
            *error = Describe("empty key", lineNo);
            return false;
        }
        if (DC_Find(chain, key) != nullptr) {
            *error = Describe("key repeated", lineNo);
            return false;
        }
        DC_Put(chain, key, line.substr(close + 2));
    }
    *out = std::move(chain);
    return true;
}

bool UDSM_Serialize(const DC_Chain& chain, std::vector<uint8_t>* out, std::string* error) {
    std::vector<uint8_t> bytes;
    for (const DC_Entry& e : chain) {
        if (!UDSM_IsValidKey(e.key) || !UDSM_IsValidValue(e.value)) {
            *error = "invalid key or value for key \"" + e.key.substr(0, 64) + "\"";
            return false;
        }
        if (UDSM_LineBytes(e.key, e.value) > UDSM_MAX_LINE_BYTES) {
            *error = "line too long for key \"" + e.key.substr(0, 64) + "\"";
            return false;
        }
        bytes.push_back('[');
        bytes.insert(bytes.end(), e.key.begin(), e.key.end());
        bytes.push_back(']');
        bytes.push_back('=');
        bytes.insert(bytes.end(), e.value.begin(), e.value.end());
        bytes.push_back('\n');
        if (bytes.size() + UDSM_CRC_BYTES > UDSM_MAX_FILE_BYTES) {
            *error = "file would be larger than " + std::to_string(UDSM_MAX_FILE_BYTES) + " bytes";
            return false;
        }
    }
    uint16_t crc = UDSM_Crc16(bytes.data(), bytes.size());
    bytes.push_back(static_cast<uint8_t>(crc >> 8));
    bytes.push_back(static_cast<uint8_t>(crc & 0xFF));
    *out = std::move(bytes);
    return true;
}
