// The simulated television's own state behind the middleware's settings,
// channel, source, timer and clock calls (xpm_settings.h), and what the set
// does with it: tuning (acquired events and the picture), channel and guide
// scans.
//
//   sim::TvState& state = sim::Sim::Current()->Tv();
//   state.Set(sim::Setting::kContrast, 0, 70, "XPM_SetContrast");
//   state.SetChannel(0, 4, 1, "XPM_SetChannel");  // XPM_EVT_CHANNEL_ACQUIRED follows
//
// Every sim::Sim owns one (Sim::Tv()). Calls may come from any thread. The
// state holds one mutex of its own, taken before the Sim's state-file mutex
// and never while an event or picture is handed to the Sim's time line; it
// never calls the program itself: events and pictures leave from the Sim's
// thread.
//
// Statuses (xpm.h): XPM_OK; XPM_ERR_INVALID_PARAM for bad input (with a log
// line naming the call); XPM_ERR_FAILED when the set cannot do it now;
// kEndOfList (11) when a walk passes its last entry. Out-values are written
// only on success. Setters refuse values outside their range.
//
// Settings. Picture settings are kept per window and per picture preset 0-8
// (the window's current preset); calls without a window address window 0.
// Each setting has a factory value (per preset for the picture) and a range
// (the table in sim_tv_state.cpp).
//
// Inputs: TV (id 10, RF tuner), AV (20, composite), Component (30), HDMI1 to
// HDMI3 (40-42), PC (50, VGA), Multimedia (60); window 0 starts on TV,
// window 1 on HDMI1. Which inputs carry a signal and which may be chosen is
// the outside world's (SetSourceSignal, SetSourceSelectable).
//
// Channel maps. One per medium (0 antenna, 1 cable), in number order. Each
// tuner input (TV, TV2) keeps its own medium; the map in use is that of the
// medium of the tuner window 0 shows (TV's while it shows another input);
// while that tuner is TV2, which receives digital channels only, the calls
// see the map's digital channels alone (a digital-only scan keeps the
// analogue channels of the map for TV). The
// master ring 0 holds the channels not skipped (excluded); the walks list
// skipped ones too unless they skip excluded channels. Analogue channels
// have the minor number kAnalogMinor (-2); calls also find them by minor 0. Favourite rings 1-3 hold up to 40 channels
// of the map each and are walked in map order. The air (what a scan finds)
// holds a dozen channels per medium; a factory map equals it.
//
// Acquisition. XPM_SetChannel sends XPM_EVT_CHANNEL_ACQUIRED for its window.
// XPM_SetSource sends XPM_EVT_SOURCE_ACQUIRED; on a tuner input it is followed
// by XPM_EVT_CHANNEL_ACQUIRED of the channel the window tunes (numbers 0 when
// the map is empty). XPM_SetMedium and XPM_SwapSources send those of the
// windows they change. All leave at once, from the Sim's thread. The status:
//   tuner input: 7 the map is empty; 4 the channel is locked; 5 the
//     programme's rating is blocked (an unrated programme counts when unrated
//     content is blocked); 6 the channel carries no service; else 0.
//   other inputs: 23 the input is locked; 17 no signal; 20 unrated content is
//     blocked (external inputs carry no rating); else 16.
// Locks and ratings block only while the parental locks are on (state 2);
// "off until standby" (1) turns into on at the next XPM_StandbyMode and at
// start-up (a power cut ends more than standby does); a new set and a reset
// start with them on. A change of the locks (their state, a channel or input
// lock, a rating block) acquires window 0 again at once when it changes
// whether or how its picture is blocked. The payload's lockResult is 0 when the picture shows,
// 2 when a channel or input lock or a rating blocks (the set waits for the
// PIN) and when there is no picture to show (no signal, no service, no
// channel: the viewer is to be told). Acquiring ends a video freeze. An empty
// map's event carries kNoChannel for both numbers.
//
// Picture. After each acquisition of window 0 the picture sink (SetPictureSink)
// gets the video plane, kPlaneWidth x kPlaneHeight (the screen's size): a
// generated picture, a pattern in a colour of its own per channel or input,
// black while blocked or without signal, shown in window 0's display window
// (XPM_SetDisplayWindow, screen coordinates) with black around it. Moving
// that window hands the sink the plane again.
//
// Clock. The network time is kNetworkEpoch plus the shared clock's seconds.
// With the automatic time update on, the local time is the network time moved
// by the time zone's offset; otherwise it runs from the last XPM_SetLocalTime.
//
// Persistence: every change is saved in the Sim's state file under keys
// "tv.*" (one save per change, atomically); keys this version does not know
// are left as they are. A bad stored entry is logged and its factory value
// used. The video freeze, scans and the outside world's conditions are not
// kept.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace sim {

