#include "units/MediaPlayer/SelectedParam.h"

#include "units/Events/StatusEvent.h"

KV_REGISTER_CLASS(MediaPlayer::SelectedParam);

namespace MediaPlayer {

SelectedParam::SelectedParam(kv::Object* from) {
  if (auto* status = kv::Cast<Events::StatusEvent>(from)) Medium = status->SubCode2;
}

SelectedParam* SelectedParam::Make(int32_t medium, int32_t index, const kv::Class* prev, const kv::String& name) {
  auto* p = kv::New<SelectedParam>();
  p->Medium = medium;
  p->Index = index;
  p->PrevClass = prev;
  p->Name = name;
  return p;
}

}  // namespace MediaPlayer
