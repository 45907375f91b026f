// Writes small media files with the libraries the media service reads them
// with: a movie (MPEG-4 in AVI, libavcodec's own encoder), a JPEG and a PNG
// of one colour, and a silent WAV. Used by the sample-media generator, the
// benchmarks and the tests, so that no sample is ever downloaded.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}
#include <png.h>

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

// A movie of `seconds` at 5 pictures a second, every picture one colour
// (Y, U, V); with `bar`, a light bar crosses it from left to right.
inline bool WriteMovie(const std::string& path, int seconds, int w, int h, uint8_t y, uint8_t u, uint8_t v,
                       bool bar = false) {
  MakeParent(path);
  AVFormatContext* fmt = nullptr;
  // The container by the extension (.avi, .mp4, .mkv); MPEG-4 video in each.
  if (avformat_alloc_output_context2(&fmt, nullptr, nullptr, path.c_str()) < 0) return false;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  AVCodecContext* c = codec ? avcodec_alloc_context3(codec) : nullptr;
  AVStream* st = avformat_new_stream(fmt, nullptr);
  bool ok = c && st;
  if (ok) {
    c->width = w, c->height = h, c->time_base = AVRational{1, 5}, c->framerate = AVRational{5, 1};
    c->pix_fmt = AV_PIX_FMT_YUV420P, c->gop_size = 5;
    ok = avcodec_open2(c, codec, nullptr) >= 0;
  }
  if (ok) {
    avcodec_parameters_from_context(st->codecpar, c);
    st->time_base = c->time_base;
    ok = avio_open(&fmt->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0;
  }
  const bool opened = ok;
  if (ok) ok = avformat_write_header(fmt, nullptr) >= 0;
  AVFrame* f = av_frame_alloc();
  AVPacket* pkt = av_packet_alloc();
  if (ok) {
    f->format = c->pix_fmt, f->width = w, f->height = h;
    ok = av_frame_get_buffer(f, 0) >= 0;
  }
  auto drain = [&] {
    while (avcodec_receive_packet(c, pkt) == 0) {
      av_packet_rescale_ts(pkt, c->time_base, st->time_base);
      pkt->stream_index = st->index;
      if (av_interleaved_write_frame(fmt, pkt) < 0) ok = false;
    }
  };
  const int frames = seconds * 5;
  for (int i = 0; ok && i < frames; ++i) {
    av_frame_make_writable(f);
    for (int row = 0; row < h; ++row) {
      uint8_t* line = f->data[0] + row * f->linesize[0];
      std::memset(line, y, size_t(w));
      if (bar) std::memset(line + (w - w / 8) * i / frames, 235, size_t(w / 8));
    }
    for (int row = 0; row < h / 2; ++row) {
      std::memset(f->data[1] + row * f->linesize[1], u, size_t(w / 2));
      std::memset(f->data[2] + row * f->linesize[2], v, size_t(w / 2));
    }
    f->pts = i;
    ok = avcodec_send_frame(c, f) >= 0;
    drain();
  }
  if (ok) {
    avcodec_send_frame(c, nullptr);
    drain();
    ok = av_write_trailer(fmt) >= 0;
  }
  if (opened) avio_closep(&fmt->pb);
  av_packet_free(&pkt);
  av_frame_free(&f);
  avcodec_free_context(&c);
  avformat_free_context(fmt);
  return ok;
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

// A JPEG of w x h in memory: a diagonal gradient from `from` to `to` (0xRRGGBB).
inline std::vector<uint8_t> Jpeg(int w, int h, uint32_t from, uint32_t to) {
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
  return EncodeJpeg(rgb, w, h, 85);
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
  AVFrame* f = av_frame_alloc();
  AVPacket* pkt = av_packet_alloc();
  bool ok = c && f && pkt;
  if (ok) {
    c->width = w, c->height = h, c->time_base = AVRational{1, 25}, c->pix_fmt = codec->pix_fmts[0];
    ok = avcodec_open2(c, codec, nullptr) >= 0;
  }
  if (ok) {
    f->format = c->pix_fmt, f->width = w, f->height = h;
    ok = av_frame_get_buffer(f, 0) >= 0;
  }
  std::vector<uint8_t> src(size_t(w) * size_t(h) * 3);
  for (size_t i = 0; i < src.size(); i += 3) src[i] = uint8_t(rgb >> 16), src[i + 1] = uint8_t(rgb >> 8), src[i + 2] = uint8_t(rgb);
  SwsContext* sws = ok ? sws_getContext(w, h, AV_PIX_FMT_RGB24, w, h, c->pix_fmt, SWS_POINT, nullptr, nullptr, nullptr) : nullptr;
  ok = ok && sws;
  if (ok) {
    const uint8_t* in[4] = {src.data(), nullptr, nullptr, nullptr};
    const int inStride[4] = {w * 3, 0, 0, 0};
    sws_scale(sws, in, inStride, 0, h, f->data, f->linesize);
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
  av_frame_free(&f);
  avcodec_free_context(&c);
  return ok && !out.empty() && WriteBytes(path, out);
}

// A silent PCM WAV of `seconds`.
inline bool WriteWav(const std::string& path, int seconds) {
  const uint32_t rate = 8000, bytes = rate * 2 * uint32_t(seconds);
  std::vector<uint8_t> b;
  auto s = [&](const char* t) { b.insert(b.end(), t, t + 4); };
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i))); };
  auto u16 = [&](uint16_t v) { b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8)); };
  s("RIFF"), u32(36 + bytes), s("WAVE"), s("fmt "), u32(16), u16(1), u16(1), u32(rate), u32(rate * 2), u16(2), u16(16);
  s("data"), u32(bytes);
  b.resize(b.size() + bytes, 0);
  return WriteBytes(path, b);
}

}  // namespace media_writer
