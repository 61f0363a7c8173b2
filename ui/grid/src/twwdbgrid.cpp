// The picture grid: settings, binding to the data source, and the
// reactions to the cursor's notifications.
#include "pellory/ui/grid/twwdbgrid.h"

#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <functional>

#include "column_drag.h"
#include "grid_accessible.h"
#include "grid_data_link.h"
#include "grid_resources.h"
#include "grid_settings.h"
#include "inplace_edit.h"
#include "pellory/data/dataset.h"
#include "pellory/data/datasource.h"
#include "pellory/data/table.h"
#include "pellory/shell/screen_scaling.h"
#include "pellory/shell/shell_error.h"
#include "pellory/shell/stored_window.h"
#include "pellory/shell/system_colors.h"
#include "pellory/ui/grid/described_cursor.h"

namespace pellory::ui {

namespace {

// Scroll bars as wide as the desktop's standard ones at 96 dots per inch,
// so the client area, and with it the number of rows, is the same on
// every style.
class ScrollBarStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_ScrollBarExtent) return TwwDBGrid::kScrollBarExtent;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

data::TAlignment AlignmentNamed(const QString& name) {
  if (name == QLatin1String("taLeftJustify")) return data::taLeftJustify;
  if (name == QLatin1String("taRightJustify")) return data::taRightJustify;
  if (name == QLatin1String("taCenter")) return data::taCenter;
  throw shell::ShellError(QStringLiteral("Invalid property value"));
}

TIndicatorColor IndicatorColorNamed(const QString& name) {
  if (name == QLatin1String("icBlack")) return icBlack;
  if (name == QLatin1String("icYellow")) return icYellow;
  throw shell::ShellError(QStringLiteral("Invalid property value"));
}

// Settings the grid knows only in one state; any other value is refused
// rather than silently drawn the default way.
void RequireValue(bool holds) {
  if (!holds) throw shell::ShellError(QStringLiteral("Invalid property value"));
}

std::vector<std::string> StdLines(const QStringList& lines) {
  std::vector<std::string> out;
  out.reserve(std::size_t(lines.size()));
  for (const QString& line : lines) out.push_back(line.toStdString());
  return out;
}

}  // namespace

TwwDBGrid::TwwDBGrid(const shell::CreationContext& context)
    : QAbstractScrollArea(context.parentWidget),
      DescribedControl(this, context, Focus::TabStop),
      link_(std::make_unique<TwwGridDataLink>(*this)),
      titleColor_(shell::ColorOf(shell::SystemColor::BtnFace)),
      color_(shell::ColorOf(shell::SystemColor::Window)),
      titleFont_(Font()) {
  grid::GridResources::Acquire();
  grid::InstallGridAccessibility();
  MeasureFonts();
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(kEdge);
  auto* style = new ScrollBarStyle;
  style->setParent(this);
  verticalScrollBar()->setStyle(style);
  horizontalScrollBar()->setStyle(style);
  verticalScrollBar()->setPageStep(0);
  horizontalScrollBar()->setPageStep(0);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  setPalette(shell::ControlPalette(shell::SystemColor::BtnFace));
  ConnectScrollBars();
}

TwwDBGrid::~TwwDBGrid() {
  link_->SetDataSource(nullptr);
  grid::GridResources::Release();
}

// --- settings ---------------------------------------------------------------

void TwwDBGrid::SetSelected(const QStringList& entries) {
  selected_ = entries;
  if (link_->Active()) ApplySettings();
}

void TwwDBGrid::SetControlType(const QStringList& entries) {
  controlType_ = entries;
  viewport()->update();
}

void TwwDBGrid::SetControlInfoInDataset(bool on) {
  controlInfoInDataset_ = on;
  viewport()->update();
}

void TwwDBGrid::SetRowHeightPercent(int percent) {
  rowHeightPercent_ = percent < 1 ? 100 : percent;
  LayoutChanged();
}

void TwwDBGrid::SetTitleLines(int lines) {
  if (lines < 1) return;
  titleLines_ = lines;
  LayoutChanged();
}

void TwwDBGrid::SetTitleAlignment(data::TAlignment alignment) {
  titleAlignment_ = alignment;
  LayoutChanged();
}

void TwwDBGrid::SetTitleColor(const QColor& color) {
  titleColor_ = color;
  LayoutChanged();
}

void TwwDBGrid::SetColor(const QColor& color) {
  color_ = color;
  viewport()->update();
}

void TwwDBGrid::SetTitleFont(const shell::StoredFont& font) {
  titleFont_ = font;
  MeasureFonts();
  LayoutChanged();
}

void TwwDBGrid::SetIndicatorColor(TIndicatorColor color) {
  indicatorColor_ = color;
  LayoutChanged();
}

void TwwDBGrid::SetShowHorzScrollBar(bool on) {
  showHorzScrollBar_ = on;
  LayoutChanged();
}

void TwwDBGrid::SetShowVertScrollBar(bool on) {
  showVertScrollBar_ = on;
  UpdateVerticalBar();
  LayoutChanged();
}

