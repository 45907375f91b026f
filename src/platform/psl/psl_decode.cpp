#include "platform/psl/psl_decode.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}
#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>
#include <libexif/exif-data.h>
#include <png.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/display/surface.h"
#include "platform/psl/psl.h"
#include "platform/psl/psl_frame.h"

namespace psl {
namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

bool Fail(std::string* error, std::string why) {
  if (error) *error = std::move(why);
  return false;
}

bool SizeAllowed(int64_t w, int64_t h, std::string* error) {
  if (w <= 0 || h <= 0) return Fail(error, "empty picture");
  if (w > PSL_PICTURE_MAX_SIDE || h > PSL_PICTURE_MAX_SIDE || w * h > PSL_PICTURE_MAX_PIXELS)
    return Fail(error, "picture of " + std::to_string(w) + " x " + std::to_string(h) + " is too large");
  return true;
}

bool IsJpeg(const uint8_t* d, size_t n) { return n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF; }
bool IsPng(const uint8_t* d, size_t n) { return n >= 8 && png_sig_cmp(d, 0, 8) == 0; }
bool IsGif(const uint8_t* d, size_t n) {
  return n >= 6 && (std::memcmp(d, "GIF87a", 6) == 0 || std::memcmp(d, "GIF89a", 6) == 0);
}
bool IsBmp(const uint8_t* d, size_t n) { return n >= 26 && d[0] == 'B' && d[1] == 'M'; }
bool IsWebp(const uint8_t* d, size_t n) { return n >= 12 && std::memcmp(d, "RIFF", 4) == 0 && std::memcmp(d + 8, "WEBP", 4) == 0; }

// GIF (its first picture), BMP and WebP through FFmpeg's decoders: the whole
// file is one packet, copied into a buffer with the zeroed padding that the
// decoders may read past its end. The decoder refuses pictures over the
// pixel limit before it allocates them. Transparent parts come out over black.
bool AvDecode(const uint8_t* data, size_t size, AVCodecID id, int32_t* w, int32_t* h, std::vector<uint32_t>* pixels,
              std::string* error) {
  const AVCodec* codec = avcodec_find_decoder(id);
  if (!codec) return Fail(error, "no decoder for this picture type");
  if (size > size_t(INT32_MAX) - AV_INPUT_BUFFER_PADDING_SIZE) return Fail(error, "file too large for one packet");
  std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> c(avcodec_alloc_context3(codec),
                                                               [](AVCodecContext* p) { avcodec_free_context(&p); });
  std::unique_ptr<AVPacket, void (*)(AVPacket*)> pkt(av_packet_alloc(), [](AVPacket* p) { av_packet_free(&p); });
  std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* p) { av_frame_free(&p); });
  if (!c || !pkt || !frame) return Fail(error, "out of memory");
  c->max_pixels = PSL_PICTURE_MAX_PIXELS;
  if (avcodec_open2(c.get(), codec, nullptr) < 0) return Fail(error, "the decoder cannot start");
  std::vector<uint8_t> buffer(size + AV_INPUT_BUFFER_PADDING_SIZE, 0);
  std::memcpy(buffer.data(), data, size);
  pkt->data = buffer.data();
  pkt->size = static_cast<int>(size);
  int got = avcodec_send_packet(c.get(), pkt.get());
  if (got >= 0) avcodec_send_packet(c.get(), nullptr);
  got = got >= 0 ? avcodec_receive_frame(c.get(), frame.get()) : got;
  if (got < 0) return Fail(error, "the picture cannot be decoded");
  if (!SizeAllowed(frame->width, frame->height, error)) return false;
  Image img;
  if (!FrameToImage(frame.get(), frame->width, frame->height, SWS_POINT, &img, error)) return false;
  *w = img.width;
  *h = img.height;
  *pixels = std::move(img.pixels);
  return true;
}

// The FFmpeg decoder of a GIF, BMP or WebP picture, with its type name; none for others.
AVCodecID OtherPicture(const uint8_t* d, size_t n, std::string* type) {
  if (IsGif(d, n)) return *type = "GIF", AV_CODEC_ID_GIF;
  if (IsBmp(d, n)) return *type = "BMP", AV_CODEC_ID_BMP;
  if (IsWebp(d, n)) return *type = "WebP", AV_CODEC_ID_WEBP;
  return AV_CODEC_ID_NONE;
}

// --- EXIF -------------------------------------------------------------------------------

std::string ExifText(ExifData* ed, ExifTag tag) {
  ExifEntry* e = exif_data_get_entry(ed, tag);
  if (!e) return "";
  char buf[256];
  exif_entry_get_value(e, buf, sizeof buf);
  std::string s(buf, strnlen(buf, sizeof buf));
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  return s;
}

