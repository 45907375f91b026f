#include "units/MediaPlayer/PhotoFrame.h"

#include "keys/keycodes.h"
#include "units/NonMenuSystem/NonMenuSystem.h"

#include "platform/psl/psl.h"
#include "runtime/auto_object.h"
#include "runtime/trace.h"
#include "strings/MediaPlayerSetup.h"
#include "units/Core/Event.h"
#include "units/Events/StatusEvent.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Media/MediaWrapper.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"
#include "units/SubSystem/SubSystemClass.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

namespace MediaPlayer {

using namespace keys;

KV_REGISTER_CLASS(MediaPlayer::PhotoFrame);

namespace {

// A storage device was connected: status code 18, first value 4.
constexpr uint16_t kMediaStatus = 18;
constexpr int32_t kDevicePlugged = 4;
// Standby of an on-timer shutdown.
constexpr int32_t kStandbyReason = 2;

SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)); }
Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }

uint16_t DownKey(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key->Code : 0;
}

// Auto power-off choices 1 to 6: 30 minutes, 1, 2, 4, 6 and 12 hours, in
// five-minute periods.
int32_t PowerOffPeriods(int32_t choice) {
  static constexpr int32_t kPeriods[] = {6, 12, 24, 48, 72, 144};
  return choice >= 1 && choice <= 6 ? kPeriods[choice - 1] : -1;
}

// The move of each position step: after the first (4, 4) the sixteen steps
// add up to nothing, so the picture keeps circling near its first place.
kv::Point StepOffset(int32_t step) {
  switch (step) {
    case 0: return {4, 4};
    case 1: case 12: case 14: case 15: return {4, 0};
    case 2: case 3: case 5: case 16: return {0, -4};
    case 4: case 6: case 7: case 9: return {-4, 0};
    default: return {0, 4};  // 8, 10, 11, 13
  }
}

}  // namespace

bool IsDefaultWallpaper(const kv::String& path) {
  return path.ToUtf8() == psl::MediaDefaultWallpaperName;
}

void TurnToStoredOrientation(Media::ExternalBitmap& bitmap, const kv::String& path, bool& busy) {
  SkinBin::Wrapper* w = Skin();
  Media::MediaWrapper* media = Bridge();
  if (busy || IsDefaultWallpaper(path) || !w || !media) return;
  const int32_t angle = w->OnGetWallpaperOrientation();
  if (angle == 0) return;
  busy = true;
  const kv::Point size =
      media->SetBitmapOrientation(&bitmap, {bitmap.PictureWidth, bitmap.PictureHeight}, angle);
  busy = false;
  if (size.x > 0 && size.y > 0) {
    bitmap.PictureWidth = size.x;
    bitmap.PictureHeight = size.y;
  }
}

void CloseChannelBanner() {
  auto* wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  if (Primitives::KeyRoutingForm* banner = wm ? wm->FindForm(WinIDs::WIN_ID_InfoBanner) : nullptr) banner->Close();
}

Events::StatusEvent* AutoStartPlug(Core::Event* event) {
  auto* status = kv::Cast<Events::StatusEvent>(event);
  if (!status || status->Code != kMediaStatus || status->SubCode0 != kDevicePlugged) return nullptr;
  SkinBin::Wrapper* w = Skin();
  return w && w->OnGetUSBSDAutoStart() == 1 ? status : nullptr;
}

void AskToOpenPluggedStick(SubSystem::SubSystemClass* owner, Events::StatusEvent* status) {
  kv::Trace("%s%i", {kv::LoadString(MediaPlayerSetup::T_OPEN_QUESTION), status->SubCode2});
  const kv::Class* dialog = KV_LATE_CLASS("MediaPlayer::MediaPlayerOpenConfirmDialog");
  const kv::Class* paramClass = KV_LATE_CLASS("MediaPlayer::SelectedParam");
  if (!owner || !dialog || !paramClass) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = dialog;
  // The parameter carries the medium: its class takes it from the event.
  state->Param = kv::NewObjectIndirect(paramClass, status);
  owner->ChangeState(state);
}

