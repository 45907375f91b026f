// The collector's storage, ordering and threading rules, each checked: a
// broken rule is a panic (or a sanitizer report) at the point it is broken,
// never a use-after-free later.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "capture.h"
#include "kv_test.h"
#include "runtime/auto_object.h"
#include "runtime/collector.h"
#include "runtime/member.h"
#include "runtime/panic.h"
#include "runtime/ref.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/timer.h"

namespace hrd {

class Node : public kv::Object {
  KV_CLASS(hrd, Node, kv::Object)
 public:
  kv::Member<Node> next;
  int value = 7;
  int pings = 0;
  void OnPing(kv::Object*) { ++pings; }
};

// References in storage the collector never scans.
class VectorOfMembers : public kv::Object {
  KV_CLASS(hrd, VectorOfMembers, kv::Object)
 public:
  VectorOfMembers() { list.emplace_back(kv::New<Node>()); }
  std::vector<kv::Member<Node>> list;
};
struct Helper {
  kv::Member<Node> node;
};
class HelperOwner : public kv::Object {
  KV_CLASS(hrd, HelperOwner, kv::Object)
 public:
  std::unique_ptr<Helper> helper = std::make_unique<Helper>();
};

// A reference whose presence differs per instance.
class Optional : public kv::Object {
  KV_CLASS(hrd, Optional, kv::Object)
 public:
  explicit Optional(bool engaged) {
    if (engaged) maybe.emplace(kv::New<Node>());
  }
  std::optional<kv::Member<Node>> maybe;
};

// A reference in storage that changes its type after construction.
class Variant : public kv::Object {
  KV_CLASS(hrd, Variant, kv::Object)
 public:
  Variant() : v(kv::Member<Node>(kv::New<Node>())) {}
  std::variant<kv::Member<Node>, intptr_t> v;
};
class AlwaysOptional : public kv::Object {
  KV_CLASS(hrd, AlwaysOptional, kv::Object)
 public:
  AlwaysOptional() { maybe.emplace(kv::New<Node>()); }
  std::optional<kv::Member<Node>> maybe;
};

// Derives without naming itself.
class Unnamed : public Node {};

// What kv::Cast<T> compiles for.
template <class T>
concept Castable = requires(kv::Object* o) { kv::Cast<T>(o); };

// An embedded object that marks storage of its own.
class Keeper : public kv::Object {
  KV_CLASS(hrd, Keeper, kv::Object)
 public:
  std::vector<kv::Object*> extra;
  void Mark(kv::Marker& m) override {
    kv::Object::Mark(m);
    m.MarkAll(extra);
  }
};
class HoldsKeeper : public kv::Object {
  KV_CLASS(hrd, HoldsKeeper, kv::Object)
 public:
  int before = 0;
  Keeper keeper;
};

// Destructors that break the rules of the sweep.
class ReadsPeer : public kv::Object {
  KV_CLASS(hrd, ReadsPeer, kv::Object)
 public:
  ~ReadsPeer() override {
    if (peer) seen = peer->value;
  }
  Node* peer = nullptr;  // deliberately outside the field table
  static inline int seen = 0;
};
class PostsFromDestructor : public kv::Object {
  KV_CLASS(hrd, PostsFromDestructor, kv::Object)
 public:
  ~PostsFromDestructor() override { kv::PostSignal(kv::MakeSlot(this, &PostsFromDestructor::OnPing)); }
  void OnPing(kv::Object*) {}
};
class LocksFromDestructor : public kv::Object {
  KV_CLASS(hrd, LocksFromDestructor, kv::Object)
 public:
  ~LocksFromDestructor() override { kv::LockObject(this); }
};

class CollectsInConstructor : public kv::Object {
  KV_CLASS(hrd, CollectsInConstructor, kv::Object)
 public:
  CollectsInConstructor() {
    kv::Collect();
  }
};

class Page : public kv::Object {
  KV_CLASS(hrd, Page, kv::Object)
 public:
  void ReInit() override { ++reinits; }
  static inline int reinits = 0;
};

// Registers itself and then fails half way through its constructor.
class FailsHalfWay : public kv::Object {
  KV_CLASS(hrd, FailsHalfWay, kv::Object)
 public:
  FailsHalfWay() {
    kv::PostSignal(kv::MakeSlot(this, &FailsHalfWay::OnPing));
    kv::IdleSignal(kv::MakeSlot(this, &FailsHalfWay::OnPing));
    kv::LockObject(this);
    if (fail) kv::Panic("construction failed");
  }
  void OnPing(kv::Object*) { ++pings; }
  static inline bool fail = true;
  static inline int pings = 0;
};
kv::AutoObject Flaky{"hrd::Flaky", []() -> const kv::Class* { return &FailsHalfWay::StaticClass(); }};

class Garbage : public kv::Object {
  KV_CLASS(hrd, Garbage, kv::Object)
 public:
  Garbage() {}  // leaves `untouched` as the allocation left it
  unsigned char untouched[8];
};

class Reposts : public kv::Object {
  KV_CLASS(hrd, Reposts, kv::Object)
 public:
  void OnPost(kv::Object*) {
    if (++calls < 20000) kv::PostSignal(kv::MakeSlot(this, &Reposts::OnPost));
  }
  int calls = 0;
};

// Collects from a timer callback and from a posted slot.
struct Collecting : kv::Object {
  KV_CLASS(hrd, Collecting, kv::Object)
 public:
  Collecting() : entry(this, [](kv::Object*) { kv::Collect(); }) {}
  void OnPost(kv::Object*) { kv::Collect(); }
  kv::TimerEntry entry;
};

// Queues an idle signal and changes the language from a posted slot.
struct Starter : kv::Object {
  KV_CLASS(hrd, Starter, kv::Object)
 public:
  kv::Member<Node> target;
  void OnPost(kv::Object*) {
    kv::IdleSignal(kv::MakeSlot(target.get(), &Node::OnPing));
    kv::SetLanguage(1);
  }
};

// Objects of a small, a middling and a large size, each holding a stamp in
// every word of its body.
template <size_t kWords>
class Stamped : public kv::Object {
 public:
  void Stamp(uint64_t v) {
    for (uint64_t& w : words) w = v;
  }
  bool Holds(uint64_t v) const {
    for (uint64_t w : words)
      if (w != v) return false;
    return true;
  }
  uint64_t words[kWords];
};
class SmallStamped : public Stamped<1> {
  KV_CLASS(hrd, SmallStamped, kv::Object)
};
class MiddleStamped : public Stamped<40> {
  KV_CLASS(hrd, MiddleStamped, kv::Object)
};
class LargeStamped : public Stamped<300> {
  KV_CLASS(hrd, LargeStamped, kv::Object)
};

class HardeningTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    ReadsPeer::seen = 0;
    Page::reinits = 0;
    FailsHalfWay::fail = true;
    FailsHalfWay::pings = 0;
  }
  static size_t Count(const char* cls) {
    auto c = kv::HeapCensus();
    auto it = c.find(cls);
    return it == c.end() ? 0 : it->second;
  }
};

