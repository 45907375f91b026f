// Bitmaps of the photo viewer and its dialogs, in the shared look.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/PhotoViewerBitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

constexpr kv::Color kWhite{240, 242, 246, 255};
constexpr kv::Color kWhiteShade{200, 206, 216, 255};

// A folder: its tab over the left half, the body below.
void WhiteFolder(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const int32_t w = s.width, h = s.height;
  RoundRect(s, {w / 10, h / 5, w / 2, h / 3}, 2.0f, kWhite, kWhiteShade);
  RoundRect(s, {w / 10, h / 3 - 1, w - w / 10, h - h / 8}, 2.0f, kWhite, kWhiteShade);
}

}  // namespace

KV_BITMAP(MediaPlayer, MediaPlayerListFolderWhite, WhiteFolder, 22, 18, 1);
