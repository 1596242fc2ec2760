#pragma once
// The images of the recordings tree: a strip of 231 x 15 pixels drawn in code, cut into fifteen
// tiles of 15 x 15 (the last six columns belong to no tile). Grey 192,192,192 is the see-through
// colour. The tree uses tile 0 (black chevron on near-white, red frame), tile 1 (the chevron in
// green on yellow), tile 10 (three black bars on pale blue-white, blue frame) and tile 11 (the
// bars in green on yellow).

#include <QImage>
#include <QList>
#include <QPixmap>

inline constexpr int kTreeImageSize = 15;
inline constexpr int kTreeImageCount = 15;

QImage drawTreeBoundsStrip();
// The tiles of the strip, each with the see-through colour masked out.
QList<QPixmap> cutTreeImages(const QImage& strip);
