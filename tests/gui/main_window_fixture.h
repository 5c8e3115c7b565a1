// A main window for tests: its workspace, status file and help file in a
// temporary folder, and a help viewer that records what it was asked.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"

namespace enlacor::testing {

// Records every request; fails them with `error` when it is not empty.
class RecordingHelpViewer : public HelpViewer {
 public:
  struct Log {
    std::vector<std::string> requests;  // "contents FILE" or "topic N FILE"
    std::string error;
  };
  explicit RecordingHelpViewer(std::shared_ptr<Log> log) : log_(std::move(log)) {}

  bool ShowContents(const std::filesystem::path& file, std::string& error) override {
    log_->requests.push_back("contents " + file.filename().string());
    return Answer(error);
  }
  bool ShowTopic(const std::filesystem::path& file, int context, std::string& error) override {
    log_->requests.push_back("topic " + std::to_string(context) + " " + file.filename().string());
    return Answer(error);
  }

 private:
  bool Answer(std::string& error) {
    error = log_->error;
    return error.empty();
  }
  std::shared_ptr<Log> log_;
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    std::filesystem::create_directories(WorkspaceDir() / "escolia");
  }

  std::filesystem::path WorkspaceDir() const { return temp_.path() / "htemp"; }
  std::filesystem::path StatusFile() const { return temp_.path() / "Horvana.ini"; }
  std::filesystem::path HelpFile() const { return temp_.path() / "ESCOLIA.chm"; }

  TMForm::Setup MakeSetup(std::vector<std::string> params = {}) {
    TMForm::Setup setup{std::move(params), Workspace(WorkspaceDir()), StatusFile(), HelpFile(),
                        std::make_unique<RecordingHelpViewer>(help_log_)};
    return setup;
  }

  template <typename T = QWidget>
  static T* Find(const QWidget& window, const char* name) {
    T* child = window.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  TempDir temp_;
  std::shared_ptr<RecordingHelpViewer::Log> help_log_ = std::make_shared<RecordingHelpViewer::Log>();
};

}  // namespace enlacor::testing
