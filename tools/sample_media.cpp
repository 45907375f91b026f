// Writes a small stick of sample media, so that a person running the TV
// interface has something to browse: photos (JPEG, PNG, GIF, BMP, WebP) in
// nested folders, a truncated JPEG and a text named .jpg (they show as
// broken), names with accents, a folder of 10,000 photos (hard links of
// one), photos with EXIF orientations 1, 3, 6 and 8, photos from 4000 x 3000
// down to 1 x 1, songs beside a cover picture, tagged MP3 and FLAC songs with
// their cover inside, "Music" beside "Music Videos", movies in AVI, MP4 and
// MKV; and the default wallpaper.
// With --set, it writes a small named set instead, for the scenes that play
// with a stick plugged (tools/play_scene.sh): quick to write, the same bytes
// and the same dates every time.
// Everything is generated here; nothing is downloaded.
//   sample_media OUT_DIR DEFAULT_WALLPAPER_FILE
//   sample_media --set NAME OUT_DIR
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "media_writer.h"

namespace {

// The scenes' set "players": three photos (the second turned by its EXIF
// orientation) and a text named .jpg in Photos, a tagged song with its cover
// and a plain one in Music, a short movie in Movies.
bool WritePlayersSet(const std::string& out) {
  using namespace media_writer;
  bool ok = true;
  ok &= WriteBytes(out + "/Photos/harbour.jpg", Jpeg(960, 540, 0x102060, 0xF0A040));
  ok &= WriteBytes(out + "/Photos/lighthouse.jpg",
                   Jpeg(640, 480, 0x003050, 0x40C0E0, ExifBlock(6, "Sample", "Camera", "2023:07:14 18:02:33")));
  ok &= WriteBytes(out + "/Photos/meadow.jpg", Jpeg(800, 600, 0x103010, 0x90D060));
  const char text[] = "this is no picture";
  ok &= WriteBytes(out + "/Photos/notes.jpg", std::vector<uint8_t>(text, text + sizeof text - 1));
  const SongTags tags{"Morning Tide", "The Sample Band", "Harbour Lights", "Pop", 2023, 1};
  ok &= WriteTone(out + "/Music/01 Morning Tide.mp3", AV_CODEC_ID_MP3, 8, 440) &&
        TagSong(out + "/Music/01 Morning Tide.mp3", tags, Jpeg(300, 300, 0xF08020, 0x201008));
  ok &= WriteWav(out + "/Music/02 Evening Calm.wav", 20);
  ok &= WriteMovie(out + "/Movies/clip.avi", 30, 320, 240, 81, 90, 240, true);
  return ok;
}

// Random bytes, the same every time: a fixed linear congruential sequence.
std::vector<uint8_t> Noise(size_t size, uint32_t seed) {
  std::vector<uint8_t> noise(size);
  for (uint8_t& b : noise) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
  return noise;
}

// The scenes' set "broken": an empty folder beside two photos, one of them
// named with bytes that are no UTF-8; in Music a song of random bytes named
// .mp3 between two plain ones, and in Movies a movie of random bytes named
// .mp4 between two short ones.
bool WriteBrokenSet(const std::string& out) {
  using namespace media_writer;
  std::error_code ec;
  std::filesystem::create_directories(out + "/Empty", ec);
  bool ok = !ec;
  ok &= WriteBytes(out + "/harbour.jpg", Jpeg(960, 540, 0x102060, 0xF0A040));
  ok &= WriteBytes(out + "/bad-utf8-\xFF\xFE.jpg", Jpeg(960, 540, 0x103010, 0x90D060));
  ok &= WriteWav(out + "/Music/a short song.wav", 3);
  ok &= WriteBytes(out + "/Music/broken.mp3", Noise(20000, 12345));
  ok &= WriteWav(out + "/Music/evening calm.wav", 20);
  ok &= WriteMovie(out + "/Movies/a short clip.avi", 3, 320, 240, 81, 90, 240, true);
  ok &= WriteBytes(out + "/Movies/broken.mp4", Noise(30000, 54321));
  ok &= WriteMovie(out + "/Movies/closing.avi", 20, 320, 240, 41, 240, 110, true);
  return ok;
}

}  // namespace