using HardeningDeathTest = HardeningTest;

TEST_F(HardeningTest, ReferencesInUnscannedHeapMemoryPanicNamingTheClass) {
  EXPECT_PANIC(kv::New<VectorOfMembers>(), "hrd::VectorOfMembers");
  EXPECT_PANIC(kv::New<VectorOfMembers>(), "kv::Member<hrd::Node>");
  EXPECT_PANIC(kv::New<HelperOwner>(), "hrd::HelperOwner");
  // Outside any construction too, and for every kind of reference.
  EXPECT_PANIC(std::make_unique<kv::Slot>(), "kv::Slot");
  EXPECT_PANIC(std::make_unique<kv::RefInt32>(), "kv::Ref<int>");
  EXPECT_PANIC(std::make_unique<kv::MemberVector<Node>>(), "kv::MemberVector<hrd::Node>");
  // Locals and object fields stay allowed.
  kv::Persistent<Node> keep = kv::New<Node>();
  kv::Member<Node> local = keep.get();
  kv::Slot slot = kv::MakeSlot(local.get(), &Node::OnPing);
  EXPECT_FALSE(slot.empty());
  kv::Collect();
  EXPECT_EQ(kv::LiveObjects(), 1u);  // the failed constructions gave their memory back
}

TEST_F(HardeningTest, FieldsThatDifferBetweenInstancesAreRejected) {
  kv::Persistent<Optional> first = kv::New<Optional>(false);
  EXPECT_PANIC(kv::New<Optional>(true), "The fields of hrd::Optional differ between instances");
  kv::Collect();
  EXPECT_EQ(Count("hrd::Optional"), 1u);
}

