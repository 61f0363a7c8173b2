// Construction of a window from its stored description: order of creation,
// properties, loaded notifications and the creation handler; the failures.
#include <QPointer>

#include "gui_helpers.h"
#include "pellory/shell/component_classes.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/shell_error.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::shell;
using shelltest::ProbeWindow;

std::vector<QString>* eventLog = nullptr;
int liveProbes = 0;

void Log(const QString& line) {
  if (eventLog) eventLog->push_back(line);
}

// Records what the reader does with it; the property "Fail" raises and the
// event OnPoke keeps its handler.
class ProbeComponent : public QObject, public DescribedComponent {
 public:
  explicit ProbeComponent(const CreationContext& c) : QObject(c.window), window_(c.window) {
    ++liveProbes;
    Log(QStringLiteral("create"));
  }
  ~ProbeComponent() override { --liveProbes; }
  static const PropertyTable& Properties() {
    using P = ProbeComponent;
    static const PropertyTable table(
        nullptr,
        {
            Property<P>("A", [](P& p, const StoredValue& v) { p.Set("A", v); }),
            Property<P>("B", [](P& p, const StoredValue& v) { p.Set("B", v); }),
            Property<P>("Fail",
                        [](P&, const StoredValue&) { throw ShellError(QStringLiteral("boom")); }),
            Event<P>("OnPoke", [](P& p, Handler h) { p.onPoke = std::move(h); }),
        });
    return table;
  }
  const PropertyTable& StoredProperties() const override { return Properties(); }
  void Set(const char* path, const StoredValue& value) {
    Log(QStringLiteral("set %1.%2=%3").arg(Name(), QLatin1String(path)).arg(IntValue(value)));
  }
  void NotifyLoaded() override {
    bool all = true;
    for (const char* name : {"Probe1", "Probe2", "Probe3"})
      all = all && window_->FindComponent(QLatin1String(name));
    Log(QStringLiteral("loaded %1 creating=%2 all=%3")
            .arg(Name())
            .arg(window_->Creating())
            .arg(all));
  }
  QObject* Object() override { return this; }

  Handler onPoke;

 private:
  StoredWindow* window_;
};

ComponentDescription Probe(const char* name, std::vector<StoredProperty> props = {}) {
  return {"ProbeComponent", name, std::move(props), {}};
}

class WindowConstruction : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    eventLog = &log;
    liveProbes = 0;
    ComponentClasses::Register<ProbeComponent>("ProbeComponent");
  }
  void TearDown() override {
    ShellTest::TearDown();
    eventLog = nullptr;
  }
  std::unique_ptr<ProbeWindow> MakeWindow(const QString& className) {
    auto w = std::make_unique<ProbeWindow>(className);
    w->onLoaded = [this, raw = w.get()] {
      log.push_back(QStringLiteral("loaded window creating=%1").arg(raw->Creating()));
    };
    w->AddHandler(QStringLiteral("ProbeCreate"), [this, raw = w.get()] {
      log.push_back(QStringLiteral("OnCreate creating=%1").arg(raw->Creating()));
    });
    return w;
  }
  std::vector<QString> log;
};

TEST_F(WindowConstruction, StoredOrderThenLoadedNotificationsThenOnCreate) {
  WindowDescription d = shelltest::PlainWindow(QStringLiteral("TOrderWindow"));
  d.properties.push_back({"OnCreate", HandlerRef{"ProbeCreate"}});
  d.components = {Probe("Probe1", {{"A", 1}, {"B", 2}}), Probe("Probe2", {{"A", 3}}),
                  Probe("Probe3")};
  DescriptionRegistry::Register(d);
  auto w = MakeWindow(QStringLiteral("TOrderWindow"));
  w->Construct();
  const std::vector<QString> expected = {"create",
                                         "set Probe1.A=1",
                                         "set Probe1.B=2",
                                         "create",
                                         "set Probe2.A=3",
                                         "create",
                                         "loaded window creating=1",
                                         "loaded Probe1 creating=1 all=1",
                                         "loaded Probe2 creating=1 all=1",
                                         "loaded Probe3 creating=1 all=1",
                                         "OnCreate creating=0"};
  EXPECT_EQ(log, expected);
}