// Dates the set's files and folders as the set's own, in path order one
// minute apart from 14 July 2023, 09:00 UTC, rather than when they happened
// to be written: a listing sorted by date, and a scene's shots of it, are
// then the same on every machine and in every run.
bool DateTheSet(const std::string& out) {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::vector<fs::path> paths;
  for (fs::recursive_directory_iterator it(out, ec), end; !ec && it != end; it.increment(ec))
    paths.push_back(it->path());
  if (ec) return false;
  std::sort(paths.begin(), paths.end());
  const std::chrono::sys_seconds day{std::chrono::sys_days{std::chrono::year{2023} / 7 / 14}};
  const fs::file_time_type start{
      std::chrono::duration_cast<fs::file_time_type::duration>(
          fs::file_time_type::clock::from_sys(day + std::chrono::hours{9}).time_since_epoch())};
  std::chrono::minutes step{0};
  bool ok = true;
  for (const fs::path& p : paths) {
    fs::last_write_time(p, start + step, ec);
    ok &= !ec;
    step += std::chrono::minutes{1};
  }
  return ok;
}

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--set") {
    const std::string set = argv[2];
    if (set != "players" && set != "broken") {
      std::fprintf(stderr, "sample_media: no set named %s (sets: players, broken)\n", set.c_str());
      return 2;
    }
    if (!(set == "players" ? WritePlayersSet(argv[3]) : WriteBrokenSet(argv[3])) || !DateTheSet(argv[3])) {
      std::fprintf(stderr, "sample_media: could not write every file under %s\n", argv[3]);
      return 1;
    }
    return 0;
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: sample_media OUT_DIR DEFAULT_WALLPAPER_FILE\n       sample_media --set NAME OUT_DIR\n");
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
  // An album whose songs carry their tags and cover inside.
  {
    const std::string album = out + "/Music/Harbour Lights/";
    SongTags tags{"Morning Tide", "The Sample Band", "Harbour Lights", "Pop", 2023, 1};
    ok &= WriteTone(album + "01 Morning Tide.mp3", AV_CODEC_ID_MP3, 8, 440) &&
          TagSong(album + "01 Morning Tide.mp3", tags, Jpeg(300, 300, 0xF08020, 0x201008));
    tags.title = "Evening Calm", tags.track = 2;
    ok &= WriteTone(album + "02 Evening Calm.flac", AV_CODEC_ID_FLAC, 8, 330) &&
          TagSong(album + "02 Evening Calm.flac", tags, Jpeg(300, 300, 0x2040F0, 0x081020));
  }
  ok &= WriteMovie(out + "/Movies/clip.avi", 6, 320, 240, 81, 90, 240, true);
  ok &= WriteMovie(out + "/Movies/short.mp4", 3, 320, 240, 145, 54, 34, true);
  ok &= WriteMovie(out + "/Movies/short.mkv", 3, 320, 240, 41, 240, 110, true);
  ok &= WriteMovie(out + "/Music Videos/concert.avi", 3, 320, 240, 110, 200, 60, true);
  ok &= WriteStill(out + "/Photos/Formats/green.gif", AV_CODEC_ID_GIF, 320, 240, 0x30C030);
  ok &= WriteStill(out + "/Photos/Formats/blue.bmp", AV_CODEC_ID_BMP, 320, 240, 0x3030C0);
  // WebP needs FFmpeg's libwebp encoder: written when it is there.
  WriteStill(out + "/Photos/Formats/yellow.webp", AV_CODEC_ID_WEBP, 320, 240, 0xE0E030);
  ok &= WriteBytes(out + "/Photos/Formats/\xC3\x89t\xC3\xA9 \xC3\xA0 Paris.jpg", Jpeg(640, 480, 0x803000, 0xF0D090));
  // As the camera was held: the viewer turns 3, 6 and 8 upright.
  for (const uint16_t orientation : {1, 3, 6, 8})
    ok &= WriteBytes(out + "/Photos/Orientation/orientation " + std::to_string(orientation) + ".jpg",
                     Jpeg(640, 480, 0x000000, 0xF0F0F0, ExifBlock(orientation, "Sample", "Camera", "2023:07:14 18:02:33")));
  ok &= WriteBytes(out + "/Photos/Sizes/4000x3000.jpg", Jpeg(4000, 3000, 0x300010, 0xF0C0A0));
  ok &= WriteBytes(out + "/Photos/Sizes/16x16.jpg", Jpeg(16, 16, 0x000000, 0xFFFFFF));
  ok &= WriteBytes(out + "/Photos/Sizes/1x1.jpg", Jpeg(1, 1, 0x40A040, 0x40A040));
  {
    const std::vector<uint8_t> whole = Jpeg(640, 480, 0x000000, 0xFFFFFF);
    ok &= WriteBytes(out + "/Photos/Broken/truncated.jpg", std::vector<uint8_t>(whole.begin(), whole.begin() + long(whole.size() / 2)));
    const char text[] = "this is no picture";
    ok &= WriteBytes(out + "/Photos/Broken/text.jpg", std::vector<uint8_t>(text, text + sizeof text - 1));
  }
  {
    const std::string many = out + "/Photos/Many";
    const std::string first = many + "/photo00001.jpg";
    if (!std::filesystem::exists(first)) ok &= WriteBytes(first, Jpeg(160, 120, 0x204060, 0xA0C0E0));
    char name[32];
    for (int i = 2; i <= 10000; ++i) {
      std::snprintf(name, sizeof name, "/photo%05d.jpg", i);
      if (!std::filesystem::exists(many + name)) std::filesystem::create_hard_link(first, many + name, ec);
    }
  }
  ok &= WriteBytes(argv[2], Jpeg(960, 540, 0x101840, 0x4080C0));
  if (!ok) {
    std::fprintf(stderr, "sample_media: could not write every file under %s\n", out.c_str());
    return 1;
  }
  std::printf("sample_media: wrote %s and %s\n", out.c_str(), argv[2]);
  return 0;
}
