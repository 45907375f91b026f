// PersistentData::PersistentData: the application settings (about forty-five
// values: PIN, rating region, remembered lists ...) kept as texts under keys
// in the settings file of the data directory, with a backup copy.
//
// Keys are language-neutral texts (kv::TextId constants of the calling unit,
// or a kv::String), so a language change never renames a setting. The file is
// opened by the first read or write; when neither it nor its backup is valid
// the OnLoadDefaultData slot fills the defaults, which are then saved. While
// AutoSyncData is set (from the start; the removal sequences clear it around
// their removals) the writes of a pass are saved once at its end; otherwise
// they stay in memory until SyncData. A save that fails is tried again with
// the next change.
//
// The shared instance: kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/storage/storageEntry.h"
#include "runtime/auto_object.h"
#include "runtime/object.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "runtime/text.h"

namespace PersistentData {

// The functions of the settings store the data lives in (the host's UDSM_*).
struct SettingsStore {
  UDSM_OpenResult (*Open)(const char* mainPath, const char* backupPath) = nullptr;
  bool (*Get)(std::string_view key, std::string* out) = nullptr;
  UDSM_Status (*Put)(std::string_view key, std::string_view value) = nullptr;
  bool (*Remove)(std::string_view key) = nullptr;
  std::size_t (*RemovePrefix)(std::string_view prefix) = nullptr;
  UDSM_Status (*Save)() = nullptr;
  bool (*IsDirty)() = nullptr;
};

// Sets the store and the paths of the settings file and its backup. Until
// then every read answers its default and every write is dropped, each with
// a log line. An object that has opened the store keeps it; a new object
// opens the store again.
void SetStorage(const SettingsStore& store, const std::string& mainPath, const std::string& backupPath);

// The host's settings store on the given files (by default in the current
// directory). The host calls it at start with files of the data directory.
inline void SetStoragePaths(const std::string& mainPath = "settings.dat",
                            const std::string& backupPath = "settings.bak") {
  SetStorage({&UDSM_Open, &UDSM_Get, &UDSM_Put, &UDSM_Remove, &UDSM_RemovePrefix, &UDSM_Save, &UDSM_IsDirty},
             mainPath, backupPath);
}

class PersistentData : public kv::Object {
  KV_CLASS(PersistentData, PersistentData, kv::Object)
 public:
  PersistentData() = default;

  // The stored text; empty when absent.
  kv::String GetString(kv::TextId key);
  kv::String GetString(const kv::String& key);
  void PutString(kv::TextId key, const kv::String& text);
  void PutString(const kv::String& key, const kv::String& text);

  // The stored text as a decimal integer with an optional leading minus;
  // 0 when absent, and 0 with a log line when it is no such number.
  int32_t GetInteger(kv::TextId key);
  int32_t GetInteger(const kv::String& key);
  void PutInteger(kv::TextId key, int32_t value);
  void PutInteger(const kv::String& key, int32_t value);

  // Stored as the text TRUE_TEXT or FALSE_TEXT; any other text, or none, reads false.
  bool GetBool(kv::TextId key);
  bool GetBool(const kv::String& key);
  void PutBool(kv::TextId key, bool value);
  void PutBool(const kv::String& key, bool value);

  void RemoveString(kv::TextId key);
  void RemoveString(const kv::String& key);
  // Removes every setting whose key starts with the prefix.
  void RemoveStrings(kv::TextId prefix);
  void RemoveStrings(const kv::String& prefix);

  // Writes the file when it holds changes not yet saved.
  void SyncData();

  bool OnGetAutoSyncData() const { return autoSyncData_; }
  // While set, the writes of a pass are saved once at the end of that pass.
  // Setting it with unsaved changes saves them at the end of this pass.
  void OnSetAutoSyncData(bool on);

  // Clears every setting, lets OnLoadDefaultData fill the defaults, and saves.
  void FactoryReset();

  // Fills the defaults (through the Put methods); signalled with this object.
  kv::Slot OnLoadDefaultData;

 private:
  // Opens the store on first use; false when no store was set.
  bool EnsureOpen();
  void LoadDefaults();
  bool Read(const std::string& key, std::string* value);
  void Write(const std::string& key, std::string_view value);
  void Remove(const std::string& key);
  void RemovePrefix(const std::string& prefix);
  // Schedules the end-of-pass save while AutoSyncData is set.
  void Changed();
  void AutoSyncSlot(kv::Object* sender);

  bool open_ = false;
  bool autoSyncData_ = true;
};

}  // namespace PersistentData

KV_DECLARE_AUTO_OBJECT(MainApp, PersistentData)