class Sim;

constexpr int32_t kWindows = 2;
constexpr int32_t kPresets = 9;
constexpr int32_t kMedia = 2;  // 0 antenna, 1 cable
constexpr int32_t kRings = 4;  // 0 the master ring, 1-3 the favourite rings
constexpr int32_t kFavoriteRingMax = 40;
constexpr int32_t kAnalogMinor = -2;
constexpr int32_t kNoChannel = -2;  // both numbers of "no channel"
constexpr int32_t kChannelNameMax = 36;
constexpr int32_t kEndOfList = 11;
constexpr int32_t kTimerRecordWords = 25;  // words the calls exchange
constexpr int32_t kTimerWords = 32;        // words kept per record
constexpr int32_t kFirstTimerId = 1;
// The on-timer's own record: read and written like the others, never handed
// out as a free timer.
constexpr int32_t kOnTimerId = 0;
constexpr int32_t kLastTimerId = 16;
constexpr int32_t kScanStepMs = 250;  // time per physical channel or guide entry
constexpr int64_t kNetworkEpoch = 1767225600;  // 2026-01-01 00:00:00 UTC, at clock 0

// Channel walk flags (as xpm_settings.h).
constexpr int32_t kSelectSkipExcluded = 0x1;
constexpr int32_t kSelectSkipEmpty = 0x4;
constexpr int32_t kSelectSkipLocked = 0x10;
constexpr int32_t kOnlyDigital = 0x10;

// Input types (the Constants unit's XPM_SOURCE_TYPE_*).
constexpr int32_t kSourceTypeTuner = 1;
constexpr int32_t kSourceTypeComposite = 2;
constexpr int32_t kSourceTypeComponent = 4;
constexpr int32_t kSourceTypeHdmi = 5;
constexpr int32_t kSourceTypeVga = 6;
constexpr int32_t kSourceTypeMultimedia = 7;
constexpr int32_t kSourceTypeExternal = 9;
constexpr int32_t kSourceTypeDvi = 10;
constexpr int32_t kSourceTypeDigitalTuner = 12;

// The inputs' ids: each names its place in the skin's 30-entry source name
// table (0-24 the inputs, 29 the second tuner).
constexpr int32_t kSourceTv = 0;
constexpr int32_t kSourceAv = 1;
constexpr int32_t kSourceComponent = 2;
constexpr int32_t kSourceHdmi1 = 3;
constexpr int32_t kSourceHdmi2 = 4;
constexpr int32_t kSourceHdmi3 = 5;
constexpr int32_t kSourcePc = 6;
constexpr int32_t kSourceDvi = 7;
constexpr int32_t kSourceMultimedia = 8;
constexpr int32_t kSourceTv2 = 29;
// Inputs that are selectable but not listed (not in the input list or the
// rings): the media player's, and the external input of an application.
constexpr int32_t kSourceMedia = 22;
constexpr int32_t kSourceExternal = 9;

// Acquired statuses.
enum : int32_t {
  kChannelOk = 0,
  kChannelLocked = 4,
  kChannelRatingLocked = 5,
  kChannelNotAvailable = 6,
  kChannelMapEmpty = 7,
  kSourceOk = 16,
  kSourceNoSignal = 17,
  kSourceRatingLocked = 20,
  kSourceLocked = 23,
};

