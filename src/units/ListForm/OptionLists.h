// ListForm::OptionList: the choices of one option of the option database as
// a pop-up list that opens on the current value and writes the chosen value
// through the option's property; ListForm::SystemInfoList: the rows of the
// system information, as the skin Wrapper's SkinBin::SystemInfo prepares
// them.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "units/Forms/ImageIndicator.h"
#include "units/ListForm/ListClass.h"
#include "units/Resources/Resources.h"

namespace OptionDatabase {
class OptionDataClass;
}

namespace ListForm {

// Adds the 20 x 20 up and down arrows to `list` as its previous and next
// indicators (the owner places them).
void AddArrowIndicators(ListClass& list, Forms::ImageIndicator& up, Forms::ImageIndicator& down);

// A list with an up and a down indicator at its right edge (the option,
// system-information and label lists).
class IndicatedList : public ListClass {
  KV_CLASS(ListForm, IndicatedList, ListClass)
 public:
  IndicatedList();
  // The engine's layout, then the up indicator at (width - inset, -4) and
  // the down one at (width - inset, height - 16); the inset is ItemXOffset
  // unless a kind sets its own.
  void Refresh() override;

 protected:
  int32_t indicatorInset_ = -1;

 private:
  Forms::ImageIndicator up_;
  Forms::ImageIndicator down_;
};

class OptionListItem : public ListItem {
  KV_CLASS(ListForm, OptionListItem, ListItem)
 public:
  OptionListItem();
  // The text starts 8 pixels in.
  void Refresh() override;
};

class OptionList : public IndicatedList {
  KV_CLASS(ListForm, OptionList, IndicatedList)
 public:
  OptionList();

  // A SkinBin::UserRefInt parameter names the option; then the engine's
  // start-up and the list sized to its rows.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  int32_t GetFocusItemIndex() override;
  void InitializeItems() override;

  // OptionRowsWidth of the option; rows are 27 high.
  int32_t GetItemsWidth() const;
  int32_t GetItemsHeight() const { return 27; }
  const Resources::BitmapId& GetFocusBitmap() const;

  // Row activation: writes the row's choice and signals OnValueChanged.
  void DoActivate(kv::Object* sender);
  // The record of OptionType, or null.
  OptionDatabase::OptionDataClass* GetRecord() const;

  int32_t OptionType = 0;
  kv::Slot OnValueChanged;

 private:
  int32_t rowsWidth_ = 150;
};

// An option list keeps this much room left and right of its rows.
inline constexpr int32_t kOptionListInset = 20;
// The width of the rows of an option list: 180 for the time-zone option;
// else as wide as the longest choice needs, at least 150 and at most 300.
int32_t OptionRowsWidth(int32_t optionType);

// The width of the longest choice of an option in a font (0 for an unknown
// option).
int32_t WidestChoice(int32_t optionType, Resources::Font* font);

class SystemInfoItem : public ListItem {
  KV_CLASS(ListForm, SystemInfoItem, ListItem)
 public:
  SystemInfoItem();
  // Text = caption followed by value.
  void SetData(kv::Object* data) override;
  // Splits the text after the separator into caption and value.
  kv::Object* GetData(kv::Object* data) override;
  // The row's own activate key is consumed and does nothing.
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  // Non-focused while the list does not hold its dialog's focus.
  int32_t GetCtrlState() override;
};

class SystemInfoList : public IndicatedList {
  KV_CLASS(ListForm, SystemInfoList, IndicatedList)
 public:
  SystemInfoList();
  // Prepares the Wrapper's system information afresh and counts its rows.
  int32_t GetItemsNum() override;
};

}  // namespace ListForm
