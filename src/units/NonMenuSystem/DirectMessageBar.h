// NonMenuSystem::DirectMessageBar: the one-line notice over the picture: a
// framed bar with an optional alert icon and a wrapped text, window
// 0x2000009 on the top layer (256). A message type (1 to 50,
// Constants::DirectMsgType) alone decides the text, icon, size, place,
// time-out and follow-up (the table in the .cpp); some screens create a bar and set only its text (OnSetMessageInfo).
// The bar is not persistent: its time-out runs while another screen has the
// focus. A text too high for the bar grows it about its centre to the
// text's lines with 10 pixels of margin on each side, inside the frame's rim.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/Constants/MessageTypes.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/Image.h"
#include "units/Views/MultilineText.h"

namespace NonMenuSystem {

class DirectMessageBar : public WidgetClass {
  KV_CLASS(NonMenuSystem, DirectMessageBar, WidgetClass)
 public:
  DirectMessageBar();

  // The base initialisation, then the SkinBin::UserRefInt's value as the type.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // The base close, then the type's follow-up.
  void Close() override;

  void OnSetMessageType(int32_t type);
  int32_t OnGetMessageType() const { return MessageType; }
  // Sets the text and grows the bar about its centre to fit it.
  void OnSetMessageInfo(const kv::String& text);
  const kv::String& OnGetMessageInfo() const { return MessageInfo; }

  // True when the type answers keys of its own (a PIN notice closed by any
  // key, a notice that holds every key, a warning closed by OK): the bar
  // needs the keys. The no-signal notice, which only keeps Back and Exit
  // from live TV, and the types that leave keys to the base need none.
  bool AnswersKeys() const;
  // True when the type consumes every key while it shows (the cooling fan's
  // notice until the set is switched off, "Please wait...", the 3D signal's
  // and the update's end notices for their time).
  bool HoldsEveryKey() const;

  // The icon part (hidden, or the alert sign), for tests and callers.
  Views::Image& Icon() { return icon_; }
  Views::MultilineText& TextView() { return text_; }

  int32_t MessageType = 0;
  kv::String MessageInfo;

 private:
  // Sets the bar's size keeping its top-left corner.
  void Resize(int32_t w, int32_t h);
  void ShowAlert(bool atLeft);
  void HideIcon();
  // Moves a notice that would stand on the open channel browser's strip to
  // just above it.
  void KeepClearOfTheBrowser();
  kv::Object* HandleKey(uint16_t code);

  Views::MultilineText text_;
  Views::Image icon_;
  // The bar was grown around its text's lines (OnSetMessageInfo).
  bool fitted_ = false;
  // Its time-out closes it (and nothing more).
  bool closesItself_ = true;
};

}  // namespace NonMenuSystem
