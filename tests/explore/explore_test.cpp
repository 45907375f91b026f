// The exploration: every key of the remote, and what happens to a set, in
// every state a key reaches, breadth first from every start of the random
// walks (tests/walks/walk_rules.h).
//
// A state is what the viewer meets: the screens open, the focus (the chain
// of views that holds it) and the picture, with the clock and what moves
// left out (the texts that read as a time are masked; while an animation
// will not end the picture counts by its texts alone). A state met twice is
// expanded once. From each state the exploration takes every key (the ten
// digits count as one: "1"; the power key is an event) and every event of
// walks::SetEvents (the message bar's notices one a state, in turn, so that
// every type comes up), each followed by a short wait, and checks every rule
// of the walks after it (WalkRules::StepRules). A step that leaves the set
// in a state with steps left goes on from there; otherwise the set goes
// back to one by at most three steps, each judged like any other (the steps
// known to lead there, or the key that undoes the last one, or Back), and
// only then is a state reached again by replaying its steps on a new set
// (AppTest::StartAfresh and the start's lines). The states a key reaches are expanded in turn, to the
// depth the run asks for; those an event reaches are checked, not expanded.
// Every new state is then looked at in Spanish and in French (its steps
// replayed on a new set in that menu language) by the picture check.
//
// A broken rule is shrunk (the steps it can do without left out) and
// reported once for each rule with its key script; faults found.txt marks
// still to mend are counted apart. The run prints, for each start, the
// states and the steps it covered.
//
// `make test` plays a fixed share (kShare: some starts to a small depth,
// the ctest entries explore_tests_N); `make explore` plays all of it
// (EXPLORE_ALL=1, tools/explore.sh), at least two keys deep from every start
// and five from the menu pages', deeper while the time EXPLORE_SECONDS a
// start allows lasts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/keys/keytable.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Wrapper/Wrapper.h"
#include "walks/walk_rules.h"

