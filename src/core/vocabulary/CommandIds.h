#pragma once

namespace wattrix::cmd {

// Command identifiers of menus, tool bars, accelerators and the commands the
// windows send each other. They keep their historic numbers: several
// commands share one id across menus (the File, View and pop-up entries of
// one command), and stored tool-bar layouts refer to them.

// Sent to the main frame by a child window that is activated or closed.
constexpr int kSwitchToolBar = 101;

// File and device.
constexpr int kConnectDevice = 32801;
constexpr int kDisconnectDevice = 32802;
constexpr int kDeviceSetting = 32803;
constexpr int kFileOpen = 57601;
constexpr int kFileClose = 57602;
constexpr int kFileSave = 57603;
constexpr int kFileSaveAs = 57604;
constexpr int kAppExit = 57665;

// Measurement modes and logging download.
constexpr int kModeAvgPeak = 32898;
constexpr int kModeAvg = 32880;
constexpr int kModePeak = 32881;
constexpr int kModePulse = 32882;
constexpr int kModeCcdf = 32883;
constexpr int kDownloadLogging = 32885;

// Measurement control.
constexpr int kMeasureStart = 32807;
constexpr int kMeasureStop = 32808;
constexpr int kMeasureReset = 32809;
constexpr int kModeAbsolute = 32790;
constexpr int kModeRelative = 32791;
constexpr int kSetAsDefault = 32780;
constexpr int kLimitCheckEnable = 32834;
constexpr int kLimitCheckDisable = 32835;
constexpr int kAlarmOn = 32782;
constexpr int kAlarmOff = 32783;

// Measurement window views.
constexpr int kViewFullScreen = 32772;
constexpr int kViewMultiScreen = 32775;
constexpr int kViewHistoryGraph = 32774;

// History window.
constexpr int kExportCsv = 32823;
constexpr int kExportBitmap = 32824;
constexpr int kReport = 32844;
constexpr int kChangeTitle = 32863;
constexpr int kChangeScale = 32890;
constexpr int kViewAvg = 32839;
constexpr int kViewRev = 32888;
constexpr int kViewPeak = 32840;
constexpr int kViewPulse = 32889;
constexpr int kViewVswr = 32838;
constexpr int kViewReturnLoss = 32837;
constexpr int kViewPar = 32846;

// Frame-wide views, windows and help.
constexpr int kViewToolBar = 59392;
constexpr int kViewStatusBar = 59393;
constexpr int kWindowCascade = 57650;
constexpr int kWindowTileHorizontal = 57651;
constexpr int kWindowTileVertical = 57652;
constexpr int kHelp = 57670;
constexpr int kAppAbout = 57664;

}  // namespace wattrix::cmd
