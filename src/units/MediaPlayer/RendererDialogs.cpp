#include "units/MediaPlayer/RendererDialogs.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/trace.h"
#include "strings/MediaPlayerSetup.h"
#include "strings/MenuSystemPages.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/MediaLists.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/RendererSetupPages.h"
#include "units/MediaPlayer/SetupItems.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"
#include "units/Views/Align.h"
#include "units/Views/Text.h"
#include "units/Agent/MessageAgent.h"

namespace MediaPlayer {

using namespace keys;

KV_REGISTER_CLASS(MediaPlayer::MediaRendererOnOffDialog);
KV_REGISTER_CLASS(MediaPlayer::AccessControlSelectDialog);
KV_REGISTER_CLASS(MediaPlayer::SelectMediaControllerConfirmDialog);
KV_REGISTER_CLASS(MediaPlayer::AutoPowerOnSettingDialog);
KV_REGISTER_CLASS(MediaPlayer::DeviceNameSetupDialog);
KV_REGISTER_CLASS(MediaPlayer::MaximumVolumeSetupDialog);
KV_REGISTER_CLASS(MediaPlayer::SelectMediaControllerDialog);
KV_REGISTER_CLASS(MediaPlayer::MediaServerSetupDialog);

namespace {

namespace T = MediaPlayerSetup;

constexpr int32_t kButtonWidth = 110;
constexpr int32_t kButtonHeight = 27;
constexpr int32_t kBarTime = 2000;
constexpr int32_t kHelpBack = 0x40000;
constexpr int32_t kHelpList = 0x41A00;
constexpr int32_t kHelpListRows = 0x49A00;
constexpr int32_t kHelpVolume = 0x40204;
constexpr int32_t kHelpButton = 0x40200;
// The server list, as wide as its rows, with this margin on both sides.
constexpr int32_t kServerListX = 30;

kv::Rect ServerListBounds() {
  return {kServerListX, 75, kServerListX + ListForm::MediaServerListItem::kRowWidth, 289};
}

SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)); }
Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }

uint16_t DownKey(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key->Code : 0;
}

bool Installing() {
  SkinBin::Wrapper* w = Skin();
  return w && w->RendererInstalled;
}

void EndInstalling() {
  if (SkinBin::Wrapper* w = Skin()) w->RendererInstalled = false;
}

const kv::Class* RendererPage() { return &MediaRenderSetupMenu::StaticClass(); }

void SetUpButton(SkinBin::Button& b, const kv::String& text) {
  b.OnSetText(text);
  b.OnSetTextAlignH(Views::ALIGN_CENTER);
  b.OnSetDefault_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
  b.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
  b.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
}

kv::String Help(std::initializer_list<const kv::MultiTextId*> words) {
  kv::String text;
  for (const kv::MultiTextId* w : words) {
    if (!text.Empty()) text = kv::ConcatString(text, kv::LoadString(T::HELP_SEPARATOR));
    text = kv::ConcatString(text, kv::GetVariantOfString(*w));
  }
  return text;
}

// A wizard question: 510 x 258 without a frame, Yes focused, its texts.
void SetUpQuestion(MediaPlayerConfirmDialog& d, const kv::MultiTextId& caption, const kv::MultiTextId& question,
                   const kv::MultiTextId& yes, const kv::MultiTextId& no) {
  d.OnSetBounds({0, 0, 510, 258});
  d.OnSetFrameWidth(0);
  d.OnSetCaption(kv::GetVariantOfString(caption));
  d.OnSetWarningInfo(kv::GetVariantOfString(question));
  d.OnSetYesButtonLabel(kv::GetVariantOfString(yes));
  d.OnSetNoButtonLabel(kv::GetVariantOfString(no));
  for (SkinBin::Button* b : {&d.YesButton(), &d.NoButton()}) SetUpButton(*b, b->OnGetText());
}

kv::String ListHelp() { return Help({&T::SID_SELECT_DESELECT, &T::SID_PAGE, &T::SID_UPDATE, &T::SID_BACK}); }

}  // namespace

