// The multi-line box bound to a memo field: read-only, wrapped at its
// width, without scroll bars; Tab moves the focus on. Keys that would
// change the text ask the field link to begin editing, which is refused.
#pragma once

#include <QPlainTextEdit>

#include "pellory/shell/described_control.h"
#include "pellory/ui/main/bound_field.h"

namespace pellory::ui {

// Every line break (CR LF, a lone LF, a lone CR) turned into CR LF.
QString CrLfLineBreaks(const QString& text);

class TDBMemo : public QPlainTextEdit, public shell::DescribedControl, public BoundField {
  Q_OBJECT
 public:
  // The most characters the box takes; a longer text is not shown.
  static constexpr qsizetype kCapacity = 1024 * 1024;

  explicit TDBMemo(const shell::CreationContext& context);

  // Whether the box shows its field's value; clear until the first load.
  bool MemoLoaded() const { return memoLoaded_; }
  // The shown text, every line break as CR LF.
  const QString& Text() const { return text_; }

  // DataSource, DataField and the common control properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }

 protected:
  void ReadField(data::TField* field) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QString text_;
  bool memoLoaded_ = false;
};

}  // namespace pellory::ui
