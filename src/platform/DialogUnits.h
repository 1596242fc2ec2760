#pragma once
// Dialog units of the 8-point dialog font in pixels: x px = DLU * 1.5, y px = DLU * 1.625, so
// every dialog keeps the proportions it was drawn with.

#include <QFont>
#include <QRect>
#include <QWidget>

#include <cmath>

inline QRect dialogUnitsRect(int x, int y, int width, int height)
{
    const auto px = [](int units, double factor) { return static_cast<int>(std::lround(units * factor)); };
    return QRect(px(x, 1.5), px(y, 1.625), px(width, 1.5), px(height, 1.625));
}

// Gives a dialog the 8-point font its layout is measured in and its size in dialog units.
inline void setDialogTemplate(QWidget& dialog, int widthUnits, int heightUnits)
{
    QFont dialogFont = dialog.font();
    dialogFont.setPointSize(8);
    dialog.setFont(dialogFont);
    dialog.setFixedSize(dialogUnitsRect(0, 0, widthUnits, heightUnits).size());
}
