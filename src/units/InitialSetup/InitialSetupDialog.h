// The first-time setup's pages: their base, the page graph and the setup's
// help bar.
//
// InitialSetup::InitialSetupDialog: a full-size page of the setup sequencer
// (MainApp::InitialSetup), window 0x4000000 on layer 2, with a background
// panel, a title, a divider under it and an explanation. Its buttons step
// forward with OK; the page's own keys:
//   OK (1)         NextStep with the page as sender
//   exit (2), 45   from a page of step 5 on: the setup ends (NextState
//                  cleared, then NextStep); before that nothing
//   arrows 4 to 7  the focus to the nearest control that way
//   back (41)      PrevStep (nothing on a page without a previous page)
//   any other key  taken, nothing happens
// A page never opens another: NextStep and PrevStep signal the sequencer
// (at the end of the pass, so that the key's walk never sees its page
// vanish), which opens the page's NextState or PrevState as a new object
// or, with no NextState, completes the setup. The pages' previous and next
// pages come from one table, kPageGraph in InitialSetupDialog.cpp.
//
// Every page calls OnSetFrameWidth(0) in its constructor: the page ends up
// 2 x 34 pixels narrower and lower than the size it names, its content flush
// with the panel. The focus lands on the page's first control when the page
// opens, so that the control's OnFocus runs with the sequencer known.
//
// InitialSetup::HelpBar: the live-TV help bar as a form of the sequencer
// (MainApp::InitialSetup::UpdateHelp opens it).
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/MainApp/InitialSetup.h"
#include "units/NonMenuSystem/HelpBar.h"
#include "units/Views/Frame.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Text.h"

namespace SkinBin {
class Button;
}

namespace InitialSetup {

// Setup steps: the pages before the scan confirmation, the pages from which
// the setup may be left, and done.
inline constexpr int32_t INITIAL_SETUP_START = 1;
inline constexpr int32_t INITIAL_SETUP_ABORTABLE = 5;
inline constexpr int32_t INITIAL_SETUP_DONE = 9;

// The margin the pages' sizes include and that OnSetFrameWidth removes.
inline constexpr int32_t kDefaultFrameWidth = 34;

class InitialSetupDialog : public MainApp::InitialSetupPage {
  KV_CLASS(InitialSetup, InitialSetupDialog, MainApp::InitialSetupPage)
 public:
  InitialSetupDialog();

  kv::Object* HandleEvent(Core::Event* event) override;
  // A change of size posts a Refresh.
  void OnSetBounds(kv::Rect bounds) override;
  // Background over the page; title, divider and explanation from FrameWidth.
  void Refresh() override;
  // Opens the page, then focuses its first control. When the setup's help
  // bar is up already (left by the page before), a button or check box in
  // focus puts its own keys there: a page reached by Back never shows the
  // keys of the page it came from.
  void Open() override;

  // Keeps the text and shows it as the explanation.
  virtual void OnSetInfo(const kv::String& text);
  // Signals OnNextStep (sender: the page) at the end of the pass. Pages
  // store their choice first, then call this.
  virtual void NextStep(kv::Object* sender);
  // A control took the focus: a button's or a check box's help mask and
  // text go to the sequencer's help bar; other controls, or no sequencer,
  // change nothing.
  virtual void DoFocus(kv::Object* control);

  void OnSetTitle(const kv::String& text);
  const kv::String& OnGetTitle() const { return Title; }
  const kv::String& OnGetInfo() const { return Info; }
  // Stores `w` and makes the page 2 x (34 - w) narrower and lower (top-left kept).
  void OnSetFrameWidth(int32_t w);
  int32_t OnGetFrameWidth() const { return FrameWidth; }

  // Signals OnPrevStep at the end of the pass when the page has a previous page.
  void PrevStep(kv::Object* sender = nullptr);
  void SetupDone(kv::Object* sender = nullptr);
  void AbortSetup(kv::Object* sender = nullptr);

  kv::String Title;
  kv::String Info;
  int32_t FrameWidth = kDefaultFrameWidth;

  Views::Text& TitleView() { return title_; }
  Views::MultilineText& InfoView() { return info_; }

 protected:
  // The previous and next page of `page` from the page graph.
  void FollowGraph(const kv::Class& page);
  // The control the focus lands on when the page opens (null: none).
  virtual Core::View* FirstControl() { return nullptr; }
  // A 110 x 27 button at (x, y) with the standard help, stepping forward on
  // OK; `focusHelp` also wires its OnFocus to DoFocus.
  void AddButton(SkinBin::Button& b, int32_t x, int32_t y, const kv::String& text, bool focusHelp);
  // Hides the background, divider, title and explanation (the scan pages
  // show an embedded screen instead).
  void HideOwnViews();
  // Ends the explanation at x `right` (it keeps its left edge).
  void EndInfoAt(int32_t right);

  Views::Frame background_;
  Views::Frame divider_;
  Views::Text title_;
  Views::MultilineText info_;

 private:
  void SignalNext(kv::Object* sender);
  void SignalPrev(kv::Object* sender);
  void RefreshSlot(kv::Object*) { Refresh(); }
};

class HelpBar : public NonMenuSystem::HelpBar {
  KV_CLASS(InitialSetup, HelpBar, NonMenuSystem::HelpBar)
 public:
  HelpBar();
};

// The help text of most buttons: Enter and Back, mask 0x40200.
inline constexpr uint32_t kEnterBackMask = 0x40200;
kv::String EnterBackHelp();
// Texts joined by the help bar's separator.
kv::String HelpText(std::initializer_list<kv::String> parts);

}  // namespace InitialSetup
