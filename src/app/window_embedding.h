// Embedding the main window in a window of another program.
//
// In automation mode Horvana hands over the handle of one of its own
// windows (an X11 window id, or an HWND on Windows). The main window then
// lives inside it as a borderless child, at the foreign window's top-left
// corner.
#pragma once

#include <QtGui/qwindowdefs.h>

class QWidget;
class QWindow;

namespace enlacor {

// Makes `window` (a top-level widget, not yet shown) a borderless child of
// the foreign window `handle`. Returns the wrapper of the foreign window;
// it must outlive the native window of `window` (see ReleaseForeignWindow).
QWindow* EmbedInForeignWindow(QWidget& window, WId handle);

// Takes `window` out of the foreign window, then deletes the wrapper
// `foreign` (deleting it first would take the embedded window with it).
void ReleaseForeignWindow(QWidget& window, QWindow* foreign);

}  // namespace enlacor
