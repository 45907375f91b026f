#include "runtime/object.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <unordered_map>

#include "runtime/collector.h"
#include "runtime/panic.h"
#include "runtime/runtime.h"

namespace kv {

namespace detail {

namespace {
thread_local ConstructFrame* t_frame = nullptr;

std::vector<const Class*>& Registry() {
  static std::vector<const Class*> r;
  return r;
}
std::unordered_map<std::string_view, const Class*>& RegistryByName() {
  static std::unordered_map<std::string_view, const Class*> r;
  return r;
}
std::vector<const LateClass*>& LateRegistry() {
  static std::vector<const LateClass*> r;
  return r;
}
}  // namespace

ConstructFrame* CurrentFrame() { return t_frame; }

void RegisterField(const void* field, FieldKind kind) {
  ConstructFrame* f = t_frame;
  if (!f || f->cls->fieldsRecorded) return;
  const char* p = static_cast<const char*>(field);
  if (p < f->base || p >= f->base + f->size) return;
  f->cls->fields.push_back({static_cast<uint32_t>(p - f->base), kind});
}

void* Allocate(size_t size) {
  AssertGuiThread();
  if (InSweep()) Panic("An object was created by a destructor");
  void* mem = std::malloc(size);
  if (!mem) Panic("Can not create an object. Out of memory");
#ifdef KV_VERIFY
  // The mark verifier scans object memory; stale bytes must not look like pointers.
  std::memset(mem, 0, size);
#endif
  return mem;
}

void BeginConstruct(ConstructFrame& frame, void* mem, size_t size, Class* cls) {
  frame.base = static_cast<char*>(mem);
  frame.size = size;
  frame.cls = cls;
  frame.prev = t_frame;
  t_frame = &frame;
}

void PopConstructFrame(ConstructFrame& frame) {
  t_frame = frame.prev;
  frame.done = true;
}

ConstructFrame::~ConstructFrame() {
  if (done || !base) return;
  t_frame = prev;
  std::free(base);
}

void RegisterClass(Class* cls) {
  auto& byName = RegistryByName();
  if (byName.count(cls->name)) return;
  byName.emplace(cls->name, cls);
  Registry().push_back(cls);
}

const LateClass& RegisterLateClass(const LateClass& lc) {
  LateRegistry().push_back(&lc);
  return lc;
}

}  // namespace detail

Class& Object::StaticClass() {
  static Class cls{"XObject", nullptr, nullptr, sizeof(Object), false, {}, true};
  return cls;
}

Object::Object() {
  // An object constructed inside the memory of a heap object under
  // construction is embedded in it.
  detail::ConstructFrame* f = detail::CurrentFrame();
  char* self = reinterpret_cast<char*>(this);
  if (f && self > f->base && self < f->base + f->size) {
    Object* outer = reinterpret_cast<Object*>(f->base);
    container_ = outer;
  }
}

Object::~Object() = default;

void Object::Mark(Marker&) {}

const Class* CastClass(const Class* cls, const Class* base) {
  if (!base) Panic("Invalid class (null)");
  return (cls && cls->Is(base)) ? cls : nullptr;
}

Object* CastObject(Object* obj, const Class* cls) {
  if (!cls) Panic("Invalid class (null)");
  if (!obj) return nullptr;
  return obj->KvClass()->Is(cls) ? obj : nullptr;
}

Object* NewObjectIndirect(const Class* cls, Object* arg) {
  if (!cls) Panic("Invalid class (null)");
  if (!cls->factory) Panic("Can not create an object of an abstract class");
  return cls->factory(arg);
}

const Class* FindClass(const char* name) {
  if (!name) return nullptr;
  auto& byName = detail::RegistryByName();
  auto it = byName.find(name);
  return it == byName.end() ? nullptr : it->second;
}

const std::vector<const Class*>& AllClasses() { return detail::Registry(); }

const Class* LateClass::Get() const { return FindClass(name_); }

const std::vector<const LateClass*>& AllLateClasses() { return detail::LateRegistry(); }

}  // namespace kv