namespace {

using namespace walks;

// `make test`'s share: kParts tests, each a part of the starts below.
constexpr int kParts = 4;
// A step's wait after a key: the menus' moves end within it.
constexpr int kKeyWaitMs = 500;
// Steps taken at most to go back to a state with steps left before a new
// set is started for it.
constexpr int kWayBack = 3;

// One step of the exploration: a key or an event, and the wait after it.
struct Step {
  std::string line;
  int wait = 0;
  bool event = false;
};

std::string Lines(const std::vector<Step>& steps) {
  std::string out;
  for (const Step& s : steps) {
    out += s.line + "\n";
    if (s.wait) out += "wait " + std::to_string(s.wait) + "\n";
  }
  return out;
}

// The remote's keys but power (an event), the ten digits as one.
const std::vector<Step>& KeySteps() {
  static const std::vector<Step> keys = [] {
    std::vector<Step> out;
    for (const std::string& name : host::KeyMapScriptNames()) {
      if (name == "power" || name == "panel-power") continue;
      if (name.size() == 1 && name[0] >= '0' && name[0] <= '9' && name != "1") continue;
      out.push_back({name, kKeyWaitMs, false});
    }
    return out;
  }();
  return keys;
}

// The starts whose states go five keys deep: the pages of the menu.
bool IsMenuPageStart(const Start& s) {
  static const std::set<std::string> pages = [] {
    std::set<std::string> out = {"MenuSystem::VidiOptionMenu"};
    for (const kv::Class* c : kv::AllClasses())
      if (c->Is(&MenuSystem::VidiSubMenu::StaticClass())) out.insert(c->name);
    return out;
  }();
  const size_t space = s.name.find(' ');
  return pages.count(s.name.substr(0, space)) > 0 || EndsWith(s.name, " page");
}

int EnvInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

// `make test`'s share, the same every run: from the Channels page the keys
// that move about a menu, three deep (the roads that leave the page without
// the menu's column lie there), and every step one deep from some of the
// places a viewer spends time, looked at in the three languages (no player:
// its picture moves for as long as it plays, which makes every step
// slower); dealt out
// over kParts parts of about a minute each.
struct Share {
  size_t start;
  int depth;
  bool moving = false;  // the keys that move about a menu only, no events, English only
};
std::vector<Share> TestShare(int part) {
  struct Entry {
    const char* start;
    int depth;
    bool moving;
    int part;
  };
  static const Entry kShare[] = {
      {"Channels page", 3, true, 0},
      {"live TV", 1, false, 1},
      {"live TV in standby", 1, false, 1},
      {"HDMI 1", 1, false, 2},
      {"AV input, no signal", 1, false, 3},
      {"MenuSystem::VidiPictureMenu", 1, false, 3},
  };
  std::vector<Share> out;
  for (const Entry& e : kShare) {
    if (e.part != part) continue;
    for (size_t i = 0; i < Starts().size(); ++i)
      if (Starts()[i].name == e.start) out.push_back({i, e.depth, e.moving});
  }
  return out;
}

// A text that holds a time of day ("7:05", "07:05 PM"): the clock's.
bool ReadsAsTime(const std::string& text) {
  const auto digit = [&](size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
  for (size_t i = 1; i < text.size(); ++i)
    if (text[i] == ':' && digit(i - 1) && digit(i + 1) && digit(i + 2)) return true;
  return false;
}

// What the exploration covered from a start.
struct Coverage {
  int states = 0;    // distinct states met
  int expanded = 0;  // of them expanded
  int steps = 0;     // keys and events taken
  int replays = 0;   // new sets started to reach a state again
  int lost = 0;      // states their steps did not reach again
  int depth = 0;     // the deepest state expanded
  double seconds = 0;
};

class ExploreTest : public WalkRules, public ::testing::WithParamInterface<int> {
 protected:
  // A fault the exploration found: the rule, the steps that break it and
  // the menu language they were played in.
  struct Found {
    std::string rule;
    std::string detail;
    size_t start = 0;
    int language = 0;
    std::vector<Step> steps;
    int times = 0;
  };
  // A state met: how it was first reached (or by fewest keys since), its
  // depth in keys, and the steps still to take from it.
  struct State {
    std::string shape;  // the screens and the focus, whatever the language
    std::vector<Step> path;
    int depth = 0;
    bool byKey = true;  // reached by keys alone (an event's state is not expanded)
    std::vector<Step> alphabet;
    size_t next = 0;    // alphabet[next] is the next step to take
    bool dropped = false;  // its steps did not lead back to it
  };
  struct Edge {
    Step step;
    int to;
  };

  // The screens open and the focus chain (what the viewer works in), and in
  // standby only that.
  std::string Shape() {
    std::string out = (App().GetStandby()->IsInStandby() ? "standby " : "") + Classes(DrawnForms()) + " |";
    for (Core::View* v = Focused(); v; v = v->Owner()) out += " " + std::string(kv::ClassOf(v)->name);
    return out;
  }

  // The state the viewer meets: its shape and its picture (the texts of
  // the clock masked), or its texts alone while an animation goes on.
  std::string Fingerprint() {
    Settle();
    for (int i = 0; i < 30 && App().IsAnimationRunning(); ++i) Run(100);
    std::string out = Shape() + " |";
    const std::vector<Core::SeenText> texts = SeenTexts();
    std::vector<kv::Rect> masked;
    for (const Core::SeenText& t : texts) {
      if (ReadsAsTime(t.text)) {
        masked.push_back(t.visible);
        continue;
      }
      if (t.cover != Core::Cover::kWholly) out += " \"" + t.text + "\"";
    }
    if (App().IsAnimationRunning()) return out;
    App().Redraw();
    const ge::Surface& s = Osd();
    uint64_t h = 1469598103934665603ull;
    for (int32_t y = 0; y < s.height; ++y) {
      const uint32_t* row = s.Row(y);
      for (int32_t x = 0; x < s.width; ++x) {
        bool hidden = false;
        for (const kv::Rect& r : masked) hidden |= x >= r.x1 && x < r.x2 && y >= r.y1 && y < r.y2;
        h = (h ^ (hidden ? 0u : row[x])) * 1099511628211ull;
      }
    }
    return out + " #" + std::to_string(h);
  }

  // A new set in `language` (0 English, 1 Spanish, 2 French) at the start.
  // With `check`, the start's lines are checked as a walk's.
  Verdict Begin(size_t start, int language, bool check) {
    plugged_ = Starts()[start].media;
    StartAfresh();
    lastOpen_.clear();
    Core::TakeCutTexts();
    if (language != 0) {
      kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper))->SetMenuLanguage(language);
      Settle();
    }
    Verdict v;
    judging_ = check;
    const bool played = PlayLines(Starts()[start].lines, &v);
    judging_ = true;
    if (!played) return {"a line the exploration cannot play", Starts()[start].lines};
    return check ? v : Verdict{};
  }

