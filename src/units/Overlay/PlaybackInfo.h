// Overlay::PlaybackInfo: the playback position the media service fills in
// place (PslGuiPlaybackGetInfo through the bridge's GetPlaybackInfo): the
// service's plain record embedded as it is (item position known, repeat,
// media kind, navigation status, elapsed and total seconds, items, current
// item counted from 1, rate, the title in UTF-8), with the banners' helpers.
#pragma once

#include <cstdint>

#include "platform/psl/psl.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace Overlay {

class PlaybackInfo : public kv::Object {
  KV_CLASS(Overlay, PlaybackInfo, kv::Object)
 public:
  PlaybackInfo();

  // "hh<sep>mm<sep>ss", each part at least two digits (hours may have more).
  kv::String FormatTime(uint32_t seconds) const;
  // elapsed x 100 / total, truncated; 0 (traced) without a total or at its end.
  uint32_t GetProgress() const;

  kv::String Title() const { return kv::String::FromUtf8(Record.title); }
  void SetTitle(const kv::String& title);

  PslPlaybackInfo Record{};
};

}  // namespace Overlay
