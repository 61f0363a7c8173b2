// A static text that sizes itself to its caption (AutoSize), keeps its left
// edge when the text changes, and is painted opaque in its window's colour.
// With WordWrap it keeps its width and takes the height of the wrapped text.
#pragma once

#include <QLabel>

#include "pellory/shell/described_control.h"

namespace pellory::ui {

class CaptionLabel : public QLabel, public shell::DescribedControl {
  Q_OBJECT
 public:
  explicit CaptionLabel(const shell::CreationContext& context);

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  bool WordWrap() const { return wordWrap(); }
  void SetWordWrap(bool on);

  // Caption, AutoSize, WordWrap, Transparent and the common control
  // properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }
  // Sizes the label once all its stored properties are known.
  void NotifyLoaded() override;

 protected:
  void FontChanged() override;

 private:
  void FitToText();

  bool autoSize_ = true;
  bool loading_ = false;  // While its window is read, the size waits.
};

}  // namespace pellory::ui
