// Writes small media files with the libraries the media service reads them
// with: a movie (MPEG-4 in AVI, libavcodec's own encoder), a JPEG (with an
// EXIF block when asked) and a PNG of one colour, a silent WAV, a tone in
// MP3 (LAME through libavcodec) or FLAC, and the tags and cover of a song
// (TagLib). Used by the sample-media generator, the benchmarks and the
// tests, so that no sample is ever downloaded.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswscale/swscale.h>
}
#include <png.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/xiphcomment.h>

#include <cmath>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
// jpeglib.h needs size_t and FILE first.
#include <jpeglib.h>

namespace media_writer {

// The folder a file goes into, made when missing.
inline void MakeParent(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
}

// A picture frame of FFmpeg's own allocation (rows padded to the library's
// alignment, slack after the last), cleared: libswscale and the encoders
// read and write whole blocks of pixels, past a row's width. Null when out
// of memory.
inline AVFrame* NewPictureFrame(AVPixelFormat format, int w, int h) {
  AVFrame* f = av_frame_alloc();
  if (!f) return nullptr;
  f->format = format, f->width = w, f->height = h;
  if (av_frame_get_buffer(f, 0) < 0) {
    av_frame_free(&f);
    return nullptr;
  }
  for (AVBufferRef* b : f->buf)
    if (b) std::memset(b->data, 0, b->size);
  return f;
}

// One encoder writing one stream into a file, the container by the path's
// extension. Set the context up, Start, Send the frames, Finish.
class StreamWriter {
 public:
  StreamWriter(const std::string& path, AVCodecID id) : path_(path) {
    MakeParent(path);
    if (avformat_alloc_output_context2(&fmt_, nullptr, nullptr, path.c_str()) < 0) fmt_ = nullptr;
    codec_ = avcodec_find_encoder(id);
    c_ = fmt_ && codec_ ? avcodec_alloc_context3(codec_) : nullptr;
    st_ = c_ ? avformat_new_stream(fmt_, nullptr) : nullptr;
    ok_ = st_ != nullptr;
  }
  ~StreamWriter() {
    if (opened_) avio_closep(&fmt_->pb);
    av_packet_free(&pkt_);
    avcodec_free_context(&c_);
    avformat_free_context(fmt_);
  }
  StreamWriter(const StreamWriter&) = delete;
  StreamWriter& operator=(const StreamWriter&) = delete;

  bool Ok() const { return ok_; }
  const AVCodec* Codec() const { return codec_; }
  AVCodecContext* Context() { return c_; }
  // Opens the encoder as set up, then the file, and writes the header.
  bool Start() {
    if (!ok_) return false;
    if (fmt_->oformat->flags & AVFMT_GLOBALHEADER) c_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    ok_ = avcodec_open2(c_, codec_, nullptr) >= 0 && avcodec_parameters_from_context(st_->codecpar, c_) >= 0;
    st_->time_base = c_->time_base;
    ok_ = ok_ && avio_open(&fmt_->pb, path_.c_str(), AVIO_FLAG_WRITE) >= 0;
    opened_ = ok_;
    pkt_ = av_packet_alloc();
    ok_ = ok_ && pkt_ && avformat_write_header(fmt_, nullptr) >= 0;
    return ok_;
  }
  // One frame in (null: the end), the packets it gives written.
  bool Send(const AVFrame* f) {
    ok_ = ok_ && avcodec_send_frame(c_, f) >= 0;
    while (ok_ && avcodec_receive_packet(c_, pkt_) == 0) {
      av_packet_rescale_ts(pkt_, c_->time_base, st_->time_base);
      pkt_->stream_index = st_->index;
      if (av_interleaved_write_frame(fmt_, pkt_) < 0) ok_ = false;
    }
    return ok_;
  }
  bool Finish() { return Send(nullptr) && (ok_ = av_write_trailer(fmt_) >= 0); }

