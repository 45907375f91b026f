// MediaPlayer::MediaPlayerFullScreenTemplate: the base of every full-screen
// media player (photo viewer, movie and music players and their renderer
// variants, which a home-network controller drives). It owns what all of
// them share:
//   - on open: the television switches to the media input, the screen
//     registers with the message agent, takes the chosen item's index and
//     the browser's previous class from a SelectedParam, shows the waiting
//     circle; a renderer screen first closes every other screen outside the
//     menu, shows the start bar and leaves by ExitDMR when its time-out runs;
//   - the ways out: Back (the browser opens again with the item to focus),
//     Exit, standby, a pulled stick or vanished server, a lost network
//     (ExitByDeviceRemoved: message 21), the renderer's stop states;
//   - the unsupported-file bar and the renderer start bar, the 3D indicators.
// Players live on layer 1, like the browse screens, so that the ClearAll of
// the other screens' layers never closes a player without its way out.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Core/Timer.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Overlay/PlaybackInfo.h"
#include "units/SkinBin/SkinButtons.h"

namespace NonMenuSystem {
class DirectMessageBar;
}
namespace SkinBin {
class Wrapper;
}

namespace MediaPlayer {

// The players' layer (the browse screens' one).
inline constexpr uint32_t kPlayerLayer = 1;
// Repeat codes of the media service.
inline constexpr uint16_t REPEAT_OFF = 1;
inline constexpr uint16_t REPEAT_ALL = 2;
inline constexpr uint16_t REPEAT_ONE = 7;
// The player's media kinds (MediaFilter).
inline constexpr uint16_t FILTER_MUSIC = 1;
inline constexpr uint16_t FILTER_PHOTO = 2;
inline constexpr uint16_t FILTER_MOVIE = 3;
// A renderer state 4 or 5 closes the renderer screen after this time.
inline constexpr int32_t kDmrStopTimeOut = 3000;
// The key-press timer (two Previous presses within it).
inline constexpr int32_t kKeyPressTime = 2000;
// The warning bar's time-out.
inline constexpr int32_t kWarningTime = 2000;

class MediaPlayerFullScreenTemplate : public NonMenuSystem::WidgetClass {
  KV_CLASS(MediaPlayer, MediaPlayerFullScreenTemplate, NonMenuSystem::WidgetClass)
 public:
  MediaPlayerFullScreenTemplate();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  void HandleMessage(Structures::Message* msg) override;
  // Closes and opens the previous state with the restore position (a
  // SkinBin::UserRefInt holding it); a player opened from the browser names
  // the browser's own previous class as that state's previous class.
  void EnterPrevState() override;

  // The repeat code of the player's setting; the template: off.
  virtual uint16_t GetRepeatMode() { return REPEAT_OFF; }
  virtual void ApplyRepeatChange() {}
  // The key-press timer ran out.
  virtual void KeyPressTimerSlot(kv::Object* sender = nullptr);
  // The warning bar's time-out: closes it.
  virtual void WarningMsgTimeOutSlot(kv::Object* sender = nullptr);
  // Leaves a 3D picture the player switched on.
  virtual void Exit3DMode();

  // True on a 3D set whose 3D state is 3D or 2D-to-3D (the state is read again).
  bool Is3DMode();
  // The 3D indicators: mode and format of the 3D picture, or hidden.
  void Show3DInfo(bool show);
  // The unsupported-file bar (2000 ms, then WarningMsgTimeOutSlot).
  void ShowPlaybackWarnMsg();
  void RemovePlaybackWarnMsg();
  // The renderer's start bar (no time-out, no icon).
  void ShowDmrStartMsg();
  void RemoveDmrStartMsg();
  // Stores the value; 0 or more goes to the waiting circle (1 on, 0 off).
  void OnSetShowWaiting(int32_t value);
  int32_t OnGetShowWaiting() const { return ShowWaiting; }
  // The renderer's time-out: everything closes, the last TV source returns.
  void ExitDMR(kv::Object* sender = nullptr);
  // The medium went away: playback stops, every screen closes, the last TV
  // source returns and message 21 shows.
  void ExitByDeviceRemoved();

  bool OnGetIsDMR() const { return IsDMR; }
  void OnSetIsDMR(bool on) { IsDMR = on; }
  uint16_t OnGetMediaFilter() const { return MediaFilter; }
  void OnSetMediaFilter(uint16_t filter) { MediaFilter = filter; }
  // The restore position Back hands the browser (-1: none).
  int32_t SelectedIndex() const { return selectedIndex_; }
  // The browser's previous class taken from the SelectedParam.
  const kv::Class* BrowserPrevClass() const { return browserPrev_; }
  NonMenuSystem::DirectMessageBar* WarningBar() const { return warningBar_.get(); }
  NonMenuSystem::DirectMessageBar* DmrStartBar() const { return startBar_.get(); }
  SkinBin::Button& ModeIndicator() { return mode3D_; }
  SkinBin::Button& FormatIndicator() { return format3D_; }

  bool IsDMR = false;
  int32_t ShowWaiting = -1;
  uint16_t MediaFilter = 0;

 protected:
  // The skin Wrapper (null when the running Wrapper is not one).
  static SkinBin::Wrapper* Skin();
  // Back (41), Exit and 45.
  kv::Object* HandleBack(Core::Event* event);
  kv::Object* HandleExit(Core::Event* event);
  // The media service's media kind of this screen (7, 10, 11).
  int32_t ServiceKind() const;
  // Sets the screen's time-out and starts it (0 stops it).
  void SetScreenTimeOut(int32_t ms);
  // A new key-down event of `code`, handled by this screen at once.
  void HandleNewKey(uint16_t code);

  int32_t selectedIndex_ = -1;
  const kv::Class* browserPrev_ = nullptr;
  Core::Timer keyPressTimer_;
  Overlay::PlaybackInfo formatter_;
  SkinBin::Button mode3D_;
  SkinBin::Button format3D_;
  kv::Member<NonMenuSystem::DirectMessageBar> warningBar_;
  kv::Member<NonMenuSystem::DirectMessageBar> startBar_;
};

}  // namespace MediaPlayer
