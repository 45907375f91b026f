// The system manager's register table: values by key, shared with the
// other applications of the set (locale, country, menu language, time
// offset). Served by the simulated television.
//
// Status convention: TVSM_OK (0) is success. Keys and string values are
// 8-bit texts of at most TVSM_REGISTER_TEXT_MAX characters; a missing key
// answers TVSM_ERR_FAILED and leaves the out-value as preset.
//
// A change notice registered for a key makes the system manager send
// TVSM_CMD_REGISTER_VALUE_CHANGED (data: the key) when another application
// changes it (the simulated set: sim::ChangeRegisterValue, sim_register.h).
#pragma once

#include <cstdint>

#include "platform/tvsm/tvsm.h"

constexpr uint32_t TVSM_REGISTER_TEXT_MAX = 127;

enum : uint32_t {
  TVSM_CMD_REGISTER_VALUE_CHANGED = 0x100,
};

// Copies the value and its terminator into `out` (`size` bytes, cut to fit).
int32_t TVSM_RegisterTableGetString(const char* key, char* out, uint32_t size);
// Stores the first `length` bytes of `value`.
int32_t TVSM_RegisterTablePutString(const char* key, const char* value, uint32_t length);
int32_t TVSM_RegisterTableGetFloat(const char* key, float* out);
int32_t TVSM_RegisterTablePutFloat(const char* key, float value);
int32_t TVSM_RegisterTableRegisterValueChangeNotice(const char* key, int32_t flag);
int32_t TVSM_RegisterTableUnregisterValueChangeNotice(const char* key, int32_t flag);
