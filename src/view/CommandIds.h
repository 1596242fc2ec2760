#pragma once
// Every command of the program by name. Menus, toolbar, accelerators, handlers and tests all use
// these names; a number written anywhere else could drift from the one the menu sends.
// The numbers themselves only have to be distinct; the File, Edit, View and Help ones keep the
// values desktop frameworks give those commands, so the table reads familiar.

namespace cmd {

// File
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FilePrintSetup = 57606;
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintDirect = 57608;
inline constexpr int FilePrintPreview = 57609;
// The recent files take FileMru1 and the numbers after it, one each.
inline constexpr int FileMru1 = 57616;
inline constexpr int RecentFileCount = 8;
inline constexpr int AppExit = 57665;

// Edit
inline constexpr int EditCopy = 57634;
inline constexpr int EditCut = 57635;
inline constexpr int EditPaste = 57637;
inline constexpr int EditUndo = 57643;

// View
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;

// Options
inline constexpr int Settings = 32771;

// Timer menu
inline constexpr int Timer100ms = 32772;
inline constexpr int Timer200ms = 32773;
inline constexpr int Timer400ms = 32774;
inline constexpr int Timer1s = 32775;
inline constexpr int Timer2s = 32776;
inline constexpr int Timer4s = 32777;
inline constexpr int Timer10s = 32778;
inline constexpr int Timer1min = 32779;
inline constexpr int TimerOff = 32780;
inline constexpr int GetOneImage = 32781;
inline constexpr int DisableAutoDisableTimer = 32788;

// Control
inline constexpr int MoveToPreset = 32782;
inline constexpr int SaveToPreset = 32783;

// Functions: each asks the camera for a page and opens it.
inline constexpr int ServerInfo = 32784;
inline constexpr int NetworkInfo = 32785;
inline constexpr int HttpPort = 32786;
inline constexpr int TimeAndTimezone = 32787;
inline constexpr int Reboot = 32789;
inline constexpr int StopSdCard = 32790;
inline constexpr int FormatSdCard = 32791;
inline constexpr int FtpConfiguration = 32792;
inline constexpr int SnapTimerConfiguration = 32793;
inline constexpr int AdminParameters = 32794;
inline constexpr int UserNames = 32795;
inline constexpr int ImageAttributes = 32796;
inline constexpr int VideoAttributes = 32797;
inline constexpr int MotionDetection = 32798;
inline constexpr int PtzAttributes = 32799;
inline constexpr int GetIrLed = 32801;
inline constexpr int IrLedAuto = 32802;
inline constexpr int IrLedOpen = 32803;
inline constexpr int IrLedClose = 32804;

// SD
inline constexpr int SdVideo = 32800;

// Help
inline constexpr int AppAbout = 57664;

// The toolbar's own buttons (the timer twins have numbers of their own, apart from the menu's).
inline constexpr int ToolbarTimerOff = 32805;
inline constexpr int ToolbarTimer1s = 32806;
inline constexpr int ToolbarTimer400ms = 32809;
inline constexpr int ToolbarTimer4s = 32810;
inline constexpr int ToolbarTimer100ms = 32811;
inline constexpr int ToolbarTimer200ms = 32812;
inline constexpr int FitWindowToImage = 32813;

// Reached by accelerator only.
inline constexpr int NextPane = 57680;
inline constexpr int PrevPane = 57681;

} // namespace cmd
