// Waits for the first paint of a window that shows what it should, marks
// the stage "paint" as it begins, and calls back once that paint has been
// drawn and handed to the platform.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace pellory::bench {

class FirstPaintWatch : public QObject {
 public:
  // `ready` tells whether the window's content is there yet; paints before
  // it holds do not count.
  FirstPaintWatch(QWidget* window, std::function<bool()> ready, std::function<void()> shown);
  ~FirstPaintWatch() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
  std::function<bool()> ready_;
  std::function<void()> shown_;
  bool seen_ = false;
};

}  // namespace pellory::bench
