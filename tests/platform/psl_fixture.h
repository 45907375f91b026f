// The media service on a simulated set and a fake clock, answering into a
// recording table of GUI objects: the test thread is the GUI task, and the
// closures the service posts there run when the test drains them.
#pragma once

#include <gtest/gtest.h>
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "kv_test.h"
#include "media_writer.h"
#include "platform/display/surface.h"
#include "platform/psl/psl.h"
#include "platform/sim/program_exports.h"
#include "platform/sim/sim.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/clock.h"
#include "runtime/member.h"
#include "runtime/object.h"
#include "support/capture.h"

namespace psltest {

// Every object the service builds: items, sources, metadata, events.
class Rec : public kv::Object {
  KV_CLASS(psltest, Rec, kv::Object)
 public:
  std::string what;  // "root", "folder", "file", "metadata", "list", "metadataEvent", ...
  std::string uri, title, text;
  std::vector<std::string> strings;
  uint32_t handle = 0;
  int32_t count = 0, start = 0, value = 0, rootClass = -1;
  uint16_t pictureState = 0xFFFF, thumbState = 0xFFFF;
  int32_t width = 0, height = 0;
  kv::Member<Rec> item;      // events: their item; items: their metadata
  kv::Member<Rec> source;    // list events: the source
  std::unique_ptr<dfb::Surface> thumb;
  std::vector<std::string> steps;  // what happened to an item, in order
};

inline std::mutex g_mutex;
inline std::deque<std::function<void()>> g_gui;
inline std::vector<XPM_MediaStatusPayload> g_status;
inline std::vector<kv::Persistent<Rec>>* g_events = nullptr;
inline std::unique_ptr<dfb::Surface> g_picture;

inline bool PostGui(std::function<void()> fn) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_gui.push_back(std::move(fn));
  return true;
}

inline void OnEvent(uint32_t id, const void* payload, uint32_t length) {
  if (id != XPM_EVT_MEDIA_STATUS || length != sizeof(XPM_MediaStatusPayload)) return;
  XPM_MediaStatusPayload p;
  std::memcpy(&p, payload, sizeof p);
  std::lock_guard<std::mutex> lock(g_mutex);
  g_status.push_back(p);
}

inline Rec* R(PslObject o) { return static_cast<Rec*>(o); }

inline Rec* NewRec(const char* what) {
  Rec* r = kv::New<Rec>();
  r->what = what;
  return r;
}

inline PslExports RecordingExports() {
  PslExports ex;
  ex.createRoot = [](PslObject, int32_t cls, const char* uri, const char* title, uint32_t h, int32_t count, bool,
                     const char*) -> PslObject {
    Rec* r = NewRec("root");
    r->uri = uri, r->title = title, r->handle = h, r->count = count, r->rootClass = cls;
    return r;
  };
  ex.createContainer = [](PslObject, const char* uri, const char* title, uint32_t h, int32_t count, bool,
                          bool) -> PslObject {
    Rec* r = NewRec("folder");
    r->uri = uri, r->title = title, r->handle = h, r->count = count;
    return r;
  };
  ex.createItem = [](PslObject, const char* uri, const char* title, int32_t, uint32_t h) -> PslObject {
    Rec* r = NewRec("file");
    r->uri = uri, r->title = title, r->handle = h;
    return r;
  };
  ex.handleOf = [](PslObject o) { return R(o)->handle; };
  ex.createMetadata = [](PslObject item) -> PslObject {
    Rec* md = NewRec("metadata");
    R(item)->item = md;
    R(item)->steps.push_back("metadata");
    return md;
  };
  ex.initPictureMetadata = [](PslObject md, const char* a, const char* b, const char* c, const char* d, const char* e,
                              int32_t v) {
    R(md)->strings = {a, b, c, d, e};
    R(md)->value = v;
  };
  ex.initMusicMetadata = [](PslObject md, const char* a, const char* b, const char* c, const char* d, const char* e,
                            const char* f, int32_t v) {
    R(md)->strings = {a, b, c, d, e, f};
    R(md)->value = v;
  };
  ex.initVideoMetadata = [](PslObject md, const char* a) { R(md)->strings = {a}; };
  ex.setPictureInfo = [](PslObject item, uint16_t state, int32_t w, int32_t h) {
    R(item)->pictureState = state, R(item)->width = w, R(item)->height = h;
    R(item)->steps.push_back("info " + std::to_string(state));
  };
  ex.createThumb = [](PslObject item) -> dfb::Surface* {
    R(item)->thumb = std::make_unique<dfb::Surface>(160, 120);
    return R(item)->thumb.get();
  };
  ex.setThumbState = [](PslObject item, uint16_t s) { R(item)->thumbState = s; };
  ex.decodedPicture = [](PslObject) -> dfb::Surface* {
    if (!g_picture) g_picture = std::make_unique<dfb::Surface>(960, 540);
    return g_picture.get();
  };
  ex.newListEvent = [](PslObject source, uint32_t h, int32_t count, int32_t start) -> PslObject {
    Rec* e = NewRec("list");
    e->source = R(source), e->handle = h, e->count = count, e->start = start;
    return e;
  };
  ex.newMetadataEvent = [](PslObject item) -> PslObject {
    Rec* e = NewRec("metadataEvent");
    e->item = R(item);
    R(item)->steps.push_back("event");
    return e;
  };
  ex.newPictureEvent = [](PslObject item, int32_t v) -> PslObject {
    Rec* e = NewRec("pictureEvent");
    e->item = R(item), e->value = v;
    return e;
  };
  ex.newNetworkEvent = [](int32_t v) -> PslObject {
    Rec* e = NewRec("networkEvent");
    e->value = v;
    return e;
  };
  ex.newServerEvent = [](uint8_t code, const char* text) -> PslObject {
    Rec* e = NewRec("serverEvent");
    e->value = code, e->text = text;
    return e;
  };
  ex.deliver = [](PslObject e) { g_events->push_back(R(e)); };
  return ex;
}

class PslTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    kv::SetClock(&clock_);
    log_.Start();
    dir_ = kvtest::FreshTestDir("psl");
    g_events = &events_;
    GetProgramExports().runOnGuiTask = PostGui;
    psl::SetExports(RecordingExports());
    tv_ = std::make_unique<sim::Sim>(dir_.string());
    tv_->Start();
    ASSERT_EQ(XPM_SubscribeEvents(OnEvent), XPM_OK);
  }
  void TearDown() override {
    PslDeinit(globalPsl);
    tv_.reset();
    Drain();
    psl::SetExports(PslExports{});
    psl::SetAnswerDelay(0);
    psl::SetNeverAnswer(false);
    psl::SetFailDecode(false);
    psl::SetStartupFolders({});
    GetProgramExports().runOnGuiTask = nullptr;
    events_.clear();
    g_picture.reset();
    {
      std::lock_guard<std::mutex> lock(g_mutex);
      g_gui.clear();
      g_status.clear();
    }
    g_events = nullptr;
    log_.Stop();
    kv::SetClock(nullptr);
    kvtest::RemoveTestDir(dir_);
    RuntimeTest::TearDown();
  }

  void Start(bool dlna = true) { ASSERT_EQ(PslInit(nullptr, nullptr, dlna, 0, 0), PSL_OK); }

  // Runs what is due: the set's time line, the worker, the GUI closures.
  void Drain() {
    for (int round = 0; round < 10; ++round) {
      if (tv_) tv_->Quiesce();
      std::deque<std::function<void()>> todo;
      {
        std::lock_guard<std::mutex> lock(g_mutex);
        todo.swap(g_gui);
      }
      if (todo.empty()) return;
      for (auto& fn : todo) fn();
    }
  }
  void Advance(int64_t ms) {
    for (int64_t t = 0; t < ms; t += 500) {
      clock_.Advance(500);
      Drain();
    }
  }

  std::vector<XPM_MediaStatusPayload> TakeStatus() {
    Drain();
    std::lock_guard<std::mutex> lock(g_mutex);
    return std::exchange(g_status, {});
  }
  std::vector<uint16_t> TakeCodes() {
    std::vector<uint16_t> out;
    for (const auto& s : TakeStatus()) out.push_back(s.code);
    return out;
  }
  std::vector<Rec*> TakeEvents(const std::string& what) {
    Drain();
    std::vector<Rec*> out;
    for (auto& e : events_)
      if (e->what == what) out.push_back(e.get());
    return out;
  }

  std::string Media(const std::string& rel) {
    const std::string p = dir_.string() + "/media/" + rel;
    const std::filesystem::path path(p);
    // A name with a dot is a file to be written, anything else a folder.
    std::filesystem::create_directories(path.filename().string().find('.') == std::string::npos ? path
                                                                                              : path.parent_path());
    return p;
  }

  // The medium list's roots.
  std::vector<Rec*> Roots() {
    PslPage page{};
    EXPECT_EQ(PslMediaGetMediumList(globalPsl, 0, &page), PSL_OK);
    std::vector<Rec*> out;
    for (int32_t i = 0; i < page.count; ++i) {
      PslObject item = nullptr;
      EXPECT_EQ(PslMediaConvertObject(globalPsl, page.handle, i, nullptr, &item), PSL_OK);
      out.push_back(R(item));
      keep_.push_back(R(item));
    }
    return out;
  }
  // One page of a folder; its items.
  std::vector<Rec*> Browse(Rec* folder, int32_t type, int32_t start = 0, int32_t length = 100) {
    events_.clear();
    EXPECT_EQ(PslMediaRequestBrowse(globalPsl, folder, type, start, length), PSL_OK);
    std::vector<Rec*> lists = TakeEvents("list");
    EXPECT_EQ(lists.size(), 1u);
    std::vector<Rec*> out;
    if (lists.empty()) return out;
    EXPECT_EQ(lists[0]->source.get(), folder);
    EXPECT_EQ(lists[0]->start, start);
    for (int32_t i = 0; i < lists[0]->count; ++i) {
      PslObject item = nullptr;
      EXPECT_EQ(PslMediaConvertObject(globalPsl, lists[0]->handle, i, folder, &item), PSL_OK);
      out.push_back(R(item));
      keep_.push_back(R(item));
    }
    return out;
  }
  static std::vector<std::string> Titles(const std::vector<Rec*>& items) {
    std::vector<std::string> out;
    for (Rec* r : items) out.push_back(r->title);
    return out;
  }

  kv::FakeClock clock_{1000};
  kvtest::LogCapture log_;
  std::filesystem::path dir_;
  std::unique_ptr<sim::Sim> tv_;
  std::vector<kv::Persistent<Rec>> events_;
  std::vector<kv::Persistent<Rec>> keep_;
};

