// SkinBin::SystemInfo: the rows of the system-information list, prepared as
// ListForm::SystemInfoCourier records that the list shows as they are.
// Initialize makes the rows (once) with their captions; Refresh reads their
// values from the set: the software version and the hardware addresses of
// the wired and wireless interfaces. At most MAX_SYSTEM_INFO_ROWS rows; a
// row beyond that is refused with a log line.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "units/ListForm/ListCourier.h"

namespace SkinBin {

inline constexpr int32_t MAX_SYSTEM_INFO_ROWS = 16;

// The rows Initialize makes, in order.
enum SystemInfoRow : int32_t {
  SYSINFO_ROW_SOFTWARE_VERSION = 0,
  SYSINFO_ROW_WIRED_MAC = 1,
  SYSINFO_ROW_WIRELESS_MAC = 2,
  SYSINFO_ROW_COUNT = 3,
};

class SystemInfo : public kv::Object {
  KV_CLASS(SkinBin, SystemInfo, kv::Object)
 public:
  SystemInfo() = default;

  // Makes the rows when there are none yet. A slot.
  void Initialize(kv::Object* sender = nullptr);
  // Reads every row's value again. A slot.
  void Refresh(kv::Object* sender = nullptr);
  // Reads the USB disk's name, total and free size (each size as decimal
  // text and its unit); with no disk the name is "Unknown" and both sizes 0.
  void LoadUSBInfo(kv::Object* sender = nullptr);

  kv::String USBName;
  kv::String USBTotalSize;
  kv::String USBFreeSize;

  int32_t GetCount() const { return static_cast<int32_t>(rows_.size()); }
  // Row i; null outside 0..GetCount()-1.
  ListForm::SystemInfoCourier* GetRecord(int32_t i) const;
  // Appends a row with the caption (followed by the separator) and an empty
  // value; null (and a log line) once the table is full.
  ListForm::SystemInfoCourier* AddRow(const kv::String& caption);

 private:
  kv::MemberVector<ListForm::SystemInfoCourier> rows_;
};

}  // namespace SkinBin