// The settings kept as one number each. The comment says how they are
// addressed: the index passed to Set and Get.
enum class Setting : int32_t {
  // Picture, per window (index) and the window's current preset.
  kBacklight,
  kContrast,
  kBrightness,
  kSaturation,
  kHue,
  kSharpness,
  kColorTemperature,
  kAnalogNR,
  kDigitalNR,
  kDynamicContrast,
  kSuperResolution,
  // Picture, per window (index).
  kVideoPreset,
  kViewMode,
  kPreferredViewMode,
  kVdecSensitivity,
  // Picture, one each (index 0).
  kColorManager,
  kCinemaMode,
  kGameMode,
  kHorizontalPosition,
  kVerticalPosition,
  kHLineAdjust,
  kVLineAdjust,
  kPhase,
  // White balance per colour (index 0 red, 1 green, 2 blue).
  kColorTempOffset,
  kColorTempGain,
  // Sound (index 0, kAudioDecodeMode per window).
  kVolume,
  kMute,
  kBalance,
  kBass,
  kTreble,
  kEqualizerPreset,
  kPreferredAudioDecodeMode,
  kAudioDecodeMode,
  kVolumeLevelling,
  kMuteExtOutput,
  kDynamicVolume,
  kAeq,
  kTruSurround,
  kTruVolume,
  kStudioSoundTruSurround,
  kStudioSoundTruVolume,
  kAudioDelay,
  kSpdifFormat,
  kSpeaker,
  // Captions (kCaptionRenderState per window; the properties per index 0-10).
  kCaptionRenderState,
  kCaptionDecodeMode,
  kBasicCaptionService,
  kAdvancedCaptionService,
  kAdvancedCaptionProperty,
  kBasicCaptionProperty,
  // Ratings and locks (the rating blocks through SetRatingBlock).
  kParentalLocksState,
  kUnratedContent,
  kFrontPanelLock,
  kParentalLocksMask,
  kUsChildRating,
  kUsAgeRating,
  kUsMovieRating,
  kCanadaLevel,
  // Time.
  kTimeZone,
  kDaylightSaving,
  kAutoTimeUpdate,
  // System. Each tuner input keeps its own medium: kMedium is TV's,
  // kTuner2Medium TV2's.
  kMedium,
  kTuner2Medium,
  kDualWindow,
  kSecondaryWindowAudio,
  kPipPosition,
  kCount
};

struct SettingRange {
  int32_t min;
  int32_t max;
};

// One channel of a map.
struct Channel {
  int32_t major = 0;
  int32_t minor = kAnalogMinor;
  std::string name;  // 8-bit text, at most kChannelNameMax characters
  bool digital = false;
  int32_t physical = 0;
  bool locked = false;
  bool excluded = false;  // skipped by the viewer: out of ring 0, passed over when surfing
  bool service = true;    // false: the channel carries nothing now
  int32_t rating = -1;    // the programme's US TV rating, 0 (G) to 3 (MA); -1 unrated
  // Caption services carried (basic 0-4, advanced 0-6); -1: the usual ones
  // (digital: basic 1, advanced 1 and 2; analogue: basic 1 and 2).
  int32_t basicCaptions = -1;
  int32_t advancedCaptions = -1;
  int32_t easyReaderService = 0;  // the advanced service in easy-reader form, 0 none
  // Audio services carried (0-2); -1: the usual ones (digital 2, analogue 1).
  int32_t audioServices = -1;
};

// A channel on the air (sim_tv_air.h).
struct AirChannel {
  int32_t major = 0;
  int32_t minor = kAnalogMinor;  // kAnalogMinor for an analogue channel
  std::string name;
  int32_t physical = 0;
  int32_t rating = -1;   // the programme's US TV rating 0-3, -1 unrated
  bool service = true;   // false: listed, but nothing is broadcast on it
};

// One input.
struct Source {
  int32_t id = 0;
  int32_t type = 0;
  std::string name;
  bool selectable = true;
  bool signal = false;
  bool locked = false;
  // The picture the input shows; width 0: the usual one of its type.
  int32_t videoWidth = 0;
  int32_t videoHeight = 0;
  bool videoPcTiming = false;
};

// Broken-down time: nine words in the order of the middleware's records.
struct BrokenDownTime {
  int32_t second = 0;
  int32_t minute = 0;
  int32_t hour = 0;
  int32_t day = 1;     // 1-31
  int32_t month = 0;   // 0-11
  int32_t year = 70;   // years since 1900
  int32_t weekday = 0; // 0 Sunday
  int32_t yearDay = 0;
  int32_t dst = 0;
};

struct VideoContent {
  int32_t width = 0;
  int32_t height = 0;
  int32_t scanType = 0;   // 1 interlaced, 2 progressive
  int32_t frameRate = 0;  // 4 29.97, 7 59.94, 8 60 frames a second
  int32_t aspect = 0;     // 1 4:3, 2 16:9
  int32_t colorFormat = 0;
  int32_t contentType = 0;
  int32_t colorDepth = 0;  // 4 8 bit
  int32_t pcTiming = 0;
};

struct CaptionService {
  std::string language;
  int32_t easyReader = 0;
  int32_t wideAspect = 0;
};

