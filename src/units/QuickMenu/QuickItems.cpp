#include "units/QuickMenu/QuickItems.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "strings/QuickMenu.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Fonts/Fonts.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Resources/Bitmap.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Wrapper.h"

KV_REGISTER_CLASS(QuickMenu::QuickMenuItem);
KV_REGISTER_CLASS(QuickMenu::QuickOptionItem);
KV_REGISTER_CLASS(QuickMenu::QuickOptionItemSelect);
KV_REGISTER_CLASS(QuickMenu::QuickSliderItem);
KV_REGISTER_CLASS(QuickMenu::QuickSliderItemSelect);
KV_REGISTER_CLASS(QuickMenu::ItemDataClass);
KV_REGISTER_CLASS(QuickMenu::ItemDataSource);
KV_AUTO_OBJECT(QuickMenu, QuickItemData, QuickMenu::ItemDataSource);

namespace QuickMenu {

using namespace keys;

namespace {

OptionDatabase::OptionDataClass* FindRecord(int32_t id) {
  if (id == 0) return nullptr;
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  OptionDatabase::OptionDataClass* record = db ? db->GetOptionData(id) : nullptr;
  if (!record) Core::LogError("QuickMenu: no option %u", {static_cast<uint32_t>(id)});
  return record;
}

Core::KeyEvent* KeyDown(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key : nullptr;
}
}  // namespace

// --- QuickMenuItem -----------------------------------------------------------------

QuickMenuItem::QuickMenuItem() {
  OnSetTextFont(Resources::LoadResource(Fonts::EPGListFont0));
  OnSetFocused_TextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetTextColor(Colors::StandardTextColor);
  OnSetFocused_TextColor(Colors::White);
  OnSetDisabled_TextColor(Colors::DisableTextColor);
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::EPG_ChanButtonFocus));
  OnSetTextAlignH(0);
  // A caption too long for its room ends in "...".
  OnSetTextEllipsis(true);
  OnSetBounds({0, 0, kRowWidth, kRowHeight});
}

void QuickMenuItem::Refresh() {
  IconButton::Refresh();
  const kv::Rect b = Bounds();
  TextView().OnSetBounds({15, 3, b.W(), b.H() - 3});
}

OptionDatabase::OptionDataClass* QuickMenuItem::Record() { return FindRecord(OptionType); }

kv::Object* QuickMenuItem::HandleValueKeys(Core::Event* event) {
  Core::KeyEvent* key = KeyDown(event);
  if (!key) return nullptr;
  if (key->Code == KEY_OK) return this;
  if (key->Code != KEY_LEFT && key->Code != KEY_RIGHT) return nullptr;
  if (!OnGetIsDisabled()) kv::Signal(OnActivate, this);
  return this;
}

// --- QuickOptionItem ---------------------------------------------------------------

QuickOptionItem::QuickOptionItem() {
  ActivateKey = KEY_NONE;
  valueText_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont0));
  valueText_.OnSetColor(Colors::StandardTextColor);
  valueText_.OnSetAlignH(1);
  valueText_.OnSetAlignV(1);
  valueText_.OnSetEllipsis(true);
  leftArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonLeftArrow));
  rightArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::ToggleButtonRightArrow));
  QuickOptionItem::Refresh();
}

void QuickOptionItem::Refresh() {
  QuickMenuItem::Refresh();
  const kv::Rect b = Bounds();
  // The caption keeps 4 px clear of the left arrow, the arrow 3 px of the value.
  TextView().OnSetBounds({15, 3, 180, b.H() - 3});
  valueText_.OnSetBounds({200, 0, b.W() - 16, b.H()});
  const int32_t y = (b.H() - 10) / 2;
  leftArrow_.OnSetBounds({184, y, 197, y + 10});
  rightArrow_.OnSetBounds({b.W() - 15, y, b.W() - 2, y + 10});
  ShowArrows();
}

void QuickOptionItem::ShowArrows() {
  const bool shown = IsFocused() && !OnGetIsDisabled();
  leftArrow_.OnSetVisible(shown);
  rightArrow_.OnSetVisible(shown);
  InvalidateView();
}

void QuickOptionItem::HandleFocus(bool focused) {
  QuickMenuItem::HandleFocus(focused);
  valueText_.OnSetFont(Resources::LoadResource(focused ? Fonts::MediumFont : Fonts::EPGListFont0));
  ShowArrows();
}

kv::Object* QuickOptionItem::HandleEvent(Core::Event* event) {
  if (kv::Object* taken = HandleValueKeys(event)) return taken;
  return QuickMenuItem::HandleEvent(event);
}

void QuickOptionItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  QuickMenuItem::Draw(target, clip, origin, opacity);
  DrawPart(valueText_, target, clip, origin, opacity);
  DrawPart(leftArrow_, target, clip, origin, opacity);
  DrawPart(rightArrow_, target, clip, origin, opacity);
}


