// Pictures, movies and songs of many sizes straight through the media
// service's readers (the libraries' roads): every picture format from 1 x 1
// to 4000 x 3000 and at odd widths, movie pictures scaled into boxes of odd
// sizes, songs with tags and covers, and each file cut short. Built also
// without the sanitizers and run under glibc's heap checking and valgrind
// (ctest's heapcheck_media and valgrind_media), where a write that a library
// makes outside the buffer it was given fails the run.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "media_writer.h"
#include "platform/psl/psl_decode.h"
#include "platform/psl/psl_probe.h"
#include "support/capture.h"

namespace {

constexpr uint32_t kRed = 0xFF0000;

// Whether a decoded pixel (red in the low byte) is `rgb` (0xRRGGBB), give or take `slack`.
bool Near(uint32_t p, uint32_t rgb, int slack) {
  for (int k = 0; k < 3; ++k) {
    const int got = int(p >> (8 * k)) & 0xFF, want = int(rgb >> (16 - 8 * k)) & 0xFF;
    if (std::abs(got - want) > slack) return false;
  }
  return (p >> 24) == 0xFF;
}

class PslMediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kvtest::FreshTestDir("pslmedia");
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { kvtest::RemoveTestDir(dir_); }

  std::vector<uint8_t> Read(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(psl::ReadFile(path, size_t{1} << 30, &bytes, &error)) << path << ": " << error;
    return bytes;
  }
  // A copy of the file's first half, beside it.
  std::string CutShort(const std::string& path) {
    std::vector<uint8_t> bytes = Read(path);
    bytes.resize(bytes.size() / 2);
    const std::string cut = path + ".cut" + std::filesystem::path(path).extension().string();
    EXPECT_TRUE(media_writer::WriteBytes(cut, bytes));
    return cut;
  }

  std::filesystem::path dir_;
};

// Every picture format at each size decodes whole at its own size and into
// a thumbnail's box, each pixel its colour; its first half alone is refused
// with a reason or decodes to a picture that fits. Each decode reads from a
// buffer of exactly the file's size.
void DecodesEverySize(const std::filesystem::path& dir, const std::vector<std::pair<int, int>>& sizes,
                      bool ffmpegOnly = false) {
  struct Format {
    const char* ext;
    AVCodecID id;  // AV_CODEC_ID_NONE: written by libjpeg or libpng
    int slack;     // WebP and JPEG are lossy, GIF has a palette
  };
  const Format formats[] = {{"gif", AV_CODEC_ID_GIF, 40},
                            {"bmp", AV_CODEC_ID_BMP, 0},
                            {"webp", AV_CODEC_ID_WEBP, 40},
                            {"png", AV_CODEC_ID_NONE, 0},
                            {"jpg", AV_CODEC_ID_NONE, 40}};
  for (const Format& f : formats) {
    if (ffmpegOnly && f.id == AV_CODEC_ID_NONE) continue;
    int written = 0;
    for (const auto& [w, h] : sizes) {
      const std::string path = (dir / (std::to_string(w) + "x" + std::to_string(h) + "." + f.ext)).string();
      const std::string what = path.substr(path.rfind('/') + 1);
      bool ok = false;
      if (f.id != AV_CODEC_ID_NONE) ok = media_writer::WriteStill(path, f.id, w, h, kRed);
      else if (std::string(f.ext) == "png") ok = media_writer::WritePng(path, w, h, kRed);
      else ok = media_writer::WriteBytes(path, media_writer::Jpeg(w, h, kRed, kRed));
      // FFmpeg may be built without the WebP encoder; GIF and BMP are its own.
      if (!ok) continue;
      ++written;
      std::vector<uint8_t> bytes;
      std::string error;
      ASSERT_TRUE(psl::ReadFile(path, size_t{1} << 30, &bytes, &error)) << what << ": " << error;
      for (const auto& [boxW, boxH] : {std::pair{w, h}, std::pair{160, 120}}) {
        std::vector<uint8_t> exact(bytes);
        psl::Image img;
        psl::PictureInfo info;
        ASSERT_TRUE(psl::DecodePicture(exact.data(), exact.size(), boxW, boxH, &img, &info, &error))
            << what << ": " << error;
        EXPECT_EQ(info.width, w) << what;
        EXPECT_EQ(info.height, h) << what;
        ASSERT_EQ(img.pixels.size(), size_t(img.width) * size_t(img.height)) << what;
        EXPECT_TRUE(img.width <= boxW && img.height <= boxH && !img.Empty()) << what << " in " << boxW << " x " << boxH;
        if (boxW == w) {
          EXPECT_TRUE(img.width == w && img.height == h) << what;
        }
        size_t off = 0;
        for (uint32_t p : img.pixels) off += !Near(p, kRed, f.slack);
        EXPECT_EQ(off, 0u) << what << " in " << boxW << " x " << boxH << ": pixels not red";
      }
      std::vector<uint8_t> half(bytes.begin(), bytes.begin() + std::ptrdiff_t(bytes.size() / 2));
      psl::Image img;
      psl::PictureInfo info;
      error.clear();
      const bool decoded = psl::DecodePicture(half.data(), half.size(), 160, 120, &img, &info, &error);
      EXPECT_TRUE(decoded ? !img.Empty() && img.width <= 160 && img.height <= 120 : !error.empty())
          << what << " cut short";
    }
    if (f.id != AV_CODEC_ID_WEBP) {
      EXPECT_EQ(written, int(sizes.size())) << f.ext;
    }
  }
}