// --- Media files the tests write ---------------------------------------------------------------

using media_writer::ExifBlock;

// A JPEG whose left half is `left` and right half `right` (RGB), with EXIF.
inline void WriteJpeg(const std::string& path, int w, int h, uint32_t left, uint32_t right, uint16_t orientation = 1,
                      const std::string& make = "Acme", const std::string& date = "2023:07:14 18:02:33") {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = x < w / 2 ? left : right;
      uint8_t* p = &rgb[(size_t(y) * size_t(w) + size_t(x)) * 3];
      p[0] = uint8_t(c >> 16), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c);
    }
  ASSERT_TRUE(media_writer::WriteBytes(
      path, media_writer::EncodeJpeg(rgb, w, h, 95, ExifBlock(orientation, make, "Model X", date))));
}

inline void WritePng(const std::string& path, int w, int h, uint32_t rgb) {
  ASSERT_TRUE(media_writer::WritePng(path, w, h, rgb));
}

// A PNG whose header claims w x h (with a valid CRC) and nothing after it.
inline void WritePngHeaderOnly(const std::string& path, uint32_t w, uint32_t h) {
  std::vector<uint8_t> b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
  const size_t chunk = b.size();
  const uint8_t ihdr[] = {'I', 'H', 'D', 'R', uint8_t(w >> 24), uint8_t(w >> 16), uint8_t(w >> 8), uint8_t(w),
                          uint8_t(h >> 24), uint8_t(h >> 16), uint8_t(h >> 8), uint8_t(h), 8, 2, 0, 0, 0};
  b.insert(b.end(), std::begin(ihdr), std::end(ihdr));
  const uLong crc = crc32(0, b.data() + chunk, 17);
  for (int i = 3; i >= 0; --i) b.push_back(uint8_t(crc >> (8 * i)));
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<char*>(b.data()), std::streamsize(b.size()));
}

// A silent PCM WAV of `seconds`.
inline void WriteWav(const std::string& path, int seconds) { ASSERT_TRUE(media_writer::WriteWav(path, seconds)); }

// A movie of `seconds` at 5 pictures a second, MPEG-4 in an AVI, every
// picture one colour (Y, U, V).
inline void WriteMovie(const std::string& path, int seconds, int w, int h, uint8_t y, uint8_t u, uint8_t v) {
  ASSERT_TRUE(media_writer::WriteMovie(path, seconds, w, h, y, u, v));
}

}  // namespace psltest
