#include "units/SkinBin/ClosedCaptionService.h"

KV_REGISTER_CLASS(SkinBin::ClosedCaptionService);
