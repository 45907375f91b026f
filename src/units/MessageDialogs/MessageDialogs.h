// The media error dialogs the media service may name (invalid file format,
// unsupported audio codec, sample rate or bit rate) and the event that names
// one. No screen of ours opens them: they carry no content and their methods
// do nothing; a MessageDialogs::MediaEvent dispatched to the root is left
// unconsumed.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/Core/Event.h"
#include "units/Forms/Form.h"

namespace MessageDialogs {

class Dialog : public Forms::Form {
  KV_CLASS(MessageDialogs, Dialog, Forms::Form)
 public:
  void ParseEvent() {}
  void Open() {}
  void Close() {}
  void OkSlot(kv::Object* /*sender*/) {}
};

KV_NAMED_CLASS(MessageDialogs, MediaDialog, Dialog);
KV_NAMED_CLASS(MessageDialogs, MediaErrorDialog, MediaDialog);
KV_NAMED_CLASS(MessageDialogs, MediaInvalidFileFormatDialog, MediaErrorDialog);
KV_NAMED_CLASS(MessageDialogs, MediaNotSuppAudioCodecDialog, MediaErrorDialog);
KV_NAMED_CLASS(MessageDialogs, MediaNotSuppAudioSampDialog, MediaErrorDialog);
KV_NAMED_CLASS(MessageDialogs, MediaNotSuppAudioBitRateDialog, MediaErrorDialog);

class MediaEvent : public Core::Event {
  KV_CLASS(MessageDialogs, MediaEvent, Core::Event)
 public:
  // Traced; stores the dialog class (a MediaDialog descendant, as the caller
  // guarantees), code, sub-code and the text into String0.
  MediaEvent* Initialize(const kv::Class* type, int32_t code, int32_t subCode, const kv::String& text);

  const kv::Class* OnGetType() const { return Type; }
  void OnSetType(const kv::Class* t) { Type = t; }
  int32_t OnGetCode() const { return Code; }
  void OnSetCode(int32_t c) { Code = c; }
  int32_t OnGetSubCode() const { return SubCode; }
  void OnSetSubCode(int32_t c) { SubCode = c; }
  const kv::String& OnGetString0() const { return String0; }
  void OnSetString0(const kv::String& s) { String0 = s; }
  const kv::String& OnGetString1() const { return String1; }
  void OnSetString1(const kv::String& s) { String1 = s; }

  const kv::Class* Type = nullptr;
  int32_t Code = 0;
  int32_t SubCode = 0;
  kv::String String0;
  kv::String String1;
};

}  // namespace MessageDialogs
