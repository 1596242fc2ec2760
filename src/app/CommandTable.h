#pragma once
// Every command of the program as data: the menu bar, the status-bar prompts, the toolbar and the
// accelerators. The main frame builds its menus, bar and shortcuts from these tables in one loop
// each; handlers live with the targets (view, document, frame, application).

#include <QKeySequence>

#include <span>

namespace cmd {
// The framework's standard numbers.
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FilePrintSetup = 57606;
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintDirect = 57608;
inline constexpr int FilePrintPreview = 57609;
inline constexpr int FileMru1 = 57616; // up to FileMru1 + 7
inline constexpr int RecentFileCount = 8;
inline constexpr int EditCopy = 57634;
inline constexpr int EditCut = 57635;
inline constexpr int EditPaste = 57637;
inline constexpr int EditUndo = 57643;
inline constexpr int AppAbout = 57664;
inline constexpr int AppExit = 57665;
inline constexpr int NextPane = 57680;
inline constexpr int PrevPane = 57681;
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;
} // namespace cmd

struct CommandRow {
    int id;               // 0: a separator in its menu
    const char* menu;     // title of the menu it sits in; nullptr: toolbar or accelerator only
    const char* text;     // item text with its mnemonic
    const char* shortcut; // shortcut text shown after a tab, or nullptr
    const char* prompt;   // status-bar prompt while highlighted, or nullptr
    const char* tip;      // tooltip of the toolbar button, or nullptr
    int image;            // toolbar image index, -1 for none
};

// In menu order: the menu bar is read from top to bottom. Toolbar-only and accelerator-only
// commands come last, with no menu.
std::span<const CommandRow> commandTable();
// The row of a command, or nullptr.
const CommandRow* commandRow(int id);

// Toolbar buttons from left to right; 0 stands for a separator.
std::span<const int> toolbarLayout();

struct Accelerator {
    QKeyCombination key;
    int id;
};
std::span<const Accelerator> acceleratorTable();

// Translation context of the table's texts.
inline constexpr const char* kCommandContext = "CMainFrame";
