#include "units/MediaPlayer/SelectedParam.h"

KV_REGISTER_CLASS(MediaPlayer::SelectedParam);