TEST_F(WindowConstruction, MissingDescription) {
  ProbeWindow w(QStringLiteral("TNoSuchWindow"));
  try {
    w.Construct();
    FAIL() << "construction without a description succeeded";
  } catch (const DescriptionMissingError& e) {
    EXPECT_STREQ(e.what(), "Resource TNoSuchWindow not found");
  }
}

TEST_F(WindowConstruction, FailingPropertyNamesComponentAndPathAndDestroysIt) {
  WindowDescription d = shelltest::PlainWindow(QStringLiteral("TFailWindow"));
  d.components = {Probe("Probe1"), Probe("Probe2", {{"A", 1}, {"Fail", 0}}), Probe("Probe3")};
  DescriptionRegistry::Register(d);
  auto w = MakeWindow(QStringLiteral("TFailWindow"));
  try {
    w->Construct();
    FAIL() << "construction with a failing property succeeded";
  } catch (const DescriptionReadError& e) {
    EXPECT_STREQ(e.what(), "Error reading Probe2.Fail: boom");
  }
  EXPECT_EQ(liveProbes, 1);  // Probe1 only; Probe2 destroyed, Probe3 never made.
  EXPECT_EQ(w->FindComponent(QStringLiteral("Probe2")), nullptr);
  EXPECT_TRUE(std::none_of(log.begin(), log.end(), [](const QString& l) {
    return l.startsWith(QStringLiteral("loaded"));
  }));
}

