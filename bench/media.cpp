// The media service's costs: a cold listing of a folder of 10,000 photos
// (hard links of one file), a 4000 x 3000 JPEG decoded to the screen and to
// a list thumbnail, and the GUI task's part of a thumbnail answer (drawing
// the decoded thumbnail into its canvas), which must stay under 1 ms; and a
// movie's thumbnail (its first picture, fitted).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "media_writer.h"
#include "median_reporter.h"
#include "platform/display/surface.h"
#include "platform/psl/psl_decode.h"
#include "platform/psl/psl_library.h"
#include "platform/psl/psl_probe.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Jpeg(int w, int h) { return media_writer::Jpeg(w, h, 0x204080, 0xF0C040); }

const std::vector<uint8_t>& Big() {
  static const std::vector<uint8_t> big = Jpeg(4000, 3000);
  return big;
}

// A folder of 10,000 hard links of one small photo, made once.
const std::string& PhotoFolder() {
  static const std::string dir = [] {
    const std::string d = fs::temp_directory_path().string() + "/tvui-bench-photos-" + std::to_string(getpid());
    fs::create_directories(d);
    const std::vector<uint8_t> one = Jpeg(64, 48);
    const std::string first = d + "/photo1.jpg";
    std::ofstream(first, std::ios::binary).write(reinterpret_cast<const char*>(one.data()), std::streamsize(one.size()));
    std::error_code ec;
    for (int i = 2; i <= 10000; ++i) fs::create_hard_link(first, d + "/photo" + std::to_string(i) + ".jpg", ec);
    return d;
  }();
  return dir;
}

void ColdListing(benchmark::State& state) {
  const std::string& dir = PhotoFolder();
  for (auto _ : state) {
    std::vector<psl::Entry> entries = psl::ListFolder(dir, 2, 0);
    benchmark::DoNotOptimize(entries.data());
    if (entries.size() != 10000) state.SkipWithError("not 10,000 entries");
  }
}

void Decode(benchmark::State& state, int32_t w, int32_t h) {
  const std::vector<uint8_t>& data = Big();
  for (auto _ : state) {
    psl::Image img;
    psl::PictureInfo info;
    std::string error;
    if (!psl::DecodePicture(data.data(), data.size(), w, h, &img, &info, &error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(img.pixels.data());
  }
}
void DecodeToScreen(benchmark::State& state) { Decode(state, 960, 540); }
void DecodeToThumbnail(benchmark::State& state) { Decode(state, 112, 84); }

// A 1280 x 720 movie of 3 seconds, written once.
const std::string& Movie() {
  static const std::string path = [] {
    const std::string p = fs::temp_directory_path().string() + "/tvui-bench-movie-" + std::to_string(getpid()) + ".avi";
    if (!media_writer::WriteMovie(p, 3, 1280, 720, 81, 90, 240, true)) std::fprintf(stderr, "cannot write %s\n", p.c_str());
    return p;
  }();
  return path;
}

// A list thumbnail of a movie: open, find and decode its first picture, fit it.
void VideoThumbnail(benchmark::State& state) {
  const std::string& path = Movie();
  for (auto _ : state) {
    psl::Image img;
    std::string error;
    if (!psl::VideoFrame(path, 0, 112, 84, &img, &error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(img.pixels.data());
  }
}

void ThumbnailAnswerGuiPart(benchmark::State& state) {
  const std::vector<uint8_t>& data = Big();
  psl::Image img;
  psl::PictureInfo info;
  std::string error;
  psl::DecodePicture(data.data(), data.size(), 160, 120, &img, &info, &error);
  for (auto _ : state) {
    dfb::Surface canvas(160, 120);
    psl::DrawCentred(img, &canvas);
    benchmark::DoNotOptimize(canvas.Pixels());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!benchutil::InitializeInterleaved(argc, argv, 5, 0.1)) return 1;
  benchmark::RegisterBenchmark("cold_listing_10000_photos", ColdListing)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("jpeg_4000x3000_to_960x540", DecodeToScreen)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("jpeg_4000x3000_to_112x84", DecodeToThumbnail)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("video_1280x720_thumbnail_112x84", VideoThumbnail)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("thumbnail_answer_gui_part", ThumbnailAnswerGuiPart)->Unit(benchmark::kMicrosecond);
  benchutil::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double gui = reporter.Median("thumbnail_answer_gui_part");
  std::printf("thumbnail answer, GUI task part: %.3f ms (goal: under 1 ms)\n", gui / 1e6);
  std::error_code ec;
  fs::remove_all(PhotoFolder(), ec);
  fs::remove(Movie(), ec);
  benchmark::Shutdown();
  return reporter.ExitStatus();
}
