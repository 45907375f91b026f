// SkinBin::WidgetManager: the widget manager of this television. After every
// change of the open screens it works out whether graphics or an input OSD
// are on screen and reports the changes to the system manager through the
// Wrapper's ReportInputOSDStatus (kinds 1 input OSD, 2 menu graphics,
// 3 channel entry) and ReportGraphicsStatus, once per pass.
//
// A menu, the external-input, picture-size, PIN-entry or key-pad window
// counts as menu graphics; any other screen as an input OSD, except the
// message, volume and mute bars alone, which count as nothing. Reports are
// sent only on changes.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/WidgetManager/WidgetManager.h"

namespace SkinBin {

class Wrapper;

class WidgetManager : public ::WidgetManager::WidgetManager {
  KV_CLASS(SkinBin, WidgetManager, ::WidgetManager::WidgetManager)
 public:
  WidgetManager() = default;

  // Posts ReportUIStatus to the end of the pass.
  void UpdateUIStatus() override;
  // Works out what is on screen and reports the changes.
  void ReportUIStatus(kv::Object* sender = nullptr);

  // The Wrapper the reports go through: null for the auto object
  // MainApp::Wrapper (a test names its own here).
  kv::Member<kv::Object> Wrapper;

  // What was reported last.
  uint8_t ChannelEntryReported = 0;  // kind 3 shown
  uint8_t InputOSDReported = 0;      // kind 1 shown
  uint8_t MenuGraphicsReported = 0;  // kind 2 and graphics shown
  uint8_t Spare = 0;

 private:
  bool IsOpen(uint32_t winId) { return FindForm(winId) != nullptr; }
  // True when an open form's window id is none of the three bars.
  bool HasScreenBesidesBars();
};

}  // namespace SkinBin
