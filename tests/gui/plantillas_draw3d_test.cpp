// The gradient panel: colours at the edges and at half height, the bevel,
// and a redraw after a colour change.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "app/draw3d.h"
#include "gui/gui_test_support.h"

namespace enlacor {
namespace {


QImage Render(TDraw3D& panel) { return panel.grab().toImage(); }

TEST(Draw3DTest, PaintsEndTopMiddleHalfwayStartBottomWithinRaisedBevel) {
  testing::EnsureGuiApplication();
  const QColor start(0xF9, 0xD3, 0x7D), middle(Qt::white), end(0xFF, 0xEE, 0xDD);
  TDraw3D panel(start, middle, end, QColor(0x00, 0xFF, 0x00));
  panel.resize(40, 101);  // 99 gradient rows: row 49 is exactly half way
  const QImage image = Render(panel);

  EXPECT_EQ(image.pixelColor(20, 1), end);
  EXPECT_EQ(image.pixelColor(20, 50), middle);
  EXPECT_EQ(image.pixelColor(20, 99), start);
  // A quarter of the way down: half end, half middle.
  EXPECT_EQ(image.pixelColor(20, 25), panel.GradientColorAt(24.0 / 98.0));
  EXPECT_EQ(panel.GradientColorAt(0.25), QColor(0xFF, 0xF7, 0xEE));

  EXPECT_EQ(image.pixelColor(0, 50), QColor(Qt::white));   // lit left edge
  EXPECT_EQ(image.pixelColor(20, 0), QColor(Qt::white));   // lit top edge
  EXPECT_NE(image.pixelColor(39, 50), image.pixelColor(20, 50));  // shaded right edge
  EXPECT_NE(image.pixelColor(20, 100), image.pixelColor(20, 99));  // shaded bottom edge
}

TEST(Draw3DTest, RedrawsTheBufferAfterAColourChangeOrResize) {
  testing::EnsureGuiApplication();
  TDraw3D panel;
  panel.resize(10, 10);
  EXPECT_EQ(Render(panel).pixelColor(5, 1), QColor(Qt::white));

  panel.SetEndColor(QColor(0x10, 0x20, 0x30));
  EXPECT_EQ(Render(panel).pixelColor(5, 1), QColor(0x10, 0x20, 0x30));

  panel.SetStartColor(QColor(0x00, 0x00, 0xFF));
  panel.resize(10, 30);
  EXPECT_EQ(Render(panel).pixelColor(5, 28), QColor(0x00, 0x00, 0xFF));
}

TEST(Draw3DTest, GradientCoversTheBaseColourEvenOnATinyPanel) {
  testing::EnsureGuiApplication();
  TDraw3D panel(Qt::red, Qt::red, Qt::red, Qt::blue);
  panel.resize(3, 3);  // a single gradient pixel inside the bevel
  EXPECT_EQ(Render(panel).pixelColor(1, 1), QColor(Qt::red));
}

}  // namespace
}  // namespace enlacor
