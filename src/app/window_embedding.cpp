#include "app/window_embedding.h"

#include <QWidget>
#include <QWindow>

namespace enlacor {

QWindow* EmbedInForeignWindow(QWidget& window, WId handle) {
  window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  window.move(0, 0);
  window.winId();  // the native window must exist before it can be given a parent
  QWindow* foreign = QWindow::fromWinId(handle);
  if (foreign) window.windowHandle()->setParent(foreign);
  return foreign;
}

void ReleaseForeignWindow(QWidget& window, QWindow* foreign) {
  if (!foreign) return;
  if (QWindow* own = window.windowHandle(); own && own->parent() == foreign) own->setParent(nullptr);
  delete foreign;
}

}  // namespace enlacor
