// What a test does to the data folder while the set is off in the next
// AppTest::Restart: the files as a power cut, a full disk or a person with a
// shell leave them.
//
//   apptest::WhileOffAtNextRestart([&] { std::filesystem::remove(DataDir() / "tvsim.state"); });
//   Restart();
#pragma once

#include <functional>

namespace apptest {

void WhileOffAtNextRestart(std::function<void()> whileOff);

}  // namespace apptest
