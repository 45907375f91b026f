#include "units/QuickMenu/QuickMenu.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/QuickMenu.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/SeenTexts.h"
#include "units/Media/MediaWrapper.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/QuickMenu/QuickItems.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ActiveAppStatus.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(QuickMenu::QuickMenuClass);
KV_REGISTER_CLASS(QuickMenu::QuickMenu);

namespace QuickMenu {

using namespace keys;

namespace {
// Source types of the media player and of the tuners.
constexpr int32_t kSourceTypeMedia = 9;
constexpr int32_t kSourceTypeTuner = 1;
constexpr int32_t kSourceTypeTuner2 = 12;
// Live-TV state of a tuner that timeshifts.
// Kinds of network applications.
constexpr int32_t kAppWidget = 2;
constexpr int32_t kAppFlash = 3;
constexpr int32_t kAppFlash2 = 4;
constexpr int32_t kAppDock = 6;
// Media source kind of a DLNA server.
constexpr int32_t kMediumDlna = 2;

WidgetManager::WidgetManager* Manager() {
  return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
}
bool WindowOpen(uint32_t id) { return Manager()->FindForm(id) != nullptr; }
SkinBin::Wrapper* Skin() { return NonMenuSystem::Live::Skin(); }
::Wrapper::Wrapper* Base() { return NonMenuSystem::Live::Base(); }
}  // namespace

// --- QuickMenuClass ------------------------------------------------------------------

QuickMenuClass::QuickMenuClass() {
  // A quick screen opens at its own place at the foot of the screen, over
  // whatever screen it was asked from.
  Core::MarkStandsApart(this, true);
  Layer = kQuickLayer;
  // The quick screens draw their frame without a margin: the caption sits at
  // the top, the rows below it from y 48.
  OnSetFrameWidth(0);
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ExitSlot);
}

kv::Object* QuickMenuClass::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    switch (key->Code) {
      case KEY_DOWN:
        if (!SelectNext()) SelectFirst();
        ResetTimeout();
        return this;
      case KEY_UP:
        if (!SelectPrev()) SelectLast();
        ResetTimeout();
        return this;
      case KEY_QUICK:
        Post(&WidgetClass::EnterPrevStateSlot);
        return this;
      default:
        break;
    }
  }
  return KXDWidgetClass::HandleEvent(event);
}

void QuickMenuClass::DoActivate(Forms::Ctrl* ctrl) {
  auto* row = kv::Cast<QuickMenuItem>(ctrl);
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  if (!row || !row->NextState || row->OnGetIsDisabled() || !owner) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = row->NextState;
  state->PrevState = KvClass();
  state->Param = SkinBin::UserRefInt::Make(row->OptionType, Constants::MSG_FROM_QUICKMENU);
  Close();
  owner->ChangeState(state);
}

void QuickMenuClass::LoadSettings() {
  const kv::Slot reset = kv::MakeSlot(this, &QuickMenuClass::ResetTimeoutSlot);
  for (int32_t i = 0; i < GetChildCount(); ++i) {
    if (auto* option = kv::Cast<QuickOptionItem>(GetChild(i))) {
      if (option->OptionType != 0) option->LoadSetting();
      option->OnResetTimeout = reset;
    } else if (auto* slider = kv::Cast<QuickSliderItem>(GetChild(i))) {
      if (slider->OptionType != 0) slider->LoadSetting();
      slider->OnResetTimeout = reset;
    }
  }
}

void QuickMenuClass::Refresh() {
  KXDWidgetClass::Refresh();
  int32_t y = firstRowY_;
  for (int32_t i = 0; i < GetChildCount(); ++i) {
    auto* row = kv::Cast<QuickMenuItem>(GetChild(i));
    if (!row || !row->IsVisible()) continue;
    row->OnSetBounds({15, y, 15 + kRowWidth, y + kRowHeight});
    y += kRowHeight;
  }
}

