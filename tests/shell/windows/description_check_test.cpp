// Stored property tables and the check of descriptions against them.
#include "pellory/shell/description_check.h"

#include <QObject>

#include "pellory/shell/component_classes.h"
#include "pellory/shell/property_table.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::shell;
using shelltest::ProbeWindow;

struct Base : DescribedComponent {
  static const PropertyTable& Properties() {
    static const PropertyTable table(
        nullptr,
        {
            Property<Base>("Size", [](Base& b, const StoredValue&) { b.last = "Base.Size"; }),
            Property<Base>("Color", [](Base& b, const StoredValue&) { b.last = "Color"; }),
        });
    return table;
  }
  const PropertyTable& StoredProperties() const override { return Properties(); }
  QObject* Object() override { return nullptr; }
  QString last;
};

// Extends Base's table and declares Size again, which wins over Base's.
struct Derived : Base {
  explicit Derived(const CreationContext& = {}) {}
  static const PropertyTable& Properties() {
    static const PropertyTable table(
        &Base::Properties(),
        {
            Property<Derived>("Size",
                              [](Derived& d, const StoredValue&) { d.last = "Derived.Size"; }),
            Event<Derived>("OnPoke", [](Derived& d, Handler h) { d.poke = std::move(h); }),
        });
    return table;
  }
  const PropertyTable& StoredProperties() const override { return Properties(); }
  Handler poke;
};

TEST(PropertyTable, AClassTableExtendsItsBaseAndOverridesIt) {
  const struct {
    const char* path;
    const char* sets;  // null: not declared
  } cases[] = {{"Size", "Derived.Size"}, {"Color", "Color"}, {"Width", nullptr}};
  for (const auto& c : cases) {
    Derived d;
    const PropertyEntry* entry = d.StoredProperties().Find(QLatin1String(c.path));
    ASSERT_EQ(entry != nullptr, c.sets != nullptr) << c.path;
    if (!entry) continue;
    entry->set(d, 1);
    EXPECT_EQ(d.last, QLatin1String(c.sets));
  }
  EXPECT_EQ(Base().StoredProperties().Find(QStringLiteral("OnPoke")), nullptr);
  EXPECT_EQ(Derived::Properties().Paths(), QStringList({"Size", "OnPoke", "Size", "Color"}));
}

class DescriptionCheck : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ComponentClasses::Register(
        QStringLiteral("TDerived"),
        [](const CreationContext&) -> DescribedComponent* { return nullptr; },
        Derived::Properties());
    window.AddHandler(QStringLiteral("Known"), [] {});
  }
  static ComponentDescription Item(const char* name, std::vector<StoredProperty> props,
                                   std::vector<ComponentDescription> children = {}) {
    return {"TDerived", name, std::move(props), std::move(children)};
  }
  ProbeWindow window{QStringLiteral("TChecked")};
};

TEST_F(DescriptionCheck, NamesEveryUndeclaredPropertyClassAndHandler) {
  const struct {
    const char* what;
    std::vector<StoredProperty> windowProps;
    std::vector<ComponentDescription> components;
    QStringList faults;
  } cases[] = {
      {"sound",
       {{"Caption", QStringLiteral("x")}, {"OnCreate", HandlerRef{"Known"}}},
       {Item("Item1", {{"Size", 1}, {"Color", 2}, {"OnPoke", HandlerRef{"Known"}}},
             {Item("Item2", {{"Size", 3}})})},
       {}},
      {"window property",
       {{"Captoin", QStringLiteral("x")}},
       {},
       {"Checked.Captoin: TChecked declares no such property or event"}},
      {"component property",
       {},
       {Item("Item1", {{"Size", 1}, {"Width", 2}})},
       {"Checked.Item1.Width: TDerived declares no such property or event"}},
      {"sub-component property",
       {},
       {Item("Item1", {}, {Item("Item2", {{"Colour", 2}})})},
       {"Checked.Item2.Colour: TDerived declares no such property or event"}},
      {"class",
       {},
       {{"TNoSuch", "Item1", {}, {}}},
       {"Checked.Item1: class TNoSuch is not registered"}},
      {"handler",
       {{"OnCreate", HandlerRef{"Unknown"}}},
       {Item("Item1", {{"OnPoke", HandlerRef{"Known"}}})},
       {"Checked.OnCreate: the window has no handler Unknown"}},
      {"event without a handler name",
       {},
       {Item("Item1", {{"OnPoke", QStringLiteral("Known")}})},
       {"Checked.Item1.OnPoke: an event takes a handler name"}},
      {"property given a handler name",
       {},
       {Item("Item1", {{"Size", HandlerRef{"Known"}}})},
       {"Checked.Item1.Size: a property takes no handler name"}},
  };
  for (const auto& c : cases) {
    const WindowDescription d{"TChecked", "Checked", c.windowProps, c.components};
    EXPECT_EQ(DescriptionFaults(d, window), c.faults) << c.what;
  }
}

}  // namespace
