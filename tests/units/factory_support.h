// The factory tests' fixture: the whole system (app fixture), factory codes
// and discrete keys sent as the platform reports them, the serial log, and
// the factory sub-system and its screens.
#pragma once

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app_fixture.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/auto_object.h"
#include "units/Core/Group.h"
#include "units/FactorySystem/FactorySystem.h"
#include "units/MainApp/Root.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/Wrapper.h"

class FactoryTest : public apptest::AppTest {
 protected:
  // A factory remote code (with the MAC command's text and the flag word).
  void Code(uint32_t code, const char* text = "", int32_t flag = 0) {
    XPM_FactoryEvent ev{};
    ev.type = XPM_FACTORY_TYPE_COMMAND;
    ev.command.code = code;
    std::strncpy(ev.command.text, text, sizeof ev.command.text - 1);
    ev.command.flag = flag;
    Inject(XPM_EVT_FACTORY, ev);
  }
  // A discrete key (the platform's type 2, 8 bytes).
  void Discrete(uint32_t code) {
    XPM_FactoryEvent ev{};
    ev.type = XPM_FACTORY_TYPE_DISCRETE_KEY;
    ev.command.code = code;
    Inject(XPM_EVT_FACTORY, &ev, 8);
  }
  void EnterFactoryMode() { Code(0x40D55AA5); }
  std::string SerialLog() {
    std::ifstream in(DataDir() / "serial.log", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // The factory sub-system: a child of the running-TV application.
  FactorySystem::FactorySystem* Factory() {
    for (int32_t i = 0; i < App().GetChildCount(); ++i) {
      auto* group = kv::Cast<Core::Group>(App().GetChild(i));
      for (int32_t j = 0; group && j < group->GetChildCount(); ++j)
        if (auto* f = kv::Cast<FactorySystem::FactorySystem>(group->GetChild(j))) return f;
    }
    return nullptr;
  }
  SkinBin::Wrapper* Skin() {
    return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
  }
  template <class T>
  T* OpenForm() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* t = kv::Cast<T>(f)) return t;
    return nullptr;
  }
  // A pixel of the on-screen display as (r, g, b) of its premultiplied word.
  uint32_t PixelAt(int32_t x, int32_t y) { return Osd().Row(y)[x] & 0xFFFFFF; }
};
