// Primitives::KeyRoutingCtrl: the base of every control of a key-routing
// screen (buttons, menu items, list rows, sliders, PIN entries).
//
// A key-down of ActivateKey (OK by default) signals OnActivate; gaining and
// losing the focus signal OnFocus and OnUnfocus. NextState names the screen
// class a menu item leads to. A control used as a row of a virtual list
// (Primitives::KeyRoutingListForm) receives its item through SetData.
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/object.h"
#include "runtime/slot.h"
#include "units/Forms/Ctrl.h"

namespace Core {
class Event;
}

namespace Primitives {

class KeyRoutingCtrl : public Forms::Ctrl {
  KV_CLASS(Primitives, KeyRoutingCtrl, Forms::Ctrl)
 public:
  KeyRoutingCtrl() = default;

  // A key-down whose code is ActivateKey signals OnActivate (sender: this
  // control) and is consumed; with an empty OnActivate the key goes on to
  // the control base. Every other event goes to the control base.
  kv::Object* HandleEvent(Core::Event* event) override;
  // Runs the control base, then signals OnFocus or OnUnfocus (sender: this control).
  void HandleFocus(bool focused) override;

  // Data exchange of a row of a virtual list. SetData gives the row the
  // item to show (null: no item); GetData answers what the row shows, written
  // into `data` when the row knows that record's class, else a record of its
  // own. The base keeps the object it was given and answers it.
  virtual void SetData(kv::Object* data);
  virtual kv::Object* GetData(kv::Object* data);

  uint16_t OnGetActivateKey() const { return ActivateKey; }
  void OnSetActivateKey(uint16_t key) { ActivateKey = key; }
  const kv::Class* OnGetNextState() const { return NextState; }
  void OnSetNextState(const kv::Class* cls) { NextState = cls; }
  int32_t OnGetPosition() const { return Position; }
  void OnSetPosition(int32_t position) { Position = position; }

  // Key code that activates the control.
  uint16_t ActivateKey = keys::KEY_OK;
  // Target screen class of the control (menu items), or null.
  const kv::Class* NextState = nullptr;
  // The control's position number (a list keeps its rows' positions).
  int32_t Position = 0;

  kv::Slot OnActivate;
  kv::Slot OnFocus;
  kv::Slot OnUnfocus;

 protected:
  // The item set by SetData.
  kv::Member<kv::Object> Data;
};

}  // namespace Primitives