void QuickOptionItem::LoadSetting() {
  OptionDatabase::OptionDataClass* record = Record();
  if (!record) return;
  record->Initialize();
  Count = record->Num;
  if (record->HasProperty()) record->Value = kv::OnGetInt32(record->RefValue);
  Value = record->Value;
  record->Val2Id();
  // A stored value outside the choices shows (and steps from) the first one.
  Index = record->Id >= 0 && record->Id < Count ? record->Id : 0;
  record->Id = Index;
  record->GetData();
  auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get());
  OnSetValueString(courier ? courier->Caption : kv::String());
}

void QuickOptionItem::OnSetValueString(const kv::String& text) {
  valueText_.OnSetString(text);
  InvalidateView();
}

// --- QuickOptionItemSelect ---------------------------------------------------------

kv::Object* QuickOptionItemSelect::HandleEvent(Core::Event* event) {
  if (Core::KeyEvent* key = KeyDown(event)) {
    if (key->Code == ToggleDecreaseKey || key->Code == ToggleIncreaseKey) {
      if (!OnGetIsDisabled()) {
        ToggleOption(key->Code == ToggleIncreaseKey ? 1 : -1);
        kv::Signal(OnResetTimeout, this);
      }
      return this;
    }
  }
  return QuickOptionItem::HandleEvent(event);
}

void QuickOptionItemSelect::ToggleOption(int32_t direction) {
  OptionDatabase::OptionDataClass* record = Record();
  // An option without a choice has nothing to step to.
  if (!record || Count < 1) return;
  if (direction > 0)
    Index = Index >= Count - 1 ? 0 : Index + 1;
  else
    Index = Index <= 0 ? Count - 1 : Index - 1;
  record->Id = Index;
  record->Id2Value();
  Value = record->Value;
  if (record->HasProperty()) kv::OnSetInt32(record->RefValue, Value);
  record->GetData();
  auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get());
  OnSetValueString(courier ? courier->Caption : kv::String());
  kv::Signal(OnValueChanged, this);
}

// --- QuickSliderItem ---------------------------------------------------------------

QuickSliderItem::QuickSliderItem() {
  ActivateKey = KEY_NONE;
  valueText_.OnSetFont(Resources::LoadResource(Fonts::EPGListFont0));
  valueText_.OnSetColor(Colors::StandardTextColor);
  valueText_.OnSetAlignH(2);
  valueText_.OnSetAlignV(1);
  QuickSliderItem::Refresh();
  OnSetValue(0);
}

void QuickSliderItem::Refresh() {
  QuickMenuItem::Refresh();
  const kv::Rect b = Bounds();
  TextView().OnSetBounds({15, 3, 162, b.H() - 3});
  valueText_.OnSetBounds({164, 0, 194, b.H()});
  const int32_t y = (b.H() - 12) / 2;
  slider_.OnSetBounds({200, y, 322, y + 12});
  slider_.OnSetVisible(SliderVisible);
  InvalidateView();
}

kv::Object* QuickSliderItem::HandleEvent(Core::Event* event) {
  if (kv::Object* taken = HandleValueKeys(event)) return taken;
  return QuickMenuItem::HandleEvent(event);
}

void QuickSliderItem::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  QuickMenuItem::Draw(target, clip, origin, opacity);
  DrawPart(valueText_, target, clip, origin, opacity);
  DrawPart(slider_, target, clip, origin, opacity);
}


void QuickSliderItem::LoadSetting() {
  OptionDatabase::OptionDataClass* record = Record();
  if (!record) return;
  record->Initialize();
  record->GetData();
  auto* courier = kv::Cast<OptionDatabase::SliderCourier>(record->Courier.get());
  if (!courier) return;
  OnSetMax(courier->Max);
  OnSetMin(courier->Min);
  OnSetStep(courier->Step);
  record->Value = courier->Value;
  record->Val2Id();
  OnSetValue(record->Id);
}

void QuickSliderItem::OnSetMax(int32_t v) {
  Max = v;
  slider_.OnSetMax(v);
  OnSetValue(Value);
}

void QuickSliderItem::OnSetMin(int32_t v) {
  Min = v;
  slider_.OnSetMin(v);
  OnSetValue(Value);
}

void QuickSliderItem::OnSetStep(int32_t v) {
  Step = v;
  slider_.OnSetStep(v);
}

void QuickSliderItem::OnSetValue(int32_t v) {
  Value = Min <= Max ? std::clamp(v, Min, Max) : Min;
  slider_.OnSetValue(Value);
  valueText_.OnSetString(kv::NewStringInt(Value, 0));
  InvalidateView();
}

void QuickSliderItem::OnSetSliderVisible(bool on) {
  SliderVisible = on;
  Refresh();
}

