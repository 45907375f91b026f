#include "units/Channels/ChannelLockDialogs.h"

#include <algorithm>
#include <vector>

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/MenuSystemPages.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(Channels::ChannelLockDialog);
KV_REGISTER_CLASS(Channels::ChannelOptionDialog);

namespace Channels {

namespace {

using namespace keys;

constexpr uint32_t kButtonsHelpMask = 0x40300;
constexpr uint32_t kListHelpMask = 0x41300;
constexpr int32_t kButtonWidth = 120;
constexpr int32_t kButtonHeight = 27;
constexpr int32_t kTableHeight = 380;

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

void ButtonsHelp(ChannelsDialogClass* d) {
  NonMenuSystem::OptionBinding::ShowHelp(d, kButtonsHelpMask,
                                         {Text(Strings::SID_SELECT), Text(Strings::SID_ENTER), Text(Strings::SID_BACK)});
}

// Starts the embedded list with the dialog as its owner.
void StartList(ChannelsDialogClass* dialog, ListForm::ListClass* list) {
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = dialog;
  list->Initialize(p);
  list->Open();
  dialog->OnSetFocus(list);
}

void SetUpDialog(ChannelsDialogClass* d, const kv::String& caption, const kv::Class* prev) {
  d->WinID = WinIDs::WIN_ID_ChannelOptionDialog;
  d->IsShortcut = true;
  d->PrevState = prev;
  d->OnSetCaption(caption);
  d->OnSetFrameWidth(0);
  d->OnSetBounds({0, 0, kDialogWidth, kTableHeight});
}

}  // namespace

// --- TableControls ----------------------------------------------------------------

void TableControls::Build(ChannelsDialogClass* dialog, ListForm::ListClass* list,
                          std::initializer_list<Heading> heads, const kv::Slot& action) {
  list->FocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(dialog), &Primitives::KeyRoutingForm::ResetTimeout);
  list->OnExit = kv::MakeSlot<NonMenuSystem::WidgetClass>(dialog, &NonMenuSystem::WidgetClass::ClearAllSlot);
  dialog->Add(list);
  headingCount = 0;
  for (const Heading& head : heads) {
    if (headingCount >= 3) break;
    columns[headingCount] = head.column;
    Views::Text& h = headings[headingCount++];
    h.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    h.OnSetColor(Colors::InputLabelStandardTextColor);
    h.OnSetAlignV(1);
    h.OnSetEllipsis(true);
    h.OnSetString(Text(*head.text));
    dialog->Add(&h);
  }
  StyleButton(&all, Text(Strings::SID_ALL));
  StyleButton(&clear, Text(Strings::SID_CLEAR));
  all.OnActivate = action;
  clear.OnActivate = action;
  dialog->Add(&all);
  dialog->Add(&clear);
  last = &all;
  dialog->OnSetFocus(list);
}

void TableControls::Layout(ChannelsDialogClass* dialog, ListForm::ListClass* list) {
  const int32_t w = dialog->Bounds().W(), h = dialog->Bounds().H(), f = dialog->FrameWidth;
  const int32_t top = f + 7 + 30 + 8;
  const int32_t left = f + 14;
  all.OnSetBounds({left, top + 30, left + kButtonWidth, top + 30 + kButtonHeight});
  clear.OnSetBounds({left, top + 70, left + kButtonWidth, top + 70 + kButtonHeight});
  const int32_t listLeft = left + kButtonWidth + 14;
  list->OnSetBounds({listLeft, top + 26, w - f - 10, std::max(top + 26, h - f - 10)});
  std::vector<ListForm::ColumnHeading> placed;
  for (int32_t i = 0; i < headingCount; ++i) placed.push_back({&headings[i], columns[i]});
  ListForm::PlaceHeadings(*list, placed, top, top + 24);
}

bool TableControls::HandleKey(ChannelsDialogClass* dialog, ListForm::ListClass* list, uint16_t code, bool* moved) {
  *moved = false;
  Core::View* focus = dialog->OnGetFocus();
  switch (code) {
    case KEY_DOWN:
      if (focus == &all) dialog->OnSetFocus(&clear);
      return true;
    case KEY_UP:
      if (focus == &clear) dialog->OnSetFocus(&all);
      return true;
    case KEY_RIGHT:
      if (focus != list) {
        last = kv::Cast<SkinBin::Button>(focus);
        dialog->OnSetFocus(list);
        *moved = true;
      }
      return true;
    case KEY_LEFT:
      if (focus == list) {
        dialog->OnSetFocus(last.get() ? static_cast<Core::View*>(last.get()) : &all);
        *moved = true;
      }
      return true;
    default:
      return false;
  }
}

