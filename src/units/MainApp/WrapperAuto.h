// MainApp::Wrapper: the auto object through which the screens reach the
// television's settings and state (kv::GetAutoObject<Wrapper::Wrapper>).
#pragma once

#include "runtime/auto_object.h"

KV_DECLARE_AUTO_OBJECT(MainApp, Wrapper);
