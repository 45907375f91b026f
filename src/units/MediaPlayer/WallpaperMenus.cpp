#include "units/MediaPlayer/WallpaperMenus.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "strings/MediaPlayerSetup.h"
#include "strings/MenuSystemItems.h"
#include "strings/MenuSystemPages.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Events/StatusEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/PhotoFrame.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/MenuSystem.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/MenuSystemClass.h"
#include "units/SubSystem/State.h"

namespace MediaPlayer {

using namespace keys;

KV_REGISTER_CLASS(MediaPlayer::PreviewMenuTemplate);
KV_REGISTER_CLASS(MediaPlayer::PhotoFrameMenuTemplate);
KV_REGISTER_CLASS(MediaPlayer::PhotoFrameSetup);
KV_REGISTER_CLASS(MediaPlayer::PhotoFrameEdit);
KV_REGISTER_CLASS(MediaPlayer::DeletePhotoFramePhotoDialog);

namespace {

namespace T = MediaPlayerSetup;
using MenuSystem::SubMenuItem;


// The page: a caption strip of 35 above the preview; the rows stand under
// the preview in a left column, the Start button to their right. The rows
// end where the notices' place begins (y 450): a notice that comes over the
// page (a recording stopped, the network not available) leaves the focused
// row whole.
constexpr kv::Rect kPageBounds{110, 30, 850, 505};
constexpr kv::Rect kPreview{235, 45, 725, 375};
constexpr kv::Point kWallpaperSize{490, 330};
constexpr int32_t kRowsX = 15;
constexpr int32_t kRowsY = 376;
constexpr int32_t kRowWidth = 470;
constexpr int32_t kRowHeight = 24;
constexpr int32_t kRowGap = 1;
constexpr kv::Rect kStartButton{560, 400, 670, 426};
constexpr int32_t kMenuLayer = 8;
// Photo, the media type of the device choice.
constexpr int32_t kMediaPhoto = 2;

SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)); }
Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }

uint16_t DownKey(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  return key && key->Down ? key->Code : 0;
}

void SetLastSource() {
  if (SkinBin::Wrapper* w = Skin()) w->SetLastSource();
}

// Switches to the media input when another source is current.
void ToMediaSource() {
  SkinBin::Wrapper* w = Skin();
  if (w && w->GetCurrentSource(0) != SkinBin::Wrapper::GetExtSourceId()) w->SetSource(0, SkinBin::Wrapper::GetExtSourceId());
}

kv::String Help(std::initializer_list<const kv::MultiTextId*> words) { return MenuSystem::HelpText(words); }

// MSG_UPDATE_HELP_BAR to the non-menu sub-system, which shows its help bar.
void UpdateHelpOf(int32_t mask, const kv::String& text) {
  auto* s = kv::New<Structures::RefString>();
  s->Value = text;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_UPDATE_HELP_BAR, s, mask);
  if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent))
    agent->DispatchTo(msg, KV_LATE_CLASS("NonMenuSystem::NonMenuSystem"));
}

}  // namespace

// --- PreviewMenuTemplate ----------------------------------------------------------------

PreviewMenuTemplate::PreviewMenuTemplate() {
  OnSetBounds(kPageBounds);
  MenuLevel = 4;
  Layer = kMenuLayer;
  SubSystemClass = KV_LATE_CLASS("MenuSystem::MenuSystem");
  ArrangeMode = 2;
  background_.OnSetColor({0, 0, 0, 255});
  title_.OnSetColor(kv::Color::FromWord(0xF0201C1Au));
  border_.OnSetWidth(1);
  border_.OnSetColor(Colors::DialogBorder);
  caption_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  caption_.OnSetAlignV(1);
  caption_.OnSetEllipsis(true);
  upArrow_.OnSetAutoSize(true);
  downArrow_.OnSetAutoSize(true);
  upArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::OptionButtonUpArrow));
  downArrow_.OnSetBitmap(Resources::LoadResource(Bitmaps::OptionButtonDownArrow));
  upArrow_.OnSetVisible(false);
  downArrow_.OnSetVisible(false);
  Add(&background_);
  Add(&title_);
  Add(&border_);
  Add(&caption_);
  Add(&preview_);
  Add(&upArrow_);
  Add(&downArrow_);
  nextItemY_ = kRowsY;
  Refresh();
}

