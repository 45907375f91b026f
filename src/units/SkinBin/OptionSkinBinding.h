// Binds an option record to a property of the skin's Wrapper: the auto
// object MainApp::Wrapper is a SkinBin::Wrapper, so its own getters and
// setters are called on it through the base Wrapper's member pointers.
#pragma once

#include "units/OptionDatabase/OptionEntry.h"
#include "units/SkinBin/Wrapper.h"

#define OPTION_SKIN_BOUND(P)                                                         \
  ::OptionDatabase::Binding {                                                        \
    static_cast<::OptionDatabase::WrapperGetter>(&::SkinBin::Wrapper::OnGet##P),     \
        static_cast<::OptionDatabase::WrapperSetter>(&::SkinBin::Wrapper::OnSet##P), \
        nullptr                                                                      \
  }
