// Getting items out of the window: the export button writes the shown folder's files named by
// their titles, a drag out of a list carries the item's file, and the backup's completion
// offers to open its folder.
#include <QMimeData>
#include <QUrl>

#include "ui/folder_picker.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

class ExportPicker : public FolderPicker {
 public:
  std::string Pick(QWidget*, const QString& caption, const std::string&) override {
    captions.push_back(caption.toStdString());
    return next;
  }
  std::string next;
  std::vector<std::string> captions;
};

class ExportWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    card_.Folder(MediaKind::Image, 1, "f",
                 {{.name = "STIL0001.JPG", .title = Sjis("晴れ") + "\xF8\x9F", .content = "sun"},
                  {.name = "STIL0002.JPG", .title = "a:b", .content = "colon"}});
    card_.Folder(MediaKind::Image, 2, "g", {{.name = "STIL0001.JPG", .title = "other"}});
    auto picker = std::make_unique<ExportPicker>();
    picker_ = picker.get();
    OpenAndLoad();
    window().SetExportFolderPicker(std::move(picker));
  }
  ExportPicker* picker_ = nullptr;
};

TEST_F(ExportWindowTest, TheExportButtonWritesTheShownFolderByTitles) {
  KindPage& images = page(MediaKind::Image);
  ShowPage(MediaKind::Image);
  // In the column of item buttons beside the list, under the add button.
  EXPECT_GT(images.btExport->geometry().left(), images.sg->geometry().right());
  EXPECT_GT(images.btExport->geometry().top(), images.btAdd->geometry().bottom());
  ASSERT_TRUE(images.btExport->isEnabled());

  // Cancelled: nothing is written.
  images.btExport->click();
  EXPECT_EQ(picker_->captions, std::vector<std::string>{"書き出し先のフォルダ"});
  const fs::path out = temp_.path() / "out";
  EXPECT_FALSE(fs::exists(out));

  picker_->next = Utf8(out);
  images.btExport->click();
  EXPECT_EQ(ReadBytes(out / PathFromUtf8("晴れ☀.JPG")), "sun");
  EXPECT_EQ(ReadBytes(out / "a_b.JPG"), "colon");
  EXPECT_FALSE(fs::exists(out / "other.JPG")) << "only the shown folder";
  EXPECT_EQ(feedback_.Texts().back(),
            "書き出しが完了しました（2 件、8 バイト）\n保存先：" + Utf8(out));
}

TEST_F(ExportWindowTest, ADragOutCarriesTheSelectedItemsFile) {
  ClickRow(MediaKind::Image, 2);
  std::unique_ptr<QMimeData> data(window().ListDragData(MediaKind::Image));
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->urls().size(), 1);
  const std::string path = data->urls()[0].toLocalFile().toStdString();
  EXPECT_EQ(ReadBytes(PathFromUtf8(path)), "colon");
  // Dropped back on the window's list, it is no file to add.
  EXPECT_FALSE(window().DropFilesAt(QPoint(100, 200), {}));
  QDropEvent drop(QPointF(100, 200), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window(), &drop);
  QCoreApplication::processEvents();
  EXPECT_EQ(ModelFolder(MediaKind::Image, 1).visibleCount(), 2);
  // A page without a folder carries nothing.
  EXPECT_EQ(window().ListDragData(MediaKind::Movie), nullptr);
}

TEST_F(ExportWindowTest, TheBackupOffersToOpenItsFolder) {
  card_.File("DCIM/100NEC/NEC_0001.JPG", "camera");
  card_.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP", .title = "m"}});
  fs::create_directories(PathFromUtf8(window().session().places().programDirectory));
  feedback_.answers = {Answer::Yes};
  window().btBackUp->click();
  ASSERT_FALSE(feedback_.shown.empty());
  EXPECT_EQ(feedback_.shown.back().buttons, Buttons::YesNo) << feedback_.shown.back().text;
  ASSERT_EQ(opened_.size(), 1U);
  EXPECT_TRUE(fs::is_directory(PathFromUtf8(opened_[0]) / "PRIVATE")) << opened_[0];
  EXPECT_NE(feedback_.shown.back().text.find(opened_[0]), std::string::npos);
}

}  // namespace
}  // namespace sdmate::test
