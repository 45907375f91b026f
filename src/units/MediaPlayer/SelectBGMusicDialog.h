// MediaPlayer::SelectBGMusicDialog: the choice of the music behind a slide
// show, opened from the quick menu's background-music page.
//
// It browses the music folders of the medium being viewed through the media
// bridge, one folder at a time: OK on a folder goes into it, Back goes up (and
// at the top closes the dialog); OK on a song makes that song's folder the
// music play list, starts it when a slide show runs with music on, and goes
// back to the background-music page. Picture events and the slide show's
// advance reports go on to the photo viewer behind it. When the medium goes
// (stick pulled, server or network lost) the dialog closes: an open photo
// viewer is handed the removal and leaves by its own road; without one, all
// screens close and message 21 tells the user.
#pragma once

#include <cstdint>

#include "units/ListForm/MediaLists.h"
#include "units/MediaPlayer/MediaPlayerDialogs.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace MediaPlayer {

class SelectBGMusicDialog : public MediaPlayerDialogTemplate {
  KV_CLASS(MediaPlayer, SelectBGMusicDialog, MediaPlayerDialogTemplate)
 public:
  SelectBGMusicDialog();

  // Starts browsing at the medium's top folder, with the waiting circle.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  void Refresh() override;
  // The media service's status reports come as MSG_MM_STATUS_INFO.
  void HandleMessage(Structures::Message* msg) override;

  // Stores it; 0 and up go to the waiting circle.
  void OnSetShowWaiting(int32_t v);
  int32_t OnGetShowWaiting() const { return ShowWaiting; }
  // The folder's rows once its first page is there; hidden until then.
  void UpdateList();
  // The folder line: the top mark repeated per level and the folder's name.
  void UpdateFolderInfo();
  // OK on a row (the list's activation; sender: the row).
  void DoItemActivate(kv::Object* row);
  // The medium went: see the file comment.
  void ExitByDeviceRemoved(Core::Event* removal);

  ListForm::BGMList& List() { return list_; }
  const kv::String& PathText() const { return path_.OnGetString(); }

  int32_t ShowWaiting = -1;

 private:
  // Closes with the help bar cleared and the waiting circle off.
  void Leave();

  ListForm::BGMList list_;
  Views::Image folderIcon_;
  Views::Text path_;
};

}  // namespace MediaPlayer
