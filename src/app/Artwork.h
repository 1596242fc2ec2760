#pragma once
// The program's pictures, drawn in code: the fifteen toolbar images and the program's icon.

#include <QIcon>
#include <QImage>
#include <QPixmap>

inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;
inline constexpr int kToolbarImageCount = 15;

// Image index of the toolbar strip: new, open, save, cut, copy, paste, print, about, stop,
// 1 s, 100 ms, 200 ms, 400 ms, 4 s, fit.
QImage toolbarImage(int index);

// The program's icon: a camera. Drawn for any size.
QImage programIconImage(int size);
QIcon programIcon();
