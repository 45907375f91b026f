#include "units/Structures/RefHolders.h"

namespace Structures {

KV_REGISTER_CLASS(Structures::RefInt);
KV_REGISTER_CLASS(Structures::RefString);
KV_REGISTER_CLASS(Structures::RefBool);

}  // namespace Structures
