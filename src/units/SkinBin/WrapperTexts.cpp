// SkinBin::Wrapper: the texts the banners and lists show for channel
// numbers, acquisition failures, the picture's resolution and PC timing and
// the programme's ratings, and the current audio service.
#include <cstring>
#include <string>

#include "platform/xpm/xpm_audio_service.h"
#include "runtime/text.h"
#include "strings/SkinBinWrapper.h"
#include "strings/Strings.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VideoContentInfo.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {

using namespace ::SkinBinWrapper;

namespace {

kv::String Join(const kv::String& a, const kv::String& b) { return kv::ConcatString(a, b); }

// Frame-rate codes of the middleware's video record, as shown in hertz.
kv::String FrameRateText(int32_t code) {
  static constexpr const char* kRates[] = {"", "23.98", "24", "25", "29.97", "30", "50", "59.94", "60"};
  if (code < 1 || code >= static_cast<int32_t>(std::size(kRates))) return {};
  return kv::String::FromUtf8(kRates[code]);
}

constexpr const kv::MultiTextId* kUsNames[] = {&RATING_US_0,  &RATING_US_1,  &RATING_US_2,  &RATING_US_3,
                                               &RATING_US_4,  &RATING_US_5,  &RATING_US_6,  &RATING_US_7,
                                               &RATING_US_8,  &RATING_US_9,  &RATING_US_10, &RATING_US_11,
                                               &RATING_US_12, &RATING_US_13};
constexpr kv::TextId kCanNames[] = {RATING_CAN_0, RATING_CAN_1, RATING_CAN_2, RATING_CAN_3,
                                    RATING_CAN_4, RATING_CAN_5, RATING_CAN_6, RATING_CAN_7,
                                    RATING_CAN_8, RATING_CAN_9, RATING_CAN_10};

}  // namespace

kv::String Wrapper::GetChannelNumberStr(bool digital, int32_t major, int32_t minor) {
  if (major == -2) return kv::LoadString(SID_NO_CHANNEL);
  static kv::NumberTexts made;
  return made.Get(major, minor, digital ? 1 : 0, kv::String(), [&] {
    // The text is put together in place: one string made, none per part.
    char16_t digits[kv::kMaxDecimalLength];
    std::u16string text(digits, static_cast<size_t>(kv::WriteDecimal(major, 0, digits)));
    if (minor >= 1 || (digital && minor == 0)) {
      text += kv::LoadString(CHANNEL_SEPARATOR).View();
      text.append(digits, static_cast<size_t>(kv::WriteDecimal(minor, 0, digits)));
    }
    return kv::String::FromUtf16(text);
  });
}

kv::String Wrapper::GetFailReasonString(int32_t status) {
  switch (status) {
    case 1: case 17: return kv::GetVariantOfString(Strings::SID_NO_SIGNAL_MSG);
    case 2: case 6: case 7: return kv::GetVariantOfString(Strings::SID_NO_CHANNELS_WARNING);
    case 3: return kv::GetVariantOfString(Strings::SID_NO_VIDEO);
    case 4: return kv::GetVariantOfString(Strings::SID_CH_BLOCKED);
    case 5: case 20: return kv::GetVariantOfString(Strings::SID_RATING_OSD_MESG);
    case 18: case 19: return kv::GetVariantOfString(Strings::SID_UNSUPPORTED_VIDEO_SIGNAL);
    case 23: return kv::GetVariantOfString(Strings::SID_INPUT_LOCK);
    case 48: return kv::GetVariantOfString(Strings::SID_RE_TUNE);
    default: return {};
  }
}

kv::String Wrapper::GetResolutionString(Structures::VideoContentInfo* info) {
  if (!info) return {};
  const int32_t h = info->Height;
  if (h >= 720 && h <= 799) return kv::LoadString(RES_LABEL_720);
  kv::TextId label;
  if (h >= 480 && h <= 549) label = RES_LABEL_480;
  else if (h >= 550 && h <= 599) label = RES_LABEL_576;
  else if (h >= 1080 && h <= 1099) label = RES_LABEL_1080;
  else return {};
  return Join(kv::LoadString(label),
              kv::LoadString(info->ScanType == 2 ? RES_SUFFIX_PROGRESSIVE : RES_SUFFIX_INTERLACED));
}

// "1024x768 60Hz": the timing's size and its frame rate; the size alone
// when the rate code is unknown.
kv::String Wrapper::GetVGAInfo(Structures::VideoContentInfo* info) {
  if (!info || info->Width <= 0 || info->Height <= 0) return {};
  kv::String text = Join(Join(kv::NewStringInt(info->Width, 0), kv::LoadString(PC_TIMING_BY)),
                         kv::NewStringInt(info->Height, 0));
  const kv::String rate = FrameRateText(info->FrameRate);
  if (rate.Empty()) return text;
  return Join(Join(Join(text, kv::String::FromUtf8(" ")), rate), kv::LoadString(PC_TIMING_HZ));
}

int32_t Wrapper::GetUsRatingIndex(int32_t code) {
  const auto word = static_cast<uint32_t>(code);
  const uint32_t tv = word >> US_RATING_TV_SHIFT;
  const uint32_t movie = word & US_RATING_MOVIE_MASK;
  if (tv >= 1 && tv <= 7) return static_cast<int32_t>(tv) - 1;
  if (tv == 0 && movie >= 1 && movie <= 7) return static_cast<int32_t>(movie) + 6;
  return US_RATING_NOT_FOUND;
}

kv::String Wrapper::GetUsRatingName(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(std::size(kUsNames))) return {};
  return kv::GetVariantOfString(*kUsNames[index]);
}

bool Wrapper::GetUsTVContent(int32_t rating, const kv::String& key) {
  static constexpr struct {
    kv::TextId key;
    uint32_t bit;
  } kDescriptors[] = {{RATING_KEY_FV, 0x1000000}, {RATING_KEY_D, 0x10}, {RATING_KEY_L, 0x100},
                      {RATING_KEY_S, 0x1000},     {RATING_KEY_V, 0x10000}};
  for (const auto& d : kDescriptors)
    if (kv::CompString(key, kv::LoadString(d.key)) == 0) return (static_cast<uint32_t>(rating) & d.bit) != 0;
  return false;
}

int32_t Wrapper::GetCanRatingIndex(int32_t code) {
  const int32_t level = code & CAN_RATING_LEVEL_MASK;
  if ((code & ~(CAN_RATING_LEVEL_MASK | CAN_RATING_FRENCH)) != 0) return CAN_RATING_NOT_FOUND;
  if (code & CAN_RATING_FRENCH) return level >= 1 && level <= 5 ? level + 5 : CAN_RATING_NOT_FOUND;
  return level >= 1 && level <= 6 ? level - 1 : CAN_RATING_NOT_FOUND;
}

kv::String Wrapper::GetCanRatingName(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(std::size(kCanNames))) return {};
  return kv::LoadString(kCanNames[index]);
}

SkinBin::CurrentAudioServiceInfo* Wrapper::GetCurrentAudioServiceInfo(int32_t window) {
  auto* record = kv::New<SkinBin::CurrentAudioServiceInfo>();
  XPM_CurrentAudioServiceInfo answer;
  std::memset(&answer, 0, sizeof answer);
  if (XPM_CALL(XPM_GetCurrentAudioServiceInfo, window, &answer) != XPM_OK) return record;
  record->Coding = answer.coding;
  record->AudioMode = answer.audioMode;
  answer.language[sizeof answer.language - 1] = 0;
  record->Language = kv::String::FromUtf8(answer.language);
  return record;
}

}  // namespace SkinBin