 private:
  std::string path_;
  AVFormatContext* fmt_ = nullptr;
  const AVCodec* codec_ = nullptr;
  AVCodecContext* c_ = nullptr;
  AVStream* st_ = nullptr;
  AVPacket* pkt_ = nullptr;
  bool opened_ = false;
  bool ok_ = false;
};

// A movie of `seconds` at 5 pictures a second, every picture one colour
// (Y, U, V); with `bar`, a light bar crosses it from left to right. MPEG-4
// video in the container of the extension (.avi, .mp4, .mkv).
inline bool WriteMovie(const std::string& path, int seconds, int w, int h, uint8_t y, uint8_t u, uint8_t v,
                       bool bar = false) {
  StreamWriter out(path, AV_CODEC_ID_MPEG4);
  if (AVCodecContext* c = out.Ok() ? out.Context() : nullptr) {
    c->width = w, c->height = h, c->time_base = AVRational{1, 5}, c->framerate = AVRational{5, 1};
    c->pix_fmt = AV_PIX_FMT_YUV420P, c->gop_size = 5;
  }
  bool ok = out.Start();
  AVFrame* f = ok ? NewPictureFrame(AV_PIX_FMT_YUV420P, w, h) : nullptr;
  ok = ok && f;
  const int frames = seconds * 5;
  for (int i = 0; ok && i < frames; ++i) {
    // A copy the encoder does not hold; its whole rows written, padding too,
    // since the encoder reads whole blocks.
    ok = av_frame_make_writable(f) >= 0;
    for (int row = 0; ok && row < h; ++row) {
      uint8_t* line = f->data[0] + row * f->linesize[0];
      std::memset(line, y, size_t(f->linesize[0]));
      if (bar) std::memset(line + (w - w / 8) * i / frames, 235, size_t(w / 8));
    }
    for (int row = 0; ok && row < (h + 1) / 2; ++row) {
      std::memset(f->data[1] + row * f->linesize[1], u, size_t(f->linesize[1]));
      std::memset(f->data[2] + row * f->linesize[2], v, size_t(f->linesize[2]));
    }
    f->pts = i;
    ok = out.Send(f);
  }
  ok = ok && out.Finish();
  av_frame_free(&f);
  return ok;
}

// A tone of `seconds` at `hz`, 44.1 kHz stereo, by the encoder of `id`
// (AV_CODEC_ID_MP3: LAME; AV_CODEC_ID_FLAC), in the container the extension
// names (.mp3, .flac); false when it cannot be written.
inline bool WriteTone(const std::string& path, AVCodecID id, int seconds, double hz) {
  StreamWriter out(path, id);
  // The first sample layout of the encoder's that is written below.
  AVSampleFormat sf = AV_SAMPLE_FMT_NONE;
  for (const AVSampleFormat* f = out.Codec() ? out.Codec()->sample_fmts : nullptr; f && *f != AV_SAMPLE_FMT_NONE; ++f)
    if (*f == AV_SAMPLE_FMT_S16 || *f == AV_SAMPLE_FMT_S16P || *f == AV_SAMPLE_FMT_S32 || *f == AV_SAMPLE_FMT_S32P ||
        *f == AV_SAMPLE_FMT_FLTP) {
      sf = *f;
      break;
    }
  if (!out.Ok() || sf == AV_SAMPLE_FMT_NONE) return false;
  AVCodecContext* c = out.Context();
  c->sample_rate = 44100, c->sample_fmt = sf, c->bit_rate = 128000, c->time_base = AVRational{1, 44100};
  av_channel_layout_default(&c->ch_layout, 2);
  AVFrame* f = av_frame_alloc();
  bool ok = out.Start() && f;
  if (ok) {
    f->format = sf, f->sample_rate = 44100, f->nb_samples = c->frame_size > 0 ? c->frame_size : 1152;
    av_channel_layout_copy(&f->ch_layout, &c->ch_layout);
    ok = av_frame_get_buffer(f, 0) >= 0;
  }
  const int64_t total = int64_t{seconds} * 44100;
  const double step = 2 * M_PI * hz / 44100;
  for (int64_t at = 0; ok && at < total; at += f->nb_samples) {
    av_frame_make_writable(f);
    for (int i = 0; i < f->nb_samples; ++i) {
      const double v = at + i < total ? 0.3 * std::sin(step * double(at + i)) : 0.0;
      for (int ch = 0; ch < 2; ++ch) {
        switch (sf) {
          case AV_SAMPLE_FMT_S16: reinterpret_cast<int16_t*>(f->data[0])[2 * i + ch] = int16_t(v * 32767); break;
          case AV_SAMPLE_FMT_S16P: reinterpret_cast<int16_t*>(f->data[ch])[i] = int16_t(v * 32767); break;
          case AV_SAMPLE_FMT_S32: reinterpret_cast<int32_t*>(f->data[0])[2 * i + ch] = int32_t(v * 2147483647.0); break;
          case AV_SAMPLE_FMT_S32P: reinterpret_cast<int32_t*>(f->data[ch])[i] = int32_t(v * 2147483647.0); break;
          default: reinterpret_cast<float*>(f->data[ch])[i] = float(v); break;
        }
      }
    }
    f->pts = at;
    ok = out.Send(f);
  }
  ok = ok && out.Finish();
  av_frame_free(&f);
  return ok;
}

// What a song's tags say.
struct SongTags {
  std::string title, artist, album, genre;
  unsigned year = 0, track = 0;
};

// Writes the tags and, when given, a JPEG front cover into an MP3 (ID3v2)
// or FLAC (Vorbis comment and picture block) file; false for other files.
inline bool TagSong(const std::string& path, const SongTags& t, const std::vector<uint8_t>& coverJpeg = {}) {
  const auto text = [](const std::string& s) { return TagLib::String(s, TagLib::String::UTF8); };
  const auto fill = [&](TagLib::Tag* tag) {
    tag->setTitle(text(t.title));
    tag->setArtist(text(t.artist));
    tag->setAlbum(text(t.album));
    tag->setGenre(text(t.genre));
    tag->setYear(t.year);
    tag->setTrack(t.track);
  };
  const TagLib::ByteVector cover(reinterpret_cast<const char*>(coverJpeg.data()), unsigned(coverJpeg.size()));
  const std::string ext = std::filesystem::path(path).extension().string();
  if (ext == ".mp3") {
    TagLib::MPEG::File f(path.c_str(), false);
    if (!f.isValid()) return false;
    TagLib::ID3v2::Tag* tag = f.ID3v2Tag(true);
    fill(tag);
    if (!coverJpeg.empty()) {
      auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
      frame->setMimeType("image/jpeg");
      frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
      frame->setPicture(cover);
      tag->addFrame(frame);  // the tag owns it
    }
    return f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers);
  }
  if (ext == ".flac") {
    TagLib::FLAC::File f(path.c_str(), false);
    if (!f.isValid()) return false;
    fill(f.xiphComment(true));
    if (!coverJpeg.empty()) {
      auto* picture = new TagLib::FLAC::Picture;
      picture->setMimeType("image/jpeg");
      picture->setType(TagLib::FLAC::Picture::FrontCover);
      picture->setData(cover);
      f.addPicture(picture);  // the file owns it
    }
    return f.save();
  }
  return false;
}

