#include "units/NonMenuSystem/ChannelEntry.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Events/XPM_EVENT_CHANNEL_SCAN_PROGRESS.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Views/Align.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::ChannelNumberEdit);
KV_REGISTER_CLASS(NonMenuSystem::ChannelEntry);

namespace NonMenuSystem {

Resources::Bitmap* SourceTypeImage(int32_t type);  // InfoBanner.cpp
kv::String SourceLabelText(int32_t source, bool tuner);

namespace {

using namespace keys;

constexpr int32_t kHalf = 3;  // MaxLength / 2

kv::String Separator() { return kv::LoadString(::NonMenuSystem::ENTRY_SEPARATOR); }

OptionDatabase::OptionDataClass* GuideChannelRecord() {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  return db ? db->GetOptionData(SkinBin::OPTION_TYPE_GUIDE_CHANNEL) : nullptr;
}

// Leading zeros off; nothing left gives "0".
kv::String TrimZeros(const kv::String& s) {
  int32_t i = 0;
  while (i < s.Length() && s.At(i) == u'0') ++i;
  return i == s.Length() ? KV_STR(u"0") : kv::StringRight(s, s.Length() - i);
}

}  // namespace

// --- ChannelNumberEdit -------------------------------------------------------------------

ChannelNumberEdit::ChannelNumberEdit() {
  OnSetMaxLength(6);
  OnSetSupportDot(true);
  OnSetEnableEraseKey(false);
  OnSetEditModeEnabled(true);
  OnSetDotString(Separator());
  OnSetTextString(kv::LoadString(::NonMenuSystem::ENTRY_INITIAL));
  OnSetTextAlignH(Views::ALIGN_LEFT);
  TextView().OnSetFont(Resources::LoadResource(Fonts::BannerChannelNumber));
}

kv::String ChannelNumberEdit::HandleNumber(const kv::String& text) {
  const int32_t sep = kv::StringFind(text, OnGetDotString(), 0);
  if (sep < 0) {
    const kv::String tail = text.Length() > kHalf ? kv::StringRight(text, kHalf) : text;
    if (tail.Empty() || tail.At(0) != u'0') return tail;
    int32_t i = 0;
    while (i < tail.Length() && tail.At(i) == u'0') ++i;
    if (i < tail.Length()) return kv::StringRight(tail, tail.Length() - i);
    return text.Length() > kHalf ? kv::StringLeft(text, kHalf) : KV_STR(u"0");
  }
  const int32_t after = sep + OnGetDotString().Length();
  kv::String part = kv::StringRight(text, text.Length() - after);
  if (part.Length() > kHalf) part = kv::StringRight(part, kHalf);
  if (!part.Empty() && part.At(0) == u'0') part = TrimZeros(part);
  return kv::ConcatString(kv::StringLeft(text, after), part);
}

kv::Object* ChannelNumberEdit::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return ::Button::TextEdit::HandleEvent(event);
  if (IsDigitKey(key->Code) && NeedClearNumber) {
    ClearText();
    NeedClearNumber = key->Code == KEY_0;
    kv::Signal(OnTextChanged, this);
    return ::Button::TextEdit::HandleEvent(event);
  }
  if (key->Code == KEY_OK) {
    kv::Signal(OnTextChanged, this);
    kv::Signal(OnActivate, this);
    return this;
  }
  return ::Button::TextEdit::HandleEvent(event);
}

// --- ChannelEntry ----------------------------------------------------------------------

ChannelEntry::ChannelEntry() {
  WinID = WinIDs::WIN_ID_ChannelEntry;
  WidgetOrigin = {40, 40};
  OnSetBounds({0, 0, 219, 97});
  background_.OnSetVisible(false);
  box_.OnSetBitmap(Resources::LoadResource(Bitmaps::MiniGuideBackground));
  label_.OnSetFont(Resources::LoadResource(Fonts::BannerBasicInfo));
  label_.OnSetEllipsis(true);
  caption_.OnSetFont(Resources::LoadResource(Fonts::BannerDescription));
  caption_.OnSetString(kv::GetVariantOfString(::NonMenuSystem::ENTRY_CAPTION));
  caption_.OnSetColor(Colors::BannerDescription);
  Add(&box_);
  Add(&icon_);
  Add(&label_);
  Add(&caption_);
  Add(&number_);
  number_.OnActivate = kv::MakeSlot(this, &ChannelEntry::TuneChannelAndExit);
  number_.OnTextChanged = kv::MakeSlot(this, &ChannelEntry::OnTextChanged);
  OnTimeOut = kv::MakeSlot(this, &ChannelEntry::TuneChannelAndExit);
  OnSetFocus(&number_);
  surfTimer_.OnSetBegin(kSurfDelay);
  surfTimer_.OnSetPeriod(0);
}

