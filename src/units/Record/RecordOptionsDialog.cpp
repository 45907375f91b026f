#include "units/Record/RecordOptionsDialog.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/Record.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Record/RecordTimerDialog.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/EventInfo.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(Record::RecordOptionsDialog);

namespace Record {

namespace {

using namespace keys;

constexpr uint32_t kLayer = 128;
constexpr int32_t kWidth = 320;
constexpr int32_t kHeight = 140;
constexpr int32_t kButtonW = 250;
constexpr int32_t kButtonH = 28;
// The bottom of the caption's divider with a frame width of 0.
constexpr int32_t kDividerBottom = 39;

}  // namespace

RecordOptionsDialog::RecordOptionsDialog() {
  OnSetBounds({0, 0, kWidth + 68, kHeight + 68});
  OnSetFrameWidth(0);
  Layer = kLayer;
  for (SkinBin::Button* b : {&RecordNowButton, &RecordProgramButton}) {
    b->OnSetBounds({0, 0, kButtonW, kButtonH});
    b->OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::CECInputDialogButtonFocus));
    b->OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::CECInputDialogButtonNonfocus));
    b->OnSetTextEllipsis(true);
    b->OnActivate = kv::MakeSlot(this, &RecordOptionsDialog::DoActivate);
    Add(b);
  }
  ReInit();
  OnSetFocus(&RecordNowButton);
}

void RecordOptionsDialog::ReInit() {
  KXDWidgetClass::ReInit();
  OnSetCaption(kv::GetVariantOfString(RECORD_NOW_CAPTION));
  RecordNowButton.OnSetText(kv::GetVariantOfString(RECORD_NOW_CHANNEL));
  RecordProgramButton.OnSetText(kv::GetVariantOfString(RECORD_NOW_PROGRAM));
}

void RecordOptionsDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) OnSetOptionType(ref->Value);
  auto* wm = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  Primitives::KeyRoutingForm* guide = wm ? wm->FindForm(WinIDs::WIN_ID_FullEPGDialog) : nullptr;
  if (guide) frame_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaQuickMenuBg));
  // Over the guide it stands on the guide's picture, centred: the rows of
  // channels and programmes stay whole to read beside it.
  if (auto* epg = kv::Cast<Channels::FullEPGDialog>(guide)) {
    const kv::Rect video = epg->VideoWindow().GetAbsoluteBounds();
    const kv::Rect b = Bounds();
    if (!video.IsEmpty()) WidgetOrigin = {video.x1 + (video.W() - b.W()) / 2, video.y1 + (video.H() - b.H()) / 2};
  } else {
    WidgetOrigin = {-1, -1};
  }
  OnSetFocus(&RecordNowButton);
}

void RecordOptionsDialog::OnSetOptionType(int32_t type) {
  OptionType = type;
  if (type == RecordOptionTypeHotKey)
    PrevState = nullptr;
  else if (type == RecordOptionTypeGuide)
    PrevState = &Channels::FullEPGDialog::StaticClass();
}

void RecordOptionsDialog::Refresh() {
  KXDWidgetClass::Refresh();
  const int32_t width = Bounds().W();
  int32_t index = 0;
  for (SkinBin::Button* b : {&RecordNowButton, &RecordProgramButton}) {
    const kv::Rect r = b->Bounds();
    const int32_t x = (width - r.W()) / 2;
    const int32_t y = (r.H() + 4) * index + kDividerBottom + 14;
    b->OnSetBounds({x, y, x + r.W(), y + r.H()});
    ++index;
  }
}

void RecordOptionsDialog::StartRecord() {
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  if (w) w->StartRecord(w->GetCurrentTunerId(), w->GetCurrentChannel());
}

void RecordOptionsDialog::DoActivate(kv::Object* sender) {
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  NonMenuSystem::NonMenuSystem* system = OnGetNonMenuSystem();
  if (sender == &RecordNowButton) {
    StartRecord();
  } else if (sender == &RecordProgramButton && w) {
    if (w->GetFirstAvailableTimerId() < 0) {
      if (system) system->ShowMessage(Constants::DirectMsgTypeInvalidTimerId);
    } else if (system) {
      // Read before the state change: the editor's opening closes this dialog.
      Structures::EventInfo* now = w->DB_GetCurrentProgramInfo();
      const kv::Persistent<Structures::EventInfo> keep(now);
      auto* state = kv::New<SubSystem::State>();
      state->Class = &RecordTimerDialog::StaticClass();
      auto* ref = SkinBin::UserRefInt::Make(kKindStart, Constants::MSG_FROM_NONMENUSYSTEM);
      ref->Flag = static_cast<uint8_t>(GetNextStateType());
      state->Param = ref;
      if (auto* editor = kv::Cast<RecordTimerDialog>(system->ChangeState(state))) {
        editor->IsShortcut = false;
        editor->PrevState = &StaticClass();
        editor->NextState = nullptr;
        // The programme on now is the channel in tune's.
        editor->SetChannel(w->GetCurrentChannel());
        if (now && now->StartTime) {
          editor->SetStart(now->StartTime.get());
          editor->SetDuration(now->Duration * 60);
        } else {
          editor->SetStart(w->GetCurrentTime());
          editor->SetDuration(3600);
          editor->SetKind(kKindTimer);
        }
        editor->ApplySourceType();
      }
    }
  }
  Close();
}

void RecordOptionsDialog::EnterPrevState() { Close(); }

kv::Object* RecordOptionsDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down || (key->Code != KEY_UP && key->Code != KEY_DOWN)) return KXDWidgetClass::HandleEvent(event);
  OnSetFocus(OnGetFocus() == &RecordNowButton ? &RecordProgramButton : &RecordNowButton);
  ResetTimeout();
  return this;
}

}  // namespace Record
