// Network::ESNDialog: the device serial number (ESN) the streaming service
// knows the set by, opened from the streaming service's setup page and
// returning to it on OK or Back. Without an ESN from the set the value stays
// empty; the dialog still opens and closes.
#pragma once

#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/Text.h"

namespace Network {

class ESNDialog : public NonMenuSystem::BorderWidgetClass {
  KV_CLASS(Network, ESNDialog, NonMenuSystem::BorderWidgetClass)
 public:
  ESNDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;

  Views::Text& ValueText() { return value_; }

 private:
  Views::Text label_;
  Views::Text value_;
};

}  // namespace Network