void QuickSliderItem::OnSetSliderMiddlePoint(bool on) {
  SliderMiddlePoint = on;
  Refresh();
}

// --- QuickSliderItemSelect ---------------------------------------------------------

QuickSliderItemSelect::QuickSliderItemSelect() {
  slider_.OnValueChanged = kv::MakeSlot(this, &QuickSliderItemSelect::DoValueChanged);
}

kv::Object* QuickSliderItemSelect::HandleEvent(Core::Event* event) {
  if (Core::KeyEvent* key = KeyDown(event)) {
    if (key->Code == KEY_LEFT || key->Code == KEY_RIGHT) {
      if (!OnGetIsDisabled()) slider_.HandleEvent(event);
      return this;
    }
  }
  return QuickSliderItem::HandleEvent(event);
}

void QuickSliderItemSelect::DoValueChanged(kv::Object*) {
  OnSetValue(slider_.OnGetValue());
  if (OptionDatabase::OptionDataClass* record = Record()) {
    record->Id = Value;
    record->Id2Value();
    if (record->HasProperty()) kv::OnSetInt32(record->RefValue, record->Value);
    if (auto* skin = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)))
      skin->MarkOptionChange(OptionType);
  }
  kv::Signal(OnResetTimeout, this);
  kv::Signal(OnValueChanged, this);
}

// --- ItemDataSource ----------------------------------------------------------------

