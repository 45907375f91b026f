// The event classes: registered and collectable, and built from raw payloads
// through the host's table with their fields in order; short payloads refused.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/events/event_factory.h"
#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/collector.h"
#include "runtime/member.h"
#include "runtime/trace.h"
#include "support/kv_test.h"
#include "units/Events/CEC_EVENT_NAME_UPDATED.h"
#include "units/Events/CEC_EVENT_SOURCE_DETECTED.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/Events/EventFactories.h"
#include "units/Events/MediaRemovedEvent.h"
#include "units/Events/NetworkTestResultsEvent.h"
#include "units/Events/StatusEvent.h"
#include "units/Events/USER_EVENT_CABLE_ON_OFF.h"
#include "units/Events/USER_EVENT_CACHED_MESSAGE.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_FAN_ERROR.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Events/XPM_EVENT_STANDBY.h"

namespace {

class EventsTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    kv::Runtime::SetCollectEveryPass(true);
    Events::RegisterAll();
    kv::SetTraceSink([this](std::string_view line) { log_.emplace_back(line); });
  }
  void TearDown() override {
    kv::SetTraceSink(nullptr);
    RuntimeTest::TearDown();
  }

  template <class P>
  kv::Object* Build(uint32_t id, const P& payload, size_t length = sizeof(P)) {
    std::vector<uint8_t> bytes(sizeof(P));
    std::memcpy(bytes.data(), &payload, sizeof(P));
    return evreg::NewEventFromPayload(id, bytes.data(), length);
  }
  template <class E, class P>
  E* BuildAs(uint32_t id, const P& payload) {
    kv::Object* obj = Build(id, payload);
    E* e = kv::Cast<E>(obj);
    EXPECT_NE(e, nullptr) << "id 0x" << std::hex << id;
    return e;
  }
  bool Logged(const std::string& part) const {
    for (const auto& line : log_)
      if (line.find(part) != std::string::npos) return true;
    return false;
  }

  std::vector<std::string> log_;
};

const char* const kEventClasses[] = {
    "Events::XPM_EVENT_KEY",
    "Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS",
    "Events::XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS",
    "Events::XPM_EVENT_FULL_SCAN_COMPLETE",
    "Events::XPM_EVENT_FULL_SCAN_ABORTED",
    "Events::XPM_EVENT_EPG_FULL_SCAN_COMPLETE",
    "Events::XPM_EVENT_EPG_FULL_SCAN_ABORTED",
    "Events::XPM_EVENT_FACTORY_COMMAND",
    "Events::XPM_EVENT_FACTORY_RESET",
    "Events::XPM_EVENT_FAN_ERROR",
    "Events::XPM_EVENT_CHANNEL_ACQUIRED",
    "Events::XPM_EVENT_SOURCE_ACQUIRED",
    "Events::XPM_EVENT_STANDBY",
    "Events::XPM_EVENT_RATING_REGION_UPDATED",
    "Events::XPM_EVENT_USB_OVERCURRENT",
    "Events::XPM_EVENT_UBN_UPDATE_REMIND",
    "Events::XPM_EVENT_UBN_MEDIA_INSERTED",
    "Events::XPM_EVENT_UBN_RESULT",
    "Events::USER_EVENT_CACHED_MESSAGE",
    "Events::USER_EVENT_LAST_CHANNEL",
    "Events::USER_EVENT_CABLE_ON_OFF",
    "Events::USER_EVENT_TIMER_WAKEUP",
    "Events::CEC_EVENT_SOURCE_DETECTED",
    "Events::CEC_EVENT_NAME_UPDATED",
    "Events::StatusEvent",
    "Events::DMRStatusEvent",
    "Events::MediaRemovedEvent",
    "Events::WlanScanCompleteEvent",
    "Events::WlanConnectCompleteEvent",
    "Events::NetworkTestResultsEvent",
    "Events::NetworkInterfaceDownEvent",
    "Events::NetworkInterfaceUpEvent",
    "Events::PVRRecordStatusEvent",
    "Events::PVRUSBFormatEvent",
    "Events::PVRPerfStatusEvent",
    "Events::TimerStandbyEvent",
    "Events::TimerRecordWarningEvent",
};