// The field table is recorded once; a variant that later switches its
// reference to an integer, or an optional reset, would have the collector
// read the integer (or what the reference left) as an object.
TEST_F(HardeningTest, AReferenceWhoseStorageChangesAfterConstructionStopsTheNextCollection) {
  kv::Persistent<Variant> variant = kv::New<Variant>();
  kv::Collect();
  EXPECT_EQ(Count("hrd::Node"), 1u);
  variant->v = intptr_t{0x5005};
  EXPECT_PANIC(kv::Collect(), "Field check: hrd::Variant at offset");
  variant->v = intptr_t{0};  // reads as no reference: the collections go on
  kv::Collect();
  EXPECT_EQ(Count("hrd::Node"), 0u);

  kv::Persistent<AlwaysOptional> optional = kv::New<AlwaysOptional>();
  kv::Collect();
  optional->maybe.reset();
  EXPECT_PANIC(kv::Collect(), "Field check: hrd::AlwaysOptional at offset");
  optional = nullptr;  // unreachable: its fields are never read again
  kv::Collect();
  EXPECT_EQ(Count("hrd::AlwaysOptional"), 0u);
}

TEST_F(HardeningTest, EachClassMustNameItself) {
  static_assert(kv::detail::kNamesItself<Node>);
  static_assert(kv::detail::kNamesItself<kv::Object>);
  static_assert(!kv::detail::kNamesItself<Unnamed>, "kv::New<Unnamed>() does not compile");
  static_assert(Castable<Node> && Castable<kv::Object>);
  static_assert(!Castable<Unnamed>, "kv::Cast<Unnamed>() does not compile: it would answer a Node as an Unnamed");
  EXPECT_STREQ(kv::ClassOf(kv::New<Node>())->name, "hrd::Node");
}

TEST_F(HardeningTest, EmbeddedObjectsRunTheirOwnMark) {
  kv::Persistent<HoldsKeeper> holder = kv::New<HoldsKeeper>();
  holder->keeper.extra.push_back(kv::New<Node>());
  kv::New<Node>();  // garbage
  kv::Collect();
  EXPECT_EQ(Count("hrd::Node"), 1u);
  EXPECT_EQ(static_cast<Node*>(holder->keeper.extra[0])->value, 7);
}

TEST_F(HardeningTest, ObjectHeaderIsSmall) {
  static_assert(sizeof(kv::Object) <= 16);
  EXPECT_LE(kv::HeapOverheadPerObject(), 24u);
}

#if defined(__SANITIZE_ADDRESS__)
TEST_F(HardeningDeathTest, DestructorReadingAPeerOfTheSameCollectionIsReported) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        ReadsPeer* a = kv::New<ReadsPeer>();
        ReadsPeer* b = kv::New<ReadsPeer>();
        Node* n = kv::New<Node>();
        a->peer = n;
        b->peer = n;
        kv::Collect();
      },
      "use-after-poison");
}

TEST_F(HardeningDeathTest, AnObjectReadAfterItsCollectionIsReported) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        // Held where the collector does not look for references.
        const uintptr_t hidden = reinterpret_cast<uintptr_t>(kv::New<Node>()) ^ 1u;
        kv::Collect();
        std::printf("%d\n", reinterpret_cast<Node*>(hidden ^ 1u)->value);
      },
      "use-after-poison");
}
#endif

TEST_F(HardeningTest, ObjectsOfEverySizeKeepTheirMemoryThroughCollections) {
  // Waves of objects of three sizes, a third of each wave kept alive: the
  // memory of the collected ones is handed out again, and no object may
  // share a byte with another.
  struct Kept {
    kv::Persistent<kv::Object> obj;
    uint64_t stamp;
  };
  std::vector<Kept> kept;
  auto holds = [](kv::Object* o, uint64_t v) {
    if (auto* s = kv::Cast<SmallStamped>(o)) return s->Holds(v);
    if (auto* m = kv::Cast<MiddleStamped>(o)) return m->Holds(v);
    return kv::Cast<LargeStamped>(o)->Holds(v);
  };
  uint64_t next = 1;
  for (int wave = 0; wave < 6; ++wave) {
    for (int i = 0; i < 900; ++i) {
      const uint64_t v = next++ * 0x9E3779B97F4A7C15ull;
      kv::Object* o = nullptr;
      switch (i % 3) {
        case 0: {
          auto* s = kv::New<SmallStamped>();
          s->Stamp(v);
          o = s;
          break;
        }
        case 1: {
          auto* m = kv::New<MiddleStamped>();
          m->Stamp(v);
          o = m;
          break;
        }
        default: {
          auto* l = kv::New<LargeStamped>();
          l->Stamp(v);
          o = l;
          break;
        }
      }
      if (i % 9 < 3) kept.push_back({o, v});
    }
    // Every other wave lets the older half of the kept ones go too.
    if (wave % 2 == 1) kept.erase(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(kept.size() / 2));
    kv::Collect();
    for (const Kept& k : kept) ASSERT_TRUE(holds(k.obj.get(), k.stamp)) << "wave " << wave;
  }
  EXPECT_EQ(Count("hrd::LargeStamped") + Count("hrd::MiddleStamped") + Count("hrd::SmallStamped"), kept.size());
}

