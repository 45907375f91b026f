// Text from outside the program in the log: names of home-network servers
// come from the network, and the set logs what it can browse whenever that
// changes. A name with escape bytes must not reach the terminal raw, and a
// name of a megabyte must not fill the log.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "platform/psl/psl.h"
#include "runtime/trace.h"

namespace {

class OutsideTextLogTest : public apptest::AppTest {
 protected:
  void Server(const std::string& folder, const std::string& name) {
    const std::filesystem::path dir = DataDir() / "media" / "servers" / folder;
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "server.ini") << "name=" << name << "\naddress=10.0.0.9\n";
  }
};

TEST_F(OutsideTextLogTest, ServerNamesAreLoggedEscapedAndCut) {
  Server("a", "\x1b]0;owned\x07\x1b[31mRed");
  Server("b", std::string(1000000, 'N'));
  Log().Clear();
  psl::Rescan();
  Settle();
  std::vector<std::string> sources;
  for (const std::string& line : Log().Lines())
    if (line.rfind("media: ", 0) == 0 && line.find(" source(s)") != std::string::npos) sources.push_back(line);
  ASSERT_FALSE(sources.empty());
  const std::string& line = sources.back();
  for (unsigned char c : line) ASSERT_TRUE(c >= 0x20 && c != 0x7F) << "a control byte in: " << line.substr(0, 200);
  EXPECT_NE(line.find("server \"\\x1b]0;owned\\x07\\x1b[31mRed\""), std::string::npos) << line.substr(0, 300);
  EXPECT_NE(line.find("server \"" + std::string(kv::kMaxLoggedName, 'N') + "...\""), std::string::npos)
      << line.substr(0, 300);
  EXPECT_LT(line.size(), 1000u);
}

}  // namespace