// The result of a tune or input change, handed to the Sim's thread.
struct Acquisition {
  bool channelEvent = false;  // XPM_EVT_CHANNEL_ACQUIRED, else XPM_EVT_SOURCE_ACQUIRED
  int32_t window = 0;
  int32_t source = 0;
  int32_t major = 0;
  int32_t minor = 0;
  int32_t status = 0;
  int32_t lockResult = 0;
  bool picture = false;  // window 0: a new picture
  uint32_t pictureKey = 0;
  bool blank = false;  // the picture is black
  bool ratingTable = false;  // the channel carries the downloadable rating table
};

// Where the simulated picture goes: opaque RGBA pixels (red in the low byte),
// width x height, stride = width. Called on the Sim's thread, never while the
// Sim holds a lock; the pixels are valid during the call only.
using PictureSink = std::function<void(const uint32_t* pixels, int32_t width, int32_t height)>;
// Installs the sink (null removes it). Remove it only after the Sim stopped.
void SetPictureSink(PictureSink sink);
// Hands a picture to the sink, if one is installed (the Sim's thread).
void DeliverPicture(const uint32_t* pixels, int32_t width, int32_t height);
// The video plane: the screen's size; display windows are given in it.
constexpr int32_t kPlaneWidth = 960;
constexpr int32_t kPlaneHeight = 540;
// A kPlaneWidth x kPlaneHeight plane, black, with the picture scaled into
// `window` (x, y, width, height; clipped to the plane).
std::vector<uint32_t> PlacePicture(const std::vector<uint32_t>& picture, int32_t width, int32_t height,
                                   const std::array<int32_t, 4>& window);
// The picture the set shows for `key` (one colour per channel or input), or black.
std::vector<uint32_t> MakePicture(uint32_t key, bool blank, int32_t* width, int32_t* height);
// The screen of a running network application of `kind` (the system
// manager's application kinds), the same size.
std::vector<uint32_t> MakeAppPicture(int32_t kind, int32_t* width, int32_t* height);

class TvState {
 public:
  explicit TvState(Sim& sim);
  ~TvState();
  TvState(const TvState&) = delete;
  TvState& operator=(const TvState&) = delete;

  // The "tv.*" entries that saving the state now would write (sim_tv_state_saved.cpp).
  std::map<std::string, std::string> SavedForm() const;

  // --- Settings --------------------------------------------------------------
  // A change of the parental-locks state or a rating block acquires window
  // 0 again when it changes how its picture is blocked (SetParentalLocksState).
  int32_t Set(Setting s, int32_t index, int32_t value, const char* call);
  int32_t Get(Setting s, int32_t index, int32_t* value, const char* call) const;
  // The value now (the factory value when never set); 0 for a bad index.
  int32_t Value(Setting s, int32_t index = 0) const;
  // The range of a setting (of index `index` for the caption properties).
  static SettingRange Range(Setting s, int32_t index = 0);
  // The factory value (of `preset` for the picture settings kept per preset).
  static int32_t FactoryValue(Setting s, int32_t index = 0, int32_t preset = 0);

  // Rating blocks, each level and content on its own. US child: level 1-2
  // (Y, Y7); US age: level 1-5 (not rated, G, PG, 14, MA); content 0x1111111
  // or 1 for the whole rating, else one descriptor bit 0x10 (D), 0x100 (L),
  // 0x1000 (S), 0x10000 (V), 0x1000000 (FV). US movie: level 1-8 (2 G to
  // 7 X, 8 not rated), content 0. Canada: system 0 (English, levels 0-6) or
  // 1 (French, levels 0-5).
  // Stores the parental-locks state. This, a rating block, the unrated
  // content block and a channel or input lock take effect at once: when the
  // main window's picture is blocked otherwise than it was, the window is
  // acquired again as at a channel change (a blocked picture blacks out and
  // asks for the PIN, a lifted block brings the picture back).
  int32_t SetParentalLocksState(int32_t value, const char* call);
  // With `cascade`, opening a whole rating also opens its descriptors and
  // the milder levels of its table with theirs ("not rated" levels apart).
  int32_t SetRatingBlock(Setting s, int32_t rating, int32_t content, int32_t blocked, const char* call,
                         bool cascade = false);
  int32_t GetRatingBlock(Setting s, int32_t rating, int32_t content, int32_t* blocked, const char* call) const;

