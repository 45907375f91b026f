// Collector benchmarks: the mark phase over view-like trees and long chains
// against a plain walk that touches each live object once, the sweep of
// garbage against the same number of malloc/free pairs, and posting and
// observing at two queue sizes (the cost per item must not grow).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "median_reporter.h"
#include "runtime/collector.h"
#include "runtime/member.h"
#include "runtime/ref.h"
#include "runtime/runtime.h"
#include "runtime/slot.h"

namespace gcb {

// Roughly the shape of a view: a few scalar fields, an owner, a sibling
// link and a list of children.
class Node : public kv::Object {
  KV_CLASS(gcb, Node, kv::Object)
 public:
  kv::Member<Node> owner;
  kv::Member<Node> next;
  kv::MemberVector<Node> children;
  int32_t x = 0, y = 0, w = 0, h = 0;
  uint32_t color = 0;
  int32_t visits = 0;
  void OnPing(kv::Object*) { ++visits; }
};

struct Scene {
  kv::Persistent<Node> root;
  std::vector<Node*> all;
};

// A tree: groups of 8 to 12 children, three levels deep and more, like a screen.
Scene BuildTree(int count) {
  Scene s;
  s.root = kv::New<Node>();
  s.all.push_back(s.root);
  std::vector<Node*> frontier{s.root};
  size_t at = 0;
  while (static_cast<int>(s.all.size()) < count) {
    Node* parent = frontier[at++ % frontier.size()];
    for (int i = 0; i < 10 && static_cast<int>(s.all.size()) < count; ++i) {
      Node* n = kv::New<Node>();
      n->owner = parent;
      parent->children.push_back(n);
      s.all.push_back(n);
      frontier.push_back(n);
    }
  }
  return s;
}

Scene BuildChain(int count) {
  Scene s;
  s.root = kv::New<Node>();
  s.all.push_back(s.root);
  Node* tail = s.root;
  for (int i = 1; i < count; ++i) {
    Node* n = kv::New<Node>();
    tail->next = n;
    tail = n;
    s.all.push_back(n);
  }
  return s;
}

void Mark(benchmark::State& st, bool tree) {
  kv::Runtime::ResetForTests();
  Scene s = tree ? BuildTree(static_cast<int>(st.range(0))) : BuildChain(static_cast<int>(st.range(0)));
  for (auto _ : st) benchmark::DoNotOptimize(kv::MarkOnly());
  s.root.reset();
  kv::Runtime::ResetForTests();
}

// The floor: follow the same structure once, touching each object.
void Walk(benchmark::State& st, bool tree) {
  kv::Runtime::ResetForTests();
  Scene s = tree ? BuildTree(static_cast<int>(st.range(0))) : BuildChain(static_cast<int>(st.range(0)));
  std::vector<Node*> stack;
  for (auto _ : st) {
    int64_t sum = 0;
    stack.push_back(s.root);
    while (!stack.empty()) {
      Node* n = stack.back();
      stack.pop_back();
      sum += ++n->visits;
      if (n->next) stack.push_back(n->next);
      for (size_t i = 0; i < n->children.size(); ++i) stack.push_back(n->children[i]);
    }
    benchmark::DoNotOptimize(sum);
  }
  s.root.reset();
  kv::Runtime::ResetForTests();
}

void BM_MarkTree(benchmark::State& st) { Mark(st, true); }
void BM_WalkTree(benchmark::State& st) { Walk(st, true); }
void BM_MarkChain(benchmark::State& st) { Mark(st, false); }
void BM_WalkChain(benchmark::State& st) { Walk(st, false); }
BENCHMARK(BM_MarkTree)->Arg(10000)->Arg(50000);
BENCHMARK(BM_WalkTree)->Arg(10000)->Arg(50000);
BENCHMARK(BM_MarkChain)->Arg(10000)->Arg(50000);
BENCHMARK(BM_WalkChain)->Arg(10000)->Arg(50000);

void BM_Sweep(benchmark::State& st) {
  kv::Runtime::ResetForTests();
  for (auto _ : st) {
    st.PauseTiming();
    for (int i = 0; i < 10000; ++i) kv::New<Node>();
    st.ResumeTiming();
    benchmark::DoNotOptimize(kv::Collect());
  }
}
BENCHMARK(BM_Sweep);

void BM_MallocFree(benchmark::State& st) {
  std::vector<void*> blocks(10000);
  for (auto _ : st) {
    for (auto& b : blocks) {
      b = std::malloc(sizeof(Node));
      benchmark::DoNotOptimize(b);
    }
    for (void* b : blocks) std::free(b);
  }
}
BENCHMARK(BM_MallocFree);

// Posting n distinct slots, re-posting each once (moves it to the end), and
// draining them in one pass.
void BM_PostDrain(benchmark::State& st) {
  kv::Runtime::ResetForTests();
  Scene s = BuildChain(static_cast<int>(st.range(0)));
  for (auto _ : st) {
    for (Node* n : s.all) kv::PostSignal(kv::MakeSlot(n, &Node::OnPing));
    for (Node* n : s.all) kv::PostSignal(kv::MakeSlot(n, &Node::OnPing));
    kv::Runtime::EndOfPass();
  }
  st.SetItemsProcessed(st.iterations() * st.range(0));
  s.root.reset();
  kv::Runtime::ResetForTests();
}
BENCHMARK(BM_PostDrain)->Arg(1024)->Arg(4096);

// Attaching n observers to one subject, notifying them and detaching them.
void BM_Observers(benchmark::State& st) {
  kv::Runtime::ResetForTests();
  Scene s = BuildChain(static_cast<int>(st.range(0)));
  Node* subject = s.root;
  for (auto _ : st) {
    for (Node* n : s.all) kv::AttachObjObserver(kv::MakeSlot(n, &Node::OnPing), subject);
    kv::NotifyObjObservers(subject);
    for (Node* n : s.all) kv::DetachObjObserver(kv::MakeSlot(n, &Node::OnPing), subject);
  }
  st.SetItemsProcessed(st.iterations() * st.range(0));
  s.root.reset();
  kv::Runtime::ResetForTests();
}
BENCHMARK(BM_Observers)->Arg(1024)->Arg(4096);

}  // namespace gcb

