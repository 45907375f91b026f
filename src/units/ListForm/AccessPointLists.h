// The access-point lists of the wireless screens: ListForm::AccessPointList
// (name, hardware address or protocol, channel and signal word; a WPS PIN
// join when a PIN is set) and ListForm::KXDAccessPointList (the skin's list:
// name, signal bar, padlock, protocol; an open network is joined at once).
// Both show the Wrapper's last scan; the owner starts a scan (StartScan)
// and loads its result when the scan completes (GetScanResult).
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/ListForm/ListCourier.h"
#include "units/ListForm/OptionLists.h"
#include "units/ListForm/PagedList.h"
#include "units/Views/Image.h"
#include "units/Views/ImageList.h"
#include "units/Views/Text.h"

namespace ListForm {

class ApCourier : public ListCourier {
  KV_CLASS(ListForm, ApCourier, ListCourier)
 public:
  uint8_t Protocol = 0;
  uint8_t Signal = 0;
  uint8_t Channel = 0;
  kv::String NetworkName;
  kv::String MacAddress;
};

class KXDApCourier : public ListCourier {
  KV_CLASS(ListForm, KXDApCourier, ListCourier)
 public:
  uint8_t Security = 0;
  uint8_t Protocol = 0;
  uint8_t Signal = 0;
  kv::String NetworkName;
  kv::String MacAddress;
};

// The string of a protocol mask (16 and more read as 0) and the word of a
// signal level (5 and more read as 4).
kv::String ProtocolName(int32_t mask);
kv::String SignalWord(int32_t level);

class ApItem : public ColumnRow {
  KV_CLASS(ListForm, ApItem, ColumnRow)
 public:
  ApItem();
  // A row of a list that scans (disabled) shows no focus bar.
  int32_t GetCtrlState() override;
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  void OnSetText(const kv::String& text) override;
  void OnSetNetworkName(const kv::String& name);
  void OnSetChannel(int32_t channel);
  void OnSetSignal(int32_t signal);
  const kv::String& OnGetSecondText() const { return second_.OnGetString(); }
  const kv::String& OnGetChannelText() const { return channel_.OnGetString(); }
  const kv::String& OnGetSignalText() const { return signal_.OnGetString(); }
  const Views::Text& SignalView() const { return signal_; }

  kv::String NetworkName;
  int32_t Channel = 0;
  int32_t Signal = 0;

 protected:
  Views::Text& SecondView() { return second_; }
  // Clears the channel and signal texts.
  void ClearNumbers();

 private:
  Views::Text second_;
  Views::Text channel_;
  Views::Text signal_;
};

class ApItem_Protocol : public ApItem {
  KV_CLASS(ListForm, ApItem_Protocol, ApItem)
 public:
  ApItem_Protocol() = default;
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void OnSetProtocol(int32_t mask);

  int32_t Protocol = 0;
};

class KXDApItem : public ColumnRow {
  KV_CLASS(ListForm, KXDApItem, ColumnRow)
 public:
  KXDApItem();
  // A row of a list that scans (disabled) shows no focus bar.
  int32_t GetCtrlState() override;
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;
  void OnSetNetworkName(const kv::String& name);
  void OnSetSecurity(int32_t security);
  void OnSetProtocol(int32_t mask);
  // The bar shows the level clamped to 0..4.
  void OnSetSignal(int32_t signal);
  int32_t ShownBars() { return bar_.OnGetImageIndex(); }
  bool IsBarShown() const { return bar_.IsVisible(); }
  bool IsLockShown() const { return lock_.IsVisible(); }
  const kv::String& OnGetProtocolText() const { return protocol_.OnGetString(); }

  kv::String NetworkName;
  int32_t Security = 0;
  int32_t Protocol = 0;
  int32_t Signal = 0;
  kv::String MacAddress;

 private:
  Views::ImageList bar_;
  Views::Image lock_;
  Views::Text protocol_;
};

class AccessPointList : public ListClass {
  KV_CLASS(ListForm, AccessPointList, ListClass)
 public:
  AccessPointList();
  // Shows a kept result once, else starts a scan with empty rows.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // The rows take the list's width; Refresh fits them again when it changes.
  void InitializeItems() override;
  int32_t GetItemsNum() override { return MaxRows; }
  void Refresh() override;
  // Scans every network; the list waits disabled.
  void StartScan();
  // Loads the result: with one or more access points the list is enabled
  // and shows them. Answers the count (0: the owner says none was found).
  int32_t GetScanResult();
  // Row activation: selects the access point (a WPS PIN join with a PIN).
  void ConnectAP(kv::Object* sender);

  kv::String PIN;
  kv::Slot OnConnectAP;
  bool ProtocolMode = false;

 private:
  // Every row as wide as the list (less the x offset), once it has a size.
  void FitRows();
  Forms::ImageIndicator up_;
  Forms::ImageIndicator down_;
  Views::Text headings_[4];
  int32_t arrowsX_ = -1;  // -1: at the right edge
};

class KXDAccessPointList : public ListClass {
  KV_CLASS(ListForm, KXDAccessPointList, ListClass)
 public:
  KXDAccessPointList();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override { return MaxRows; }
  void Refresh() override;
  // Down on the last row goes on to the owner (the focus may leave the list).
  kv::Object* HandleEvent(Core::Event* event) override;
  void StartScan();
  int32_t GetScanResult();
  // Row activation: selects the access point; an open one is joined now.
  void ConnectAP(kv::Object* sender);

  kv::Slot OnConnectAP;
  // The access point chosen last, for the owner.
  uint8_t Security = 0;
  kv::String NetworkName;

 private:
  Forms::ImageIndicator up_;
  Forms::ImageIndicator down_;
  Views::Text headings_[4];
};

}  // namespace ListForm
