#include "units/NonMenuSystem/OptionDialogs.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::OptionButton);
KV_REGISTER_CLASS(NonMenuSystem::OptionDialogWithCaption);
KV_REGISTER_CLASS(NonMenuSystem::OptionDialog);

namespace NonMenuSystem {

namespace {
using namespace keys;

constexpr int32_t kButtonW = 180;
constexpr int32_t kButtonH = 27;
// The list pop-up's layer.
constexpr uint32_t kOptionDialogLayer = 256;

// The option each hot key steps through while its pop-up shows.
bool IsOwnHotKey(uint16_t code, int32_t option) {
  using namespace SkinBin;
  switch (code) {
    case KEY_CC: return option == OPTION_TYPE_CLOSED_CAPTION_STATE;
    case KEY_PICTURE_SIZE: return option == OPTION_TYPE_PICTURE_SIZE;
    case KEY_AUDIO: return option == OPTION_TYPE_MTS_KEY;
    default: return false;
  }
}
}  // namespace

// --- OptionButton --------------------------------------------------------------------

OptionButton::OptionButton() {
  OnSetBounds({0, 0, kButtonW, kButtonH});
  OnSetNonfocused_BackgroundBitmap(nullptr);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus));
}

// --- OptionDialogWithCaption -----------------------------------------------------------

OptionDialogWithCaption::OptionDialogWithCaption() {
  KeyRoutingForm::OnSetBounds({0, 0, 276, 210});
  WidgetOrigin = {60, 60};
  WinID = WinIDs::WIN_ID_PictureSizeDialog;
  OnSetCaption(kv::GetVariantOfString(PictureMenuViewMode));
  OnSetFrameWidth(0);
}

OptionDatabase::OptionDataClass* OptionDialogWithCaption::Record() const {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  return db ? db->GetOptionData(OptionType) : nullptr;
}

void OptionDialogWithCaption::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) OptionType = ref->Value;
  // A reused pop-up starts again from no rows.
  for (Forms::Ctrl* row = GetFirstCtrl(); row;) {
    Forms::Ctrl* next = GetNextCtrl(row);
    if (kv::Cast<OptionButton>(row)) Remove(row);
    row = next;
  }
  Count = 0;
  appliedIndex_ = -1;
  OptionDatabase::OptionDataClass* record = Record();
  if (record) {
    record->Initialize();
    OnSetCaption(record->Name);
    Count = record->Num > 0 ? record->Num : 0;
  } else {
    Core::LogError("%s%u", {kv::LoadString(T_NO_OPTION), static_cast<uint32_t>(OptionType)});
  }
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x2, b.y1 + 2 * FrameWidth + kButtonH * Count + 64});
  if (!record) return;

  // The rows are built with the record's index as its Initialize left it;
  // nothing is applied while they are added and focused.
  const int32_t current = record->Id;
  building_ = true;
  for (int32_t i = 0; i < Count; ++i) {
    auto* button = kv::New<OptionButton>();
    button->OnFocus = kv::MakeSlot(this, &OptionDialogWithCaption::DoFocus);
    record->Id = i;
    record->GetData();
    if (auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get()))
      button->OnSetText(courier->Caption);
    Add(button);
  }
  record->Id = current;
  if (record->HasProperty()) {
    record->Value = kv::OnGetInt32(record->RefValue);
    record->Val2Id();
  }
  if (record->Id >= 0 && record->Id < Count) {
    appliedIndex_ = record->Id;
    OnSetFocus(GetCtrlAt(record->Id));
  }
  building_ = false;
  Refresh();
}

void OptionDialogWithCaption::Refresh() {
  KXDWidgetClass::Refresh();
  const int32_t top = caption_.Bounds().y2 + 10;
  int32_t i = 0;
  for (Forms::Ctrl* row = GetFirstCtrl(); row; row = GetNextCtrl(row)) {
    if (!kv::Cast<OptionButton>(row)) continue;
    const int32_t x = FrameWidth + 14;
    const int32_t y = top + i * kButtonH;
    row->OnSetBounds({x, y, x + kButtonW, y + kButtonH});
    ++i;
  }
}

void OptionDialogWithCaption::DoFocus(kv::Object* control) {
  auto* button = kv::Cast<OptionButton>(control);
  if (building_ || !button) return;
  const int32_t index = GetIndexOf(button);
  OptionDatabase::OptionDataClass* record = Record();
  if (!record || index < 0 || index == appliedIndex_) return;
  appliedIndex_ = index;
  record->Id = index;
  record->Id2Value();
  if (!record->HasProperty() || kv::OnGetInt32(record->RefValue) == record->Value) return;
  // A picture size keeps the preferred-mode bits, as the size dialog does.
  kv::OnSetInt32(record->RefValue, OptionType == SkinBin::OPTION_TYPE_PICTURE_SIZE
                                       ? OptionBinding::PictureSizeWithPreferredBits(record->Value)
                                       : record->Value);
}

void OptionDialogWithCaption::Step(bool forward) {
  ResetTimeout();
  if (Count <= 0) return;
  auto* focus = kv::Cast<Forms::Ctrl>(OnGetFocus());
  Forms::Ctrl* to = nullptr;
  if (focus) to = forward ? GetNextCtrl(focus) : GetPrevCtrl(focus);
  if (!to) to = forward ? GetFirstCtrl() : GetLastCtrl();
  if (to && to != focus) OnSetFocus(to);
}

kv::Object* OptionDialogWithCaption::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KXDWidgetClass::HandleEvent(event);
  switch (key->Code) {
    case KEY_DOWN:
      Step(true);
      return this;
    case KEY_UP:
      Step(false);
      return this;
    case KEY_OK:
      Post(&WidgetClass::ExitSlot);
      return this;
    case KEY_AUDIO:
    case KEY_CC:
    case KEY_PICTURE_SIZE:
      if (!IsOwnHotKey(key->Code, OptionType)) return nullptr;
      Step(true);
      return this;
    default:
      return KXDWidgetClass::HandleEvent(event);
  }
}

// --- OptionDialog ---------------------------------------------------------------------

OptionDialog::OptionDialog() {
  KeyRoutingForm::OnSetBounds({0, 0, 290, 270});
  OnTimeOut = kv::MakeSlot<WidgetClass>(this, &WidgetClass::ExitSlot);
  Layer = kOptionDialogLayer;
  OnSetFrameWidth(0);
  OnSetHasCaption(false);
  list_.OnSetBounds({50, 50, 270, 222});
  list_.OnValueChanged = kv::MakeSlot(this, &OptionDialog::DoValueChange);
  Add(&list_);
  OnSetFocus(&list_);
}

void OptionDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  if (param) {
    param->Owner = this;
    list_.Initialize(param);
  }
  OptionType = list_.OptionType;
  const kv::Rect l = list_.Bounds();
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x1 + l.W() + 2 * FrameWidth, b.y1 + l.H() + 2 * FrameWidth + 28});
}

void OptionDialog::Refresh() {
  KXDWidgetClass::Refresh();
  const kv::Rect l = list_.Bounds();
  list_.OnSetBounds(kv::Rect{0, 0, l.W(), l.H()}.MoveTo({FrameWidth, FrameWidth + 14}));
}

kv::Object* OptionDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == KEY_BACK) {
    Post(&WidgetClass::ExitSlot);
    return this;
  }
  return KXDWidgetClass::HandleEvent(event);
}

void OptionDialog::DoValueChange(kv::Object*) {
  kv::Signal(OnValueChanged, this);
  Close();
}

}  // namespace NonMenuSystem
