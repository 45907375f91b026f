// Model selection: one software image, thirteen models, each a model id, a
// configuration number and a model group kept by the platform.
#include "factory/internal.h"
#include "platform/oam/oam_factory.h"
#include "platform/oam/oam_model.h"
#include "runtime/trace.h"

namespace factory {

namespace {

struct ModelRow {
  uint8_t modelId, configuration, group;
};
// g_ModelIdTable. The selecting code's data byte is the row's model id.
constexpr ModelRow g_ModelIdTable[] = {
    {33, 6, 3}, {34, 7, 3},  {35, 8, 3},  {49, 1, 1}, {50, 4, 1},  {51, 5, 1},  {68, 12, 0},
    {65, 0, 0}, {66, 2, 0},  {67, 3, 0},  {81, 9, 2}, {82, 10, 2}, {83, 11, 2},
};
constexpr int32_t kModels = static_cast<int32_t>(sizeof g_ModelIdTable / sizeof g_ModelIdTable[0]);

void factorySetModelInformation(int32_t index) {
  const ModelRow& m = g_ModelIdTable[index];
  (void)OAM_SetCustomizedProperty(18, m.modelId);
  (void)OAM_SetCustomizedProperty(19, m.configuration);
  if (BCM_SetModel(m.group) == 0)
    Console(Format("SET MODEL %u CONFIG %u GROUP %u", m.modelId, m.configuration, m.group));
  else
    Console("Failed to set model group index to TVM");
}

}  // namespace

int32_t SelectModelByCode(Context& c) {
  const auto id = static_cast<uint8_t>((c.code >> 8) & 0xFF);
  for (int32_t i = 0; i < kModels; ++i)
    if (g_ModelIdTable[i].modelId == id) factorySetModelInformation(i);
  return 1;
}

}  // namespace factory

int32_t ServiceSelectModel(int32_t index, int32_t /*idOffset*/) {
  if (index < 0 || index >= factory::kModels) {
    kv::Log(factory::Format("ServiceSelectModel: no model %d, refused", index));
    return 0;
  }
  factory::factorySetModelInformation(index);
  return 1;
}
