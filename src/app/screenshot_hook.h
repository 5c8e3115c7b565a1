// Pictures of the program's windows for people who review its look.
//
// Only when ENLACOR_SCREENSHOT_DIR names a folder (scripts/screenshot sets
// it; a normal start never does): once the main window shows, the hook
// saves it as main-window.png, then starts an export of the document named
// by ENLACOR_SCREENSHOT_DOCUMENT, answering the file dialog, saving the
// frame dialog as frame-dialog.png (choosing its first frame) and the
// closing message as message.png, and closes the program. Every picture is
// the window's client area as the program paints it.
#pragma once

namespace enlacor {

class TMForm;

// Does nothing unless ENLACOR_SCREENSHOT_DIR is set.
void InstallScreenshotHook(TMForm& window);

}  // namespace enlacor
