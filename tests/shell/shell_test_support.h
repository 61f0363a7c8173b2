// Shared by the shell and window tests: an application object whose error
// display records its boxes, a help engine that records its calls, and a
// stored window whose class name and handlers a test chooses.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

#include "pellory/shell/described_component.h"
#include "pellory/shell/error_presenter.h"
#include "pellory/shell/stored_window.h"
#include "pellory/shell/tapplication.h"

namespace shelltest {

using pellory::shell::ErrorBox;

class RecordingPresenter : public pellory::shell::ErrorPresenter {
 public:
  explicit RecordingPresenter(std::shared_ptr<std::vector<ErrorBox>> boxes)
      : boxes_(std::move(boxes)) {}
  void Present(const ErrorBox& box) override { boxes_->push_back(box); }

 private:
  std::shared_ptr<std::vector<ErrorBox>> boxes_;
};

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<pellory::shell::TApplication>();
    app->SetTitle(QStringLiteral("Pellory Fonts"));
    app->SetErrorPresenter(std::make_unique<RecordingPresenter>(boxes));
  }
  void TearDown() override;

  std::shared_ptr<std::vector<ErrorBox>> boxes = std::make_shared<std::vector<ErrorBox>>();
  std::unique_ptr<pellory::shell::TApplication> app;
};

// A window whose class name is chosen per test; handlers are added by the
// test before construction.
class ProbeWindow : public pellory::shell::StoredWindow {
 public:
  explicit ProbeWindow(QString className = QStringLiteral("TProbeWindow"))
      : className_(std::move(className)) {}
  QString ClassName() const override { return className_; }
  void AddHandler(const QString& name, std::function<void()> handler) {
    RegisterHandler(name, std::move(handler));
  }
  void NotifyLoaded() override {
    if (onLoaded) onLoaded();
  }
  std::function<void()> onLoaded;

 private:
  QString className_;
};

// One call of the help engine, as the recording engine keeps it.
struct HelpCall {
  WId owner;
  QString fileName;
  int command;
  quintptr data;
  bool operator==(const HelpCall&) const = default;
};
std::ostream& operator<<(std::ostream& out, const HelpCall& call);

// A help engine that appends each call to `calls`.
pellory::shell::TApplication::HelpEngine RecordingHelpEngine(
    std::shared_ptr<std::vector<HelpCall>> calls);

// A description with nothing but the window's own properties.
pellory::shell::WindowDescription PlainWindow(const QString& className, int left = 83, int top = 82,
                                              int width = 300, int height = 200);

}  // namespace shelltest
