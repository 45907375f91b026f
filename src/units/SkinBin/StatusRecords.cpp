#include "units/SkinBin/StatusRecords.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::CurrentChannelInfo);
KV_REGISTER_CLASS(SkinBin::CurrentAudioServiceInfo);
KV_REGISTER_CLASS(SkinBin::TimeshiftStatus);
KV_REGISTER_CLASS(SkinBin::USBDiskStatus);
KV_REGISTER_CLASS(SkinBin::ModelInfo);

}  // namespace SkinBin
