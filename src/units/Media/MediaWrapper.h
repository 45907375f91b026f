// Media::MediaWrapper: the bridge between the GUI and the platform's media
// service. For now it holds what the application root and the Wrapper call:
// starting the service with normal TV operation, the DLNA switch, the
// controller access-control setting, and the first look at every event the
// root broadcasts (it takes none yet).
#pragma once

#include <cstdint>

#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "runtime/object.h"

namespace Core {
class Event;
class Group;
}  // namespace Core

namespace Media {

class MediaWrapper : public kv::Object {
  KV_CLASS(Media, MediaWrapper, kv::Object)
 public:
  MediaWrapper() = default;

  // Offered every event before the root broadcasts or routes it; a non-null
  // answer ends its road. Takes none yet. Without a Root of its own it takes
  // the one the Wrapper holds.
  kv::Object* HandleEvent(Core::Event* event);

  // Starts the service once (nothing when it runs): PslInit with the three
  // flags; a failure is logged and leaves it stopped; on success keeps the
  // renderer and DLNA flags and switches DLNA (0 off, 1 on, 3 with the renderer).
  void PslInitialize(bool dlna, bool renderer, bool access);
  // The root that media events go to.
  void Initialize(Core::Group* root);
  // The media-renderer feature is off on this set: false, with a log line.
  bool IsDmrConfiged();
  // Mounted media and registered media servers; none until the media
  // service is connected.
  int32_t GetMediumCount() { return 0; }
  int32_t GetRegisteredServerCount() { return 0; }
  // Switches home-network media in the service (PslMediaEnableDLNA).
  void EnableDlna(int32_t mode);
  // The controller access-control setting: kept and answered back (0 until set).
  void SetDmcAccessControl(bool on);
  bool GetDmcAccessControl() const { return dmcAccessControl_; }
  // Marks the controller list changed, so that it is read again on next use.
  void ResetDmcAccessControl();
  // The renderer's name is not kept on this set: nothing to reset.
  void ResetDmrName() {}

  bool IsServiceInitialized() const { return serviceInitialized_; }
  bool IsControllerListChanged() const { return controllersChanged_; }
  Core::Group* OnGetRoot() const { return Root.get(); }

  kv::Member<Core::Group> Root;

 private:
  bool serviceInitialized_ = false;
  bool rendererEnabled_ = true;
  bool dlnaEnabled_ = true;
  bool dmcAccessControl_ = false;
  bool controllersChanged_ = false;
};

}  // namespace Media

KV_DECLARE_AUTO_OBJECT(MainApp, MediaWrapper);
