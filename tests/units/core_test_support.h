// Test views and a fixture for the view framework: a root on a 960 x 540
// OSD bitmap, installed as the redraw of each pass, keys sent through the
// root's dispatch followed by a pass of the loop.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ge/fill.h"
#include "ge/surface.h"
#include "support/kv_test.h"
#include "runtime/member.h"
#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/Forms/Ctrl.h"
#include "units/Forms/Form.h"

namespace coretest {

// Names of the handlers in the order they ran.
std::vector<std::string>& Log();

// Fills its rectangle with one colour (blended) and counts the pixels drawn.
class FillView : public Core::View {
  KV_CLASS(coretest, FillView, Core::View)
 public:
  void SetColor(uint32_t c) {
    color = c;
    InvalidateView();
  }
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  uint32_t color = 0xff0000ffu;  // straight, red in the low byte
  int64_t drawn = 0;
};

// A control that logs the keys offered to it and consumes those in `eats`.
class KeyCtrl : public Forms::Ctrl {
  KV_CLASS(coretest, KeyCtrl, Forms::Ctrl)
 public:
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  std::string name;
  uint16_t eats = 0;      // 0: eats nothing
  std::function<void(KeyCtrl*, Core::KeyEvent*)> action;  // runs when a key is offered
  int gained = 0, lost = 0;
};

// A form that logs keys, eats every key when `eatAll` is set, and moves the
// focus with the arrow keys (4 up, 5 down, 6 left, 7 right) and OK (1: next).
class KeyForm : public Forms::Form {
  KV_CLASS(coretest, KeyForm, Forms::Form)
 public:
  kv::Object* HandleEvent(Core::Event* event) override;
  std::string name;
  bool eatAll = false;
  bool navigate = false;
};

// A root that logs keys and turns the power key into a "standby" entry.
class TestRoot : public Core::Root {
  KV_CLASS(coretest, TestRoot, Core::Root)
 public:
  kv::Object* PreDispatch(Core::Event* event) override;
  kv::Object* HandleEvent(Core::Event* event) override;
};

class ViewTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Dispatches a key press to the root, then runs one pass.
  kv::Object* Press(uint16_t code);
  uint32_t Pixel(int32_t x, int32_t y) const { return osd.View().Row(y)[x]; }
  KeyCtrl* NewCtrl(Core::Group* owner, const char* name, kv::Rect bounds);
  KeyForm* NewForm(Core::Group* owner, const char* name, kv::Rect bounds);

  ge::Bitmap osd{Core::Root::kWidth, Core::Root::kHeight};
  kv::Persistent<TestRoot> root;
  std::vector<kv::Rect> flipped;
};

}  // namespace coretest
