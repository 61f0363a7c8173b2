// Window properties of a dialog's description: the client size, the dialog
// border, the control that starts with the focus, and controls stored
// inside another control.
#include <QWidget>

#include "gui_helpers.h"
#include "pellory/shell/component_classes.h"
#include "pellory/shell/described_control.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/shell_error.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::shell;
using shelltest::ProbeWindow;

// A plain focusable control; others may be stored inside it.
class BoxControl : public QWidget, public DescribedControl {
 public:
  explicit BoxControl(const CreationContext& c)
      : QWidget(c.parentWidget), DescribedControl(this, c, Focus::TabStop) {}
};

ComponentDescription Box(const char* name, int left, int tabOrder,
                         std::vector<ComponentDescription> inside = {}) {
  return {"BoxControl",
          name,
          {{"Left", left}, {"Top", 10}, {"Width", 40}, {"Height", 20}, {"TabOrder", tabOrder}},
          std::move(inside)};
}

class DialogProperties : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ComponentClasses::Register<BoxControl>("BoxControl");
  }
  // Constructs a window of `className` from `properties` and `components`;
  // answers the error text when construction fails.
  QString Construct(const QString& className, std::vector<StoredProperty> properties,
                    std::vector<ComponentDescription> components = {}) {
    WindowDescription d = shelltest::PlainWindow(className);
    d.properties.insert(d.properties.end(), properties.begin(), properties.end());
    d.components = std::move(components);
    DescriptionRegistry::Register(d);
    window = std::make_unique<ProbeWindow>(className);
    try {
      window->Construct();
    } catch (const std::exception& e) {
      return QString::fromUtf8(e.what());
    }
    return {};
  }
  void Show() {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  std::unique_ptr<ProbeWindow> window;
};

TEST_F(DialogProperties, AClientSizeWinsOverTheOuterSize) {
  ASSERT_EQ(
      Construct(QStringLiteral("TClientSized"), {{"ClientHeight", 213}, {"ClientWidth", 321}}),
      QString());
  EXPECT_EQ(window->ClientSize(), QSize(321, 213));
  Show();
  EXPECT_EQ(window->size(), QSize(321, 213));
}

TEST_F(DialogProperties, TheBorderDecidesWhetherTheSizeCanChange) {
  const struct {
    const char* border;
    bool fixed;
  } cases[] = {{"bsDialog", true}, {"bsSizeable", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.border);
    ASSERT_EQ(Construct(QStringLiteral("TBordered"), {{"BorderStyle", QLatin1String(c.border)}}),
              QString());
    Show();
    EXPECT_EQ(window->frameGeometry().size(), QSize(300, 200)) << "the stored outer size";
    EXPECT_EQ(window->minimumSize() == window->maximumSize(), c.fixed);
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(bool(flags & Qt::WindowMinimizeButtonHint), !c.fixed);
    EXPECT_EQ(bool(flags & Qt::WindowMaximizeButtonHint), !c.fixed);
  }
  EXPECT_EQ(Construct(QStringLiteral("TBadBorder"), {{"BorderStyle", QStringLiteral("bsNone")}}),
            QStringLiteral("Error reading BadBorder.BorderStyle: Invalid property value"));
}

TEST_F(DialogProperties, TheActiveControlElseTheFirstTabStopStartsWithTheFocus) {
  const struct {
    const char* active;  // empty: none stored
    const char* focused;
  } cases[] = {{"", "Second"}, {"First", "First"}, {"third", "Third"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.active);
    std::vector<StoredProperty> properties;
    if (*c.active) properties.push_back({"ActiveControl", QLatin1String(c.active)});
    // Tab order puts Second first.
    ASSERT_EQ(Construct(QStringLiteral("TFocused"), properties,
                        {Box("First", 0, 1), Box("Second", 50, 0), Box("Third", 100, 2)}),
              QString());
    Show();
    ASSERT_NE(window->focusWidget(), nullptr);
    EXPECT_EQ(window->focusWidget()->objectName(), QLatin1String(c.focused));
  }
  EXPECT_EQ(Construct(QStringLiteral("TNoActive"), {{"ActiveControl", QStringLiteral("Nobody")}},
                      {Box("First", 0, 0)}),
            QStringLiteral("Control Nobody not found"));
}

TEST_F(DialogProperties, ControlsStoredInsideAControlSitOnIt) {
  ASSERT_EQ(Construct(QStringLiteral("TNested"), {},
                      {Box("Outer", 5, 0, {Box("Inner", 7, 1)}), Box("Beside", 60, 2)}),
            QString());
  auto* outer = static_cast<QWidget*>(window->FindComponent(QStringLiteral("Outer"))->Object());
  auto* inner = static_cast<QWidget*>(window->FindComponent(QStringLiteral("Inner"))->Object());
  auto* beside = static_cast<QWidget*>(window->FindComponent(QStringLiteral("Beside"))->Object());
  EXPECT_EQ(inner->parentWidget(), outer);
  EXPECT_EQ(inner->pos(), QPoint(7, 10)) << "relative to the control it sits on";
  EXPECT_EQ(outer->parentWidget(), window->Client());
  EXPECT_EQ(beside->parentWidget(), window->Client());
}

}  // namespace
