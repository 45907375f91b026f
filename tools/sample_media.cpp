// Writes a small stick of sample media, so that a person running the TV
// interface has something to browse: photos (JPEG, PNG) in nested folders,
// songs beside a cover picture, a movie; and the default wallpaper.
// Everything is generated here; nothing is downloaded.
//   sample_media OUT_DIR DEFAULT_WALLPAPER_FILE
#include <cstdio>
#include <filesystem>
#include <string>

#include "media_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sample_media OUT_DIR DEFAULT_WALLPAPER_FILE\n");
    return 2;
  }
  const std::string out = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  using namespace media_writer;
  bool ok = true;
  ok &= WriteBytes(out + "/Photos/sunrise.jpg", Jpeg(1920, 1080, 0x102060, 0xF0A040));
  ok &= WriteBytes(out + "/Photos/sea.jpg", Jpeg(1600, 1200, 0x003050, 0x40C0E0));
  ok &= WriteBytes(out + "/Photos/forest.jpg", Jpeg(1200, 1600, 0x103010, 0x90D060));
  ok &= WriteBytes(out + "/Photos/Trip/img2.jpg", Jpeg(800, 600, 0x402000, 0xE0C0A0));
  ok &= WriteBytes(out + "/Photos/Trip/img10.jpg", Jpeg(800, 600, 0x200020, 0xD080D0));
  ok &= WritePng(out + "/Photos/Trip/red.png", 640, 480, 0xC03030);
  ok &= WriteWav(out + "/Music/first song.wav", 20);
  ok &= WriteWav(out + "/Music/second song.wav", 30);
  ok &= WriteBytes(out + "/Music/cover.jpg", Jpeg(300, 300, 0x602080, 0xF0E020));
  ok &= WriteMovie(out + "/Movies/clip.avi", 6, 320, 240, 81, 90, 240, true);
  ok &= WriteBytes(argv[2], Jpeg(960, 540, 0x101840, 0x4080C0));
  if (!ok) {
    std::fprintf(stderr, "sample_media: could not write every file under %s\n", out.c_str());
    return 1;
  }
  std::printf("sample_media: wrote %s and %s\n", out.c_str(), argv[2]);
  return 0;
}
