// The system manager's register table (tvsm_register.h) over the Sim's
// persistent state: "reg.s.<key>" strings, "reg.f.<key>" floats,
// "reg.notice.<key>" registered change notices.
#include "platform/sim/sim_register.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/sim/sim.h"
#include "platform/tvsm/tvsm_register.h"
#include "runtime/trace.h"

namespace {

#define REG_ENTER(name, args)                                                    \
  sim::Sim* tv = sim::Sim::Current();                                           \
  if (auto fail = sim::EnterCall(name, args, TVSM_ERR_NOT_READY)) return *fail; \
  if (!tv) return TVSM_ERR_NOT_READY

// Keys go into the state file: printable text without '=' only.
bool GoodKey(const char* key) {
  if (!key || !*key || std::strlen(key) > TVSM_REGISTER_TEXT_MAX) return false;
  for (const char* p = key; *p; ++p)
    if (*p == '=' || static_cast<unsigned char>(*p) < 0x20) return false;
  return true;
}

// What a new set's system manager holds before anything writes the table.
struct RegisterDefault {
  const char* key;
  const char* value;
};
constexpr RegisterDefault kRegisterDefaults[] = {{"menu_language", "eng"}, {"locale", "en_US"}};

}  // namespace

namespace sim {

void ChangeRegisterValue(Sim& tv, const std::string& key, const std::string& value) {
  tv.SetState("reg.s." + key, value);
  if (RegisterNoticeOn(tv, key))
    tv.SendCommand(TVSM_CMD_REGISTER_VALUE_CHANGED, 0, key.c_str(), static_cast<uint32_t>(key.size()));
}

bool RegisterNoticeOn(Sim& tv, const std::string& key) { return tv.GetState("reg.notice." + key) == "1"; }

}  // namespace sim

int32_t TVSM_RegisterTableGetString(const char* key, char* out, uint32_t size) {
  REG_ENTER("TVSM_RegisterTableGetString", sim::Args(key, size));
  if (!GoodKey(key) || !out || size == 0) return TVSM_ERR_INVALID_PARAM;
  const std::string k = std::string("reg.s.") + key;
  std::string v;
  if (tv->StateWithPrefix(k).count(k) != 0) {
    v = tv->GetState(k);
  } else {
    const RegisterDefault* d = nullptr;
    for (const auto& e : kRegisterDefaults)
      if (std::strcmp(e.key, key) == 0) d = &e;
    if (!d) return TVSM_ERR_FAILED;
    v = d->value;
  }
  const size_t n = std::min<size_t>(v.size(), size - 1);
  std::memcpy(out, v.data(), n);
  out[n] = '\0';
  return TVSM_OK;
}

int32_t TVSM_RegisterTablePutString(const char* key, const char* value, uint32_t length) {
  REG_ENTER("TVSM_RegisterTablePutString", sim::Args(key, value, length));
  if (!GoodKey(key) || !value || length > TVSM_REGISTER_TEXT_MAX) return TVSM_ERR_INVALID_PARAM;
  std::string v(value, strnlen(value, length));
  if (v.find('\n') != std::string::npos) return TVSM_ERR_INVALID_PARAM;
  return tv->SetState(std::string("reg.s.") + key, v) ? TVSM_OK : TVSM_ERR_FAILED;
}

int32_t TVSM_RegisterTableGetFloat(const char* key, float* out) {
  REG_ENTER("TVSM_RegisterTableGetFloat", sim::Args(key));
  if (!GoodKey(key) || !out) return TVSM_ERR_INVALID_PARAM;
  const std::string v = tv->GetState(std::string("reg.f.") + key);
  if (v.empty()) return TVSM_ERR_FAILED;
  float f = 0;
  if (std::sscanf(v.c_str(), "%f", &f) != 1) {
    kv::Log("TVSM register table: bad float stored for " + kv::EscapedText(key));
    return TVSM_ERR_FAILED;
  }
  *out = f;
  return TVSM_OK;
}

int32_t TVSM_RegisterTablePutFloat(const char* key, float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  REG_ENTER("TVSM_RegisterTablePutFloat", sim::Args(key, std::string(text)));
  if (!GoodKey(key)) return TVSM_ERR_INVALID_PARAM;
  return tv->SetState(std::string("reg.f.") + key, text) ? TVSM_OK : TVSM_ERR_FAILED;
}

int32_t TVSM_RegisterTableRegisterValueChangeNotice(const char* key, int32_t flag) {
  REG_ENTER("TVSM_RegisterTableRegisterValueChangeNotice", sim::Args(key, flag));
  if (!GoodKey(key)) return TVSM_ERR_INVALID_PARAM;
  return tv->SetState(std::string("reg.notice.") + key, "1") ? TVSM_OK : TVSM_ERR_FAILED;
}

int32_t TVSM_RegisterTableUnregisterValueChangeNotice(const char* key, int32_t flag) {
  REG_ENTER("TVSM_RegisterTableUnregisterValueChangeNotice", sim::Args(key, flag));
  if (!GoodKey(key)) return TVSM_ERR_INVALID_PARAM;
  return tv->UpdateState({}, {std::string("reg.notice.") + key}) ? TVSM_OK : TVSM_ERR_FAILED;
}
