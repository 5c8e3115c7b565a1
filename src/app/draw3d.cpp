#include "app/draw3d.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace enlacor {
namespace {

int Blend(int from, int to, double t) {
  return static_cast<int>(std::lround(from + (to - from) * t));
}

QColor Blend(const QColor& from, const QColor& to, double t) {
  return QColor(Blend(from.red(), to.red(), t), Blend(from.green(), to.green(), t),
                Blend(from.blue(), to.blue(), t));
}

// The colours of a raised bevel: lit from the top left.
const QColor kBevelLight(Qt::white);
const QColor kBevelShadow(0x80, 0x80, 0x80);

}  // namespace

TDraw3D::TDraw3D(QWidget* parent)
    : TDraw3D(Qt::white, Qt::white, Qt::white, Qt::white, parent) {}

TDraw3D::TDraw3D(const QColor& start, const QColor& middle, const QColor& end,
                 const QColor& base, QWidget* parent)
    : QWidget(parent), start_(start), middle_(middle), end_(end), base_(base) {
  // Every pixel comes from the buffer, so Qt need not clear the background.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TDraw3D::SetStartColor(const QColor& color) { start_ = color; Invalidate(); }
void TDraw3D::SetMiddleColor(const QColor& color) { middle_ = color; Invalidate(); }
void TDraw3D::SetEndColor(const QColor& color) { end_ = color; Invalidate(); }
void TDraw3D::SetBaseColor(const QColor& color) { base_ = color; Invalidate(); }

QColor TDraw3D::GradientColorAt(double fraction) const {
  const double t = std::clamp(fraction, 0.0, 1.0);
  if (t <= 0.5) return Blend(end_, middle_, t * 2.0);
  return Blend(middle_, start_, (t - 0.5) * 2.0);
}

void TDraw3D::Invalidate() {
  buffer_valid_ = false;
  update();
}

void TDraw3D::resizeEvent(QResizeEvent* event) {
  buffer_valid_ = false;
  QWidget::resizeEvent(event);
}

void TDraw3D::RenderBuffer() {
  const qreal ratio = devicePixelRatioF();
  buffer_ = QPixmap(size() * ratio);
  buffer_.setDevicePixelRatio(ratio);
  buffer_.fill(base_);

  QPainter painter(&buffer_);
  // 1. The gradient, row by row, inside the bevel.
  const QRect inner = rect().adjusted(1, 1, -1, -1);
  const int rows = inner.height();
  for (int row = 0; row < rows; ++row) {
    const double fraction = rows > 1 ? static_cast<double>(row) / (rows - 1) : 0.0;
    painter.fillRect(inner.left(), inner.top() + row, inner.width(), 1,
                     GradientColorAt(fraction));
  }
  // 2. The raised bevel: light on the top and left edges, shadow on the
  //    bottom and right edges.
  if (width() > 0 && height() > 0) {
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.setPen(kBevelLight);
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(0, 0, 0, bottom);
    painter.setPen(kBevelShadow);
    painter.drawLine(0, bottom, right, bottom);
    painter.drawLine(right, 0, right, bottom);
  }
  buffer_valid_ = true;
}

void TDraw3D::paintEvent(QPaintEvent*) {
  if (!buffer_valid_ || buffer_.size() != size() * devicePixelRatioF()) RenderBuffer();
  QPainter painter(this);
  painter.drawPixmap(0, 0, buffer_);
}

}  // namespace enlacor
