// The fixed 960 x 540 scene of the view benchmarks: a full-screen
// translucent panel, two framed dialogs, 30 lines of text, 15 list rows and
// 10 images (60 views). Its full redraw is the yardstick of every screen
// benchmark; it is itself measured against a full-window memcpy (goal:
// within 8), and a focus move between two rows against it (goal: within 1/10).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ge/fill.h"
#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Core/Root.h"
#include "units/Forms/Ctrl.h"
#include "units/Forms/Form.h"
#include "units/Resources/Bitmap.h"
#include "units/Views/Frame.h"
#include "units/Views/Image.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace bench {

constexpr int32_t kW = Core::Root::kWidth, kH = Core::Root::kHeight;

// A list row: a highlight bar while focused, nothing otherwise.
class Row : public Forms::Ctrl {
  KV_CLASS(bench, Row, Forms::Ctrl)
 public:
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override {
    if (!IsFocused()) return;
    const kv::Color c{40, 110, 220, static_cast<uint8_t>(200 * opacity / 255)};
    ge::GenBlendRect(target, Core::ToGeRect(clip), Core::ToGeRect(Bounds().MoveTo(origin)), c.ToWord());
  }
};

inline Resources::Bitmap* NewBitmap(int32_t w, int32_t h, uint32_t border, uint32_t inside) {
  auto* b = kv::New<Resources::Bitmap>();
  b->OnSetSize({w, h});
  const ge::Surface s = b->GetSurface();
  ge::GenFillRect(s, s.Bounds(), s.Bounds(), border);
  ge::GenFillRect(s, s.Bounds(), {4, 4, w - 4, h - 4}, inside);
  return b;
}

struct Scene {
  ge::Bitmap osd{kW, kH};
  kv::Persistent<Core::Root> root;
  kv::Persistent<Forms::Form> list;

  Scene() {
    root = kv::New<Core::Root>();
    root->AttachSurface(osd.View());
    auto* panel = kv::New<Views::Rectangle>();
    panel->OnSetBounds({0, 0, kW, kH});
    panel->OnSetColor({10, 16, 30, 160});
    root->Add(panel);

    Resources::Bitmap* frameBitmap = NewBitmap(96, 96, 0xffd0c0a0u, 0xe0302018u);
    list = NewDialog({60, 50, 470, 500}, frameBitmap);
    auto* gallery = NewDialog({500, 50, 900, 500}, frameBitmap);
    root->OnSetFocus(list);

    for (int i = 0; i < 15; ++i) {
      const kv::Rect r{24, 24 + i * 27, 386, 24 + i * 27 + 26};
      auto* row = kv::New<Row>();
      row->OnSetBounds(r);
      list->Add(row);
      AddText(list, r, "Row " + std::to_string(i + 1) + ": Picture mode, Standard");
    }
    list->SelectFirst();
    list->SelectNext();

    Resources::Bitmap* thumb = NewBitmap(48, 48, 0xff20a0f0u, 0xff804020u);
    for (int i = 0; i < 15; ++i)
      AddText(gallery, {24, 24 + i * 27, 376, 50 + i * 27}, "Gallery line " + std::to_string(i + 1));
    for (int i = 0; i < 10; ++i) {
      auto* image = kv::New<Views::Image>();
      image->OnSetBounds({200 + (i % 2) * 80, 24 + (i / 2) * 80, 264 + (i % 2) * 80, 88 + (i / 2) * 80});
      image->OnSetBitmap(thumb);
      gallery->Add(image);
    }
    root->Redraw();
  }

  Forms::Form* NewDialog(kv::Rect bounds, Resources::Bitmap* frameBitmap) {
    auto* form = kv::New<Forms::Form>();
    form->OnSetBounds(bounds);
    auto* frame = kv::New<Views::Frame>();
    frame->OnSetBounds({0, 0, bounds.W(), bounds.H()});
    frame->OnSetBitmap(frameBitmap);
    frame->OnSetFrameWidth(34);
    form->Add(frame);
    root->Add(form);
    return form;
  }

  static void AddText(Forms::Form* form, kv::Rect r, const std::string& text) {
    auto* t = kv::New<Views::Text>();
    t->OnSetBounds(r);
    t->OnSetColor({235, 235, 235, 255});
    t->OnSetString(kv::String::FromUtf8(text.c_str()));
    form->Add(t);
  }

  size_t Views() const {
    size_t n = 0;
    std::vector<Core::View*> todo{root.get()};
    while (!todo.empty()) {
      Core::View* v = todo.back();
      todo.pop_back();
      ++n;
      if (auto* g = kv::Cast<Core::Group>(v))
        for (int32_t i = 0; i < g->GetChildCount(); ++i) todo.push_back(g->GetChild(i));
    }
    return n - 1;  // the root itself is not counted
  }
};

// The benchmark body of one full redraw of the scene.
inline void FullRedrawLoop(benchmark::State& state, Scene& scene) {
  for (auto _ : state) {
    scene.root->InvalidateAll();
    scene.root->Redraw();
    benchmark::DoNotOptimize(scene.osd.Pixels());
    benchmark::ClobberMemory();
  }
}

// The benchmark body of a focus move between two rows of the list and the
// redraw of the two row rectangles.
inline void FocusMoveLoop(benchmark::State& state, Scene& scene) {
  bool down = true;
  for (auto _ : state) {
    if (down)
      scene.list->SelectNext();
    else
      scene.list->SelectPrev();
    down = !down;
    scene.root->Redraw();
    benchmark::DoNotOptimize(scene.osd.Pixels());
    benchmark::ClobberMemory();
  }
}

}  // namespace bench