  // Plays steps without judging them (they were judged when first taken);
  // the covers' memory of the screens open goes along.
  void Replay(const std::vector<Step>& steps) {
    Verdict ignored;
    judging_ = false;
    for (const Step& s : steps) PlayLines(Lines({s}), &ignored);
    judging_ = true;
  }

  // The picture check of the state shown, as in a language other than
  // English: the first fault known-faults.txt does not list.
  Verdict LookAt(int language) {
    static const char* kNames[] = {"English", "Spanish", "French"};
    Settle();
    for (int i = 0; i < 30 && App().IsTransitionRunning(); ++i) Run(100);
    if (App().IsTransitionRunning() || App().GetStandby()->IsInStandby()) return {};
    for (const std::string& fault : Core::TextFaults(SeenTexts()))
      if (!kvtest::IsKnownFault(fault)) return {std::string("picture (") + kNames[language] + "): " + fault, Classes(DrawnForms())};
    return {};
  }

  // Plays the start and the steps on a new set with every check (in
  // English), or looks at the picture they lead to (in another language);
  // the first broken rule.
  Verdict Check(size_t start, int language, const std::vector<Step>& steps) {
    try {
      if (language != 0) {
        Begin(start, language, false);
        Replay(steps);
        return LookAt(language);
      }
      Verdict v = Begin(start, 0, true);
      if (v.Broken()) return v;
      for (const Step& s : steps)
        if (PlayLines(Lines({s}), &v), v.Broken()) return v;
      for (const std::string& cut : Core::TakeCutTexts())
        if (!kvtest::IsKnownFault("text cut: " + cut)) return {"text cut: " + cut, ""};
    } catch (const std::exception& e) {
      return {std::string("the set halted: ") + e.what(), ""};
    }
    return {};
  }

  // The steps a broken rule needs: runs of them left out where the rule
  // still breaks without them (the last step stays), then the keys' waits.
  std::vector<Step> Shrink(const Found& f) {
    std::vector<Step> steps = f.steps;
    if (Check(f.start, f.language, steps).rule != f.rule) return steps;  // not reproduced: left as played
    // Runs of four, two and one steps before the last.
    for (size_t run : {4, 2, 1}) {
      for (size_t end = steps.size() - 1; end > 0;) {
        const size_t begin = end > run ? end - run : 0;
        std::vector<Step> without = steps;
        without.erase(without.begin() + static_cast<std::ptrdiff_t>(begin),
                      without.begin() + static_cast<std::ptrdiff_t>(end));
        if (Check(f.start, f.language, without).rule == f.rule) steps = without;
        end = begin;
      }
    }
    for (Step& s : steps) {
      if (!s.wait || s.event) continue;
      const int wait = s.wait;
      s.wait = 0;
      if (Check(f.start, f.language, steps).rule != f.rule) s.wait = wait;
    }
    return steps;
  }

  std::string ScriptLines(const Found& f) {
    static const char* kCodes[] = {"eng", "spa", "fre"};
    std::string out;
    if (!Starts()[f.start].media.empty()) out += "media " + Starts()[f.start].media + "\n";
    if (f.language != 0) out += std::string("# a set in ") + kCodes[f.language] + " (reg.s.menu_language)\n";
    return out + Starts()[f.start].lines + Lines(f.steps);
  }

  // A broken rule, once for each rule and screens (the first steps that
  // broke it kept).
  // The same rule broken from other screens is another fault (the screens
  // open before the step, `from`).
  void Note(const Verdict& v, size_t start, int language, const std::vector<Step>& steps, const std::string& from) {
    Found& f = found_[v.rule + " | from " + from];
    if (f.times++ != 0) return;
    f = {v.rule, v.detail, start, language, steps, 1};
    // Printed at once, as played (a long run's faults show before its end).
    std::printf("explore: found from %s: %s\n  as played: %s\n", Starts()[start].name.c_str(), v.rule.c_str(),
                OneLine(ScriptLines(f)).c_str());
    std::fflush(stdout);
  }