void PreviewMenuTemplate::OnSetCaption(const kv::String& caption) {
  Caption = caption;
  caption_.OnSetString(caption);
  InvalidateView();
}

void PreviewMenuTemplate::ReInit() {
  MenuClass::ReInit();
  if (CaptionId) OnSetCaption(kv::GetVariantOfString(*CaptionId));
}

SubMenuItem* PreviewMenuTemplate::AddItem(SubMenuItem* item, const kv::MultiTextId& caption, const kv::Class* target) {
  item->OnSetText(kv::GetVariantOfString(caption));
  item->OnSetNextState(target);
  item->HelpString = Help({&MenuSystemItems::SID_ENTER, &MenuSystemItems::SID_BACK});
  item->OnActivate = kv::MakeSlot(static_cast<SubSystem::MenuClass*>(this), &SubSystem::MenuClass::DoActivate);
  item->OnFocus = kv::MakeSlot(static_cast<SubSystem::MenuClass*>(this), &SubSystem::MenuClass::DoFocus);
  item->OnSetBounds({kRowsX, nextItemY_, kRowsX + kRowWidth, nextItemY_ + kRowHeight});
  item->Refresh();
  nextItemY_ += kRowHeight + kRowGap;
  Add(item);
  ItemsNum = ItemsNum + 1;
  return item;
}

void PreviewMenuTemplate::Initialize(Primitives::KeyRoutingParameter* param) {
  MenuClass::Initialize(param);
  if (param && !MenuSystem) MenuSystem = kv::Cast<SubSystem::MenuSystemClass>(param->Owner.get());
  if (MenuSystem) OnSetCurrentItemIndex(MenuSystem->GetMenuIndex(MenuLevel));
}

void PreviewMenuTemplate::Refresh() {
  const kv::Rect b = Bounds();
  background_.OnSetBounds({0, 0, b.W(), b.H()});
  border_.OnSetBounds({0, 0, b.W(), b.H()});
  title_.OnSetBounds({0, 0, b.W(), 35});
  caption_.OnSetBounds({15, 0, b.W() - 15, 35});
  preview_.OnSetBounds(kPreview);
  InvalidateView();
}

// A page without a focused row (one with no rows) has nothing to move.
Forms::Ctrl* PreviewMenuTemplate::SelectUpper() {
  auto* focus = kv::Cast<Forms::Ctrl>(OnGetFocus());
  Forms::Ctrl* c = focus ? GetPrevCtrl(focus) : nullptr;
  if (c) OnSetFocus(c);
  return c;
}

Forms::Ctrl* PreviewMenuTemplate::SelectLower() {
  auto* focus = kv::Cast<Forms::Ctrl>(OnGetFocus());
  Forms::Ctrl* c = focus ? GetNextCtrl(focus) : nullptr;
  if (c) OnSetFocus(c);
  return c;
}

void PreviewMenuTemplate::UpdateHelp(int32_t mask, const kv::String& text) {
  auto* s = kv::New<Structures::RefString>();
  s->Value = text;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_UPDATE_HELP_BAR, s, mask);
  if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)) agent->Dispatch(msg);
}

void PreviewMenuTemplate::ClearHelp() {
  if (auto* menu = kv::Cast<MenuSystem::MenuSystem>(MenuSystem.get())) menu->ClearHelpBar();
}

void PreviewMenuTemplate::DoFocus(kv::Object* sender) {
  auto* item = kv::Cast<SubMenuItem>(sender);
  if (item && kv::Cast<MenuSystem::MenuSystem>(MenuSystem.get())) UpdateHelp(item->HelpMask, item->HelpString);
}

void PreviewMenuTemplate::DoActivate(kv::Object* sender) {
  auto* item = kv::Cast<SubMenuItem>(sender);
  SubSystem::MenuSystemClass* owner = MenuSystem.get();
  if (!item || !item->OnGetNextState() || !kv::Cast<MenuSystem::MenuSystem>(owner)) return;
  if (kv::Cast<MenuSystem::SubMenuItemValue>(item) || kv::Cast<MenuSystem::SubMenuItemAdjust>(item)) ClearHelp();
  auto* state = kv::New<SubSystem::State>();
  state->Class = item->OnGetNextState();
  state->PrevState = KvClass();
  state->Param = SkinBin::UserRefInt::Make(item->OptionType, Constants::MSG_FROM_MENUSYSTEM);
  const int32_t index = OnGetCurrentItemIndex();
  Close();
  owner->SetMenuIndex(MenuLevel, index);
  owner->ChangeState(state);
}

