// Texts read whole on the roads where they ran short: texts made of our
// entries, rows whose name ran into the row's number, buttons filled rim to
// rim, addresses, and caption styles, each played as a viewer plays them,
// key by key, and looked at with the picture checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "factory_support.h"
#include "host/script_state.h"
#include "units/Core/SeenTexts.h"

#ifdef KV_VERIFY
namespace {

namespace fs = std::filesystem;

class TextsReadWholeTest : public FactoryTest {
 protected:
  // A home-network server whose MAC address is written upper case.
  void SetUpData() override {
    const fs::path server = DataDir() / "media" / "servers" / "NAS";
    fs::create_directories(server);
    std::ofstream(server / "server.ini") << "name=NAS\naddress=192.168.1.20\nmac=AA:BB:CC:DD:EE:FF\n";
  }
  // A key script written on one line with commas, one step each: "wait N",
  // "state Unit::Class [VALUE]", "factory 0xCODE", "snap NAME" (nothing to
  // do here), else a remote key.
  void Play(const std::string& script) {
    std::stringstream in(script);
    std::string step;
    while (std::getline(in, step, ',')) {
      step.erase(0, step.find_first_not_of(' '));
      step.erase(step.find_last_not_of(' ') + 1);
      const std::string word = step.substr(0, step.find(' '));
      const std::string rest = step.size() > word.size() ? step.substr(word.size() + 1) : "";
      if (word == "wait") {
        Run(std::stoll(rest));
      } else if (word == "state") {
        host::KeyScript::Step s;
        ASSERT_TRUE(host::ParseScreenStep("state", rest, &s)) << step;
        host::RunScreenStep(s);
        Settle();
      } else if (word == "factory") {
        Code(static_cast<uint32_t>(std::stoul(rest, nullptr, 16)));
      } else if (word != "snap" && word != "shot") {
        Press(step);
      }
    }
  }
  // The menu language as the Setup menu's first row steps it: English,
  // Spanish, French, round.
  void Language(int32_t language) {
    Play("state MenuSystem::SetupMenu, wait 300");
    for (int32_t i = 0; i < (language - language_ + 3) % 3; ++i) Play("right, wait 300");
    Play("exit, wait 300");
    language_ = language;
  }
  // The faults of the picture that contain `part`.
  std::vector<std::string> Faults(const std::string& part) {
    std::vector<std::string> out;
    for (const std::string& f : Core::TextFaults(SeenTexts()))
      if (f.find(part) != std::string::npos) out.push_back(f);
    return out;
  }
  // What the viewer reads of the first text containing `part` ("" when none
  // shows).
  std::string Reads(const std::string& part) {
    for (const Core::SeenText& t : SeenTexts())
      if (t.text.find(part) != std::string::npos && t.cover != Core::Cover::kWholly) return t.shown;
    return "";
  }
  int32_t language_ = 0;
};

constexpr int32_t kEnglish = 0, kSpanish = 1, kFrench = 2;

// The factory status check in Spanish: the two ADC results ("Aceptar"
// each) stand apart under their headings, not as one word.
TEST_F(TextsReadWholeTest, TheSpanishStatusCheckShowsBothAdcResultsApart) {
  Language(kSpanish);
  Play("wait 1000, factory 0x40D55AA5, wait 500, factory 0x40BFAB54, wait 500");
  EXPECT_EQ(Faults("FactorySystem::StatusCheck"), std::vector<std::string>{}) << SeenList();
  EXPECT_EQ(Reads("Activado"), "Activado");
}

// The HDMI-CEC rows of the input list: a device name too long for the room
// before the row's number ends in "..." with a gap before the number, in
// every language.
TEST_F(TextsReadWholeTest, ACecDeviceNameEndsBeforeTheRowsNumber) {
  for (int32_t language : {kEnglish, kSpanish, kFrench}) {
    SCOPED_TRACE(language);
    Language(language);
    Play("wait 1000, state MenuSystem::CECSetupMenu, wait 500, right, wait 300, exit, wait 1000, input, wait 300, "
         "down, down, down, down, wait 300");
    EXPECT_EQ(Faults("ListForm::InputItem"), std::vector<std::string>{}) << SeenList();
    const std::string name = Reads("Game Console");
    EXPECT_TRUE(name == "Game Console" || name.rfind("...") == name.size() - 3) << name;
    Play("exit, wait 300, state MenuSystem::CECSetupMenu, wait 500, left, wait 300, exit, wait 500");
  }
}

// A skipped input keeps its label: on its grey row the name and the label
// stand apart, not as one phrase ("TV Blu-ray"), in every language.
TEST_F(TextsReadWholeTest, ASkippedInputsNameAndLabelStandApart) {
  Play("wait 1000, menu, wait 1000, state MenuSystem::VidiSettingsMenu 0, wait 1000, ok, wait 500, right, "
       "wait 500, red, wait 500, exit, wait 500");
  for (int32_t language : {kEnglish, kSpanish, kFrench}) {
    SCOPED_TRACE(language);
    Language(language);
    Play("input, wait 500, up, wait 500");
    EXPECT_FALSE(Reads("Blu-ray").empty()) << SeenList();
    EXPECT_EQ(Faults("ListForm::InputItem"), std::vector<std::string>{}) << SeenList();
    Play("exit, wait 500");
  }
}

// The key pad's cursor line, moved through a channel's name: every letter
// reads whole beside it, at both phases of its blink.
TEST_F(TextsReadWholeTest, TheKeyPadsCursorLeavesEveryLetterWhole) {
  Play("wait 1000, menu, wait 1000, down, wait 400, down, wait 400, ok, wait 500, ok, wait 500, ok, wait 500, "
       "green, wait 500");
  ASSERT_EQ(Reads("Metro HD"), "Metro HD") << SeenList();
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    Play("rewind, wait 300");
    EXPECT_EQ(Faults("NonMenuSystem::KeyPad"), std::vector<std::string>{}) << SeenList();
    Play("wait 600");
    EXPECT_EQ(Faults("NonMenuSystem::KeyPad"), std::vector<std::string>{}) << SeenList();
  }
}

