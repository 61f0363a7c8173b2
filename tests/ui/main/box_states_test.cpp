// The picture and description boxes in the states beside the ordinary
// record: the window inactive, the cursor closed, a description that
// cannot be read.
#include <QApplication>
#include <filesystem>

#include "catalogue_window.h"
#include "gui_helpers.h"
#include "pellory/data/table.h"
#include "pellory/shell/system_colors.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tdbmemo.h"
#include "pellory/ui/main/tform2.h"

namespace cataloguetest {
namespace {

using pellory::shell::ColorOf;
using pellory::shell::SystemColor;

class BoxStates : public CatalogueWindow {
 protected:
  // Whether the one-pixel focus frame runs along the picture box's client
  // edge (the box shows an empty picture, so the edge is otherwise blank).
  bool FrameDrawn() const {
    pellory::ui::TDBImage* image = form->DBImage1();
    const QImage shot = guitest::grabImage(image);
    const QRect client = image->ClientArea();
    const QColor frame = ColorOf(SystemColor::WindowFrame);
    return shot.pixelColor(client.left(), client.center().y()) == frame &&
           shot.pixelColor(client.center().x(), client.bottom()) == frame;
  }
};

TEST_F(BoxStates, TheFocusFrameStaysWhileTheWindowIsInactive) {
  Open(Numbered(1));
  ASSERT_NE(ColorOf(SystemColor::WindowFrame), ColorOf(SystemColor::Window));
  form->activateWindow();
  ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == form; }));
  EXPECT_FALSE(FrameDrawn());
  form->DBImage1()->setFocus();
  ASSERT_TRUE(guitest::pumpUntil([&] { return form->DBImage1()->hasFocus(); }));
  EXPECT_TRUE(FrameDrawn());

  // Another window becomes active; the box is still this window's active
  // control and keeps its frame.
  QWidget other;
  other.setGeometry(0, 0, 100, 100);
  other.show();
  other.activateWindow();
  ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == &other; }));
  EXPECT_EQ(form->focusWidget(), form->DBImage1());
  EXPECT_TRUE(FrameDrawn());

  // Back in the window, the focus moves on and the frame goes.
  form->activateWindow();
  ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == form; }));
  form->DBMemo1()->setFocus();
  ASSERT_TRUE(guitest::pumpUntil([&] { return form->DBMemo1()->hasFocus(); }));
  EXPECT_FALSE(FrameDrawn());
}

TEST_F(BoxStates, AfterTheCursorClosesThePictureBoxIsEmpty) {
  std::vector<Font> fonts = Numbered(2);
  fonts[0].picture = BmpFile(30, 20, [](int, int) { return qRgb(200, 0, 0); });
  Open(fonts);
  pellory::ui::TDBImage* image = form->DBImage1();
  ASSERT_FALSE(image->Picture().isNull());
  form->Table1().Close();
  guitest::pump();
  EXPECT_TRUE(image->PictureLoaded());
  EXPECT_TRUE(image->Picture().isNull());
  // Neither the old picture nor "(DBImage1)": the background alone.
  const QImage shot = guitest::grabImage(image);
  EXPECT_TRUE(
      guitest::boundsOfNot(shot, ColorOf(SystemColor::Window), image->ClientArea()).isEmpty());
  // Enter finds the picture loaded and reads nothing.
  image->setFocus();
  guitest::key(image, Qt::Key_Return);
  EXPECT_TRUE(image->PictureLoaded());
  EXPECT_TRUE(boxes->empty());
}

// A catalogue whose blob file has lost every blob: reading the first
// description fails, so the description box stays not loaded.
class UnreadableDescription : public BoxStates {
 protected:
  void SetUp() override {
    BoxStates::SetUp();
    std::vector<Font> fonts = Numbered(2);
    for (Font& font : fonts) font.description.assign(2000, 'd');
    catalogue_ = std::make_unique<TestCatalogue>(fonts);
    const auto blobs = catalogue_->Directory() / "pelloryfont.MB";
    ASSERT_TRUE(std::filesystem::exists(blobs));
    std::filesystem::resize_file(blobs, 4096);  // the header block alone
    form = app->CreateForm<pellory::ui::TForm2>();
    form->show();
    guitest::pump();
  }
};

TEST_F(UnreadableDescription, KeysDoNothingButEnterWhichTriesAgain) {
  ASSERT_EQ(boxes->size(), 1u) << "the first description cannot be read";
  pellory::ui::TDBMemo* memo = form->DBMemo1();
  EXPECT_FALSE(memo->MemoLoaded());
  const QString shown = memo->toPlainText();
  memo->setFocus();
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_A, Qt::Key_Space, Qt::Key_Backspace})
    guitest::key(memo, key);
  EXPECT_EQ(boxes->size(), 1u) << "no key but Enter reads the description again";
  EXPECT_EQ(memo->toPlainText(), shown);
  guitest::key(memo, Qt::Key_Return);
  ASSERT_EQ(boxes->size(), 2u);
  EXPECT_EQ(boxes->back().text, boxes->front().text);
  EXPECT_FALSE(memo->MemoLoaded());
}

}  // namespace
}  // namespace cataloguetest
