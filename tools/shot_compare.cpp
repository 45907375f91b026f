// Compares a scene's screenshots with the pictures pinned in the repository,
// pixel for pixel (tools/play_scene.sh runs it after each scene).
//
//   shot_compare png SHOTS_DIR REF_DIR CHANGED_DIR [--renew]
//     The reference of shot NAME is the picture REF_DIR/NAME.png (the
//     English gallery, docs/screens).
//   shot_compare digest SHOTS_DIR PIN_FILE SCENE LAST_DIR CHANGED_DIR [--renew STAGED_FILE]
//     The reference of shot NAME is the SHA-256 of its pixels on the line
//     "DIGEST SCENE NAME" of PIN_FILE (tests/scenes/pinned-spa.txt,
//     pinned-fre.txt). LAST_DIR keeps the last picture seen with the pinned
//     digest, from which a difference is drawn when the shot changes.
//   shot_compare merge PIN_FILE STAGED_DIR SCENES_DIR
//     Replaces the lines of every scene staged (STAGED_DIR/SCENE.txt) and
//     drops those of scenes that no longer exist.
//
// A shot that differs is written to CHANGED_DIR/NAME.png with a picture of
// the difference, CHANGED_DIR/NAME-diff.png (its changed pixels in red over
// a dimmed grey copy), and both paths are printed. Without --renew that is a
// failure (status 1); with it, the new picture becomes the reference and the
// two files stay for whoever renews to look at. Status 2: a file could not be
// read or written.
#include <png.h>

#include "png_read.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Picture = kvtest::PngImage;  // 4 bytes a pixel, RGBA

bool Read(const std::string& path, Picture* out) { return kvtest::ReadPng(path, out); }

bool Write(const std::string& path, const Picture& p) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = p.width;
  image.height = p.height;
  image.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&image, path.c_str(), 0, p.rgba.data(), 0, nullptr) != 0;
}

// SHA-256 (FIPS 180-4) of the picture's size and pixels, so that a
// picture's digest does not depend on how its PNG was compressed.
class Sha256 {
 public:
  void Add(const uint8_t* data, size_t n) {
    bits_ += uint64_t(n) * 8;
    while (n > 0) {
      const size_t take = std::min(n, size_t(64) - used_);
      std::copy(data, data + take, block_ + used_);
      used_ += take;
      data += take;
      n -= take;
      if (used_ == 64) Block();
    }
  }
  std::string Hex() {
    const uint64_t bits = bits_;
    const uint8_t one = 0x80, zero = 0;
    Add(&one, 1);
    while (used_ != 56) Add(&zero, 1);
    for (int i = 7; i >= 0; --i) {
      const uint8_t b = uint8_t(bits >> (i * 8));
      Add(&b, 1);
    }
    std::string out;
    char hex[9];
    for (uint32_t v : h_) {
      std::snprintf(hex, sizeof hex, "%08x", v);
      out += hex;
    }
    return out;
  }

 private:
  static uint32_t Rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }
  void Block() {
    static constexpr std::array<uint32_t, 64> k = {
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
        0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
        0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
        0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
        0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
        0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
        0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
        0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};
    uint32_t w[64];
    for (int i = 0; i < 16; ++i)
      w[i] = uint32_t(block_[i * 4]) << 24 | uint32_t(block_[i * 4 + 1]) << 16 | uint32_t(block_[i * 4 + 2]) << 8 |
             block_[i * 4 + 3];
    for (int i = 16; i < 64; ++i) {
      const uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
      const uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
      w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4], f = h_[5], g = h_[6], h = h_[7];
    for (int i = 0; i < 64; ++i) {
      const uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + k[i] + w[i];
      const uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
      h = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    h_[0] += a;
    h_[1] += b;
    h_[2] += c;
    h_[3] += d;
    h_[4] += e;
    h_[5] += f;
    h_[6] += g;
    h_[7] += h;
    used_ = 0;
  }
  std::array<uint32_t, 8> h_ = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  uint8_t block_[64] = {};
  size_t used_ = 0;
  uint64_t bits_ = 0;
};

std::string Digest(const Picture& p) {
  Sha256 sha;
  const std::string size = std::to_string(p.width) + "x" + std::to_string(p.height) + "\n";
  sha.Add(reinterpret_cast<const uint8_t*>(size.data()), size.size());
  // The colour of each pixel: a screenshot is opaque, its alpha always 255.
  std::vector<uint8_t> row(size_t(p.width) * 3);
  for (uint32_t y = 0; y < p.height; ++y) {
    const uint8_t* in = &p.rgba[size_t(y) * p.width * 4];
    for (uint32_t x = 0; x < p.width; ++x) std::copy(in + x * 4, in + x * 4 + 3, &row[size_t(x) * 3]);
    sha.Add(row.data(), row.size());
  }
  return sha.Hex();
}

