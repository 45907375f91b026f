#include "platform/psl/psl_probe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}
#include <taglib/attachedpictureframe.h>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "platform/psl/psl.h"
#include "platform/psl/psl_frame.h"

namespace psl {
namespace {

void QuietFfmpeg() {
  static std::once_flag quiet;
  std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
}

std::string Clock(int64_t seconds) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return buf;
}

std::string CodecName(AVCodecID id) {
  switch (id) {
    case AV_CODEC_ID_H264: return "H.264";
    case AV_CODEC_ID_HEVC: return "H.265";
    case AV_CODEC_ID_MPEG4: return "MPEG-4";
    case AV_CODEC_ID_MPEG2VIDEO: return "MPEG-2";
    case AV_CODEC_ID_AAC: return "AAC";
    case AV_CODEC_ID_MP3: return "MP3";
    case AV_CODEC_ID_AC3: return "AC-3";
    default: {
      const AVCodecDescriptor* d = avcodec_descriptor_get(id);
      std::string s = d ? d->name : "?";
      for (char& c : s) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
      return s;
    }
  }
}

bool ProbeMusic(const std::string& path, Probe* out, std::string* error) {
  TagLib::FileRef f(path.c_str(), true, TagLib::AudioProperties::Fast);
  if (f.isNull() || !f.audioProperties()) {
    *error = "not a music file TagLib reads";
    return false;
  }
  out->durationMs = f.audioProperties()->lengthInMilliseconds();
  if (const TagLib::Tag* t = f.tag()) {
    out->title = t->title().to8Bit(true);
    out->artist = t->artist().to8Bit(true);
    out->album = t->album().to8Bit(true);
    out->genre = t->genre().to8Bit(true);
    if (t->year()) out->year = std::to_string(t->year());
    if (t->track()) out->track = std::to_string(t->track());
  }
  if (out->title.empty()) {
    const size_t slash = path.rfind('/');
    out->title = path.substr(slash == std::string::npos ? 0 : slash + 1);
  }
  return true;
}

bool ProbeVideo(const std::string& path, Probe* out, std::string* error) {
  QuietFfmpeg();
  AVFormatContext* ctx = nullptr;
  if (avformat_open_input(&ctx, path.c_str(), nullptr, nullptr) < 0) {
    *error = "not a movie FFmpeg reads";
    return false;
  }
  if (avformat_find_stream_info(ctx, nullptr) < 0) {
    avformat_close_input(&ctx);
    *error = "no streams found";
    return false;
  }
  std::string video, audio;
  int32_t w = 0, h = 0;
  for (unsigned i = 0; i < ctx->nb_streams; ++i) {
    const AVCodecParameters* par = ctx->streams[i]->codecpar;
    if (par->codec_type == AVMEDIA_TYPE_VIDEO && video.empty() &&
        !(ctx->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
      video = CodecName(par->codec_id);
      w = par->width, h = par->height;
    } else if (par->codec_type == AVMEDIA_TYPE_AUDIO && audio.empty()) {
      audio = CodecName(par->codec_id);
    }
  }
  out->durationMs = ctx->duration > 0 ? ctx->duration / (AV_TIME_BASE / 1000) : 0;
  avformat_close_input(&ctx);
  if (video.empty()) {
    *error = "no video stream";
    return false;
  }
  out->summary = std::to_string(w) + " \xC3\x97 " + std::to_string(h) + ", " + video + (audio.empty() ? "" : ", " + audio) +
                 ", " + Clock(out->durationMs / 1000);
  const size_t slash = path.rfind('/');
  out->title = path.substr(slash == std::string::npos ? 0 : slash + 1);
  return true;
}

struct Decoder {
  AVFormatContext* fmt = nullptr;
  AVCodecContext* codec = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  ~Decoder() {
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&codec);
    avformat_close_input(&fmt);
  }
};

bool Fail(std::string* error, const char* why) {
  *error = why;
  return false;
}

}  // namespace

