#include "core_test_support.h"

namespace coretest {

KV_REGISTER_CLASS(coretest::FillView);
KV_REGISTER_CLASS(coretest::KeyCtrl);
KV_REGISTER_CLASS(coretest::KeyForm);
KV_REGISTER_CLASS(coretest::TestRoot);

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

void FillView::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  (void)origin;
  const uint32_t a = ge::Mul8(color >> 24, static_cast<uint32_t>(opacity));
  ge::GenBlendRect(target, Core::ToGeRect(clip), Core::ToGeRect(clip), (color & 0x00ffffffu) | (a << 24));
  drawn += int64_t{clip.W()} * clip.H();
}

static Core::KeyEvent* AsKey(Core::Event* e) { return kv::Cast<Core::KeyEvent>(e); }

kv::Object* KeyCtrl::HandleEvent(Core::Event* event) {
  Core::KeyEvent* k = AsKey(event);
  if (!k) return nullptr;
  Log().push_back(name);
  if (action) action(this, k);
  return (eats != 0 && k->Code == eats) ? this : nullptr;
}

void KeyCtrl::HandleFocus(bool focused) {
  Forms::Ctrl::HandleFocus(focused);
  (focused ? gained : lost)++;
}

kv::Object* KeyForm::HandleEvent(Core::Event* event) {
  Core::KeyEvent* k = AsKey(event);
  if (!k) return nullptr;
  Log().push_back(name);
  if (navigate) {
    switch (k->Code) {
      case 1: SelectNext(); return this;
      case 4: SelectUpper(); return this;
      case 5: SelectLower(); return this;
      case 6: SelectLeft(); return this;
      case 7: SelectRight(); return this;
      default: break;
    }
  }
  return eatAll ? this : nullptr;
}

kv::Object* TestRoot::PreDispatch(Core::Event* event) {
  Core::KeyEvent* k = AsKey(event);
  if (k && k->Code == keys::KEY_POWER) {
    Log().push_back("standby");
    return this;
  }
  return nullptr;
}

kv::Object* TestRoot::HandleEvent(Core::Event* event) {
  if (AsKey(event)) Log().push_back("root");
  return nullptr;
}

void ViewTest::SetUp() {
  RuntimeTest::SetUp();
  Log().clear();
  root = kv::New<TestRoot>();
  root->AttachSurface(osd.View());
  root->SetFlipCallback([this](const kv::Rect* r, int n) { flipped.assign(r, r + n); });
  root->Install();
  driver.Pass();
  flipped.clear();
}

void ViewTest::TearDown() {
  root = nullptr;
  RuntimeTest::TearDown();
}

kv::Object* ViewTest::Press(uint16_t code) {
  auto* key = kv::New<Core::KeyEvent>();
  key->Initialize(code, 1);
  kv::Object* answer = root->DispatchEvent(key);
  driver.Pass();
  return answer;
}

KeyCtrl* ViewTest::NewCtrl(Core::Group* owner, const char* name, kv::Rect bounds) {
  auto* c = kv::New<KeyCtrl>();
  c->name = name;
  c->OnSetBounds(bounds);
  owner->Add(c);
  return c;
}

KeyForm* ViewTest::NewForm(Core::Group* owner, const char* name, kv::Rect bounds) {
  auto* f = kv::New<KeyForm>();
  f->name = name;
  f->OnSetBounds(bounds);
  owner->Add(f);
  return f;
}

}  // namespace coretest
