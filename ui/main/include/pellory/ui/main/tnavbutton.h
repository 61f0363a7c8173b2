// One button of the record navigator: it never takes the focus and keeps
// its kind, which selects the move it makes.
#pragma once

#include <QImage>
#include <QToolButton>

class QTimer;

namespace pellory::ui {

enum class TNavigateBtn {
  nbFirst,
  nbPrior,
  nbNext,
  nbLast,
  nbInsert,
  nbDelete,
  nbEdit,
  nbPost,
  nbCancel,
  nbRefresh
};
inline constexpr int kNavigateBtnCount = 10;

class TNavButton : public QToolButton {
  Q_OBJECT
 public:
  TNavButton(TNavigateBtn kind, QWidget* parent);

  TNavigateBtn Kind() const { return kind_; }
  // Prior and Next repeat while held.
  bool Repeats() const { return kind_ == TNavigateBtn::nbPrior || kind_ == TNavigateBtn::nbNext; }
  // Where the glyph's top-left corner is drawn: centred on the face (the
  // button less its two-pixel edge), one pixel right and down while down.
  QPoint GlyphOrigin() const;
  // Ends a press without a click, as when its step failed: the repeat
  // stops and the button shows up.
  void CancelPress();

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Left and top edges inclusive, right edge exclusive, and the pixel row
  // just below the bottom edge still counts as over the button.
  bool hitButton(const QPoint& pos) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void RepeatTimerFired();

  TNavigateBtn kind_;
  QImage normal_;
  QImage disabled_;
  // Made on the first press of a repeating button; it keeps running while
  // the pointer is away, and steps only while the button shows down.
  QTimer* repeatTimer_ = nullptr;
  bool held_ = false;
};

}  // namespace pellory::ui
