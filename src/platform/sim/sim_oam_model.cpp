// The set's identity, power LED and customized properties (oam_model.h),
// and the board calls of the factory exit, over the Sim's persistent state:
// "oam.model.<field>", "oam.led", "oam.custom.<id>", "oam.console_print",
// "gpio.<pin>".
#include <cstring>
#include <string>

#include "platform/oam/oam_model.h"
#include "platform/sim/sim.h"

namespace {

#define MODEL_ENTER(name, args)                                                 \
  sim::Sim* tv = sim::Sim::Current();                                          \
  if (auto fail = sim::EnterCall(name, args, OAM_ERR_NOT_READY)) return *fail; \
  if (!tv) return OAM_ERR_NOT_READY

int32_t StoredInt(sim::Sim* tv, const std::string& key, int32_t fallback) {
  const std::string v = tv->GetState(key);
  char* end = nullptr;
  const long n = std::strtol(v.c_str(), &end, 10);
  return v.empty() || *end ? fallback : static_cast<int32_t>(n);
}

void CopyText(char* out, size_t size, const std::string& text) {
  std::memset(out, 0, size);
  std::memcpy(out, text.data(), std::min(text.size(), size - 1));
}

}  // namespace

int32_t OAM_GetModelInfo(OAM_ModelInfo* info) {
  MODEL_ENTER("OAM_GetModelInfo", "");
  if (!info) return OAM_ERR_INVALID_PARAM;
  info->number = StoredInt(tv, "oam.model.number", 4201);
  CopyText(info->name, sizeof info->name, tv->GetState("oam.model.name", "SIM-42"));
  CopyText(info->text2, sizeof info->text2, tv->GetState("oam.model.text2", "panel-42"));
  info->type = StoredInt(tv, "oam.model.type", 1);
  CopyText(info->text3, sizeof info->text3, tv->GetState("oam.model.text3", "rev-A"));
  return OAM_OK;
}

int32_t OAM_Led_SetState(int32_t state) {
  MODEL_ENTER("OAM_Led_SetState", sim::Args(state));
  return tv->SetState("oam.led", std::to_string(state)) ? OAM_OK : OAM_ERR_FAILED;
}

int32_t OAM_GetCustomizedProperty(int32_t id, int32_t* value) {
  MODEL_ENTER("OAM_GetCustomizedProperty", sim::Args(id));
  if (!value) return OAM_ERR_INVALID_PARAM;
  *value = StoredInt(tv, "oam.custom." + std::to_string(id), 0);
  return OAM_OK;
}

int32_t OAM_SetCustomizedProperty(int32_t id, int32_t value) {
  MODEL_ENTER("OAM_SetCustomizedProperty", sim::Args(id, value));
  return tv->SetState("oam.custom." + std::to_string(id), std::to_string(value)) ? OAM_OK : OAM_ERR_FAILED;
}

int32_t BCM_ControlPrintf(int32_t on) {
  MODEL_ENTER("BCM_ControlPrintf", sim::Args(on));
  return tv->SetState("oam.console_print", std::to_string(on)) ? OAM_OK : OAM_ERR_FAILED;
}

int32_t MPLCore_GpioSetPin(int32_t pin, int32_t value) {
  MODEL_ENTER("MPLCore_GpioSetPin", sim::Args(pin, value));
  if (pin < 0) return OAM_ERR_INVALID_PARAM;
  return tv->SetState("gpio." + std::to_string(pin), std::to_string(value)) ? OAM_OK : OAM_ERR_FAILED;
}
