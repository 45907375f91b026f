// Operations of the launcher, services and recording files that the
// settings and power timers call, in their plain form until those files
// take them over (each removes its lines here).
#include <cstring>

#include "platform/tvsm/tvsm_register.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {

void Wrapper::StartAutoDemoTimer(kv::Object*) {}

void Wrapper::StopAutoDemoTimer(kv::Object*) {
  if (AutoDemoTimer) AutoDemoTimer->OnSetEnabled(false);
}

kv::String Wrapper::GetStringFromRegisterTable(const kv::String& key) {
  char k[TVSM_REGISTER_TEXT_MAX + 1];
  kv::StringToAnsi(key, k, sizeof k, '?');
  char out[TVSM_REGISTER_TEXT_MAX + 1] = {};
  if (kv::LogFailedCall("TVSM_RegisterTableGetString", TVSM_RegisterTableGetString(k, out, sizeof out)) != 0)
    return kv::String();
  return kv::NewStringAnsi(out);
}

void Wrapper::PutStringToRegisterTable(const kv::String& key, const kv::String& value) {
  char k[TVSM_REGISTER_TEXT_MAX + 1];
  char v[TVSM_REGISTER_TEXT_MAX + 1];
  kv::StringToAnsi(key, k, sizeof k, '?');
  kv::StringToAnsi(value, v, sizeof v, '?');
  kv::LogFailedCall("TVSM_RegisterTablePutString",
                    TVSM_RegisterTablePutString(k, v, static_cast<uint32_t>(std::strlen(v))));
}

int32_t Wrapper::GetLiveTVState(int32_t window) {
  int32_t state = 1;
  (void)window;
  return state;
}

}  // namespace SkinBin