int main(int argc, char** argv) {
  // The ratios compare mark and walk, sweep and malloc: their repetitions interleave.
  if (!benchutil::InitializeInterleaved(argc, argv, 10, 0.05)) return 1;
  benchutil::MedianReporter rep;
  benchmark::RunSpecifiedBenchmarks(&rep);
  auto ratio = [&](const char* a, const char* b, double goal) {
    const double ma = rep.Median(a), mb = rep.Median(b);
    if (ma <= 0 || mb <= 0) return;
    std::printf("%-28s %10.0f ns  vs %-24s %10.0f ns  ratio %.2f (goal <= %.1f)\n", a, ma, b, mb, ma / mb, goal);
  };
  std::printf("\nMedians and ratios:\n");
  for (const char* n : {"10000", "50000"}) {
    std::string mt = std::string("BM_MarkTree/") + n, wt = std::string("BM_WalkTree/") + n;
    std::string mc = std::string("BM_MarkChain/") + n, wc = std::string("BM_WalkChain/") + n;
    ratio(mt.c_str(), wt.c_str(), 3.0);
    ratio(mc.c_str(), wc.c_str(), 3.0);
  }
  ratio("BM_Sweep", "BM_MallocFree", 2.0);
  // Four times the items should cost four times as much: per item, the ratio stays near 1.
  auto perItem = [&](const char* small, const char* large) {
    const double ms = rep.Median(small), ml = rep.Median(large);
    if (ms <= 0 || ml <= 0) return;
    std::printf("%-28s per item vs %-24s ratio %.2f (goal <= 2.0)\n", large, small, (ml / 4096) / (ms / 1024));
  };
  perItem("BM_PostDrain/1024", "BM_PostDrain/4096");
  perItem("BM_Observers/1024", "BM_Observers/4096");
  std::printf("sizeof(kv::Object) %zu bytes; collector bookkeeping per heap object %zu bytes (header and heap array entry)\n",
              sizeof(kv::Object), kv::HeapOverheadPerObject());
  benchmark::Shutdown();
  return rep.ExitStatus();
}
