#include "ui/PixelBufferPaint.h"

#include <QImage>
#include <QPainter>

#include "display/PixelBuffer.h"

namespace vk {

void PaintPixelBuffer(QPainter& painter, const PixelBuffer& buf, QPoint at) {
  if (buf.Bits == nullptr || buf.Width <= 0 || buf.Height <= 0) return;
  const QImage rows(buf.Bits, buf.Width, buf.Height, buf.Stride, QImage::Format_BGR888);
  painter.save();
  if (buf.TopDown) {
    painter.drawImage(at, rows);
  } else {
    painter.translate(at.x(), at.y() + buf.Height);
    painter.scale(1, -1);
    painter.drawImage(QPoint(0, 0), rows);
  }
  painter.restore();
}

}  // namespace vk