kv::Object* PreviewMenuTemplate::HandleEvent(Core::Event* event) {
  const uint16_t code = DownKey(event);
  switch (code) {
    case KEY_EXIT:
    case KEY_EXIT_ALT:
      // The whole menu comes down (help bar too) and live TV takes the keys.
      Close();
      if (auto* menu = kv::Cast<MenuSystem::MenuSystem>(MenuSystem.get())) menu->TearDownMenus();
      return this;
    case KEY_UP:
      if (UpperestItem && OnGetFocus() == UpperestItem.get())
        OnSetFocus(LowerestItem.get());
      else
        SelectUpper();
      ResetTimeout();
      return this;
    case KEY_DOWN:
      if (LowerestItem && OnGetFocus() == LowerestItem.get())
        OnSetFocus(UpperestItem.get());
      else
        SelectLower();
      ResetTimeout();
      return this;
    case KEY_BACK: {
      SubSystem::MenuSystemClass* owner = MenuSystem.get();
      if (MenuLevel >= 4 && owner && PrevState) {
        const kv::Class* prev = PrevState;
        owner->SetMenuIndex(MenuLevel, 1);
        Close();
        auto* state = kv::New<SubSystem::State>();
        state->Class = prev;
        owner->ChangeState(state);
      }
      ResetTimeout();
      return this;
    }
    default:
      return MenuClass::HandleEvent(event);
  }
}

// --- PhotoFrameMenuTemplate -------------------------------------------------------------

PhotoFrameMenuTemplate::PhotoFrameMenuTemplate() {
  OnSetTimeOutValue(0);
  caption_.OnSetColor({200, 200, 200, 255});
  preview_.OnSetBounds(kPreview);
  wallpaper_.OnSetSize(kWallpaperSize);
}

void PhotoFrameMenuTemplate::Initialize(Primitives::KeyRoutingParameter* param) {
  PreviewMenuTemplate::Initialize(param);
  CloseChannelBanner();
  const kv::Slot update = kv::MakeSlot(this, &PhotoFrameMenuTemplate::Update);
  kv::DetachObjObserver(update, &wallpaper_);
  kv::AttachObjObserver(update, &wallpaper_);
  path_ = Bridge() ? Bridge()->GetWallpaperPath() : kv::String();
  kv::IdleSignal(kv::MakeSlot(this, &PhotoFrameMenuTemplate::LoadWallpaper));
}

void PhotoFrameMenuTemplate::LoadWallpaper(kv::Object*) {
  if (path_.Empty()) {
    // No picture (deleted, or none chosen yet): an empty preview.
    wallpaper_.FileName = kv::String();
    preview_.OnSetBitmap(nullptr);
    preview_.InvalidateView();
    return;
  }
  // A page opened again over the same path loads the file again.
  if (kv::CompString(wallpaper_.FileName, path_) == 0)
    wallpaper_.LoadBitmap();
  else
    wallpaper_.OnSetFileName(path_);
}

void PhotoFrameMenuTemplate::Update(kv::Object*) {
  TurnToStoredOrientation(wallpaper_, path_, turning_);
  preview_.OnSetBitmap(path_.Empty() ? nullptr : &wallpaper_);
  preview_.InvalidateView();
}

kv::Object* PhotoFrameMenuTemplate::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    switch (key->Code) {
      case KEY_OK: case KEY_EXIT: case KEY_UP: case KEY_DOWN: case KEY_LEFT: case KEY_RIGHT: case KEY_BACK: case KEY_EXIT_ALT:
        return PreviewMenuTemplate::HandleEvent(event);
      default:
        return this;
    }
  }
  if (Events::StatusEvent* status = AutoStartPlug(event)) {
    SetLastSource();
    AskToOpenPluggedStick(MenuSystem.get(), status);
    return this;
  }
  if (kv::Cast<Events::StatusEvent>(event)) return this;
  return PreviewMenuTemplate::HandleEvent(event);
}

