#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/display/display.h"
#include "platform/display/surface.h"
#include "runtime/clock.h"
#include "runtime/trace.h"
#include "support/png_read.h"

namespace {

using dfb::Event;
using dfb::EventBuffer;
using dfb::EventType;
using dfb::PackPixel;

constexpr uint32_t kBlue = PackPixel(0, 0, 255, 255);

class LogCapture {
 public:
  LogCapture() {
    kv::SetTraceSink([this](std::string_view line) {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.emplace_back(line);
    });
  }
  ~LogCapture() { kv::SetTraceSink(nullptr); }
  bool Has(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& l : lines_) {
      if (l.find(text) != std::string::npos) return true;
    }
    return false;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

// --- Composition and screenshots ---

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    display = dfb::Display::Create(dfb::Backend::kHeadless);
    ASSERT_TRUE(display->IsHeadless());
    window = display->CreateWindow(960, 540);
    ASSERT_NE(window, nullptr);
    // A plain blue video picture, scaled up from 2 x 2.
    const uint32_t picture[4] = {kBlue, kBlue, kBlue, kBlue};
    display->SetVideoPicture(picture, 2, 2, 2);
    window->Flip();
  }
  std::unique_ptr<dfb::Display> display;
  dfb::Window* window = nullptr;
};

TEST_F(DisplayTest, OsdBlendsOverTheVideoPicture) {
  EXPECT_EQ(display->Frame().At(0, 0), kBlue);
  dfb::Surface& osd = window->GetSurface();
  ASSERT_EQ(osd.Width(), 960);
  ASSERT_EQ(osd.Height(), 540);
  // Half-transparent red, premultiplied.
  osd.Pixels()[10 * osd.Stride() + 10] = PackPixel(128, 0, 0, 128);
  osd.Pixels()[10 * osd.Stride() + 11] = PackPixel(255, 255, 255, 255);
  window->Flip();
  EXPECT_EQ(display->Frame().At(10, 10), PackPixel(128, 0, 127, 255));
  EXPECT_EQ(display->Frame().At(11, 10), PackPixel(255, 255, 255, 255));
  EXPECT_EQ(display->Frame().At(12, 10), kBlue);
}

TEST_F(DisplayTest, FlipUpdatesOnlyTheDirtyRectangles) {
  const uint32_t white = PackPixel(255, 255, 255, 255);
  window->GetSurface().Clear(white);
  const kv::Rect dirty[] = {{100, 100, 200, 150}, {900, 500, 5000, 5000}, {-50, -50, -10, -10}};
  window->Flip(dirty, 3);
  const dfb::Surface& f = display->Frame();
  EXPECT_EQ(f.At(100, 100), white);
  EXPECT_EQ(f.At(199, 149), white);
  EXPECT_EQ(f.At(99, 100), kBlue);
  EXPECT_EQ(f.At(200, 100), kBlue);
  EXPECT_EQ(f.At(100, 99), kBlue);
  EXPECT_EQ(f.At(100, 150), kBlue);
  // The second rectangle is clipped to the screen.
  EXPECT_EQ(f.At(959, 539), white);
  EXPECT_EQ(f.At(899, 539), kBlue);
  EXPECT_EQ(f.At(0, 0), kBlue);
}

TEST_F(DisplayTest, VideoPictureScalesAndTakesEffectAtTheNextFlip) {
  // Left half red, right half green; stride wider than the picture.
  const uint32_t red = PackPixel(255, 0, 0, 0), green = PackPixel(0, 255, 0, 0);
  const uint32_t picture[] = {red, green, 0xDEADBEEF, red, green, 0xDEADBEEF};
  display->SetVideoPicture(picture, 2, 2, 3);
  EXPECT_EQ(display->Frame().At(0, 0), kBlue);  // not yet
  const kv::Rect small{0, 0, 1, 1};
  window->Flip(&small, 1);  // a new picture repaints everything
  EXPECT_EQ(display->Frame().At(0, 0), red | 0xFF000000u);
  EXPECT_EQ(display->Frame().At(479, 539), red | 0xFF000000u);
  EXPECT_EQ(display->Frame().At(480, 0), green | 0xFF000000u);

  // A null picture brings back the test picture: not one colour.
  display->SetVideoPicture(nullptr, 0, 0, 0);
  window->Flip();
  EXPECT_NE(display->Frame().At(0, 0), display->Frame().At(959, 0));
}