TEST_F(EventsTest, EveryEventClassIsAnEventFoundByNameAndCollectedAfterAPass) {
  driver.Pass();
  const auto baseline = kv::HeapCensus();
  for (const char* name : kEventClasses) {
    const kv::Class* cls = kv::FindClass(name);
    ASSERT_NE(cls, nullptr) << name << " is not registered";
    EXPECT_TRUE(cls->Is(&Core::Event::StaticClass())) << name;
    kv::Object* obj = kv::NewObjectIndirect(cls);
    EXPECT_EQ(kv::ClassOf(obj), cls) << name;
  }
  EXPECT_TRUE(kv::FindClass("Events::XPM_EVENT_KEY")->Is(&Core::KeyEvent::StaticClass()));
  driver.Pass();
  EXPECT_EQ(kv::HeapCensus(), baseline);
}

TEST_F(EventsTest, ObjectsAnEventRefersToLiveWithIt) {
  driver.Pass();
  const auto baseline = kv::HeapCensus();
  {
    kv::Persistent<Events::XPM_EVENT_CHANNEL_ACQUIRED> acquired = kv::New<Events::XPM_EVENT_CHANNEL_ACQUIRED>();
    acquired->Channel = kv::New<Structures::VirtualChannel>();
    acquired->Channel->Major = 12;
    kv::Persistent<Events::USER_EVENT_CACHED_MESSAGE> cached = kv::New<Events::USER_EVENT_CACHED_MESSAGE>();
    cached->Message = kv::New<Structures::Message>();
    cached->Message->Code = 0x1f000e;
    kv::Persistent<Events::DMRStatusEvent> dmr = kv::New<Events::DMRStatusEvent>();
    dmr->Item = kv::New<Structures::VirtualChannel>();
    driver.Pass();
    driver.Pass();
    EXPECT_EQ(acquired->Channel->Major, 12);
    EXPECT_EQ(cached->Message->Code, 0x1f000e);
    EXPECT_NE(kv::Cast<Structures::VirtualChannel>(dmr->Item), nullptr);
  }
  driver.Pass();
  EXPECT_EQ(kv::HeapCensus(), baseline);
}

// Each id of this unit with the class a zero-filled payload builds.
struct IdClass {
  uint32_t id;
  const char* cls;
};
const IdClass kPayloadClasses[] = {
    {XPM_EVT_CHANNEL_ACQUIRED, "Events::XPM_EVENT_CHANNEL_ACQUIRED"},
    {XPM_EVT_SOURCE_ACQUIRED, "Events::XPM_EVENT_SOURCE_ACQUIRED"},
    {XPM_EVT_RATING_REGION_UPDATED, "Events::XPM_EVENT_RATING_REGION_UPDATED"},
    {XPM_EVT_FAN_ERROR, "Events::XPM_EVENT_FAN_ERROR"},
    {XPM_EVT_NETWORK_STATUS, "Events::NetworkInterfaceDownEvent"},
    {XPM_EVT_WLAN_SCAN_COMPLETE, "Events::WlanScanCompleteEvent"},
    {XPM_EVT_WLAN_CONNECT_COMPLETE, "Events::WlanConnectCompleteEvent"},
    {XPM_EVT_NETWORK_TEST_RESULTS, "Events::NetworkTestResultsEvent"},
    {XPM_EVT_STANDBY, "Events::XPM_EVENT_STANDBY"},
    {XPM_EVT_USB_OVERCURRENT, "Events::XPM_EVENT_USB_OVERCURRENT"},
    {XPM_EVT_UBN_UPDATE_REMIND, "Events::XPM_EVENT_UBN_UPDATE_REMIND"},
    {XPM_EVT_UBN_MEDIA_INSERTED, "Events::XPM_EVENT_UBN_MEDIA_INSERTED"},
    {XPM_EVT_UBN_RESULT, "Events::XPM_EVENT_UBN_RESULT"},
    {XPM_EVT_PVR_RECORD_STATUS, "Events::PVRRecordStatusEvent"},
    {XPM_EVT_PVR_USB_FORMAT, "Events::PVRUSBFormatEvent"},
    {XPM_EVT_PVR_PERF_STATUS, "Events::PVRPerfStatusEvent"},
    {XPM_EVT_TIMER_STANDBY, "Events::TimerStandbyEvent"},
    {XPM_EVT_TIMER_RECORD_WARNING, "Events::TimerRecordWarningEvent"},
    {XPM_EVT_CEC_SOURCE_DETECTED, "Events::CEC_EVENT_SOURCE_DETECTED"},
    {XPM_EVT_CEC_NAME_UPDATED, "Events::CEC_EVENT_NAME_UPDATED"},
    {XPM_EVT_MEDIA_STATUS, "Events::StatusEvent"},
    {XPM_EVT_DMR_STATUS, "Events::DMRStatusEvent"},
    {XPM_EVT_MEDIA_REMOVED, "Events::MediaRemovedEvent"},
    {XPM_EVT_3D_STATUS, "Events::XPM_EVENT_3D_STATUS"},
    {XPM_USER_EVENT_LAST_CHANNEL, "Events::USER_EVENT_LAST_CHANNEL"},
    {XPM_USER_EVENT_CABLE_ON_OFF, "Events::USER_EVENT_CABLE_ON_OFF"},
    {XPM_USER_EVENT_TIMER_WAKEUP, "Events::USER_EVENT_TIMER_WAKEUP"},
};

