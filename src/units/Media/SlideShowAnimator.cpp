#include "units/Media/SlideShowAnimator.h"

#include <cstdlib>
#include <string>

#include "keys/keycodes.h"
#include "platform/psl/psl.h"
#include "runtime/auto_object.h"
#include "runtime/trace.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Core/Group.h"
#include "units/Events/StatusEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/ListWidgets/DataSource.h"
#include "units/Media/DataSources.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaWrapper.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"

KV_REGISTER_CLASS(Media::SlideShowAnimator);

namespace Media {

using namespace keys;

namespace {

constexpr kv::Rect kScreen{0, 0, SlideShowAnimator::kWidth, SlideShowAnimator::kHeight};

// round(60 sin(3k degrees)) and round(60 cos(3k degrees)), k = 0 .. 119.
struct Tables {
  int8_t sine[120];
  int8_t cosine[120];
};
const Tables& KenBurnsTables() {
  static const Tables t = [] {
    Tables r{};
    for (int k = 0; k < 120; ++k) {
      const double a = 3.0 * k * 3.14159265358979323846 / 180.0;
      r.sine[k] = static_cast<int8_t>(__builtin_lround(60.0 * __builtin_sin(a)));
      r.cosine[k] = static_cast<int8_t>(__builtin_lround(60.0 * __builtin_cos(a)));
    }
    return r;
  }();
  return t;
}

void LogStatus(const char* call, int32_t status) {
  if (status != PSL_OK) kv::LogFailedCall(call, status);
}

MediaWrapper* Bridge() { return kv::GetAutoObject<MediaWrapper>(MainApp::MediaWrapper); }

}  // namespace

SlideShowAnimator::SlideShowAnimator() {
  effect_.OnSetNoOfFrames(30);
  effect_.OnSetPeriod(1);
  effect_.OnSetStartValue(0);
  effect_.OnSetEndValue(255);
  effect_.OnSetOutlet(kv::MakeRef<int32_t>(this, &SlideShowAnimator::OnGetEffectValue,
                                            &SlideShowAnimator::OnSetEffectValue));
  effect_.OnFinished = kv::MakeSlot(this, &SlideShowAnimator::DoDecodeNext);
  intraFrame_.OnSetPeriod(1);
  intraFrame_.OnTrigger = kv::MakeSlot(this, &SlideShowAnimator::DoIntraFrame);
  GetRandomEffect = kv::MakeSlot(this, &SlideShowAnimator::RandomEffectSlot);
  canvasA_.Allocate(kWidth, kHeight);
  canvasB_.Allocate(kWidth, kHeight);
  invalidText_.OnSetBounds(kScreen);
  invalidText_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  invalidText_.OnSetColor(Colors::White);
  invalidText_.OnSetAlignH(1);
  invalidText_.OnSetAlignV(1);
  OnSetMediaType(10);
  OnSetRepeat(1);
  OnSetRandom(1);
}

// --- Reports ---------------------------------------------------------------------------------

void SlideShowAnimator::Report(uint16_t code, int32_t a, int32_t b, int32_t c, int32_t d, bool dispatch) {
  auto* root = kv::Cast<Core::Group>(Root.get());
  if (!root) return;
  auto* e = kv::New<Events::StatusEvent>();
  e->Initialize(code, a, b, c, d);
  if (dispatch)
    root->DispatchEvent(e);
  else
    root->Broadcast(e, 0);
}

// --- Player -------------------------------------------------------------------------------------

int32_t SlideShowAnimator::GetTotalItems() { return Playlist ? Playlist->OnGetCount() : 0; }

int32_t SlideShowAnimator::OnGetCurrentUID() {
  CurrentUID = Playlist && current_ ? current_->UID : 0;
  return CurrentUID;
}

int32_t SlideShowAnimator::OnGetSpeed() {
  if (!Root) return Speed = 0;
  auto* wrapper = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
  Speed = wrapper ? wrapper->OnGetMM_IntervalTime() : 0;
  return Speed;
}

void SlideShowAnimator::OnSetSpeed(int32_t index) {
  // Compared with the index in use, not with the settings: the quick menu
  // stores a new interval there before it hands it on.
  if (static_cast<uint32_t>(index) >= 7 || index == Speed) return;
  Speed = index;
  effect_.OnSetBegin(IntervalOf(OnGetSpeed()));
  if (State == 1) Report(30, IntervalOf(OnGetSpeed()) / 1000, 0, 0, 0);
}

void SlideShowAnimator::OnSetRepeat(uint16_t mode) {
  if (mode == Repeat) return;
  Repeat = mode;
  if (Root) Report(14, mode, 0, 0, 0);
}

void SlideShowAnimator::OnSetRandom(uint16_t value) {
  if (value == Random) return;
  // Pictures always follow the folder order: any change asked for reads 1.
  Random = 1;
  if (Root) Report(29, 1, 0, 0, 0);
}

void SlideShowAnimator::OnSetCurrentUID(int32_t index) {
  if (index >= GetTotalItems() || index < 0) {
    target_ = -1;
    return;
  }
  target_ = index;
  backward_ = forward_ = false;
  if (State == 7) {
    OnSetState(2);
    Restart();
  }
  TriggerDecode();
}

void SlideShowAnimator::Next() {
  forward_ = true;
  backward_ = false;
  target_ = -1;
  TriggerDecode();
}

void SlideShowAnimator::Prev() {
  if (decoding_) return;
  OnSetState(10);
  backward_ = true;
  forward_ = false;
  target_ = -1;
  TriggerDecode();
}

void SlideShowAnimator::Restart() {
  if (ImageA) ImageA->OnSetVisible(false);
  if (ImageB) ImageB->OnSetVisible(false);
  const kv::Point size = canvasB_.OnGetSize();
  canvasB_.DrawRectangle({0, 0, size.x, size.y}, {0, 0, 1, 1}, kv::Color{0}, false);
  if (ImageA) ImageA->OnSetBitmap(&canvasA_);
  if (ImageB) ImageB->OnSetBitmap(&canvasB_);
  Effect = 0;
  current_ = nullptr;
  pending_ = nullptr;
  decodingItem_ = nullptr;
  decoding_ = false;
}

kv::String SlideShowAnimator::GetCurrentURI() const { return current_ ? current_->Uri : kv::String(); }

void SlideShowAnimator::OnSetState(uint16_t state) {
  if (state == State) return;
  previousState_ = State;
  State = state;
  bool interval = false;
  switch (state) {
    case 1:
    case 11:
      LogStatus("PslScreenSaverStop", PslScreenSaverStop(globalPsl));
      if (previousState_ == 7) {
        target_ = -1;
        backward_ = forward_ = false;
        Restart();
        TriggerDecode();
      } else if (previousState_ == 2) {
        TriggerDecode();
      }
      interval = state == 1;
      break;
    case 2:
      LogStatus("PslScreenSaverStop", PslScreenSaverStop(globalPsl));
      if (previousState_ == 1) effect_.OnSetEnabled(false);
      break;
    case 7:
      effect_.OnSetEnabled(false);
      LogStatus("PslScreenSaverStart", PslScreenSaverStart(globalPsl));
      if (ImageA) ImageA->OnSetVisible(false);
      if (ImageB) ImageB->OnSetVisible(false);
      current_ = nullptr;
      break;
    case 10:
      effect_.OnSetEnabled(false);
      break;
    default:
      break;
  }
  LogStatus("PslMediaSetPictureViewerPlaybackState", PslMediaSetPictureViewerPlaybackState(globalPsl, state));
  if (state == 2 && previousState_ == 1) Report(2, 0, 0, 0, 0);
  if (state == 7) Report(5, 0, 0, 0, 0);
  if (interval) Report(30, IntervalOf(OnGetSpeed()) / 1000, 0, 0, 0);
}

// --- Picture pipeline ---------------------------------------------------------------------

void SlideShowAnimator::TriggerDecode() {
  if (effect_.IsEnabled()) {
    // A picture waits for its interval: show it now.
    if (effect_.OnGetCurrentFrame() < 2) Arm(0);
  } else if (!decoding_) {
    DoDecodeNext();
  }
}

PictureDataItem* SlideShowAnimator::ItemAt(int32_t index) {
  if (!Playlist || index < 0) return nullptr;
  return kv::Cast<PictureDataItem>(Playlist->GetItemAtAbsolute(index));
}

void SlideShowAnimator::DoDecodeNext(kv::Object*) {
  if (!Playlist) {
    kv::Log("Media::SlideShowAnimator: no play list, nothing to decode");
    return;
  }
  PictureDataItem* item = nullptr;
  if (target_ == -1) {
    if (!current_)
      item = ItemAt(0);
    else
      item = ItemAt(backward_ ? current_->UID - 1 : current_->UID + 1);
  } else {
    item = ItemAt(target_);
    if (current_ && current_->UID < target_)
      backward_ = true;
    else
      forward_ = true;
    target_ = -1;
  }
  if (!item) {
    if (Repeat == 1) {
      kv::Log("Media::SlideShowAnimator: end of the play list");
      Report(5, 0, 0, 1, backward_ ? 1 : 0, true);
      if (State == 10) {
        OnSetState(2);
        target_ = -1;
        backward_ = forward_ = false;
      }
      return;
    }
    item = ItemAt(backward_ ? GetTotalItems() - 1 : 0);
    if (!item) return;
  }
  Playlist->OnSetCurrent(item);
  if (!item->Uri.Empty()) {
    ScalableImage* shown = current_ ? (current_->Picture.get() == ImageA->OnGetBitmap() ? ImageA.get() : ImageB.get())
                                    : nullptr;
    DecodeItem(item, shown == ImageA.get() ? &canvasB_ : &canvasA_);
  }
  if (EffectRandom == 2 && GetRandomEffect) kv::Signal(GetRandomEffect, this);
}

void SlideShowAnimator::DecodeItem(PictureDataItem* item, Graphics::Canvas* canvas) {
  item->Picture = canvas;
  decodingItem_ = item;
  decoding_ = true;
  item->RequestPicture();
}

kv::Object* SlideShowAnimator::HandleEvent(Core::Event* event) {
  if (auto* picture = kv::Cast<PictureEvent>(event)) {
    if (auto* item = kv::Cast<PictureDataItem>(picture->Item.get())) IncomingPicture(item);
    return this;
  }
  if (auto* key = kv::Cast<Core::KeyEvent>(event); key && key->Down) {
    if (key->Code == KEY_RIGHT) key->Code = KEY_NEXT;
    if (key->Code == KEY_LEFT) key->Code = KEY_PREV;
    if (key->Code == KEY_NEXT || key->Code == KEY_PREV) Report(47, 0, 0, 0, 0);
  }
  return Overlay::Player::HandleEvent(event);
}

void SlideShowAnimator::IncomingPicture(PictureDataItem* item) {
  decodingItem_ = nullptr;
  decoding_ = false;
  if (State == 7) return;
  if (item == current_.get()) {
    // Decoded again after a turn: apply the turn to the fresh buffer.
    if (item->Rotation != 0) TurnShown(item->Rotation);
    RedrawImages();
    return;
  }
  pending_ = item;
  int32_t begin = IntervalOf(OnGetSpeed());
  if (!current_ || State == 2) {
    begin = 0;
  } else if (State == 10) {
    if (previousState_ == 2) {
      OnSetState(2);
      begin = effect_.OnGetBegin();  // as it stands
    } else {
      begin = 0;
      OnSetState(11);
    }
  }
  Arm(begin);
}

void SlideShowAnimator::Arm(int32_t begin) {
  arming_ = true;
  effect_.Restart(begin, effect_.OnGetPeriod());
  arming_ = false;
}

void SlideShowAnimator::UpdateCurrent() {
  if (!pending_) return;
  // The end-of-list item exists once the playlist has handed it out; it is
  // not made here only to compare with (it loads a full-screen bitmap).
  if (pending_.get() == kv::FindAutoObject(MediaEndPictureDataItem)) {
    pending_ = nullptr;
    OnSetState(7);
    return;
  }
  current_ = pending_.get();
  pending_ = nullptr;
  if (current_->PictureState == 2) {
    Report(1, 1, 0, 0, 1);
  }
  if (forward_ || backward_)
    Report(11, 10, backward_ ? 1 : 0, current_->UID + 1, 0);
  else
    Report(27, 0, 0, 0, 1);
  forward_ = backward_ = false;
}

void SlideShowAnimator::OnSetEffectValue(int32_t value) {
  EffectValue = value;
  // The start value written when the effect is armed: the picture waits
  // for the begin delay, the first frame shows it.
  if (arming_) return;
  UpdateCurrent();
  if (!current_ || !ImageA || !ImageB) return;
  switch (OnGetEffect()) {
    case 1:
      InterScroll(true);
      break;
    case 2:
    case 3:
      InterFade();
      break;
    case 4:
      InterShutter();
      break;
    case 5:
      InterScroll(false);
      break;
    default:
      InterNone();
      break;
  }
  RedrawImages();
}

ScalableImage* SlideShowAnimator::NewImage() const {
  return current_ && current_->Picture.get() == &canvasB_ ? ImageB.get() : ImageA.get();
}
ScalableImage* SlideShowAnimator::OldImage() const { return NewImage() == ImageA.get() ? ImageB.get() : ImageA.get(); }

void SlideShowAnimator::Place(ScalableImage* image, kv::Rect rect, int32_t opacity, bool sourceToBounds) {
  image->OnSetBounds(rect);
  image->OnSetOpacity(opacity);
  if (sourceToBounds) image->OnSetSourceRect(rect);
  image->OnSetVisible(true);
}

void SlideShowAnimator::InterNone() {
  Place(NewImage(), kScreen, 255, true);
  Place(OldImage(), kScreen, 255, true);
  OldImage()->OnSetVisible(false);
  effect_.OnSetEnabled(false);
  // A cut decodes the next picture itself; a transition does so when it ends.
  if (State == 1 || State == 11) TriggerDecode();
}

void SlideShowAnimator::InterScroll(bool horizontal) {
  const int32_t end = effect_.OnGetEndValue();
  const kv::Rect full = kScreen;
  if (horizontal) {
    const int32_t d = EffectValue * kWidth / end;
    Place(NewImage(), {d - kWidth, 0, d, kHeight}, 255, false);
    Place(OldImage(), {d, 0, d + kWidth, kHeight}, 255, false);
  } else {
    const int32_t d = EffectValue * kHeight / end;
    Place(NewImage(), {0, d - kHeight, kWidth, d}, 255, false);
    Place(OldImage(), {0, d, kWidth, d + kHeight}, 255, false);
  }
  NewImage()->OnSetSourceRect(full);
  OldImage()->OnSetSourceRect(full);
}

void SlideShowAnimator::InterFade() {
  const bool kenBurns = Effect == 3;
  Place(NewImage(), kScreen, EffectValue, !kenBurns);
  Place(OldImage(), kScreen, 255 - EffectValue, !kenBurns);
}

void SlideShowAnimator::InterShutter() {
  // The old picture closes on the centre over the first half (a point at
  // 127), the new one opens from it over the second.
  const int32_t v = EffectValue;
  if (v < 128) {
    const int32_t a = v * (kWidth / 2) / 127, b = v * (kHeight / 2) / 127;
    Place(NewImage(), {0, 0, 0, 0}, 255, true);
    Place(OldImage(), {a, b, kWidth - a, kHeight - b}, 255, true);
  } else {
    const int32_t c = (255 - v) * (kWidth / 2) / 127, e = (255 - v) * (kHeight / 2) / 127;
    Place(OldImage(), {0, 0, 0, 0}, 255, true);
    Place(NewImage(), {c, e, kWidth - c, kHeight - e}, 255, true);
  }
}

void SlideShowAnimator::RedrawImages() {
  if (ImageA) ImageA->InvalidateView();
  if (ImageB) ImageB->InvalidateView();
}

void SlideShowAnimator::RandomEffectSlot(kv::Object*) {
  const int32_t n = std::rand() % 7;
  Effect = n >= 1 && n <= 5 ? static_cast<uint16_t>(n) : 0;
  kv::Log("Media::SlideShowAnimator: transition " + std::to_string(Effect));
}

void SlideShowAnimator::DoIntraFrame(kv::Object*) {
  if (OnGetEffect() != 3) return;
  IntraKenBurns();
  RedrawImages();
}

void SlideShowAnimator::IntraKenBurns() {
  const Tables& t = KenBurnsTables();
  const int32_t k = kenBurnsStep_ % 120;
  const int32_t s = t.sine[k], c = t.cosine[k];
  const kv::Rect src{(960 + 16 * s) / 5, (540 + 9 * s) / 5, (3840 + 16 * c) / 5, (2160 + 9 * c) / 5};
  if (ImageA) ImageA->OnSetSourceRect(src);
  if (ImageB) ImageB->OnSetSourceRect(src);
  ++kenBurnsStep_;
}

// --- Zoom and rotation ----------------------------------------------------------------------

void SlideShowAnimator::HandleZoomChange(uint16_t factor, uint16_t direction) {
  ZoomFactor = factor;
  int32_t w = kWidth, h = kHeight, step = 0;
  if (factor == 1) w = 480, h = 270, step = 40;
  if (factor == 2) w = 240, h = 135, step = 20;
  int32_t x = ZoomRect.x1, y = ZoomRect.y1;
  if (direction == 1) y -= step;
  if (direction == 2) y += step;
  if (direction == 3) x -= step;
  if (direction == 4) x += step;
  if (x + w > kWidth) x = kWidth - w;
  if (y + h > kHeight) y = kHeight - h;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  OnSetZoomRect({x, y, x + w, y + h});
}

void SlideShowAnimator::OnSetZoomRect(kv::Rect rect) {
  ZoomRect = rect;
  if (current_) NewImage()->OnSetSourceRect(rect);
  Report(31, ZoomFactor, 0, 0, 0);
}

void SlideShowAnimator::TurnShown(int32_t angle) {
  const kv::Point size = Bridge()->SetBitmapOrientation(current_->Picture.get() == &canvasB_ ? &canvasB_ : &canvasA_,
                                                        {current_->Width, current_->Height}, angle);
  if (size.x >= 1 && size.y >= 1) current_->Width = size.x, current_->Height = size.y;
}

void SlideShowAnimator::RotatePicture(bool counter) {
  if (!current_) return;
  int32_t& angle = current_->Rotation;
  if (counter) {
    angle -= 90;
    if (angle < 0) angle = 270;
  } else {
    angle += 90;
    if (angle > 270) angle = 0;
  }
  if (angle == 0 || angle == 180) {
    DecodeItem(current_.get(), current_->Picture.get() == &canvasB_ ? &canvasB_ : &canvasA_);
    return;
  }
  TurnShown(counter ? 270 : 90);
  RedrawImages();
}

void SlideShowAnimator::ResetOrentation() {
  if (!current_) return;
  current_->Rotation = 0;
  DecodeItem(current_.get(), current_->Picture.get() == &canvasB_ ? &canvasB_ : &canvasA_);
}

void SlideShowAnimator::ShowInvalidText() {
  PictureDataItem* item = pending_ ? pending_.get() : current_.get();
  auto* canvas = item ? kv::Cast<Graphics::Canvas>(item->Picture.get()) : nullptr;
  if (!canvas) return;
  const kv::Point size = canvas->OnGetSize();
  const kv::Rect all{0, 0, size.x, size.y};
  canvas->DrawRectangle(all, all, kv::Color{0}, false);
  invalidText_.Draw(canvas->GetNativeSurface(), all, {0, 0}, 255);
  RedrawImages();
}

}  // namespace Media