// --- The wizard's questions ----------------------------------------------------------------

MediaRendererOnOffDialog::MediaRendererOnOffDialog() {
  ReInit();
  OnSetFocus(&yes_);
  PrevState = RendererPage();
  NextState = &DeviceNameSetupDialog::StaticClass();
  OnYesSlot = kv::MakeSlot(this, &MediaRendererOnOffDialog::EnableMediaRenderer);
  OnNoSlot = kv::MakeSlot(this, &MediaRendererOnOffDialog::DisableMediaRenderer);
}

void MediaRendererOnOffDialog::ReInit() {
  MediaPlayerConfirmDialog::ReInit();
  SetUpQuestion(*this, T::SID_MEDIA_RENDERER, T::SID_DMR_ENABLE_WINDOW, T::SID_ON, T::SID_OFF);
}

void MediaRendererOnOffDialog::EnableMediaRenderer(kv::Object*) {
  if (Media::MediaWrapper* media = Bridge()) media->SetEnableDlna(3);
}

void MediaRendererOnOffDialog::DisableMediaRenderer(kv::Object*) {
  // Off ends the wizard at the renderer page.
  EndInstalling();
  if (Media::MediaWrapper* media = Bridge()) media->SetEnableDlna(1);
}

AccessControlSelectDialog::AccessControlSelectDialog() {
  ReInit();
  OnSetFocus(&yes_);
  PrevState = &DeviceNameSetupDialog::StaticClass();
  NextState = &SelectMediaControllerConfirmDialog::StaticClass();
  OnYesSlot = kv::MakeSlot(this, &AccessControlSelectDialog::AccessOn);
}

void AccessControlSelectDialog::ReInit() {
  MediaPlayerConfirmDialog::ReInit();
  SetUpQuestion(*this, T::SID_CONTROLLER_SETUP, T::SID_ACCESS_CONTROL_WINDOW, T::SID_ON, T::SID_OFF);
}

void AccessControlSelectDialog::AccessOn(kv::Object*) {
  if (SkinBin::Wrapper* w = Skin()) w->OnSetDMC_AccessControl(1);
}

void AccessControlSelectDialog::DoNoMethod() {
  if (SkinBin::Wrapper* w = Skin()) w->OnSetDMC_AccessControl(0);
  NextState = &MaximumVolumeSetupDialog::StaticClass();
  EnterNextState();
}

SelectMediaControllerConfirmDialog::SelectMediaControllerConfirmDialog() {
  ReInit();
  OnSetFocus(&yes_);
  PrevState = &AccessControlSelectDialog::StaticClass();
  NextState = &SelectMediaControllerDialog::StaticClass();
}

void SelectMediaControllerConfirmDialog::ReInit() {
  MediaPlayerConfirmDialog::ReInit();
  SetUpQuestion(*this, T::SID_CONTROLLER_SETUP, T::SID_SELECT_CONTROLLER_WINDOW, T::SID_YES, T::SID_NO);
}

void SelectMediaControllerConfirmDialog::DoNoMethod() {
  NextState = &MaximumVolumeSetupDialog::StaticClass();
  EnterNextState();
}

AutoPowerOnSettingDialog::AutoPowerOnSettingDialog() {
  ReInit();
  OnSetFocus(&yes_);
  PrevState = &MaximumVolumeSetupDialog::StaticClass();
  NextState = RendererPage();
}

void AutoPowerOnSettingDialog::ReInit() {
  MediaPlayerConfirmDialog::ReInit();
  SetUpQuestion(*this, T::SID_TV_AUTO_POWER_ON_SETUP, T::SID_TV_AUTO_POWER_MSG, T::SID_YES, T::SID_NO);
}

// --- Help ---------------------------------------------------------------------------------------------

void ShowHelp(NonMenuSystem::WidgetClass* dialog, int32_t mask, const kv::String& text) {
  if (NonMenuSystem::NonMenuSystem* s = dialog ? dialog->OnGetNonMenuSystem() : nullptr) s->UpdateHelp(mask, text);
}

