#include "screen_list.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "runtime/object.h"
#include "runtime/runtime.h"
#include "tvui_paths.h"
#include "units/Primitives/KeyRoutingForm.h"

namespace kvtest {

namespace fs = std::filesystem;

std::map<std::string, std::set<int64_t>> ValuesOfTheScenes() {
  std::map<std::string, std::set<int64_t>> out;
  for (const auto& e : fs::directory_iterator(fs::path(TVUI_SOURCE_DIR) / "tests" / "scenes")) {
    if (e.path().extension() != ".keys") continue;
    std::ifstream in(e.path());
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream words(line);
      std::string word, cls, value, more;
      if (!(words >> word >> cls) || word != "state" || cls.find("::") == std::string::npos) continue;
      int64_t v = 0;
      if (words >> value) {
        size_t used = 0;
        try {
          v = std::stoll(value, &used, 0);
        } catch (const std::exception&) {
          used = 0;
        }
        if (used != value.size() || (words >> more)) continue;
      }
      out[cls].insert(v);
    }
  }
  return out;
}

std::vector<std::string> ScreenClasses() {
  std::vector<std::string> out;
  kv::Runtime::SetGuiThread();
  for (const kv::Class* cls : kv::AllClasses()) {
    if (!cls->factory || !cls->Is(&Primitives::KeyRoutingForm::StaticClass())) continue;
    auto* form = kv::Cast<Primitives::KeyRoutingForm>(kv::NewObjectIndirect(cls));
    if (form && form->SubSystemClass) out.push_back(cls->name);
  }
  kv::Runtime::ResetForTests();
  return out;
}

std::vector<std::pair<std::string, int64_t>> EveryScreen() {
  const std::map<std::string, std::set<int64_t>> values = ValuesOfTheScenes();
  std::vector<std::pair<std::string, int64_t>> out;
  for (const std::string& cls : ScreenClasses()) {
    const auto it = values.find(cls);
    for (int64_t value : it != values.end() ? it->second : std::set<int64_t>{0}) out.emplace_back(cls, value);
  }
  return out;
}

}  // namespace kvtest
