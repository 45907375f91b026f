#include "units/PersistentData/PersistentData.h"

#include <string>

#include "runtime/trace.h"
#include "strings/PersistentData.h"

KV_REGISTER_CLASS(::PersistentData::PersistentData);

namespace PersistentData {

namespace {

struct Storage {
  SettingsStore store;
  std::string mainPath = "settings.dat";
  std::string backupPath = "settings.bak";
  bool missingLogged = false;
  bool saveFailing = false;  // the last save failed (logged once)
};

Storage& TheStorage() {
  static Storage s;
  return s;
}

std::string KeyText(kv::TextId key) { return kv::LoadString(key).ToUtf8(); }

// Decimal digits with an optional leading minus, within int32_t.
bool ParseInteger(std::string_view text, int32_t* out) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) i = 1;
  if (i == text.size()) return false;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
    if (value > int64_t{INT32_MAX} + 1) return false;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return false;
  *out = static_cast<int32_t>(value);
  return true;
}

}  // namespace

void SetStorage(const SettingsStore& store, const std::string& mainPath, const std::string& backupPath) {
  Storage& s = TheStorage();
  s.store = store;
  s.mainPath = mainPath;
  s.backupPath = backupPath;
  s.missingLogged = false;
}

bool PersistentData::EnsureOpen() {
  if (open_) return true;
  Storage& s = TheStorage();
  if (!s.store.Open) {
    if (!s.missingLogged) kv::Log("PersistentData: no settings store is set; settings are neither read nor kept");
    s.missingLogged = true;
    return false;
  }
  open_ = true;
  if (s.store.Open(s.mainPath.c_str(), s.backupPath.c_str()) == UDSM_LOADED_DEFAULTS) LoadDefaults();
  return true;
}

void PersistentData::LoadDefaults() {
  kv::Signal(OnLoadDefaultData, this);
  SyncData();
}

bool PersistentData::Read(const std::string& key, std::string* value) {
  return EnsureOpen() && TheStorage().store.Get(key, value);
}

void PersistentData::Write(const std::string& key, std::string_view value) {
  if (!EnsureOpen()) return;
  if (TheStorage().store.Put(key, value) == UDSM_OK) Changed();
}

void PersistentData::Remove(const std::string& key) {
  if (EnsureOpen() && TheStorage().store.Remove(key)) Changed();
}

void PersistentData::RemovePrefix(const std::string& prefix) {
  if (EnsureOpen() && TheStorage().store.RemovePrefix(prefix) > 0) Changed();
}

void PersistentData::Changed() {
  // After the drain, so that writes made by signals still to run in this
  // pass go into the same save.
  if (autoSyncData_) kv::PostLateSignal(kv::MakeSlot(this, &PersistentData::AutoSyncSlot));
}

void PersistentData::AutoSyncSlot(kv::Object*) { SyncData(); }

void PersistentData::OnSetAutoSyncData(bool on) {
  autoSyncData_ = on;
  if (on && open_ && TheStorage().store.IsDirty()) Changed();
}

void PersistentData::SyncData() {
  if (!EnsureOpen()) return;
  const SettingsStore& store = TheStorage().store;
  if (!store.IsDirty()) return;
  const UDSM_Status status = store.Save();
  Storage& s = TheStorage();
  if (status != UDSM_OK && !s.saveFailing)
    kv::Log("PersistentData: the settings file was not saved (status " + std::to_string(status) +
            "); tried again with the next change");
  s.saveFailing = status != UDSM_OK;
}

void PersistentData::FactoryReset() {
  if (!EnsureOpen()) return;
  TheStorage().store.RemovePrefix("");
  LoadDefaults();
}

kv::String PersistentData::GetString(const kv::String& key) {
  std::string value;
  return Read(key.ToUtf8(), &value) ? kv::String::FromUtf8(value) : kv::String();
}
kv::String PersistentData::GetString(kv::TextId key) { return GetString(kv::LoadString(key)); }

void PersistentData::PutString(const kv::String& key, const kv::String& text) { Write(key.ToUtf8(), text.ToUtf8()); }
void PersistentData::PutString(kv::TextId key, const kv::String& text) { Write(KeyText(key), text.ToUtf8()); }

int32_t PersistentData::GetInteger(const kv::String& key) {
  const std::string name = key.ToUtf8();
  std::string value;
  if (!Read(name, &value)) return 0;
  int32_t result = 0;
  if (!ParseInteger(value, &result)) {
    kv::Log("PersistentData: setting \"" + kv::EscapedText(name) + "\" holds \"" + kv::EscapedText(value) +
            "\", not an integer; it reads 0");
    return 0;
  }
  return result;
}
int32_t PersistentData::GetInteger(kv::TextId key) { return GetInteger(kv::LoadString(key)); }

void PersistentData::PutInteger(const kv::String& key, int32_t value) { Write(key.ToUtf8(), std::to_string(value)); }
void PersistentData::PutInteger(kv::TextId key, int32_t value) { Write(KeyText(key), std::to_string(value)); }

bool PersistentData::GetBool(const kv::String& key) {
  std::string value;
  return Read(key.ToUtf8(), &value) && value == KeyText(TRUE_TEXT);
}
bool PersistentData::GetBool(kv::TextId key) { return GetBool(kv::LoadString(key)); }

void PersistentData::PutBool(const kv::String& key, bool value) {
  Write(key.ToUtf8(), KeyText(value ? TRUE_TEXT : FALSE_TEXT));
}
void PersistentData::PutBool(kv::TextId key, bool value) { PutBool(kv::LoadString(key), value); }

void PersistentData::RemoveString(const kv::String& key) { Remove(key.ToUtf8()); }
void PersistentData::RemoveString(kv::TextId key) { Remove(KeyText(key)); }

void PersistentData::RemoveStrings(const kv::String& prefix) { RemovePrefix(prefix.ToUtf8()); }
void PersistentData::RemoveStrings(kv::TextId prefix) { RemovePrefix(KeyText(prefix)); }

}  // namespace PersistentData
