// The application's auto objects and their concrete classes. A skin class
// that replaces one changes only its line here.
#include "units/Agent/EventAgent.h"
#include "units/Agent/MessageAgent.h"
#include "units/Media/MediaWrapper.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/EventAgent.h"
#include "units/SkinBin/WidgetManager.h"
#include "units/SkinBin/Wrapper.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/Wrapper/Wrapper.h"

KV_AUTO_OBJECT(MainApp, Wrapper, ::SkinBin::Wrapper)
KV_AUTO_OBJECT(MainApp, WidgetManager, ::SkinBin::WidgetManager)
KV_AUTO_OBJECT(MainApp, MessageAgent, ::Agent::MessageAgent)
KV_AUTO_OBJECT(MainApp, EventAgent, ::SkinBin::EventAgent)
KV_AUTO_OBJECT(MainApp, PersistentData, ::PersistentData::PersistentData)
KV_AUTO_OBJECT(MainApp, MediaWrapper, ::Media::MediaWrapper)