// --- DeviceNameSetupDialog --------------------------------------------------------------------

DeviceNameSetupDialog::DeviceNameSetupDialog() {
  OnSetBounds({0, 0, 510, 258});
  label_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  label_.OnSetEllipsis(true);
  for (SkinBin::Button* b : {&name_, &done_, &reset_}) {
    SetUpButton(*b, kv::String());
    b->HelpMask = kHelpButton;
    b->OnActivate = kv::MakeSlot(this, &DeviceNameSetupDialog::Activate);
    b->OnFocus = kv::MakeSlot(this, &DeviceNameSetupDialog::DoFocus);
  }
  name_.OnSetTextAlignH(Views::ALIGN_LEFT);
  name_.OnSetTextEllipsis(true);
  ReInit();
  Add(&label_);
  Add(&name_);
  Add(&reset_);
  Add(&done_);
  OnSetFocus(&name_);
}

void DeviceNameSetupDialog::ReInit() {
  MediaPlayerConfirmDialogTemplate::ReInit();
  OnSetCaption(kv::GetVariantOfString(T::SID_DEVICE_NAME_SETUP));
  message_.OnSetString(kv::GetVariantOfString(T::SID_ENTER_DEVICE_NAME));
  label_.OnSetString(kv::GetVariantOfString(T::SID_DEVICE_NAME_COLON));
  done_.OnSetText(kv::GetVariantOfString(T::SID_DONE));
  reset_.OnSetText(kv::GetVariantOfString(T::SID_RESET));
  for (SkinBin::Button* b : {&name_, &done_, &reset_}) b->HelpString = Help({&T::SID_ENTER, &T::SID_BACK});
}

void DeviceNameSetupDialog::Refresh() {
  MediaPlayerConfirmDialogTemplate::Refresh();
  const int32_t w = Bounds().W();
  label_.OnSetBounds({20, 110, 160, 137});
  // Reset is wider than the other buttons: "Réinitialiser" keeps a margin
  // inside its rim.
  const int32_t resetW = kButtonWidth + 10;
  name_.OnSetBounds({165, 110, w - 20 - resetW - 10, 137});
  reset_.OnSetBounds({w - 20 - resetW, 110, w - 20, 137});
  const int32_t y = Bounds().H() - kButtonHeight - 25;
  const int32_t x = (w - kButtonWidth) / 2;
  done_.OnSetBounds({x, y, x + kButtonWidth, y + kButtonHeight});
}

void DeviceNameSetupDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerConfirmDialogTemplate::Initialize(param);
  if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)) agent->Register(this);
  if (Media::MediaWrapper* media = Bridge()) name_.OnSetText(media->GetDmrName());
  const bool installing = Installing();
  PrevState = installing ? &MediaRendererOnOffDialog::StaticClass() : RendererPage();
  NextState = installing ? &AccessControlSelectDialog::StaticClass() : RendererPage();
  // The button that took the focus as the dialog was built puts its keys up
  // now that the dialog opens.
  DoFocus(OnGetFocus());
}

void DeviceNameSetupDialog::Close() {
  const bool wasOpen = IsOpen();
  CloseBar();
  MediaPlayerConfirmDialogTemplate::Close();
  if (wasOpen)
    if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)) agent->UnRegister(this);
}

void DeviceNameSetupDialog::DoFocus(kv::Object* sender) {
  if (auto* b = kv::Cast<SkinBin::Button>(sender)) ShowHelp(this, static_cast<int32_t>(b->HelpMask), b->HelpString);
}

bool DeviceNameSetupDialog::IsValidName(const kv::String& name) {
  const int32_t n = name.Length();
  if (n > kMaxName) return false;
  for (int32_t i = 0; i < n; ++i) {
    switch (name.At(i)) {
      case u'#': case u'$': case u'@': case u'[': case u'\\': case u']': case u'^': case u'`': case u'{':
      case u'}': case u'~':
        return false;
      default:
        break;
    }
  }
  const kv::String end = kv::LoadString(T::NAME_END_CAPTION);
  return n == 0 || end.Empty() || name.At(n - 1) != end.At(0);
}