namespace {

// The records of the rows, in the order the table refers to them.
enum Rec : int8_t {
  R_PICTURE, R_SOUND, R_PLAYER_CONTROL, R_PC_SETTINGS, R_SYSTEM_INFO, R_TS_DURATION, R_TS_STATUS,
  R_USB_STATUS, R_SORT, R_INTERVAL, R_PHOTO_REPEAT, R_MOVIE_REPEAT, R_MUSIC_REPEAT, R_DLNA_INFO,
  R_WIRELESS_INFO, R_BG_MUSIC, R_BROWSE_MODE, R_PICTURE_MODE, R_PICTURE_SIZE, R_3D_SETTINGS, R_SPEAKERS,
  R_COUNT
};

struct RecordDef {
  const kv::MultiTextId* caption;
  const char* itemClass;
  const char* nextState;
  int32_t option;
};

const RecordDef kRecords[R_COUNT] = {
    {&SID_PICTURE, "QuickMenu::QuickMenuItem", "QuickMenu::PictureMenu", 0},
    {&SID_SOUND, "QuickMenu::QuickMenuItem", "QuickMenu::AudioMenu", 0},
    {&SID_KELVO_LINK_PLAYER_CONTROL, "QuickMenu::QuickMenuItem", "QuickMenu::PlayerControlMenu", 0},
    {&InputMenuPCSettings, "QuickMenu::QuickMenuItem", "QuickMenu::ScaleWindowMenu", 0},
    {&SettingsMenuSystemInfo, "QuickMenu::QuickMenuItem", "NonMenuSystem::KXDSystemInfoDialog", 0},
    {&TimeshiftMenuDuration, "QuickMenu::QuickOptionItemSelect", nullptr, SkinBin::OPTION_TYPE_TIMESHIFT_DURATION},
    {&TimeshiftMenuStatus, "QuickMenu::QuickMenuItem", "Record::TimeshiftStatusDialog", 0},
    {&RecordMenuUSBDiskStatus, "QuickMenu::QuickMenuItem", "Record::USBDiskStatusDialog", 0},
    {&SID_SORT, "QuickMenu::QuickOptionItemSelect", nullptr, SkinBin::OPTION_TYPE_MM_SORT},
    {&SID_INTERVAL_TIME, "QuickMenu::QuickOptionItemSelect", nullptr, SkinBin::OPTION_TYPE_MM_INTERVAL_TIME},
    {&SID_REPEAT, "QuickMenu::QuickOptionItemSelect", nullptr, SkinBin::OPTION_TYPE_PHOTO_REPEAT},
    {&SID_REPEAT, "QuickMenu::QuickOptionItemSelect", nullptr, SkinBin::OPTION_TYPE_MOVIE_REPEAT},
    {&SID_REPEAT, "QuickMenu::QuickOptionItemSelect", nullptr, SkinBin::OPTION_TYPE_MUSIC_REPEAT},
    {&SID_DLNA_DEVICE_INFORMATION, "QuickMenu::QuickMenuItem", "MediaPlayer::DmsDeviceInfo", 0},
    {&SID_WIRELESS_INFORMATION, "QuickMenu::QuickMenuItem", "Network::WirelessInformationMenu", 0},
    {&SID_BACKGROUND_MUSIC, "QuickMenu::QuickMenuItem", "QuickMenu::BgMusicMenu", 0},
    {&SID_BROWSE_MODE, "QuickMenu::QuickOptionItemSelect", nullptr, SkinBin::OPTION_TYPE_PHOTO_BROWSE},
    {&SID_PICTURE_MODE, "QuickMenu::QuickOptionItemSelect", "NonMenuSystem::ToggleOptionOverlay",
     SkinBin::OPTION_TYPE_PICTURE_MODE},
    {&SID_PICTURE_SIZE, "QuickMenu::QuickOptionItem", "NonMenuSystem::OptionDialogWithCaption",
     SkinBin::OPTION_TYPE_PICTURE_SIZE},
    {&SID_3D_SETTINGS, "QuickMenu::QuickMenuItem", "QuickMenu::Quick3DSettings", 0},
    {&SID_SPEAKERS, "QuickMenu::QuickOptionItemSelect", nullptr, SkinBin::OPTION_TYPE_QUICK_SPEAKER_PREFERENCE},
};

// The rows per quick type; -1 ends a row. Slots holding the player-control
// or 3D-settings record are kept: the row filter drops them.
constexpr int8_t E = -1;
const int8_t kTable[kQuickTypes][kQuickSlots] = {
    /* 0 photo frame */ {E},
    /* 1 TV */
    {R_PICTURE, R_SOUND, R_PLAYER_CONTROL, R_3D_SETTINGS, R_PC_SETTINGS, R_SYSTEM_INFO, R_TS_DURATION, R_TS_STATUS,
     R_USB_STATUS, E},
    /* 2 photo multi view */
    {R_SORT, R_3D_SETTINGS, R_INTERVAL, R_PHOTO_REPEAT, R_DLNA_INFO, R_WIRELESS_INFO, R_PC_SETTINGS, R_USB_STATUS,
     R_BROWSE_MODE, E},
    /* 3 photo single view */
    {R_SOUND, R_INTERVAL, R_PHOTO_REPEAT, R_BG_MUSIC, R_WIRELESS_INFO, R_PC_SETTINGS, R_USB_STATUS, E},
    /* 4 photo DMR */ {R_WIRELESS_INFO, R_PC_SETTINGS, E},
    /* 5 movie list */
    {R_SORT, R_3D_SETTINGS, R_MOVIE_REPEAT, R_DLNA_INFO, R_WIRELESS_INFO, R_PC_SETTINGS, R_USB_STATUS, E},
    /* 6 movie play */
    {R_PICTURE, R_SOUND, R_MOVIE_REPEAT, R_DLNA_INFO, R_WIRELESS_INFO, R_PC_SETTINGS, R_USB_STATUS, E},
    /* 7 movie DMR */ {R_PICTURE, R_SOUND, R_WIRELESS_INFO, R_PC_SETTINGS, E},
    /* 8 music list */
    {R_SOUND, R_SORT, R_3D_SETTINGS, R_MUSIC_REPEAT, R_DLNA_INFO, R_WIRELESS_INFO, R_PC_SETTINGS, R_USB_STATUS, E},
    /* 9 music play */ {R_SOUND, R_MUSIC_REPEAT, R_WIRELESS_INFO, R_PC_SETTINGS, R_USB_STATUS, E},
    /* 10 music DMR */ {R_SOUND, R_WIRELESS_INFO, R_PC_SETTINGS, E},
    /* 11 widget stream */ {R_PICTURE, R_SOUND, R_WIRELESS_INFO, R_PC_SETTINGS, E},
    /* 12 widget input */ {R_PLAYER_CONTROL, R_3D_SETTINGS, R_WIRELESS_INFO, R_PC_SETTINGS, E},
    {E},
    {E},
    {E},
};

}  // namespace

ItemDataSource::ItemDataSource() {
  for (const RecordDef& entry : kRecords) {
    auto* record = kv::New<ItemDataClass>();
    record->Caption = entry.caption;
    record->ItemClass = kv::FindClass(entry.itemClass);
    record->NextState = entry.nextState ? kv::FindClass(entry.nextState) : nullptr;
    record->OptionType = entry.option;
    records_.push_back(record);
  }
  for (int32_t t = 0; t < kQuickTypes; ++t) {
    table_[static_cast<size_t>(t)].fill(E);
    for (int32_t s = 0; s < kQuickSlots && kTable[t][s] != E; ++s)
      table_[static_cast<size_t>(t)][static_cast<size_t>(s)] = kTable[t][s];
  }
}

ItemDataClass* ItemDataSource::GetItemData(int32_t type, int32_t index) const {
  if (type < 0 || type >= kQuickTypes || index < 0 || index >= kQuickSlots) return nullptr;
  const int8_t r = table_[static_cast<size_t>(type)][static_cast<size_t>(index)];
  return r < 0 || static_cast<size_t>(r) >= records_.size() ? nullptr : records_[static_cast<size_t>(r)];
}

}  // namespace QuickMenu
