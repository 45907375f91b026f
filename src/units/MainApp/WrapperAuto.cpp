// The concrete class of MainApp::Wrapper.
#include "units/MainApp/WrapperAuto.h"

#include "units/Wrapper/Wrapper.h"

KV_AUTO_OBJECT(MainApp, Wrapper, ::Wrapper::Wrapper);
