// MediaPlayer::PhotoMultiView: the photo browser as a grid of thumbnails
// (ListForm::PhotoGridView, 4 x 7 cells of 104 x 78), with the focused
// photo's title, position, resolution and file size. OK on a photo opens
// the full-screen photo view.
//
// Opened from the photo-frame setup it picks a picture instead: OK copies
// the photo as the user wallpaper; when the copy succeeds the grid returns
// to the setup (the wallpaper's orientation reset to 0), when it fails the
// grid stays with the unsupported-file bar.
//
// While its waiting indicator is up the grid is busy: live TV then refuses
// the key that would act on it (IsBusy).
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/ListForm/GridView.h"
#include "units/MediaPlayer/BrowserTemplate.h"
#include "units/Views/Text.h"

namespace MediaPlayer {

class PhotoMultiView : public MediaPlayerTemplate {
  KV_CLASS(MediaPlayer, PhotoMultiView, MediaPlayerTemplate)
 public:
  PhotoMultiView();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  void Close() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleMessage(Structures::Message* msg) override;
  void LaunchFullScreenPlayer() override;
  void UpdateMediaInfo() override;
  void UpdateMediaList() override;
  ListForm::MediaListItem* GetFocusItem() override;
  void HideMediaInfo() override;
  void ShowHelpBar() override;

  // The waiting indicator is up.
  bool IsBusy() const { return ShowWaiting == 1; }
  bool IsPickMode() const { return pickMode_; }
  ListForm::PhotoGridView& Grid() { return grid_; }
  NonMenuSystem::DirectMessageBar* FailureBar() const { return failure_.get(); }
  void ClearNotices() override;
  const kv::String& TitleText() const { return title_.OnGetString(); }
  const kv::String& ResolutionText() const { return resolution_.OnGetString(); }
  bool IsResolutionShown() const { return resolution_.IsVisible(); }
  bool IsPromptShown() const { return prompt_.IsVisible(); }

 private:
  void MediaInfoSlot(kv::Object* /*sender*/) { UpdateMediaInfo(); }
  void ActivateSlot(kv::Object* sender) { DoItemActivate(sender); }
  void ShowCopyFailure();

  bool pickMode_ = false;
  kv::Member<ListForm::MediaListItem> picked_;
  kv::Member<NonMenuSystem::DirectMessageBar> failure_;
  Views::Text info_;
  Views::Text resolution_;
  Views::Text title_;
  ListForm::PhotoGridView grid_;
  Views::Text prompt_;
};

}  // namespace MediaPlayer
