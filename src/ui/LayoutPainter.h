// Draws a preview layout on a Qt painter: each shape of the layout as one painter call, in the
// layout's order and target units, so the window shows exactly what the printed picture shows.
#pragma once

#include <QPainter>

#include "preview/PreviewLayout.h"

// Draws layout in the painter's current coordinates (target units).
void PaintLayout(QPainter& painter, const preview::TPreviewLayout& layout);

// The font of a layout's text of the given size and weight on the painter's device.
QFont LayoutFont(const QPaintDevice* device, double size, bool bold);
