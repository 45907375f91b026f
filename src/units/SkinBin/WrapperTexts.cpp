// The skin Wrapper's texts of the picture and the programme ratings, and the
// current audio service as the banners see it.
//
// US rating word: bits 4 to 7 the TV rating (1 TV-Y to 6 TV-MA), bits 0 to 3
// the movie rating (1 G to 6 X), bits 8 to 12 the content descriptors FV, D,
// L, S and V. Rating indexes: 0 to 5 the TV ratings, 7 to 12 the movie
// ratings, 15 none. Canadian rating codes 1 to 10 have the indexes 0 to 9
// and no display name.
#include <array>
#include <cstring>

#include "platform/xpm/xpm_settings.h"
#include "runtime/text.h"
#include "strings/SkinBinWrapper.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VideoContentInfo.h"

namespace SkinBin {

namespace {

constexpr int32_t kNoRating = 15;

const std::array<const kv::TextId*, 13> kUsRatingNames = {
    &SkinBinWrapper::US_RATING_0, &SkinBinWrapper::US_RATING_1, &SkinBinWrapper::US_RATING_2,
    &SkinBinWrapper::US_RATING_3, &SkinBinWrapper::US_RATING_4, &SkinBinWrapper::US_RATING_5,
    nullptr,
    &SkinBinWrapper::US_RATING_7, &SkinBinWrapper::US_RATING_8, &SkinBinWrapper::US_RATING_9,
    &SkinBinWrapper::US_RATING_10, &SkinBinWrapper::US_RATING_11, &SkinBinWrapper::US_RATING_12};

const std::array<const kv::TextId*, 5> kUsContentKeys = {&SkinBinWrapper::US_CONTENT_FV, &SkinBinWrapper::US_CONTENT_D,
                                                          &SkinBinWrapper::US_CONTENT_L, &SkinBinWrapper::US_CONTENT_S,
                                                          &SkinBinWrapper::US_CONTENT_V};

kv::String WithScan(kv::TextId label, int32_t scanType) {
  return kv::ConcatString(kv::LoadString(label), kv::LoadString(scanType == 2 ? SkinBinWrapper::RES_PROGRESSIVE
                                                                              : SkinBinWrapper::RES_INTERLACED));
}

}  // namespace

kv::String Wrapper::GetResolutionString(Structures::VideoContentInfo* info) {
  if (!info) return {};
  const int32_t h = info->Height;
  if (h >= 480 && h <= 549) return WithScan(SkinBinWrapper::RES_480, info->ScanType);
  if (h >= 550 && h <= 599) return WithScan(SkinBinWrapper::RES_576, info->ScanType);
  if (h >= 1080 && h <= 1099) return WithScan(SkinBinWrapper::RES_1080, info->ScanType);
  if (h >= 720 && h <= 799) return kv::LoadString(SkinBinWrapper::RES_720);
  return {};
}

kv::String Wrapper::GetVGAInfo(Structures::VideoContentInfo* info) {
  if (!info || info->Width <= 0 || info->Height <= 0) return {};
  return kv::ConcatString(kv::ConcatString(kv::NewStringInt(info->Width, 0), kv::LoadString(SkinBinWrapper::VGA_SEPARATOR)),
                          kv::NewStringInt(info->Height, 0));
}

int32_t Wrapper::GetUsRatingIndex(int32_t code) {
  const int32_t movie = code & 15;
  if (movie != 0) return movie <= 6 ? movie + 6 : kNoRating;
  const int32_t tv = (code >> 4) & 15;
  return tv >= 1 && tv <= 6 ? tv - 1 : kNoRating;
}

kv::String Wrapper::GetUsRatingName(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(kUsRatingNames.size()) || !kUsRatingNames[static_cast<size_t>(index)])
    return {};
  return kv::LoadString(*kUsRatingNames[static_cast<size_t>(index)]);
}

bool Wrapper::GetUsTVContent(int32_t rating, const kv::String& key) {
  for (size_t i = 0; i < kUsContentKeys.size(); ++i)
    if (kv::LoadString(*kUsContentKeys[i]) == key) return (rating >> (8 + i)) & 1;
  return false;
}

int32_t Wrapper::GetCanRatingIndex(int32_t code) { return code >= 1 && code <= 10 ? code - 1 : 11; }

kv::String Wrapper::GetCanRatingName(int32_t /*index*/) { return {}; }

SkinBin::CurrentAudioServiceInfo* Wrapper::GetCurrentAudioServiceInfo(int32_t window) {
  auto* info = kv::New<CurrentAudioServiceInfo>();
  int32_t index = 0;
  XPM_AudioServiceInfo raw;
  std::memset(&raw, 0, sizeof raw);
  if (XPM_GetCurrentAudioService(window, &index) == 0 && XPM_GetAudioServiceInfo(window, index, &raw) == 0) {
    raw.language[sizeof raw.language - 1] = 0;
    info->Coding = raw.type;
    info->Language = kv::NewStringAnsi(raw.language);
  }
  const bool stereo = IsStereo_Present() != 0;
  const bool sap = IsSAP_Present() != 0;
  info->AudioMode = stereo ? (sap ? 3 : 2) : 1;
  return info;
}

}  // namespace SkinBin