void DeviceNameSetupDialog::Activate(kv::Object* sender) {
  Media::MediaWrapper* media = Bridge();
  if (sender == &name_) {
    OpenKeyPad();
  } else if (sender == &reset_) {
    if (media) {
      media->ResetDmrName();
      name_.OnSetText(media->GetDmrName());
    }
    OnSetFocus(&name_);
  } else if (sender == &done_ && NextState) {
    if (media) media->SetDmrName(name_.OnGetText());
    Post(&WidgetClass::EnterNextStateSlot);
  }
}

void DeviceNameSetupDialog::OpenKeyPad() {
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  const kv::Class* keyPad = KV_LATE_CLASS("NonMenuSystem::KeyPad");
  if (!s || !keyPad) return;
  OnSetVisible(false);
  auto* param = kv::New<SkinBin::UserRefInt>();
  param->Code = TransitionCode();
  param->Flag = 1;
  param->Value = kKeyPadLength;
  param->String = name_.OnGetText();
  auto* state = kv::New<SubSystem::State>();
  state->Class = keyPad;
  state->PrevState = KvClass();
  state->Param = param;
  s->ChangeState(state);
}

void DeviceNameSetupDialog::HandleMessage(Structures::Message* msg) {
  if (!msg || msg->Code != Constants::MSG_LABEL_CHANGE || !IsOpen()) return;
  auto* text = kv::Cast<Structures::RefString>(msg->ObjParam.get());
  if (!text) {
    // Back on the key pad: the dialog as it was.
    kv::PostSignal(kv::MakeSlot(this, &DeviceNameSetupDialog::TakeFocusBack));
    return;
  }
  if (IsValidName(text->Value))
    TakeName(text->Value);
  else
    RefuseName();
}

void DeviceNameSetupDialog::TakeName(const kv::String& name) {
  if (auto* focused = kv::Cast<SkinBin::Button>(OnGetFocus())) focused->OnSetText(name);
  kv::PostSignal(kv::MakeSlot(this, &DeviceNameSetupDialog::TakeFocusBack));
}

void DeviceNameSetupDialog::TakeFocusBack(kv::Object*) {
  if (!IsOpen()) return;
  OnSetVisible(true);
  ShowParts(true);
  if (kept_) OnSetFocus(kept_.get());
  kept_ = nullptr;
  if (Core::Group* owner = Owner()) owner->OnSetFocus(this);
  DoFocus(OnGetFocus());
}

void DeviceNameSetupDialog::ShowParts(bool on) {
  for (Core::View* v : std::initializer_list<Core::View*>{&caption_, &divider_, &frame_, &background_, &message_,
                                                          &label_, &name_, &reset_, &done_})
    if (v->IsVisible() != on) v->OnSetVisible(on);
}

void DeviceNameSetupDialog::RefuseName() {
  kv::Trace("%s", {kv::LoadString(T::T_NAME_REFUSED)});
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  OnSetVisible(true);
  if (OnGetFocus()) kept_ = OnGetFocus();
  ShowParts(false);
  if (!s) return;
  NonMenuSystem::DirectMessageBar* bar = s->ShowMessage(Constants::DirectMsgTypeNone);
  if (!bar) return;
  bar->OnSetMessageInfo(kv::GetVariantOfString(T::SID_DLNA_DMR_INVALID_STRING));
  bar->OnTimeOut = kv::MakeSlot(this, &DeviceNameSetupDialog::BarTimedOut);
  bar->OnSetTimeOutValue(kBarTime);
  bar_ = bar;
  // The dialog keeps the keys: Back closes the bar.
  if (Core::Group* owner = Owner()) owner->OnSetFocus(this);
  ShowHelp(this, kHelpBack, Help({&T::SID_BACK}));
}

void DeviceNameSetupDialog::CloseBar() {
  NonMenuSystem::DirectMessageBar* bar = bar_.get();
  bar_ = nullptr;
  if (bar && bar->IsOpen()) bar->Close();
}

