// Lists the classes that code names before their unit exists
// (KV_LATE_CLASS), and checks each name is a well-formed "Unit::Class".
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

#include "runtime/object.h"
#include "tvui_paths.h"

namespace {

std::set<std::string> LateClassNames() {
  std::set<std::string> names;
  const std::string marker = "KV_LATE_CLASS(\"";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(std::string(TVUI_SOURCE_DIR) + "/src")) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    for (size_t at = s.find(marker); at != std::string::npos; at = s.find(marker, at + 1)) {
      const size_t begin = at + marker.size();
      const size_t end = s.find('"', begin);
      if (end != std::string::npos && s.compare(end, 2, "\")") == 0) names.insert(s.substr(begin, end - begin));
    }
  }
  return names;
}

TEST(LateClasses, NamesAreWellFormedAndUnresolvedOnesAreListed) {
  const std::set<std::string> names = LateClassNames();
  EXPECT_FALSE(names.empty());
  // "Unit::Class": two identifiers joined by two colons.
  auto wellFormed = [](const std::string& n) {
    const size_t sep = n.find("::");
    auto ident = [](const std::string& t) {
      if (t.empty() || !std::isalpha(static_cast<unsigned char>(t[0]))) return false;
      for (char c : t)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
      return true;
    };
    return sep != std::string::npos && ident(n.substr(0, sep)) && ident(n.substr(sep + 2));
  };
  for (const std::string& name : names) {
    EXPECT_TRUE(wellFormed(name)) << name;
    const kv::Class* cls = kv::FindClass(name.c_str());
    if (cls)
      EXPECT_STREQ(cls->name, name.c_str());
    else
      std::cout << "late class not built yet: " << name << "\n";
  }
}

}  // namespace
