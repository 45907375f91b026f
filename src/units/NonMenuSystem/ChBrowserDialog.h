// The channel browser (window 0x2000012): a strip along the bottom of the
// picture holding one of the browser lists (history, channels, inputs,
// favourites, HDMI-CEC devices), with a banner of what is on screen: source
// icon, medium or source name, channel name or input label, channel number
// and the picture resolution. Up and down switch to the previous or next
// list kind, which is stored as the application setting behind the option
// OPTION_TYPE_CURRENT_CBLIST and so survives the dialog. A tune made from
// the dialog leaves it open: the acquisition reaches it on the focused chain
// and refreshes its banner line.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/ListForm/CBLists.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace Core {
class Event;
}

namespace NonMenuSystem {

// The list kinds: 0 history, 1 channels, 2 inputs, 3 favourites, 4 CEC
// devices, 5 and 6 further favourites.
inline constexpr int32_t kCBListKinds = 7;

class ChBrowserDialog : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, ChBrowserDialog, KXDWidgetClass)
 public:
  ChBrowserDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  // The open list closes with the dialog; an acquisition held back while
  // the dialog was open is handed on (the banner or notice follows).
  void Close() override;
  // While open the dialog shows what is acquired in its own banner line
  // (HandleAcquiredEvent): the acquisition's information banner, which would
  // take the dialog's layer, waits until it closes.
  bool HoldsAcquisition() override { return true; }

  // Closes the open list and opens one of the current kind.
  void CreateCBList(Primitives::KeyRoutingParameter* param);
  // The next (or previous) kind, wrapping; stored as the setting.
  void ToggleCBList(bool next);
  void UpdateBanner(kv::Object* sender = nullptr);
  void UpdateSourceImage(int32_t type);
  void HandleAcquiredEvent(Core::Event* event);

  ListForm::CBListClass* List() const { return list_.get(); }
  const kv::String& Medium() const { return medium_.OnGetString(); }
  const kv::String& Name() const { return name_.OnGetString(); }
  const kv::String& Number() const { return number_.OnGetString(); }
  bool NumberShown() { return number_.OnGetVisible(); }
  const kv::String& Resolution() const { return resolution_.OnGetString(); }
  const kv::String& KindCaption() const { return kind_.OnGetString(); }
  Resources::Bitmap* SourceIcon() { return icon_.OnGetBitmap(); }

  int32_t CBListCount = 0;
  int32_t CBListValue = 0;
  int32_t CBListIndex = 0;
  bool Initialized = false;

 private:
  // Reads count, value, index and caption from the option record.
  void ReadKind();

  kv::Member<ListForm::CBListClass> list_;
  Views::Image icon_;
  Views::Text medium_;
  Views::Text name_;
  Views::Text number_;
  Views::Text resolution_;
  Views::Text kind_;
};

}  // namespace NonMenuSystem