TEST_F(DisplayTest, BadRequestsAreLoggedAndRefused) {
  LogCapture logs;
  const uint32_t one = 0xFF00FF00;
  display->SetVideoPicture(&one, 1, 1, 0);
  window->Flip();
  EXPECT_TRUE(logs.Has("SetVideoPicture"));
  EXPECT_EQ(display->Frame().At(5, 5), kBlue);

  EXPECT_EQ(display->CreateSurface(0, 10), nullptr);
  EXPECT_EQ(display->CreateSurface(10, 5000), nullptr);
  auto s = display->CreateSurface(3, 2);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Width(), 3);
  EXPECT_EQ(s->Stride(), 3);
  EXPECT_EQ(s->At(2, 1), 0u);

  // The window is the screen's size whatever was asked, and there is one.
  EXPECT_EQ(display->CreateWindow(100, 100), window);
  EXPECT_TRUE(logs.Has("CreateWindow"));

  // Display calls belong to the thread that created it.
  std::thread other([&] { window->Flip(); });
  other.join();
  EXPECT_TRUE(logs.Has("outside the display's thread"));
}

// Resident memory of this process, in KiB.
long ResidentKiB() {
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return -1;
  long pages = 0, resident = 0;
  const int n = std::fscanf(f, "%ld %ld", &pages, &resident);
  std::fclose(f);
  return n == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

// Screen-sized surfaces drawn into and dropped, more at once than wait to be
// given back: their memory goes back to the system, small ones still work.
TEST(SurfaceTest, DroppedSurfacesGiveTheirMemoryBack) {
  const long before = ResidentKiB();
  ASSERT_GT(before, 0);
  {
    std::vector<std::unique_ptr<dfb::Surface>> surfaces;
    for (int i = 0; i < 100; ++i) {
      surfaces.push_back(std::make_unique<dfb::Surface>(960, 540));
      surfaces.back()->Clear(kBlue);
      EXPECT_EQ(surfaces.back()->At(959, 539), kBlue);
    }
    EXPECT_GT(ResidentKiB(), before + 150 * 1024) << "100 surfaces of 2 MiB drawn";
  }
  dfb::WaitForReleasedPixels();
  EXPECT_LT(ResidentKiB(), before + 50 * 1024) << "the pixels of dropped surfaces are still held";
  dfb::Surface small(4, 4);
  small.Clear(kBlue);
  EXPECT_EQ(small.At(3, 3), kBlue);
}

using kvtest::PngImage;
using kvtest::ReadPng;

TEST_F(DisplayTest, ScreenshotsReadBack) {
  dfb::Surface& osd = window->GetSurface();
  osd.Pixels()[20 * osd.Stride() + 30] = PackPixel(128, 0, 0, 128);
  window->Flip();

  const std::string frame = "display_test_frame.png", osdOnly = "display_test_osd.png";
  ASSERT_TRUE(display->SaveScreenshot(frame));
  PngImage img;
  ASSERT_TRUE(ReadPng(frame, &img));
  EXPECT_EQ(img.width, 960u);
  EXPECT_EQ(img.height, 540u);
  const uint8_t* p = &img.rgba[(20 * 960 + 30) * 4];
  EXPECT_EQ(std::vector<uint8_t>(p, p + 4), (std::vector<uint8_t>{128, 0, 127, 255}));
  const uint8_t* q = &img.rgba[(539 * 960 + 959) * 4];
  EXPECT_EQ(std::vector<uint8_t>(q, q + 4), (std::vector<uint8_t>{0, 0, 255, 255}));

  // The OSD alone has straight alpha.
  ASSERT_TRUE(display->SaveOsdScreenshot(osdOnly));
  ASSERT_TRUE(ReadPng(osdOnly, &img));
  p = &img.rgba[(20 * 960 + 30) * 4];
  EXPECT_EQ(std::vector<uint8_t>(p, p + 4), (std::vector<uint8_t>{255, 0, 0, 128}));
  EXPECT_EQ(img.rgba[3], 0);
  std::remove(frame.c_str());
  std::remove(osdOnly.c_str());

  LogCapture logs;
  EXPECT_FALSE(display->SaveScreenshot("/nonexistent/dir/shot.png"));
  EXPECT_TRUE(logs.Has("Screenshot /nonexistent/dir/shot.png not written"));
}

// --- The event buffer ---

class EventBufferTest : public ::testing::Test {
 protected:
  void TearDown() override { kv::SetClock(nullptr); }
};

TEST_F(EventBufferTest, EventsComeOutInOrderWithTheirContents) {
  kv::FakeClock clock(1000);
  kv::SetClock(&clock);
  EventBuffer events;
  events.WakeUp();
  ASSERT_TRUE(events.PostKey(12, true));
  clock.Advance(50);
  const uint8_t bytes[] = {1, 2, 3};
  ASSERT_TRUE(events.PostUser(7, bytes, sizeof bytes));
  events.PostQuit();
  ASSERT_TRUE(events.PostKey(12, false));

  Event e;
  ASSERT_TRUE(events.Wait(0, &e));
  EXPECT_EQ(e.type, EventType::kKey);
  EXPECT_EQ(e.key, 12);
  EXPECT_TRUE(e.down);
  EXPECT_EQ(e.timestamp, 1000);
  ASSERT_TRUE(events.Wait(0, &e));
  EXPECT_EQ(e.type, EventType::kUser);
  EXPECT_EQ(e.id, 7u);
  EXPECT_EQ(e.payload, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(e.timestamp, 1050);
  ASSERT_TRUE(events.Wait(0, &e));
  EXPECT_EQ(e.type, EventType::kKey);
  EXPECT_FALSE(e.down);
  // Quit and wake-up follow the queued events.
  ASSERT_TRUE(events.Wait(0, &e));
  EXPECT_EQ(e.type, EventType::kQuit);
  ASSERT_TRUE(events.Wait(0, &e));
  EXPECT_EQ(e.type, EventType::kWakeUp);
  EXPECT_FALSE(events.Wait(0, &e));
}

TEST_F(EventBufferTest, RefusesWhatDoesNotFit) {
  LogCapture logs;
  EventBuffer events(2);
  std::vector<uint8_t> big(EventBuffer::kMaxPayload + 1, 0xAB);
  EXPECT_FALSE(events.PostUser(1, big.data(), big.size()));
  EXPECT_TRUE(logs.Has("4097 bytes refused"));
  EXPECT_FALSE(events.PostUser(1, nullptr, 4));
  EXPECT_FALSE(events.PostKey(279, true));
  EXPECT_FALSE(events.PostKey(-1, true));
  EXPECT_TRUE(logs.Has("key code 279 out of range"));

  EXPECT_TRUE(events.PostUser(2, big.data(), EventBuffer::kMaxPayload));
  EXPECT_TRUE(events.PostKey(278, true));
  EXPECT_FALSE(events.PostKey(0, true));  // full
  EXPECT_TRUE(logs.Has("queue full"));
  events.WakeUp();  // flags are never refused
  EXPECT_EQ(events.Pending(), 3u);

  Event e;
  ASSERT_TRUE(events.Wait(0, &e));
  EXPECT_EQ(e.payload.size(), EventBuffer::kMaxPayload);
}

TEST_F(EventBufferTest, PostFromAnotherThreadWakesTheWaiter) {
  EventBuffer events;
  std::thread poster([&] {
    const uint32_t word = 0x12345678;
    events.PostUser(99, &word, sizeof word);
  });
  Event e;
  // Generous: only a lost wake-up makes this time out.
  ASSERT_TRUE(events.Wait(60000, &e));
  poster.join();
  EXPECT_EQ(e.type, EventType::kUser);
  EXPECT_EQ(e.id, 99u);

  std::thread waker([&] { events.WakeUp(); });
  ASSERT_TRUE(events.Wait(60000, &e));
  waker.join();
  EXPECT_EQ(e.type, EventType::kWakeUp);
}

TEST_F(EventBufferTest, WaitTimesOutWhenTheFakeClockPassesTheDeadline) {
  kv::FakeClock clock(0);
  kv::SetClock(&clock);
  EventBuffer events;
  std::atomic<bool> done{false};
  std::thread ticker([&] {
    while (!done.load()) {
      clock.Advance(100);
      std::this_thread::yield();
    }
  });
  Event e;
  const bool got = events.Wait(500, &e);
  done = true;
  ticker.join();
  EXPECT_FALSE(got);
  EXPECT_GE(clock.Now(), 500);
}

TEST_F(EventBufferTest, VirtualClockJumpsToTheDeadlineWhenIdle) {
  kv::VirtualClock clock(5000);
  kv::SetClock(&clock);
  EventBuffer events;
  int idleCalls = 0;
  // The hook runs where the clock stood and again where it jumped to, before
  // the wait ends: what the set has due at the deadline is done before the
  // GUI task goes on.
  std::vector<int64_t> hookTimes;
  events.SetIdleHook([&] { hookTimes.push_back(clock.Now()); });
  Event e;
  EXPECT_FALSE(events.Wait(1000, &e));
  EXPECT_EQ(clock.Now(), 6000);
  EXPECT_EQ(hookTimes, (std::vector<int64_t>{5000, 6000}));

  // What the idle hook posts is delivered before any jump.
  events.SetIdleHook([&] {
    ++idleCalls;
    events.PostKey(3, true);
  });
  ASSERT_TRUE(events.Wait(1000, &e));
  EXPECT_EQ(e.key, 3);
  EXPECT_EQ(e.timestamp, 6000);
  EXPECT_EQ(clock.Now(), 6000);
}

// --- The SDL window, on SDL's dummy video driver ---

TEST(SdlDisplayTest, KeysGoThroughTheKeyMapAndCloseBecomesQuit) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  auto display = dfb::Display::Create(dfb::Backend::kSdl);
  if (display->IsHeadless()) GTEST_SKIP() << "SDL's dummy video driver is not available";
  dfb::Window* window = display->CreateWindow(960, 540);
  EventBuffer* events = display->CreateEventBuffer();
  window->AttachEventBuffer(events);
  display->SetKeyMap([](int sdlKey) { return sdlKey == SDLK_a ? 42 : -1; });
  window->GetSurface().Clear(PackPixel(10, 20, 30, 255));
  window->Flip();
  EXPECT_EQ(display->Frame().At(0, 0), PackPixel(10, 20, 30, 255));

  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.keysym.sym = SDLK_b;  // unmapped: ignored
  SDL_PushEvent(&key);
  key.key.keysym.sym = SDLK_a;
  SDL_PushEvent(&key);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);

  Event e;
  ASSERT_TRUE(events->Wait(60000, &e));
  EXPECT_EQ(e.type, EventType::kKey);
  EXPECT_EQ(e.key, 42);
  EXPECT_TRUE(e.down);
  ASSERT_TRUE(events->Wait(60000, &e));
  EXPECT_EQ(e.type, EventType::kQuit);
  unsetenv("SDL_VIDEODRIVER");
}

}  // namespace
