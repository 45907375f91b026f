#include "known_faults.h"

#include <fstream>
// GCC 12 sees a false "may be used uninitialised" inside <regex> when the
// sanitizers instrument it; the header's own code is not ours to change.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
#pragma GCC diagnostic pop

#include "tvui_paths.h"

namespace kvtest {

namespace {

// The place of a text as the picture check writes it: the view's class, then
// its owners out to the outermost screen ("Views::Text in A::B < C::D").
const std::string kPlace = R"([A-Za-z_][A-Za-z0-9_]*(::[A-Za-z_][A-Za-z0-9_]*)+)"
                           R"( in [A-Za-z_][A-Za-z0-9_:]*( < [A-Za-z_][A-Za-z0-9_:]*[A-Za-z0-9_])*)";
const std::string kClass = R"([A-Za-z_][A-Za-z0-9_]*::[A-Za-z_][A-Za-z0-9_]*)";
// A whole text: its place, then the text between its quotes, to its end.
const std::string kText = kPlace + R"(: ".*")";

struct Form {
  const char* kind;
  std::regex whole;
};

const std::vector<Form>& Forms() {
  static const std::vector<Form> forms = [] {
    std::vector<Form> f;
    for (const char* kind : {"text cut: ", "text partly hidden: ", "text runs into a box: ", "text of ours shortened: ",
                             "address or number shortened: ", "name shortened with room left: ", "word broken: ", "text touches the rim: "})
      f.push_back({kind, std::regex(std::string("^") + kind + kText + "$")});
    // Both texts of a pair.
    for (const char* kind : {"texts overlap: ", "texts run together: ", "texts read the same: "})
      f.push_back({kind, std::regex(std::string("^") + kind + kText + " and " + kText + "$")});
    f.push_back({"drawn under a screen: ", std::regex("^drawn under a screen: " + kClass + " under " + kClass + "$")});
    f.push_back({"a notice stays on screen: ", std::regex(R"(^a notice stays on screen: "[^"]*"( "[^"]*")*$)")});
    f.push_back({"gallery: ", std::regex(R"(^gallery: shots [A-Za-z0-9_.-]+ and [A-Za-z0-9_.-]+ are the same picture$)")});
    return f;
  }();
  return forms;
}

struct Listed {
  std::vector<std::string> cases, refused;
};

const Listed& Read() {
  static const Listed listed = [] {
    Listed out;
    std::ifstream in(std::string(TVUI_SOURCE_DIR) + "/tests/scenes/known-faults.txt");
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      if (line.empty() || line[0] == '#') continue;
      const size_t bar = line.find(" | ");
      const std::string text = bar == std::string::npos ? std::string() : line.substr(bar + 3);
      const std::string why = bar == std::string::npos ? "no \" | \" between the fault and its TEXT" : WhyRefused(text);
      if (why.empty())
        out.cases.push_back(text);
      else
        out.refused.push_back("tests/scenes/known-faults.txt line " + std::to_string(number) + ": " + why);
    }
    return out;
  }();
  return listed;
}

}  // namespace

std::string WhyRefused(std::string_view pattern) {
  const std::string p(pattern);
  for (const Form& f : Forms()) {
    if (p.rfind(f.kind, 0) != 0) continue;
    if (std::regex_match(p, f.whole)) return {};
    return "\"" + p + "\" does not name one whole report \"" + f.kind +
           "...\": the whole place of each text (to its outermost screen) and the whole text in quotes, or both "
           "classes";
  }
  return "\"" + p + "\" starts with no kind of report that the checks write";
}

std::string WithoutRectangles(std::string_view report) {
  static const std::regex rectangles(R"( glyphs \(-?\d+,-?\d+\)-\(-?\d+,-?\d+\) visible \(-?\d+,-?\d+\)-\(-?\d+,-?\d+\))");
  return std::regex_replace(std::string(report), rectangles, "");
}

const std::vector<std::string>& KnownFaults() { return Read().cases; }

const std::vector<std::string>& RefusedKnownFaults() { return Read().refused; }

bool IsKnownFault(std::string_view report) {
  const std::string plain = WithoutRectangles(report);
  for (const std::string& c : KnownFaults())
    if (plain.find(c) != std::string::npos) return true;
  return false;
}

std::vector<std::string> Unlisted(const std::vector<std::string>& faults) {
  std::vector<std::string> out;
  for (const std::string& f : faults)
    if (!IsKnownFault(f)) out.push_back(f);
  return out;
}

}  // namespace kvtest
