// A list of installed font names, each drawn and measured in its own face,
// sorted ignoring case. FontType chooses the screen's fonts the printer
// lacks, the printer's fonts the screen lacks, or both; the list fills
// itself when first needed and again on every write of FontType. A face is
// loaded only when its row is shown (or its height asked for), and the
// heights measured are kept for later lists and later runs.
#pragma once

#include <QListView>
#include <functional>

#include "pellory/shell/described_control.h"

namespace pellory::ui {

class FontListModel;

enum TFontType : quint8 { ftScreen = 0, ftPrinter = 1, ftBoth = 2 };

// Where the names come from: the screen's list (sorted ignoring case) and
// the printer's, which may raise a platform::PrintError.
struct FontSources {
  std::function<QStringList()> screen;
  std::function<QStringList()> printer;

  // The screen list the program built at start and the default printer's
  // resident fonts.
  static FontSources Machine();
};

class TGLFontListBox : public QListView, public shell::DescribedControl {
  Q_OBJECT
 public:
  explicit TGLFontListBox(const shell::CreationContext& context);
  ~TGLFontListBox() override;

  TFontType FontType() const { return fontType_; }
  // Stores the type and rebuilds the list; the selection is lost.
  void SetFontType(TFontType type);
  // The selected name, or "<none>".
  QString SelectedFont();
  // Selects the first item equal to `name` ignoring case; nothing else
  // changes when there is none.
  void SetSelectedFont(const QString& name);
  int Count();
  QString Item(int row) const;
  // The height of a row in its own face, measured now if not known yet.
  int RowHeight(int row) const;

  void SetSources(FontSources sources) { sources_ = std::move(sources); }
  // The sources every new list takes: the machine's, unless set otherwise.
  static void SetDefaultSources(FontSources sources);
  static FontSources DefaultSources();

  // FontType ("ftScreen", "ftPrinter", "ftBoth"), SelectedFont and the
  // common control properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }
  // Scaled to another screen, the rows measured in the stored font are
  // measured again in the scaled one.
  void ChangeScale(int m, int d) override;

  // Rows are laid out as tall as the list's font until measured; the rows
  // a layout or a scroll brings into view are measured first.
  void doItemsLayout() override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Makes the list exist, filling it the first time.
  void EnsureList();
  void Rebuild();
  QStringList PrinterNames(bool noDefaultMeansNone) const;
  void AddOneByOne(const QStringList& names);
  void ReplaceAll(const QStringList& names);
  // Measures the rows from `first` to `last` and lays the list out again
  // when one changed height.
  void MeasureRows(int first, int last);
  // Measures every row in view, again while a measured row brings others
  // into view.
  void MeasureShownRows();

  FontListModel* model_;
  FontSources sources_;
  TFontType fontType_ = ftScreen;
  bool listExists_ = false;
  bool measuring_ = false;
};

}  // namespace pellory::ui