  // The steps a state takes: every key, and of the events all from the
  // start's own state, from the others the message bar's notices one a
  // state and three of the other events, each in turn, so that every
  // event comes at many moments.
  std::vector<Step> Alphabet(bool first) {
    if (moving_) {
      std::vector<Step> keys;
      for (const char* k : {"up", "down", "left", "right", "ok", "back", "exit", "menu"}) keys.push_back({k, kKeyWaitMs, false});
      return keys;
    }
    std::vector<Step> out = KeySteps();
    std::vector<SetEvent> notices, others;
    for (const SetEvent& e : SetEvents()) (IsNoticeEvent(e) ? notices : others).push_back(e);
    if (first) {
      for (const SetEvent& e : SetEvents()) out.push_back({e.line, e.wait, true});
      return out;
    }
    const SetEvent& n = notices[static_cast<size_t>(turn_) % notices.size()];
    out.push_back({n.line, n.wait, true});
    for (int i = 0; i < 3; ++i) {
      const SetEvent& e = others[static_cast<size_t>(turn_ * 3 + i) % others.size()];
      out.push_back({e.line, e.wait, true});
    }
    ++turn_;
    return out;
  }

  // The steps known to lead from state `from` to the nearest state that
  // `goal` accepts, at most three; empty where none is known.
  template <typename Goal>
  std::vector<Edge> RouteTo(int from, const Goal& goal) {
    std::map<int, std::pair<int, Edge>> came;  // state -> (previous, step)
    std::deque<std::pair<int, int>> queue = {{from, 0}};
    came[from] = {-1, {}};
    int found = -1;
    while (!queue.empty() && found < 0) {
      const auto [s, n] = queue.front();
      queue.pop_front();
      if (n >= 3) continue;
      for (const Edge& e : edges_[s]) {
        if (came.count(e.to) || states_[static_cast<size_t>(e.to)].dropped) continue;
        came[e.to] = {s, e};
        if (goal(e.to)) {
          found = e.to;
          break;
        }
        queue.push_back({e.to, n + 1});
      }
    }
    std::vector<Edge> route;
    for (int s = found; s >= 0 && s != from; s = came[s].first) route.insert(route.begin(), came[s].second);
    return route;
  }

  // The key that undoes `key` where one does (Down after Up), else Back.
  static std::string Undoing(const std::string& key) {
    static const std::map<std::string, std::string> kUndo = {
        {"up", "down"},   {"down", "up"},     {"left", "right"}, {"right", "left"},
        {"ch+", "ch-"},   {"ch-", "ch+"},     {"vol+", "vol-"},  {"vol-", "vol+"},
        {"prev", "next"}, {"next", "prev"},   {"panel-ch+", "panel-ch-"}, {"panel-ch-", "panel-ch+"},
        {"panel-vol+", "panel-vol-"}, {"panel-vol-", "panel-vol+"}, {"rewind", "forward"}, {"forward", "rewind"}};
    const auto it = kUndo.find(key);
    return it == kUndo.end() ? "back" : it->second;
  }

  // From the start, every step in every state a key reaches, `depth` keys
  // deep at least and deeper while `seconds` last; `languages`: each state
  // is then looked at in Spanish and French. A step taken leaves the set in
  // a state whose own steps are taken next, where some are left; otherwise
  // the next state with steps left, fewest keys from the start first, is
  // reached again on a new set by its steps.
  Coverage Explore(size_t start, int depth, double seconds, bool languages) {
    const auto began = std::chrono::steady_clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count(); };
    Coverage c;
    states_.clear();
    index_.clear();
    edges_.clear();
    const auto wanted = [&](const State& st) {
      return st.byKey && !st.dropped && st.next < st.alphabet.size() && (st.depth < depth || elapsed() < seconds);
    };
    const auto add = [&](const std::string& fp, std::vector<Step> path, int d, bool byKey) {
      states_.push_back({Shape(), std::move(path), d, byKey, Alphabet(states_.empty()), 0, false});
      index_[fp] = static_cast<int>(states_.size()) - 1;
      return static_cast<int>(states_.size()) - 1;
    };

