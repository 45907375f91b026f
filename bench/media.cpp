// The media service's costs: a cold listing of a folder of 10,000 photos
// (hard links of one file), a 4000 x 3000 JPEG decoded to the screen and to
// a list thumbnail, and the GUI task's part of a thumbnail answer (drawing
// the decoded thumbnail into its canvas), which must stay under 1 ms.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>
// jpeglib.h needs size_t and FILE first.
#include <jpeglib.h>

#include "median_reporter.h"
#include "platform/display/surface.h"
#include "platform/psl/psl_decode.h"
#include "platform/psl/psl_library.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Jpeg(int w, int h) {
  std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 31 / 7);
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &mem, &size);
  c.image_width = unsigned(w), c.image_height = unsigned(h), c.input_components = 3, c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 85, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = &rgb[size_t(c.next_scanline) * size_t(w) * 3];
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> out(mem, mem + size);
  free(mem);
  return out;
}

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
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RegisterBenchmark("cold_listing_10000_photos", ColdListing)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("jpeg_4000x3000_to_960x540", DecodeToScreen)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("jpeg_4000x3000_to_112x84", DecodeToThumbnail)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("thumbnail_answer_gui_part", ThumbnailAnswerGuiPart)->Unit(benchmark::kMicrosecond);
  benchutil::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double gui = reporter.Median("thumbnail_answer_gui_part");
  std::printf("thumbnail answer, GUI task part: %.3f ms (goal: under 1 ms)\n", gui / 1e6);
  std::error_code ec;
  fs::remove_all(PhotoFolder(), ec);
  benchmark::Shutdown();
  return 0;
}