TEST_F(PslMediaTest, PicturesOfSmallAndOddSizesDecodeWholeAndCutShortAreRefused) {
  std::vector<std::pair<int, int>> sizes = {{1, 1}, {2, 1}, {1, 2}, {37, 23}, {40, 30}, {101, 31}};
  for (int w = 1; w <= 64; w += 2) sizes.push_back({w, 3 + w % 4});
  DecodesEverySize(dir_, sizes);
}

// The pictures FFmpeg decodes (the JPEG and PNG readers meet large pictures
// in psl_test.cpp). Too slow for valgrind; glibc's heap checking sees a
// write past the end.
TEST_F(PslMediaTest, LargePicturesDecodeWholeAndCutShortAreRefused) {
  DecodesEverySize(dir_, {{1000, 3}, {4000, 3000}}, true);
}

// A movie's picture scaled into boxes of odd sizes (the thumbnail and the
// video plane) fits each box, its colour everywhere; a movie cut short
// answers a picture or a reason.
TEST_F(PslMediaTest, MoviePicturesFitBoxesOfEverySize) {
  for (const auto& [mw, mh] : {std::pair{64, 48}, std::pair{176, 142}}) {
    const std::string path = (dir_ / ("clip" + std::to_string(mw) + ".avi")).string();
    ASSERT_TRUE(media_writer::WriteMovie(path, 1, mw, mh, 81, 90, 240));  // red
    for (const auto& [bw, bh] : {std::pair{1, 1}, std::pair{7, 5}, std::pair{37, 23}, std::pair{41, 31},
                                 std::pair{63, 47}, std::pair{160, 120}, std::pair{479, 269}, std::pair{33, 200}}) {
      psl::Image img;
      std::string error;
      ASSERT_TRUE(psl::VideoFrame(path, 0, bw, bh, &img, &error)) << mw << " into " << bw << " x " << bh << ": " << error;
      ASSERT_EQ(img.pixels.size(), size_t(img.width) * size_t(img.height));
      EXPECT_TRUE(!img.Empty() && img.width <= bw && img.height <= bh) << mw << " into " << bw << " x " << bh;
      size_t off = 0;
      for (uint32_t p : img.pixels) off += !Near(p, kRed, 60);
      EXPECT_EQ(off, 0u) << mw << " into " << bw << " x " << bh << ": pixels not red";
    }
    const std::string cut = CutShort(path);
    psl::Image img;
    std::string error;
    const bool decoded = psl::VideoFrame(cut, 500, 37, 23, &img, &error);
    EXPECT_TRUE(decoded ? !img.Empty() && img.width <= 37 && img.height <= 23 : !error.empty());
    psl::Probe probe;
    error.clear();
    EXPECT_TRUE(psl::ProbeFile(cut, psl::FileKind::kVideo, &probe, &error) || !error.empty());
  }
}

