// PersistentData over the settings store: typed reads and writes, a restart,
// damaged files, defaults, AutoSyncData and a language change.
#include <gtest/gtest.h>
#include <zlib.h>

#include <stdlib.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/storage/storageEntry.h"
#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "support/kv_test.h"
#include "units/PersistentData/PersistentData.h"

namespace pdtest {

namespace fs = std::filesystem;
using Store = PersistentData::PersistentData;

// Language-neutral keys of a string block of the test's own.
struct Keys {
  kv::TextId pin, region, listPrefix, list1, list2;
};

const Keys& TestKeys() {
  static const Keys keys = [] {
    const std::u16string texts[] = {u"PIN", u"RatingRegion", u"List.", u"List.1", u"List.2"};
    std::vector<unsigned char> raw;
    for (const auto& t : texts) {
      for (char16_t c : t) {
        raw.push_back(static_cast<unsigned char>(c & 0xff));
        raw.push_back(static_cast<unsigned char>(c >> 8));
      }
      raw.push_back(0);
      raw.push_back(0);
    }
    // Registered blocks outlive the program.
    static std::vector<unsigned char> data(compressBound(raw.size()));
    uLongf len = data.size();
    compress2(data.data(), &len, raw.data(), raw.size(), 6);
    data.resize(len);
    static kv::StringBlock block{data.data(), static_cast<uint32_t>(len), static_cast<uint32_t>(raw.size()), 5};
    const auto number = static_cast<uint16_t>(kv::StringBlockCount());
    kv::RegisterStringBlocks(&block, 1);
    return Keys{{number, 0}, {number, 1}, {number, 2}, {number, 3}, {number, 4}};
  }();
  return keys;
}

// Fills the defaults: a rating region of 7.
class Defaults : public kv::Object {
  KV_CLASS(pdtest, Defaults, kv::Object)
 public:
  int calls = 0;
  void Fill(kv::Object* sender) {
    ++calls;
    kv::Cast<Store>(sender)->PutInteger(TestKeys().region, 7);
  }
};

class PersistentDataTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    kv::Runtime::SetCollectEveryPass(true);
    std::string pattern = (fs::temp_directory_path() / "persistentdata_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    main_ = dir_ / "settings";
    backup_ = dir_ / "settings.bak";
    PersistentData::SetStoragePaths(main_.string(), backup_.string());
    UDSM_SetSaveHook([this](UDSM_SaveStep step) {
      if (step == UDSM_STEP_DIR_SYNCED) ++saves_;
      return true;
    });
    kv::SetTraceSink([this](std::string_view line) { log_.emplace_back(line); });
    defaults_ = kv::New<Defaults>();
  }
  void TearDown() override {
    kv::SetTraceSink(nullptr);
    UDSM_SetSaveHook(nullptr);
    UDSM_Close();
    PersistentData::SetStorage({}, "settings.dat", "settings.bak");
    fs::remove_all(dir_);
    RuntimeTest::TearDown();
  }

