// A stored window on screens of other resolutions: its font by the ratio
// of the resolutions, then every position and size, and the fonts of
// controls with fonts of their own, by the ratio of the text heights.
#include <QWidget>

#include "pellory/shell/component_classes.h"
#include "pellory/shell/described_control.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/screen_scaling.h"
#include "pellory/shell/stored_font.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::shell;

// A plain control with the properties every control shares.
class PlainControl : public QWidget, public DescribedControl {
 public:
  explicit PlainControl(const CreationContext& c)
      : QWidget(c.parentWidget), DescribedControl(this, c, Focus::TabStop) {}
  const PropertyTable& StoredProperties() const override { return Properties(); }
};

// A window built for a screen of `ppi` pixels per inch.
class ScreenWindow : public shelltest::ProbeWindow {
 public:
  ScreenWindow(const QString& className, int ppi) : ProbeWindow(className), ppi_(ppi) {}

 protected:
  int ScreenPixelsPerInch() const override { return ppi_; }

 private:
  int ppi_;
};

WindowDescription StoredFor96(const QString& className, bool withResolution = true) {
  WindowDescription d = shelltest::PlainWindow(className, 83, 82, 300, 200);
  d.properties.push_back({"Font.Name", QStringLiteral("System")});
  d.properties.push_back({"Font.Height", -13});
  if (withResolution) {
    d.properties.push_back({"PixelsPerInch", 96});
    d.properties.push_back({"TextHeight", 16});
  }
  d.components = {
      {"PlainControl", "Inherits", {{"Left", 10}, {"Top", 20}, {"Width", 33}, {"Height", 41}}, {}},
      {"PlainControl",
       "Own",
       {{"Left", 5},
        {"Top", 7},
        {"Width", 100},
        {"Height", 25},
        {"Font.Name", QStringLiteral("Arial")},
        {"Font.Height", -12},
        {"ParentFont", false}},
       {}},
  };
  return d;
}

class WindowScaling : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ComponentClasses::Register<PlainControl>("PlainControl");
  }
  QWidget* Control(ScreenWindow& w, const char* name) {
    return static_cast<QWidget*>(w.FindComponent(QLatin1String(name))->Object());
  }
};

TEST_F(WindowScaling, ScaledValuesRoundHalvesAwayFromZero) {
  const struct {
    int value, m, d, scaled;
  } cases[] = {{33, 3, 2, 50}, {-13, 3, 2, -20}, {41, 3, 4, 31}, {10, 31, 16, 19},
               {0, 5, 3, 0},   {7, 1, 1, 7},     {-9, 2, 3, -6}, {100000, 3000, 7, 42857143}};
  for (const auto& c : cases)
    EXPECT_EQ(Scaled(c.value, c.m, c.d), c.scaled) << c.value << "*" << c.m << "/" << c.d;
}

TEST_F(WindowScaling, EveryPlaceAndSizeFollowsTheTextHeight) {
  // The window font's new height, its text height (DejaVu Sans stands in
  // for "System"), then the places and sizes at that ratio to 16.
  const struct {
    int ppi;
    int fontHeight;
    int textHeight;
    QRect inherits;
    int ownFontHeight;
    QSize outer;
  } cases[] = {
      {96, -13, 16, {10, 20, 33, 41}, -12, {300, 200}},
      {72, -10, 12, {8, 15, 25, 31}, -9, {225, 150}},
      {120, -16, 19, {12, 24, 39, 49}, -14, {356, 238}},
      {144, -20, 24, {15, 30, 50, 62}, -18, {450, 300}},
      {192, -26, 31, {19, 39, 64, 79}, -23, {581, 388}},
  };
  DescriptionRegistry::Register(StoredFor96(QStringLiteral("TScaledWindow")));
  for (const auto& c : cases) {
    ScreenWindow w(QStringLiteral("TScaledWindow"), c.ppi);
    w.Construct();
    EXPECT_EQ(w.Font().height, c.fontHeight) << c.ppi;
    EXPECT_EQ(w.font().pixelSize(), -c.fontHeight) << c.ppi;
    EXPECT_EQ(TextHeight(w.font()), c.textHeight) << c.ppi;
    EXPECT_EQ(w.OuterSize(), c.outer) << c.ppi;
    EXPECT_EQ(w.size(), c.outer) << c.ppi << ": offscreen windows have no frame";
    QWidget* inherits = Control(w, "Inherits");
    EXPECT_EQ(inherits->geometry(), c.inherits) << c.ppi;
    EXPECT_EQ(inherits->font().pixelSize(), -c.fontHeight) << c.ppi;
    auto* own = dynamic_cast<PlainControl*>(Control(w, "Own"));
    EXPECT_EQ(own->Font().height, c.ownFontHeight) << c.ppi;
    EXPECT_EQ(own->font().pixelSize(), -c.ownFontHeight) << c.ppi;
    EXPECT_EQ(QFontInfo(own->font()).family(), QStringLiteral("Liberation Sans")) << c.ppi;
  }
}

TEST_F(WindowScaling, AWindowStoredByItsClientAreaScalesThatArea) {
  WindowDescription d = StoredFor96(QStringLiteral("TClientSizedWindow"));
  d.properties.push_back({"ClientWidth", 240});
  d.properties.push_back({"ClientHeight", 120});
  DescriptionRegistry::Register(d);
  for (const auto& [ppi, client] : {std::pair{96, QSize(240, 120)}, {144, QSize(360, 180)}}) {
    ScreenWindow w(QStringLiteral("TClientSizedWindow"), ppi);
    w.Construct();
    EXPECT_EQ(w.size(), client) << ppi << ": offscreen windows have no frame";
  }
}

TEST_F(WindowScaling, WithoutAStoredResolutionNothingScales) {
  DescriptionRegistry::Register(
      StoredFor96(QStringLiteral("TUnscaledWindow"), /*withResolution=*/false));
  ScreenWindow w(QStringLiteral("TUnscaledWindow"), 144);
  w.Construct();
  EXPECT_EQ(w.Font().height, -13);
  EXPECT_EQ(w.OuterSize(), QSize(300, 200));
  EXPECT_EQ(Control(w, "Inherits")->geometry(), QRect(10, 20, 33, 41));
}

TEST_F(WindowScaling, TheScreensOwnResolutionDecidesByDefault) {
  // The offscreen test screen has Qt's base resolution, so the window
  // keeps its stored layout.
  DescriptionRegistry::Register(StoredFor96(QStringLiteral("TDefaultScreenWindow")));
  shelltest::ProbeWindow w(QStringLiteral("TDefaultScreenWindow"));
  ASSERT_EQ(w.logicalDpiY(), 96);
  w.Construct();
  EXPECT_EQ(w.OuterSize(), QSize(300, 200));
  EXPECT_EQ(w.Font().height, -13);
}

}  // namespace
