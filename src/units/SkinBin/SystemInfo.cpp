#include "units/SkinBin/SystemInfo.h"

#include <string>

#include "strings/SkinBin.h"
#include "strings/Strings.h"
#include "units/Core/Log.h"
#include "units/SkinBin/NetworkSetup.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Wrapper/Wrapper.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::SystemInfo);

ListForm::SystemInfoCourier* SystemInfo::GetRecord(int32_t i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return rows_[static_cast<size_t>(i)];
}

ListForm::SystemInfoCourier* SystemInfo::AddRow(const kv::String& caption) {
  if (GetCount() >= MAX_SYSTEM_INFO_ROWS) {
    Core::LogError("SkinBin::SystemInfo: full at %i rows, row %s dropped", {MAX_SYSTEM_INFO_ROWS, caption});
    return nullptr;
  }
  auto* row = kv::New<ListForm::SystemInfoCourier>();
  row->ItemIndex = GetCount();
  row->Caption = kv::ConcatString(caption, kv::GetVariantOfString(SYSINFO_SEPARATOR));
  row->Text = row->Caption;
  rows_.push_back(row);
  return row;
}

void SystemInfo::Initialize(kv::Object* /*sender*/) {
  if (!rows_.empty()) return;
  AddRow(kv::GetVariantOfString(SYSINFO_SOFTWARE_VERSION));
  AddRow(kv::GetVariantOfString(SYSINFO_WIRED_MAC));
  AddRow(kv::GetVariantOfString(SYSINFO_WIRELESS_MAC));
}

void SystemInfo::Refresh(kv::Object* /*sender*/) {
  auto set = [this](int32_t i, const kv::String& value) {
    if (ListForm::SystemInfoCourier* row = GetRecord(i)) {
      row->Value = value.Empty() ? kv::GetVariantOfString(SYSINFO_UNKNOWN) : value;
      row->Text = kv::ConcatString(row->Caption, row->Value);
    }
  };
  set(SYSINFO_ROW_SOFTWARE_VERSION,
      kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)->GetFirmwareVersion());
  set(SYSINFO_ROW_WIRED_MAC, NetworkSetup::LAN_GetMacAddr(0));
  set(SYSINFO_ROW_WIRELESS_MAC, NetworkSetup::LAN_GetMacAddr(1));
}

void SystemInfo::LoadUSBInfo(kv::Object* /*sender*/) {
  auto* skin = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
  const USBDiskStatus* disk = skin ? skin->GetUSBDiskStatus() : nullptr;
  const bool present = disk && disk->Mounted;
  // Sizes in megabytes: a disk's size in kilobytes can pass 32 bits.
  auto size = [](int64_t kib) {
    return kv::ConcatString(kv::NewStringAnsi(std::to_string(kib / 1024).c_str()), kv::LoadString(SYSINFO_SIZE_UNIT));
  };
  USBName = present && !disk->FileSystem.Empty() ? disk->FileSystem : kv::GetVariantOfString(Strings::SID_UNKNOWN);
  USBTotalSize = size(present ? disk->TotalKiB : 0);
  USBFreeSize = size(present ? disk->FreeKiB : 0);
}

}  // namespace SkinBin
