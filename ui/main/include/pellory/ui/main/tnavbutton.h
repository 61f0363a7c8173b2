// One button of the record navigator: it never takes the focus and keeps
// its kind, which selects the move it makes.
#pragma once

#include <QImage>
#include <QToolButton>

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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TNavigateBtn kind_;
  QImage normal_;
  QImage disabled_;
};

}  // namespace pellory::ui
