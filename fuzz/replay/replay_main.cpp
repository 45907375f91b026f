// Replays a fuzz target's corpus without libFuzzer: every file named on the
// command line, or found in a folder named there, goes once through the
// target's entry. Built into the test build, so that every input that ever
// found a fault stays a test under the sanitizers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIR_OR_FILE...\n", argv[0]);
    return 2;
  }
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    std::error_code ec;
    if (std::filesystem::is_directory(arg, ec)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(arg, ec))
        if (entry.is_regular_file()) files.push_back(entry.path());
    } else if (std::filesystem::is_regular_file(arg, ec)) {
      files.push_back(arg);
    } else {
      std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
      return 2;
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "no inputs under the given paths\n");
    return 2;
  }
  // A fixed order makes a failure repeatable.
  std::sort(files.begin(), files.end());
  std::vector<uint8_t> bytes;
  for (const auto& f : files) {
    if (!ReadFile(f, &bytes)) {
      std::fprintf(stderr, "%s: cannot read\n", f.c_str());
      return 2;
    }
    // A copy of exactly the input's size, so that reads past the end are reported.
    std::vector<uint8_t> input(bytes);
    static const uint8_t kNothing = 0;
    LLVMFuzzerTestOneInput(input.empty() ? &kNothing : input.data(), input.size());
  }
  std::printf("%zu inputs replayed\n", files.size());
  return 0;
}
