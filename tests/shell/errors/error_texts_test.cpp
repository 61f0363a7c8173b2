// The wording rules of the error display and the last-chance handler.
#include "pellory/shell/error_texts.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>

#include "pellory/shell/shell_error.h"

namespace {

using pellory::shell::LastChanceText;
using pellory::shell::WithTrailingPeriod;

struct PeriodCase {
  const char* message;
  const char* shown;
};

TEST(ErrorTexts, TrailingPeriodRule) {
  const PeriodCase cases[] = {
      {"There is no default printer currently selected",
       "There is no default printer currently selected."},
      {"Delete the record?", "Delete the record?."},
      {"Done.", "Done."},
      {"Stop!", "Stop!"},
      {"Bad value (x)", "Bad value (x)"},
      {"", ""},
      {"Ends in a digit 7", "Ends in a digit 7."},
      {"Path /", "Path /."},
      {"Label:", "Label:."},
      {"Trailing blank ", "Trailing blank "},
      {"Comma,", "Comma,"},
      {"Umlaut \xc3\xa4", "Umlaut \xc3\xa4."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WithTrailingPeriod(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown))
        << c.message;
}

TEST(ErrorTexts, LastChanceTextAddsPeriodOnlyWhenMissing) {
  const struct {
    const char* message;
    const char* tail;
  } cases[] = {
      {"Resource TForm2 not found", "\nResource TForm2 not found."},
      {"Already ends.", "\nAlready ends."},
      {"Question?", "\nQuestion?."},
      {"", "\n"},
  };
  for (const auto& c : cases) {
    const QString text = LastChanceText(QStringLiteral("DescriptionMissingError"), nullptr,
                                        QString::fromUtf8(c.message));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Exception DescriptionMissingError in module ")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QString::fromUtf8(c.tail))) << text.toStdString();
  }
}

TEST(ErrorTexts, LastChanceNamesTheModuleOfTheRaisingCode) {
  const pellory::shell::ShellError error(QStringLiteral("boom"));
  const QString text =
      LastChanceText(QStringLiteral("ShellError"), error.Address(), QStringLiteral("boom"));
  // Raised in this test program, so its own file name is the module.
  const QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  EXPECT_TRUE(text.contains(QStringLiteral(" in module %1 at ").arg(module))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral(".\nboom."))) << text.toStdString();
}

TEST(ErrorTexts, ClassNameWithoutNamespace) {
  EXPECT_EQ(pellory::shell::ErrorClassName(pellory::shell::WindowStateError(QStringLiteral("x"))),
            QStringLiteral("WindowStateError"));
  EXPECT_EQ(pellory::shell::ErrorClassName(std::runtime_error("x")),
            QStringLiteral("runtime_error"));
}

}  // namespace