// --- PhotoFrame ---------------------------------------------------------------------------

PhotoFrame::PhotoFrame() {
  KeyRoutingForm::OnSetBounds({0, 0, 960, 540});
  WidgetOrigin = {0, 0};
  WinID = WinIDs::WIN_ID_PhotoFrame;
  Layer = 1;
  PrevState = nullptr;
  NextState = nullptr;
  OnSetTimeOutValue(0);
  OnTimeOut = kv::Slot();
  background_.OnSetColor({0, 0, 0, 255});
  picture_.OnSetBounds({0, 0, 48, 48});
  picture_.OnSetAutoSize(true);
  Add(&picture_);
  moveTimer_.OnSetBegin(kMovePeriod);
  moveTimer_.OnSetPeriod(kMovePeriod);
  moveTimer_.OnTrigger = kv::MakeSlot(this, &PhotoFrame::MoveTimerSlot);
  wallpaper_.OnSetSize({960, 540});
}

void PhotoFrame::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  CloseChannelBanner();
  SkinBin::Wrapper* w = Skin();
  if (w && w->GetCurrentSource(0) != SkinBin::Wrapper::GetExtSourceId()) w->SetSource(0, SkinBin::Wrapper::GetExtSourceId());
  moveTimer_.OnSetEnabled(true);
  step_ = 0;
  countdown_ = PowerOffPeriods(w ? w->OnGetTV_Auto_PowerOff() : 0);
  const kv::Slot update = kv::MakeSlot(this, &PhotoFrame::Update);
  kv::DetachObjObserver(update, &wallpaper_);
  kv::AttachObjObserver(update, &wallpaper_);
  path_ = Bridge() ? Bridge()->GetWallpaperPath() : kv::String();
  kv::IdleSignal(kv::MakeSlot(this, &PhotoFrame::LoadWallpaper));
}

void PhotoFrame::LoadWallpaper(kv::Object*) { wallpaper_.OnSetFileName(path_); }

void PhotoFrame::Update(kv::Object*) {
  TurnToStoredOrientation(wallpaper_, path_, turning_);
  picture_.OnSetBitmap(&wallpaper_);
  picture_.InvalidateView();
}

void PhotoFrame::Close() {
  const bool wasOpen = IsOpen();
  WidgetClass::Close();
  moveTimer_.OnSetEnabled(false);
  if (wasOpen)
    if (SkinBin::Wrapper* w = Skin()) w->SetLastSource();
}

void PhotoFrame::MoveTimerSlot(kv::Object*) {
  const kv::Point d = StepOffset(step_);
  const kv::Rect b = picture_.Bounds();
  picture_.OnSetBounds({b.x1 + d.x, b.y1 + d.y, b.x2 + d.x, b.y2 + d.y});
  step_ = step_ >= 16 ? 1 : step_ + 1;
  if (countdown_ < 1) return;
  if (--countdown_ > 0) return;
  Close();
  SkinBin::Wrapper* w = Skin();
  Core::Group* root = w ? w->OnGetRoot() : nullptr;
  if (!root) return;
  kv::Trace("%s", {kv::LoadString(MediaPlayerSetup::T_STANDBY)});
  auto* standby = kv::New<Events::XPM_EVENT_STANDBY>();
  standby->Reason = kStandbyReason;
  root->DispatchEvent(standby);
}

kv::Object* PhotoFrame::HandleEvent(Core::Event* event) {
  switch (DownKey(event)) {
    case KEY_BACK:
      Close();
      return WidgetClass::HandleEvent(event);
    case KEY_EXIT:
    case KEY_EXIT_ALT:
      Close();
      return this;
    default:
      break;
  }
  if (Events::StatusEvent* status = AutoStartPlug(event)) {
    SubSystem::SubSystemClass* owner = OnGetNonMenuSystem();
    Close();
    AskToOpenPluggedStick(owner, status);
    return this;
  }
  if (kv::Cast<Events::StatusEvent>(event)) return this;
  return WidgetClass::HandleEvent(event);
}

}  // namespace MediaPlayer
