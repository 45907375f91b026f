#include "units/SkinBin/EventAgent.h"

#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Events/USER_EVENT_CABLE_ON_OFF.h"
#include "units/Events/USER_EVENT_CACHED_MESSAGE.h"
#include "units/Events/USER_EVENT_LAST_CHANNEL.h"
#include "units/Events/USER_EVENT_TIMER_WAKEUP.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_RATING_REGION_UPDATED.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Events/XPM_EVENT_UBN_MEDIA_INSERTED.h"
#include "units/Events/XPM_EVENT_UBN_UPDATE_REMIND.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/WidgetManager/WidgetManager.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::EventAgent);

namespace {
template <class E>
uint8_t* FlagOf(Core::Event* event) {
  auto* e = kv::Cast<E>(event);
  return e ? &e->Handled : nullptr;
}
}  // namespace

uint8_t* EventAgent::HandledFlag(Core::Event* event) {
  for (uint8_t* flag : {FlagOf<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event),
                        FlagOf<Events::XPM_EVENT_SOURCE_ACQUIRED>(event),
                        FlagOf<Events::XPM_EVENT_RATING_REGION_UPDATED>(event),
                        FlagOf<Events::USER_EVENT_TIMER_WAKEUP>(event),
                        FlagOf<Events::USER_EVENT_CABLE_ON_OFF>(event),
                        FlagOf<Events::USER_EVENT_LAST_CHANNEL>(event),
                        FlagOf<Events::XPM_EVENT_UBN_UPDATE_REMIND>(event),
                        FlagOf<Events::XPM_EVENT_UBN_MEDIA_INSERTED>(event),
                        FlagOf<Events::USER_EVENT_CACHED_MESSAGE>(event)})
    if (flag) return flag;
  return nullptr;
}

bool EventAgent::IsScreenInOperation() {
  auto* wm = kv::Cast<::WidgetManager::WidgetManager>(WidgetManager.get());
  if (!wm) return false;
  // A screen that holds the acquisition events back (HoldsAcquisition): the
  // channel entry while its number is not tuned, the information banner
  // opened by the Info key, the channel browser, the media player's kind
  // menu and source dialog (the TV source's banner waits until they close),
  // the automatic channel scan's screens.
  for (kv::Object* item : wm->Snapshot()) {
    auto* form = kv::Cast<Primitives::KeyRoutingForm>(item);
    if (form && form->IsOpen() && form->HoldsAcquisition()) return true;
  }
  return false;
}

bool EventAgent::CheckHandle(Core::Event* event) {
  if (!event || !Wrapper || !MessageAgent) return false;
  if (const uint8_t* handled = HandledFlag(event); handled && *handled) return false;
  int32_t window = 0;
  if (AcquiredWindow(event, window)) return !IsScreenInOperation();
  if (auto* cached = kv::Cast<Events::USER_EVENT_CACHED_MESSAGE>(event)) return static_cast<bool>(cached->Message);
  return true;
}

bool EventAgent::KeepEventUnhandled(Core::Event* event) {
  int32_t window = 0;
  if (!AcquiredWindow(event, window)) return false;
  if (window != 0) return true;
  auto* wm = kv::Cast<::WidgetManager::WidgetManager>(WidgetManager.get());
  return wm && wm->HasWidgetInGroup(Constants::WIN_GROUP_MENU << 24);
}

}  // namespace SkinBin