    Verdict v = Begin(start, 0, true);
    ++c.replays;
    if (v.Broken()) {
      Note(v, start, 0, {}, "the start");
      return c;
    }
    int cur = add(Fingerprint(), {}, 0, true);
    std::vector<Step> actual;  // the steps played on this set
    // Takes a step from state `from` on the set as it is, with every rule
    // after it; the state it leads to (met before or new), or -1 where a
    // rule broke (the set is then left).
    const auto take = [&](int from, const Step& step) {
      const std::string before = states_[static_cast<size_t>(from)].shape.substr(
          0, states_[static_cast<size_t>(from)].shape.find(" |"));
      ++c.steps;
      actual.push_back(step);
      auto t1 = std::chrono::steady_clock::now();
      Verdict broken;
      try {
        PlayLines(Lines({step}), &broken);
      } catch (const std::exception& e) {
        broken = {std::string("the set halted: ") + e.what(), ""};
      }
      timeStep_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count();
      if (broken.Broken()) {
        if (trace_) std::printf("explore: %s breaks %s\n", step.line.c_str(), broken.rule.c_str());
        Note(broken, start, 0, actual, before);
        return -1;
      }
      t1 = std::chrono::steady_clock::now();
      const std::string fp = Fingerprint();
      timeLook_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count();
      if (trace_) std::printf("explore: %s -> %s\n", step.line.c_str(), fp.c_str());
      // The steps to reach a state again: its source's and this one (where
      // the set came to the source another way, they may lead elsewhere:
      // the state is then left, counted as not reached again).
      const State& source = states_[static_cast<size_t>(from)];
      std::vector<Step> path = source.path;
      path.push_back(step);
      const int d = source.depth + (step.event ? 0 : 1);
      const bool byKey = source.byKey && !step.event;
      int to;
      const auto it = index_.find(fp);
      if (it == index_.end()) {
        to = add(fp, std::move(path), d, byKey);
      } else {
        to = it->second;
        State& known = states_[static_cast<size_t>(to)];
        // Reached by fewer keys (or by keys alone, where an event reached it first).
        if (byKey && (!known.byKey || d < known.depth)) {
          known.path = std::move(path);
          known.depth = d;
          known.byKey = true;
        }
      }
      std::vector<Edge>& out = edges_[from];
      if (to != from && std::none_of(out.begin(), out.end(), [&](const Edge& e) { return e.to == to && e.step.line == step.line; }))
        out.push_back({step, to});
      return to;
    };
    int wayBack = 0;  // steps taken to go back to a state with steps left since one was left
    // After a replay that led elsewhere, the state met by chance is not
    // gone back from: its own steps, or else a new set.
    bool mayGoBack = true;
    while (true) {
      if (cur >= 0 && !wanted(states_[static_cast<size_t>(cur)]) && mayGoBack && wayBack < kWayBack) {
        // A new set costs far more than a step: first the way back along
        // the steps known from here (a state met again), or else the key
        // that undoes the last one (or Back), itself a step with every rule.
        const std::vector<Edge> route = RouteTo(cur, [&](int s) { return wanted(states_[static_cast<size_t>(s)]); });
        if (!route.empty()) {
          for (const Edge& e : route) {
            ++wayBack;
            const int to = take(cur, e.step);
            cur = to;
            if (to != e.to) break;  // led elsewhere this time
          }
        } else {
          ++wayBack;
          cur = take(cur, {Undoing(actual.empty() ? "" : actual.back().line), kKeyWaitMs, false});
        }
        continue;
      }
      if (cur < 0 || !wanted(states_[static_cast<size_t>(cur)])) {
        // The next state with steps left, fewest keys first, on a new set.
        int target = -1;
        for (size_t i = 0; i < states_.size(); ++i)
          if (wanted(states_[i]) && (target < 0 || states_[i].depth < states_[static_cast<size_t>(target)].depth))
            target = static_cast<int>(i);
        if (target < 0) break;
        auto t0 = std::chrono::steady_clock::now();
        State& t = states_[static_cast<size_t>(target)];
        Begin(start, 0, false);
        Replay(t.path);
        actual = t.path;
        ++c.replays;
        const auto it = index_.find(Fingerprint());
        const int reached = it == index_.end() ? -1 : it->second;
        timeReplay_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (reached != target) {
          // The steps lead elsewhere now (what the set keeps beyond the
          // picture differs): that state is left.
          t.dropped = true;
          ++c.lost;
          cur = reached;
          mayGoBack = false;
          continue;
        }
        cur = target;
      }
      wayBack = 0;
      mayGoBack = true;
      State& here = states_[static_cast<size_t>(cur)];
      const Step step = here.alphabet[here.next++];
      c.depth = std::max(c.depth, here.depth);
      cur = take(cur, step);
    }
    for (const State& st : states_) c.expanded += st.next > 0 ? 1 : 0;
    c.states = static_cast<int>(states_.size());
    if (languages) {
      const auto t0 = std::chrono::steady_clock::now();
      for (int language = 1; language <= 2; ++language) c.replays += LookInLanguage(start, language);
      timeLanguages_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    c.seconds = elapsed();
    if (trace_)
      std::printf("explore: %.1f s reaching states again, %.1f s in steps and rules, %.1f s telling states apart, "
                  "%.1f s in Spanish and French\n",
                  timeReplay_, timeStep_, timeLook_, timeLanguages_);
    return c;
  }

