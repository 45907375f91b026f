// What the network screens share about IPv4 addresses: the text of an
// address, the checks an entered address must pass, and storing one through
// the Wrapper with the set's answer.
//
// Address indexes (the address buttons' and rows' Tag): 0 IP address,
// 1 subnet mask, 2 default gateway, 3 DNS 1, 4 DNS 2.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "runtime/text.h"

namespace SkinBin {
class Wrapper;
}

namespace Network {

inline constexpr int32_t ADDRESS_IP = 0;
inline constexpr int32_t ADDRESS_MASK = 1;
inline constexpr int32_t ADDRESS_GATEWAY = 2;
inline constexpr int32_t ADDRESS_DNS1 = 3;
inline constexpr int32_t ADDRESS_DNS2 = 4;

// An address from its octets (octet 1 most significant), and back.
uint32_t JoinOctets(const uint8_t (&octets)[4]);
void SplitOctets(uint32_t address, uint8_t (&octets)[4]);
// The four octets as decimal numbers joined by the address separator.
kv::String AddressText(uint32_t address);
// A subnet mask is a run of ones from the top, not empty (255.0.0.0 and
// 128.0.0.0 pass; 0, 255.0.255.0, 0.255.255.255, 255.255.0.255 do not).
bool IsValidMask(uint32_t mask);
// The message of an address refused at that index, or null when it may be
// stored (the DNS addresses are always stored; an index of 5 or more is
// never stored and has no message).
const kv::MultiTextId* RefusalOf(int32_t index, uint32_t address);
// The skin Wrapper (null before it exists).
SkinBin::Wrapper* Skin();
// The Wrapper's address at an index (0 for an index outside 0 to 4).
uint32_t StoredAddress(int32_t index);
// Writes the address at that index through the Wrapper; true when the set
// took it (the Wrapper then holds it), false when it was refused or not sent.
bool StoreAddress(int32_t index, uint32_t address);
// Writes the automatic set-up flag; true when the set took it.
bool StoreAutoSetup(bool on);
// The state of the interface in use, read again into the Wrapper.
void ReadInterfaceState();

}  // namespace Network