Forms::Ctrl* QuickMenuClass::AddRow(const kv::Class* cls, const kv::String& caption, int32_t option,
                                    const kv::Class* next, bool enabled) {
  auto* row = kv::Cast<QuickMenuItem>(kv::NewObjectIndirect(cls ? cls : &QuickMenuItem::StaticClass()));
  if (!row) return nullptr;
  row->OnSetText(caption);
  row->OptionType = option;
  row->NextState = next;
  if (!enabled) row->OnSetIsDisabled(true);
  row->OnActivate = kv::MakeSlot(this, &QuickMenuClass::DoActivateSlot);
  Add(row);
  return row;
}

// --- QuickMenu -----------------------------------------------------------------------

QuickMenu::QuickMenu() {
  WinID = WinIDs::WIN_ID_QuickMenu;
  OnSetCaption(kv::GetVariantOfString(SID_QUICK_MENU));
  KeyRoutingForm::OnSetBounds({0, 0, 366, 120});
}

int32_t QuickMenu::GetQuickType() {
  ::Wrapper::Wrapper* w = Base();
  const int32_t sourceType = w ? w->GetSourceType(w->GetCurrentSource(0)) : 0;
  if (sourceType == kSourceTypeMedia) {
    struct Screen {
      uint32_t id;
      int32_t type;
    };
    static constexpr Screen kScreens[] = {
        {WinIDs::WIN_ID_PhotoMultiView, QuickType_Photo_MultiView}, {WinIDs::WIN_ID_PhotoSingleView, QuickType_Photo_SingleView},
        {WinIDs::WIN_ID_PhotoSingleViewDMR, QuickType_Photo_DMR},   {WinIDs::WIN_ID_MovieListView, QuickType_Movie_List},
        {WinIDs::WIN_ID_MoviePlayer, QuickType_Movie_Play},         {WinIDs::WIN_ID_MoviePlayerDMR, QuickType_Movie_DMR},
        {WinIDs::WIN_ID_MusicListView, QuickType_Music_List},       {WinIDs::WIN_ID_MusicPlayer, QuickType_Music_Play},
        {WinIDs::WIN_ID_MusicPlayerDMR, QuickType_Music_DMR},       {WinIDs::WIN_ID_PhotoFrame, QuickType_Photo_Frame},
    };
    for (const Screen& s : kScreens) {
      if (!WindowOpen(s.id)) continue;
      QuickType = s.type;
      if (s.type == QuickType_Photo_MultiView || s.type == QuickType_Movie_List || s.type == QuickType_Music_List)
        frame_.OnSetBitmap(Resources::LoadResource(Bitmaps::MediaQuickMenuBg));
      return QuickType;
    }
  }
  if (QuickType != QuickType_None) return QuickType;
  NonMenuSystem::Live::RefreshActiveAppStatus();
  Structures::ActiveAppStatus* app = NonMenuSystem::Live::NetApp();
  if (!app) return QuickType = QuickType_SingleWindow;
  const bool flag = (app->Flags & 1) != 0;
  const int32_t video = flag ? QuickType_Movie_DMR : QuickType_TVWidget_Stream;
  switch (app->Kind) {
    case kAppDock:
      QuickType = video;
      break;
    case kAppFlash:
    case kAppFlash2: {
      const kv::String name = kv::GetStringLower(app->Name);
      auto contains = [&](const kv::TextId& id) { return kv::StringFind(name, kv::LoadString(id), 0) >= 0; };
      if (name == kv::LoadString(APP_NAME_1) || contains(APP_NAME_2) || contains(APP_NAME_3) || contains(APP_NAME_4) ||
          contains(APP_NAME_5))
        QuickType = video;
      else if (contains(APP_NAME_6))
        QuickType = QuickType_Pandora;
      else if (NonMenuSystem::Live::IsDemoFlash())
        QuickType = QuickType_SingleWindow;
      break;
    }
    case kAppWidget: {
      SkinBin::Wrapper* skin = Skin();
      QuickType = flag ? QuickType_TVWidget_Stream
                       : (skin && skin->TV101 ? QuickType_TVWidget_Input : QuickType_TVWidget_Stream);
      break;
    }
    default:
      break;
  }
  return QuickType;
}

