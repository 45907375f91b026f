// Player tests: the application as it runs, a stick plugged and browsed as
// the browser does it, the players opened by the state change the browser
// makes (a MediaPlayer::SelectedParam), keys and the media service's events
// through the GUI loop.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "media_fixture.h"
#include "units/MainApp/ActiveApp.h"
#include "units/MediaPlayer/SelectedParam.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/WaitingCircle.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"

namespace playertest {

// Stands for the browse screen a player returns to: it keeps what the
// player handed it.
class BrowserStandIn : public NonMenuSystem::WidgetClass {
  KV_CLASS(playertest, BrowserStandIn, NonMenuSystem::WidgetClass)
 public:
  BrowserStandIn() {
    Layer = 1;
    OnSetTimeOutValue(0);
  }
  void Initialize(Primitives::KeyRoutingParameter* param) override {
    NonMenuSystem::WidgetClass::Initialize(param);
    ++opened;
    if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) {
      restore = ref->Value;
      code = ref->Code;
    }
  }
  static inline int opened = 0;
  static inline int32_t restore = -100;
  static inline int32_t code = 0;
};

// A screen the browser itself was opened from (its previous state).
class BrowserParent : public NonMenuSystem::WidgetClass {
  KV_CLASS(playertest, BrowserParent, NonMenuSystem::WidgetClass)
};

// Keeps the message types the non-menu sub-system is asked to show.
class MessageProbe : public Primitives::KeyRoutingForm {
  KV_CLASS(playertest, MessageProbe, Primitives::KeyRoutingForm)
 public:
  void HandleMessage(Structures::Message* msg) override {
    if (msg && msg->Code == Constants::MSG_SHOW_MESSAGE) shown.push_back(msg->IntParam);
  }
  std::vector<int32_t> shown;
};

class PlayerTest : public listtest::MediaTest {
 protected:
  void SetUp() override {
    listtest::MediaTest::SetUp();
    BrowserStandIn::opened = 0;
    BrowserStandIn::restore = -100;
    BrowserStandIn::code = 0;
  }
  NonMenuSystem::NonMenuSystem* Nms() {
    for (int32_t i = 0; i < App().GetChildCount(); ++i)
      if (auto* a = kv::Cast<MainApp::ActiveApp>(App().GetChild(i)))
        return kv::Cast<NonMenuSystem::NonMenuSystem>(a->FindSubSystem(&NonMenuSystem::NonMenuSystem::StaticClass()));
    return nullptr;
  }
  WidgetManager::WidgetManager* Wm() { return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager); }
  int32_t BarType() {
    NonMenuSystem::DirectMessageBar* bar = Nms()->MessageBar();
    return bar ? bar->MessageType : 0;
  }
  bool WaitingShown() {
    NonMenuSystem::WaitingCircle* c = Nms()->GetWaitingCircle();
    return c && c->IsVisible();
  }
  // A stick "tunes": a folder first, then songs a, b and c (2 s each).
  void MusicStick() { WriteStick("tunes", {"sub/", "sub/x.wav", "a.wav", "b.wav", "c.wav"}); }
  // Opens `cls` as the browser does: the state change with a SelectedParam
  // for item `index` of medium 0, the browser's own previous class.
  template <class T>
  T* OpenPlayer(const kv::Class* cls, int32_t index) {
    kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
    state->Class = cls;
    state->PrevState = &BrowserStandIn::StaticClass();
    state->Param = MediaPlayer::SelectedParam::Make(0, index, &BrowserParent::StaticClass());
    auto* form = kv::Cast<T>(Nms()->ChangeState(state));
    Settle();
    return form;
  }
  // The trace line of a message bar's type (followed by the type).
  static std::string MessageTypeTrace() { return "NonMenuSystem::DirectMessageBar: type "; }
  // A receiver of the message agent that keeps the message types shown.
  MessageProbe* WatchMessages() {
    probe_ = kv::New<MessageProbe>();
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(probe_.get());
    return probe_.get();
  }
  void TearDown() override {
    if (probe_) kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(probe_.get());
    probe_ = nullptr;
    listtest::MediaTest::TearDown();
  }
  kv::Persistent<MessageProbe> probe_;
  // Live objects of the player classes, the bars and the media records.
  std::map<std::string, size_t> PlayerCensus() {
    std::map<std::string, size_t> out;
    for (const auto& [cls, n] : Census())
      if (cls.starts_with("MediaPlayer::") || cls.starts_with("playertest::") || cls.starts_with("Media::MediaItem") ||
          cls.starts_with("NonMenuSystem::DirectMessageBar") || cls.starts_with("NonMenuSystem::WaitingCircle") ||
          cls.starts_with("Overlay::"))
        out[cls] = n;
    return out;
  }
  // The open screen of exactly class `cls` (or T), or null.
  Primitives::KeyRoutingForm* OpenScreenOf(const kv::Class* cls) {
    auto* f = Wm()->FindFormOf(cls);
    return f && f->IsOpen() ? f : nullptr;
  }
  template <class T>
  T* Find() {
    return kv::Cast<T>(OpenScreenOf(&T::StaticClass()));
  }
  // Opens the browse screen `cls` on medium `medium` as the source dialog
  // does (its previous state the dialog), and lets its first page come.
  Primitives::KeyRoutingForm* OpenBrowser(const kv::Class* cls, int32_t medium = 0) {
    kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
    state->Class = cls;
    state->PrevState = KV_LATE_CLASS("MediaPlayer::MediaDeviceSelectDialog");
    state->Param = MediaPlayer::SelectedParam::Make(medium, 0, nullptr);
    Nms()->ChangeState(state);
    Settle();
    Run(1000);
    Settle();
    return OpenScreenOf(cls);
  }
  template <class T>
  T* OpenBrowser(int32_t medium = 0) {
    return kv::Cast<T>(OpenBrowser(&T::StaticClass(), medium));
  }
  // The menu's Media page, its entry `downs` rows below the first (1: Music),
  // OK: as a person reaches the media player from the menu.
  void MenuMediaEntry(int downs) {
    Press("menu");
    Run(300);
    for (int i = 0; i < 5; ++i) {
      Press("down");
      Run(300);
    }
    Press("ok");
    Run(300);
    for (int i = 0; i < downs; ++i) {
      Press("down");
      Run(300);
    }
    Press("ok");
    Run(2000);
  }
  // The navigation commands the media service received, as "code a b".
  std::vector<std::string> Navs() { return Calls("PslExternalSendNavCommand"); }
  bool NavSent(const std::string& args) {
    for (const std::string& c : Navs())
      if (c == "PslExternalSendNavCommand(" + args + ")") return true;
    return false;
  }
};

}  // namespace playertest
