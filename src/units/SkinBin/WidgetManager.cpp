#include "units/SkinBin/WidgetManager.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/Wrapper.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::WidgetManager);

namespace {

constexpr uint32_t kMenuGroup = 0x1000000;
constexpr uint32_t kExternalInputDialog = 0x2000006;
constexpr uint32_t kPictureSizeDialog = 0x2000028;
constexpr uint32_t kPinEntry = 0x2000011;
constexpr uint32_t kKeyPad = 0x200000a;
constexpr uint32_t kDirectMessageBar = 0x2000009;
constexpr uint32_t kVolumeBar = 0x2000001;
constexpr uint32_t kMuteBar = 0x2000010;
constexpr uint32_t kChannelEntry = 0x200000c;

constexpr int32_t kKindInputOSD = 1;
constexpr int32_t kKindMenu = 2;
constexpr int32_t kKindChannelEntry = 3;

}  // namespace

bool WidgetManager::HasScreenBesidesBars() {
  for (kv::Object* o : Snapshot()) {
    auto* f = kv::Cast<Primitives::KeyRoutingForm>(o);
    if (f && f->WinID != kDirectMessageBar && f->WinID != kVolumeBar && f->WinID != kMuteBar) return true;
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
  const bool menu = HasWidgetInGroup(kMenuGroup) || IsOpen(kExternalInputDialog) || IsOpen(kPictureSizeDialog) ||
                    IsOpen(kPinEntry) || IsOpen(kKeyPad);
  if (!menu) {
    const bool shown = !empty && HasScreenBesidesBars();
    if (MenuGraphicsReported) w->ReportInputOSDStatus(kKindMenu, false);
    if (!empty && !MenuGraphicsReported && !Spare && (ChannelEntryReported || InputOSDReported) == shown) {
      MenuGraphicsReported = Spare = 0;
      return;
    }
    if (IsOpen(kChannelEntry) || ChannelEntryReported) {
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
    if (ChannelEntryReported && !IsOpen(kChannelEntry)) {
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