TEST_F(EventsTest, EachIdBuildsItsClassFromAFullPayloadAndRefusesAShortOne) {
  std::set<uint32_t> tested;
  for (const IdClass& ic : kPayloadClasses) {
    SCOPED_TRACE(ic.cls);
    tested.insert(ic.id);
    ASSERT_TRUE(evreg::HasEventFactory(ic.id));
    size_t minLength = 0;
    for (const auto& e : Events::PayloadEvents())
      if (e.id == ic.id) minLength = e.minLength;
    const std::vector<uint8_t> zeros(minLength + 1, 0);  // never empty, so data() is valid
    kv::Object* full = evreg::NewEventFromPayload(ic.id, zeros.data(), minLength);
    ASSERT_NE(full, nullptr);
    EXPECT_STREQ(kv::ClassOf(full)->name, ic.cls);
    if (minLength > 0) {
      log_.clear();
      EXPECT_EQ(evreg::NewEventFromPayload(ic.id, zeros.data(), minLength - 1), nullptr);
      EXPECT_FALSE(log_.empty()) << "a refused payload is logged";
    }
  }
  // Every id the unit serves is in the table above.
  for (const auto& e : Events::PayloadEvents()) EXPECT_TRUE(tested.count(e.id)) << "id 0x" << std::hex << e.id;
}

TEST_F(EventsTest, AcquisitionEventsKeepTheirFieldsInOrder) {
  auto* channel =
      BuildAs<Events::XPM_EVENT_CHANNEL_ACQUIRED>(XPM_EVT_CHANNEL_ACQUIRED, XPM_ChannelAcquiredPayload{7, 2, 1, 4, 9});
  ASSERT_NE(channel, nullptr);
  ASSERT_NE(channel->Channel.get(), nullptr);
  EXPECT_EQ(channel->Channel->Major, 7);
  EXPECT_EQ(channel->Channel->Minor, 2);
  EXPECT_EQ(channel->Window, 1);
  EXPECT_EQ(channel->Status, 4);
  EXPECT_EQ(channel->LockResult, 9);
  EXPECT_EQ(channel->Handled, 0);

  auto* source =
      BuildAs<Events::XPM_EVENT_SOURCE_ACQUIRED>(XPM_EVT_SOURCE_ACQUIRED, XPM_SourceAcquiredPayload{5, 0, 17, 3});
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->Source, 5);
  EXPECT_EQ(source->Window, 0);
  EXPECT_EQ(source->Status, 17);
  EXPECT_EQ(source->LockResult, 3);
}

TEST_F(EventsTest, NetworkResultsHoldPayloadWordsTwoOneZero) {
  auto* e = BuildAs<Events::NetworkTestResultsEvent>(XPM_EVT_NETWORK_TEST_RESULTS,
                                                     XPM_NetworkTestResultsPayload{{10, 11, 2048}});
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Word2, 2048);
  EXPECT_EQ(e->Word1, 11);
  EXPECT_EQ(e->Word0, 10);
}

TEST_F(EventsTest, NetworkStatusBecomesUpOrDownAndRefusesOtherStates) {
  EXPECT_STREQ(kv::ClassOf(Build(XPM_EVT_NETWORK_STATUS, XPM_NetworkStatusPayload{1, 1}))->name,
               "Events::NetworkInterfaceUpEvent");
  EXPECT_STREQ(kv::ClassOf(Build(XPM_EVT_NETWORK_STATUS, XPM_NetworkStatusPayload{0, 0}))->name,
               "Events::NetworkInterfaceDownEvent");
  EXPECT_EQ(Build(XPM_EVT_NETWORK_STATUS, XPM_NetworkStatusPayload{1, 7}), nullptr);
  EXPECT_TRUE(Logged("unknown status 7"));
}