TEST_F(HardeningDeathTest, RegistrationsFromDestructorsPanic) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        kv::SetPanicHandler(nullptr);
        kv::New<PostsFromDestructor>();
        kv::Collect();
      },
      testing::ExitedWithCode(70), "PostSignal was called by a destructor");
  EXPECT_EXIT(
      {
        kv::SetPanicHandler(nullptr);
        kv::New<LocksFromDestructor>();
        kv::Collect();
      },
      testing::ExitedWithCode(70), "LockObject was called by a destructor");
}

TEST_F(HardeningTest, CollectWhileObjectsAreInUsePanics) {
  EXPECT_PANIC(kv::New<CollectsInConstructor>(), "Collect was called while objects are in use");

  kv::Persistent<Node> n = kv::New<Node>();
  kv::Persistent<Collecting> c = kv::New<Collecting>();
  kv::PostSignal(kv::MakeSlot(c.get(), &Collecting::OnPost));
  EXPECT_PANIC(driver.Pass(), "Collect was called while objects are in use");
  c->entry.Schedule(0, 0);
  EXPECT_PANIC(driver.Pass(), "Collect was called while objects are in use");
  EXPECT_EQ(n->value, 7);
  kv::Collect();  // nothing running: fine
  EXPECT_EQ(Count("hrd::Node"), 1u);
}

TEST_F(HardeningTest, LanguageChangeLeavesIdleSignalsForTheNextPassAndSkipsGarbage) {
  kv::Persistent<Node> n = kv::New<Node>();
  kv::Persistent<Page> open = kv::New<Page>();
  kv::New<Page>();  // a closed page, still waiting for the collector
  kv::Persistent<Starter> s = kv::New<Starter>();
  s->target = n;
  kv::PostSignal(kv::MakeSlot(s.get(), &Starter::OnPost));
  driver.Pass();
  EXPECT_EQ(n->pings, 0);       // queued in this pass: not before the redraw it follows
  EXPECT_EQ(Page::reinits, 1);  // the open page only
  driver.Pass();
  EXPECT_EQ(n->pings, 1);
}

TEST_F(HardeningTest, FailedConstructionLeavesNoRegistrationBehind) {
  EXPECT_PANIC(kv::New<FailsHalfWay>(), "construction failed");
  driver.Pass();
  driver.Pass();
  EXPECT_EQ(FailsHalfWay::pings, 0);
  EXPECT_FALSE(kv::SignalsPending());
  for (int i = 0; i < 16; ++i) kv::LockObject(kv::New<Node>());  // the root set is whole again
}

TEST_F(HardeningTest, AutoObjectWhoseConstructionFailedCanBeCreatedLater) {
  EXPECT_PANIC(kv::GetAutoObjectRaw(Flaky), "construction failed");
  FailsHalfWay::fail = false;
  EXPECT_NE(kv::GetAutoObjectRaw(Flaky), nullptr);  // created now, not "Recursive access..."
}