// --- PhotoFrameSetup ------------------------------------------------------------------------

PhotoFrameSetup::PhotoFrameSetup() {
  WinID = kWinId;
  CaptionId = &MenuSystemPages::SID_WALLPAPER_SETUP;
  OnSetCaption(kv::GetVariantOfString(MenuSystemPages::SID_WALLPAPER_SETUP));
  PrevState = &MenuSystem::PreferencesMenu::StaticClass();
  ParentPage = PrevState;
  NextState = nullptr;
  select_ = AddItem(kv::New<SubMenuItem>(), T::SID_PHOTO_SELECT, KV_LATE_CLASS("MediaPlayer::MediaDeviceSelectDialog"));
  select_->OptionType = kMediaPhoto;
  edit_ = AddItem(kv::New<SubMenuItem>(), T::SID_PHOTO_EDIT, &PhotoFrameEdit::StaticClass());
  start_.OnSetText(kv::GetVariantOfString(T::SID_START));
  start_.OnSetBounds(kStartButton);
  start_.OnSetDefault_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
  start_.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
  start_.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
  start_.OnSetTextAlignH(1);
  start_.TargetClass = &PhotoFrame::StaticClass();
  start_.OnActivate = kv::MakeSlot(this, &PhotoFrameSetup::DoStart);
  auto* powerOff = kv::New<MenuSystem::SubMenuItemValueSelect>();
  powerOff->OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::SelectButtonNonFocused));
  powerOff->OnSetDefault_BackgroundBitmap(Resources::LoadResource(Bitmaps::SelectButtonNonFocused));
  powerOff->OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::SelectButtonFocused));
  powerOff->OnSetTextColor2(Colors::White);
  powerOff_ = AddItem(powerOff, T::SID_AUTO_POWER_OFF, nullptr);
  powerOff_->OptionType = SkinBin::OPTION_TYPE_TV_AUTO_POWEROFF;
  powerOff_->HelpMask = MenuSystem::HELP_MASK_VALUE;
  // The start button comes after the column's rows: up and down, which
  // wrap between the first and the last row, never reach it.
  Add(&start_);
  UpperestItem = select_.get();
  LowerestItem = powerOff_.get();
}

MenuSystem::SubMenuItemValueSelect* PhotoFrameSetup::PowerOffItem() {
  return kv::Cast<MenuSystem::SubMenuItemValueSelect>(powerOff_.get());
}

void PhotoFrameSetup::ReInit() {
  PhotoFrameMenuTemplate::ReInit();
  select_->OnSetText(kv::GetVariantOfString(T::SID_PHOTO_SELECT));
  edit_->OnSetText(kv::GetVariantOfString(T::SID_PHOTO_EDIT));
  powerOff_->OnSetText(kv::GetVariantOfString(T::SID_AUTO_POWER_OFF));
  start_.OnSetText(kv::GetVariantOfString(T::SID_START));
  for (SubMenuItem* item : {select_.get(), edit_.get(), powerOff_.get()})
    item->HelpString = Help({&MenuSystemItems::SID_ENTER, &MenuSystemItems::SID_BACK});
  if (IsOpen()) MenuSystem::BindOption(powerOff_.get());
}

void PhotoFrameSetup::Initialize(Primitives::KeyRoutingParameter* param) {
  PhotoFrameMenuTemplate::Initialize(param);
  ToMediaSource();
  MenuSystem::BindOption(powerOff_.get());
  // Nothing to edit with the default wallpaper, or with no picture at all.
  edit_->OnSetIsDisabled(IsDefaultWallpaper(path_) || path_.Empty());
  OnSetFocus(select_.get());
  DoFocus(select_.get());
}

void PhotoFrameSetup::DoStart(kv::Object* sender) {
  auto* button = kv::Cast<SkinBin::Button>(sender);
  SubSystem::MenuSystemClass* owner = MenuSystem.get();
  if (!button || !button->TargetClass || !kv::Cast<MenuSystem::MenuSystem>(owner)) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = button->TargetClass;
  state->PrevState = KvClass();
  state->Param = SkinBin::UserRefInt::Make(0, Constants::MSG_FROM_MENUSYSTEM);
  ClearHelp();
  Close();
  owner->ChangeState(state);
}

