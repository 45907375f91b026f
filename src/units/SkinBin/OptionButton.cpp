#include "units/SkinBin/OptionButton.h"

#include "keys/keycodes.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/Resources/Bitmap.h"

namespace SkinBin {

using namespace keys;

KV_REGISTER_CLASS(SkinBin::OptionButton);

namespace {
}  // namespace

OptionButton::OptionButton() {
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::OptionButtonNonfocus));
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::OptionButtonFocus));
}

OptionDatabase::OptionDataClass* OptionButton::Record() const {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  return db ? db->GetOptionData(OptionType) : nullptr;
}

void OptionButton::OnSetOptionType(int32_t id) {
  OptionType = id;
  if (!Record()) Core::LogError("SkinBin::OptionButton: no option %u", {static_cast<uint32_t>(id)});
  RefreshOption();
}

void OptionButton::RefreshOption() {
  OptionDatabase::OptionDataClass* record = Record();
  if (!record) {
    Index = -1;
    OnSetText({});
    return;
  }
  record->Initialize();
  if (record->HasProperty()) record->Value = kv::OnGetInt32(record->RefValue);
  record->Val2Id();
  Index = record->Id;
  ShowCaption(record);
}

void OptionButton::ShowCaption(OptionDatabase::OptionDataClass* record) {
  record->GetData();
  auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get());
  OnSetText(courier ? courier->Caption : kv::String());
}

void OptionButton::ToggleOption(int32_t step) {
  OptionDatabase::OptionDataClass* record = Record();
  if (!record || record->Num <= 0) return;
  const int32_t n = record->Num;
  const int32_t from = Index < 0 || Index >= n ? 0 : Index;
  Index = ((from + step) % n + n) % n;
  record->Id = Index;
  record->Id2Value();
  if (record->HasProperty()) kv::OnSetInt32(record->RefValue, record->Value);
  ShowCaption(record);
}

kv::Object* OptionButton::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_LEFT || key->Code == KEY_RIGHT) && Record()) {
    ToggleOption(key->Code == KEY_RIGHT ? 1 : -1);
    return this;
  }
  return Button::HandleEvent(event);
}

}  // namespace SkinBin
