// Objects and class descriptors of the GUI runtime.
//
// Every GUI object derives from kv::Object and names its class with KV_CLASS.
// Objects are made by kv::New<T>() or kv::NewObjectIndirect(), or embedded by
// value in another GUI object; they are freed by the collector (collector.h).
// The locations of object-valued fields (kv::Member, kv::MemberVector,
// kv::Slot, kv::Ref) are recorded the first time a class is constructed, so
// marking needs no hand-written code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

namespace kv {

class Object;
class Marker;

enum class FieldKind : uint8_t {
  kObject,    // an Object* stored at the offset (Member, Slot, Ref)
  kVector,    // a std::vector<Object*> stored at the offset (MemberVector)
  kEmbedded,  // an embedded object whose class overrides Object::Mark
};

struct FieldInfo {
  uint32_t offset;
  FieldKind kind;
};

using Factory = Object* (*)(Object* arg);

// The class descriptor: name "Unit::Class", ancestor, factory and field table.
struct Class {
  const char* name;
  const Class* ancestor;
  Factory factory;      // null for abstract classes
  uint32_t size;
  bool customMark;      // the class (or an ancestor) overrides Object::Mark
  std::vector<FieldInfo> fields;  // recorded on the first construction
  bool fieldsRecorded = false;

  // True when this class is `base` or derives from it.
  bool Is(const Class* base) const {
    for (const Class* c = this; c; c = c->ancestor)
      if (c == base) return true;
    return false;
  }
};

namespace detail {
// Marks the construction of a heap object so that fields and embedded objects
// constructed inside it can find their container.
struct ConstructFrame {
  char* base = nullptr;
  size_t size = 0;
  Class* cls = nullptr;
  ConstructFrame* prev = nullptr;
  bool done = false;
  bool recording = false;           // this construction fills or checks the field table
  std::vector<FieldInfo> fields;    // fields met in this construction
  std::vector<uint32_t> embedded;   // offsets of the embedded objects met
  ConstructFrame() = default;
  ConstructFrame(const ConstructFrame&) = delete;
  ConstructFrame& operator=(const ConstructFrame&) = delete;
  // A constructor that did not finish (a test's panic handler threw) leaves
  // no stale frame and no memory behind.
  ~ConstructFrame();
};
ConstructFrame* CurrentFrame();
// Records a field constructed inside an object under construction. In test
// builds a field constructed in heap memory outside every object under
// construction is a panic naming `what` (the field's type) and the class.
void RegisterField(const void* field, FieldKind kind, const char* what = nullptr);
// The name of a type for messages, without needing the type to be complete.
template <class T>
const char* TypeName() {
  return __PRETTY_FUNCTION__;
}
void* Allocate(size_t size);
// Gives back the memory of an object of `size` bytes that Allocate handed out.
void FreeObjectMemory(void* mem, size_t size);
void BeginConstruct(ConstructFrame& frame, void* mem, size_t size, Class* cls);
void EndConstruct(ConstructFrame& frame, Object* obj, size_t size);
void RegisterClass(Class* cls);
#ifdef KV_VERIFY
// Test builds: the word a destroyed reference leaves in its storage, so that a
// reference whose storage ended while its object lives (a std::optional reset,
// a std::variant or union switched to another alternative) is seen by the
// collection's field check instead of being read as an object.
void PoisonReference(void* word);
// Test builds: true while an object (heap, embedded, static or local) lives at `o`.
bool IsLiveObject(const Object* o);
#endif
}  // namespace detail

class Object {
 public:
  Object();
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  virtual ~Object();

  static Class& StaticClass();
  virtual const Class* KvClass() const { return &StaticClass(); }

  // Marks storage that the field table does not describe; overrides call the base.
  virtual void Mark(Marker& marker);
  // Runs after a language change; an owner re-initialises its embedded objects.
  virtual void ReInit() {}

  using KvSelf = Object;

  // The heap object that holds this one (itself when it is not embedded).
  Object* Container() {
    return containerOffset_ ? reinterpret_cast<Object*>(reinterpret_cast<char*>(this) - containerOffset_) : this;
  }
  bool IsEmbedded() const { return containerOffset_ != 0; }
  bool IsHeapObject() const { return (state_ & kHeap) != 0; }

 private:
  friend class Collector;
  friend void detail::EndConstruct(detail::ConstructFrame&, Object*, size_t);
  // state_: the mark epoch in the upper 30 bits, the flags below. The class,
  // the allocation size and the heap list are not repeated here: the class
  // comes from KvClass(), the size from the class, and the collector keeps
  // its own array of heap objects.
  enum : uint32_t { kHeap = 1, kObserved = 2, kFlagBits = 2, kFlagMask = 3 };

  uint32_t containerOffset_ = 0;  // distance back to the outermost heap object holding this one
  uint32_t state_ = 0;

