// Tool-tip hints for the whole program: a hint opens after the mouse has
// rested 500 ms on a control and closes after 2500 ms. A control that has
// no hint text shows that of its nearest parent with one; whether hints
// show at all is decided by the nearest widget that says so (ShowHint).
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace pellory::shell {

class HintController : public QObject {
  Q_OBJECT
 public:
  static constexpr int kHintPause = 500;
  static constexpr int kHintHidePause = 2500;

  explicit HintController(QObject* parent = nullptr);

  void SetEnabled(bool on) { enabled_ = on; }
  bool Enabled() const { return enabled_; }

  // A control's own ShowHint; cleared, the control follows its parent.
  static void SetShowHint(QWidget* w, bool on);
  static void ClearShowHint(QWidget* w);
  // Whether `w` shows hints: its own setting or that of its nearest parent
  // with one; off when none has one.
  static bool ShowsHints(const QWidget* w);
  // The hint text `w` shows: its own or that of its nearest parent.
  static QString HintFor(const QWidget* w);

  // Makes the platform's tool-tip delay follow kHintPause.
  static void InstallTimings();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool enabled_ = true;
};

}  // namespace pellory::shell