  // Every state met, looked at in the language by the picture check: the
  // set goes from state to state along the steps that led from one to the
  // other in English (the nearest state not looked at yet, at most three
  // steps away), and starts again from a new set by a state's own steps
  // where none lead on. A step that does not reach the screens and focus it
  // reached in English is followed by a new set. The new sets started.
  int LookInLanguage(size_t start, int language) {
    std::vector<bool> looked(states_.size(), false);
    std::vector<Step> actual;
    int cur = -1, sets = 0;
    const auto look = [&](int s) {
      looked[static_cast<size_t>(s)] = true;
      const Verdict v = LookAt(language);
      if (v.Broken()) Note(v, start, language, actual, Classes(DrawnForms()));
    };
    while (true) {
      // The nearest state not looked at, along the steps known.
      const std::vector<Edge> route =
          cur < 0 ? std::vector<Edge>{} : RouteTo(cur, [&](int s) { return !looked[static_cast<size_t>(s)]; });
      if (!route.empty()) {
        bool onTrack = true;
        for (const Edge& e : route) {
          Verdict ignored;
          judging_ = false;
          PlayLines(Lines({e.step}), &ignored);
          judging_ = true;
          actual.push_back(e.step);
          Settle();
          if (Shape() != states_[static_cast<size_t>(e.to)].shape) {
            onTrack = false;
            break;
          }
          cur = e.to;
          if (!looked[static_cast<size_t>(cur)]) look(cur);
        }
        if (!onTrack) cur = -1;
        continue;
      }
      int next = -1;
      for (size_t i = 0; i < states_.size() && next < 0; ++i)
        if (!looked[i] && !states_[i].dropped) next = static_cast<int>(i);
      if (next < 0) break;
      try {
        Begin(start, language, false);
        ++sets;
        Replay(states_[static_cast<size_t>(next)].path);
        actual = states_[static_cast<size_t>(next)].path;
        look(next);
        cur = next;
      } catch (const std::exception& e) {
        Note({std::string("the set halted: ") + e.what(), ""}, start, language, actual, "");
        looked[static_cast<size_t>(next)] = true;
        cur = -1;
      }
    }
    return sets;
  }

  // Shrinks and reports every fault found; those found.txt lists as still
  // to mend with the same script are counted apart.
  void Report() {
    for (auto& [key, f] : found_) {
      const std::string& rule = f.rule;
      f.steps = Shrink(f);
      const std::string lines = ScriptLines(f);
      if (StillToMend().count(rule + " | " + OneLine(lines))) {
        std::printf("explore: %d step(s) broke a rule still to mend: %s\n", f.times, rule.c_str());
        continue;
      }
      ADD_FAILURE() << f.times << " step(s): " << rule << (f.detail.empty() ? "" : " (" + f.detail + ")") << "\n"
                    << lines << "one line: " << OneLine(lines);
    }
  }