// "2023:07:14 18:02:33" -> "2023-07-14T18:02:33"; anything else -> "".
std::string IsoDate(const std::string& s) {
  if (s.size() != 19 || s[4] != ':' || s[7] != ':' || s[10] != ' ' || s[13] != ':' || s[16] != ':') return "";
  std::string out = s;
  out[4] = out[7] = '-';
  out[10] = 'T';
  for (size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u, 11u, 12u, 14u, 15u, 17u, 18u})
    if (out[i] < '0' || out[i] > '9') return "";
  return out;
}

void ReadExif(const uint8_t* data, size_t size, PictureInfo* info) {
  std::unique_ptr<ExifData, void (*)(ExifData*)> ed(exif_data_new_from_data(data, static_cast<unsigned>(size)),
                                                    exif_data_unref);
  if (!ed) return;
  info->make = ExifText(ed.get(), EXIF_TAG_MAKE);
  info->model = ExifText(ed.get(), EXIF_TAG_MODEL);
  std::string date = IsoDate(ExifText(ed.get(), EXIF_TAG_DATE_TIME_ORIGINAL));
  if (date.empty()) date = IsoDate(ExifText(ed.get(), EXIF_TAG_DATE_TIME));
  info->date = date;
  if (ExifEntry* e = exif_data_get_entry(ed.get(), EXIF_TAG_ORIENTATION);
      e && e->format == EXIF_FORMAT_SHORT && e->components >= 1 && e->size >= 2) {
    const int32_t o = exif_get_short(e->data, exif_data_get_byte_order(ed.get()));
    if (o >= 1 && o <= 8) info->orientation = o;
  }
}

// --- JPEG -------------------------------------------------------------------------------

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegExit(j_common_ptr c) {
  auto* e = reinterpret_cast<JpegError*>(c->err);
  c->err->format_message(c, e->message);
  std::longjmp(e->jump, 1);
}

// Warnings pass, but data that ends early is a broken file, not a grey picture.
void JpegMessage(j_common_ptr c, int level) {
  if (level < 0 && c->err->msg_code == JWRN_JPEG_EOF) JpegExit(c);
}

// One decode; the jmp_buf lives in a function without objects that need destructors.
bool JpegRun(jpeg_decompress_struct* cinfo, JpegError* jerr, const uint8_t* data, size_t size, int32_t boxW,
             int32_t boxH, int32_t orientation, bool headerOnly, int32_t* w, int32_t* h,
             std::vector<uint32_t>* pixels) {
  if (setjmp(jerr->jump)) return false;
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(cinfo, TRUE);
  *w = static_cast<int32_t>(cinfo->image_width);
  *h = static_cast<int32_t>(cinfo->image_height);
  if (headerOnly) return true;
  if (!SizeAllowed(*w, *h, nullptr)) return false;
  // The box as the stored picture stands.
  const bool swap = orientation >= 5;
  const int32_t needW = swap ? boxH : boxW, needH = swap ? boxW : boxH;
  cinfo->out_color_space = JCS_EXT_RGBA;
  // The size the picture is fitted to; the smallest DCT scale that still covers it.
  int64_t fitW = *w, fitH = *h;
  if (needW > 0 && needH > 0 && (fitW > needW || fitH > needH)) {
    fitW = needW, fitH = int64_t{*h} * needW / *w;
    if (fitH > needH) fitH = needH, fitW = int64_t{*w} * needH / *h;
  }
  cinfo->scale_num = 1;
  for (unsigned denom : {8u, 4u, 2u, 1u}) {
    cinfo->scale_denom = denom;
    jpeg_calc_output_dimensions(cinfo);
    if (int64_t{cinfo->output_width} >= fitW && int64_t{cinfo->output_height} >= fitH) break;
  }
  jpeg_start_decompress(cinfo);
  *w = static_cast<int32_t>(cinfo->output_width);
  *h = static_cast<int32_t>(cinfo->output_height);
  pixels->assign(static_cast<size_t>(*w) * static_cast<size_t>(*h), kOpaque);
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels->data() + size_t(cinfo->output_scanline) * size_t(*w));
    jpeg_read_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