void ChannelEntry::Refresh() {
  WidgetClass::Refresh();
  const int32_t w = Bounds().W();
  box_.OnSetBounds({0, 0, w, Bounds().H()});
  icon_.OnSetBounds({12, 10, 48, 28});
  label_.OnSetBounds({54, 8, w - 8, 30});
  caption_.OnSetBounds({12, 36, w - 8, 52});
  number_.OnSetBounds({12, 52, w - 8, 88});
}

void ChannelEntry::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  ::Wrapper::Wrapper* base = Live::Base();
  const int32_t s = base ? base->GetCurrentSource(0) : 0;
  const int32_t t = base ? base->GetSourceType(s) : 0;
  UpdateSourceImage(t);
  label_.OnSetString(SourceLabelText(s, Live::IsTunerType(t)));
  if (OptionDatabase::OptionDataClass* r = GuideChannelRecord()) {
    r->Initialize();
    GuideChannelCount = r->Num;
    if (r->HasProperty()) r->Value = kv::OnGetInt32(r->RefValue);
    r->Val2Id();
    GuideChannelIndex = r->Id;
  }
}

void ChannelEntry::UpdateSourceImage(int32_t type) {
  Resources::Bitmap* b = SourceTypeImage(type);
  icon_.OnSetBitmap(b);
  icon_.OnSetVisible(b != nullptr);
}

kv::Object* ChannelEntry::HandleEvent(Core::Event* event) {
  if (kv::Cast<Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS>(event)) {
    ::Wrapper::Wrapper* base = Live::Base();
    if (base && base->IsChannelRingEmpty(0, false)) Live::DisplayNoChannel();
    return WidgetClass::HandleEvent(event);
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return WidgetClass::HandleEvent(event);
  const uint16_t code = key->Code;
  if (IsDigitKey(code)) {
    number_.OnSetTextString(kv::NewStringChar(static_cast<char16_t>(u'0' + (code - KEY_0)), 1));
    EntryActive = true;
    TuneIssued = false;
    OnSetFocus(&number_);
    OnTimeOut = kv::MakeSlot(this, &ChannelEntry::TuneChannelAndExit);
    number_.NeedClearNumber = false;
    ResetTimeout();
    return this;
  }
  if (code == KEY_DASH) {
    number_.OnSetTextString(Separator());
    ResetTimeout();
    return this;
  }
  if (code == KEY_CH_UP || code == KEY_CH_DOWN) {
    ChannelChange(code == KEY_CH_UP);
    ResetTimeout();
    return this;
  }
  return WidgetClass::HandleEvent(event);
}

void ChannelEntry::Close() {
  surfTimer_.OnSetEnabled(false);
  WidgetClass::Close();
}

void ChannelEntry::OnTextChanged(kv::Object* /*sender*/) {
  ResetTimeout();
  TuneIssued = false;
  EntryActive = true;
  ExitSurfMode();
}

void ChannelEntry::TuneChannelAndExit(kv::Object* /*sender*/) {
  const bool wasActive = EntryActive;
  OnSetFocus(nullptr);
  TuneChannel();
  if (!IsOpen()) return;
  if (!wasActive) {
    Post(&WidgetClass::ExitSlot);
    return;
  }
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ExitSlot);
  ResetTimeout();
  if (!IsTimeoutRunning()) SetTimeout(true);
}

void ChannelEntry::TuneChannel() {
  ::Wrapper::Wrapper* base = Live::Base();
  SkinBin::Wrapper* w = Live::Skin();
  number_.NeedClearNumber = true;
  ResetTimeout();
  if (!base) return;
  Structures::VirtualChannel* vc = base->GetVirtualChannelByString(Number(), Separator());
  int32_t major = vc ? vc->Major : 0;
  int32_t minor = vc ? vc->Minor : 0;
  if (EntryActive && !SurfMode && minor == 0 && base->OnGetAntCableIn() == 0 && w) {
    const int32_t mode = w->OnGetChannelTuningMode();
    if (mode == 1 || mode == 2) {
      Structures::VirtualChannel* next = base->GetNextChannelWithProp(0, major, -1, true, false);
      const bool found = next && next->Major == major && next->Minor != -1;
      if (found) {
        minor = next->Minor;
      } else if (mode == 2) {
        EntryActive = false;
        Close();
        return;
      }
    }
  }
  EntryActive = false;
  Structures::ChannelData* record = w ? w->GetChannelInfo(major, minor) : nullptr;
  if (record) {
    auto* target = kv::New<Structures::VirtualChannel>();
    target->Major = major;
    target->Minor = minor;
    if (base->IsSameChannelWithCurrent(target) || record->InfoFlag) return;
    if (base->SetChannel(major, minor, true, true) == 0) TuneIssued = true;
    return;
  }
  if (minor == 0) {
    if (base->IsChannelExist(major, -2)) {
      auto* target = kv::New<Structures::VirtualChannel>();
      target->Major = major;
      target->Minor = -2;
      if (!base->IsSameChannelWithCurrent(target) && base->SetChannel(major, -2, true, true) == 0) TuneIssued = true;
    } else {
      FindChannel(major);
    }
    return;
  }
  if (base->IsChannelRingEmpty(0, false)) {
    // No channels at all: as for ch+, the entry closes and the set's answer
    // (no channels) reaches live TV, which tells the viewer.
    TuneIssued = true;
    Post(&WidgetClass::ExitSlot);
    base->ChannelChange(true, true, true);
  }
}