 public:
  // Flags used by the observer registries (weak registrations).
  bool HasObserverFlag() const { return (state_ & kObserved) != 0; }
  void SetObserverFlag() { state_ |= kObserved; }
};

namespace detail {
template <class T>
Object* FactoryOf(Object* arg);
template <class T, class Ancestor>
Class MakeClass(const char* name) {
  static_assert(std::is_base_of_v<Ancestor, T>, "KV_CLASS names an ancestor the class does not derive from");
  using MarkType = decltype(&T::Mark);
  Factory f = nullptr;
  if constexpr (!std::is_abstract_v<T>) f = &FactoryOf<T>;
  return Class{name, &Ancestor::StaticClass(), f, static_cast<uint32_t>(sizeof(T)),
               !std::is_same_v<MarkType, void (Object::*)(Marker&)>, {}, false};
}
}  // namespace detail

// Declares the class descriptor of a GUI class. Put it first in the class body:
//   class Group : public View { KV_CLASS(Core, Group, View) ... };
#define KV_CLASS(Unit, Cls, Ancestor)                                                        \
 public:                                                                                     \
  using Super = Ancestor;                                                                    \
  using KvSelf = Cls;                                                                        \
  static ::kv::Class& StaticClass() {                                                        \
    static ::kv::Class cls = ::kv::detail::MakeClass<Cls, Ancestor>(#Unit "::" #Cls);        \
    return cls;                                                                              \
  }                                                                                          \
  const ::kv::Class* KvClass() const override { return &StaticClass(); }                     \
                                                                                             \
 private:

// A class that adds nothing to its ancestor but its name and descriptor: a
// kind that callers tell apart with kv::Cast.
//   KV_NAMED_CLASS(Media, UsbRootDataItem, RootDataItem);
#define KV_NAMED_CLASS(Unit, Cls, Ancestor) \
  class Cls : public Ancestor {             \
    KV_CLASS(Unit, Cls, Ancestor)           \
  }

// Registers a class for kv::FindClass; write it once in the class's source file.
#define KV_REGISTER_CLASS(...)                                                               \
  [[maybe_unused]] static const bool KV_CONCAT(kvClassRegistered_, __LINE__) =               \
      (::kv::detail::RegisterClass(&__VA_ARGS__::StaticClass()), true)
#define KV_CONCAT_INNER(a, b) a##b
#define KV_CONCAT(a, b) KV_CONCAT_INNER(a, b)

namespace detail {
// True when T declares its own descriptor with KV_CLASS (a class that only
// inherits its ancestor's would be described, marked and cast as the ancestor).
template <class T>
inline constexpr bool kNamesItself = std::is_same_v<typename T::KvSelf, T>;
}  // namespace detail

// A GUI class with its own descriptor: what kv::Cast may answer.
template <class T>
concept NamedClass = std::is_base_of_v<Object, T> && std::is_same_v<typename T::KvSelf, T>;

// Creates a heap object of class T. Arguments go to T's constructor.
template <class T, class... Args>
T* New(Args&&... args) {
  static_assert(std::is_base_of_v<Object, T>);
  static_assert(detail::kNamesItself<T>, "a class made by kv::New must name itself with KV_CLASS");
  Class* cls = &T::StaticClass();
  void* mem = detail::Allocate(sizeof(T));
  detail::ConstructFrame frame;
  detail::BeginConstruct(frame, mem, sizeof(T), cls);
  T* obj = new (mem) T(std::forward<Args>(args)...);
  detail::EndConstruct(frame, obj, sizeof(T));
  return obj;
}

namespace detail {
template <class T>
Object* FactoryOf(Object* arg) {
  if constexpr (std::is_constructible_v<T, Object*>)
    return New<T>(arg);
  else
    return New<T>();
}
}  // namespace detail

// A new object of the class with its constructor run; a null class is the
// panic "Invalid class (null)".
Object* NewObjectIndirect(const Class* cls, Object* arg = nullptr);
// The object when its class is `cls` or derives from it, else null.
Object* CastObject(Object* obj, const Class* cls);
// The class when it is `base` or derives from it, else null.
const Class* CastClass(const Class* cls, const Class* base);
inline const Class* ClassOf(const Object* obj) { return obj ? obj->KvClass() : nullptr; }
// The registered class of that name ("Unit::Class"), or null.
const Class* FindClass(const char* name);
// Every registered class, in registration order.
const std::vector<const Class*>& AllClasses();

// The object as a T when its class is T or derives from it, else null. T
// must name itself with KV_CLASS: a class that only inherits its ancestor's
// descriptor would get the ancestor's objects as T (refused at compile time).
template <NamedClass T>
T* Cast(Object* obj) {
  return static_cast<T*>(CastObject(obj, &T::StaticClass()));
}

// A class of a unit that may not exist yet: null until a class of that name is registered.
class LateClass {
 public:
  explicit constexpr LateClass(const char* name) : name_(name) {}
  const Class* Get() const;
  const char* Name() const { return name_; }
  operator const Class*() const { return Get(); }

 private:
  const char* name_;
};
// Every late class name used so far, for the test that lists unresolved ones.
const std::vector<const LateClass*>& AllLateClasses();
namespace detail {
const LateClass& RegisterLateClass(const LateClass& lc);
}
#define KV_LATE_CLASS(name)                                                                  \
  ([]() -> const ::kv::LateClass& {                                                          \
    static const ::kv::LateClass lc(name);                                                   \
    static const ::kv::LateClass& reg = ::kv::detail::RegisterLateClass(lc);                 \
    return reg;                                                                              \
  }().Get())

}  // namespace kv
