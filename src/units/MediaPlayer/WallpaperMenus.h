// The wallpaper pages of the menu: choose a picture for the photo frame,
// turn or delete it, set the frame's auto power-off and start the frame.
//
// MediaPlayer::PreviewMenuTemplate: a menu page with a caption strip and a
// preview picture beside its items; up and down wrap between UpperestItem
// and LowerestItem, Back returns to the PrevState page.
// MediaPlayer::PhotoFrameMenuTemplate: + the wallpaper in the preview (as
// the photo frame shows it), only the navigation keys pass, and a plugged
// stick raises the question whether to show it (with automatic start on).
// MediaPlayer::PhotoFrameSetup: select, edit (greyed with the default
// wallpaper), auto power-off in a left column and the Start button beside it.
// MediaPlayer::PhotoFrameEdit: delete and rotate the user's wallpaper.
// MediaPlayer::DeletePhotoFramePhotoDialog: the delete question over the
// edit page, opened on No; Yes deletes the picture and resets its angle.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "units/Media/PictureViews.h"
#include "units/MediaPlayer/RendererDialogs.h"
#include "units/SkinBin/OptionButton.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/SubSystem/MenuClass.h"
#include "units/Views/Border.h"
#include "units/Views/Image.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Rectangle.h"

namespace MenuSystem {
class SubMenuItem;
class SubMenuItemValueSelect;
}

namespace MediaPlayer {

class PreviewMenuTemplate : public SubSystem::MenuClass {
  KV_CLASS(MediaPlayer, PreviewMenuTemplate, SubSystem::MenuClass)
 public:
  PreviewMenuTemplate();

  kv::Object* HandleEvent(Core::Event* event) override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  void DoActivate(kv::Object* sender) override;
  void DoFocus(kv::Object* sender) override;
  void ReInit() override;
  // The control before or after the focused one, in the page's order.
  Forms::Ctrl* SelectUpper() override;
  Forms::Ctrl* SelectLower() override;

  void OnSetCaption(const kv::String& caption);
  const kv::String& OnGetCaption() const { return Caption; }

  Media::ScalableImage& Preview() { return preview_; }
  Views::MultilineText& CaptionText() { return caption_; }

  kv::String Caption;
  kv::Member<Forms::Ctrl> UpperestItem;
  kv::Member<Forms::Ctrl> LowerestItem;
  const kv::MultiTextId* CaptionId = nullptr;

 protected:
  // Adds a row of the left column (rows are 25 high, one under another).
  MenuSystem::SubMenuItem* AddItem(MenuSystem::SubMenuItem* item, const kv::MultiTextId& caption,
                                   const kv::Class* target);
  // Sends the menu system's help bar the mask and text.
  void UpdateHelp(int32_t mask, const kv::String& text);
  void ClearHelp();
  SubSystem::MenuSystemClass* Owner_() { return MenuSystem.get(); }

  Views::Rectangle background_;
  Views::Rectangle title_;
  Views::Border border_;
  Views::MultilineText caption_;
  Media::ScalableImage preview_;
  Views::Image upArrow_;
  Views::Image downArrow_;
  int32_t nextItemY_ = 0;
};

class PhotoFrameMenuTemplate : public PreviewMenuTemplate {
  KV_CLASS(MediaPlayer, PhotoFrameMenuTemplate, PreviewMenuTemplate)
 public:
  PhotoFrameMenuTemplate();

  kv::Object* HandleEvent(Core::Event* event) override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;

  void LoadWallpaper(kv::Object* sender = nullptr);
  void Update(kv::Object* sender = nullptr);

  Media::ExternalBitmap& Wallpaper() { return wallpaper_; }
  const kv::String& WallpaperPath() const { return path_; }

 protected:
  Media::ExternalBitmap wallpaper_;
  kv::String path_;
  bool turning_ = false;
};

class PhotoFrameSetup : public PhotoFrameMenuTemplate {
  KV_CLASS(MediaPlayer, PhotoFrameSetup, PhotoFrameMenuTemplate)
 public:
  static constexpr uint32_t kWinId = 0x0100154c;
  PhotoFrameSetup();

  kv::Object* HandleEvent(Core::Event* event) override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void ReInit() override;
  void DoStart(kv::Object* sender);

  MenuSystem::SubMenuItem* SelectItem() { return select_.get(); }
  MenuSystem::SubMenuItem* EditItem() { return edit_.get(); }
  SkinBin::Button& StartButton() { return start_; }
  MenuSystem::SubMenuItemValueSelect* PowerOffItem();

 private:
  kv::Member<MenuSystem::SubMenuItem> select_;
  kv::Member<MenuSystem::SubMenuItem> edit_;
  kv::Member<MenuSystem::SubMenuItem> powerOff_;
  SkinBin::Button start_;
};

class PhotoFrameEdit : public PhotoFrameMenuTemplate {
  KV_CLASS(MediaPlayer, PhotoFrameEdit, PhotoFrameMenuTemplate)
 public:
  static constexpr uint32_t kWinId = 0x010154c1;
  PhotoFrameEdit();

  kv::Object* HandleEvent(Core::Event* event) override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void ReInit() override;
  void DoDelete(kv::Object* sender = nullptr);
  void DoRotate(kv::Object* sender = nullptr);
  // The wallpaper read again after a delete, the items greyed without one.
  void Reload();

  MenuSystem::SubMenuItem* DeleteItem() { return delete_.get(); }
  MenuSystem::SubMenuItem* RotateItem() { return rotate_.get(); }

 private:
  kv::Member<MenuSystem::SubMenuItem> delete_;
  kv::Member<MenuSystem::SubMenuItem> rotate_;
};

class DeletePhotoFramePhotoDialog : public MediaPlayerConfirmDialogTemplate {
  KV_CLASS(MediaPlayer, DeletePhotoFramePhotoDialog, MediaPlayerConfirmDialogTemplate)
 public:
  static constexpr int32_t kHelpMask = 262660;
  DeletePhotoFramePhotoDialog();

  void Open() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  void ReInit() override;
  void DoActivate_delete(kv::Object* sender);

  SkinBin::OptionButton& Choice() { return choice_; }

 private:
  SkinBin::OptionButton choice_;
};

}  // namespace MediaPlayer
