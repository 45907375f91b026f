// Helpers shared by the Wrapper's source files: checked middleware calls,
// the trace lines of the accessors, the frames of the guarded setters and of
// the getters, and one-line definitions of the regular properties.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/xpm/xpm_settings.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "units/Wrapper/Wrapper.h"

namespace Structures {
class LocalTime;
}

namespace Wrapper::detail {

// A local time in the middleware's layout and back (WrapperTimers.cpp); a
// missing time becomes all zero, and CopyTime of none is none.
XPM_LocalTime ToMiddleware(const Structures::LocalTime* t);
Structures::LocalTime* FromMiddleware(const XPM_LocalTime& t);
// `before` when it holds the time `t` (lists reading the same times again
// share them; a time handed on is copied before it is changed), else a new one.
Structures::LocalTime* FromMiddlewareAsBefore(const XPM_LocalTime& t, Structures::LocalTime* before);
Structures::LocalTime* CopyTime(const Structures::LocalTime* t);

// Logs "<call> Error 0x<status>" when the status is not 0; returns it. "Not
// found" (a channel number that is not in the list) is an answer, not a
// fault, and is not logged.
inline int32_t Checked(const char* call, int32_t status) {
  return status == XPM_ERR_NOT_FOUND ? status : kv::LogFailedCall(call, status);
}

// One trace line: the label alone ("%s"), with an integer ("%s%i"), a
// boolean ("%s%b") or two integers ("%s%i%i").
void TraceLabel(kv::TextId label);
void TraceInt(kv::TextId label, int32_t value);
void TraceBool(kv::TextId label, bool value);
void TraceIntInt(kv::TextId label, int32_t a, int32_t b);

// The traced setters' frame: one trace line of the label with the value,
// then `set()`, whose status is returned.
template <class Set>
int32_t TracedSet(kv::TextId label, int32_t value, Set set) {
  TraceInt(label, value);
  return set();
}

// A getter's read: `read` gets where the middleware writes its answer, preset
// to `fallback`; the value is returned whatever the call's status.
template <class Read>
int32_t GetWithDefault(int32_t fallback, Read read) {
  int32_t value = fallback;
  read(&value);
  return value;
}

// The most channels a ring table holds; a walk never takes more steps.
inline constexpr int32_t kRingCapacity = 1000;

// Walks a ring from the wildcard channel (-1, -1): `next` asks for the
// channel after (major, minor) and answers the middleware's status, `visit`
// sees each channel. The walk ends on the end-of-list status (answering 0),
// or is cut short by any other status (answering it), by a channel already
// seen or by kRingCapacity steps (answering XPM_ERR_FAILED), with a log line.
int32_t WalkRing(const char* call,
                 const std::function<int32_t(int32_t major, int32_t minor, XPM_VirtualChannel* next)>& next,
                 const std::function<void(const XPM_VirtualChannel& channel)>& visit);

}  // namespace Wrapper::detail

namespace Wrapper {

template <class Set>
int32_t Wrapper::GuardedSet(kv::TextId label, int32_t value, Set set) {
  if (int32_t lock = GetOSDLock()) return lock;
  detail::TraceInt(label, value);
  return set();
}

template <class Set>
int32_t Wrapper::GuardedSetFlag(kv::TextId label, bool on, Set set) {
  if (int32_t lock = GetOSDLock()) return lock;
  detail::TraceBool(label, on);
  return set();
}

template <class Set>
int32_t Wrapper::GuardedSetAt(kv::TextId label, int32_t index, int32_t value, Set set) {
  if (int32_t lock = GetOSDLock()) return lock;
  detail::TraceIntInt(label, index, value);
  return set();
}

}  // namespace Wrapper

// Calls a middleware function and logs a failure: XPM_CALL(XPM_SetVolume, v).
#define XPM_CALL(fn, ...) ::Wrapper::detail::Checked(#fn, fn(__VA_ARGS__))

// --- Regular properties, one line each ----------------------------------------------
// The patterns of Wrapper.h written once. The arguments after the middleware
// functions (none, Window, or a fixed number) go first in both calls; the
// value, or where to write it, comes last.