// --- ChannelLockDialog --------------------------------------------------------------

ChannelLockDialog::ChannelLockDialog() {
  SetUpDialog(this, Text(Strings::LocksMenuChannelLocks), KV_LATE_CLASS("MenuSystem::VidiLocksMenu"));
  controls_.Build(this, &list_,
                  {{&Strings::SID_CH_ABBREV, ListForm::ChannelColumns::kNumber},
                   {&Strings::SID_LABEL, ListForm::ChannelColumns::kLockLabel}},
                  kv::MakeSlot(this, &ChannelLockDialog::LockAllChannels));
  lockImage_.OnSetBitmap(Resources::LoadResource(Bitmaps::LockImage));
  Add(&lockImage_);
  ChannelLockDialog::Refresh();
}

void ChannelLockDialog::Refresh() {
  ChannelsDialogClass::Refresh();
  controls_.Layout(this, &list_);
  const kv::Rect b = controls_.all.Bounds();
  lockImage_.OnSetBounds({b.x1 + 48, b.y1 - 28, b.x1 + 72, b.y1 - 4});
}

void ChannelLockDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  ChannelsDialogClass::Initialize(param);
  StartList(this, &list_);
}

void ChannelLockDialog::HandleFocus(bool focused) {
  ChannelsDialogClass::HandleFocus(focused);
  if (focused) ButtonsHelp(this);
}

kv::Object* ChannelLockDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  bool moved = false;
  if (key && key->Down && controls_.HandleKey(this, &list_, key->Code, &moved)) {
    ResetTimeout();
    return this;
  }
  return ChannelsDialogClass::HandleEvent(event);
}

void ChannelLockDialog::LockAllChannels(kv::Object* sender) {
  list_.LockAllChannels(sender == &controls_.all);
  ResetTimeout();
}

void ChannelLockDialog::Close() {
  list_.Close();
  ChannelsDialogClass::Close();
}

// --- ChannelOptionDialog ------------------------------------------------------------

ChannelOptionDialog::ChannelOptionDialog() {
  SetUpDialog(this, Text(MenuSystemPages::SID_CHAN_OPTIONS), KV_LATE_CLASS("MenuSystem::VidiChannelsMenu"));
  controls_.Build(this, &list_,
                  {{&Strings::SID_CH_ABBREV, ListForm::ChannelColumns::kNumber},
                   {&Strings::SID_TYPE, ListForm::ChannelColumns::kOptionKind},
                   {&Strings::SID_LABEL, ListForm::ChannelColumns::kOptionLabel}},
                  kv::MakeSlot(this, &ChannelOptionDialog::EnableAllChannels));
  ChannelOptionDialog::Refresh();
}

void ChannelOptionDialog::Refresh() {
  ChannelsDialogClass::Refresh();
  controls_.Layout(this, &list_);
}

void ChannelOptionDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  ChannelsDialogClass::Initialize(param);
  StartList(this, &list_);
  UpdateHelp();
}

void ChannelOptionDialog::UpdateHelp() {
  if (OnGetFocus() == &list_)
    NonMenuSystem::OptionBinding::ShowHelp(
        this, kListHelpMask,
        {Text(Strings::SID_SELECT), Text(Strings::SID_ENTER), Text(Strings::SID_SKIP), Text(Strings::SID_BACK)});
  else
    ButtonsHelp(this);
}

void ChannelOptionDialog::HandleFocus(bool focused) {
  ChannelsDialogClass::HandleFocus(focused);
  if (focused) UpdateHelp();
}

kv::Object* ChannelOptionDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  bool moved = false;
  if (key && key->Down && controls_.HandleKey(this, &list_, key->Code, &moved)) {
    if (moved) UpdateHelp();
    ResetTimeout();
    return this;
  }
  return ChannelsDialogClass::HandleEvent(event);
}

void ChannelOptionDialog::EnableAllChannels(kv::Object* sender) {
  list_.EnableAllChannels(sender == &controls_.all);
  ResetTimeout();
}

void ChannelOptionDialog::Close() {
  list_.Close();
  ChannelsDialogClass::Close();
}

}  // namespace Channels
