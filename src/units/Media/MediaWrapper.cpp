#include "units/Media/MediaWrapper.h"

#include <string>

#include "platform/psl/psl.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/Media.h"
#include "units/Core/Event.h"
#include "units/Core/Group.h"
#include "units/MainApp/WrapperAuto.h"
#include "units/Wrapper/Wrapper.h"

namespace Media {

KV_REGISTER_CLASS(Media::MediaWrapper);

kv::Object* MediaWrapper::HandleEvent(Core::Event* event) {
  if (!event) return nullptr;
  if (!Root) Root = kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)->OnGetRoot();
  return nullptr;
}

void MediaWrapper::PslInitialize(bool dlna, bool renderer, bool access) {
  if (serviceInitialized_) return;
  const int32_t result = PslInit(globalPsl, this, dlna, renderer, access);
  if (result != PSL_OK) {
    kv::LogFailedCall("PslInit", result);
    return;
  }
  serviceInitialized_ = true;
  rendererEnabled_ = renderer;
  dlnaEnabled_ = dlna;
  const int32_t mode = !dlna ? 0 : (renderer ? 3 : 1);
  kv::Trace("%s%i", {kv::LoadString(T_SET_ENABLE_DLNA), mode});
  EnableDlna(mode);
}

void MediaWrapper::Initialize(Core::Group* root) { Root = root; }

bool MediaWrapper::IsDmrConfiged() {
  kv::Log("DMR feature is disabled");
  return false;
}

void MediaWrapper::EnableDlna(int32_t mode) {
  const int32_t result = PslMediaEnableDLNA(globalPsl, mode);
  if (result != PSL_OK) kv::LogFailedCall("PslMediaEnableDLNA", result);
}

void MediaWrapper::SetDmcAccessControl(bool on) { dmcAccessControl_ = on; }

void MediaWrapper::ResetDmcAccessControl() { controllersChanged_ = true; }

void MediaWrapper::RequestBgmStop() {
  kv::Trace("%s", {kv::LoadString(T_BGM_STOP)});
  bgmPlaying_ = false;
}

void MediaWrapper::BgmReset() {
  kv::Trace("%s", {kv::LoadString(T_BGM_RESET)});
  bgmSelected_ = false;
}

void MediaWrapper::RequestBgmPlay() {
  kv::Trace("%s", {kv::LoadString(T_BGM_PLAY)});
  // Nothing plays without a chosen playlist.
  bgmPlaying_ = bgmSelected_;
}

void MediaWrapper::SetVideoPreviewWindow(int32_t x, int32_t y, int32_t width, int32_t height) {
  kv::Trace("%s%i%i%i%i", {kv::LoadString(T_VIDEO_PREVIEW), x, y, width, height});
}

}  // namespace Media
