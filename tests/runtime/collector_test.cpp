#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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

// An observer that writes its number into a shared log when called, and may
// detach or attach another observer of the same subject from the call.
class Listener : public kv::Object {
  KV_CLASS(gct, Listener, kv::Object)
 public:
  int id = 0;
  std::vector<int>* log = nullptr;
  kv::Object* subject = nullptr;
  Listener* dropOnCall = nullptr;
  Listener* addOnCall = nullptr;
  void OnPing(kv::Object*) {
    log->push_back(id);
    if (dropOnCall) kv::DetachObjObserver(kv::MakeSlot(dropOnCall, &Listener::OnPing), subject);
    if (addOnCall) kv::AttachObjObserver(kv::MakeSlot(addOnCall, &Listener::OnPing), subject);
  }
};

TEST_F(CollectorTest, ObserversComeAndGoInAnyOrderAcrossCollections) {
  constexpr int kSubjects = 40, kListeners = 60;
  std::vector<int> log;
  std::vector<kv::Persistent<Node>> subjects;
  std::vector<kv::Persistent<Listener>> listeners;
  for (int i = 0; i < kSubjects; ++i) subjects.emplace_back(kv::New<Node>());
  for (int i = 0; i < kListeners; ++i) {
    listeners.emplace_back(kv::New<Listener>());
    listeners.back()->id = i;
    listeners.back()->log = &log;
  }
  // What each subject's notification must call, in attach order.
  std::vector<std::vector<int>> expected(kSubjects);
  auto slot = [&](int l) { return kv::MakeSlot(listeners[static_cast<size_t>(l)].get(), &Listener::OnPing); };
  auto notifyAndCheck = [&](int s) {
    log.clear();
    kv::NotifyObjObservers(subjects[static_cast<size_t>(s)].get());
    ASSERT_EQ(log, expected[static_cast<size_t>(s)]) << "subject " << s;
  };
  uint32_t seed = 12345;
  auto next = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
  };
  for (int step = 0; step < 6000; ++step) {
    const int s = next(kSubjects), l = next(kListeners);
    auto& e = expected[static_cast<size_t>(s)];
    const auto at = std::find(e.begin(), e.end(), l);
    switch (next(3)) {
      case 0:  // attach (twice is once)
        kv::AttachObjObserver(slot(l), subjects[static_cast<size_t>(s)].get());
        if (at == e.end()) e.push_back(l);
        break;
      case 1:
        kv::DetachObjObserver(slot(l), subjects[static_cast<size_t>(s)].get());
        if (at != e.end()) e.erase(at);
        break;
      default:
        notifyAndCheck(s);
        break;
    }
    if (step % 500 == 0) kv::Collect();  // everything is held: every registration stays
  }
  for (int s = 0; s < kSubjects; ++s) notifyAndCheck(s);

  // Every other listener and every third subject die: their registrations go.
  for (int l = 0; l < kListeners; l += 2) listeners[static_cast<size_t>(l)].reset();
  for (int s = 0; s < kSubjects; s += 3) subjects[static_cast<size_t>(s)].reset();
  kv::Collect();
  for (int s = 0; s < kSubjects; ++s) {
    if (s % 3 == 0) continue;
    auto& e = expected[static_cast<size_t>(s)];
    e.erase(std::remove_if(e.begin(), e.end(), [](int l) { return l % 2 == 0; }), e.end());
    notifyAndCheck(s);
  }
  for (int i = 0; i < 20; ++i) {
    log.clear();
    kv::NotifyObjObservers(kv::New<Node>());  // may reuse a dead subject's address
    EXPECT_TRUE(log.empty());
  }

  // A call that detaches a later observer stops it; one attached by a call
  // waits for the next notification.
  Node* subject = subjects[1].get();
  expected[1].clear();
  for (int l = 1; l < kListeners; l += 2) kv::DetachObjObserver(slot(l), subject);
  for (int l : {1, 3, 5}) kv::AttachObjObserver(slot(l), subject);
  listeners[1]->subject = listeners[3]->subject = subject;
  listeners[1]->dropOnCall = listeners[5].get();
  listeners[3]->addOnCall = listeners[7].get();
  log.clear();
  kv::NotifyObjObservers(subject);
  EXPECT_EQ(log, (std::vector<int>{1, 3}));
  listeners[1]->dropOnCall = listeners[3]->addOnCall = nullptr;
  log.clear();
  kv::NotifyObjObservers(subject);
  EXPECT_EQ(log, (std::vector<int>{1, 3, 7}));
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
