// The standard message dialog: its layout rules, what it paints, the keys
// that end it and where it appears.
#include "pellory/shell/message_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cmath>

#include "gui_helpers.h"
#include "pellory/shell/stored_font.h"
#include "pellory/shell/system_colors.h"
#include "pellory/shell/tapplication.h"

namespace {

using namespace pellory::shell;

const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
const QString kShort = QStringLiteral("Font search is already running.");
const QString kLong = QStringLiteral(
    "The catalogue could not be opened because the table it names is locked by another user "
    "of the database, and every attempt to read it again has failed; close the other program "
    "and start this one again.");

int Round(double v) {
  return int(std::lround(v));
}

struct LayoutCase {
  const char* what;
  QString text;
  QStringList captions;
  int screenWidth;
};

TEST(MessageDialogLayoutRules, FollowsTheRulesInUnitsOfTheFont) {
  const QFont font = MessageDialogFont();
  const QFontMetrics metrics(font);
  const double cx = metrics.horizontalAdvance(kLetters) / 52.0;
  const double cy = TextHeight(font);
  const LayoutCase cases[] = {
      {"one line", kShort, {"OK"}, 1024},
      {"wrapped", kLong, {"OK"}, 640},
      {"line breaks", QStringLiteral("first\nsecond\nthird\nfourth"), {"OK"}, 1024},
      {"empty", QString(), {"OK"}, 1024},
      {"a caption wider than the minimum", kShort, {"Remove every font from the list"}, 1024},
      {"a row wider than the text", QStringLiteral("Go?"), {"OK", "Cancel", "Help", "More"}, 1024},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.what);
    const MessageDialogLayout l = LayOutMessageDialog(font, c.text, c.captions, c.screenWidth);
    EXPECT_DOUBLE_EQ(l.cx, cx);
    EXPECT_DOUBLE_EQ(l.cy, cy);
    EXPECT_EQ(l.horizontalMargin, Round(8 * cx / 4));
    EXPECT_EQ(l.verticalMargin, Round(8 * cy / 8));
    EXPECT_EQ(l.horizontalSpacing, Round(10 * cx / 4));
    EXPECT_EQ(l.verticalSpacing, Round(10 * cy / 8));
    EXPECT_EQ(l.buttonHeight, Round(14 * cy / 8));
    EXPECT_EQ(l.buttonSpacing, Round(4 * cx / 4));
    int widest = 0;
    for (const QString& caption : c.captions)
      widest = std::max(widest, metrics.horizontalAdvance(caption));
    EXPECT_EQ(l.buttonWidth, std::max(Round(50 * cx / 4), widest + 8));

    EXPECT_EQ(l.icon, QRect(l.horizontalMargin, l.verticalMargin, 32, 32));
    EXPECT_EQ(l.text.left(), l.horizontalMargin + 32 + l.horizontalSpacing);
    EXPECT_EQ(l.text.top(), l.verticalMargin);
    EXPECT_GE(l.text.height(), 32);
    EXPECT_LE(l.text.width(), c.screenWidth / 2);
    // The text measured as the dialog draws it: wrapped within the width.
    const QRect drawn = metrics.boundingRect(l.text, Qt::AlignLeft | Qt::TextWordWrap, c.text);
    EXPECT_LE(drawn.width(), l.text.width());
    EXPECT_EQ(std::max(drawn.height(), 32), l.text.height());

    const int n = int(c.captions.size());
    const int row = n * l.buttonWidth + (n - 1) * l.buttonSpacing;
    EXPECT_EQ(l.client.width(),
              std::max(32 + l.horizontalSpacing + l.text.width(), row) + 2 * l.horizontalMargin);
    EXPECT_EQ(l.client.height(),
              l.text.height() + l.buttonHeight + l.verticalSpacing + 2 * l.verticalMargin);
    ASSERT_EQ(int(l.buttons.size()), n);
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(l.buttons[i].size(), QSize(l.buttonWidth, l.buttonHeight));
      EXPECT_EQ(l.buttons[i].top(), l.text.bottom() + 1 + l.verticalSpacing);
      if (i > 0) {
        EXPECT_EQ(l.buttons[i].left(), l.buttons[i - 1].right() + 1 + l.buttonSpacing);
      }
    }
    const int leftGap = l.buttons.front().left();
    const int rightGap = l.client.width() - 1 - l.buttons.back().right();
    EXPECT_LE(std::abs(leftGap - rightGap), 1) << "the row is centred";
  }
}

TEST(MessageDialogLayoutRules, LongTextWrapsAtHalfTheScreenWidth) {
  const QFont font = MessageDialogFont();
  const int lineHeight = QFontMetrics(font).lineSpacing();
  const MessageDialogLayout wide = LayOutMessageDialog(font, kLong, {"OK"}, 4000);
  const MessageDialogLayout narrow = LayOutMessageDialog(font, kLong, {"OK"}, 640);
  EXPECT_EQ(wide.text.height(), 32) << "one line, as tall as the icon";
  EXPECT_EQ(wide.text.width(), QFontMetrics(font).horizontalAdvance(kLong));
  EXPECT_GE(narrow.text.height(), 3 * lineHeight) << "several lines on a narrow screen";
  EXPECT_GT(narrow.text.width(), 320 - 8 * QFontMetrics(font).averageCharWidth())
      << "lines fill the width they may take";
}