  int32_t SetTimeZone(int32_t zone, int32_t dst, const char* call);
  // The offset of a zone (0 Eastern ... 7 Newfoundland) from GMT in hours.
  int32_t GmtOffset(int32_t zone, int32_t dst, float* hours, const char* call) const;
  int32_t SetAudioLanguage(const char* code, const char* call);
  std::string AudioLanguage() const;
  int32_t AddRatingLanguage(const char* code, const char* call);
  std::vector<std::string> RatingLanguages() const;
  void SetFrozen(bool frozen);
  bool Frozen() const;
  // Where the video of a window (0 main, 1 second) shows on the video plane
  // (kPlaneWidth x kPlaneHeight); the whole plane at start. A new place of
  // window 0 shows its picture there at once (a media picture: at its next
  // frame).
  void SetDisplayWindow(int32_t window, const std::array<int32_t, 4>& rect);
  // When the program's client starts (XPM_InitClient): window 0 acquires
  // what it shows, its picture and its acquired event.
  void ShowPowerOnPicture();
  // Live TV begins (the system manager hears that the first-time setup is
  // over or will not run): when window 0 has nothing to show (no channel, no
  // service, no signal, a lock), its acquisition is reported so that the
  // viewer is told; a picture that shows needs no report.
  void LiveTvStarts();
  // The panel: dark from XPM_StandbyMode until the set wakes (the system
  // manager hears the user interface report its setup status again); while
  // dark, window 0's picture is black.
  void Wake();
  bool PanelDark() const;
  // A network application started or ended: window 0 shows the screen of
  // the application that owns it (kinds other than 1, flags without 0x20),
  // else its picture again.
  void AppsChanged();
  // After standby (XPM_StandbyMode), the program back in normal TV (its
  // system manager's report): window 0 acquires what it shows again. False
  // when the set was not in standby (nothing sent).
  bool WakeUp();
  std::array<int32_t, 4> DisplayWindow(int32_t window) const;
  int32_t ShowSampleCaption(int32_t show, const char* text, int32_t length, const char* call);
  std::string SampleCaption() const;  // empty while none is shown

  int32_t ResetVideoPreset(int32_t window, int32_t preset, const char* call);
  // Sound settings back to the factory's, except volume and mute.
  void ResetAudioDefaults();
  // Mode 0: every setting, the channel and input locks and the language
  // preferences back to the factory's. Channel maps, names, rings, timers
  // and the clock stay.
  int32_t FactoryReset(int32_t mode, const char* call);

  // --- Clock ---------------------------------------------------------------
  int64_t NetworkTime() const;  // seconds since 1970 (UTC)
  BrokenDownTime LocalTime() const;
  int32_t SetLocalTime(const BrokenDownTime& t, const char* call);

  // --- Inputs ----------------------------------------------------------------
  std::vector<Source> Sources() const;
  int32_t SourceIdAt(int32_t index, int32_t* id, const char* call) const;
  int32_t SourceType(int32_t id, int32_t* type, const char* call) const;
  int32_t CurrentSource(int32_t window, int32_t* id, const char* call) const;
  int32_t SetSource(int32_t window, int32_t id, const char* call);
  int32_t IsSourceSelectable(int32_t id, int32_t window, int32_t* selectable, const char* call) const;
  int32_t SetSourceLock(int32_t id, int32_t locked, const char* call);
  int32_t GetSourceLock(int32_t id, int32_t* locked, const char* call) const;
  int32_t SwapSources(const char* call);
  // The outside world: a device plugged in or out, an input made unavailable.
  void SetSourceSignal(int32_t id, bool signal);
  void SetSourceSelectable(int32_t id, bool selectable);
  // The picture the input shows (width 0: the usual one of its type).
  void SetSourceVideo(int32_t id, int32_t width, int32_t height, bool pcTiming);

