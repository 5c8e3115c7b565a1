// TDraw3D: a panel that paints a vertical three-colour gradient.
//
// The end colour runs along the top edge, the middle colour lies at half
// height and the start colour runs along the bottom edge; the rows between
// are blended evenly (linear in each channel). A raised one-pixel bevel
// frames the panel. The base colour fills only what the gradient leaves
// unpainted, which is nothing once the panel is at least 3 x 3 pixels.
//
// The picture is drawn once into an off-screen buffer and only redrawn
// when the size or a colour changes; paint events copy the buffer. Child
// widgets (labels, buttons) lie on the panel; give them a transparent
// background to let the gradient show through.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace enlacor {

class TDraw3D : public QWidget {
  Q_OBJECT

 public:
  // White gradient on a white base until the colours are set.
  explicit TDraw3D(QWidget* parent = nullptr);
  TDraw3D(const QColor& start, const QColor& middle, const QColor& end,
          const QColor& base, QWidget* parent = nullptr);

  QColor StartColor() const { return start_; }
  QColor MiddleColor() const { return middle_; }
  QColor EndColor() const { return end_; }
  QColor BaseColor() const { return base_; }

  void SetStartColor(const QColor& color);   // bottom edge
  void SetMiddleColor(const QColor& color);  // half height
  void SetEndColor(const QColor& color);     // top edge
  void SetBaseColor(const QColor& color);    // where the gradient does not paint

  // The gradient's colour at `fraction` of the way from the top edge (0) to
  // the bottom edge (1); values outside are clamped.
  QColor GradientColorAt(double fraction) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Invalidate();
  void RenderBuffer();

  QColor start_;
  QColor middle_;
  QColor end_;
  QColor base_;
  QPixmap buffer_;
  bool buffer_valid_ = false;
};

}  // namespace enlacor
