#include "runtime/object.h"

#include <link.h>
#include <pthread.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>


#include "runtime/asan.h"
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

namespace {
// The innermost object under construction whose memory holds p.
ConstructFrame* FrameHolding(const char* p) {
  for (ConstructFrame* f = t_frame; f; f = f->prev)
    if (p >= f->base && p < f->base + f->size) return f;
  return nullptr;
}

#ifdef KV_VERIFY
struct Range {
  const char* lo;
  const char* hi;
};

// Writable segments of the loaded program and libraries: static storage.
const std::vector<Range>& StaticRanges() {
  static const std::vector<Range> ranges = [] {
    std::vector<Range> r;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* ctx) {
          auto* out = static_cast<std::vector<Range>*>(ctx);
          for (int i = 0; i < info->dlpi_phnum; ++i) {
            const ElfW(Phdr)& ph = info->dlpi_phdr[i];
            if (ph.p_type != PT_LOAD || !(ph.p_flags & PF_W)) continue;
            const char* lo = reinterpret_cast<const char*>(info->dlpi_addr + ph.p_vaddr);
            out->push_back({lo, lo + ph.p_memsz});
          }
          return 0;
        },
        &r);
    return r;
  }();
  return ranges;
}

bool OnThisStack(const char* p) {
  thread_local Range stack{nullptr, nullptr};
  if (!stack.lo) {
    pthread_attr_t attr;
    void* lo = nullptr;
    size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
      pthread_attr_getstack(&attr, &lo, &size);
      pthread_attr_destroy(&attr);
    }
    stack = {static_cast<const char*>(lo), static_cast<const char*>(lo) + size};
  }
  if (p >= stack.lo && p < stack.hi) return true;
#if defined(__SANITIZE_ADDRESS__)
  // Locals moved to the sanitizer's fake stack.
  if (void* fake = __asan_get_current_fake_stack())
    if (__asan_addr_is_in_fake_stack(fake, const_cast<char*>(p), nullptr, nullptr)) return true;
#endif
  return false;
}

// Heap memory: neither a local of this thread nor static storage.
bool InHeapMemory(const char* p) {
  if (OnThisStack(p)) return false;
  for (const Range& r : StaticRanges())
    if (p >= r.lo && p < r.hi) return false;
  return true;
}
#endif
}  // namespace

void RegisterField(const void* field, FieldKind kind, [[maybe_unused]] const char* what) {
  const char* p = static_cast<const char*>(field);
  ConstructFrame* f = FrameHolding(p);
  if (!f) {
#ifdef KV_VERIFY
    // A reference kept in memory the collector never scans: the object it
    // names would be freed while still in use.
    if (InHeapMemory(p)) {
      std::string msg = std::string("An object reference (") + (what ? what : "field") +
                        ") was made in heap memory outside the object under construction (" +
                        (t_frame ? t_frame->cls->name : "none") + ")";
      Panic(msg.c_str());
    }
#endif
    return;
  }
  if (f->recording) f->fields.push_back({static_cast<uint32_t>(p - f->base), kind});
}

namespace {

// Objects up to 1 KB take their memory from pools of blocks of one size (in
// steps of 16 bytes), carved from 64 KB slabs kept for the life of the
// process. A collection frees hundreds of objects at once: put back on their
// pool's list, they cost a store each and are handed out again while still
// in the cache, where the general allocator would sort them into its bins
// and merge free neighbours. Larger objects use malloc.
constexpr size_t kGrain = 16;
constexpr size_t kMaxPooled = 1024;
constexpr size_t kSlab = 64 * 1024;
static_assert(kGrain % alignof(std::max_align_t) == 0, "pooled blocks keep malloc's alignment");

struct FreeBlock {
  FreeBlock* next;
};

struct Pool {
  FreeBlock* head = nullptr;
#if defined(__SANITIZE_ADDRESS__)
  // Under the address sanitizer a freed block waits behind every other free
  // block of its size before it is used again, so that a read through a
  // stale pointer meets poisoned memory, as with malloc's quarantine.
  FreeBlock* tail = nullptr;
#endif
};

struct Pools {
  Pool pool[kMaxPooled / kGrain + 1];
  std::vector<char*> slabs;  // every slab, so leak checkers see them held
  char* next = nullptr;  // the unused part of the newest slab
  size_t left = 0;
};

// Never destroyed: objects may be freed by static destructors.
Pools& ThePools() {
  static Pools& p = *new Pools;
  return p;
}

size_t PoolIndex(size_t size) { return (size + kGrain - 1) / kGrain; }

void* TakeBlock(size_t size) {
  if (size > kMaxPooled) return std::malloc(size);
  Pools& ps = ThePools();
  const size_t index = PoolIndex(size);
  Pool& pool = ps.pool[index];
  if (FreeBlock* b = pool.head) {
    ASAN_UNPOISON_MEMORY_REGION(b, index * kGrain);
    pool.head = b->next;
#if defined(__SANITIZE_ADDRESS__)
    if (!pool.head) pool.tail = nullptr;
#endif
    return b;
  }
  const size_t bytes = index * kGrain;
  if (ps.left < bytes) {
    // The rest of the old slab (less than one block) is left unused.
    auto* slab = static_cast<char*>(std::malloc(kSlab));
    if (!slab) return nullptr;
    ps.slabs.push_back(slab);
    ASAN_POISON_MEMORY_REGION(slab, kSlab);
    ps.next = slab;
    ps.left = kSlab;
  }
  void* b = ps.next;
  ps.next += bytes;
  ps.left -= bytes;
  ASAN_UNPOISON_MEMORY_REGION(b, bytes);
  return b;
}

}  // namespace

