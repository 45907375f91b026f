// The chain of focus from the screen that holds the keys down to the view
// that has them.
#pragma once

#include <vector>

namespace Core {

class Root;
class View;

// The focused view of the modal group (or of the root when no group is
// modal), then its focused view, and so on down to the innermost one.
// Empty when nothing has the focus.
std::vector<View*> FocusPath(Root& root);

}  // namespace Core
