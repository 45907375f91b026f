// The middleware's network calls (wired LAN, wireless LAN, WPS), served by
// the simulated television's home network (sim_net_state.h).
//
// Status convention of xpm.h: XPM_OK (0) is success; out-values are written
// only on success. Scans, joins and connection tests answer at once whether
// they were started; their outcome arrives later as an event
// (XPM_EVT_WLAN_SCAN_COMPLETE, XPM_EVT_WLAN_CONNECT_COMPLETE,
// XPM_EVT_NETWORK_TEST_RESULTS).
#pragma once

#include <cstddef>
#include <cstdint>

// Devices: 0 the wired interface, 1 the wireless one.
inline constexpr int32_t XPM_LAN_DEV_WIRED = 0;
inline constexpr int32_t XPM_LAN_DEV_WIRELESS = 1;

// The address settings of an interface; addresses most significant octet first.
struct XPM_IfConfig {
  uint8_t dhcp;  // 1: the addresses come from a DHCP server
  uint8_t reserved[3];
  uint8_t ip[4];
  uint8_t mask[4];
  uint8_t gateway[4];
  uint8_t dns1[4];
  uint8_t dns2[4];
};
static_assert(offsetof(XPM_IfConfig, ip) == 4);
static_assert(sizeof(XPM_IfConfig) == 24);

// The configuration the interface is set to (DHCP flag and static addresses).
int32_t XPM_LAN_GetIFConfig(int32_t device, XPM_IfConfig* config);
// Sets it (`wireless` non-zero for the wireless interface).
int32_t XPM_LAN_SetIFConfig(int32_t wireless, const XPM_IfConfig* config);
// The addresses in use now (the leased ones under DHCP; zeros without a link).
int32_t XPM_LAN_GetIFState(int32_t device, XPM_IfConfig* state);
// The interface's hardware address as "00:11:22:AA:BB:CC" (18 bytes with the terminator).
int32_t XPM_LAN_GetMacAddr(int32_t device, char* text);
int32_t XPM_LAN_SetMacAddr(int32_t device, const char* text);
// The device in use: 0 wired, 1 wireless, -1 none.
int32_t XPM_LAN_GetActivatedDev(int32_t* device);
// Switches an interface on or off.
int32_t XPM_LAN_Enable(int32_t on);
int32_t XPM_WLAN_Enable(int32_t on);

// Connection test: bits of `mask` choose the steps (XPM_NET_TEST_*); the
// results follow as XPM_EVT_NETWORK_TEST_RESULTS.
inline constexpr int32_t XPM_NET_TEST_LINK = 1;
inline constexpr int32_t XPM_NET_TEST_GATEWAY = 2;
inline constexpr int32_t XPM_NET_TEST_DNS = 4;
inline constexpr int32_t XPM_NET_TEST_INTERNET = 8;
inline constexpr int32_t XPM_NET_TEST_ALL = 15;
int32_t XPM_LAN_Test_Network(int32_t mask);
int32_t XPM_LAN_Test_Network_Quit(void);

// --- Wireless ----------------------------------------------------------------------

// Security methods of an access point.
inline constexpr int32_t XPM_WLAN_SEC_OPEN = 0;
inline constexpr int32_t XPM_WLAN_SEC_WEP = 1;
inline constexpr int32_t XPM_WLAN_SEC_WPA_AES = 2;
inline constexpr int32_t XPM_WLAN_SEC_WPA_TKIP = 3;
inline constexpr int32_t XPM_WLAN_SEC_WPA2_AES = 4;
inline constexpr int32_t XPM_WLAN_SEC_WPA2_TKIP = 5;
inline constexpr int32_t XPM_WLAN_SEC_OTHER = 6;

// Statuses of XPM_EVT_WLAN_CONNECT_COMPLETE.
inline constexpr int32_t XPM_WLAN_CONNECT_NO_ANSWER = 0;  // the access point did not answer
inline constexpr int32_t XPM_WLAN_CONNECT_REFUSED = 1;    // wrong key or PIN
inline constexpr int32_t XPM_WLAN_CONNECT_OK = 2;

// One scan result. The network name fills its 32 bytes without a terminator
// when it is 32 bytes long.
inline constexpr int32_t XPM_WLAN_SSID_BYTES = 32;
struct XPM_WlanScanResult {
  char ssid[XPM_WLAN_SSID_BYTES];
  uint8_t bssid[6];
  uint8_t channel;
  uint8_t signal;    // 0 to 100
  uint8_t mode;      // bits: 1 a, 2 b, 4 g, 8 n
  uint8_t security;  // XPM_WLAN_SEC_*
  uint8_t reserved[2];
  int32_t rate;      // units of 500 kbit/s
  uint8_t spare[16];
};
static_assert(offsetof(XPM_WlanScanResult, bssid) == 32);
static_assert(offsetof(XPM_WlanScanResult, rate) == 44);
static_assert(sizeof(XPM_WlanScanResult) == 64);

// Scans for every network (empty or null name) or for one; at most 32 bytes
// of the name count. XPM_EVT_WLAN_SCAN_COMPLETE follows.
int32_t XPM_WLAN_Scan(const char* ssid);
int32_t XPM_WLAN_StopScan(void);
// Copies up to size / 64 results of the last scan into `buffer`; `count`
// tells how many.
int32_t XPM_WLAN_GetScanResults(void* buffer, int32_t size, int32_t* count);

// A join request.
struct XPM_WlanJoinRecord {
  char ssid[33];      // zero-terminated
  char key[65];       // zero-terminated pass phrase or WEP key
  uint8_t keyLength;
  uint8_t security;   // XPM_WLAN_SEC_*, or 0xFF: the set finds the access point's own
  int32_t connectMode;
};
static_assert(offsetof(XPM_WlanJoinRecord, keyLength) == 98);
static_assert(offsetof(XPM_WlanJoinRecord, connectMode) == 100);
static_assert(sizeof(XPM_WlanJoinRecord) == 104);

// Starts joining; XPM_EVT_WLAN_CONNECT_COMPLETE follows.
int32_t XPM_WLAN_JoinNetwork(const XPM_WlanJoinRecord* record);
int32_t XPM_WLAN_QuitNetwork(void);

// The wireless link now. Channel, mode, address and rate are those of the
// access point joined; zero without a link.
struct XPM_WlanStatus {
  int8_t state;  // 1 linked, 0 the device is up without a link, -1 the device is down
  char ssid[33];
  uint8_t signal;    // 0 to 100
  uint8_t security;  // XPM_WLAN_SEC_*
  uint8_t channel;
  uint8_t mode;      // bits: 1 a, 2 b, 4 g, 8 n
  uint8_t bssid[6];  // the access point's hardware address
  int32_t rate;      // units of 500 kbit/s
};
static_assert(offsetof(XPM_WlanStatus, bssid) == 38);
static_assert(offsetof(XPM_WlanStatus, rate) == 44);
static_assert(sizeof(XPM_WlanStatus) == 48);
int32_t XPM_WLAN_StatusEx(XPM_WlanStatus* status);

// WPS. A PIN is a number of up to 8 digits.
int32_t XPM_GenerateWPSPin(uint32_t* pin);
// Joins `ssid` with `pin`: the access point's PIN (setPin 0) or the PIN the
// set generated and the user entered at the access point (setPin non-zero).
int32_t XPM_WLAN_WPSJoinByPinEx(const char* ssid, const char* pin, uint8_t setPin);
// Joins the access point whose WPS button was pressed.
int32_t XPM_WLAN_WPSJoinByPb(void);
