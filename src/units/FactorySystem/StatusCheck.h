// FactorySystem::StatusCheck: one page of the set's identity and test
// state (versions, model, network, device ids, power-on time, ADC
// calibration, 3D EEPROM), read from the skin Wrapper each time it opens,
// and the same items as a report on the service serial port (18 lines, or
// MAC, ESN and Widevine id only on a set without a series type). Exit,
// back and digit 9 close it; every other key is taken and does nothing;
// it closes itself after 120 s.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/FactorySystem/Screens.h"

namespace Core {
class Event;
}

namespace FactorySystem {

class StatusCheck : public WidgetClass {
  KV_CLASS(FactorySystem, StatusCheck, WidgetClass)
 public:
  // The items, in the report's order.
  enum Item {
    kModelName,
    kModelNumber,
    kFirmware,
    kTvm,
    kItemA,
    kModelText2,
    kPowerOn,
    kAdcSdHd,
    kAdcVga,
    kItemB,
    kMac,
    kNetwork,
    kIp,
    kMask,
    kTestStatus,
    kEsn,
    kWidevine,
    k3dEeprom,
    kItems
  };

  StatusCheck();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;

  void PrintStatusResults();
  // The four bytes of `a`, most significant first, joined by the separator.
  static kv::String GetAddressString(uint32_t a);
  static kv::String Dec2Hex(int32_t n);

  const kv::String& Value(Item item) const { return values_[item].OnGetString(); }

 private:
  void SetValue(Item item, const kv::String& text);
  kv::String HexByte(int32_t v) const;

  Views::Text title_;
  Views::Text labels_[kItems - 1];  // the two ADC results share one label
  Views::Text subLabels_[2];        // the ADC results' fixed sub-labels
  Views::Text values_[kItems];
};

}  // namespace FactorySystem
