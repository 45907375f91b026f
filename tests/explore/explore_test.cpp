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
// of the walks after it (WalkRules::StepRules). A key that leaves the state
// as it was is followed at once by the next; otherwise the state is reached
// again by replaying its steps on a new set (AppTest::StartAfresh and the
// start's lines). The states a key reaches are expanded in turn, to the
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
#include <gtest/gtest.h>

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
  return pages.count(s.name.substr(0, space)) > 0;
}

int EnvInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

// `make test`'s share: the places a viewer spends time and the Channels page
// (three keys deep), and every screen start one key deep, dealt out over
// kParts parts.
struct Share {
  size_t start;
  int depth;
};
std::vector<Share> TestShare(int part, int parts) {
  std::vector<Share> out;
  const std::vector<Start>& starts = Starts();
  for (size_t i = 0; i < starts.size(); ++i) {
    if (static_cast<int>(i % static_cast<size_t>(parts)) != part) continue;
    const bool place = i < std::size(kPlaces);
    const bool channels = starts[i].name.rfind("MenuSystem::ChannelsMenu", 0) == 0;
    if (channels) out.push_back({i, 3});
    else if (place && i % 4 == 0) out.push_back({i, 1});
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
  int depth = 0;     // the deepest state expanded
  double seconds = 0;
};

class ExploreTest : public WalkRules, public ::testing::WithParamInterface<int> {
 protected:
  // A fault the exploration found: the rule and the steps that break it.
  struct Found {
    std::string rule;
    std::string detail;
    size_t start = 0;
    std::vector<Step> steps;
    int times = 0;
  };
  // The state the viewer meets: the screens open, the focus chain and the
  // picture (the clock masked), or its texts while an animation goes on.
  std::string Fingerprint() {
    Settle();
    for (int i = 0; i < 30 && App().IsAnimationRunning(); ++i) Run(100);
    std::string out = Classes(DrawnForms()) + " |";
    for (Core::View* v = Focused(); v; v = v->Owner()) out += " " + std::string(kv::ClassOf(v)->name);
    const std::vector<Core::SeenText> texts = SeenTexts();
    std::vector<kv::Rect> masked;
    out += " |";
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
    plugged_ = Starts()[start].stick;
    StartAfresh();
    lastOpen_.clear();
    Core::TakeCutTexts();
    if (language != 0) {
      kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper))->SetMenuLanguage(language);
      Settle();
    }
    Verdict v;
    if (!PlayLines(Starts()[start].lines, &v)) return {"a line the exploration cannot play", Starts()[start].lines};
    return check ? v : Verdict{};
  }

  // Plays steps without judging them (they were judged when first taken);
  // the covers' memory of the screens open goes along.
  void Replay(const std::vector<Step>& steps) {
    Verdict ignored;
    for (const Step& s : steps) PlayLines(Lines({s}), &ignored);
  }

  // Plays the start and the steps on a new set with every check; the first
  // broken rule.
  Verdict Check(size_t start, const std::vector<Step>& steps) {
    try {
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

  // The steps a broken rule needs: each left out where the rule still
  // breaks without it (the last stays).
  std::vector<Step> Shrink(size_t start, std::vector<Step> steps, const std::string& rule) {
    for (size_t i = steps.size() - 1; i-- > 0;) {
      std::vector<Step> without = steps;
      without.erase(without.begin() + static_cast<std::ptrdiff_t>(i));
      if (Check(start, without).rule == rule) steps = without;
    }
    for (Step& s : steps) {
      if (!s.wait || s.event) continue;
      const int wait = s.wait;
      s.wait = 0;
      if (Check(start, steps).rule != rule) s.wait = wait;
    }
    return steps;
  }

  std::string Script(const Found& f) {
    std::string out = "# from " + Starts()[f.start].name + ": " + f.rule + (f.detail.empty() ? "" : " (" + f.detail + ")") + "\n";
    if (Starts()[f.start].stick) out += "media players\n";
    return out + Starts()[f.start].lines + Lines(f.steps);
  }

  // A broken rule, once for each rule (the first steps that broke it kept).
  void Note(const Verdict& v, size_t start, const std::vector<Step>& steps) {
    Found& f = found_[v.rule];
    if (f.times++ == 0) {
      f.rule = v.rule;
      f.detail = v.detail;
      f.start = start;
      f.steps = steps;
    }
  }

  // The Spanish and the French picture of a state: its steps replayed on a
  // new set in that language, the picture check after the last.
  void LookInLanguages(size_t start, const std::vector<Step>& steps) {
    static const char* kNames[] = {"English", "Spanish", "French"};
    for (int language = 1; language <= 2; ++language) {
      try {
        Begin(start, language, false);
        Replay(steps);
        Settle();
        if (App().IsAnimationRunning() || App().GetStandby()->IsInStandby()) continue;
        for (const std::string& fault : Core::TextFaults(SeenTexts()))
          if (!kvtest::IsKnownFault(fault)) {
            Note({std::string("picture (") + kNames[language] + "): " + fault, Classes(DrawnForms())}, start, steps);
            break;
          }
      } catch (const std::exception& e) {
        Note({std::string("the set halted: ") + e.what(), ""}, start, steps);
      }
    }
  }

  // Breadth first from the start, `depth` keys deep at least and deeper
  // while `seconds` last; `languages`: new states are looked at in Spanish
  // and French.
  Coverage Explore(size_t start, int depth, double seconds, bool languages) {
    const auto began = std::chrono::steady_clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count(); };
    Coverage c;
    struct Node {
      std::vector<Step> steps;
      int depth = 0;
      std::string fingerprint;
    };
    std::deque<Node> frontier;
    std::set<std::string> seen;
    int notice = 0;  // the next notice type to take
    std::vector<SetEvent> notices, others;
    for (const SetEvent& e : SetEvents()) (IsNoticeEvent(e) ? notices : others).push_back(e);

    Verdict v = Begin(start, 0, true);
    ++c.replays;
    if (v.Broken()) {
      Note(v, start, {});
      return c;
    }
    frontier.push_back({{}, 0, Fingerprint()});
    seen.insert(frontier.back().fingerprint);
    c.states = 1;
    if (languages) LookInLanguages(start, {});
    bool atFront = true;  // the set shows the front node's state
    while (!frontier.empty()) {
      Node node = std::move(frontier.front());
      frontier.pop_front();
      if (node.depth >= depth && elapsed() > seconds) break;
      c.depth = std::max(c.depth, node.depth);
      ++c.expanded;
      std::vector<Step> alphabet = KeySteps();
      alphabet.push_back({notices[static_cast<size_t>(notice++) % notices.size()].line, 0, true});
      for (const SetEvent& e : others) alphabet.push_back({e.line, e.wait, true});
      std::vector<Step> path = node.steps;  // the steps played since the start
      for (const Step& step : alphabet) {
        if (!atFront) {
          Begin(start, 0, false);
          Replay(node.steps);
          path = node.steps;
          ++c.replays;
        }
        ++c.steps;
        path.push_back(step);
        Verdict broken;
        try {
          PlayLines(Lines({step}), &broken);
        } catch (const std::exception& e) {
          broken = {std::string("the set halted: ") + e.what(), ""};
        }
        if (broken.Broken()) {
          Note(broken, start, path);
          atFront = false;
          continue;
        }
        const std::string fp = Fingerprint();
        atFront = fp == node.fingerprint;
        if (atFront) continue;
        if (!seen.insert(fp).second) continue;
        ++c.states;
        if (languages) {
          LookInLanguages(start, path);
          atFront = false;
        }
        if (!step.event) frontier.push_back({path, node.depth + 1, fp});
      }
      // A state the replay does not reach again (the set's time differs)
      // is left: the next node starts from a new set anyway.
      atFront = false;
    }
    c.seconds = elapsed();
    return c;
  }

  // Shrinks and reports every fault found; those found.txt lists as still
  // to mend with the same script are counted apart.
  void Report() {
    for (auto& [rule, f] : found_) {
      f.steps = Shrink(f.start, f.steps, rule);
      const std::string script = Script(f);
      std::string line = (Starts()[f.start].stick ? "media players\n" : "") + Starts()[f.start].lines + Lines(f.steps);
      if (StillToMend().count(rule + " | " + OneLine(line))) {
        std::printf("explore: %d step(s) broke a rule still to mend: %s\n", f.times, rule.c_str());
        continue;
      }
      ADD_FAILURE() << f.times << " step(s): " << rule << "\n" << script << "one line: " << OneLine(line);
    }
  }

  std::map<std::string, Found> found_;
};

