// A push button with a glyph beside its caption. Its Kind gives it a stock
// caption, result and glyph; the OK kind closes its window with result 1
// and is the default button, pressed by Enter when no other button has the
// focus.
#pragma once

#include <QImage>
#include <QPushButton>
#include <functional>

#include "pellory/shell/described_control.h"

namespace pellory::ui {

class TBitBtn : public QPushButton, public shell::DescribedControl {
  Q_OBJECT
 public:
  enum class Kind { bkCustom, bkOK };

  // Where the glyph and the caption go on a face of `face` size.
  struct Layout {
    QPoint glyph;
    QRect caption;
  };
  // Margin: the glyph's distance from the left edge, or -1 to centre glyph
  // and caption together. Spacing: between glyph and caption, or -1 to
  // centre the caption in the width right of the glyph (with Margin -1: to
  // share the free width equally around and between them).
  static Layout LayOut(QSize face, QSize glyph, int captionWidth, int margin, int spacing);

  explicit TBitBtn(const shell::CreationContext& context);

  Kind GetKind() const { return kind_; }
  void SetKind(Kind kind);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  bool Default() const { return default_; }
  void SetDefault(bool on);
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);
  // The glyph's images: the first for the enabled button, the second (when
  // there is one) for the disabled button.
  const QImage& NormalGlyph() const { return normal_; }
  const QImage& DisabledGlyph() const { return disabled_; }
  Layout CurrentLayout() const;

  // Runs inside the guard after the window's ModalResult was set.
  std::function<void()> OnClick;

  // Kind ("bkOK", "bkCustom"), Caption, ModalResult, Default, Margin,
  // Spacing, OnClick and the common control properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }

 protected:
  void FontChanged() override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Clicked();

  shell::StoredWindow* window_;
  Kind kind_ = Kind::bkCustom;
  int modalResult_ = 0;
  bool default_ = false;
  int margin_ = -1;
  int spacing_ = 4;
  QImage normal_;
  QImage disabled_;
};

// The OK kind's glyph "BBOK": two 18 by 18 images side by side.
QImage OkGlyph();

}  // namespace pellory::ui