kv::Object* PhotoFrameSetup::HandleEvent(Core::Event* event) {
  const uint16_t code = DownKey(event);
  const bool onStart = OnGetFocus() == &start_;
  switch (code) {
    case KEY_EXIT:
    case KEY_BACK:
    case KEY_EXIT_ALT:
      SetLastSource();
      return PhotoFrameMenuTemplate::HandleEvent(event);
    case KEY_UP:
    case KEY_DOWN:
      if (onStart) return this;
      return PhotoFrameMenuTemplate::HandleEvent(event);
    case KEY_LEFT:
      if (onStart && MenuSystem) OnSetCurrentItemIndex(MenuSystem->GetMenuIndex(MenuLevel));
      return this;
    case KEY_RIGHT:
      if (!onStart && kv::Cast<SubMenuItem>(OnGetFocus())) {
        if (MenuSystem) MenuSystem->SetMenuIndex(MenuLevel, OnGetCurrentItemIndex());
        OnSetFocus(&start_);
      }
      return this;
    default:
      return PhotoFrameMenuTemplate::HandleEvent(event);
  }
}

// --- PhotoFrameEdit -------------------------------------------------------------------------

PhotoFrameEdit::PhotoFrameEdit() {
  WinID = kWinId;
  MenuLevel = 5;
  CaptionId = &T::SID_PHOTO_EDIT;
  OnSetCaption(kv::GetVariantOfString(T::SID_PHOTO_EDIT));
  PrevState = &PhotoFrameSetup::StaticClass();
  ParentPage = PrevState;
  delete_ = AddItem(kv::New<SubMenuItem>(), T::SID_DELETE, nullptr);
  delete_->OnActivate = kv::MakeSlot(this, &PhotoFrameEdit::DoDelete);
  rotate_ = AddItem(kv::New<SubMenuItem>(), T::SID_ROTATE, nullptr);
  rotate_->OnActivate = kv::MakeSlot(this, &PhotoFrameEdit::DoRotate);
  UpperestItem = delete_.get();
  LowerestItem = rotate_.get();
}

void PhotoFrameEdit::ReInit() {
  PhotoFrameMenuTemplate::ReInit();
  delete_->OnSetText(kv::GetVariantOfString(T::SID_DELETE));
  rotate_->OnSetText(kv::GetVariantOfString(T::SID_ROTATE));
  for (SubMenuItem* item : {delete_.get(), rotate_.get()})
    item->HelpString = Help({&MenuSystemItems::SID_ENTER, &MenuSystemItems::SID_BACK});
}

void PhotoFrameEdit::Initialize(Primitives::KeyRoutingParameter* param) {
  PhotoFrameMenuTemplate::Initialize(param);
  OnSetFocus(rotate_.get());
  Reload();
}

void PhotoFrameEdit::Reload() {
  path_ = Bridge() ? Bridge()->GetWallpaperPath() : kv::String();
  kv::IdleSignal(kv::MakeSlot(static_cast<PhotoFrameMenuTemplate*>(this), &PhotoFrameMenuTemplate::LoadWallpaper));
  const bool locked = IsDefaultWallpaper(path_) || path_.Empty();
  delete_->OnSetIsDisabled(locked);
  rotate_->OnSetIsDisabled(locked);
}

kv::Object* PhotoFrameEdit::HandleEvent(Core::Event* event) {
  const uint16_t code = DownKey(event);
  if (code == KEY_EXIT || code == KEY_EXIT_ALT) SetLastSource();
  return PhotoFrameMenuTemplate::HandleEvent(event);
}

void PhotoFrameEdit::DoDelete(kv::Object*) {
  auto* form = kv::New<DeletePhotoFramePhotoDialog>();
  form->OnSetBounds({255, 215, 705, 325});
  form->OnSetTimeOutValue(0);
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  form->Initialize(param);
  form->Open();
  OnSetFocus(form);
}