// The changed pixels in red over a dimmed grey copy of the new picture, and
// a line that says how many changed and where.
std::string Difference(const Picture& old, const Picture& now, Picture* diff) {
  *diff = now;
  if (old.width != now.width || old.height != now.height)
    return "its size is " + std::to_string(now.width) + " x " + std::to_string(now.height) + ", the reference's " +
           std::to_string(old.width) + " x " + std::to_string(old.height);
  uint64_t changed = 0;
  uint32_t x0 = now.width, y0 = now.height, x1 = 0, y1 = 0;
  for (uint32_t y = 0; y < now.height; ++y) {
    for (uint32_t x = 0; x < now.width; ++x) {
      const size_t i = (size_t(y) * now.width + x) * 4;
      uint8_t* d = &diff->rgba[i];
      if (std::equal(&old.rgba[i], &old.rgba[i] + 4, &now.rgba[i])) {
        const uint8_t grey = uint8_t((now.rgba[i] + now.rgba[i + 1] + now.rgba[i + 2]) / 9);
        d[0] = d[1] = d[2] = grey;
      } else {
        d[0] = 255;
        d[1] = d[2] = 0;
        ++changed;
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
    }
  }
  return std::to_string(changed) + " pixels changed within (" + std::to_string(x0) + ", " + std::to_string(y0) +
         ")-(" + std::to_string(x1) + ", " + std::to_string(y1) + ")";
}

// The shots a run wrote, by name, in name order.
std::vector<std::string> Shots(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.path().extension() == ".png") names.push_back(e.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A shot that matches its reference leaves no changed picture behind from an
// earlier run.
void Unchanged(const std::string& name, const std::string& changedDir) {
  std::error_code ec;
  fs::remove(changedDir + "/" + name + ".png", ec);
  fs::remove(changedDir + "/" + name + "-diff.png", ec);
}

bool Copy(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::create_directories(fs::path(to).parent_path(), ec);
  return fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
}

// Writes the new picture and the difference into CHANGED_DIR and prints
// both paths; `old` is null when there is no earlier picture to draw it from.
bool Changed(const std::string& name, const std::string& shot, const Picture* old, const Picture& now,
             const std::string& changedDir, const std::string& why) {
  std::error_code ec;
  fs::create_directories(changedDir, ec);
  const std::string copy = changedDir + "/" + name + ".png";
  if (!Copy(shot, copy)) {
    std::printf("shot %s: %s could not be written\n", name.c_str(), copy.c_str());
    return false;
  }
  if (!old) {
    fs::remove(changedDir + "/" + name + "-diff.png", ec);
    std::printf("shot %s differs from its reference (%s)\n  new picture: %s\n", name.c_str(), why.c_str(),
                copy.c_str());
    return true;
  }
  Picture diff;
  const std::string what = Difference(*old, now, &diff);
  const std::string diffPath = changedDir + "/" + name + "-diff.png";
  if (!Write(diffPath, diff)) {
    std::printf("shot %s: %s could not be written\n", name.c_str(), diffPath.c_str());
    return false;
  }
  std::printf("shot %s differs from its reference (%s): %s\n  new picture: %s\n  difference:  %s\n", name.c_str(),
              why.c_str(), what.c_str(), copy.c_str(), diffPath.c_str());
  return true;
}

int ComparePngs(const std::string& shotsDir, const std::string& refDir, const std::string& changedDir, bool renew) {
  int status = 0;
  for (const std::string& name : Shots(shotsDir)) {
    const std::string shot = shotsDir + "/" + name + ".png";
    const std::string ref = refDir + "/" + name + ".png";
    Picture now, old;
    if (!Read(shot, &now)) {
      std::printf("shot %s: %s cannot be read\n", name.c_str(), shot.c_str());
      return 2;
    }
    const bool haveOld = Read(ref, &old);
    if (haveOld && old.width == now.width && old.height == now.height && old.rgba == now.rgba) {
      Unchanged(name, changedDir);
      continue;
    }
    if (!Changed(name, shot, haveOld ? &old : nullptr, now, changedDir, haveOld ? ref : "none at " + ref)) return 2;
    if (renew) {
      if (!Copy(shot, ref)) return 2;
      std::printf("  renewed:     %s\n", ref.c_str());
    } else {
      status = 1;
    }
  }
  return status;
}

// The pinned lines "DIGEST SCENE SHOT" of a file.
struct Pin {
  std::string digest, scene, shot;
};
std::vector<Pin> ReadPins(const std::string& path) {
  std::vector<Pin> pins;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    Pin p;
    if (words >> p.digest >> p.scene >> p.shot) pins.push_back(p);
  }
  return pins;
}

int CompareDigests(const std::string& shotsDir, const std::string& pinFile, const std::string& scene,
                   const std::string& lastDir, const std::string& changedDir, const std::string& staged) {
  std::map<std::string, std::string> pinned;
  for (const Pin& p : ReadPins(pinFile))
    if (p.scene == scene) pinned[p.shot] = p.digest;
  const bool renew = !staged.empty();
  std::string lines;
  int status = 0;
  std::set<std::string> taken;
  for (const std::string& name : Shots(shotsDir)) {
    taken.insert(name);
    const std::string shot = shotsDir + "/" + name + ".png";
    Picture now;
    if (!Read(shot, &now)) {
      std::printf("shot %s: %s cannot be read\n", name.c_str(), shot.c_str());
      return 2;
    }
    const std::string digest = Digest(now);
    lines += digest + " " + scene + " " + name + "\n";
    const std::string last = lastDir + "/" + name + ".png";
    const auto pin = pinned.find(name);
    if (pin != pinned.end() && pin->second == digest) {
      if (!Copy(shot, last)) return 2;
      Unchanged(name, changedDir);
      continue;
    }
    // The last picture seen with the pinned digest, if this folder has it.
    Picture old;
    const bool haveOld = pin != pinned.end() && Read(last, &old) && Digest(old) == pin->second;
    const std::string why = pin == pinned.end() ? "none pinned in " + pinFile
                            : haveOld           ? "pinned in " + pinFile + ", last seen at " + last
                                      : "pinned in " + pinFile +
                                            "; no earlier picture with that digest in " + lastDir +
                                            " to draw the difference from";
    if (!Changed(name, shot, haveOld ? &old : nullptr, now, changedDir, why)) return 2;
    if (renew) {
      if (!Copy(shot, last)) return 2;
    } else {
      status = 1;
    }
  }
  for (const auto& [name, digest] : pinned) {
    if (taken.count(name)) continue;
    std::printf("shot %s is pinned in %s but the scene %s no longer takes it\n", name.c_str(), pinFile.c_str(),
                scene.c_str());
    if (!renew) status = 1;
  }
  if (renew) {
    std::error_code ec;
    fs::create_directories(fs::path(staged).parent_path(), ec);
    std::ofstream out(staged, std::ios::trunc);
    out << lines;
    if (!out.flush()) {
      std::printf("%s could not be written\n", staged.c_str());
      return 2;
    }
  }
  return status;
}

int Merge(const std::string& pinFile, const std::string& stagedDir, const std::string& scenesDir) {
  std::map<std::string, std::vector<Pin>> byScene;
  for (const Pin& p : ReadPins(pinFile)) byScene[p.scene].push_back(p);
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(stagedDir, ec)) {
    if (e.path().extension() != ".txt") continue;
    const std::string scene = e.path().stem().string();
    std::vector<Pin> fresh;
    for (const Pin& p : ReadPins(e.path().string()))
      if (p.scene == scene) fresh.push_back(p);
    byScene[scene] = fresh;
  }
  std::string text =
      "# The SHA-256 of each shot's pixels (width x height, then RGB rows), one\n"
      "# line a shot: DIGEST SCENE SHOT. Written by `make shots`; see docs/testing.md.\n";
  for (auto& [scene, pins] : byScene) {
    if (!fs::exists(scenesDir + "/" + scene + ".keys", ec)) continue;
    std::sort(pins.begin(), pins.end(), [](const Pin& a, const Pin& b) { return a.shot < b.shot; });
    for (const Pin& p : pins) text += p.digest + " " + p.scene + " " + p.shot + "\n";
  }
  std::ofstream out(pinFile, std::ios::trunc);
  out << text;
  return out.flush() ? 0 : 2;
}

int Usage() {
  std::fprintf(stderr,
               "usage: shot_compare png SHOTS_DIR REF_DIR CHANGED_DIR [--renew]\n"
               "       shot_compare digest SHOTS_DIR PIN_FILE SCENE LAST_DIR CHANGED_DIR [--renew STAGED_FILE]\n"
               "       shot_compare merge PIN_FILE STAGED_DIR SCENES_DIR\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> a(argv + 1, argv + argc);
  if (a.size() >= 4 && a[0] == "png" && (a.size() == 4 || (a.size() == 5 && a[4] == "--renew")))
    return ComparePngs(a[1], a[2], a[3], a.size() == 5);
  if (a.size() >= 6 && a[0] == "digest" && (a.size() == 6 || (a.size() == 8 && a[6] == "--renew")))
    return CompareDigests(a[1], a[2], a[3], a[4], a[5], a.size() == 8 ? a[7] : "");
  if (a.size() == 4 && a[0] == "merge") return Merge(a[1], a[2], a[3]);
  return Usage();
}
