// ListForm::ListCourier: the record that carries one data item to a list row,
// and ListForm::SystemInfoCourier, the one of the system-information rows
// (a caption and a value, prepared by SkinBin::SystemInfo).
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace ListForm {

class ListCourier : public kv::Object {
  KV_CLASS(ListForm, ListCourier, kv::Object)
 public:
  ListCourier() = default;

  uint8_t IsDisabled = 0;
  kv::String Text;
  int32_t ItemIndex = 0;  // absolute index of the data item
};

class SystemInfoCourier : public ListCourier {
  KV_CLASS(ListForm, SystemInfoCourier, ListCourier)
 public:
  SystemInfoCourier() = default;

  const kv::String& OnGetValue() const { return Value; }
  void OnSetValue(const kv::String& v) { Value = v; }
  int32_t OnGetType() const { return Type; }
  void OnSetType(int32_t v) { Type = v; }
  const kv::String& OnGetCaption() const { return Caption; }
  void OnSetCaption(const kv::String& v) { Caption = v; }

  kv::String Value;
  int32_t Type = 1;
  kv::String Caption;
};

}  // namespace ListForm