  // --- Channels ----------------------------------------------------------------
  std::vector<Channel> Channels(int32_t medium) const;
  std::vector<Channel> Ring(int32_t medium, int32_t ring) const;
  // The medium in use: that of the tuner window 0 shows (TV's when it shows
  // no tuner). XPM_SetMedium sets it, XPM_GetMedium reads it.
  int32_t Medium() const;
  // The medium a tuner input keeps (TV's for any other input).
  int32_t MediumOf(int32_t sourceId) const;
  int32_t SetMedium(int32_t medium, const char* call);
  int32_t CurrentChannel(int32_t window, int32_t* major, int32_t* minor, const char* call) const;
  // The channel a window tunes on a medium's map, whichever medium is in use:
  // its last channel there, else the map's first, else none (kNoChannel).
  int32_t CurrentChannelOn(int32_t window, int32_t medium, int32_t* major, int32_t* minor, const char* call) const;
  int32_t SetChannel(int32_t window, int32_t major, int32_t minor, const char* call);
  // A recording starts on the tuner of `window`: the tuner tunes the
  // channel it records (on the medium it records from), as a set whose one
  // tuner cannot show one channel and record another must. Nothing happens
  // when the window already shows that channel or shows no tuner input.
  void TuneForRecording(int32_t window, int32_t medium, int32_t major, int32_t minor);
  int32_t ChannelInfo(int32_t major, int32_t minor, Channel* out, const char* call) const;
  // A channel of a medium's map, whichever medium is in use (XPM_ERR_NOT_FOUND
  // when that map has none of the number).
  int32_t ChannelInfoOn(int32_t medium, int32_t major, int32_t minor, Channel* out) const;
  // The medium a tuner (0 or 1) receives: that of the tuner input its window
  // shows, else that of the tuner's own input (TV's for tuner 0, TV 2's for 1).
  int32_t TunerMedium(int32_t tuner) const;
  int32_t CurrentPhysicalChannel(int32_t window, int32_t* physical, const char* call) const;
  int32_t NumChannelsInRing(int32_t ring, int32_t* count, const char* call) const;
  int32_t IsChannelInRing(int32_t ring, int32_t major, int32_t minor, int32_t* in, const char* call) const;
  // One step of a walk: dir +1 next, -1 previous (xpm_settings.h).
  int32_t WalkChannels(int dir, int32_t window, int32_t source, int32_t ring, int32_t major, int32_t minor,
                       int32_t select, int32_t only, int32_t wrap, int32_t* outMajor, int32_t* outMinor,
                       const char* call) const;
  // The channels a physical channel carries (the air of the current medium).
  int32_t VirtualChannels(int32_t physical, std::vector<std::pair<int32_t, int32_t>>* out, const char* call) const;
  int32_t AddChannelToRing(int32_t ring, int32_t major, int32_t minor, const char* call);
  int32_t RemoveChannelFromRing(int32_t ring, int32_t major, int32_t minor, const char* call);
  int32_t SetChannelName(int32_t major, int32_t minor, const char* name, const char* call);
  int32_t SetChannelLock(int32_t major, int32_t minor, int32_t locked, const char* call);
  int32_t GetChannelLock(int32_t major, int32_t minor, int32_t* locked, const char* call) const;
  // The skip mark as the outside world sets it (ring 0 calls set it too).
  bool SetChannelExcluded(int32_t medium, int32_t major, int32_t minor, bool excluded);
  // The outside world's: the medium's whole map becomes `channels` (sorted,
  // duplicates dropped); favourites of channels that are gone are dropped and
  // a window tuned to a channel that is gone shows none (sim_tv_map.cpp).
  void ReplaceChannelMap(int32_t medium, const std::vector<Channel>& channels);

  // --- What the windows show -----------------------------------------------
  // The outside world's, for one channel until the Sim ends (not kept):
  // its signal quality (0-100; negative: the usual one of its physical
  // channel) and its picture's lines (480, 720 or 1080; 0: the usual one,
  // 1080 digital, 480 analogue).
  void SetChannelSignal(int32_t major, int32_t minor, int32_t quality);
  void SetChannelVideoLines(int32_t major, int32_t minor, int32_t lines);
  int32_t SignalQuality(int32_t window, int32_t* quality, const char* call) const;
  int32_t GetVideoContent(int32_t window, VideoContent* out, const char* call) const;
  int32_t NumAudioServices(int32_t window, int32_t* count, const char* call) const;
  int32_t CurrentAudioService(int32_t window, int32_t* index, const char* call) const;
  int32_t SetAudioService(int32_t window, int32_t index, const char* call);
  int32_t AudioServiceLanguage(int32_t window, int32_t index, std::string* language, const char* call) const;
  int32_t AudioReception(int32_t window, int32_t* stereo, int32_t* sap, const char* call) const;
  int32_t GetCaptionService(int32_t window, int32_t advanced, int32_t service, CaptionService* out,
                            const char* call) const;
  int32_t AutoSync(const char* call);
  int32_t Standby(int32_t mode, int32_t reason, const char* call);
  void SetFrontDisplayMode(int32_t mode);
  int32_t FrontDisplayMode() const;

  // --- Timer records ---------------------------------------------------------
  int32_t GetTimer(int32_t id, int32_t* words, const char* call) const;        // kTimerRecordWords words
  int32_t SetTimer(int32_t id, const int32_t* words, const char* call);
  int32_t FirstFreeTimerId(int32_t* id, const char* call) const;
  // The checks of a recording timer with days (xpm_settings.h, XPM_SetTimer).
  int32_t CheckRecordingTimer(int32_t id, const int32_t* words, const char* call) const;

