#include "units/Update/Placement.h"

#include "units/Core/View.h"
#include "units/Wrapper/Wrapper.h"

namespace Update {

namespace {
constexpr int32_t kScreenWidth = 960;
constexpr int32_t kScreenHeight = 540;
}  // namespace

kv::Point CentreOnScreen(int32_t width, int32_t height) {
  return Wrapper::Wrapper::GetCenterPosition(kScreenWidth, kScreenHeight, width, height);
}

void CentreOver(Core::View* view, const kv::Rect& area) {
  const kv::Rect b = view->Bounds();
  const int32_t x = area.x1 + (area.W() - b.W()) / 2;
  const int32_t y = area.y1 + (area.H() - b.H()) / 2;
  view->OnSetBounds({x, y, x + b.W(), y + b.H()});
}

}  // namespace Update