// An EXIF block (the body of a JPEG's APP1 marker, little-endian) with the
// orientation (1-8), make, model and date ("2023:07:14 18:02:33").
inline std::vector<uint8_t> ExifBlock(uint16_t orientation, const std::string& make, const std::string& model,
                                      const std::string& date) {
  std::vector<uint8_t> b = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0};
  auto u16 = [&](uint16_t v) { b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8)); };
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i))); };
  const std::string texts[3] = {make, model, date};
  const uint16_t tags[3] = {0x010F, 0x0110, 0x0132};
  // IFD at 8: 4 entries, then the texts after it.
  const uint32_t dataAt = 8 + 2 + 4 * 12 + 4;
  u16(4);
  u16(0x0112), u16(3), u32(1), u16(orientation), u16(0);
  uint32_t at = dataAt;
  for (int i = 0; i < 3; ++i) {
    u16(tags[i]), u16(2), u32(uint32_t(texts[i].size() + 1)), u32(at);
    at += uint32_t(texts[i].size() + 1);
  }
  u32(0);
  for (const std::string& t : texts) {
    b.insert(b.end(), t.begin(), t.end());
    b.push_back(0);
  }
  return b;
}

// RGB pixels (3 bytes each, row by row) as a JPEG in memory, with an
// optional APP1 (EXIF) block.
inline std::vector<uint8_t> EncodeJpeg(const std::vector<uint8_t>& rgb, int w, int h, int quality,
                                       const std::vector<uint8_t>& exif = {}) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &mem, &size);
  c.image_width = unsigned(w), c.image_height = unsigned(h), c.input_components = 3, c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  jpeg_start_compress(&c, TRUE);
  if (!exif.empty()) jpeg_write_marker(&c, JPEG_APP0 + 1, exif.data(), unsigned(exif.size()));
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[size_t(c.next_scanline) * size_t(w) * 3]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> out(mem, mem + size);
  free(mem);
  return out;
}