TEST_F(WindowConstruction, PropertiesAndEventsGoThroughTheDeclaredTable) {
  const struct {
    const char* what;
    StoredProperty property;
    const char* error;  // null: read without error
  } cases[] = {
      {"declared property", {"A", 7}, nullptr},
      {"undeclared property", {"C", 7}, "Error reading Probe1.C: Property C does not exist"},
      {"value of the wrong kind",
       {"A", QStringLiteral("7")},
       "Error reading Probe1.A: Invalid property value"},
      {"event bound to a handler", {"OnPoke", HandlerRef{"ProbeCreate"}}, nullptr},
      {"event naming no handler",
       {"OnPoke", HandlerRef{"Nope"}},
       "Error reading Probe1.OnPoke: Invalid property value Nope"},
      {"event given a plain value",
       {"OnPoke", 1},
       "Error reading Probe1.OnPoke: Invalid property value"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const QString cls = QStringLiteral("TTableCase%1").arg(++n);
    WindowDescription d = shelltest::PlainWindow(cls);
    d.components = {Probe("Probe1", {c.property})};
    DescriptionRegistry::Register(d);
    auto w = MakeWindow(cls);
    try {
      w->Construct();
      EXPECT_EQ(c.error, nullptr) << c.what;
    } catch (const DescriptionReadError& e) {
      EXPECT_STREQ(e.what(), c.error) << c.what;
    }
  }
  log.clear();
  WindowDescription d = shelltest::PlainWindow(QStringLiteral("TPokeWindow"));
  d.components = {Probe("Probe1", {{"OnPoke", HandlerRef{"ProbeCreate"}}})};
  DescriptionRegistry::Register(d);
  auto w = MakeWindow(QStringLiteral("TPokeWindow"));
  w->Construct();
  auto* probe = dynamic_cast<ProbeComponent*>(w->FindComponent(QStringLiteral("Probe1")));
  ASSERT_TRUE(probe && probe->onPoke);
  log.clear();
  probe->onPoke();
  EXPECT_EQ(log, std::vector<QString>{QStringLiteral("OnCreate creating=0")});
}

TEST_F(WindowConstruction, FailingWindowPropertyUsesTheWindowName) {
  WindowDescription d = shelltest::PlainWindow(QStringLiteral("TBadPosition"));
  d.properties.push_back({"Position", QStringLiteral("poNowhere")});
  DescriptionRegistry::Register(d);
  ProbeWindow w(QStringLiteral("TBadPosition"));
  EXPECT_THROW(
      {
        try {
          w.Construct();
        } catch (const DescriptionReadError& e) {
          EXPECT_STREQ(e.what(), "Error reading BadPosition.Position: Invalid property value");
          throw;
        }
      },
      DescriptionReadError);
}

TEST_F(WindowConstruction, ErrorInOnCreateIsShownAndWindowStillOpens) {
  WindowDescription d = shelltest::PlainWindow(QStringLiteral("TThrowingCreate"));
  d.properties.push_back({"OnCreate", HandlerRef{"Throw"}});
  d.properties.push_back({"Visible", true});
  d.components = {Probe("Probe1")};
  DescriptionRegistry::Register(d);
  ProbeWindow w(QStringLiteral("TThrowingCreate"));
  w.AddHandler(QStringLiteral("Throw"),
               [] { throw ShellError(QStringLiteral("Cannot open the catalogue")); });
  ASSERT_NO_THROW(w.Construct());
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_EQ(boxes->front().caption, QStringLiteral("Pellory Fonts"));
  EXPECT_EQ(boxes->front().text, QStringLiteral("Cannot open the catalogue."));
  EXPECT_EQ(boxes->front().icon, ErrorBox::Icon::Error);
  EXPECT_EQ(boxes->front().buttons, 1);
  EXPECT_TRUE(w.isVisible());  // The deferred visibility request was honoured.
  EXPECT_NE(w.FindComponent(QStringLiteral("Probe1")), nullptr);
}

TEST_F(WindowConstruction, VisibilityRequestedWhileCreatingWaitsForTheEnd) {
  WindowDescription d = shelltest::PlainWindow(QStringLiteral("TVisibleEarly"));
  d.properties.push_back({"Visible", true});
  d.properties.push_back({"OnCreate", HandlerRef{"ProbeCreate"}});
  DescriptionRegistry::Register(d);
  ProbeWindow w(QStringLiteral("TVisibleEarly"));
  bool visibleInOnCreate = true;
  w.AddHandler(QStringLiteral("ProbeCreate"), [&] { visibleInOnCreate = w.isVisible(); });
  w.Construct();
  EXPECT_FALSE(visibleInOnCreate);
  EXPECT_TRUE(w.isVisible());
}

TEST_F(WindowConstruction, CentredOnFirstShowWhateverItsStoredPosition) {
  const struct {
    QPoint stored;
    QSize size;
  } cases[] = {{{0, 0}, {300, 200}},
               {{83, 82}, {300, 200}},
               {{5000, -300}, {300, 200}},
               {{40, 40}, {5000, 4000}}};  // Larger than the screen: top left at 0,0.
  int n = 0;
  for (const auto& c : cases) {
    const QString name = QStringLiteral("TCentred%1").arg(++n);
    DescriptionRegistry::Register(
        shelltest::PlainWindow(name, c.stored.x(), c.stored.y(), c.size.width(), c.size.height()));
    ProbeWindow w(name);
    w.Construct();
    w.show();
    const QRect screen = w.screen()->geometry();
    const QSize outer = w.frameGeometry().size();
    EXPECT_EQ(outer, c.size);
    EXPECT_EQ(w.frameGeometry().topLeft(),
              QPoint(std::max(0, (screen.width() - outer.width()) / 2),
                     std::max(0, (screen.height() - outer.height()) / 2)))
        << "stored " << c.stored.x() << "," << c.stored.y();
    // Placed once: a later show keeps where the window was moved to.
    w.hide();
    w.move(10, 20);
    w.show();
    EXPECT_EQ(w.pos(), QPoint(10, 20));
  }
}

TEST_F(WindowConstruction, UnknownComponentClass) {
  WindowDescription d = shelltest::PlainWindow(QStringLiteral("TUnknownClass"));
  d.components = {{"TNoSuchControl", "X1", {}, {}}};
  DescriptionRegistry::Register(d);
  ProbeWindow w(QStringLiteral("TUnknownClass"));
  EXPECT_THROW(w.Construct(), DescriptionReadError);
}

}  // namespace
