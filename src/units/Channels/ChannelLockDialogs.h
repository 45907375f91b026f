// The channel lock and channel option dialogs: two buttons at the left (All,
// Clear) that apply one attribute to every channel, and the channel list at
// the right that does the per-channel work (ListForm::ChannelLockList,
// ListForm::ChannelOptionList). Right moves from a button into the list
// (remembering the button), left back to the remembered button; up and down
// move between the buttons. Every change reaches the middleware at once.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "units/Channels/ChannelsDialog.h"
#include "units/ListForm/ChannelLists.h"
#include "units/ListForm/RowColumns.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Image.h"

namespace Channels {

// The two buttons and the column headings of a channel table dialog (held
// by value in the dialog).
struct TableControls {
  SkinBin::Button all;
  SkinBin::Button clear;
  // The button the focus returns to from the list.
  kv::Member<SkinBin::Button> last;
  Views::Text headings[3];
  ListForm::RowColumn columns[3];  // the column of the list's rows each heading stands over
  int32_t headingCount = 0;

  struct Heading {
    const kv::MultiTextId* text;
    ListForm::RowColumn column;
  };
  // Adds list, headings and buttons to `dialog` (the list focused); both
  // buttons run `action`.
  void Build(ChannelsDialogClass* dialog, ListForm::ListClass* list, std::initializer_list<Heading> heads,
             const kv::Slot& action);
  // Buttons at the left, headings and list to their right.
  void Layout(ChannelsDialogClass* dialog, ListForm::ListClass* list);
  // Keys 4 to 7 (see above); true when the key is one of them. `moved`
  // tells whether the focus changed between list and buttons.
  bool HandleKey(ChannelsDialogClass* dialog, ListForm::ListClass* list, uint16_t code, bool* moved);
};

class ChannelLockDialog : public ChannelsDialogClass {
  KV_CLASS(Channels, ChannelLockDialog, ChannelsDialogClass)
 public:
  ChannelLockDialog();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void Close() override;
  void Refresh() override;
  // All locks every channel, Clear unlocks every channel.
  void LockAllChannels(kv::Object* sender);

  SkinBin::Button* OnGetLastFocused() const { return controls_.last.get(); }
  void OnSetLastFocused(SkinBin::Button* b) { controls_.last = b; }
  ListForm::ChannelLockList& List() { return list_; }
  SkinBin::Button& AllButton() { return controls_.all; }
  SkinBin::Button& ClearButton() { return controls_.clear; }

 private:
  ListForm::ChannelLockList list_;
  TableControls controls_;
  Views::Image lockImage_;
};

class ChannelOptionDialog : public ChannelsDialogClass {
  KV_CLASS(Channels, ChannelOptionDialog, ChannelsDialogClass)
 public:
  ChannelOptionDialog();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void Close() override;
  void Refresh() override;
  // All puts every channel into the ring, Clear takes every one out.
  void EnableAllChannels(kv::Object* sender);
  // The list's help while the list has the focus, else the buttons'.
  void UpdateHelp();

  SkinBin::Button* OnGetLastFocused() const { return controls_.last.get(); }
  void OnSetLastFocused(SkinBin::Button* b) { controls_.last = b; }
  ListForm::ChannelOptionList& List() { return list_; }
  SkinBin::Button& AllButton() { return controls_.all; }
  SkinBin::Button& ClearButton() { return controls_.clear; }

 private:
  ListForm::ChannelOptionList list_;
  TableControls controls_;
};

}  // namespace Channels