  // --- Scans ---------------------------------------------------------------------
  // What the tuner finds: the scans take the analogue or the digital
  // channels of the medium's air as asked (neither flag: both). A scan that is not additive
  // first takes the channels of the kinds it looks for out of the medium's map
  // (a digital-only scan keeps the analogue channels); the map is filled again one physical
  // channel every kScanStepMs (XPM_EVT_FULL_SCAN_PROGRESS, flag word as set),
  // then XPM_EVT_FULL_SCAN_COMPLETE; a new scan replaces a running one.
  int32_t StartChannelScan(int32_t medium, bool analog, bool digital, bool additive, const char* call);
  // One physical channel of the current medium, added to its map. With
  // `tune` (the last flag of XPM_StartChannelDiscovery 0: a number typed over
  // live TV) the set then tunes window 0 to the first channel found, and
  // when nothing was found on a map still empty, reports window 0's
  // acquisition (the empty map's status), so that the viewer is told.
  int32_t StartChannelDiscovery(int32_t physical, bool analog, bool digital, bool tune, const char* call);
  // Ends a running scan or discovery (XPM_EVT_FULL_SCAN_ABORTED); nothing
  // runs: nothing happens.
  int32_t AbortChannelScan(const char* call);
  // The guide of the medium's digital channels on physical channels
  // first..last (XPM_EVT_EPG_SCAN_PROGRESS each), or of the window's channel
  // (single), then XPM_EVT_EPG_FULL_SCAN_COMPLETE.
  int32_t StartGuideScan(int32_t window, bool single, int32_t first, int32_t last, int32_t medium,
                         const char* call);
  int32_t AbortGuideScan(int32_t window, const char* call);
  // The outside world's (sim_tv_air.h).
  void SetAir(int32_t medium, std::vector<AirChannel> channels);
  void SetScanFlagWord(int32_t flag);
  void SetScansAnswer(bool answer);

 private:
  struct MapState {
    std::vector<Channel> channels;             // the master ring, in number order
    std::array<std::set<int64_t>, kRings> favorites;  // rings 1-3 (0 unused): channel keys
    std::array<std::pair<int32_t, int32_t>, kWindows> current{};  // (-2, -2) none
  };

  // Everything below runs with mutex_ held.
  int32_t StoreLocked(Setting s, int32_t index, int32_t value, const char* call);
  std::string KeyOf(Setting s, int32_t index) const;
  bool CheckIndex(Setting s, int32_t index, const char* call) const;
  int32_t ValueLocked(Setting s, int32_t index) const;
  bool ParentalLocksOn() const;
  bool RatingBlocked(int32_t rating) const;
  // A programme's US rating word (sim_guide.h) blocked by the rating locks.
  bool RatingWordBlocked(int32_t word) const;
  // Whether the channel is rating-blocked now: by the guide's programme on
  // now (its end in `ends`, network seconds), else, with no guide data on
  // now, by the channel's own rating (`ends` 0).
  bool ProgrammeBlocked(const Channel& c, int64_t* ends) const;
  // At the end of the programme window 0 shows, its block is checked again:
  // a change sends the acquisition again.
  void WatchProgrammeEnd(int64_t ends);
  void ProgrammeEnded(uint64_t watch);
  const Source* FindSource(int32_t id) const;
  Source* FindSource(int32_t id);
  // The source, or null after logging that `call` named no such source.
  const Source* SourceOrLog(int32_t id, const char* call) const;
  bool IsTuner(int32_t sourceId) const;
  // The medium setting of a tuner input, and the medium in use (Medium()).
  static Setting MediumSettingOf(int32_t sourceId);
  int32_t MediumLocked() const;
  MapState& Map();
  // Takes the channels the map no longer holds out of its favourite rings
  // and its windows' current channels (mutex_ held).
  static void DropMissingChannels(MapState& map);
  const MapState& Map() const;
  int FindChannel(const MapState& map, int32_t major, int32_t minor) const;
  // Window 0 on the second tuner, which receives digital channels only: the
  // calls that address the map in use see its digital channels alone (the
  // map itself, shared with TV, keeps every channel either tuner found).
  bool DigitalOnlyLocked() const;
  // Whether the calls see `c` of `map` (every channel of a map not in use).
  bool Shown(const MapState& map, const Channel& c) const;
  // FindChannel among the channels the calls see: -1 for one they do not.
  int FindShown(const MapState& map, int32_t major, int32_t minor) const;
  const Channel* CurrentChannelOf(int32_t window) const;
  const Channel* CurrentChannelOf(const MapState& map, int32_t window) const;
  // The status by which the locks block the window's channel or input now
  // (kChannelLocked, kChannelRatingLocked, kSourceLocked,
  // kSourceRatingLocked), else 0; the end of the programme judged in `ends`.
  int32_t BlockLocked(int32_t window, int64_t* ends) const;
  Acquisition AcquireLocked(int32_t window, bool channelEvent);
  void AcquireWindowLocked(int32_t window, bool fromSource, std::vector<Acquisition>* out);
  // After a change of the locks: window 0 acquired again (into `out`, for
  // Send once mutex_ is released) when its block differs from the one its
  // picture shows.
  void AcquireIfBlockChangedLocked(std::vector<Acquisition>* out);
  // Records `a`'s picture as the one window 0 shows (key, blank, block).
  void PictureShownLocked(const Acquisition& a);
  void Send(const std::vector<Acquisition>& acquisitions);
  // Hands window 0's picture to the sink in its display window (Sim's thread).
  void SchedulePicture(uint32_t key, bool blank);
  void InsertChannel(MapState& map, const Channel& c);
  static bool InRing(const MapState& map, int32_t ring, const Channel& c);
  bool BadWindow(int32_t window, const char* call) const;
  struct ScanKinds {
    bool analog = true;
    bool digital = true;
  };
  void ScanStep(uint64_t generation, int32_t medium, ScanKinds kinds, int32_t physical, int32_t percent);
  static bool Wanted(const AirChannel& a, ScanKinds kinds);
  void ScanEnd(uint64_t generation);
  void DiscoveryEnd(uint64_t generation, int32_t medium, ScanKinds kinds, int32_t physical);
  void GuideStep(uint64_t generation, int32_t position, int32_t total, int32_t major, int32_t minor);
  void GuideEnd(uint64_t generation, int32_t total);

