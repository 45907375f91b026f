#include "units/ListForm/ListCourier.h"

namespace ListForm {

KV_REGISTER_CLASS(ListForm::ListCourier);
KV_REGISTER_CLASS(ListForm::SystemInfoCourier);

}  // namespace ListForm
