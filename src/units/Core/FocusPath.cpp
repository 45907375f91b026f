#include "units/Core/FocusPath.h"

#include "units/Core/Group.h"
#include "units/Core/Root.h"
#include "runtime/object.h"

namespace Core {

std::vector<View*> FocusPath(Root& root) {
  std::vector<View*> path;
  Group* group = root.GetModalGroup();
  if (!group) group = &root;
  while (group) {
    View* next = group->OnGetFocus();
    if (!next) break;
    path.push_back(next);
    group = kv::Cast<Group>(next);
  }
  return path;
}

}  // namespace Core
