#include "units/Overlay/PlaybackInfo.h"

#include <cstring>
#include <string>

#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/Overlay.h"

KV_REGISTER_CLASS(Overlay::PlaybackInfo);

namespace Overlay {

PlaybackInfo::PlaybackInfo() { Record.repeat = 1; }

kv::String PlaybackInfo::FormatTime(uint32_t seconds) const {
  const kv::String sep = kv::LoadString(TIME_SEPARATOR);
  kv::String text = kv::NewStringUInt(seconds / 3600, 2);
  text = kv::ConcatString(kv::ConcatString(text, sep), kv::NewStringUInt(seconds % 3600 / 60, 2));
  return kv::ConcatString(kv::ConcatString(text, sep), kv::NewStringUInt(seconds % 60, 2));
}

uint32_t PlaybackInfo::GetProgress() const {
  if (Record.duration == 0 || Record.elapsed >= Record.duration) {
    kv::Trace("%s%i%i", {kv::LoadString(T_NO_PROGRESS), static_cast<int32_t>(Record.elapsed),
                         static_cast<int32_t>(Record.duration)});
    return 0;
  }
  return static_cast<uint32_t>(uint64_t{Record.elapsed} * 100 / Record.duration);
}

void PlaybackInfo::SetTitle(const kv::String& title) {
  std::string text = title.ToUtf8();
  if (text.size() >= sizeof Record.title) text.resize(sizeof Record.title - 1);
  std::memset(Record.title, 0, sizeof Record.title);
  std::memcpy(Record.title, text.data(), text.size());
}

}  // namespace Overlay
