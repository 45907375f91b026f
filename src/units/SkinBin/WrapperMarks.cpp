// Option-change marks (one bit per picture mode and settings group, kept in
// the persistent data) and the slider ranges of the skin's Wrapper.
#include "platform/xpm/xpm_settings.h"
#include "runtime/string.h"
#include "strings/SkinBinWrapper.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/Wrapper.h"

namespace SkinBin {

using namespace ::SkinBinWrapper;

namespace {

enum class Group { kNone, kBasic, kAdvanced, kColor };

constexpr int32_t Id(int32_t module, int32_t index) {
  return static_cast<int32_t>(static_cast<uint32_t>(module) << 24 | static_cast<uint32_t>(index));
}

constexpr int32_t kManualTuningChannel = Id(0x83, 0);

bool In(int32_t index, std::initializer_list<int32_t> list) {
  for (int32_t i : list)
    if (i == index) return true;
  return false;
}

Group GroupOf(int32_t optionId) {
  const auto module = static_cast<int32_t>(static_cast<uint32_t>(optionId) >> 24);
  const int32_t index = optionId & 0xFFFFFF;
  switch (module) {
    case 1:
      if (In(index, {1, 2, 3, 6})) return Group::kBasic;
      if (In(index, {4, 5, 10, 11, 12, 13, 14, 15})) return Group::kColor;
      if (In(index, {8, 16, 17, 18, 19})) return Group::kAdvanced;
      return Group::kNone;
    case 0x81:
      if (In(index, {0, 1})) return Group::kBasic;
      if (In(index, {2, 5, 6, 7, 8, 9, 13, 14, 15, 19, 20, 25, 26, 29, 30, 31})) return Group::kAdvanced;
      return Group::kNone;
    case 0x87:
      return index <= 17 ? Group::kAdvanced : Group::kNone;
    default:
      return Group::kNone;
  }
}

// Backlight, colour, tint, sharpness, dynamic contrast, super resolution,
// and their skin variants: the options that change the light.
bool AffectsLight(int32_t optionId) {
  switch (optionId) {
    case Id(1, 1): case Id(1, 4): case Id(1, 5): case Id(1, 6): case Id(1, 0x11): case Id(1, 0x12):
    case Id(0x81, 1): case Id(0x81, 7): case Id(0x81, 0x19): case Id(0x81, 0x1D):
      return true;
    default:
      return false;
  }
}

kv::TextId GroupName(Group g) {
  switch (g) {
    case Group::kBasic: return GROUP_BASIC_PICTURE;
    case Group::kAdvanced: return GROUP_ADVANCED_PICTURE;
    default: return GROUP_COLOR;
  }
}

bool Same(kv::TextId a, kv::TextId b) { return a.block == b.block && a.index == b.index; }

bool KnownGroup(kv::TextId group) {
  return Same(group, GROUP_BASIC_PICTURE) || Same(group, GROUP_ADVANCED_PICTURE) || Same(group, GROUP_COLOR);
}

kv::String MarkKey(kv::TextId group) {
  return kv::ConcatString(kv::LoadString(KEY_OPTION_CHANGE_PREFIX), kv::LoadString(group));
}

}  // namespace

void Wrapper::SetOptionChange(kv::TextId group, bool changed) {
  if (!Store() || !KnownGroup(group)) return;
  const kv::String key = MarkKey(group);
  const int32_t marks = Store()->GetInteger(key);
  const uint32_t bit = 1u << (static_cast<uint32_t>(OnGetVideoPreset()) % 32);
  const auto next = static_cast<int32_t>(changed ? static_cast<uint32_t>(marks) | bit : static_cast<uint32_t>(marks) & ~bit);
  if (next != marks) Store()->PutInteger(key, next);
}

bool Wrapper::IsOptionChanged(kv::TextId group) {
  if (!Store() || !KnownGroup(group)) return false;
  const uint32_t bit = 1u << (static_cast<uint32_t>(OnGetVideoPreset()) % 32);
  return (static_cast<uint32_t>(Store()->GetInteger(MarkKey(group))) & bit) != 0;
}

void Wrapper::MarkOptionChange(int32_t optionId) {
  if (!Store()) return;
  const Group g = GroupOf(optionId);
  if (g != Group::kNone) SetOptionChange(GroupName(g), true);
  if (AffectsLight(optionId)) ForceApplyGlowSync();
}

AdjustBarRange Wrapper::GetAdjustBarRange(int32_t optionId, AdjustBarRange range) {
  if (optionId == kManualTuningChannel) {
    if (OnGetAntCableIn() == 1) range.Min = 1, range.Max = 135;
    else range.Min = 2, range.Max = 69;
  }
  return range;
}

}  // namespace SkinBin
