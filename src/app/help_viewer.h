// The help viewer behind "F1 Ayuda" and the F1 key.
//
// The help file "ESCOLIA.chm" is looked for beside the executable. A viewer
// shows either its contents or the topic with a context number (the main
// window and all its panels and buttons carry context 3). On Windows HTML
// Help (hh.exe) shows both; elsewhere the desktop's handler for .chm files
// opens the file, which cannot jump to a topic and shows the file instead.
// The window reaches the viewer through this interface so that tests can
// put their own in its place.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace enlacor {

inline constexpr char kHelpFileName[] = "ESCOLIA.chm";
inline constexpr int kHelpContext = 3;

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;

  // Shows the contents of `help_file`, which exists. Returns false, with a
  // message for the person (Spanish, UTF-8) in `error`, when no viewer
  // could be started.
  virtual bool ShowContents(const std::filesystem::path& help_file, std::string& error) = 0;

  // Shows the topic with context number `context`; false as above.
  virtual bool ShowTopic(const std::filesystem::path& help_file, int context,
                         std::string& error) = 0;
};

// hh.exe on Windows, the desktop's file handler elsewhere.
std::unique_ptr<HelpViewer> MakePlatformHelpViewer();

// "ESCOLIA.chm" in the directory of the running executable.
std::filesystem::path HelpFileBesideExecutable();

}  // namespace enlacor
