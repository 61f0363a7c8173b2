#include "pellory/ui/fonts/tglfontlistbox.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScopedValueRollback>
#include <algorithm>

#include "face_heights.h"
#include "font_item_delegate.h"
#include "font_list_model.h"
#include "pellory/platform/printer_fonts.h"
#include "pellory/shell/screen_fonts.h"
#include "pellory/shell/shell_error.h"
#include "pellory/shell/stored_font.h"
#include "pellory/shell/system_colors.h"
#include "pellory/ui/fonts/font_lists.h"

namespace pellory::ui {

namespace {

const QString kNone = QStringLiteral("<none>");

FontSources& DefaultSourcesSlot() {
  static FontSources sources = FontSources::Machine();
  return sources;
}

QStringList FromStd(const std::vector<std::string>& names) {
  QStringList list;
  list.reserve(qsizetype(names.size()));
  for (const std::string& name : names) list.append(QString::fromStdString(name));
  return list;
}

// The hourglass while the largest list is built; the previous cursor comes
// back however the build ends.
class Hourglass {
 public:
  Hourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Hourglass() { QGuiApplication::restoreOverrideCursor(); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;
};

}  // namespace

FontSources FontSources::Machine() {
  return {[] { return shell::ScreenFonts::Names(); },
          [] { return FromStd(platform::ProgramPrinterFonts().Fonts()); }};
}

void TGLFontListBox::SetDefaultSources(FontSources sources) {
  DefaultSourcesSlot() = std::move(sources);
}

FontSources TGLFontListBox::DefaultSources() {
  return DefaultSourcesSlot();
}

TGLFontListBox::TGLFontListBox(const shell::CreationContext& context)
    : QListView(context.parentWidget),
      DescribedControl(this, context, Focus::TabStop),
      model_(new FontListModel(this, &FaceHeights::Shared())),
      sources_(DefaultSources()) {
  resize(121, 97);
  setModel(model_);
  setItemDelegate(new FontItemDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setPalette(shell::ControlPalette(shell::SystemColor::Window));
  setAutoFillBackground(true);
}

TGLFontListBox::~TGLFontListBox() {
  // The faces measured while the window was open are kept for later runs.
  FaceHeights::Shared().Save();
}

void TGLFontListBox::SetFontType(TFontType type) {
  fontType_ = type;
  listExists_ = true;
  Rebuild();
}

QString TGLFontListBox::SelectedFont() {
  EnsureList();
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  return selected.isEmpty() ? kNone : model_->Name(selected.first().row());
}

void TGLFontListBox::SetSelectedFont(const QString& name) {
  EnsureList();
  for (int row = 0; row < model_->rowCount(); ++row) {
    if (model_->Name(row).compare(name, Qt::CaseInsensitive) != 0) continue;
    const QModelIndex index = model_->index(row);
    setCurrentIndex(index);
    scrollTo(index);
    return;
  }
}

int TGLFontListBox::Count() {
  EnsureList();
  return model_->rowCount();
}

QString TGLFontListBox::Item(int row) const {
  return model_->Name(row);
}

void TGLFontListBox::ChangeScale(int m, int d) {
  DescribedControl::ChangeScale(m, d);
  model_->SetListFont(font());
  doItemsLayout();
}

void TGLFontListBox::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) model_->SetListFont(font());
  QListView::changeEvent(event);
}

void TGLFontListBox::doItemsLayout() {
  QListView::doItemsLayout();
  MeasureShownRows();
}

void TGLFontListBox::scrollTo(const QModelIndex& index, ScrollHint hint) {
  // Scrolled to, the row may end up anywhere in view, so the rows a view's
  // height around it are measured before the scroll is worked out.
  if (index.isValid() && isVisible()) {
    const int reach = viewport()->height() / std::max(1, shell::TextHeight(font())) + 1;
    MeasureRows(index.row() - reach, index.row() + reach);
  }
  QListView::scrollTo(index, hint);
}

void TGLFontListBox::MeasureRows(int first, int last) {
  if (model_->Measure(first, last)) QListView::doItemsLayout();
}

void TGLFontListBox::MeasureShownRows() {
  if (measuring_ || !isVisible()) return;
  const QScopedValueRollback<bool> measuring(measuring_, true);
  executeDelayedItemsLayout();
  const int bottom = viewport()->height();
  for (;;) {
    const QModelIndex top = indexAt(QPoint(1, 0));
    if (!top.isValid()) return;
    int last = top.row();
    while (last + 1 < model_->rowCount() && visualRect(model_->index(last + 1)).top() < bottom)
      ++last;
    if (!model_->Measure(top.row(), last)) return;
    QListView::doItemsLayout();
  }
}

int TGLFontListBox::RowHeight(int row) const {
  return model_->Height(row);
}

void TGLFontListBox::EnsureList() {
  if (listExists_) return;
  listExists_ = true;
  Rebuild();
}

void TGLFontListBox::showEvent(QShowEvent* event) {
  EnsureList();
  QListView::showEvent(event);
}

QStringList TGLFontListBox::PrinterNames(bool noDefaultMeansNone) const {
  try {
    return sources_.printer();
  } catch (const platform::NoDefaultPrinterError&) {
    // Most machines have no printer; their screen fonts are still listed.
    if (noDefaultMeansNone) return {};
    throw;
  }
}

void TGLFontListBox::Rebuild() {
  model_->Clear();
  model_->SetListFont(font());
  switch (fontType_) {
    case ftScreen: {
      const QStringList printer = PrinterNames(true);
      AddOneByOne(ScreenOnly(sources_.screen(), printer));
      break;
    }
    case ftPrinter:
      AddOneByOne(PrinterOnly(PrinterNames(false), sources_.screen()));
      break;
    case ftBoth: {
      const Hourglass hourglass;
      ReplaceAll(BothSorted(PrinterNames(true), sources_.screen()));
      break;
    }
    default:
      break;  // Any other type lists nothing.
  }
}

void TGLFontListBox::AddOneByOne(const QStringList& names) {
  for (const QString& name : names) model_->Add(name);
}

void TGLFontListBox::ReplaceAll(const QStringList& names) {
  setUpdatesEnabled(false);
  model_->Replace(names);
  setUpdatesEnabled(true);
  viewport()->update();
}

void TGLFontListBox::paintEvent(QPaintEvent* event) {
  // A scroll brings rows into view without a layout.
  MeasureShownRows();
  QListView::paintEvent(event);
  if (model_->rowCount() != 0 || !hasFocus()) return;
  // An empty list with the focus shows where its first row would be.
  QPainter painter(viewport());
  DrawFocusRectangle(&painter, QRect(0, 0, viewport()->width(), shell::TextHeight(font())));
}

namespace {

TFontType StoredFontType(const QString& name) {
  static const char* const kTypes[] = {"ftScreen", "ftPrinter", "ftBoth"};
  for (quint8 i = 0; i < 3; ++i)
    if (name == QLatin1String(kTypes[i])) return TFontType(i);
  throw shell::ShellError(QStringLiteral("Invalid property value"));
}

}  // namespace

const shell::PropertyTable& TGLFontListBox::Properties() {
  using L = TGLFontListBox;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &DescribedControl::Properties(),
      {
          shell::Property<L>(
              "FontType", [](L& l, V v) { l.SetFontType(StoredFontType(shell::StringValue(v))); }),
          shell::Property<L>("SelectedFont",
                             [](L& l, V v) { l.SetSelectedFont(shell::StringValue(v)); }),
      });
  return table;
}

}  // namespace pellory::ui
