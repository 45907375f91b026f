#include "units/SkinBin/WidgetManager.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WinIDs/WinIDs.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::WidgetManager);

using namespace WinIDs;

namespace {

constexpr int32_t kKindInputOSD = 1;
constexpr int32_t kKindMenu = 2;
constexpr int32_t kKindChannelEntry = 3;

}  // namespace

bool WidgetManager::HasScreenBesidesBars() {
  for (kv::Object* o : Snapshot()) {
    auto* f = kv::Cast<Primitives::KeyRoutingForm>(o);
    if (f && f->WinID != WIN_ID_DirectMessageBar && f->WinID != WIN_ID_VolumeBar && f->WinID != WIN_ID_MuteBar) return true;
  }
  return false;
}

// One screen change opens or closes several forms in a pass (a menu page
// registers before its column and leaves after it): the status is worked out
// once the pass's forms have settled, at its end.
void WidgetManager::UpdateUIStatus() { kv::PostSignal(kv::MakeSlot(this, &WidgetManager::ReportUIStatus)); }

void WidgetManager::ReportUIStatus(kv::Object* /*sender*/) {
  auto* w = kv::Cast<SkinBin::Wrapper>(Wrapper ? Wrapper.get()
                                               : static_cast<kv::Object*>(kv::GetAutoObject<::Wrapper::Wrapper>(
                                                     MainApp::Wrapper)));
  if (!w) return;
  const bool empty = Empty();
  const bool menu = HasWidgetInGroup(WIN_ID_MenuSystem) || IsOpen(WIN_ID_ExternalInputDialog) ||
                    IsOpen(WIN_ID_PictureSizeDialog) || IsOpen(WIN_ID_PinEntry) || IsOpen(WIN_ID_KeyPad);
  if (!menu) {
    const bool shown = !empty && HasScreenBesidesBars();
    if (MenuGraphicsReported) w->ReportInputOSDStatus(kKindMenu, false);
    if (!empty && !MenuGraphicsReported && !Spare && (ChannelEntryReported || InputOSDReported) == shown) {
      MenuGraphicsReported = Spare = 0;
      return;
    }
    if (IsOpen(WIN_ID_ChannelEntry) || ChannelEntryReported) {
      w->ReportInputOSDStatus(kKindChannelEntry, shown);
      ChannelEntryReported = shown;
    } else {
      w->ReportInputOSDStatus(kKindInputOSD, shown);
      InputOSDReported = shown;
    }
    w->ReportGraphicsStatus(false, !empty);
    MenuGraphicsReported = Spare = 0;
    return;
  }
  if (!MenuGraphicsReported) {
    if (ChannelEntryReported && !IsOpen(WIN_ID_ChannelEntry)) {
      w->ReportInputOSDStatus(kKindChannelEntry, false);
      ChannelEntryReported = 0;
    } else if (InputOSDReported) {
      w->ReportInputOSDStatus(kKindInputOSD, false);
      InputOSDReported = 0;
    }
    w->ReportGraphicsStatus(false, true);
    w->ReportInputOSDStatus(kKindMenu, true);
    MenuGraphicsReported = 1;
  }
  Spare = 0;
}

}  // namespace SkinBin
