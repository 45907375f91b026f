// The option pop-ups outside the menus.
//
// NonMenuSystem::OptionDialogWithCaption (window 0x2000028): the hot-key
// pop-up of one option (picture mode, picture size, sound track, caption
// state...). It lists the option's choices as NonMenuSystem::OptionButton
// rows and applies a choice as soon as its row takes the focus: up and down
// move with wrap-around, the option's own hot key steps on, OK closes. It
// opens on the choice that is set and writes nothing while it is built or
// for the choice already set. An option without a record opens empty.
//
// NonMenuSystem::OptionDialog: a framed pop-up around a ListForm::OptionList;
// the chosen value is reported through OnValueChanged, then it closes. Back
// and its time-out close it without a choice.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "units/ListForm/OptionLists.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"

namespace OptionDatabase {
class OptionDataClass;
}

namespace NonMenuSystem {

class OptionButton : public SkinBin::Button {
  KV_CLASS(NonMenuSystem, OptionButton, SkinBin::Button)
 public:
  OptionButton();
};

class OptionDialogWithCaption : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, OptionDialogWithCaption, KXDWidgetClass)
 public:
  OptionDialogWithCaption();

  // The base initialisation, the option of a SkinBin::UserRefInt, then a
  // row per choice with the focus on the choice that is set.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;

  int32_t OnGetOptionType() const { return OptionType; }
  void OnSetOptionType(int32_t type) { OptionType = type; }
  int32_t OnGetCount() const { return Count; }
  // A row's focus slot: its choice becomes the option's value.
  void DoFocus(kv::Object* control);

  int32_t OptionType = 0;
  int32_t Count = 0;

 private:
  OptionDatabase::OptionDataClass* Record() const;
  // Moves the focus one row on (or back), wrapping, and restarts the time-out.
  void Step(bool forward);

  // The rows are being built: focus changes apply nothing.
  bool building_ = false;
  // The index of the choice the option holds (as last applied or read).
  int32_t appliedIndex_ = -1;
};

class OptionDialog : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, OptionDialog, KXDWidgetClass)
 public:
  OptionDialog();

  // The base initialisation; the parameter, owned by this dialog, then
  // initialises the list, and the dialog takes the list's size.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;

  int32_t OnGetOptionType() const { return OptionType; }
  void OnSetOptionType(int32_t type) { OptionType = type; }
  const kv::Slot& OnGetOnValueChanged() const { return OnValueChanged; }
  void OnSetOnValueChanged(const kv::Slot& slot) { OnValueChanged = slot; }
  // The list's value-changed slot: report, then close.
  void DoValueChange(kv::Object* sender = nullptr);

  ListForm::OptionList& List() { return list_; }

  kv::Slot OnValueChanged;
  int32_t OptionType = 0;

 private:
  ListForm::OptionList list_;
};

}  // namespace NonMenuSystem