void DeviceNameSetupDialog::BarTimedOut(kv::Object*) {
  CloseBar();
  if (IsOpen()) OpenKeyPad();
}

kv::Object* DeviceNameSetupDialog::HandleEvent(Core::Event* event) {
  switch (DownKey(event)) {
    case KEY_OK:
      // OK on a button is the button's own; nothing else takes it here.
      return this;
    case KEY_UP:
      OnSetFocus(&name_);
      return this;
    case KEY_DOWN:
      OnSetFocus(&done_);
      return this;
    case KEY_LEFT:
      if (OnGetFocus() == &reset_) OnSetFocus(&name_);
      return this;
    case KEY_RIGHT:
      if (OnGetFocus() == &name_) OnSetFocus(&reset_);
      return this;
    case KEY_BACK:
      if (bar_ && bar_->IsOpen()) {
        CloseBar();
        TakeFocusBack();
        return this;
      }
      break;
    default:
      break;
  }
  return MediaPlayerConfirmDialogTemplate::HandleEvent(event);
}

// --- MaximumVolumeSetupDialog ---------------------------------------------------------------------

MaximumVolumeSetupDialog::MaximumVolumeSetupDialog() {
  OnSetBounds({0, 0, 510, 258});
  auto* button = kv::New<AdjustArrowButton>();
  button->OptionType = SkinBin::OPTION_TYPE_MAX_VOLUME_SETUP;
  button->NextState = &AutoPowerOnSettingDialog::StaticClass();
  button->OnActivate = kv::MakeSlot(this, &MaximumVolumeSetupDialog::DoActivate);
  button->OnResetTimeout = kv::MakeSlot(this, &MaximumVolumeSetupDialog::RestartTimeOut);
  button_ = button;
  ReInit();
  Add(button);
  OnSetFocus(button);
}

void MaximumVolumeSetupDialog::ReInit() {
  MediaPlayerConfirmDialogTemplate::ReInit();
  OnSetCaption(kv::GetVariantOfString(T::SID_MAX_VOL_SETUP));
  message_.OnSetString(kv::GetVariantOfString(T::SID_DMR_CONTROLLER_VOLUME_SETUP));
}

void MaximumVolumeSetupDialog::Refresh() {
  MediaPlayerConfirmDialogTemplate::Refresh();
  const int32_t x = (Bounds().W() - 150) / 2;
  button_->OnSetBounds({x, 130, x + 150, 160});
  button_->Refresh();
}

void MaximumVolumeSetupDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerConfirmDialogTemplate::Initialize(param);
  const bool installing = Installing();
  PrevState = installing ? &AccessControlSelectDialog::StaticClass() : RendererPage();
  NextState = RendererPage();
  OptionDatabase::OptionDataClass* record = MenuSystem::OptionRecord(SkinBin::OPTION_TYPE_MAX_VOLUME_SETUP);
  if (record) {
    record->Initialize();
    if (record->HasProperty()) record->Value = kv::OnGetInt32(record->RefValue);
    if (auto* slider = kv::Cast<OptionDatabase::SliderCourier>(record->Courier.get())) {
      button_->OnSetMax(slider->Max);
      button_->OnSetMin(slider->Min);
      button_->OnSetStep(slider->Step);
      record->Val2Id();
      button_->OnSetValue(record->Id);
    }
  }
  ShowHelp(this, kHelpVolume, Help({&T::SID_SELECT, &T::SID_ENTER, &T::SID_BACK}));
}

void MaximumVolumeSetupDialog::DoActivate(kv::Object*) {
  if (Media::MediaWrapper* media = Bridge()) media->SetMaxDMCVolume(button_->Value);
  EndInstalling();
  Post(&WidgetClass::EnterNextStateSlot);
}

// --- SelectMediaControllerDialog -------------------------------------------------------------------

