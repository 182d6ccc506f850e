// Shows a pixel buffer in a widget: its rows are wrapped in a QImage without a
// copy and drawn flipped, since the buffer keeps them bottom-up.
#pragma once

#include <QPoint>

class QPainter;

namespace vk {

struct PixelBuffer;

void PaintPixelBuffer(QPainter& painter, const PixelBuffer& buf, QPoint at);

}  // namespace vk