void Print(const std::string& name, const Coverage& c) {
  std::printf("explore: %-50s %5d states, %4d expanded, %6d steps, depth %d, %5d new sets, %.0f s\n", name.c_str(),
              c.states, c.expanded, c.steps, c.depth, c.replays, c.seconds);
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
    for (size_t i = 0; i < Starts().size(); ++i)
      if (static_cast<int>(i % static_cast<size_t>(parts)) == part)
        share.push_back({i, IsMenuPageStart(Starts()[i]) ? std::max(depth, 5) : depth});
  } else {
    share = TestShare(part, parts);
  }
  const double seconds = all ? EnvInt("EXPLORE_SECONDS", 0) : 0;
  const char* only = std::getenv("EXPLORE_START");
  int states = 0, steps = 0;
  for (const Share& s : share) {
    if (only && *only && Starts()[s.start].name.find(only) == std::string::npos) continue;
    const Coverage c = Explore(s.start, s.depth, seconds, true);
    Print(Starts()[s.start].name, c);
    states += c.states;
    steps += c.steps;
  }
  std::printf("explore: %zu starts, %d states, %d steps\n", share.size(), states, steps);
  Report();
}

INSTANTIATE_TEST_SUITE_P(Parts, ExploreTest, ::testing::Range(0, kParts));

}  // namespace
