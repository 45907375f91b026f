#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "kv_test.h"
#include "runtime/auto_object.h"
#include "runtime/collector.h"
#include "runtime/member.h"
#include "runtime/ref.h"
#include "runtime/slot.h"
#include "runtime/timer.h"

namespace gct {

class Node : public kv::Object {
  KV_CLASS(gct, Node, kv::Object)
 public:
  kv::Member<Node> next;
  kv::MemberVector<Node> kids;
  int pings = 0;
  int reinits = 0;
  void OnPing(kv::Object*) { ++pings; }
  void ReInit() override { ++reinits; }
};

class Inner : public kv::Object {
  KV_CLASS(gct, Inner, kv::Object)
 public:
  kv::Member<Node> target;
};

class Outer : public kv::Object {
  KV_CLASS(gct, Outer, kv::Object)
 public:
  int before = 0;
  Inner inner;
  kv::Slot slot;
  kv::RefInt32 ref;
  int32_t value = 7;
  int32_t GetValue() { return value; }
  void SetValue(int32_t v) { value = v; }
};

class Leaky : public kv::Object {
  KV_CLASS(gct, Leaky, kv::Object)
 public:
  Node* raw = nullptr;  // escapes the field table on purpose
};

// Plain pointers kept where the field table does not look, marked by hand.
class Table : public kv::Object {
  KV_CLASS(gct, Table, kv::Object)
 public:
  std::vector<kv::Object*> extra;
  void Mark(kv::Marker& m) override {
    kv::Object::Mark(m);
    m.MarkAll(extra);
  }
};

class Ticking : public kv::Object {
  KV_CLASS(gct, Ticking, kv::Object)
 public:
  Ticking() : entry(this, [](kv::Object* o) { ++static_cast<Ticking*>(o)->fired; }) {}
  kv::TimerEntry entry;
  int fired = 0;
};

class Recursive : public kv::Object {
  KV_CLASS(gct, Recursive, kv::Object)
 public:
  Recursive();
};
kv::AutoObject SelfRef{"gct::SelfRef", []() -> const kv::Class* { return &Recursive::StaticClass(); }};
Recursive::Recursive() { kv::GetAutoObjectRaw(SelfRef); }

kv::AutoObject Shared{"gct::Shared", []() -> const kv::Class* { return &Node::StaticClass(); }};

class CollectorTest : public kvtest::RuntimeTest {
 protected:
  size_t Count(const char* cls) {
    auto c = kv::HeapCensus();
    auto it = c.find(cls);
    return it == c.end() ? 0 : it->second;
  }
};

TEST_F(CollectorTest, FreesUnreachableAndKeepsReachableThroughEveryFieldKind) {
  kv::Persistent<Node> root = kv::New<Node>();
  root->next = kv::New<Node>();
  root->kids.push_back(kv::New<Node>());
  Outer* outer = kv::New<Outer>();
  root->kids.push_back(nullptr);
  Node* viaSlot = kv::New<Node>();
  Node* viaInner = kv::New<Node>();
  Outer* viaRef = kv::New<Outer>();
  outer->slot = kv::MakeSlot(viaSlot, &Node::OnPing);
  outer->inner.target = viaInner;
  outer->ref = kv::MakeRef(viaRef, &Outer::GetValue, &Outer::SetValue);
  root->kids.set(1, reinterpret_cast<Node*>(outer));  // any object may sit in the vector
  kv::New<Node>();                                      // garbage
  kv::New<Outer>()->inner.target = kv::New<Node>();     // garbage pair
  EXPECT_EQ(kv::LiveObjects(), 10u);
  auto st = kv::Collect();
  EXPECT_EQ(st.freed, 3u);
  EXPECT_EQ(kv::LiveObjects(), 7u);
  EXPECT_EQ(Count("gct::Node"), 5u);
  EXPECT_EQ(Count("gct::Outer"), 2u);
  EXPECT_EQ(kv::OnGetInt32(outer->ref), 7);
  root.reset();
  kv::Collect();
  EXPECT_EQ(kv::LiveObjects(), 0u);
}

TEST_F(CollectorTest, InteriorPointerKeepsContainer) {
  Outer* outer = kv::New<Outer>();
  EXPECT_TRUE(outer->inner.IsEmbedded());
  EXPECT_EQ(outer->inner.Container(), outer);
  EXPECT_FALSE(outer->IsEmbedded());
  kv::Persistent<Inner> handle = &outer->inner;
  kv::Collect();
  EXPECT_EQ(Count("gct::Outer"), 1u);
  handle.reset();
  kv::Collect();
  EXPECT_EQ(Count("gct::Outer"), 0u);
}

TEST_F(CollectorTest, MarkOverridesReachPointersOutsideTheFieldTable) {
  kv::Persistent<Table> table = kv::New<Table>();
  table->extra.push_back(kv::New<Node>());
  Outer* outer = kv::New<Outer>();
  table->extra.push_back(outer);
  kv::New<Node>();  // garbage
  kv::Collect();
  EXPECT_EQ(Count("gct::Node"), 1u);
  EXPECT_EQ(Count("gct::Outer"), 1u);
  EXPECT_EQ(outer->GetValue(), 7);
  table.reset();
  kv::Collect();
  EXPECT_EQ(kv::LiveObjects(), 0u);
}

TEST_F(CollectorTest, OnlyTheGuiTaskMakesObjectsAndQueuesSignals) {
  Node* node = kv::New<Node>();
  std::string made, posted;
  std::thread other([&] {
    try {
      kv::New<Node>();
    } catch (const kvtest::PanicError& e) {
      made = e.what();
    }
    try {
      kv::PostSignal(kv::MakeSlot(node, &Node::OnPing));
    } catch (const kvtest::PanicError& e) {
      posted = e.what();
    }
  });
  other.join();
  EXPECT_EQ(made, "A GUI object was used outside the GUI task");
  EXPECT_EQ(posted, "A GUI object was used outside the GUI task");
  EXPECT_EQ(Count("gct::Node"), 1u);
}

TEST_F(CollectorTest, RootSetAutoObjectsAndTheirPanics) {
  Node* locked = kv::New<Node>();
  kv::LockObject(locked);
  Node* shared = kv::GetAutoObject<Node>(Shared);
  EXPECT_EQ(kv::GetAutoObject<Node>(Shared), shared);
  kv::Collect();
  EXPECT_EQ(Count("gct::Node"), 2u);
  kv::UnlockObject(locked);
  kv::Collect();
  EXPECT_EQ(Count("gct::Node"), 1u);
  EXPECT_PANIC(kv::UnlockObject(locked), "Object is not in the rootset");
  std::vector<Node*> many;
  for (int i = 0; i < 16; ++i) {
    many.push_back(kv::New<Node>());
    kv::LockObject(many.back());
  }
  EXPECT_PANIC(kv::LockObject(kv::New<Node>()), "Rootset is full");
  for (Node* n : many) kv::UnlockObject(n);
  EXPECT_PANIC(kv::GetAutoObjectRaw(SelfRef), "Recursive access to an auto object performing the initialization");
}

TEST_F(CollectorTest, QueuedSignalsAndScheduledTimersAreRoots) {
  Node* posted = kv::New<Node>();
  Node* idle = kv::New<Node>();
  kv::PostSignal(kv::MakeSlot(posted, &Node::OnPing));
  kv::IdleSignal(kv::MakeSlot(idle, &Node::OnPing));
  Ticking* t = kv::New<Ticking>();
  t->entry.Schedule(100, 100);
  kv::Collect();
  EXPECT_EQ(Count("gct::Node"), 2u);
  EXPECT_EQ(Count("gct::Ticking"), 1u);
  // From here on the test reads them across passes: hold them.
  kv::Persistent<Node> keepPosted = posted, keepIdle = idle;
  driver.Pass(0);  // posted runs; idle waits for the next pass
  EXPECT_EQ(posted->pings, 1);
  EXPECT_EQ(idle->pings, 0);
  driver.Pass(100);
  EXPECT_EQ(idle->pings, 1);
  EXPECT_EQ(t->fired, 1);
  t->entry.Cancel();
  keepPosted.reset();
  keepIdle.reset();
  kv::Collect();
  EXPECT_EQ(kv::LiveObjects(), 0u);
}

TEST_F(CollectorTest, LongChainIsMarkedWithoutRecursion) {
  kv::Persistent<Node> head = kv::New<Node>();
  Node* tail = head;
  for (int i = 1; i < 200000; ++i) {
    Node* n = kv::New<Node>();
    tail->next = n;
    tail = n;
  }
  auto st = kv::Collect();
  EXPECT_EQ(st.marked, 200000u);
  EXPECT_EQ(st.freed, 0u);
  head->next = nullptr;
  st = kv::Collect();
  EXPECT_EQ(st.freed, 199999u);
}

#ifdef KV_VERIFY
TEST_F(CollectorTest, VerifierStopsOnFieldThatEscapedMarking) {
  kv::Persistent<Leaky> l = kv::New<Leaky>();
  l->raw = kv::New<Node>();
  EXPECT_PANIC(kv::Collect(), "gct::Leaky at offset");
  l->raw = nullptr;
  kv::Collect();
  EXPECT_EQ(kv::LiveObjects(), 1u);
}
#endif

TEST_F(CollectorTest, ObserversAreWeakBothWays) {
  kv::Persistent<Node> subject = kv::New<Node>();
  kv::Persistent<Node> watcher = kv::New<Node>();
  Node* transient = kv::New<Node>();
  kv::AttachObjObserver(kv::MakeSlot(watcher.get(), &Node::OnPing), subject);
  kv::AttachObjObserver(kv::MakeSlot(transient, &Node::OnPing), subject);
  kv::AttachObjObserver(kv::MakeSlot(transient, &Node::OnPing), subject);  // no double
  kv::NotifyObjObservers(subject);
  EXPECT_EQ(watcher->pings, 1);
  EXPECT_EQ(transient->pings, 1);
  kv::Collect();  // the transient observer dies: its registration goes
  EXPECT_EQ(Count("gct::Node"), 2u);
  kv::NotifyObjObservers(subject);
  EXPECT_EQ(watcher->pings, 2);
  subject.reset();  // the subject dies: the watcher's registration goes
  kv::Collect();
  Node* fresh = kv::New<Node>();
  kv::NotifyObjObservers(fresh);  // may reuse the subject's address
  EXPECT_EQ(watcher->pings, 2);

  Outer* prop = kv::New<Outer>();
  kv::Persistent<Outer> keep = prop;
  kv::RefInt32 r = kv::MakeRef(prop, &Outer::GetValue, &Outer::SetValue);
  kv::AttachRefObserver(kv::MakeSlot(watcher.get(), &Node::OnPing), r);
  kv::NotifyRefObservers(r);
  EXPECT_EQ(watcher->pings, 3);
  watcher.reset();
  kv::Collect();
  kv::NotifyRefObservers(r);  // no dangling call
  EXPECT_EQ(Count("gct::Node"), 0u);
}

TEST_F(CollectorTest, ClassesCastsAndLateClasses) {
  Node* n = kv::New<Node>();
  EXPECT_EQ(kv::CastObject(n, &kv::Object::StaticClass()), n);
  EXPECT_EQ(kv::CastObject(n, &Outer::StaticClass()), nullptr);
  EXPECT_EQ(kv::CastObject(nullptr, &Node::StaticClass()), nullptr);
  EXPECT_PANIC(kv::CastObject(n, nullptr), "Invalid class (null)");
  EXPECT_PANIC(kv::NewObjectIndirect(nullptr), "Invalid class (null)");
  EXPECT_EQ(kv::ClassOf(nullptr), nullptr);
  EXPECT_STREQ(kv::ClassOf(n)->name, "gct::Node");
  kv::Object* made = kv::NewObjectIndirect(&Outer::StaticClass());
  EXPECT_EQ(kv::ClassOf(made), &Outer::StaticClass());
  EXPECT_EQ(kv::CastClass(&Outer::StaticClass(), &kv::Object::StaticClass()), &Outer::StaticClass());
  EXPECT_EQ(KV_LATE_CLASS("Nowhere::Yet"), nullptr);
  kv::detail::RegisterClass(&Node::StaticClass());
  EXPECT_EQ(KV_LATE_CLASS("gct::Node"), &Node::StaticClass());
  EXPECT_EQ(kv::FindClass("gct::Node"), &Node::StaticClass());
}

TEST_F(CollectorTest, LanguageChangeReinitialisesLiveObjectsWhileTimersRun) {
  kv::Persistent<Node> n = kv::New<Node>();
  kv::Persistent<Ticking> t = kv::New<Ticking>();
  t->entry.Schedule(10, 10);
  kv::detail::RequestReInit();
  driver.Pass(10);
  EXPECT_EQ(n->reinits, 1);
  EXPECT_EQ(t->fired, 1);
  driver.Pass(10);
  EXPECT_EQ(n->reinits, 1);
  EXPECT_EQ(t->fired, 2);
}

}  // namespace gct
