// What a screen reader reads of the record view: the picture described by
// the record's font, the boxes named and labelled by their captions, the
// navigator's shown buttons named by their hints. (What it hears as the
// record moves goes through a real accessibility bus: tests/programs.)
#include "record_view_accessible.h"

#include <QAccessible>
#include <QLabel>

#include "catalogue_window.h"
#include "gui_helpers.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tdbmemo.h"
#include "pellory/ui/main/tdbnavigator.h"

namespace cataloguetest {
namespace {

using pellory::ui::TNavigateBtn;

class RecordViewAccessible : public CatalogueWindow {
 protected:
  void SetUp() override {
    CatalogueWindow::SetUp();
    std::vector<Font> fonts = Numbered(3);
    fonts[0].picture = BmpFile(8, 4, [](int, int) { return 0xFF00FF; });
    Open(fonts);
  }
};

TEST_F(RecordViewAccessible, ThePictureIsDescribedAsTheSampleOfTheRecordsFont) {
  QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(form->DBImage1());
  EXPECT_EQ(picture->text(QAccessible::Description), QStringLiteral("Sample of Font 1"));
  auto* image =
      static_cast<QAccessibleImageInterface*>(picture->interface_cast(QAccessible::ImageInterface));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->imageSize(), QSize(8, 4));
  guitest::click(form->DBNavigator1()->Button(TNavigateBtn::nbNext));
  guitest::pump();
  EXPECT_EQ(form->DBEdit1()->text(), QStringLiteral("Font 2"));
  EXPECT_EQ(picture->text(QAccessible::Description), QStringLiteral("no picture"));
  EXPECT_EQ(image->imageDescription(), QStringLiteral("no picture"));
}

TEST_F(RecordViewAccessible, EachBoxIsNamedAndLabelledByItsCaption) {
  struct Case {
    QWidget* box;
    int label;
    QAccessible::Role role;
  };
  const Case cases[] = {{form->DBEdit1(), 1, QAccessible::EditableText},
                        {form->DBEdit2(), 6, QAccessible::EditableText},
                        {form->DBImage1(), 3, QAccessible::Graphic},
                        {form->DBMemo1(), 2, QAccessible::EditableText}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box->objectName().toStdString());
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(c.box);
    EXPECT_EQ(box->role(), c.role);
    EXPECT_EQ(box->text(QAccessible::Name), form->Label(c.label)->text());
    const auto labels = box->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->object(), form->Label(c.label));
  }
}

TEST_F(RecordViewAccessible, OnlyTheShownNavigatorButtonsAreThereNamedByTheirHints) {
  QAccessibleInterface* navigator = QAccessible::queryAccessibleInterface(form->DBNavigator1());
  EXPECT_EQ(navigator->role(), QAccessible::ToolBar);
  const QStringList hints = {"First font", "Previous font", "Next font", "Last font"};
  ASSERT_EQ(navigator->childCount(), hints.size());
  for (int i = 0; i < hints.size(); ++i) {
    QAccessibleInterface* button = navigator->child(i);
    EXPECT_EQ(button->text(QAccessible::Name), hints[i]);
    EXPECT_EQ(navigator->indexOfChild(button), i);
    EXPECT_EQ(button->state().disabled, i < 2);
  }
}

TEST_F(RecordViewAccessible, ABoxWithoutACaptionIsNamedByItsField) {
  delete form->Label(6);  // "File name:"
  pellory::ui::CaptionRecordView(*form);
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(form->DBEdit2());
  EXPECT_EQ(box->text(QAccessible::Name), QStringLiteral("Filename"));
  EXPECT_TRUE(box->relations(QAccessible::Label).isEmpty());
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->DBEdit1())->text(QAccessible::Name),
            QStringLiteral("Font name:"));
}

}  // namespace
}  // namespace cataloguetest
