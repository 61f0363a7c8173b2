// The password dialog as a session's prompt: a table open that lacks its
// password asks in the dialog, OK tries again, Cancel ends the open with the
// engine's error.
#include "pellory/shell/password_prompt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "fake_engine.h"
#include "gui_helpers.h"
#include "modal_answerer.h"
#include "pellory/data/errors.h"
#include "pellory/data/password_dialog.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"
#include "pellory/shell/stored_font.h"
#include "pellory/shell/system_colors.h"

namespace {

using pellory::data::EDBEngineError;
using pellory::data::TPasswordDialog;
using pellory::data::TSession;
using pellory::data::testing::FakeEngine;
using pellory::shell::PasswordPrompt;
using Answerer = guitest::ModalAnswerer<TPasswordDialog>;
using Answer = Answerer::Answer;

Answer TypeAndOk(const char* password) {
  return [password](TPasswordDialog& d) {
    guitest::type(d.Edit(), QLatin1String(password));
    guitest::click(d.OKButton());
  };
}

struct Catalogue {
  Catalogue() {
    engine->tablePassword = "corvina";
    engine->texts = {{pellory::data::engine_code::kNeedsPassword, "Invalid password."}};
    engine->columns = {{1, "Font Name", 1, 0, 45, 45}};
    engine->rows = {{std::string("Font 1")}};
    session.SetEngine(engine);
    session.AddPassword("mirabo");
    table.SetName("Table1");
    table.SetDatabaseName("pellory");
    table.SetTableName("pelloryfont.DB");
    table.SetReadOnly(true);
  }
  std::shared_ptr<FakeEngine> engine = std::make_shared<FakeEngine>();
  TSession session{"Prompted", false};
  pellory::data::TTable table{session};
};

TEST(PasswordPrompt, OkTriesAgainUntilTheTableOpensAndCancelEndsTheOpen) {
  const struct {
    const char* name;
    std::vector<Answer> answers;
    bool opens;
    int shown;
  } cases[] = {
      {"right password", {TypeAndOk("corvina")}, true, 1},
      {"wrong, then right", {TypeAndOk("wrong"), TypeAndOk("corvina")}, true, 2},
      {"added, then OK with an empty box",
       {[](TPasswordDialog& d) {
         guitest::type(d.Edit(), QStringLiteral("corvina"));
         guitest::click(d.AddButton());
         guitest::click(d.OKButton());
       }},
       true,
       1},
      {"Cancel", {[](TPasswordDialog& d) { guitest::click(d.CancelButton()); }}, false, 1},
      {"Escape", {[](TPasswordDialog& d) { guitest::key(d.Edit(), Qt::Key_Escape); }}, false, 1},
      {"wrong, then Cancel",
       {TypeAndOk("wrong"), [](TPasswordDialog& d) { guitest::click(d.CancelButton()); }},
       false,
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Catalogue catalogue;
    const PasswordPrompt prompt(catalogue.session);
    Answerer answerer(c.answers);
    QFont font;
    QColor colour;
    answerer.onShown = [&](TPasswordDialog& d) {
      font = d.font();
      colour = d.palette().color(QPalette::Window);
    };
    if (c.opens) {
      EXPECT_NO_THROW(catalogue.table.Open());
    } else {
      try {
        catalogue.table.Open();
        ADD_FAILURE() << "the open must fail";
      } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), pellory::data::engine_code::kNeedsPassword);
        EXPECT_STREQ(e.what(), "Invalid password.");
      }
    }
    EXPECT_EQ(catalogue.table.Active(), c.opens);
    EXPECT_EQ(answerer.Shown(), c.shown);
    // Dressed like the program's windows.
    EXPECT_EQ(font.family(), pellory::shell::InstalledFamilyFor("MS Sans Serif"));
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_EQ(colour, ColorOf(pellory::shell::SystemColor::BtnFace));
  }
}

TEST(PasswordPrompt, GivesTheSessionBackItsEarlierPrompt) {
  TSession session("Prompted", false);
  int earlierAsked = 0;
  session.PasswordPrompt = [&](TSession&) { return ++earlierAsked > 0; };
  {
    const PasswordPrompt prompt(session);
    auto* installed = session.PasswordPrompt.target<bool (*)(TSession&)>();
    ASSERT_NE(installed, nullptr);
    EXPECT_EQ(*installed, &PasswordPrompt::Ask);
  }
  ASSERT_TRUE(session.PasswordPrompt);
  EXPECT_TRUE(session.PasswordPrompt(session));
  EXPECT_EQ(earlierAsked, 1);
}

}  // namespace
