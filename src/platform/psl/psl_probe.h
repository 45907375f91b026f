// Tags and durations of music and movies: TagLib for music (title, artist,
// album, year, track, genre, length), FFmpeg's demuxer for movies (size,
// codecs, length). Files come from outside: failures answer a reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/psl/psl_decode.h"
#include "platform/psl/psl_library.h"

namespace psl {

struct Probe {
  std::string title, artist, album, year, track, genre;
  // Movies: "1280 × 720, H.264, AAC, 1:02:03".
  std::string summary;
  int64_t durationMs = 0;
};

bool ProbeFile(const std::string& path, FileKind kind, Probe* out, std::string* error);

// A song's cover: the picture embedded in an MP3 (ID3v2) or FLAC file, else
// cover.jpg, folder.jpg or front.jpg beside it. The file's bytes, or false.
bool CoverArt(const std::string& path, std::vector<uint8_t>* bytes);

// The movie's picture at `ms` (the first one from there on), fitted into
// boxW x boxH. False with a reason when there is none.
bool VideoFrame(const std::string& path, int64_t ms, int32_t boxW, int32_t boxH, Image* out, std::string* error);

}  // namespace psl
