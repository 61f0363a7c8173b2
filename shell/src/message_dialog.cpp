#include "pellory/shell/message_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "message_dialog_accessible.h"
#include "pellory/shell/system_colors.h"

namespace pellory::shell {

namespace {

// Word wrapping as the layout measured it; "&" is an ordinary character.
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

QPixmap StockIcon(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error:
      return QApplication::style()
          ->standardIcon(QStyle::SP_MessageBoxCritical)
          .pixmap(QSize(kMessageIconSize, kMessageIconSize), 1.0);
  }
  return {};
}

QScreen* ScreenOf(const QWidget* widget) {
  QScreen* screen = widget->screen();
  return screen ? screen : QGuiApplication::primaryScreen();
}

}  // namespace

MessageDialog::MessageDialog(const QString& text, MessageKind kind, QWidget* parent)
    : QDialog(parent), text_(text), icon_(StockIcon(kind)) {
  InstallMessageDialogAccessibility();
  // A fixed dialog border with a title and a close box, nothing else.
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setWindowTitle(MessageDialogCaption(kind));
  setWindowModality(Qt::ApplicationModal);
  setPalette(ControlPalette(SystemColor::BtnFace));
  setAutoFillBackground(true);
  setFont(MessageDialogFont());

  const QString okCaption = tr("OK");
  const QScreen* screen = ScreenOf(this);
  layout_ =
      LayOutMessageDialog(font(), text_, {okCaption}, screen ? screen->geometry().width() : 640);
  ok_ = new QPushButton(okCaption, this);
  ok_->setObjectName(QStringLiteral("OK"));
  ok_->setGeometry(layout_.buttons.front());
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, [this] { done(kOk); });
  setFixedSize(layout_.client);
  CentreOnScreen();
}

void MessageDialog::keyPressEvent(QKeyEvent* event) {
  // OK is the cancel button too: Escape presses it rather than rejecting.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    ok_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void MessageDialog::reject() {
  done(kClosed);
}

void MessageDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(layout_.icon.topLeft(), icon_);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(layout_.text, kTextFlags, text_);
}

void MessageDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen();  // Again, now that the desktop may have framed it.
  AnnounceAlert(*this);
}

void MessageDialog::CentreOnScreen() {
  const QScreen* screen = ScreenOf(this);
  if (!screen) return;
  const QRect area = screen->geometry();
  const QSize outer = frameGeometry().size();
  move(area.left() + (area.width() - outer.width()) / 2,
       area.top() + (area.height() - outer.height()) / 2);
}

void RunMessageDialog(const QString& text, MessageKind kind) {
  MessageDialog dialog(text, kind);
  dialog.exec();
}

}  // namespace pellory::shell
