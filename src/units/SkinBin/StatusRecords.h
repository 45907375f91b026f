// Small records that the skin Wrapper fills from one middleware answer each:
// the channel in tune, the current audio service, the timeshift and USB-disk
// status and the model information.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace SkinBin {

// Codings of CurrentAudioServiceInfo.
inline constexpr int32_t AUDIO_CODING_DOLBY_DIGITAL = 3;
inline constexpr int32_t AUDIO_CODING_DOLBY_DIGITAL_PLUS = 4;

class CurrentChannelInfo : public kv::Object {
  KV_CLASS(SkinBin, CurrentChannelInfo, kv::Object)
 public:
  CurrentChannelInfo() = default;

  kv::String Name;
  int32_t Major = 0;
  int32_t Minor = 0;
  uint8_t IsDigital = 0;
  int32_t SignalStrength = 0;  // 0 to 100
  uint8_t ClosedCaption = 0;   // the channel carries captions
  uint8_t Excluded = 0;        // left out when surfing
  int32_t UsRating = 0;        // the programme's US rating word
  int32_t CanadianRating = 0;  // the programme's Canadian rating word
};

class CurrentAudioServiceInfo : public kv::Object {
  KV_CLASS(SkinBin, CurrentAudioServiceInfo, kv::Object)
 public:
  CurrentAudioServiceInfo() = default;

  bool IsDolby() const { return Coding == AUDIO_CODING_DOLBY_DIGITAL || Coding == AUDIO_CODING_DOLBY_DIGITAL_PLUS; }

  int32_t Coding = 0;     // 3 Dolby Digital, 4 Dolby Digital Plus
  int32_t AudioMode = 0;  // 1 mono, 2 stereo, 3-4 stereo with second audio, 5-8 multiple audio
  kv::String Language;
};

class TimeshiftStatus : public kv::Object {
  KV_CLASS(SkinBin, TimeshiftStatus, kv::Object)
 public:
  TimeshiftStatus() = default;

  // Two flag bytes and seven words of the middleware's answer; all zero when
  // it could not be read.
  uint8_t Active = 0;
  uint8_t Recording = 0;
  int32_t BufferedSeconds = 0;
  int32_t PositionSeconds = 0;  // from the buffer's start
  int32_t PlayRate = 0;
  int32_t PlayState = 0;
  int32_t IntervalMinutes = 0;
  int32_t StartTime = 0;  // network seconds of the buffer's start
  int32_t Tuner = 0;
};

class USBDiskStatus : public kv::Object {
  KV_CLASS(SkinBin, USBDiskStatus, kv::Object)
 public:
  USBDiskStatus() = default;

  uint8_t Mounted = 0;
  kv::String MountPoint;
  kv::String FileSystem;  // the disk's name text
  int64_t TotalKiB = 0;
  int64_t FreeKiB = 0;
};

class ModelInfo : public kv::Object {
  KV_CLASS(SkinBin, ModelInfo, kv::Object)
 public:
  ModelInfo() = default;

  int32_t Number = 0;
  kv::String Name;  // a fixed name when Type is 6
  kv::String Text2;
  int32_t Type = 0;
  kv::String Text3;
};

}  // namespace SkinBin
