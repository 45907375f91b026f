#include "platform/xpm/xpm.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_state.h"
#include "runtime/trace.h"

namespace {

// Every XPM call starts here: the call log, a chosen failure, a running Sim.
#define XPM_ENTER(name, args)                                                   \
  sim::Sim* tv = sim::Sim::Current();                                          \
  if (auto fail = sim::EnterCall(name, args, XPM_ERR_NOT_READY)) return *fail; \
  if (!tv) return XPM_ERR_NOT_READY

constexpr const char* kCaptionKey = "caption.rendering";

}  // namespace

int32_t XPM_SubscribeEvents(XPM_EventCallback callback) {
  XPM_ENTER("XPM_SubscribeEvents", sim::Args(callback ? "callback" : nullptr));
  if (!callback) return XPM_ERR_INVALID_PARAM;
  std::lock_guard<std::mutex> lock(tv->Mutex());
  tv->Middleware().callback = callback;
  return XPM_OK;
}

int32_t XPM_UnsubscribeEvents(void) {
  XPM_ENTER("XPM_UnsubscribeEvents", "");
  std::unique_lock<std::mutex> lock(tv->Mutex());
  auto& mw = tv->Middleware();
  mw.callback = nullptr;
  // Callbacks run on the Sim's thread only; called from there (from a
  // callback), the running callback is the caller's own.
  if (!tv->OnSimThread()) tv->StateCv().wait(lock, [&] { return mw.callbacksRunning == 0; });
  return XPM_OK;
}

int32_t XPM_InitClient(void) {
  XPM_ENTER("XPM_InitClient", "");
  {
    std::lock_guard<std::mutex> lock(tv->Mutex());
    tv->Middleware().clientReady = true;
  }
  tv->Tv().ShowPowerOnPicture();
  return XPM_OK;
}

int32_t XPM_SetOSDState(int32_t shown) {
  XPM_ENTER("XPM_SetOSDState", sim::Args(shown));
  std::lock_guard<std::mutex> lock(tv->Mutex());
  tv->Middleware().osdShown = shown ? 1 : 0;
  return XPM_OK;
}

int32_t XPM_AliveTest(int32_t timeoutMs) {
  XPM_ENTER("XPM_AliveTest", sim::Args(timeoutMs));
  if (timeoutMs <= 0) return XPM_ERR_TIMEOUT;
  return XPM_OK;
}

int32_t XPM_SetCaptionRendering(int32_t on) {
  XPM_ENTER("XPM_SetCaptionRendering", sim::Args(on));
  return tv->SetState(kCaptionKey, on ? "1" : "0") ? XPM_OK : XPM_ERR_FAILED;
}

int32_t XPM_EnableCaptionRender(int32_t on) {
  XPM_ENTER("XPM_EnableCaptionRender", sim::Args(on));
  return tv->SetState(kCaptionKey, on ? "1" : "0") ? XPM_OK : XPM_ERR_FAILED;
}

int32_t XPM_GetCaptionRendering(int32_t* on) {
  XPM_ENTER("XPM_GetCaptionRendering", "");
  if (!on) return XPM_ERR_INVALID_PARAM;
  *on = tv->GetState(kCaptionKey, "0") == "1" ? 1 : 0;
  return XPM_OK;
}

int32_t XPM_SetSource(int32_t source) {
  XPM_ENTER("XPM_SetSource", sim::Args(source));
  if (source < 0) return XPM_ERR_INVALID_PARAM;
  std::lock_guard<std::mutex> lock(tv->Mutex());
  tv->Middleware().source = source;
  return XPM_OK;
}

int32_t XPM_GetSource(int32_t* source) {
  XPM_ENTER("XPM_GetSource", "");
  if (!source) return XPM_ERR_INVALID_PARAM;
  std::lock_guard<std::mutex> lock(tv->Mutex());
  *source = tv->Middleware().source;
  return XPM_OK;
}

int32_t XPM_OpenUART(void) {
  XPM_ENTER("XPM_OpenUART", "");
  std::lock_guard<std::mutex> lock(tv->Mutex());
  if (tv->Middleware().uart) return XPM_OK;
  std::error_code ec;
  std::filesystem::create_directories(tv->DataDir(), ec);
  const std::string path = tv->DataDir() + "/serial.log";
  tv->Middleware().uart = std::fopen(path.c_str(), "ab");
  if (!tv->Middleware().uart) {
    kv::Log("XPM_OpenUART: cannot open " + kv::EscapedText(path, kv::kMaxLoggedPath) + ": " + std::strerror(errno));
    return XPM_ERR_FAILED;
  }
  return XPM_OK;
}

int32_t XPM_CloseUART(void) {
  XPM_ENTER("XPM_CloseUART", "");
  std::lock_guard<std::mutex> lock(tv->Mutex());
  if (tv->Middleware().uart) std::fclose(tv->Middleware().uart);
  tv->Middleware().uart = nullptr;
  return XPM_OK;
}

int32_t XPM_PrintStringUART(const char* text) {
  XPM_ENTER("XPM_PrintStringUART", sim::Args(text));
  if (!text) return XPM_ERR_INVALID_PARAM;
  std::lock_guard<std::mutex> lock(tv->Mutex());
  std::FILE* f = tv->Middleware().uart;
  if (!f) return XPM_ERR_NOT_READY;
  std::fputs(text, f);
  std::fflush(f);
  return XPM_OK;
}