TEST_F(HardeningTest, OnlyTheGuiTaskTouchesTheHeapAndItsTables) {
  Node* node = kv::New<Node>();
  kv::Persistent<Node> keep = node;
  kv::Slot slot = kv::MakeSlot(node, &Node::OnPing);
  std::vector<std::string> refused;
  auto expectRefused = [&refused](const char* what, auto fn) {
    try {
      fn();
      refused.push_back(std::string(what) + ": allowed");
    } catch (const kvtest::PanicError& e) {
      refused.push_back(std::string(what) + ": " + e.what());
    }
  };
  std::thread other([&] {
    expectRefused("LockObject", [&] { kv::LockObject(node); });
    expectRefused("UnlockObject", [&] { kv::UnlockObject(node); });
    expectRefused("Persistent", [&] { kv::Persistent<Node> p = node; });
    expectRefused("AttachObjObserver", [&] { kv::AttachObjObserver(slot, node); });
    expectRefused("NotifyObjObservers", [&] { kv::NotifyObjObservers(node); });
    expectRefused("Signal", [&] { kv::Signal(slot, nullptr); });
    expectRefused("SetLanguage", [&] { kv::SetLanguage(2); });
    expectRefused("HeapCensus", [&] { kv::HeapCensus(); });
    expectRefused("LoadString", [&] { kv::LoadString(kv::TextId{0, 0}); });
    expectRefused("Collect", [&] { kv::Collect(); });
  });
  other.join();
  for (const std::string& r : refused) EXPECT_NE(r.find("outside the GUI task"), std::string::npos) << r;
  EXPECT_EQ(refused.size(), 10u);
  EXPECT_EQ(node->pings, 0);
}

#ifdef KV_VERIFY
TEST_F(HardeningTest, NewObjectsAreFilledWithGarbageNotZeros) {
  Garbage* g = kv::New<Garbage>();
  unsigned char bytes[sizeof g->untouched];
  std::memcpy(bytes, g->untouched, sizeof bytes);
  for (unsigned char b : bytes) EXPECT_EQ(b, 0xA5);
}
#endif

TEST_F(HardeningTest, SelfRepostingSlotIsCappedPerPass) {
  kvtest::LogCapture log;
  log.Start();
  kv::Persistent<Reposts> r = kv::New<Reposts>();
  kv::PostSignal(kv::MakeSlot(r.get(), &Reposts::OnPost));
  driver.Pass();
  EXPECT_EQ(r->calls, 16384);
  EXPECT_TRUE(kv::SignalsPending());
  EXPECT_TRUE(log.Contains("they run in the next pass"));
  driver.Pass();
  EXPECT_EQ(r->calls, 20000);
  EXPECT_FALSE(kv::SignalsPending());
}

TEST_F(HardeningTest, CollectionTriggerGrowsWithTheHeapAndCountsBytes) {
  kv::Runtime::SetCollectEveryPass(false);
  kv::Persistent<Node> head = kv::New<Node>();
  Node* tail = head;
  for (int i = 1; i < 10000; ++i) tail = tail->next = kv::New<Node>();
  driver.Pass();  // 10000 new objects: collected
  EXPECT_EQ(kv::AllocatedSinceCollect(), 0u);
  for (int i = 0; i < 3000; ++i) kv::New<Node>();
  driver.Pass();  // far fewer than live: no collection
  EXPECT_EQ(kv::LiveObjects(), 13000u);
  kv::ReportExternalAllocation(size_t{8} << 20);  // a large bitmap's pixels
  driver.Pass();
  EXPECT_EQ(kv::LiveObjects(), 10000u);
  // As many new objects as survived the last collection: the next pass
  // collects them, with no bitmap to push it.
  for (int i = 0; i < 10000; ++i) kv::New<Node>();
  driver.Pass();
  EXPECT_EQ(kv::LiveObjects(), 10000u);
  EXPECT_EQ(kv::AllocatedSinceCollect(), 0u);
}

TEST_F(HardeningTest, ManyQueuedSignalsAndObserversKeepTheirOrder) {
  std::vector<Node*> nodes;
  kv::Persistent<Node> subject = kv::New<Node>();
  for (int i = 0; i < 5000; ++i) {
    nodes.push_back(kv::New<Node>());
    nodes.back()->next = i ? nodes[i - 1] : nullptr;
  }
  kv::Persistent<Node> last = nodes.back();
  for (Node* n : nodes) kv::PostSignal(kv::MakeSlot(n, &Node::OnPing));  // over the 4096 queue: delivered at once
  for (Node* n : nodes) kv::AttachObjObserver(kv::MakeSlot(n, &Node::OnPing), subject);
  kv::DetachObjObserver(kv::MakeSlot(nodes[0], &Node::OnPing), subject);
  kv::NotifyObjObservers(subject);
  driver.Pass();
  EXPECT_EQ(nodes[0]->pings, 1);
  for (size_t i = 1; i < nodes.size(); ++i) ASSERT_EQ(nodes[i]->pings, 2) << i;
}

}  // namespace hrd
