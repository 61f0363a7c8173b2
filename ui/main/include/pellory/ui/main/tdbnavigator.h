// The record navigator: a strip of buttons that move the cursor of its data
// source. The buttons are laid out side by side and trimmed to a common
// width; without an open cursor every button is disabled, otherwise the
// cursor's at-start and at-end flags decide.
#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>
#include <set>

#include "pellory/shell/described_control.h"
#include "pellory/ui/main/tnavbutton.h"

namespace pellory::data {
class TDataSource;
}  // namespace pellory::data

namespace pellory::ui {

class NavigatorLink;

class TDBNavigator : public QWidget, public shell::DescribedControl {
  Q_OBJECT
 public:
  static constexpr int kMinButtonWidth = 20;
  static constexpr int kMinButtonHeight = 18;

  explicit TDBNavigator(const shell::CreationContext& context);
  ~TDBNavigator() override;

  // Attaches the navigator's link to `source`, whose cursor it moves.
  void Bind(data::TDataSource* source);
  // Applies a button's move to the open cursor; nothing without one.
  void BtnClick(TNavigateBtn kind);

  TNavButton* Button(TNavigateBtn kind) const { return buttons_[size_t(kind)]; }
  const std::set<TNavigateBtn>& VisibleButtons() const { return visible_; }
  void SetVisibleButtons(const std::set<TNavigateBtn>& kinds);
  QStringList Hints() const { return hints_; }
  void SetHints(const QStringList& hints);
  QString DataSource() const { return dataSource_; }
  bool Flat() const { return flat_; }

  // DataSource, VisibleButtons (kind names), Hints, Flat and the common
  // control properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }
  void NotifyLoaded() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  friend class NavigatorLink;
  void Layout();
  void ApplyHints();
  void UpdateButtons();

  std::unique_ptr<NavigatorLink> link_;
  std::array<TNavButton*, kNavigateBtnCount> buttons_{};
  std::set<TNavigateBtn> visible_;
  QStringList hints_;
  QString dataSource_;
  bool flat_ = false;
  bool laying_ = false;
};

}  // namespace pellory::ui
