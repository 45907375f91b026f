// Update::CheckingMessage: "checking for a newer software version". It asks
// the update service (the skin Wrapper's StartUpdateCheck) and waits for its
// answer, the event XPM_EVENT_UBN_RESULT, swallowing every key meanwhile:
//   result 0                         confirmation 50 (a version can be installed)
//   5000 to 5999 in steps of 1000    message 15 (no newer version)
//   other multiples of 1000          message 16
//   anything else                    message 29
// An update service that never answers would leave the screen (and the keys)
// blocked: after kAnswerLimit ms without an answer the check ends as a
// failure (message 29).
#pragma once

#include <cstdint>

#include "units/Constants/ConfirmTypes.h"
#include "units/Core/Timer.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/MultilineText.h"

namespace Update {

class CheckingMessage : public NonMenuSystem::WidgetClass {
  KV_CLASS(Update, CheckingMessage, NonMenuSystem::WidgetClass)
 public:
  static constexpr int32_t kAnswerLimit = 60000;

  CheckingMessage();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  void EnterNextState() override;

  // The answer: chooses the next screen and goes on to it.
  void Answer(int32_t result);
  // The wait for the answer ran out (a slot).
  void NoAnswer(kv::Object* sender = nullptr);

  // The type handed to the next screen: the confirmation's type, or the
  // message bar's when the check failed.
  int32_t NextMessageType = Constants::ConfirmTypeUpdateAvailable;

 private:
  Views::MultilineText text_;
  Core::Timer answerTimer_;
};

}  // namespace Update