  // A new store object as after a restart: the settings read from the files.
  Store* Restart() {
    UDSM_Close();
    Store* store = kv::New<Store>();
    store->OnLoadDefaultData = kv::MakeSlot(defaults_.get(), &Defaults::Fill);
    return store;
  }
  static void FlipByte(const fs::path& p) {
    std::fstream f(p, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(3);
    char c = 0;
    f.seekg(3);
    f.get(c);
    f.seekp(3);
    f.put(static_cast<char>(c ^ 0x20));
  }
  bool Logged(const std::string& part) const {
    for (const auto& line : log_)
      if (line.find(part) != std::string::npos) return true;
    return false;
  }

  fs::path dir_, main_, backup_;
  int saves_ = 0;
  std::vector<std::string> log_;
  kv::Persistent<Defaults> defaults_;
};

TEST_F(PersistentDataTest, ValuesSurviveARestart) {
  const Keys& k = TestKeys();
  kv::Persistent<Store> store = Restart();
  store->PutString(k.pin, KV_STR(u"0815"));
  store->PutInteger(kv::String::FromUtf8("Volume"), -12);
  store->PutBool(kv::String::FromUtf8("Captions"), true);
  store->PutString(kv::String::FromUtf8("Label"), KV_STR(u"Caf\u00e9 \u2192 TV"));
  store->SyncData();

  store = Restart();
  EXPECT_EQ(store->GetString(k.pin).ToUtf8(), "0815");
  EXPECT_EQ(store->GetInteger(kv::String::FromUtf8("Volume")), -12);
  EXPECT_TRUE(store->GetBool(kv::String::FromUtf8("Captions")));
  EXPECT_EQ(store->GetString(kv::String::FromUtf8("Label")).View(), std::u16string_view(u"Caf\u00e9 \u2192 TV"));
  // The first start found no file: the defaults were filled once and saved.
  EXPECT_EQ(defaults_->calls, 1);
  EXPECT_EQ(store->GetInteger(k.region), 7);
}

TEST_F(PersistentDataTest, WithoutAutoSyncUnsyncedWritesAreLostOnRestart) {
  kv::Persistent<Store> store = Restart();
  store->OnSetAutoSyncData(false);
  store->PutInteger(TestKeys().region, 3);
  store->SyncData();
  store->PutInteger(TestKeys().region, 4);
  driver.Pass();
  store = Restart();
  EXPECT_EQ(store->GetInteger(TestKeys().region), 3);
}

TEST_F(PersistentDataTest, AbsentAndMalformedValuesReadAsDefaults) {
  kv::Persistent<Store> store = Restart();
  const kv::String key = kv::String::FromUtf8("Value");
  EXPECT_TRUE(store->GetString(key).Empty());
  EXPECT_EQ(store->GetInteger(key), 0);
  EXPECT_FALSE(store->GetBool(key));

  const struct {
    const char* text;
    int32_t value;
  } cases[] = {{"42", 42},   {"-42", -42},  {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
               {"12x", 0},   {"-", 0},      {"", 0},                   {"+5", 0},
               {" 5", 0},    {"2147483648", 0}, {"99999999999999999999", 0}};
  for (const auto& c : cases) {
    store->PutString(key, kv::String::FromUtf8(c.text));
    EXPECT_EQ(store->GetInteger(key), c.value) << '"' << c.text << '"';
  }
  EXPECT_TRUE(Logged("not an integer"));

  // Only the exact true text reads true.
  store->PutBool(key, true);
  EXPECT_EQ(store->GetString(key).ToUtf8(), "true");
  EXPECT_TRUE(store->GetBool(key));
  store->PutBool(key, false);
  EXPECT_EQ(store->GetString(key).ToUtf8(), "false");
  EXPECT_FALSE(store->GetBool(key));
  store->PutString(key, KV_STR(u"TRUE"));
  EXPECT_FALSE(store->GetBool(key));
}

TEST_F(PersistentDataTest, RemoveOneOrEveryKeyWithAPrefix) {
  const Keys& k = TestKeys();
  kv::Persistent<Store> store = Restart();
  store->PutInteger(k.list1, 1);
  store->PutInteger(k.list2, 2);
  store->PutInteger(kv::String::FromUtf8("ListX"), 3);
  store->PutString(k.pin, KV_STR(u"1234"));
  store->RemoveStrings(k.listPrefix);
  store->RemoveString(k.pin);
  store->SyncData();

  store = Restart();
  EXPECT_TRUE(store->GetString(k.list1).Empty());
  EXPECT_TRUE(store->GetString(k.list2).Empty());
  EXPECT_TRUE(store->GetString(k.pin).Empty());
  EXPECT_EQ(store->GetInteger(kv::String::FromUtf8("ListX")), 3);
}

TEST_F(PersistentDataTest, ADamagedFileFallsBackToTheBackup) {
  kv::Persistent<Store> store = Restart();
  store->PutInteger(TestKeys().region, 1);
  store->SyncData();
  store->PutInteger(TestKeys().region, 2);
  store->SyncData();  // the main file holds 2, the backup 1
  ASSERT_TRUE(fs::exists(backup_));
  const int callsBefore = defaults_->calls;

  FlipByte(main_);
  store = Restart();
  EXPECT_EQ(store->GetInteger(TestKeys().region), 1);
  EXPECT_EQ(defaults_->calls, callsBefore);
}

TEST_F(PersistentDataTest, BothFilesDamagedLoadTheDefaults) {
  kv::Persistent<Store> store = Restart();
  store->PutString(TestKeys().pin, KV_STR(u"1111"));
  store->SyncData();
  store->PutString(TestKeys().pin, KV_STR(u"2222"));
  store->SyncData();
  const int callsBefore = defaults_->calls;

  FlipByte(main_);
  FlipByte(backup_);
  store = Restart();
  EXPECT_TRUE(store->GetString(TestKeys().pin).Empty());
  EXPECT_EQ(defaults_->calls, callsBefore + 1);
  EXPECT_EQ(store->GetInteger(TestKeys().region), 7);
  // The damaged files were kept aside, and the defaults were saved.
  EXPECT_TRUE(fs::exists(main_.string() + ".damaged"));
  EXPECT_TRUE(fs::exists(main_));
}

TEST_F(PersistentDataTest, AutoSyncSavesTheWritesOfAPassOnceAtItsEnd) {
  kv::Persistent<Store> store = Restart();
  store->GetString(TestKeys().pin);  // opens the store and saves the defaults
  driver.Pass();
  saves_ = 0;

  EXPECT_TRUE(store->OnGetAutoSyncData()) << "on from the start: every write reaches the file";
  store->OnSetAutoSyncData(false);
  store->PutInteger(TestKeys().region, 4);
  driver.Pass();
  EXPECT_EQ(saves_, 0) << "without AutoSyncData nothing is saved by the pass";

  store->OnSetAutoSyncData(true);
  store->PutString(TestKeys().pin, KV_STR(u"4321"));
  store->PutInteger(TestKeys().list1, 1);
  store->RemoveString(TestKeys().list1);
  EXPECT_EQ(saves_, 0);
  driver.Pass();
  EXPECT_EQ(saves_, 1);
  driver.Pass();
  EXPECT_EQ(saves_, 1) << "a pass without writes saves nothing";

  store = Restart();
  EXPECT_EQ(store->GetString(TestKeys().pin).ToUtf8(), "4321");
  EXPECT_EQ(store->GetInteger(TestKeys().region), 4);
}

// Writes made by signals that run while the pass drains its queue (one
// posted by a posted signal, one queued as idle in the pass before) are
// saved together with the first, once, after the drain.
class LateWriter : public kv::Object {
  KV_CLASS(pdtest, LateWriter, kv::Object)
 public:
  Store* store = nullptr;
  void First(kv::Object*) {
    store->PutInteger(TestKeys().region, 5);
    kv::PostSignal(kv::MakeSlot(this, &LateWriter::Second));
  }
  void Second(kv::Object*) { store->PutString(TestKeys().pin, KV_STR(u"1111")); }
  void Idle(kv::Object*) { store->PutInteger(TestKeys().list1, 3); }
};

TEST_F(PersistentDataTest, AutoSyncSavesOnceAfterTheDrainWhenSignalsWriteLate) {
  kv::Persistent<Store> store = Restart();
  store->GetString(TestKeys().pin);
  store->OnSetAutoSyncData(true);
  driver.Pass();
  saves_ = 0;

  kv::Persistent<LateWriter> writer = kv::New<LateWriter>();
  writer->store = store.get();
  kv::IdleSignal(kv::MakeSlot(writer.get(), &LateWriter::Idle));
  driver.Pass();  // the idle signal waits for the next pass
  EXPECT_EQ(saves_, 0);
  kv::PostSignal(kv::MakeSlot(writer.get(), &LateWriter::First));
  driver.Pass();
  EXPECT_EQ(saves_, 1);

  store = Restart();
  EXPECT_EQ(store->GetInteger(TestKeys().region), 5);
  EXPECT_EQ(store->GetString(TestKeys().pin).ToUtf8(), "1111");
  EXPECT_EQ(store->GetInteger(TestKeys().list1), 3);
}

TEST_F(PersistentDataTest, FactoryResetClearsEverythingButTheDefaults) {
  kv::Persistent<Store> store = Restart();
  store->PutString(TestKeys().pin, KV_STR(u"9999"));
  store->PutInteger(TestKeys().region, 2);
  store->SyncData();
  const int callsBefore = defaults_->calls;

  store->FactoryReset();
  EXPECT_EQ(defaults_->calls, callsBefore + 1);
  store = Restart();
  EXPECT_TRUE(store->GetString(TestKeys().pin).Empty());
  EXPECT_EQ(store->GetInteger(TestKeys().region), 7);
}

TEST_F(PersistentDataTest, ALanguageChangeRenamesNoSetting) {
  const Keys& k = TestKeys();
  auto* shared = kv::GetAutoObject<Store>(MainApp::PersistentData);
  ASSERT_NE(shared, nullptr);
  UDSM_Close();
  shared->PutString(k.pin, KV_STR(u"2468"));
  shared->PutBool(kv::String::FromUtf8("Captions"), true);
  const std::string keyBefore = kv::LoadString(k.pin).ToUtf8();

  kv::SetLanguage(1);
  driver.Pass();
  EXPECT_EQ(kv::LoadString(k.pin).ToUtf8(), keyBefore);
  EXPECT_EQ(shared->GetString(k.pin).ToUtf8(), "2468");
  EXPECT_TRUE(shared->GetBool(kv::String::FromUtf8("Captions")));
  shared->SyncData();

  std::string value;
  ASSERT_TRUE(UDSM_Get("PIN", &value));
  EXPECT_EQ(value, "2468");
  kv::SetLanguage(0);
}

TEST_F(PersistentDataTest, WithoutAStoreReadsAreEmptyAndWritesDropped) {
  PersistentData::SetStorage({}, main_.string(), backup_.string());
  kv::Persistent<Store> store = Restart();
  store->PutInteger(TestKeys().region, 5);
  EXPECT_EQ(store->GetInteger(TestKeys().region), 0);
  EXPECT_TRUE(Logged("no settings store"));
  EXPECT_FALSE(fs::exists(main_));
}

}  // namespace pdtest