class Dialog : public ::testing::Test {
 protected:
  MessageDialog dialog{kShort, MessageKind::Error};
};

TEST_F(Dialog, ErrorCaptionStopIconTextAndOneDefaultOkButton) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Error"));
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal);
  const auto buttons = dialog.findChildren<QPushButton*>();
  ASSERT_EQ(buttons.size(), 1);
  EXPECT_EQ(buttons.front(), dialog.OkButton());
  EXPECT_EQ(dialog.OkButton()->objectName(), QStringLiteral("OK"));
  EXPECT_EQ(dialog.OkButton()->text(), QStringLiteral("OK"));
  EXPECT_TRUE(dialog.OkButton()->isDefault());
  EXPECT_EQ(dialog.OkButton()->geometry(), dialog.Layout().buttons.front());
  EXPECT_EQ(dialog.size(), dialog.Layout().client);
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "a fixed border";
  EXPECT_EQ(dialog.Layout().text.width(),
            QFontMetrics(MessageDialogFont()).horizontalAdvance(kShort));
}

TEST_F(Dialog, PaintsTheStopIconAtTheMarginAndTheTextBesideIt) {
  dialog.show();
  guitest::pump();
  const QImage image = guitest::grabImage(&dialog);
  const QColor face = ColorOf(SystemColor::BtnFace);
  const MessageDialogLayout& l = dialog.Layout();
  // The stock error icon is a red sign.
  int red = 0;
  for (int y = l.icon.top(); y <= l.icon.bottom(); ++y)
    for (int x = l.icon.left(); x <= l.icon.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      red += c.red() > 150 && c.green() < 100 && c.blue() < 100;
    }
  EXPECT_GT(red, 32 * 32 / 4);
  const QRect iconInk =
      guitest::boundsOfNot(image, face, QRect(0, 0, l.text.left(), l.text.top() + 32));
  EXPECT_TRUE(l.icon.contains(iconInk)) << "nothing but the icon left of the text";
  const QRect textInk = guitest::boundsOfNot(image, face, l.text);
  ASSERT_FALSE(textInk.isEmpty());
  EXPECT_LE(textInk.left() - l.text.left(), 2) << "the text starts where the layout puts it";
  EXPECT_LT(textInk.top() - l.text.top(), QFontMetrics(MessageDialogFont()).ascent());
  const QRect between(0, l.text.bottom() + 1, l.client.width(), l.verticalSpacing);
  EXPECT_TRUE(guitest::boundsOfNot(image, face, between).isEmpty()) << "the spacing is empty";
}

TEST_F(Dialog, IsCentredOnTheScreen) {
  dialog.show();
  guitest::pump();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QRect frame = dialog.frameGeometry();
  EXPECT_LE(std::abs(frame.left() - screen.left() - (screen.width() - frame.width()) / 2), 1);
  EXPECT_LE(std::abs(frame.top() - screen.top() - (screen.height() - frame.height()) / 2), 1);
}

struct Ending {
  const char* how;
  std::function<void(MessageDialog*)> act;
  int result;
};

TEST(MessageDialogEnding, EnterEscapeOkAndTheCloseBoxAllEndIt) {
  const Ending endings[] = {
      {"Enter", [](MessageDialog* d) { guitest::key(d, Qt::Key_Return); }, MessageDialog::kOk},
      {"keypad Enter", [](MessageDialog* d) { guitest::key(d, Qt::Key_Enter); },
       MessageDialog::kOk},
      {"Escape", [](MessageDialog* d) { guitest::key(d, Qt::Key_Escape); }, MessageDialog::kOk},
      {"click on OK", [](MessageDialog* d) { guitest::click(d->OkButton()); }, MessageDialog::kOk},
      {"close box", [](MessageDialog* d) { d->close(); }, MessageDialog::kClosed},
  };
  for (const Ending& ending : endings) {
    SCOPED_TRACE(ending.how);
    MessageDialog dialog(kShort, MessageKind::Error);
    bool acted = false;
    QTimer::singleShot(0, &dialog, [&] {
      acted = QApplication::activeModalWidget() == &dialog;
      ending.act(&dialog);
    });
    EXPECT_EQ(dialog.exec(), ending.result);
    EXPECT_TRUE(acted);
    EXPECT_FALSE(dialog.isVisible());
  }
}

TEST(MessageDialogEnding, TheApplicationShowsItThroughItsPresenter) {
  TApplication app;  // Its presenter shows real boxes and dialogs.
  app.SetTitle(QStringLiteral("Pellory Fonts"));
  QString caption, okName;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<MessageDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    caption = dialog->windowTitle();
    okName = dialog->OkButton()->objectName();
    guitest::key(dialog, Qt::Key_Return);
  });
  app.ShowMessageDialog(kShort, MessageKind::Error);
  EXPECT_EQ(caption, QStringLiteral("Error"));
  EXPECT_EQ(okName, QStringLiteral("OK"));
}

}  // namespace