  std::map<std::string, Found> found_;
  std::vector<State> states_;
  std::map<std::string, int> index_;        // state by fingerprint
  std::map<int, std::vector<Edge>> edges_;  // the steps that led from a state to another
  int turn_ = 0;                            // the events' turn
  bool moving_ = false;                     // the keys that move about a menu only
  double timeReplay_ = 0, timeStep_ = 0, timeLook_ = 0, timeLanguages_ = 0;
  const bool trace_ = std::getenv("EXPLORE_TRACE") != nullptr;  // each step and the state it reaches
  std::string claims_;  // the folder the processes of a whole run claim their starts in

  // Claims a start for this process: the first to create its file wins.
  bool Claim(size_t start) const {
    const std::string path = claims_ + "/" + std::to_string(start);
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
  }
};

void Print(const std::string& name, const Coverage& c) {
  std::printf("explore: %-50s %5d states, %4d expanded, %6d steps, depth %d, %5d new sets, %d not reached again, %.0f s\n",
              name.c_str(), c.states, c.expanded, c.steps, c.depth, c.replays, c.lost, c.seconds);
  std::fflush(stdout);
}

// One part of the exploration. `make test` plays part N of kParts of the
// share; `make explore` (EXPLORE_ALL=1) plays every start, dealt out over
// EXPLORE_PARTS processes (EXPLORE_PART the one), EXPLORE_DEPTH keys deep
// at least (2; the menu pages 5) and deeper for EXPLORE_SECONDS a start.
TEST_P(ExploreTest, EveryStateKeepsTheRules) {
  const bool all = EnvInt("EXPLORE_ALL", 0) != 0;
  int parts = kParts, part = GetParam();
  if (all) {
    if (part != 0) GTEST_SKIP() << "the whole run plays its parts in processes of their own";
    parts = std::max(1, EnvInt("EXPLORE_PARTS", 1));
    part = EnvInt("EXPLORE_PART", 0);
  }
  std::vector<Share> share;
  if (all) {
    const int depth = EnvInt("EXPLORE_DEPTH", 2);
    // EXPLORE_PLACES=1: the places alone (not the screens' starts);
    // EXPLORE_MOVING=1: the keys that move about a menu alone.
    // With EXPLORE_CLAIMS (a folder the processes share) each process takes
    // the next start no other has claimed, the deep ones first, so that no
    // process is left with the long pages at the end while the others idle;
    // without it the starts are dealt out by their number.
    const char* claims = std::getenv("EXPLORE_CLAIMS");
    const size_t count = EnvInt("EXPLORE_PLACES", 0) ? std::size(kPlaces) : Starts().size();
    for (size_t i = 0; i < count; ++i)
      if ((claims && *claims) || static_cast<int>(i % static_cast<size_t>(parts)) == part)
        share.push_back({i, IsMenuPageStart(Starts()[i]) ? std::max(depth, EnvInt("EXPLORE_PAGE_DEPTH", 5)) : depth,
                         EnvInt("EXPLORE_MOVING", 0) != 0});
    if (claims && *claims) {
      std::stable_sort(share.begin(), share.end(), [](const Share& a, const Share& b) { return a.depth > b.depth; });
      claims_ = claims;
    }
  } else {
    share = TestShare(part);
  }
  const double seconds = all ? EnvInt("EXPLORE_SECONDS", 0) : 0;
  const char* only = std::getenv("EXPLORE_START");
  int played = 0, states = 0, steps = 0;
  for (const Share& s : share) {
    if (only && *only && Starts()[s.start].name.find(only) == std::string::npos) continue;
    if (!claims_.empty() && !Claim(s.start)) continue;
    ++played;
    moving_ = s.moving;
    const Coverage c = Explore(s.start, s.depth, seconds, !s.moving);
    Print(Starts()[s.start].name, c);
    states += c.states;
    steps += c.steps;
  }
  std::printf("explore: %d starts, %d states, %d steps\n", played, states, steps);
  if (std::getenv("EXPLORE_LIST"))
    for (const Share& s : share) std::printf("explore: start %zu %s, depth %d\n", s.start, Starts()[s.start].name.c_str(), s.depth);
  Report();
}

INSTANTIATE_TEST_SUITE_P(Parts, ExploreTest, ::testing::Range(0, kParts));

}  // namespace