  // Persistence.
  void Load();
  std::map<std::string, std::string> Serialize() const;
  void Save();

  Sim& sim_;
  mutable std::mutex mutex_;

  std::map<std::string, int32_t> values_;  // settings changed from the factory's
  std::string audioLanguage_ = "eng";
  std::vector<std::string> ratingLanguages_;
  std::vector<Source> sources_;
  Source mediaSource_{kSourceMedia, kSourceTypeExternal, "Media", true, true, false};
  // The external input (an application's picture): selectable, not listed,
  // so that the listed inputs fit the ten rows of the input list.
  Source externalSource_{kSourceExternal, kSourceTypeExternal, "External", true, false, false};
  std::array<std::array<int32_t, 4>, 2> displayWindow_{
      {{0, 0, kPlaneWidth, kPlaneHeight}, {0, 0, kPlaneWidth, kPlaneHeight}}};
  std::array<int32_t, kWindows> windowSource_{};
  std::array<MapState, kMedia> maps_;
  std::array<std::vector<AirChannel>, kMedia> air_;  // what each medium carries
  std::map<int32_t, std::array<int32_t, kTimerWords>> timers_;
  int64_t manualOffset_ = 0;  // local minus network time while set by hand, seconds

  // Not kept.
  bool frozen_ = false;
  bool panelDark_ = false;
  bool asleep_ = false;  // XPM_StandbyMode was called and no wake-up followed
  uint64_t programmeWatch_ = 0;  // the watch of the programme end in force
  int64_t programmeEnds_ = 0;    // network seconds; 0 none
  std::string sampleCaption_;
  std::array<int32_t, kWindows> audioService_{};
  int32_t frontDisplayMode_ = 0;
  std::map<int64_t, int32_t> channelSignal_;  // by major << 32 | minor
  std::map<int64_t, int32_t> channelLines_;
  // Window 0's last picture, shown again where its display window moves.
  bool pictureShown_ = false;
  uint32_t pictureKey_ = 0;
  bool pictureBlank_ = true;
  int32_t blockShown_ = 0;  // the block status of that picture; 0 none
  uint64_t scanGeneration_ = 0;
  bool scanning_ = false;
  int32_t scanFound_ = 0;
  uint64_t guideGeneration_ = 0;
  bool guideScanning_ = false;
  int32_t scanFlag_ = 0;       // parameter 3 of the scan-progress events
  bool scansAnswer_ = true;    // false: scans and aborts send no events

  std::map<std::string, std::string> saved_;  // what the state file holds of ours
};

}  // namespace sim