bool QuickMenu::IsValidItem(int32_t quickType, ItemDataClass* record) {
  if (!record) return false;
  const kv::Class* next = record->NextState;
  const auto named = [&](const char* name) { return next && next == kv::FindClass(name); };
  const auto dlnaRule = [&]() {
    switch (quickType) {
      case 2: case 3: case 5: case 6: case 8: case 9:
        return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper)->GetCurMediumType() == kMediumDlna;
      default:
        return true;
    }
  };
  // The wireless row names its target by name: the network screens may not exist yet.
  if (record->Caption == &SID_WIRELESS_INFORMATION) {
    SkinBin::Wrapper* skin = Skin();
    if (!skin || skin->OnGetNetworkType() == 0) return false;
    return dlnaRule();
  }
  if (record->Caption == &SID_DLNA_DEVICE_INFORMATION) return dlnaRule();
  if (record->Caption == &SID_SORT || record->Caption == &SID_KELVO_LINK_PLAYER_CONTROL ||
      record->Caption == &SID_3D_SETTINGS || named("QuickMenu::Quick3DSettings"))
    return false;
  if (record->Caption == &RecordMenuUSBDiskStatus) return NonMenuSystem::Live::IsUSBDiskMounted();
  if (record->Caption == &TimeshiftMenuDuration || record->Caption == &TimeshiftMenuStatus) {
    const int32_t type = NonMenuSystem::Live::CurrentSourceType();
    if (type != kSourceTypeTuner && type != kSourceTypeTuner2) return false;
    const bool shifting =
        NonMenuSystem::Live::LiveTVState(NonMenuSystem::Live::CurrentTunerId()) == Constants::XPM_TV_STATE_PAUSE_LIVE_TV;
    return record->Caption == &TimeshiftMenuStatus ? shifting : !shifting;
  }
  return true;
}

void QuickMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  const int32_t type = GetQuickType();
  auto* source = kv::GetAutoObject<ItemDataSource>(QuickItemData);
  ItemCount = 0;
  if (type != QuickType_None) {
    for (int32_t slot = 0; slot < QuickMenu_MaxItemsNum; ++slot) {
      ItemDataClass* record = source->GetItemData(type, slot);
      if (!record) break;
      if (!IsValidItem(type, record)) continue;
      AddRow(record->ItemClass, kv::GetVariantOfString(*record->Caption), record->OptionType, record->NextState,
             record->Enabled);
      ++ItemCount;
    }
  }
  if (ItemCount == 0) {
    // Nothing to offer here: the menu closes again before it is drawn.
    QuickType = QuickType_None;
    Post(&WidgetClass::ExitSlot);
    return;
  }
  const int32_t height = ItemCount * kRowHeight + 60;
  WidgetOrigin = {10, 530 - height};
  KeyRoutingForm::OnSetBounds({0, 0, Bounds().W(), height});
  LoadSettings();
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  int32_t index = owner ? owner->GetQuickMenuIndex(static_cast<uint32_t>(QuickType)) : 0;
  // A row remembered from a longer menu, or none at all (-1), starts at the top.
  if (index < 0 || index >= ItemCount) index = 0;
  if (Forms::Ctrl* row = GetCtrlAt(index)) OnSetFocus(row);
  auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr;
  if (auto* key = ref ? kv::Cast<Core::KeyEvent>(ref->Object.get()) : nullptr) HandleEvent(key);
}

void QuickMenu::Close() {
  KXDWidgetClass::Close();
  NonMenuSystem::NonMenuSystem* owner = OnGetNonMenuSystem();
  if (!owner || QuickType < 0) return;
  auto* focused = kv::Cast<Forms::Ctrl>(OnGetFocus());
  owner->SetQuickMenuIndex(static_cast<uint32_t>(QuickType), focused ? GetIndexOf(focused) : 0);
}

}  // namespace QuickMenu
