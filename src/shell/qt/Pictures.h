#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

// The program's pictures, drawn in code so that no image file has to travel
// with it: the title of the main window, the splash picture and the emblem
// of the version window.
namespace zorbe::pictures {

// The title picture of the main window's top panel (made for 370 x 270).
void paintTitle(QPainter &p, const QRectF &area);

// The splash picture (made for 237 x 180).
void paintSplash(QPainter &p, const QRectF &area);

// The emblem: a horseshoe on a green tile (any square).
void paintEmblem(QPainter &p, const QRectF &area);

// The program's icon: the title picture's turf, frame and horseshoe on a
// rounded square tile (any square; the letter from 48 pixels up).
void paintIcon(QPainter &p, const QRectF &area);

// A horseshoe, opening downwards, filling the square area.
void paintHorseshoe(QPainter &p, const QRectF &area, const QColor &color);

} // namespace zorbe::pictures
