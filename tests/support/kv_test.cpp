#include "kv_test.h"

#include "runtime/panic.h"

namespace kvtest {

void ThrowOnPanic() {
  kv::SetPanicHandler([](const char* msg) { throw PanicError(msg ? msg : ""); });
}

void RuntimeTest::SetUp() {
  kv::Runtime::ResetForTests();
  kv::Runtime::SetGuiThread();
  ThrowOnPanic();
}

void RuntimeTest::TearDown() { kv::Runtime::ResetForTests(); }

}  // namespace kvtest