// A JPEG of w x h in memory: a diagonal gradient from `from` to `to`
// (0xRRGGBB), with an EXIF block when one is given.
inline std::vector<uint8_t> Jpeg(int w, int h, uint32_t from, uint32_t to, const std::vector<uint8_t>& exif = {}) {
  std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
  for (int yy = 0; yy < h; ++yy)
    for (int x = 0; x < w; ++x) {
      const int t = (x + yy) * 255 / (w + h > 2 ? w + h - 2 : 1);
      uint8_t* p = &rgb[(size_t(yy) * size_t(w) + size_t(x)) * 3];
      for (int k = 0; k < 3; ++k) {
        const int a = int(from >> (16 - 8 * k)) & 0xFF, b = int(to >> (16 - 8 * k)) & 0xFF;
        p[k] = uint8_t(a + (b - a) * t / 255);
      }
    }
  return EncodeJpeg(rgb, w, h, 85, exif);
}

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  MakeParent(path);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

// A PNG of one colour (0xRRGGBB).
inline bool WritePng(const std::string& path, int w, int h, uint32_t rgb) {
  MakeParent(path);
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION, img.width = png_uint_32(w), img.height = png_uint_32(h), img.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> px(size_t(w) * size_t(h) * 3);
  for (size_t i = 0; i < px.size(); i += 3) px[i] = uint8_t(rgb >> 16), px[i + 1] = uint8_t(rgb >> 8), px[i + 2] = uint8_t(rgb);
  return png_image_write_to_file(&img, path.c_str(), 0, px.data(), 0, nullptr) != 0;
}

// A picture of one colour (0xRRGGBB) in a still-image format FFmpeg
// encodes (AV_CODEC_ID_GIF, AV_CODEC_ID_BMP, AV_CODEC_ID_WEBP when its
// encoder is there); false when it cannot be written.
inline bool WriteStill(const std::string& path, AVCodecID id, int w, int h, uint32_t rgb) {
  const AVCodec* codec = avcodec_find_encoder(id);
  if (!codec || !codec->pix_fmts) return false;
  AVCodecContext* c = avcodec_alloc_context3(codec);
  AVPacket* pkt = av_packet_alloc();
  bool ok = c && pkt;
  if (ok) {
    c->width = w, c->height = h, c->time_base = AVRational{1, 25}, c->pix_fmt = codec->pix_fmts[0];
    ok = avcodec_open2(c, codec, nullptr) >= 0;
  }
  AVFrame* f = ok ? NewPictureFrame(c->pix_fmt, w, h) : nullptr;
  AVFrame* src = ok ? NewPictureFrame(AV_PIX_FMT_RGB24, w, h) : nullptr;
  ok = ok && f && src;
  for (int y = 0; ok && y < h; ++y) {
    uint8_t* row = src->data[0] + ptrdiff_t(y) * src->linesize[0];
    for (int x = 0; x < w; ++x) row[3 * x] = uint8_t(rgb >> 16), row[3 * x + 1] = uint8_t(rgb >> 8), row[3 * x + 2] = uint8_t(rgb);
  }
  SwsContext* sws = ok ? sws_getContext(w, h, AV_PIX_FMT_RGB24, w, h, c->pix_fmt, SWS_POINT, nullptr, nullptr, nullptr) : nullptr;
  ok = ok && sws;
  if (ok) {
    sws_scale(sws, src->data, src->linesize, 0, h, f->data, f->linesize);
    f->pts = 0;
    ok = avcodec_send_frame(c, f) >= 0 && avcodec_send_frame(c, nullptr) >= 0;
  }
  std::vector<uint8_t> out;
  while (ok && avcodec_receive_packet(c, pkt) == 0) {
    out.insert(out.end(), pkt->data, pkt->data + pkt->size);
    av_packet_unref(pkt);
  }
  // The GIF encoder writes the picture only: its header comes from the muxer's part.
  if (ok && id == AV_CODEC_ID_GIF && !(out.size() >= 6 && std::memcmp(out.data(), "GIF8", 4) == 0)) ok = false;
  sws_freeContext(sws);
  av_packet_free(&pkt);
  av_frame_free(&src);
  av_frame_free(&f);
  avcodec_free_context(&c);
  return ok && !out.empty() && WriteBytes(path, out);
}

// A silent PCM WAV of `seconds`.
inline bool WriteWav(const std::string& path, int seconds) {
  const uint32_t rate = 8000, bytes = rate * 2 * uint32_t(seconds);
  std::vector<uint8_t> b;
  b.reserve(44 + bytes);
  auto s = [&](const char* t) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(t[i])); };
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i))); };
  auto u16 = [&](uint16_t v) { b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8)); };
  s("RIFF"), u32(36 + bytes), s("WAVE"), s("fmt "), u32(16), u16(1), u16(1), u32(rate), u32(rate * 2), u16(2), u16(16);
  s("data"), u32(bytes);
  b.resize(b.size() + bytes, 0);
  return WriteBytes(path, b);
}

}  // namespace media_writer