bool CoverArt(const std::string& path, std::vector<uint8_t>* bytes) {
  bytes->clear();
  std::string ext = path.substr(path.rfind('.') == std::string::npos ? path.size() : path.rfind('.') + 1);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  constexpr size_t kMaxCover = 16u << 20;
  auto take = [&](const TagLib::ByteVector& v) {
    if (v.isEmpty() || v.size() > kMaxCover) return false;
    bytes->assign(v.data(), v.data() + v.size());
    return true;
  };
  if (!IsRegularFile(path)) return false;
  if (ext == "mp3") {
    TagLib::MPEG::File f(path.c_str(), false);
    if (f.isValid() && f.ID3v2Tag()) {
      const TagLib::ID3v2::FrameList& frames = f.ID3v2Tag()->frameListMap()["APIC"];
      for (TagLib::ID3v2::Frame* frame : frames)
        if (auto* pic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame); pic && take(pic->picture()))
          return true;
    }
  } else if (ext == "flac") {
    TagLib::FLAC::File f(path.c_str(), false);
    if (f.isValid())
      for (TagLib::FLAC::Picture* pic : f.pictureList())
        if (pic && take(pic->data())) return true;
  }
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
  std::string error;
  for (const char* name : {"cover.jpg", "Cover.jpg", "folder.jpg", "Folder.jpg", "front.jpg", "cover.png"})
    if (ReadFile(dir + "/" + name, kMaxCover, bytes, &error)) return true;
  bytes->clear();
  return false;
}

bool VideoFrame(const std::string& path, int64_t ms, int32_t boxW, int32_t boxH, Image* out, std::string* error) {
  *out = Image{};
  if (!IsRegularFile(path)) return Fail(error, "not a regular file");
  QuietFfmpeg();
  Decoder d;
  if (avformat_open_input(&d.fmt, path.c_str(), nullptr, nullptr) < 0) return Fail(error, "not a movie FFmpeg reads");
  if (avformat_find_stream_info(d.fmt, nullptr) < 0) return Fail(error, "no streams found");
  const AVCodec* dec = nullptr;
  const int stream = av_find_best_stream(d.fmt, AVMEDIA_TYPE_VIDEO, -1, -1, &dec, 0);
  if (stream < 0 || !dec) return Fail(error, "no video stream");
  AVStream* st = d.fmt->streams[stream];
  d.codec = avcodec_alloc_context3(dec);
  if (!d.codec || avcodec_parameters_to_context(d.codec, st->codecpar) < 0)
    return Fail(error, "cannot open the video decoder");
  // Pictures over the limit are refused before the decoder allocates them.
  d.codec->max_pixels = PSL_PICTURE_MAX_PIXELS;
  if (avcodec_open2(d.codec, dec, nullptr) < 0) return Fail(error, "cannot open the video decoder");
  if (d.codec->width <= 0 || d.codec->height <= 0 || d.codec->width > PSL_PICTURE_MAX_SIDE ||
      d.codec->height > PSL_PICTURE_MAX_SIDE)
    return Fail(error, "video size out of range");
  const int64_t target = av_rescale_q(ms, AVRational{1, 1000}, st->time_base);
  if (ms > 0) av_seek_frame(d.fmt, stream, target, AVSEEK_FLAG_BACKWARD);
  d.frame = av_frame_alloc();
  d.packet = av_packet_alloc();
  if (!d.frame || !d.packet) return Fail(error, "out of memory");
  bool got = false;
  for (int reads = 0; !got && reads < 2000; ++reads) {
    const bool eof = av_read_frame(d.fmt, d.packet) < 0;
    if (!eof && d.packet->stream_index != stream) {
      av_packet_unref(d.packet);
      continue;
    }
    avcodec_send_packet(d.codec, eof ? nullptr : d.packet);
    av_packet_unref(d.packet);
    while (!got && avcodec_receive_frame(d.codec, d.frame) == 0) {
      const int64_t pts = d.frame->best_effort_timestamp;
      if (ms <= 0 || pts == AV_NOPTS_VALUE || pts >= target || eof) got = true;
      else av_frame_unref(d.frame);
    }
    if (eof) break;
  }
  if (!got) return Fail(error, "no picture at that time");
  const int32_t w = d.frame->width, h = d.frame->height;
  if (w <= 0 || h <= 0 || w > PSL_PICTURE_MAX_SIDE || h > PSL_PICTURE_MAX_SIDE)
    return Fail(error, "video size out of range");
  int32_t fw = boxW, fh = static_cast<int32_t>(int64_t{h} * boxW / w);
  if (fh > boxH) fh = boxH, fw = static_cast<int32_t>(int64_t{w} * boxH / h);
  fw = std::max(fw, 1), fh = std::max(fh, 1);
  std::string why;
  if (!FrameToImage(d.frame, fw, fh, SWS_BILINEAR, out, &why)) {
    *error = why;
    return false;
  }
  return true;
}

bool ProbeFile(const std::string& path, FileKind kind, Probe* out, std::string* error) {
  *out = Probe{};
  if (!IsRegularFile(path)) {
    *error = "not a regular file";
    return false;
  }
  if (kind == FileKind::kMusic) return ProbeMusic(path, out, error);
  if (kind == FileKind::kVideo) return ProbeVideo(path, out, error);
  *error = "not music or a movie";
  return false;
}

}  // namespace psl
