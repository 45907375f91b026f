// Choice lists that several option records share (captions of the
// OptionDatabase string table).
#pragma once

#include "strings/OptionDatabase.h"
#include "units/OptionDatabase/OptionEntry.h"

namespace OptionDatabase {

inline constexpr ChoiceDef kOffOn[] = {{&C_OFF, 0}, {&C_ON, 1}};
inline constexpr ChoiceDef kYesNo[] = {{&C_YES, 0}, {&C_NO, 1}};
inline constexpr ChoiceDef kNoYes[] = {{&C_NO, 0}, {&C_YES, 1}};
inline constexpr ChoiceDef kOffLowMediumHigh[] = {{&C_OFF, 0}, {&C_LOW, 1}, {&C_MEDIUM, 2}, {&C_HIGH, 3}};
inline constexpr ChoiceDef kLowMediumHigh[] = {{&C_LOW, 0}, {&C_MEDIUM, 1}, {&C_HIGH, 2}};
inline constexpr ChoiceDef kMonoStereoSap[] = {{&C_MONO, 0}, {&C_STEREO, 1}, {&C_SAP, 2}};
inline constexpr ChoiceDef kSpdifFormats[] = {{&C_PCM, 0}, {&C_BITSTREAM, 1}, {&C_AUTO, 2}};
inline constexpr ChoiceDef kSpeakerChoices[] = {{&C_TV_SPEAKERS, 0}, {&C_AUDIO_SYSTEM, 1}};
inline constexpr ChoiceDef kAntennaCable[] = {{&C_ANTENNA, 0}, {&C_CABLE, 1}};

}  // namespace OptionDatabase
