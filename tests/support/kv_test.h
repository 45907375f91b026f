// Test fixture of the GUI runtime: a fake clock, panics that throw, and a
// full reset after each test.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "runtime/pass_driver.h"
#include "runtime/runtime.h"

namespace kvtest {

struct PanicError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Installs a panic handler that throws PanicError (valid outside the collector).
void ThrowOnPanic();

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  kv::PassDriver driver;
};

}  // namespace kvtest

#define EXPECT_PANIC(stmt, text)                                                      \
  do {                                                                                \
    try {                                                                             \
      stmt;                                                                           \
      ADD_FAILURE() << "no panic";                                                    \
    } catch (const ::kvtest::PanicError& e) {                                         \
      EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();     \
    }                                                                                 \
  } while (0)
