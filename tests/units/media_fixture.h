// Media tests: the application as it runs with the media service started by
// normal TV operation, sticks written by tools/media_writer.h and plugged as
// the user would plug them, browsed through the media bridge.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "listform_fixture.h"
#include "media_writer.h"
#include "platform/psl/psl.h"
#include "units/Events/StatusEvent.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaWrapper.h"
#include "units/WinIDs/WinIDs.h"

namespace listtest {

// Counts the events of one class that reach the focused chain.
class EventProbe : public Primitives::KeyRoutingForm {
  KV_CLASS(listtest, EventProbe, Primitives::KeyRoutingForm)
 public:
  kv::Object* HandleEvent(Core::Event* event) override {
    if (kv::Cast<Media::DataListUpdateEvent>(event)) ++updates;
    if (auto* ready = kv::Cast<Media::MetadataReadyEvent>(event)) ready_.push_back(ready);
    if (kv::Cast<Media::ServerEvent>(event)) ++servers;
    if (kv::Cast<Events::StatusEvent>(event)) ++statuses;
    if (kv::Cast<Media::DmcEvent>(event)) ++controllers;
    return nullptr;
  }
  int updates = 0, servers = 0, statuses = 0, controllers = 0;
  kv::MemberVector<Media::MetadataReadyEvent> ready_;
};

class MediaTest : public ListTest {
 protected:
  // A screen with the photo grid's window id: live TV hands it the media
  // screens' events (metadata, pictures); it sees the broadcast ones as the
  // focused screen.
  EventProbe* OpenProbe() {
    auto* probe = kv::New<EventProbe>();
    probe->WinID = WinIDs::WIN_ID_PhotoMultiView;
    probe->Layer = 0x100;
    probe->OnSetTimeOutValue(0);
    probe->Parent = App().GetStandby();
    probe->Open();
    App().GetStandby()->OnSetFocus(probe);
    App().OnSetFocus(App().GetStandby());
    host = probe;
    Settle();
    return probe;
  }
  Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }

  // The folder of a stick under the test's data folder.
  std::string StickDir(const std::string& name) { return (DataDir() / "sticks" / name).string(); }
  // Files (relative paths) of a stick: .jpg pictures, .wav songs, .avi movies; a path ending in "/" a folder.
  void WriteStick(const std::string& name, const std::vector<std::string>& files) {
    for (const std::string& f : files) {
      const std::string path = StickDir(name) + "/" + f;
      if (!f.empty() && f.back() == '/') {
        std::filesystem::create_directories(path);
      } else if (f.ends_with(".jpg")) {
        media_writer::WriteBytes(path, media_writer::Jpeg(64, 48, 0x204080, 0xC0E0FF));
      } else if (f.ends_with(".wav")) {
        media_writer::WriteWav(path, 2);
      } else if (f.ends_with(".avi")) {
        media_writer::WriteMovie(path, 1, 64, 48, 120, 100, 160);
      }
    }
  }
  // Plugs the stick; its number 1 .. 5.
  int32_t Plug(const std::string& name) {
    const int32_t n = psl::PlugFolder(StickDir(name));
    Settle();
    return n;
  }
  // A stick of `n` pictures "p0.jpg" .. made as hard links of one.
  void ManyPictures(const std::string& name, int n) {
    const std::string first = StickDir(name) + "/p0.jpg";
    media_writer::WriteBytes(first, media_writer::Jpeg(16, 12, 0x102030, 0x405060));
    for (int i = 1; i < n; ++i) {
      std::error_code ec;
      std::filesystem::create_hard_link(first, StickDir(name) + "/p" + std::to_string(i) + ".jpg", ec);
    }
  }
  // Opens medium n for a media type and lets its first page come.
  void Browse(int32_t medium, int32_t type) {
    Bridge()->RequestBrowseMedium(medium, type);
    Settle();
  }
  std::string Caption(int32_t i) {
    Media::MediaItem* item = Bridge()->GetMediaItem(i);
    return item ? item->Caption.ToUtf8() : std::string("(loading)");
  }
  // "PslMediaRequestBrowse(...)" lines of the set's call log.
  std::vector<std::string> Browses() { return Calls("PslMediaRequestBrowse"); }
};

}  // namespace listtest