SelectMediaControllerDialog::SelectMediaControllerDialog() {
  OnSetBounds({0, 0, 560, 360});
  for (Views::Text& h : heads_) {
    h.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    h.OnSetEllipsis(true);
    Add(&h);
  }
  SetUpButton(done_, kv::String());
  done_.OnActivate = kv::MakeSlot(this, &SelectMediaControllerDialog::DoDone);
  done_.OnFocus = kv::MakeSlot(this, &SelectMediaControllerDialog::UpdateHelp);
  ReInit();
  Add(&done_);
}

void SelectMediaControllerDialog::ReInit() {
  MediaPlayerDialogTemplate::ReInit();
  OnSetCaption(kv::GetVariantOfString(T::SID_SELECT_CONTROLLER));
  heads_[0].OnSetString(kv::GetVariantOfString(T::SID_MAC_ADDRESS));
  heads_[1].OnSetString(kv::GetVariantOfString(T::SID_DEVICE_NAME));
  done_.OnSetText(kv::GetVariantOfString(T::SID_DONE));
}

void SelectMediaControllerDialog::Refresh() {
  MediaPlayerDialogTemplate::Refresh();
  heads_[0].OnSetBounds({50, 45, 240, 70});
  heads_[1].OnSetBounds({250, 45, 520, 70});
  if (list_) list_->OnSetBounds({30, 75, 530, 289});
  const int32_t x = (Bounds().W() - kButtonWidth) / 2;
  const int32_t y = Bounds().H() - kButtonHeight - 20;
  done_.OnSetBounds({x, y, x + kButtonWidth, y + kButtonHeight});
}

void SelectMediaControllerDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerDialogTemplate::Initialize(param);
  if (Installing()) {
    PrevState = &SelectMediaControllerConfirmDialog::StaticClass();
    NextState = &MaximumVolumeSetupDialog::StaticClass();
  } else {
    // Back where it was opened from.
    NextState = PrevState;
  }
  Reload();
}

void SelectMediaControllerDialog::Reload() {
  // Closing the old list takes it out of the dialog.
  if (list_) list_->Close();
  auto* list = kv::New<ListForm::MediaControllerList>();
  list_ = list;
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  list->OnSetBounds({30, 75, 530, 289});
  list->Initialize(param);
  list->Open();
  OnSetFocus(list->GetItemsNum() > 0 ? static_cast<Core::View*>(list) : &done_);
  UpdateHelp();
}

void SelectMediaControllerDialog::UpdateHelp(kv::Object*) {
  if (OnGetFocus() == &done_)
    ShowHelp(this, kHelpList, ListHelp());
  else
    ShowHelp(this, kHelpListRows, Help({&T::SID_SELECT_DESELECT, &T::SID_PAGE, &T::SID_UPDATE, &T::SID_DELETE, &T::SID_BACK}));
}

void SelectMediaControllerDialog::DoDone(kv::Object*) {
  Media::MediaWrapper* media = Bridge();
  if (media && list_) {
    const int32_t n = media->GetMediaControllorCount();
    // The rows that show a controller: the list's unused row slots answer
    // no controller of their own.
    for (Forms::Ctrl* ctrl : list_->GetRows()) {
      auto* row = kv::Cast<ListForm::MediaControllerListItem>(ctrl);
      if (!row || row->OnGetItemIndex() < 0 || row->OnGetItemIndex() >= n) continue;
      if (row->IsChecked)
        media->RegisterMediaControllor(row->OnGetItemIndex());
      else
        media->UnRegisterMediaControllor(row->OnGetItemIndex());
    }
  }
  if (Installing()) EndInstalling();
  if (list_) list_->Close();
  Post(&WidgetClass::EnterNextStateSlot);
}

