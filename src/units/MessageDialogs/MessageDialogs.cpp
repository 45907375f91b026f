#include "units/MessageDialogs/MessageDialogs.h"

#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/MessageDialogs.h"

KV_REGISTER_CLASS(MessageDialogs::Dialog);
KV_REGISTER_CLASS(MessageDialogs::MediaDialog);
KV_REGISTER_CLASS(MessageDialogs::MediaErrorDialog);
KV_REGISTER_CLASS(MessageDialogs::MediaInvalidFileFormatDialog);
KV_REGISTER_CLASS(MessageDialogs::MediaNotSuppAudioCodecDialog);
KV_REGISTER_CLASS(MessageDialogs::MediaNotSuppAudioSampDialog);
KV_REGISTER_CLASS(MessageDialogs::MediaNotSuppAudioBitRateDialog);
KV_REGISTER_CLASS(MessageDialogs::MediaEvent);

namespace MessageDialogs {

MediaEvent* MediaEvent::Initialize(const kv::Class* type, int32_t code, int32_t subCode, const kv::String& text) {
  kv::Trace("%s%s%i%i%s", {kv::LoadString(T_MEDIA_EVENT), kv::String::FromUtf8(type ? type->name : ""), code,
                           subCode, text});
  Type = type;
  Code = code;
  SubCode = subCode;
  String0 = text;
  return this;
}

}  // namespace MessageDialogs