bool JpegDecode(const uint8_t* data, size_t size, int32_t boxW, int32_t boxH, int32_t orientation, bool headerOnly,
                int32_t* w, int32_t* h, std::vector<uint32_t>* pixels, std::string* error) {
  jpeg_decompress_struct cinfo;
  JpegError jerr{};
  cinfo.err = jpeg_std_error(&jerr.mgr);
  jerr.mgr.error_exit = JpegExit;
  jerr.mgr.emit_message = JpegMessage;
  jpeg_create_decompress(&cinfo);
  const bool ok = JpegRun(&cinfo, &jerr, data, size, boxW, boxH, orientation, headerOnly, w, h, pixels);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) {
    pixels->clear();
    if (jerr.message[0]) return Fail(error, std::string("JPEG: ") + jerr.message);
    if (!SizeAllowed(*w, *h, error)) return false;
    return Fail(error, "JPEG: not decodable");
  }
  return true;
}

// --- PNG --------------------------------------------------------------------------------

bool PngDecode(const uint8_t* data, size_t size, bool headerOnly, int32_t* w, int32_t* h,
               std::vector<uint32_t>* pixels, std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) return Fail(error, std::string("PNG: ") + image.message);
  *w = static_cast<int32_t>(image.width);
  *h = static_cast<int32_t>(image.height);
  if (headerOnly) {
    png_image_free(&image);
    return true;
  }
  if (!SizeAllowed(*w, *h, error)) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint32_t> rgba(static_cast<size_t>(*w) * static_cast<size_t>(*h));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
    const std::string why = image.message;
    png_image_free(&image);
    return Fail(error, "PNG: " + why);
  }
  // Transparent parts over black, opaque result.
  for (uint32_t& p : rgba) {
    const uint32_t a = p >> 24;
    if (a == 255) continue;
    const uint32_t r = (p & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, b = ((p >> 16) & 0xFF) * a / 255;
    p = dfb::PackPixel(r, g, b, 255);
  }
  *pixels = std::move(rgba);
  return true;
}

// The stored picture turned the way EXIF orientation `o` says it stands.
Image Upright(Image in, int32_t o) {
  if (o <= 1 || o > 8) return in;
  // Mirrored orientations (2, 4, 5, 7): flip horizontally first, then turn.
  if (o == 2 || o == 4 || o == 5 || o == 7) {
    for (int32_t y = 0; y < in.height; ++y)
      std::reverse(in.pixels.begin() + y * in.width, in.pixels.begin() + (y + 1) * in.width);
  }
  switch (o) {
    case 3: case 4: return Rotate(in, 180);
    case 5: case 6: return Rotate(in, 90);
    case 7: case 8: return Rotate(in, 270);
    default: return in;
  }
}

}  // namespace

