#include "core/shell/MenuLayout.h"

#include "core/vocabulary/CommandIds.h"

namespace wattrix::menu {

namespace {

constexpr MenuEntry Item(const char* key, int command) { return {EntryKind::Item, key, command, {}}; }
constexpr MenuEntry Popup(const char* key, std::span<const MenuEntry> children) {
  return {EntryKind::Popup, key, 0, children};
}
constexpr MenuEntry kSeparator{EntryKind::Separator, nullptr, 0, {}};

// Popups shared by several menus.

constexpr MenuEntry kModePopup[] = {
    Item("MF_ID_MODE_AVGPEAK", cmd::kModeAvgPeak), Item("MF_ID_MODE_AVG", cmd::kModeAvg),
    Item("MF_ID_MODE_PEAK", cmd::kModePeak),       Item("MF_ID_MODE_PULSE", cmd::kModePulse),
    Item("MF_ID_MODE_CCDF", cmd::kModeCcdf),
};

// The Device popup of the main and history menus.
constexpr MenuEntry kDevicePopup[] = {
    Item("PU_ID_LOGGING", cmd::kDownloadLogging),
    kSeparator,
    Item("PU_ID_DEVICE_SETTING", cmd::kDeviceSetting),
};

// Main menu.

constexpr MenuEntry kMainFile[] = {
    Item("MF_ID_DEVICE_CONNECT", cmd::kConnectDevice),
    Item("MF_ID_DEVICE_DISCONNECT", cmd::kDisconnectDevice),
    Item("MF_ID_FILE_OPEN", cmd::kFileOpen),
    kSeparator,
    Item("MF_ID_APP_EXIT", cmd::kAppExit),
};
constexpr MenuEntry kMainView[] = {
    Item("MF_ID_VIEW_TOOLBAR", cmd::kViewToolBar),
    Item("MF_ID_VIEW_STATUS_BAR", cmd::kViewStatusBar),
};
constexpr MenuEntry kMainHelp[] = {
    Item("MF_ID_HELP", cmd::kHelp),
    kSeparator,
    Item("MF_ID_APP_ABOUT", cmd::kAppAbout),
};
constexpr MenuEntry kMain[] = {
    Popup("MENU_MAINFRAME_FILE", kMainFile),    Popup("MENU_MAINFRAME_MODE", kModePopup),
    Popup("MENU_MEASURE_DEVICE", kDevicePopup), Popup("MENU_MAINFRAME_VIEW", kMainView),
    Popup("MENU_MAINFRAME_HELP", kMainHelp),
};

// Measurement menu.

constexpr MenuEntry kMeasureFile[] = {
    Item("MS_ID_DEVICE_CONNECT", cmd::kConnectDevice),
    Item("MF_ID_DEVICE_DISCONNECT", cmd::kDisconnectDevice),
    Item("MS_ID_FILE_OPEN", cmd::kFileOpen),
    Item("MS_ID_FILE_CLOSE", cmd::kFileClose),
    kSeparator,
    Item("MS_ID_FILE_SAVE", cmd::kFileSave),
    kSeparator,
    Item("MS_ID_APP_EXIT", cmd::kAppExit),
};
constexpr MenuEntry kMeasureDevice[] = {
    Item("MS_ID_MEASURE_START", cmd::kMeasureStart),
    Item("MS_ID_MEASURE_STOP", cmd::kMeasureStop),
    kSeparator,
    Item("MS_ID_MEASURE_RESET", cmd::kMeasureReset),
    kSeparator,
    Item("PU_ID_LOGGING", cmd::kDownloadLogging),
    kSeparator,
    Item("MS_ID_DEVICE_SETTING", cmd::kDeviceSetting),
};
constexpr MenuEntry kMeasureView[] = {
    Item("MS_ID_VIEW_FULLSCREEN", cmd::kViewFullScreen),
    Item("MS_ID_VIEW_MULTISCREEN", cmd::kViewMultiScreen),
    kSeparator,
    Item("MS_ID_VIEW_HISTORYGRAPH", cmd::kViewHistoryGraph),
    kSeparator,
    Item("MS_ID_VIEW_TOOLBAR", cmd::kViewToolBar),
    Item("MS_ID_VIEW_STATUS_BAR", cmd::kViewStatusBar),
};
constexpr MenuEntry kMeasureWindow[] = {
    Item("MS_ID_WINDOW_CASCADE", cmd::kWindowCascade),
    Item("MS_ID_WINDOW_TILE_HORZ", cmd::kWindowTileHorizontal),
    Item("MS_ID_WINDOW_TILE_VERT", cmd::kWindowTileVertical),
};
constexpr MenuEntry kMeasureHelp[] = {
    Item("MS_ID_HELP", cmd::kHelp),
    kSeparator,
    Item("MS_ID_APP_ABOUT", cmd::kAppAbout),
};
constexpr MenuEntry kMeasurement[] = {
    Popup("MENU_MEASURE_FILE", kMeasureFile),     Popup("MENU_MAINFRAME_MODE", kModePopup),
    Popup("MENU_MEASURE_DEVICE", kMeasureDevice), Popup("MENU_MEASURE_VIEW", kMeasureView),
    Popup("MENU_MEASURE_WINDOW", kMeasureWindow), Popup("MENU_MEASURE_HELP", kMeasureHelp),
};

// History menu.

constexpr MenuEntry kHistoryExport[] = {
    Item("HT_ID_EXPORT_CSV", cmd::kExportCsv),
    Item("HT_ID_EXPORT_JPG", cmd::kExportBitmap),
};
constexpr MenuEntry kHistoryFile[] = {
    Item("HT_ID_DEVICE_CONNECT", cmd::kConnectDevice),
    Item("MF_ID_DEVICE_DISCONNECT", cmd::kDisconnectDevice),
    Item("HT_ID_FILE_OPEN", cmd::kFileOpen),
    Item("HT_ID_FILE_CLOSE", cmd::kFileClose),
    kSeparator,
    Item("HT_ID_FILE_SAVE", cmd::kFileSave),
    Item("HT_ID_FILE_SAVE_AS", cmd::kFileSaveAs),
    kSeparator,
    Popup("MENU_HISTORY_FILE_EXPORT", kHistoryExport),
    Item("HT_ID_FILE_REPORT", cmd::kReport),
    kSeparator,
    Item("HT_ID_FILE_CHANGETITLE", cmd::kChangeTitle),
    kSeparator,
    Item("HT_ID_APP_EXIT", cmd::kAppExit),
};
constexpr MenuEntry kHistoryVswrRl[] = {
    Item("HT_ID_VIEW_VSWR", cmd::kViewVswr),
    Item("HT_ID_VIEW_RL", cmd::kViewReturnLoss),
};
constexpr MenuEntry kHistoryView[] = {
    Item("HT_ID_VIEW_AVG", cmd::kViewAvg),
    Item("HT_ID_VIEW_REV", cmd::kViewRev),
    Item("HT_ID_VIEW_PEAK", cmd::kViewPeak),
    Item("HT_ID_VIEW_PULSE", cmd::kViewPulse),
    Popup("MENU_POPUP_HISTORY_VSWR_RL", kHistoryVswrRl),
    Item("HT_ID_VIEW_PAR", cmd::kViewPar),
    kSeparator,
    Item("HT_ID_VIEW_TOOLBAR", cmd::kViewToolBar),
    Item("HT_ID_VIEW_STATUS_BAR", cmd::kViewStatusBar),
};
constexpr MenuEntry kHistoryWindow[] = {
    Item("HT_ID_WINDOW_CASCADE", cmd::kWindowCascade),
    Item("HT_ID_WINDOW_TILE_HORZ", cmd::kWindowTileHorizontal),
    Item("HT_ID_WINDOW_TILE_VERT", cmd::kWindowTileVertical),
};
constexpr MenuEntry kHistoryHelp[] = {
    Item("HT_ID_HELP", cmd::kHelp),
    kSeparator,
    Item("HT_ID_APP_ABOUT", cmd::kAppAbout),
};
constexpr MenuEntry kHistory[] = {
    Popup("MENU_HISTORY_FILE", kHistoryFile),     Popup("MENU_MAINFRAME_MODE", kModePopup),
    Popup("MENU_MEASURE_DEVICE", kDevicePopup),   Popup("MENU_HISTORY_VIEW", kHistoryView),
    Popup("MENU_HISTORY_WINDOW", kHistoryWindow), Popup("MENU_HISTORY_HELP", kHistoryHelp),
};

// Right-click menu of the measurement windows.

constexpr MenuEntry kPopupMeasureView[] = {
    Item("PU_ID_VIEW_FULLSCREEN", cmd::kViewFullScreen),
    Item("PU_ID_VIEW_MULTISCREEN", cmd::kViewMultiScreen),
    kSeparator,
    Item("PU_ID_VIEW_HISTORYGRAPH", cmd::kViewHistoryGraph),
};
constexpr MenuEntry kPopupMeasureMeasure[] = {
    Item("PU_ID_MEASURE_START", cmd::kMeasureStart),
    Item("PU_ID_MEASURE_STOP", cmd::kMeasureStop),
    kSeparator,
    Item("PU_ID_MEASURE_RESET", cmd::kMeasureReset),
};
constexpr MenuEntry kPopupMeasureMode[] = {
    Item("PU_ID_MODE_ABSOLUTE", cmd::kModeAbsolute),
    Item("PU_ID_MODE_RELATIVE", cmd::kModeRelative),
};
constexpr MenuEntry kPopupMeasureLimit[] = {
    Item("PU_ID_LIMITCHECK_ENABLE", cmd::kLimitCheckEnable),
    Item("PU_ID_LIMITCHECK_DISABLE", cmd::kLimitCheckDisable),
    kSeparator,
    Item("PU_ID_ALARM_ON", cmd::kAlarmOn),
    Item("PU_ID_ALARM_OFF", cmd::kAlarmOff),
};
constexpr MenuEntry kPopupMeasureItems[] = {
    Popup("MENU_POPUP_MEASURE_VIEW", kPopupMeasureView),
    Item("PU_ID_SETASDEFAULT", cmd::kSetAsDefault),
    kSeparator,
    Popup("MENU_POPUP_MEASURE_MEASURE", kPopupMeasureMeasure),
    kSeparator,
    Popup("MENU_POPUP_MEASURE_MODE", kPopupMeasureMode),
    Popup("MENU_POPUP_MEASURE_LIMIT", kPopupMeasureLimit),
    kSeparator,
    Item("PU_ID_DEVICE_SETTING", cmd::kDeviceSetting),
};
constexpr MenuEntry kMeasurementPopup[] = {Popup("MENU_POPUP_MEASURE", kPopupMeasureItems)};

// Right-click menu of the history windows.

constexpr MenuEntry kPopupHistoryExport[] = {
    Item("PU_ID_EXPORT_CSV", cmd::kExportCsv),
    Item("PU_ID_EXPORT_JPG", cmd::kExportBitmap),
};
constexpr MenuEntry kPopupHistoryVswrRl[] = {
    Item("PU_ID_VIEW_VSWR", cmd::kViewVswr),
    Item("PU_ID_VIEW_RL", cmd::kViewReturnLoss),
};
constexpr MenuEntry kPopupHistoryItems[] = {
    Popup("MENU_POPUP_HISTORY_EXPORT", kPopupHistoryExport),
    Item("PU_ID_FILE_REPORT", cmd::kReport),
    kSeparator,
    Item("PU_ID_FILE_CHANGETITLE", cmd::kChangeTitle),
    Item("PU_ID_FILE_CHANGESCALE", cmd::kChangeScale),
    kSeparator,
    Item("PU_ID_VIEW_AVG", cmd::kViewAvg),
    Item("PU_ID_VIEW_REV", cmd::kViewRev),
    Item("PU_ID_VIEW_PEAK", cmd::kViewPeak),
    Item("PU_ID_VIEW_PULSE", cmd::kViewPulse),
    Popup("MENU_POPUP_HISTORY_VSWR_RL", kPopupHistoryVswrRl),
    Item("PU_ID_VIEW_PAR", cmd::kViewPar),
};
constexpr MenuEntry kHistoryPopup[] = {Popup("MENU_POPUP_HISTORY", kPopupHistoryItems)};

// Accelerators: the frame alone knows the file and device commands; the
// measurement window adds Save, Save As, Setting and Reset; the history
// window Save and Save As.

constexpr Accelerator kFrameKeys[] = {
    {"Alt+X", modifier::kAlt, 'X', cmd::kAppExit},
    {"Ctrl+D", modifier::kCtrl, 'D', cmd::kConnectDevice},
    {"Ctrl+I", modifier::kCtrl, 'I', cmd::kDisconnectDevice},
    {"Ctrl+O", modifier::kCtrl, 'O', cmd::kFileOpen},
    {"Ctrl+H", modifier::kCtrl, 'H', cmd::kHelp},
};
constexpr Accelerator kMeasurementKeys[] = {
    {"Alt+X", modifier::kAlt, 'X', cmd::kAppExit},
    {"Ctrl+D", modifier::kCtrl, 'D', cmd::kConnectDevice},
    {"Ctrl+I", modifier::kCtrl, 'I', cmd::kDisconnectDevice},
    {"Ctrl+O", modifier::kCtrl, 'O', cmd::kFileOpen},
    {"Ctrl+H", modifier::kCtrl, 'H', cmd::kHelp},
    {"Ctrl+S", modifier::kCtrl, 'S', cmd::kFileSave},
    {"Ctrl+A", modifier::kCtrl, 'A', cmd::kFileSaveAs},
    {"Ctrl+T", modifier::kCtrl, 'T', cmd::kDeviceSetting},
    {"Ctrl+R", modifier::kCtrl, 'R', cmd::kMeasureReset},
};
constexpr Accelerator kHistoryKeys[] = {
    {"Alt+X", modifier::kAlt, 'X', cmd::kAppExit},
    {"Ctrl+D", modifier::kCtrl, 'D', cmd::kConnectDevice},
    {"Ctrl+I", modifier::kCtrl, 'I', cmd::kDisconnectDevice},
    {"Ctrl+O", modifier::kCtrl, 'O', cmd::kFileOpen},
    {"Ctrl+H", modifier::kCtrl, 'H', cmd::kHelp},
    {"Ctrl+S", modifier::kCtrl, 'S', cmd::kFileSave},
    {"Ctrl+A", modifier::kCtrl, 'A', cmd::kFileSaveAs},
};

}  // namespace

std::span<const MenuEntry> Menu(MenuKind kind) {
  switch (kind) {
    case MenuKind::Main:
      return kMain;
    case MenuKind::Measurement:
      return kMeasurement;
    case MenuKind::History:
      return kHistory;
    case MenuKind::MeasurementPopup:
      return kMeasurementPopup;
    case MenuKind::HistoryPopup:
      return kHistoryPopup;
  }
  return {};
}

std::span<const Accelerator> Accelerators(AcceleratorTable table) {
  switch (table) {
    case AcceleratorTable::MainFrame:
      return kFrameKeys;
    case AcceleratorTable::Measurement:
      return kMeasurementKeys;
    case AcceleratorTable::History:
      return kHistoryKeys;
  }
  return {};
}

}  // namespace wattrix::menu