// XPM_CALL(fn, <extra arguments>, last).
#define WRAPPER_CALL_LAST(fn, last, ...) XPM_CALL(fn, __VA_ARGS__ __VA_OPT__(, ) last)

// getFn's answer after the extra arguments, `fallback` when the call fails.
#define WRAPPER_READ(fallback, getFn, ...) \
  detail::GetWithDefault(fallback, [&](int32_t* out) { return WRAPPER_CALL_LAST(getFn, out, __VA_ARGS__); })

// OnSet<P>: keeps the value in the cache field P, then passes it to Setter
// after the extra arguments.
#define WRAPPER_CACHED_SET(P, Setter, ...) \
  void Wrapper::OnSet##P(int32_t v) {      \
    P = v;                                 \
    Setter(__VA_ARGS__ __VA_OPT__(, ) v);  \
  }

// A property with a setter in a frame: OnSet<P> as above; Setter(value)
// calls frame(label, value, set) where set() calls setFn; Getter asks getFn,
// `fallback` when the call fails.
#define WRAPPER_SETTING(frame, P, Setter, Getter, label, fallback, setFn, getFn, ...) \
  WRAPPER_CACHED_SET(P, Setter)                                                       \
  int32_t Wrapper::Setter(int32_t v) {                                                \
    return frame(label, v, [&] { return WRAPPER_CALL_LAST(setFn, v, __VA_ARGS__); }); \
  }                                                                                   \
  int32_t Wrapper::Getter() { return WRAPPER_READ(fallback, getFn, __VA_ARGS__); }

// A guarded property: Setter answers the lock while OSDLock is set, else
// traces "<label><value>" and calls setFn.
#define WRAPPER_GUARDED_SETTING(P, Setter, Getter, label, fallback, setFn, getFn, ...) \
  WRAPPER_SETTING(GuardedSet, P, Setter, Getter, label, fallback, setFn, getFn, __VA_ARGS__)

// A traced property: as a guarded one, without the lock test.
#define WRAPPER_TRACED_SETTING(P, Setter, Getter, label, fallback, setFn, getFn, ...) \
  WRAPPER_SETTING(detail::TracedSet, P, Setter, Getter, label, fallback, setFn, getFn, __VA_ARGS__)

// The guarded accessors of an indexed setting: Setter(index, value) answers
// the lock while OSDLock is set, else traces "<label><index><value>" and
// calls setFn(index, value); Getter(index) asks getFn, `fallback` when the
// call fails.
#define WRAPPER_GUARDED_INDEXED(Setter, Getter, label, fallback, setFn, getFn)       \
  int32_t Wrapper::Setter(int32_t index, int32_t v) {                                \
    return GuardedSetAt(label, index, v, [&] { return XPM_CALL(setFn, index, v); }); \
  }                                                                                  \
  int32_t Wrapper::Getter(int32_t index) { return WRAPPER_READ(fallback, getFn, index); }

// A direct property: OnSet<P> keeps the value in the cache field and passes
// convert(value) to setFn, without lock test or trace; OnGet<P> keeps
// convert(answer) of getFn (0 when the call fails) in the cache field.
#define WRAPPER_DIRECT_PROPERTY(P, convert, setFn, getFn, ...) \
  void Wrapper::OnSet##P(int32_t v) {                          \
    P = v;                                                     \
    WRAPPER_CALL_LAST(setFn, convert(v), __VA_ARGS__);         \
  }                                                            \
  int32_t Wrapper::OnGet##P() { return P = convert(WRAPPER_READ(0, getFn, __VA_ARGS__)); }

// A direct property passing its value unchanged.
#define WRAPPER_DIRECT_SETTING(P, setFn, getFn, ...) WRAPPER_DIRECT_PROPERTY(P, , setFn, getFn, __VA_ARGS__)

// A direct on/off property: any non-zero value passes as 1, and it reads
// back as 0 or 1.
#define WRAPPER_DIRECT_FLAG(P, setFn, getFn, ...) WRAPPER_DIRECT_PROPERTY(P, Int2Bool, setFn, getFn, __VA_ARGS__)