bool ReadFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out, std::string* error) {
  out->clear();
  // Opened without waiting: a named pipe or a device at a picture's or a
  // cover's name on a stick would otherwise hold the worker for ever. Only a
  // regular file is read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Fail(error, "cannot open");
  struct stat st{};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return Fail(error, "not a regular file");
  }
  if (static_cast<uint64_t>(st.st_size) > maxBytes) {
    ::close(fd);
    return Fail(error, "file of " + std::to_string(st.st_size) + " bytes is too large");
  }
  out->resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  while (done < out->size()) {
    const ssize_t n = ::read(fd, out->data() + done, out->size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  if (done != out->size()) {
    out->clear();
    return Fail(error, "cannot read");
  }
  return true;
}

bool IsRegularFile(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReadPictureInfo(const uint8_t* data, size_t size, PictureInfo* info, std::string* error) {
  *info = PictureInfo{};
  std::vector<uint32_t> none;
  if (IsJpeg(data, size)) {
    info->type = "JPEG";
    if (!JpegDecode(data, size, 0, 0, 1, true, &info->width, &info->height, &none, error)) return false;
    ReadExif(data, size, info);
  } else if (IsPng(data, size)) {
    info->type = "PNG";
    if (!PngDecode(data, size, true, &info->width, &info->height, &none, error)) return false;
  } else if (const AVCodecID id = OtherPicture(data, size, &info->type); id != AV_CODEC_ID_NONE) {
    if (!AvDecode(data, size, id, &info->width, &info->height, &none, error)) return false;
  } else {
    return Fail(error, "not a JPEG, PNG, GIF, BMP or WebP picture");
  }
  return SizeAllowed(info->width, info->height, error);
}

bool DecodePicture(const uint8_t* data, size_t size, int32_t boxW, int32_t boxH, Image* out, PictureInfo* info,
                   std::string* error) {
  *out = Image{};
  if (!ReadPictureInfo(data, size, info, error)) return false;
  Image img;
  std::string type;
  const AVCodecID other = OtherPicture(data, size, &type);
  const bool ok = info->type == "JPEG"
                      ? JpegDecode(data, size, boxW, boxH, info->orientation, false, &img.width, &img.height,
                                   &img.pixels, error)
                  : other != AV_CODEC_ID_NONE ? AvDecode(data, size, other, &img.width, &img.height, &img.pixels, error)
                                              : PngDecode(data, size, false, &img.width, &img.height, &img.pixels, error);
  if (!ok) return false;
  *out = Fit(Upright(std::move(img), info->orientation), boxW, boxH);
  return true;
}

Image Rotate(const Image& in, int32_t angle) {
  angle = ((angle % 360) + 360) % 360;
  if (angle == 0 || in.Empty()) return in;
  Image out;
  const bool swap = angle != 180;
  out.width = swap ? in.height : in.width;
  out.height = swap ? in.width : in.height;
  out.pixels.resize(in.pixels.size());
  for (int32_t y = 0; y < in.height; ++y) {
    for (int32_t x = 0; x < in.width; ++x) {
      int32_t nx = x, ny = y;
      if (angle == 90) nx = in.height - 1 - y, ny = x;
      else if (angle == 180) nx = in.width - 1 - x, ny = in.height - 1 - y;
      else nx = y, ny = in.width - 1 - x;
      out.pixels[size_t(ny) * size_t(out.width) + size_t(nx)] = in.pixels[size_t(y) * size_t(in.width) + size_t(x)];
    }
  }
  return out;
}

Image Fit(const Image& in, int32_t boxW, int32_t boxH) {
  if (in.Empty() || boxW <= 0 || boxH <= 0 || (in.width <= boxW && in.height <= boxH)) return in;
  // The largest size of the same proportions inside the box, at least 1 x 1.
  int32_t w = boxW, h = static_cast<int32_t>(int64_t{in.height} * boxW / in.width);
  if (h > boxH) h = boxH, w = static_cast<int32_t>(int64_t{in.width} * boxH / in.height);
  w = std::max(w, 1);
  h = std::max(h, 1);
  Image out;
  out.width = w;
  out.height = h;
  out.pixels.resize(size_t(w) * size_t(h));
  // Area average: each target pixel the mean of the source pixels it covers.
  for (int32_t ty = 0; ty < h; ++ty) {
    const int32_t y0 = static_cast<int32_t>(int64_t{ty} * in.height / h);
    const int32_t y1 = std::max(y0 + 1, static_cast<int32_t>(int64_t{ty + 1} * in.height / h));
    for (int32_t tx = 0; tx < w; ++tx) {
      const int32_t x0 = static_cast<int32_t>(int64_t{tx} * in.width / w);
      const int32_t x1 = std::max(x0 + 1, static_cast<int32_t>(int64_t{tx + 1} * in.width / w));
      uint64_t r = 0, g = 0, b = 0;
      for (int32_t y = y0; y < y1; ++y) {
        const uint32_t* row = in.pixels.data() + size_t(y) * size_t(in.width);
        for (int32_t x = x0; x < x1; ++x) {
          r += row[x] & 0xFF;
          g += (row[x] >> 8) & 0xFF;
          b += (row[x] >> 16) & 0xFF;
        }
      }
      const uint64_t n = uint64_t(x1 - x0) * uint64_t(y1 - y0);
      out.pixels[size_t(ty) * size_t(w) + size_t(tx)] =
          dfb::PackPixel(uint32_t(r / n), uint32_t(g / n), uint32_t(b / n), 255);
    }
  }
  return out;
}

void DrawCentred(const Image& in, dfb::Surface* surface) {
  if (!surface) return;
  if (in.Empty()) {
    surface->Clear(kOpaque);
    return;
  }
  // A picture already made to fit (the service's worker does it for the
  // screen-sized canvases) is copied as it is.
  const bool fits = in.width <= surface->Width() && in.height <= surface->Height();
  Image scaled;
  if (!fits) scaled = Fit(in, surface->Width(), surface->Height());
  const Image& fitted = fits ? in : scaled;
  const int32_t ox = (surface->Width() - fitted.width) / 2, oy = (surface->Height() - fitted.height) / 2;
  // Black bars around the picture; the picture's own rows are copied over once.
  uint32_t* pixels = surface->Pixels();
  const size_t stride = size_t(surface->Stride());
  for (int32_t y = 0; y < surface->Height(); ++y) {
    uint32_t* row = pixels + size_t(y) * stride;
    if (y < oy || y >= oy + fitted.height) {
      std::fill(row, row + surface->Width(), kOpaque);
      continue;
    }
    std::fill(row, row + ox, kOpaque);
    std::memcpy(row + ox, fitted.pixels.data() + size_t(y - oy) * size_t(fitted.width),
                size_t(fitted.width) * sizeof(uint32_t));
    std::fill(row + ox + fitted.width, row + surface->Width(), kOpaque);
  }
}

}  // namespace psl
