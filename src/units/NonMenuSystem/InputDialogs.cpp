#include "units/NonMenuSystem/InputDialogs.h"

#include <algorithm>
#include <vector>

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/Group.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/Structures/Message.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::ExternalInputDialog);
KV_REGISTER_CLASS(NonMenuSystem::CecInputDialog);
KV_REGISTER_CLASS(NonMenuSystem::InputLabelingDialog);

namespace NonMenuSystem {

namespace {

// Pixels a missing row takes on top of the list's row interval.
constexpr int32_t kInputRowPitch = 28;
constexpr int32_t kLabelRowPitch = 26;
constexpr uint32_t kLabelHelpMask = 0x43004;
constexpr int32_t kCecFrameHeight = 7;
// The labelling table's columns.
constexpr int32_t kColumnX[] = {20, 174, 313};
constexpr int32_t kHeadingHeight = 26;
// Half the widest room of the "Skip" heading over the check boxes.
constexpr int32_t kSkipHeadingHalf = 50;

Agent::MessageAgent* Agent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }

// A start-up parameter whose owner is `dialog`, carrying `param`'s value.
Primitives::KeyRoutingParameter* ParamFor(Primitives::KeyRoutingForm* dialog, Primitives::KeyRoutingParameter* param) {
  auto* p = kv::New<Primitives::KeyRoutingParameter>();
  p->Owner = dialog;
  if (param) p->Param = param->Param.get();
  return p;
}

// Starts an embedded list: initialised with the dialog as its owner, open
// in it and focused.
void StartList(Primitives::KeyRoutingForm* dialog, ListForm::ListClass* list, Primitives::KeyRoutingParameter* param) {
  list->Initialize(ParamFor(dialog, param));
  list->Open();
  dialog->OnSetFocus(list);
}

// Height from the designed one: each row the list lacks takes
// (interval + pitch) pixels.
void ShrinkTo(Primitives::KeyRoutingForm* dialog, int32_t width, int32_t height, const ListForm::ListClass& list,
              int32_t pitch) {
  const kv::Rect b = dialog->Bounds();
  const int32_t h = ShrunkHeight(height, list.MaxRows, list.ItemNum, list.ItemInterval + pitch);
  dialog->OnSetBounds({b.x1, b.y1, b.x1 + width, b.y1 + h});
}

}  // namespace

int32_t ShrunkHeight(int32_t height, int32_t max, int32_t count, int32_t pitch) {
  const int32_t missing = std::max(0, max - std::max(0, count));
  return std::max(0, height - missing * pitch);
}

// --- ExternalInputDialog -------------------------------------------------------------

ExternalInputDialog::ExternalInputDialog() {
  WinID = WinIDs::WIN_ID_ExternalInputDialog;
  WidgetOrigin = {60, 60};
  OnSetFrameWidth(0);
  OnSetBounds({0, 0, kWidth, kHeight});
  OnSetCaption(kv::GetVariantOfString(Strings::SID_INPUTS));
  list_.FocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
  list_.OnExit = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ExitSlot);
  Add(&list_);
  OnSetFocus(&list_);
  ExternalInputDialog::Refresh();
}

void ExternalInputDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  StartList(this, &list_, param);
  ShrinkTo(this, kWidth, kHeight, list_, kInputRowPitch);
  if (Agent::MessageAgent* agent = Agent()) agent->Register(this);
}

void ExternalInputDialog::HandleMessage(Structures::Message* msg) {
  KXDWidgetClass::HandleMessage(msg);
  if (!msg || msg->Code != Constants::MSG_EVENT_CACHED) return;
  auto* event = kv::Cast<Core::Event>(msg->ObjParam.get());
  if (!event) return;
  // A key handed back by the device list: the inputs take the focus again.
  if (kv::Cast<Core::KeyEvent>(event) && IsOpen())
    if (Core::Group* owner = Owner()) owner->OnSetFocus(this);
  DispatchEvent(event);
}

void ExternalInputDialog::Close() {
  KXDWidgetClass::Close();
  if (Agent::MessageAgent* agent = Agent()) agent->UnRegister(this);
}

void ExternalInputDialog::Refresh() {
  KXDWidgetClass::Refresh();
  // 11 pixels in from the caption's left edge, 6 below the caption line.
  const int32_t x = FrameWidth + 11;
  const int32_t y = FrameWidth + 7 + 30 + 6;
  list_.OnSetBounds({x, y, Bounds().W() - x, std::max(y, Bounds().H() - 6)});
}

// --- CecInputDialog ----------------------------------------------------------------

CecInputDialog::CecInputDialog() {
  WinID = WinIDs::WIN_ID_CecInputDialog;
  WidgetOrigin = {378, 234};
  Layer = 64;
  OnSetBounds({0, 0, kWidth, kHeight});
  background_.OnSetVisible(false);
  top_.OnSetBitmap(Resources::LoadResource(Bitmaps::CECListTopFrame));
  bottom_.OnSetBitmap(Resources::LoadResource(Bitmaps::CECListBottomFrame));
  list_.FocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
  list_.OnExit = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ExitSlot);
  Add(&top_);
  Add(&bottom_);
  Add(&list_);
  OnSetFocus(&list_);
  CecInputDialog::Refresh();
}

void CecInputDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  StartList(this, &list_, param);
  ShrinkTo(this, kWidth, kHeight, list_, kInputRowPitch);
}

void CecInputDialog::Refresh() {
  WidgetClass::Refresh();
  const int32_t w = Bounds().W(), h = Bounds().H();
  const int32_t bottom = std::max(kCecFrameHeight, h - kCecFrameHeight);
  top_.OnSetBounds({0, 0, w, kCecFrameHeight});
  bottom_.OnSetBounds({0, bottom, w, bottom + kCecFrameHeight});
  background_.OnSetBounds({0, kCecFrameHeight, w, bottom});
  list_.OnSetBounds({0, kCecFrameHeight, w, bottom});
}

// --- InputLabelingDialog -------------------------------------------------------------

InputLabelingDialog::InputLabelingDialog() {
  WinID = WinIDs::WIN_ID_InputLabelingDialog;
  IsShortcut = true;
  PrevState = KV_LATE_CLASS("MenuSystem::VidiInputMenu");
  OnSetFrameWidth(0);
  OnSetBounds({0, 0, kWidth, kHeight});
  OnSetCaption(kv::GetVariantOfString(Strings::InputMenuInputLabels));
  int i = 0;
  for (Views::Text* heading : {&input_, &label_, &skip_}) {
    heading->OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    heading->OnSetColor(Colors::InputLabelStandardTextColor);
    heading->OnSetAlignV(1);
    heading->OnSetBounds({kColumnX[i], 0, kColumnX[i] + 120, kHeadingHeight});
    Add(heading);
    ++i;
  }
  input_.OnSetString(kv::GetVariantOfString(Strings::SID_INPUT));
  label_.OnSetString(kv::GetVariantOfString(Strings::SID_LABEL));
  skip_.OnSetString(kv::GetVariantOfString(Strings::SID_SKIP));
  skip_.OnSetAlignH(1);
  list_.FocusMove = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
  list_.OnExit = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ClearAllSlot);
  Add(&list_);
  OnSetFocus(&list_);
  InputLabelingDialog::Refresh();
}

void InputLabelingDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  StartList(this, &list_, param);
  ShrinkTo(this, kWidth, kHeight, list_, kLabelRowPitch);
  PlaceSkipHeading();
}

void InputLabelingDialog::Close() {
  list_.Close();
  KXDWidgetClass::Close();
}

void InputLabelingDialog::HandleFocus(bool focused) {
  KXDWidgetClass::HandleFocus(focused);
  ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!focused || !s) return;
  const kv::String sep = kv::LoadString(HELP_SEPARATOR);
  kv::String text;
  for (const kv::MultiTextId* id : {&Strings::SID_EDIT, &Strings::SID_SKIP, &Strings::SID_USER_INPUT, &Strings::SID_BACK}) {
    const kv::String part = kv::GetVariantOfString(*id);
    text = text.Empty() ? part : kv::ConcatString(kv::ConcatString(text, sep), part);
  }
  s->UpdateHelp(static_cast<int32_t>(kLabelHelpMask), text);
}

void InputLabelingDialog::Refresh() {
  KXDWidgetClass::Refresh();
  // The headings over the list's columns (128 and 156 wide), the list under them.
  const int32_t top = FrameWidth + 7 + 30 + 4;
  input_.OnSetBounds({kColumnX[0], top, kColumnX[0] + 128, top + kHeadingHeight});
  label_.OnSetBounds({kColumnX[1], top, kColumnX[1] + 156, top + kHeadingHeight});
  skip_.OnSetBounds({kColumnX[2], top, Bounds().W() - 10, top + kHeadingHeight});
  const int32_t y = top + kHeadingHeight;
  list_.OnSetBounds({0, y, Bounds().W(), std::max(y, Bounds().H() - 6)});
  PlaceSkipHeading();
}

void InputLabelingDialog::PlaceSkipHeading() {
  const std::vector<Forms::Ctrl*> rows = list_.GetAllRows();
  auto* row = rows.empty() ? nullptr : kv::Cast<ListForm::InputLabelingItem>(rows.front());
  if (!row) return;
  const kv::Rect box = row->CheckBoxBounds();
  const int32_t centre = list_.Bounds().x1 + row->Bounds().x1 + (box.x1 + box.x2) / 2;
  // As wide as the dialog lets it be on both sides of the boxes' centre.
  const int32_t half = std::max(1, std::min(kSkipHeadingHalf, Bounds().W() - 2 - centre));
  const kv::Rect h = skip_.Bounds();
  skip_.OnSetBounds({centre - half, h.y1, centre + half, h.y2});
}

}  // namespace NonMenuSystem
