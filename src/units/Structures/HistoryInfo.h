// Structures::HistoryInfo and the records it refers to: one entry of the list
// of recently used channels, inputs, HDMI-CEC devices and media.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/string.h"
#include "units/Structures/VirtualChannel.h"

namespace Structures {

// The kinds of history entry.
inline constexpr int32_t HISTORY_ITEM_TYPE_RF1 = 0;    // a channel of the tuner
inline constexpr int32_t HISTORY_ITEM_TYPE_NONRF = 1;  // an input
inline constexpr int32_t HISTORY_ITEM_TYPE_PHOTO = 2;
inline constexpr int32_t HISTORY_ITEM_TYPE_MUSIC = 3;
inline constexpr int32_t HISTORY_ITEM_TYPE_CEC = 4;    // an HDMI-CEC device
inline constexpr int32_t HISTORY_ITEM_TYPE_RF2 = 5;    // a channel of the second tuner source

class HistorySourceInfo : public kv::Object {
  KV_CLASS(Structures, HistorySourceInfo, kv::Object)
 public:
  HistorySourceInfo() = default;

  int32_t SourceId = 0;
  kv::String Label;
};

class HistoryChannelInfo : public kv::Object {
  KV_CLASS(Structures, HistoryChannelInfo, kv::Object)
 public:
  HistoryChannelInfo() = default;

  uint8_t IsDigital = 0;
  uint8_t AntCableIn = 0;  // 1 for the cable input
  int32_t SourceId = 0;
  kv::Member<VirtualChannel> Channel;
  kv::String Name;
};

class HistoryPhotoInfo : public kv::Object {
  KV_CLASS(Structures, HistoryPhotoInfo, kv::Object)
 public:
  HistoryPhotoInfo() = default;

  kv::String Title;
  int32_t Id = 0;
  kv::String Path;
};

class HistoryMusicInfo : public kv::Object {
  KV_CLASS(Structures, HistoryMusicInfo, kv::Object)
 public:
  HistoryMusicInfo() = default;

  kv::String Title;
  int32_t Id = 0;
  kv::String Path;
};

class HistoryCECInfo : public kv::Object {
  KV_CLASS(Structures, HistoryCECInfo, kv::Object)
 public:
  HistoryCECInfo() = default;

  int32_t LogicalAddress = 0;
  int32_t SourceId = 0;
  kv::String DeviceName;
};

// Only the record that matches Type is set.
class HistoryInfo : public kv::Object {
  KV_CLASS(Structures, HistoryInfo, kv::Object)
 public:
  HistoryInfo() = default;

  int32_t Type = HISTORY_ITEM_TYPE_RF1;
  kv::Member<HistorySourceInfo> SourceInfo;
  kv::Member<HistoryChannelInfo> ChannelInfo;
  kv::Member<HistoryPhotoInfo> PhotoInfo;
  kv::Member<HistoryMusicInfo> MusicInfo;
  kv::Member<HistoryCECInfo> CECInfo;
};

}  // namespace Structures