// The Spanish system information: "Aceptar" keeps a margin inside its
// button, and the MAC address rows read whole.
TEST_F(TextsReadWholeTest, TheSpanishSystemInformationReadsWholeInsideItsButtons) {
  Language(kSpanish);
  Play("wait 1000, state NonMenuSystem::KXDSystemInfoDialog, wait 300, right, wait 300");
  EXPECT_EQ(Faults("NonMenuSystem::KXDSystemInfoDialog"), std::vector<std::string>{}) << SeenList();
}

// A server whose MAC address is upper case: the address column fits the
// longest address the format allows, in every language.
TEST_F(TextsReadWholeTest, AnUpperCaseServerAddressReadsWhole) {
  for (int32_t language : {kEnglish, kSpanish, kFrench}) {
    SCOPED_TRACE(language);
    Language(language);
    Play("wait 1000, state MediaPlayer::MediaServerSetupDialog, wait 1000");
    EXPECT_EQ(Reads("AA:BB:CC:DD:EE:FF"), "AA:BB:CC:DD:EE:FF");
    EXPECT_EQ(Faults("MediaServer"), std::vector<std::string>{}) << SeenList();
    Play("exit, wait 500");
  }
}

// The French digital caption style: the drop-shadow edge reads whole on the
// page, and its two choices in the pop-up read whole and differ.
TEST_F(TextsReadWholeTest, TheFrenchCaptionEdgeChoicesReadWholeAndDiffer) {
  Language(kFrench);
  Play("wait 1000, menu, wait 800, down, wait 300, down, wait 300, down, wait 300, right, wait 500, down, wait 300, "
       "down, wait 300, ok, wait 600, down, wait 300, down, wait 300, down, wait 300, ok, wait 600, ok, wait 600, "
       "back, wait 500");
  for (int i = 0; i < 6; ++i) Play("down, wait 300");
  EXPECT_EQ(Faults("MenuSystem::"), std::vector<std::string>{}) << SeenList();
  Play("ok, wait 600");
  EXPECT_EQ(Faults("MenuSystem::"), std::vector<std::string>{}) << SeenList();
  std::vector<std::string> shadows;
  for (const Core::SeenText& t : SeenTexts())
    if (t.viewClass == "Views::Text" && t.where.find("VidiOptionMenu") != std::string::npos) shadows.push_back(t.shown);
  for (size_t a = 0; a < shadows.size(); ++a)
    for (size_t b = a + 1; b < shadows.size(); ++b) EXPECT_NE(shadows[a], shadows[b]);
}

}  // namespace
#endif
