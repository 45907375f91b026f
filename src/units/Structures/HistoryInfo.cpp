#include "units/Structures/HistoryInfo.h"

KV_REGISTER_CLASS(Structures::HistorySourceInfo);
KV_REGISTER_CLASS(Structures::HistoryChannelInfo);
KV_REGISTER_CLASS(Structures::HistoryPhotoInfo);
KV_REGISTER_CLASS(Structures::HistoryMusicInfo);
KV_REGISTER_CLASS(Structures::HistoryCECInfo);
KV_REGISTER_CLASS(Structures::HistoryInfo);
