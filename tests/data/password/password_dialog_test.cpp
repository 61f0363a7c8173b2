// The password dialog: its layout, the enabling rules of its buttons, their
// immediate effect on the session's passwords, and the ways it closes.
#include "pellory/data/password_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "fake_engine.h"
#include "gui_helpers.h"
#include "pellory/data/session.h"

namespace pellory::data::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Add, Remove, Remove all, OK.
using Enabled = std::array<bool, 4>;

class PasswordDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    session.SetEngine(engine);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  }
  Enabled Buttons() const {
    return {dialog.AddButton()->isEnabled(), dialog.RemoveButton()->isEnabled(),
            dialog.RemoveAllButton()->isEnabled(), dialog.OKButton()->isEnabled()};
  }
  void Type(const QString& text) { guitest::type(dialog.Edit(), text); }
  void Press(QPushButton* button) {
    guitest::click(button);
    guitest::pump();
  }

  std::shared_ptr<FakeEngine> engine = std::make_shared<FakeEngine>();
  TSession session{"Dialog", false};
  TPasswordDialog dialog{session};
};

TEST_F(PasswordDialog, ControlsSitWhereTheDialogPutsThem) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Enter password"));
  EXPECT_EQ(dialog.size(), QSize(273, 132));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "the size is fixed";
  const struct {
    QWidget* widget;
    QWidget* parent;
    QRect geometry;
    const char* caption;
  } cases[] = {
      {dialog.GroupBox1(), &dialog, {8, 8, 257, 81}, "Password"},
      {dialog.Edit(), dialog.GroupBox1(), {16, 18, 225, 20}, ""},
      {dialog.AddButton(), dialog.GroupBox1(), {16, 46, 65, 25}, "&Add"},
      {dialog.RemoveButton(), dialog.GroupBox1(), {88, 46, 65, 25}, "&Remove"},
      {dialog.RemoveAllButton(), dialog.GroupBox1(), {160, 46, 81, 25}, "Re&move all"},
      {dialog.OKButton(), &dialog, {109, 98, 75, 25}, "&OK"},
      {dialog.CancelButton(), &dialog, {190, 98, 75, 25}, "Cancel"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(c.widget->parentWidget(), c.parent);
    EXPECT_EQ(c.widget->geometry(), c.geometry);
    if (auto* button = qobject_cast<QPushButton*>(c.widget)) {
      EXPECT_EQ(button->text(), QLatin1String(c.caption));
    }
  }
  EXPECT_EQ(dialog.GroupBox1()->title(), QStringLiteral("Password"));
  EXPECT_TRUE(dialog.OKButton()->isDefault());
  EXPECT_EQ(dialog.focusWidget(), dialog.Edit());
}

TEST_F(PasswordDialog, TheBoxShowsAnAsteriskForEachCharacter) {
  Type(QStringLiteral("s"));
  dialog.Edit()->insert(QStringLiteral("\u00E9"));  // The test keyboard types ASCII only.
  Type(QStringLiteral("cret"));
  EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("s\u00E9cret"));
  EXPECT_EQ(dialog.Edit()->displayText(), QStringLiteral("******"));
}

TEST_F(PasswordDialog, ButtonsFollowTheBoxAndWhetherAPasswordWasAdded) {
  const struct {
    const char* step;
    std::function<void()> act;
    Enabled expected;
  } steps[] = {
      {"at first", [] {}, {false, false, true, false}},
      {"one character", [&] { Type(QStringLiteral("s")); }, {true, true, true, true}},
      {"cleared",
       [&] { guitest::key(dialog.Edit(), Qt::Key_Backspace); },
       {false, false, true, false}},
      {"typed again", [&] { Type(QStringLiteral("secret")); }, {true, true, true, true}},
      {"added", [&] { Press(dialog.AddButton()); }, {false, false, true, true}},
      {"typed after adding", [&] { Type(QStringLiteral("x")); }, {true, true, true, true}},
      {"cleared after adding", [&] { dialog.Edit()->clear(); }, {false, false, true, true}},
  };
  for (const auto& s : steps) {
    s.act();
    EXPECT_EQ(Buttons(), s.expected) << s.step;
  }
}

TEST_F(PasswordDialog, AddAndRemoveActOnTheSessionAtOnceAndEmptyTheBox) {
  Type(QStringLiteral("first"));
  Press(dialog.AddButton());
  Type(QStringLiteral("second"));
  Press(dialog.AddButton());
  EXPECT_THAT(engine->passwords, ElementsAre("first", "second"));
  EXPECT_TRUE(dialog.Edit()->text().isEmpty());
  EXPECT_EQ(dialog.focusWidget(), dialog.Edit()) << "focus back in the box after Add";
  EXPECT_TRUE(dialog.PasswordAdded());

  Type(QStringLiteral("first"));
  Press(dialog.RemoveButton());
  EXPECT_THAT(engine->passwords, ElementsAre("second"));
  EXPECT_TRUE(dialog.Edit()->text().isEmpty());
  EXPECT_EQ(dialog.focusWidget(), dialog.Edit()) << "focus back in the box after Remove";
  EXPECT_TRUE(dialog.isVisible()) << "neither closes the dialog";
}

TEST_F(PasswordDialog, RemoveAllAlsoDropsThePasswordGivenAtStartUp) {
  session.AddPassword("mirabo");
  Type(QStringLiteral("other"));
  Press(dialog.AddButton());
  ASSERT_THAT(engine->passwords, ElementsAre("mirabo", "other"));
  Type(QStringLiteral("kept"));
  Press(dialog.RemoveAllButton());
  EXPECT_THAT(engine->passwords, IsEmpty());
  EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("kept")) << "the box keeps its text";
  EXPECT_EQ(dialog.focusWidget(), dialog.Edit());
}

TEST(PasswordDialogClosing, OnlyOkAddsTheBoxAndAccepts) {
  const struct {
    const char* how;
    std::function<void(TPasswordDialog&)> act;
    bool accepted;
    std::vector<std::string> passwords;
  } cases[] = {
      {"&OK", [](auto& d) { guitest::click(d.OKButton()); }, true, {"typed"}},
      {"Enter in the box",
       [](auto& d) { guitest::key(d.Edit(), Qt::Key_Return); },
       true,
       {"typed"}},
      {"&OK after &Add emptied the box",
       [](auto& d) {
         guitest::click(d.AddButton());
         guitest::click(d.OKButton());
       },
       true,
       {"typed"}},
      {"Cancel", [](auto& d) { guitest::click(d.CancelButton()); }, false, {}},
      {"Escape", [](auto& d) { guitest::key(d.Edit(), Qt::Key_Escape); }, false, {}},
      {"close box", [](auto& d) { d.close(); }, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    auto engine = std::make_shared<FakeEngine>();
    TSession session("Dialog", false);
    session.SetEngine(engine);
    TPasswordDialog dialog(session);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    guitest::type(dialog.Edit(), QStringLiteral("typed"));
    c.act(dialog);
    guitest::pump();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), c.accepted ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(engine->passwords, c.passwords);
  }
}

TEST_F(PasswordDialog, EnterInAnEmptyBoxDoesNotClose) {
  guitest::key(dialog.Edit(), Qt::Key_Return);
  guitest::pump();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_THAT(engine->passwords, IsEmpty());
}

}  // namespace
}  // namespace pellory::data::testing
