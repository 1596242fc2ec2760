#pragma once
// Every paper the print dialog knows, in the order of its "All paper sizes" list. A row's paper id
// is the number printers use for that paper (the ids Qt gives through QPageSize::windowsId());
// the last two rows have none and print with their own size.

#include <QString>

#include <optional>
#include <span>

struct PaperSizeEntry {
    short paperId; // 0: no id
    const char* name;
    int width;     // tenths of a millimetre
    int height;
};

inline constexpr int kPaperRowCount = 118;

std::span<const PaperSizeEntry> paperSizeTable();
// Table positions (0-based), or nullopt.
std::optional<int> paperRowById(int paperId);
// The first row whose name is byte for byte the text.
std::optional<int> paperRowByName(const QByteArray& name);