void TwwDBGrid::FontChanged() {
  DescribedControl::FontChanged();
  MeasureFonts();
  LayoutChanged();
}

void TwwDBGrid::ChangeScale(int m, int d) {
  DescribedControl::ChangeScale(m, d);
  shell::StoredFont title = titleFont_;
  title.height = shell::Scaled(title.height, m, d);
  SetTitleFont(title);
}

void TwwDBGrid::ChangeTitleFont(const std::function<void(shell::StoredFont&)>& change) {
  shell::StoredFont font = titleFont_;
  change(font);
  SetTitleFont(font);
}

const shell::PropertyTable& TwwDBGrid::Properties() {
  using shell::Property;
  using G = TwwDBGrid;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &DescribedControl::Properties(),
      {
          Property<G>("Selected", [](G& g, V v) { g.SetSelected(shell::StringListValue(v)); }),
          Property<G>("ControlType",
                      [](G& g, V v) { g.SetControlType(shell::StringListValue(v)); }),
          Property<G>("ControlInfoInDataset",
                      [](G& g, V v) { g.SetControlInfoInDataset(shell::BoolValue(v)); }),
          // Columns always follow the cursor's field objects.
          Property<G>("UseTFields", [](G&, V v) { RequireValue(shell::BoolValue(v)); }),
          Property<G>("DataSource", [](G& g, V v) { g.dataSourceName_ = shell::StringValue(v); }),
          Property<G>("RowHeightPercent",
                      [](G& g, V v) { g.SetRowHeightPercent(shell::IntValue(v)); }),
          Property<G>("TitleLines", [](G& g, V v) { g.SetTitleLines(shell::IntValue(v)); }),
          Property<G>(
              "TitleAlignment",
              [](G& g, V v) { g.SetTitleAlignment(AlignmentNamed(shell::StringValue(v))); }),
          Property<G>(
              "TitleColor",
              [](G& g, V v) { g.SetTitleColor(shell::StoredColor(shell::StringValue(v))); }),
          Property<G>("Color",
                      [](G& g, V v) { g.SetColor(shell::StoredColor(shell::StringValue(v))); }),
          Property<G>("TitleFont.Name",
                      [](G& g, V v) {
                        g.ChangeTitleFont(
                            [&v](shell::StoredFont& f) { f.name = shell::StringValue(v); });
                      }),
          Property<G>("TitleFont.Height",
                      [](G& g, V v) {
                        g.ChangeTitleFont(
                            [&v](shell::StoredFont& f) { f.height = shell::IntValue(v); });
                      }),
          Property<G>("TitleFont.Color",
                      [](G& g, V v) {
                        g.ChangeTitleFont([&v](shell::StoredFont& f) {
                          f.color = shell::StoredColor(shell::StringValue(v));
                        });
                      }),
          Property<G>("TitleFont.Style",
                      [](G& g, V v) {
                        g.ChangeTitleFont(
                            [&v](shell::StoredFont& f) { f.style = shell::IntValue(v); });
                      }),
          // Only the default character set exists here.
          Property<G>("TitleFont.Charset", [](G&, V v) { shell::IntValue(v); }),
          Property<G>(
              "IndicatorColor",
              [](G& g, V v) { g.SetIndicatorColor(IndicatorColorNamed(shell::StringValue(v))); }),
          Property<G>("ShowHorzScrollBar",
                      [](G& g, V v) { g.SetShowHorzScrollBar(shell::BoolValue(v)); }),
          Property<G>("ShowVertScrollBar",
                      [](G& g, V v) { g.SetShowVertScrollBar(shell::BoolValue(v)); }),
          // Only the indicator column is fixed, and titles are never buttons.
          Property<G>("FixedCols", [](G&, V v) { RequireValue(shell::IntValue(v) == 0); }),
          Property<G>("TitleButtons", [](G&, V v) { RequireValue(!shell::BoolValue(v)); }),
      });
  return table;
}

void TwwDBGrid::NotifyLoaded() {
  if (dataSourceName_.isEmpty()) return;
  auto* window = qobject_cast<shell::StoredWindow*>(this->window());
  auto* source = window ? window->Component<DescribedDataSource>(dataSourceName_) : nullptr;
  if (!source)
    throw shell::ShellError(
        QStringLiteral("%1: Component %2 not found").arg(objectName(), dataSourceName_));
  SetDataSource(&source->Source());
}

// --- binding ----------------------------------------------------------------

data::TDataSource* TwwDBGrid::DataSource() const {
  return link_->DataSource();
}

void TwwDBGrid::SetDataSource(data::TDataSource* source) {
  link_->SetDataSource(source);
}

const data::TDataLink& TwwDBGrid::DataLink() const {
  return *link_;
}

data::TField* TwwDBGrid::ColumnField(int col) const {
  if (col < 1 || col > int(fields_.size())) return nullptr;
  return fields_[std::size_t(col - 1)];
}

std::vector<std::string> TwwDBGrid::ControlTypeList() const {
  if (controlInfoInDataset_)
    if (const auto* table = dynamic_cast<const data::TwwTable*>(link_->DataSet()))
      return table->ControlType();
  return StdLines(controlType_);
}