void PhotoFrameEdit::DoRotate(kv::Object*) {
  SkinBin::Wrapper* w = Skin();
  Media::MediaWrapper* media = Bridge();
  if (!w || !media) return;
  const int32_t angle = w->OnGetWallpaperOrientation() + 90;
  if (angle < 271) {
    w->OnSetWallpaperOrientation(angle);
    // The turn tells the bitmap's observers: Update turns the picture to
    // the stored angle from the file, as the service turns what it decoded.
    if (angle == 90 || angle == 270) {
      const kv::Point size =
          media->SetBitmapOrientation(&wallpaper_, {wallpaper_.PictureWidth, wallpaper_.PictureHeight}, 90);
      if (size.x >= 1 && size.y >= 1) {
        wallpaper_.PictureWidth = size.x;
        wallpaper_.PictureHeight = size.y;
        preview_.InvalidateView();
      }
      return;
    }
  } else {
    w->OnSetWallpaperOrientation(0);
  }
  // 0 and 180: the file again, at the preview's whole size (not at the
  // turned picture's), turned by Update to the stored angle.
  wallpaper_.PictureWidth = 0;
  wallpaper_.PictureHeight = 0;
  wallpaper_.LoadBitmap();
}

// --- DeletePhotoFramePhotoDialog -------------------------------------------------------------

DeletePhotoFramePhotoDialog::DeletePhotoFramePhotoDialog() {
  NextState = &PhotoFrameSetup::StaticClass();
  choice_.OnSetOptionType(SkinBin::OPTION_TYPE_SELECT_YESNO);
  choice_.OnSetTextAlignH(1);
  choice_.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::SelectButtonNonFocused));
  choice_.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::SelectButtonFocused));
  choice_.OnActivate = kv::MakeSlot(this, &DeletePhotoFramePhotoDialog::DoActivate_delete);
  choice_.OnFocus = kv::MakeSlot(static_cast<MediaPlayerConfirmDialogTemplate*>(this),
                                 &MediaPlayerConfirmDialogTemplate::DoFocus);
  Add(&choice_);
  OnSetFocus(&choice_);
  ReInit();
}

void DeletePhotoFramePhotoDialog::ReInit() {
  MediaPlayerConfirmDialogTemplate::ReInit();
  OnSetCaption(kv::GetVariantOfString(T::SID_DELETE));
  message_.OnSetString(kv::GetVariantOfString(T::SID_PHOTO_DELETE_WARNING));
  choice_.HelpMask = kHelpMask;
  choice_.HelpString = MenuSystem::HelpText({&MenuSystemItems::SID_ENTER, &MenuSystemItems::SID_BACK});
  choice_.RefreshOption();
}

void DeletePhotoFramePhotoDialog::Refresh() {
  MediaPlayerConfirmDialogTemplate::Refresh();
  const kv::Rect b = Bounds();
  message_.OnSetBounds({20, 40, b.W() - 20, 70});
  const int32_t x = (b.W() - 90) / 2;
  choice_.OnSetBounds({x, b.H() - 36, x + 90, b.H() - 6});
}

void DeletePhotoFramePhotoDialog::Open() {
  // The question opens on its second choice (No).
  choice_.ToggleOption(1);
  UpdateHelpOf(kHelpMask, Help({&T::SID_SELECT, &T::SID_ENTER, &T::SID_BACK}));
  MediaPlayerConfirmDialogTemplate::Open();
}

void DeletePhotoFramePhotoDialog::DoActivate_delete(kv::Object* sender) {
  if (sender != &choice_) return;
  auto* page = kv::Cast<PhotoFrameEdit>(Owner());
  if (choice_.OnGetIndex() == 0) {
    if (Media::MediaWrapper* media = Bridge()) media->DeleteUserWallpaper(kv::LoadString(T::USER_WALLPAPER_NAME));
    if (SkinBin::Wrapper* w = Skin()) w->OnSetWallpaperOrientation(0);
    if (page) page->Reload();
  }
  if (page) {
    page->OnSetFocus(page->DeleteItem());
    UpdateHelpOf(page->DeleteItem()->HelpMask, page->DeleteItem()->HelpString);
  }
  Close();
}

kv::Object* DeletePhotoFramePhotoDialog::HandleEvent(Core::Event* event) {
  switch (DownKey(event)) {
    case KEY_BACK:
    case KEY_EXIT:
    case KEY_EXIT_ALT: {
      auto* page = kv::Cast<PhotoFrameEdit>(Owner());
      Close();
      if (page) page->OnSetFocus(page->DeleteItem());
      return this;
    }
    default:
      return MediaPlayerConfirmDialogTemplate::HandleEvent(event);
  }
}

}  // namespace MediaPlayer
