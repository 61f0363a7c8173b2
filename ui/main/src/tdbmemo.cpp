#include "pellory/ui/main/tdbmemo.h"

#include <QKeyEvent>

#include "pellory/shell/system_colors.h"
#include "pellory/shell/tapplication.h"

namespace pellory::ui {

TDBMemo::TDBMemo(const shell::CreationContext& context)
    : QPlainTextEdit(context.parentWidget), DescribedControl(this, context, Focus::TabStop) {
  setReadOnly(true);
  setTabChangesFocus(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setPalette(shell::ControlPalette(shell::SystemColor::Window));
}

QString CrLfLineBreaks(const QString& text) {
  QString out;
  out.reserve(text.size() + text.size() / 16);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      out += QLatin1String("\r\n");
      if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
    } else {
      out += c;
    }
  }
  return out;
}

void TDBMemo::ReadField(data::TField* field) {
  memoLoaded_ = false;
  QString value = CrLfLineBreaks(FieldText(field));
  const bool fits = value.size() <= kCapacity;
  if (!fits) value = QStringLiteral("(%1)").arg(QStringLiteral("Text exceeds memo capacity"));
  if (value != text_) {
    text_ = value;
    QString shown = value;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setPlainText(shown);
  }
  memoLoaded_ = field != nullptr && fits;
}

void TDBMemo::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!memoLoaded_) {
    shell::RunGuarded([this] { Reread(); });
    return;
  }
  QPlainTextEdit::mouseDoubleClickEvent(event);
}

void TDBMemo::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool escape = event->key() == Qt::Key_Escape;
  if (!memoLoaded_ && (enter || escape || !event->text().isEmpty())) {
    // Not loaded: character keys do nothing, Enter tries the load again.
    if (enter) shell::RunGuarded([this] { Reread(); });
    event->accept();
    return;
  }
  if (escape && event->modifiers() == Qt::NoModifier) {
    shell::RunGuarded([this] { Reread(); });
    event->accept();
    return;
  }
  // Enter and Ctrl+Enter would break the line of an editable memo.
  if ((enter || KeyChangesText(*event)) && !EditRequest()) {
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

const shell::PropertyTable& TDBMemo::Properties() {
  // Nothing of its own beyond a bound control's properties.
  static const shell::PropertyTable table(&BoundField::Properties(), {});
  return table;
}

}  // namespace pellory::ui