void FreeObjectMemory(void* mem, size_t size) {
  if (!mem) return;
  if (size > kMaxPooled) {
    std::free(mem);
    return;
  }
  const size_t index = PoolIndex(size);
  Pool& pool = ThePools().pool[index];
  auto* b = static_cast<FreeBlock*>(mem);
#if defined(__SANITIZE_ADDRESS__)
  b->next = nullptr;
  ASAN_POISON_MEMORY_REGION(b, index * kGrain);
  if (pool.tail) {
    ASAN_UNPOISON_MEMORY_REGION(pool.tail, sizeof(FreeBlock));
    pool.tail->next = b;
    ASAN_POISON_MEMORY_REGION(pool.tail, index * kGrain);
  } else {
    pool.head = b;
  }
  pool.tail = b;
#else
  b->next = pool.head;
  pool.head = b;
#endif
}

void* Allocate(size_t size) {
  AssertGuiThread();
  if (InSweep()) Panic("An object was created by a destructor");
  void* mem = TakeBlock(size);
  if (!mem) Panic("Can not create an object. Out of memory");
#ifdef KV_VERIFY
  // Garbage, not zeros: a field read before it is written shows up as a
  // crash here as it would on the set. The pattern is no valid address, so
  // the mark verifier never takes it for a reference.
  std::memset(mem, 0xA5, size);
#endif
  return mem;
}

void BeginConstruct(ConstructFrame& frame, void* mem, size_t size, Class* cls) {
  frame.base = static_cast<char*>(mem);
  frame.size = size;
  frame.cls = cls;
  frame.prev = t_frame;
#ifdef KV_VERIFY
  // Every construction is compared with the recorded table.
  frame.recording = true;
#else
  frame.recording = !cls->fieldsRecorded;
#endif
  t_frame = &frame;
}

void PopConstructFrame(ConstructFrame& frame) {
  t_frame = frame.prev;
  frame.done = true;
}

void UnwindRegistrations(const char* begin, const char* end);

ConstructFrame::~ConstructFrame() {
  if (done || !base) return;
  t_frame = prev;
  // The constructor did not finish (a test's panic handler threw): nothing
  // queued or registered may keep pointing into the memory given back.
  UnwindRegistrations(base, base + size);
  FreeObjectMemory(base, size);
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

#ifdef KV_VERIFY
namespace detail {
namespace {
// Every object alive, heap or not (test builds): what a reference may name.
struct LiveObjects {
  std::mutex mutex;
  std::unordered_set<const Object*> set;
};
LiveObjects& Live() {
  static LiveObjects* live = new LiveObjects;  // objects in static storage may outlive a static set
  return *live;
}
}  // namespace

bool IsLiveObject(const Object* o) {
  LiveObjects& l = Live();
  std::lock_guard<std::mutex> lock(l.mutex);
  return l.set.count(o) != 0;
}

void PoisonReference(void* word) {
  // Through a volatile pointer: a store in a destructor is otherwise dropped.
  volatile unsigned char* p = static_cast<volatile unsigned char*>(word);
  for (size_t i = 0; i < sizeof(void*); ++i) p[i] = 0xA5;
}
}  // namespace detail
#endif

Object::Object() {
  // An object constructed inside the memory of a heap object under
  // construction is embedded in it.
  const char* self = reinterpret_cast<const char*>(this);
  detail::ConstructFrame* f = detail::FrameHolding(self);
  if (f && self != f->base) {
    containerOffset_ = static_cast<uint32_t>(self - f->base);
    if (f->recording) f->embedded.push_back(containerOffset_);
  }
#ifdef KV_VERIFY
  detail::LiveObjects& l = detail::Live();
  std::lock_guard<std::mutex> lock(l.mutex);
  l.set.insert(this);
#endif
}

#ifdef KV_VERIFY
Object::~Object() {
  detail::LiveObjects& l = detail::Live();
  std::lock_guard<std::mutex> lock(l.mutex);
  l.set.erase(this);
}
#else
Object::~Object() = default;
#endif

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
