#pragma once
// Every command of the program as data: the menu bar, the status-bar prompts, the toolbar and the
// accelerators. The main frame builds its menus, bar and shortcuts from these tables in one loop
// each; handlers live with the targets (view, document, frame, application).

#include "view/CommandIds.h"

#include <QKeySequence>

#include <span>


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
