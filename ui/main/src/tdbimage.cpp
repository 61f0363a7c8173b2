#include "pellory/ui/main/tdbimage.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "pellory/data/bitmap_image.h"
#include "pellory/data/blob_field.h"
#include "pellory/shell/stored_font.h"
#include "pellory/shell/system_colors.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/controls/edge_box.h"
#include "record_view_accessible.h"

namespace pellory::ui {

TDBImage::TDBImage(const shell::CreationContext& context)
    : QWidget(context.parentWidget), DescribedControl(this, context, Focus::TabStop) {}

QString TDBImage::PlaceholderText() const {
  return QStringLiteral("(%1)").arg(objectName());
}

void TDBImage::ReadField(data::TField* field) {
  // The old picture goes first, so a value that cannot be decoded leaves
  // an empty picture behind while its error reaches the caller.
  picture_ = QImage();
  // Without a field the picture is simply empty: loaded, not the name.
  pictureLoaded_ = true;
  update();
  auto* graphic = dynamic_cast<data::TGraphicField*>(field);
  if (graphic) picture_ = data::ImageFromBitmap(graphic->LoadBitmap());
  AnnouncePicture(*this);
}

QPoint TDBImage::PictureOffset() const {
  const QRect client = ClientArea();
  // Division truncating toward zero cuts a wider picture evenly on both sides.
  return {(client.width() - picture_.width()) / 2, (client.height() - picture_.height()) / 2};
}

const shell::PropertyTable& TDBImage::Properties() {
  using shell::Property;
  using I = TDBImage;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(&BoundField::Properties(),
                                          {
                                              Property<I>("Center",
                                                          [](I& i, V v) {
                                                            i.center_ = shell::BoolValue(v);
                                                            i.update();
                                                          }),
                                              Property<I>("Stretch",
                                                          [](I& i, V v) {
                                                            i.stretch_ = shell::BoolValue(v);
                                                            i.update();
                                                          }),
                                          });
  return table;
}

void TDBImage::PaintBorder(QPainter& p) const {
  // Sunken edge: shadow and dark lines outside, highlight and face inside.
  PaintEdgeBox(p, rect(), shell::ColorOf(shell::SystemColor::BtnShadow),
               shell::ColorOf(shell::SystemColor::BtnHighlight));
  PaintEdgeBox(p, rect().adjusted(1, 1, -1, -1), Qt::black,
               shell::ColorOf(shell::SystemColor::BtnFace));
}

void TDBImage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintBorder(p);
  const QRect client = ClientArea();
  p.fillRect(client, shell::ColorOf(shell::SystemColor::Window));
  if (!pictureLoaded_) {
    const QString text = PlaceholderText();
    const QFontMetrics metrics(font());
    const int left = (client.width() - metrics.horizontalAdvance(text)) / 2;
    const int top = (client.height() - shell::TextHeight(font())) / 2;
    p.setFont(font());
    p.setPen(shell::ColorOf(shell::SystemColor::WindowText));
    p.drawText(client.left() + left, client.top() + top + metrics.ascent(), text);
  } else if (!picture_.isNull()) {
    p.save();
    p.setClipRect(client);
    p.drawImage(client.topLeft() + PictureOffset(), picture_);
    p.restore();
  }
  // The window's active control keeps its frame while the window itself
  // is inactive.
  if (window()->focusWidget() == this) {
    const QColor frame = shell::ColorOf(shell::SystemColor::WindowFrame);
    PaintEdgeBox(p, client, frame, frame);
  }
}

void TDBImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) setFocus(Qt::MouseFocusReason);
  QWidget::mousePressEvent(event);
}

void TDBImage::keyPressEvent(QKeyEvent* event) {
  const bool copy = event->modifiers() == Qt::ControlModifier &&
                    (event->key() == Qt::Key_C || event->key() == Qt::Key_Insert);
  if (copy) {
    if (!picture_.isNull()) QApplication::clipboard()->setImage(picture_);
    event->accept();
    return;
  }
  const int key = event->key();
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (key == Qt::Key_Escape ||
                ((key == Qt::Key_Return || key == Qt::Key_Enter) && !pictureLoaded_))) {
    // Escape reads the picture again; Enter loads one not yet loaded.
    shell::RunGuarded([this] { Reread(); });
    event->accept();
    return;
  }
  // The box has no caret: the arrows move the focus along the Tab order.
  if (plain &&
      (key == Qt::Key_Right || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Up)) {
    focusNextPrevChild(key == Qt::Key_Right || key == Qt::Key_Down);
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TDBImage::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!pictureLoaded_ && event->button() == Qt::LeftButton) {
    shell::RunGuarded([this] { Reread(); });
    return;
  }
  QWidget::mouseDoubleClickEvent(event);
}

void TDBImage::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void TDBImage::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

}  // namespace pellory::ui
