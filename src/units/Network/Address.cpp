#include "units/Network/Address.h"

#include "runtime/auto_object.h"
#include "strings/Network.h"
#include "strings/Strings.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Wrapper/Wrapper.h"

namespace Network {

uint32_t JoinOctets(const uint8_t (&octets)[4]) {
  return static_cast<uint32_t>(octets[0]) << 24 | static_cast<uint32_t>(octets[1]) << 16 |
         static_cast<uint32_t>(octets[2]) << 8 | octets[3];
}

void SplitOctets(uint32_t address, uint8_t (&octets)[4]) {
  for (int i = 0; i < 4; ++i) octets[i] = static_cast<uint8_t>(address >> (24 - 8 * i));
}

kv::String AddressText(uint32_t address) {
  const kv::String sep = kv::LoadString(ADDRESS_SEPARATOR);
  kv::String text;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) text = kv::ConcatString(text, sep);
    text = kv::ConcatString(text, kv::NewStringUInt((address >> (24 - 8 * i)) & 0xFFu, 0));
  }
  return text;
}

bool IsValidMask(uint32_t mask) {
  const uint32_t host = ~mask;
  return mask != 0 && (host & (host + 1)) == 0;
}

const kv::MultiTextId* RefusalOf(int32_t index, uint32_t address) {
  switch (index) {
    case ADDRESS_IP:
    case ADDRESS_GATEWAY:
      return address == 0 ? &Strings::SID_INVALID_ADDRESS_MSG : nullptr;
    case ADDRESS_MASK:
      return IsValidMask(address) ? nullptr : &Strings::SID_INVALID_SUBNET_MASK;
    default:
      return nullptr;
  }
}

SkinBin::Wrapper* Skin() {
  return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
}

uint32_t StoredAddress(int32_t index) {
  SkinBin::Wrapper* w = Skin();
  if (!w) return 0;
  switch (index) {
    case ADDRESS_IP: return w->OnGetIPAddress();
    case ADDRESS_MASK: return w->OnGetSubnetMask();
    case ADDRESS_GATEWAY: return w->OnGetDefaultGateway();
    case ADDRESS_DNS1: return w->OnGetDNS1();
    case ADDRESS_DNS2: return w->OnGetDNS2();
    default: return 0;
  }
}

bool StoreAddress(int32_t index, uint32_t address) {
  SkinBin::Wrapper* w = Skin();
  if (!w) return false;
  switch (index) {
    case ADDRESS_IP: w->OnSetIPAddress(address); break;
    case ADDRESS_MASK: w->OnSetSubnetMask(address); break;
    case ADDRESS_GATEWAY: w->OnSetDefaultGateway(address); break;
    case ADDRESS_DNS1: w->OnSetDNS1(address); break;
    case ADDRESS_DNS2: w->OnSetDNS2(address); break;
    default: return false;
  }
  return w->NetworkSetup.LastApply == 0;
}

bool StoreAutoSetup(bool on) {
  SkinBin::Wrapper* w = Skin();
  if (!w) return false;
  w->OnSetAutoSetup(on ? 1 : 0);
  return w->NetworkSetup.LastApply == 0;
}

void ReadInterfaceState() {
  if (SkinBin::Wrapper* w = Skin()) w->NetworkSetup.LAN_GetIfState(w->GetCurrentLanDevId());
}

}  // namespace Network
