// Links that write what they are told into a shared log, for tests of the
// notification order.
#pragma once

#include <string>
#include <vector>

#include "pellory/data/datalink.h"
#include "pellory/data/field.h"

namespace pellory::data::testing {

using EventLog = std::vector<std::string>;

// A link that handles scrolling itself (like a grid's) and logs every
// notification with its distance.
class RecordingLink : public TDataLink {
 public:
  RecordingLink(std::string name, EventLog& log, bool visual = false)
      : name_(std::move(name)), log_(log) {
    SetVisualControl(visual);
  }

 protected:
  void HandleActiveState() override {
    log_.push_back(name_ + (Active() ? " active" : " inactive"));
  }
  void HandleDataChange() override { log_.push_back(name_ + " data"); }
  void HandleScroll(int distance) override {
    log_.push_back(name_ + " scroll " + std::to_string(distance));
  }
  void HandleLayout() override { log_.push_back(name_ + " layout"); }
  void HandleRecordChange(TField*) override { log_.push_back(name_ + " record"); }
  void HandleCheckBrowse() override { log_.push_back(name_ + " check"); }

 private:
  std::string name_;
  EventLog& log_;
};

// A bound control's field link whose control logs each re-read.
class LoggingFieldLink : public TFieldDataLink {
 public:
  LoggingFieldLink(std::string controlName, std::string fieldName, EventLog& log) {
    SetControlName(controlName);
    SetFieldName(std::move(fieldName));
    RereadField = [name = std::move(controlName), &log](TField* field) {
      log.push_back(name + (field != nullptr ? " shows " + field->AsString() : " empty"));
    };
  }
};

}  // namespace pellory::data::testing