TEST_F(EventsTest, FanErrorWithoutPayloadWarnsAndWithOneReadsBothFlags) {
  // As the factory event reports a stopped fan: no payload.
  auto* stopped = kv::Cast<Events::XPM_EVENT_FAN_ERROR>(evreg::NewEventFromPayload(XPM_EVT_FAN_ERROR, nullptr, 0));
  ASSERT_NE(stopped, nullptr);
  EXPECT_EQ(stopped->Shutdown, 0);
  EXPECT_EQ(stopped->Warning, 1);

  auto* both = BuildAs<Events::XPM_EVENT_FAN_ERROR>(XPM_EVT_FAN_ERROR, XPM_FanErrorPayload{1, 1, {0, 0}});
  ASSERT_NE(both, nullptr);
  EXPECT_EQ(both->Shutdown, 1);
  EXPECT_EQ(both->Warning, 1);

  EXPECT_EQ(Build(XPM_EVT_FAN_ERROR, XPM_FanErrorPayload{1, 0, {0, 0}}, 2), nullptr);
  EXPECT_TRUE(Logged("fan error"));
}

TEST_F(EventsTest, TextsAreLatin1AndBoundedByTheirField) {
  XPM_PathPayload path{};
  std::memset(path.path, 'a', sizeof path.path);  // no terminator at all
  auto* removed = BuildAs<Events::MediaRemovedEvent>(XPM_EVT_MEDIA_REMOVED, path);
  ASSERT_NE(removed, nullptr);
  EXPECT_EQ(removed->Path.Length(), 256);

  XPM_DmrStatusPayload dmr{};
  dmr.kind = 10;
  dmr.state = 3;
  std::strcpy(dmr.uri, "http://server/photo.jpg");
  std::strcpy(dmr.title, "Caf\xe9");
  auto* status = BuildAs<Events::DMRStatusEvent>(XPM_EVT_DMR_STATUS, dmr);
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->Kind, 10);
  EXPECT_EQ(status->State, 3);
  EXPECT_EQ(status->Item.get(), nullptr);
  EXPECT_EQ(status->Uri.ToUtf8(), "http://server/photo.jpg");
  EXPECT_EQ(status->Title.View(), std::u16string_view(u"Caf\u00e9"));
}

TEST_F(EventsTest, StatusAndCecEventsKeepTheirFields) {
  auto* status =
      BuildAs<Events::StatusEvent>(XPM_EVT_MEDIA_STATUS, XPM_MediaStatusPayload{18, 0, {5, -1, 0x10002, 4}});
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->Code, 18);
  EXPECT_EQ(status->SubCode0, 5);
  EXPECT_EQ(status->SubCode1, -1);
  EXPECT_EQ(status->SubCode2, 0x10002);
  EXPECT_EQ(status->SubCode3, 4);

  auto* cec = BuildAs<Events::CEC_EVENT_SOURCE_DETECTED>(XPM_EVT_CEC_SOURCE_DETECTED,
                                                         XPM_CecSourceDetectedPayload{5, 4, {0, 0, 0}});
  ASSERT_NE(cec, nullptr);
  EXPECT_EQ(cec->Source, 5);
  EXPECT_EQ(cec->Address, 4);
}

TEST_F(EventsTest, SystemManagerCommandsReadTheirParameter) {
  TVSM_Command cmd{};
  cmd.id = 0x102;
  cmd.param = 1;
  kv::Object* obj = Build(XPM_USER_EVENT_CABLE_ON_OFF, cmd, offsetof(TVSM_Command, data));
  auto* cable = kv::Cast<Events::USER_EVENT_CABLE_ON_OFF>(obj);
  ASSERT_NE(cable, nullptr);
  EXPECT_EQ(cable->Medium, 1);

  auto* standby = BuildAs<Events::XPM_EVENT_STANDBY>(XPM_EVT_STANDBY, XPM_Int32Payload{7});
  ASSERT_NE(standby, nullptr);
  EXPECT_EQ(standby->Reason, 7);
}

}  // namespace