void ChannelEntry::FindChannel(int32_t number) {
  ::Wrapper::Wrapper* base = Live::Base();
  SkinBin::Wrapper* w = Live::Skin();
  if (!base) return;
  const int32_t medium = base->GetMedium();
  if (medium == 1 && (number < 1 || number > 135)) return;
  if (medium == 0 && (number < 2 || number > 69)) return;
  int32_t status = 0;
  if (base->GetSourceType(base->GetCurrentSource(0)) == 12)
    status = base->StartSingleChannelScan(number, 0, 1, 1, 0, 0);
  else
    status = base->StartSingleChannelScan(number, w ? w->OnGetAddAnalog() : 1, w ? w->OnGetAddDigital() : 1, 1, 0, 0);
  if (status == 0)
    TuneIssued = true;
  else
    base->AbortSingleChannelScan(0);
}

void ChannelEntry::StartSurfTimer(void (ChannelEntry::*slot)(kv::Object*)) {
  surfTimer_.OnTrigger = kv::MakeSlot(this, slot);
  surfTimer_.OnSetEnabled(false);
  surfTimer_.OnSetEnabled(true);
}

void ChannelEntry::ChannelChange(bool up) {
  ::Wrapper::Wrapper* base = Live::Base();
  SkinBin::Wrapper* w = Live::Skin();
  if (!base) return;
  if (base->IsChannelRingEmpty(0, false)) {
    // Nothing to surf: the entry closes, and the set's answer (no channels)
    // is not held back but reaches live TV, which tells the viewer.
    TuneIssued = true;
    Post(&WidgetClass::ExitSlot);
    base->ChannelChange(up, true, true);
    return;
  }
  TuneIssued = false;
  if (SurfPending && !SurfMode) return;
  bool resync = false;
  if (SurfMode) {
    StartSurfTimer(&ChannelEntry::SurfTuneChannel);
  } else {
    SkinBin::CurrentChannelInfo* d = w ? w->GetCurrentChannelDetailInfo() : nullptr;
    resync = d && !d->Excluded;
    base->ChannelChange(up, true, true);
    SurfPending = true;
    StartSurfTimer(&ChannelEntry::EnterSurfMode);
    number_.NeedClearNumber = true;
  }
  if (GuideChannelCount > 0) {
    GuideChannelIndex += up ? 1 : -1;
    if (GuideChannelIndex >= GuideChannelCount) GuideChannelIndex = 0;
    if (GuideChannelIndex < 0) GuideChannelIndex = GuideChannelCount - 1;
  }
  SyncGuideChannel(resync);
}

void ChannelEntry::SyncGuideChannel(bool resync) {
  OptionDatabase::OptionDataClass* r = GuideChannelRecord();
  if (!r) return;
  if (resync) {
    r->Initialize();
    if (r->HasProperty()) r->Value = kv::OnGetInt32(r->RefValue);
    r->Val2Id();
    GuideChannelIndex = r->Id;
  } else {
    r->Id = GuideChannelIndex;
  }
  r->GetData();
  auto* courier = kv::Cast<OptionDatabase::OptionCourier>(r->Courier.get());
  kv::String text = courier ? courier->Caption : kv::String();
  SkinBin::Wrapper* w = Live::Skin();
  if (w && text == w->GetChannelNumberStr(false, -2, -2)) text = kv::String();
  number_.OnSetTextString(text);
}

void ChannelEntry::EnterSurfMode(kv::Object* /*sender*/) {
  SurfMode = true;
  SurfPending = false;
  StartSurfTimer(&ChannelEntry::ExitSurfModeAndExit);
}

void ChannelEntry::SurfTuneChannel(kv::Object* /*sender*/) {
  TuneChannel();
  ExitSurfMode();
}

void ChannelEntry::ExitSurfModeAndExit(kv::Object* /*sender*/) {
  ExitSurfMode();
  const bool held = IsOpen() && HoldsAcquisition();
  Exit();
  // The acquisition of the surfed-to channel was held back while the entry
  // surfed: handed on now, it brings up the banner.
  if (held) Live::ProcessHeldEvents();
}

void ChannelEntry::ExitSurfMode() {
  SurfMode = false;
  SurfPending = false;
  surfTimer_.OnSetEnabled(false);
}

}  // namespace NonMenuSystem