// Songs with tags and a cover of an odd size: the tags, the length and the
// cover read back; the same songs cut short answer without a fault.
TEST_F(PslMediaTest, SongsGiveTagsAndCoversAndCutShortNoFault) {
  const std::vector<uint8_t> cover = media_writer::Jpeg(37, 23, kRed, kRed);
  int songs = 0;
  for (const auto& [ext, id] : {std::pair{".flac", AV_CODEC_ID_FLAC}, std::pair{".mp3", AV_CODEC_ID_MP3}}) {
    const std::string path = (dir_ / (std::string("song") + ext)).string();
    // FFmpeg may be built without an MP3 encoder.
    if (!media_writer::WriteTone(path, id, 2, 440)) continue;
    ++songs;
    ASSERT_TRUE(media_writer::TagSong(path, {"Title", "Artist", "Album", "Pop", 2021, 3}, cover)) << ext;
    psl::Probe probe;
    std::string error;
    ASSERT_TRUE(psl::ProbeFile(path, psl::FileKind::kMusic, &probe, &error)) << ext << ": " << error;
    EXPECT_EQ(probe.title, "Title") << ext;
    EXPECT_EQ(probe.artist, "Artist") << ext;
    EXPECT_EQ(probe.year, "2021") << ext;
    EXPECT_NEAR(double(probe.durationMs), 2000.0, 200.0) << ext;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(psl::CoverArt(path, &bytes)) << ext;
    psl::Image img;
    psl::PictureInfo info;
    ASSERT_TRUE(psl::DecodePicture(bytes.data(), bytes.size(), 160, 120, &img, &info, &error)) << ext << ": " << error;
    EXPECT_EQ(img.width, 37) << ext;
    EXPECT_EQ(img.height, 23) << ext;
    const std::string cut = CutShort(path);
    error.clear();
    EXPECT_TRUE(psl::ProbeFile(cut, psl::FileKind::kMusic, &probe, &error) || !error.empty()) << ext;
    error.clear();
    if (psl::CoverArt(cut, &bytes)) {
      EXPECT_TRUE(psl::DecodePicture(bytes.data(), bytes.size(), 160, 120, &img, &info, &error) || !error.empty())
          << ext;
    }
  }
  EXPECT_GE(songs, 1);
}

// A named pipe on a stick at a picture's, a cover's, a song's or a movie's
// name is refused at once, not waited on (opening it for reading would wait
// for a writer for ever, and the media service's one worker with it).
TEST_F(PslMediaTest, NamedPipesAtMediaNamesAreRefusedWithoutWaiting) {
  const std::string pipes[] = {(dir_ / "photo.jpg").string(), (dir_ / "cover.jpg").string(),
                               (dir_ / "song.mp3").string(), (dir_ / "movie.avi").string()};
  for (const std::string& p : pipes) ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0) << p;
  ASSERT_TRUE(media_writer::WriteWav((dir_ / "plain.wav").string(), 1));
  // The calls run on a thread of their own, left behind if they wait.
  auto promise = std::make_shared<std::promise<std::vector<bool>>>();
  std::future<std::vector<bool>> answers = promise->get_future();
  std::thread([promise, pipes = std::vector<std::string>(std::begin(pipes), std::end(pipes)),
               wav = (dir_ / "plain.wav").string()] {
    std::vector<bool> got;
    std::vector<uint8_t> bytes;
    std::string error;
    got.push_back(psl::ReadFile(pipes[0], 1 << 20, &bytes, &error) || error.empty());
    got.push_back(psl::CoverArt(wav, &bytes));  // cover.jpg beside it is a pipe
    psl::Probe probe;
    error.clear();
    got.push_back(psl::ProbeFile(pipes[2], psl::FileKind::kMusic, &probe, &error) || error.empty());
    got.push_back(psl::CoverArt(pipes[2], &bytes));
    psl::Image img;
    error.clear();
    got.push_back(psl::VideoFrame(pipes[3], 0, 160, 120, &img, &error) || error.empty());
    promise->set_value(got);
  }).detach();
  ASSERT_EQ(answers.wait_for(std::chrono::seconds(10)), std::future_status::ready)
      << "a reader waits on a named pipe";
  EXPECT_EQ(answers.get(), std::vector<bool>(5, false)) << "each refused, with a reason";
}

}  // namespace