kv::Object* SelectMediaControllerDialog::HandleEvent(Core::Event* event) {
  switch (DownKey(event)) {
    case KEY_RIGHT:
      OnSetFocus(&done_);
      UpdateHelp();
      return this;
    case KEY_LEFT:
      if (list_) OnSetFocus(list_.get());
      UpdateHelp();
      return this;
    case KEY_RED:
      Reload();
      return this;
    case KEY_BLUE: {
      Media::MediaWrapper* media = Bridge();
      auto* row = list_ ? kv::Cast<ListForm::MediaControllerListItem>(list_->GetFocusedRow()) : nullptr;
      if (media && row && row->OnGetItemIndex() < media->GetMediaControllorCount()) {
        media->RemoveMediaControllor(row->OnGetItemIndex());
        Reload();
      }
      return this;
    }
    default:
      return MediaPlayerDialogTemplate::HandleEvent(event);
  }
}

// --- MediaServerSetupDialog -------------------------------------------------------------------------

MediaServerSetupDialog::MediaServerSetupDialog() {
  OnSetBounds({0, 0, kServerListX * 2 + ListForm::MediaServerListItem::kRowWidth, 360});
  NextState = &MediaPlayerSetupMenu::StaticClass();
  for (Views::Text& h : heads_) {
    h.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    h.OnSetEllipsis(true);
    Add(&h);
  }
  SetUpButton(done_, kv::String());
  done_.OnActivate = kv::MakeSlot(this, &MediaServerSetupDialog::DoDone);
  ReInit();
  Add(&done_);
}

void MediaServerSetupDialog::ReInit() {
  MediaPlayerDialogTemplate::ReInit();
  OnSetCaption(kv::GetVariantOfString(T::SID_MEDIA_SERVER_SETTINGS));
  heads_[0].OnSetString(kv::GetVariantOfString(T::SID_DEVICE_NAME));
  heads_[1].OnSetString(kv::GetVariantOfString(T::SID_MAC_ADDRESS));
  heads_[2].OnSetString(kv::GetVariantOfString(T::SID_WAKE_ON_LAN));
  done_.OnSetText(kv::GetVariantOfString(T::SID_DONE));
}

void MediaServerSetupDialog::Refresh() {
  MediaPlayerDialogTemplate::Refresh();
  // Each head stands over its column of the list.
  using Row = ListForm::MediaServerListItem;
  const int32_t l = kServerListX;
  heads_[0].OnSetBounds({l + Row::kNameX, 45, l + Row::kAddressX - Row::kColumnGap, 70});
  heads_[1].OnSetBounds({l + Row::kAddressX, 45, l + Row::kWakeX - Row::kColumnGap, 70});
  heads_[2].OnSetBounds({l + Row::kWakeX, 45, l + Row::kRowWidth, 70});
  if (list_) list_->OnSetBounds(ServerListBounds());
  const int32_t x = (Bounds().W() - kButtonWidth) / 2;
  const int32_t y = Bounds().H() - kButtonHeight - 20;
  done_.OnSetBounds({x, y, x + kButtonWidth, y + kButtonHeight});
}

void MediaServerSetupDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  MediaPlayerDialogTemplate::Initialize(param);
  if (!list_) {
    auto* list = kv::New<ListForm::MediaServerList>();
    list_ = list;
    auto* p = kv::New<Primitives::KeyRoutingParameter>();
    p->Owner = this;
    list->OnSetBounds(ServerListBounds());
    list->Initialize(p);
  }
  list_->Open();
  OnSetFocus(list_->GetItemsNum() > 0 ? static_cast<Core::View*>(list_.get()) : &done_);
  ShowHelp(this, kHelpList, ListHelp());
}

void MediaServerSetupDialog::DoDone(kv::Object*) {
  if (list_) list_->Close();
  Post(&WidgetClass::EnterNextStateSlot);
}

kv::Object* MediaServerSetupDialog::HandleEvent(Core::Event* event) {
  switch (DownKey(event)) {
    case KEY_RIGHT:
      OnSetFocus(&done_);
      return this;
    case KEY_LEFT:
      if (list_) OnSetFocus(list_.get());
      return this;
    case KEY_RED:
      if (list_) {
        list_->Close();
        list_->Open();
      }
      return this;
    default:
      return MediaPlayerDialogTemplate::HandleEvent(event);
  }
}

}  // namespace MediaPlayer