// The lists are applied with the cursor's notifications held back; the
// layout change they cause reaches the grid once, at the end.
void TwwDBGrid::ApplySettings() {
  data::TDataSet* cursor = link_->DataSet();
  if (!cursor) return;
  cursor->SuspendNotifications();
  if (auto* table = dynamic_cast<data::TwwTable*>(cursor); table && controlInfoInDataset_) {
    std::vector<std::string> list = table->ControlType();
    grid::PruneControlTypes(list, *cursor);
    table->SetControlType(std::move(list));
  }
  if (!selected_.isEmpty() && !grid::HasCalculatedField(*cursor))
    grid::ApplyColumnList(StdLines(selected_), *cursor);
  cursor->ResumeNotifications();
}

// --- notifications ------------------------------------------------------------

void TwwDBGrid::LinkActiveChanged() {
  if (!link_->Active()) HideEditor();
  LayoutChanged();
  UpdateVerticalBar();
  if (link_->Active()) ApplySettings();
}

void TwwDBGrid::LinkDataChanged() {
  if (!hasWindow_) return;
  RecountRows();
  UpdateVerticalBar();
  UpdateCurrentRow();
  viewport()->update();
  AnnounceCurrentCell(true);
}

void TwwDBGrid::LinkScrolled(int distance) {
  if (!hasWindow_) return;
  const int oldRow = row_;
  UpdateVerticalBar();
  UpdateCurrentRow();
  HideEditor();
  QRegion dirty = QRegion(RowBand(oldRow)) | RowBand(row_);
  if (distance != 0) {
    if (std::abs(distance) > fitRows_) {
      viewport()->update();
      AnnounceCurrentCell(true);
      return;
    }
    // The rows already painted move with the records; only the rows that
    // come into view, and the indicator and old and new current rows, are
    // painted again.
    const int shift = -(rowHeight_ + 1) * distance;
    const int left = ColumnX(leftCol_);
    const QRect area =
        QRect(left, RowY(1), ClientSize().width() - left, (rowCount_ - 1) * (rowHeight_ + 1))
            .intersected(viewport()->rect());
    viewport()->scroll(0, shift, area);
    const QRect moved = area.translated(0, shift).intersected(area);
    dirty |= QRegion(area).subtracted(moved);
    dirty |= RowBand(oldRow).translated(0, shift);
  }
  viewport()->repaint(dirty);
  AnnounceCurrentCell(distance != 0);
}

// --- events ---------------------------------------------------------------------

bool TwwDBGrid::event(QEvent* event) {
  if (event->type() == QEvent::Paint) {
    // The sunken client edge, and the square between the two scroll bars.
    // Each line lies on the widget's outermost pixels (QRect's right and
    // bottom are its last column and row).
    QPainter p(this);
    const QRect outer = rect();
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    const auto box = [&p](QRect r, QColor topLeft, QColor bottomRight) {
      p.setPen(topLeft);
      p.drawLine(r.topLeft(), r.topRight());
      p.drawLine(r.topLeft(), r.bottomLeft());
      p.setPen(bottomRight);
      p.drawLine(r.bottomLeft(), r.bottomRight());
      p.drawLine(r.topRight(), r.bottomRight());
    };
    box(outer, shell::ColorOf(shell::SystemColor::BtnShadow),
        shell::ColorOf(shell::SystemColor::BtnHighlight));
    box(inner, Qt::black, shell::ColorOf(shell::SystemColor::BtnFace));
    if (verticalScrollBar()->isVisible() && horizontalScrollBar()->isVisible()) {
      const QSize client = ClientSize();
      p.fillRect(
          QRect(kEdge + client.width(), kEdge + client.height(),
                width() - 2 * kEdge - client.width(), height() - 2 * kEdge - client.height()),
          shell::ColorOf(shell::SystemColor::BtnFace));
    }
    return true;
  }
  return QAbstractScrollArea::event(event);
}

void TwwDBGrid::showEvent(QShowEvent* event) {
  QAbstractScrollArea::showEvent(event);
  if (hasWindow_) return;
  hasWindow_ = true;
  LayoutChanged();
  UpdateVerticalBar();
}

void TwwDBGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  LayoutChanged();
}

void TwwDBGrid::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  focusLentToMenu_ = false;
  viewport()->update(CellRect(col_, row_));
  AnnounceCurrentCell(false);
}

void TwwDBGrid::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  // Qt hands the keys to an open menu (or to the menu bar worked from the
  // keyboard) as a change of focus; the grid still has the focus as far as
  // its window goes, and gets it back when the menu closes.
  focusLentToMenu_ =
      event->reason() == Qt::PopupFocusReason || event->reason() == Qt::MenuBarFocusReason;
  viewport()->update(CellRect(col_, row_));
}

bool TwwDBGrid::HasKeyboardFocus() const {
  return hasFocus() || focusLentToMenu_;
}

void TwwDBGrid::scrollContentsBy(int, int) {
  // The scroll bars move the cursor or the columns; the grid repaints
  // itself from their new state.
}

}  // namespace pellory::ui
