// The multi-line box bound to a memo field: read-only, wrapped at its
// width, without scroll bars; Tab moves the focus on.
#pragma once

#include <QPlainTextEdit>

#include "app/described_control.h"
#include "ui/main/bound_field.h"

namespace pellory::ui {

class TDBMemo : public QPlainTextEdit, public app::DescribedControl, public BoundField {
  Q_OBJECT
 public:
  explicit TDBMemo(const app::CreationContext& context);

  // Whether the box shows its field's value; clear until the first load.
  bool MemoLoaded() const { return memoLoaded_; }

  // DataSource, DataField and the common control properties.
  void SetStoredProperty(const QString& path, const app::StoredValue& value) override;

 private:
  bool memoLoaded_ = false;
};

}  // namespace pellory::ui
