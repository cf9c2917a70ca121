// Files added with the add buttons' dialog and dropped on the window: where they go, what is
// said, and what the update then writes to the card.
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMimeData>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <QUrl>

#include "ui/open_files_dialog.h"
#include "ui/preview.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

constexpr char kImageTypeMessage[] =
    "下記のファイルは非対応の待受け画像形式です。\n読込をスキップします。\n";
constexpr char kMovieTypeMessage[] =
    "下記のファイルは非対応のムービー形式です。\n読込をスキップします。\n";

class AddDropTest : public WindowTest {
 protected:
  AddDropTest() : pc_(temp_.path() / "pc") { fs::create_directories(pc_); }

  // Image folder 1 holds STIL0001.JPG and STIL0003.JPG; one movie, one document.
  void WriteCard() {
    card_.Folder(
        MediaKind::Image, 1, "wall",
        {{.name = "STIL0001.JPG", .title = "one"}, {.name = "STIL0003.JPG", .title = "three"}});
    card_.Folder(MediaKind::Movie, 1, "clips", {{.name = "MOL001.3GP", .title = "clip"}});
    card_.Folder(MediaKind::Document, 1, "docs", {{.name = "PDFDC001.PDF", .title = "doc"}});
  }

  // A file of the computer with its bytes; returns its native path.
  std::string PcFile(const std::string& name, const std::string& bytes) {
    WriteBytes(pc_ / name, bytes);
    return test::Utf8(pc_ / name);
  }
  std::vector<std::string> ThreeDropped() {
    return {PcFile("photo.JPG", PictureBytes("JPG", 40, 30)), PcFile("notes.txt", "notes"),
            PcFile("logo.gif", PictureBytes("GIF", 16, 16))};
  }

  ScriptedOpenFiles& InjectDialog() {
    auto dialog = std::make_unique<ScriptedOpenFiles>();
    ScriptedOpenFiles& scripted = *dialog;
    window().SetOpenFilesDialog(std::move(dialog));
    return scripted;
  }

  void ShowWindow(MediaKind tab) {
    window().pcMain->setCurrentWidget(&page(tab));
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
  }

  // The centre of a control in the window's coordinates.
  QPoint CentreOf(QWidget* widget) { return widget->mapTo(&window(), widget->rect().center()); }

  // A drop as the desktop delivers it: the drag enters the control and the files land there.
  void DropOn(QWidget* target, const std::vector<std::string>& paths) {
    QList<QUrl> urls;
    for (const std::string& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    // The batch runs once the drag is over.
    QCoreApplication::processEvents();
  }

  std::vector<std::string> TargetNames(MediaKind kind, int n) {
    std::vector<std::string> names;
    const FolderSlot& folder = ModelFolder(kind, n);
    for (int i = 0; i < folder.itemCount(); ++i) {
      names.push_back(folder.items[static_cast<std::size_t>(i)].targetName);
    }
    return names;
  }

  fs::path pc_;
};

TEST_F(AddDropTest, TwoChosenFilesTakeTheFreeNumbersAndShowInTheList) {
  WriteCard();
  OpenAndLoad();
  ScriptedOpenFiles& dialog = InjectDialog();
  const std::string first = PictureBytes("JPG", 40, 30);
  const std::string second = PictureBytes("GIF", 16, 16);
  dialog.next = {PcFile("beach.jpg", first), PcFile("Logo.Gif", second)};
  const std::int64_t freeBefore = window().session().model().gauge.freeBytes();
  const QString freeTextBefore = window().stFree->text();

  page(MediaKind::Image).btAdd->click();

  EXPECT_EQ(dialog.filters, (std::vector<std::string>{"待ち受け画像データ|*.JPG;*.GIF;"}));
  EXPECT_TRUE(feedback_.shown.empty()) << testing::PrintToString(feedback_.Texts());
  EXPECT_GT(feedback_.busyCount, 0);
  EXPECT_EQ(feedback_.busyDepth, 0);
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.JPG", "STIL0003.JPG",
                                                               "STIL0002.JPG", "STIL0004.GIF"}));
  EXPECT_EQ(Column(MediaKind::Image, 3)[2], "beach.jpg");
  EXPECT_EQ(Column(MediaKind::Image, 3)[3], "Logo.Gif");
  EXPECT_EQ(Column(MediaKind::Image, 2)[3], std::to_string(second.size()));
  EXPECT_EQ(window().session().model().gauge.freeBytes(),
            freeBefore - static_cast<std::int64_t>(first.size() + second.size()));
  EXPECT_NE(window().stFree->text(), freeTextBefore);
  EXPECT_TRUE(window().btRefreshData->isEnabled());
  // The selection stays where it was.
  EXPECT_EQ(page(MediaKind::Image).SelectedRow(), 1);

  // Each kind hands the dialog its own filter; cancelling changes nothing.
  dialog.next.clear();
  page(MediaKind::Movie).btAdd->click();
  page(MediaKind::Document).btAdd->click();
  EXPECT_EQ(dialog.filters[1], "ムービーデータ|*.3GP;*.SDV;*.MP4;*.ASF;*.M4A;");
  EXPECT_EQ(dialog.filters[2], "ドキュメントデータ|*.PDF;");
  EXPECT_EQ(Names(MediaKind::Movie), (std::vector<std::string>{"MOL001.3GP"}));
}

TEST_F(AddDropTest, AMissingDataDirectoryIsOfferedBeforeTheDialogOpens) {
  card_.Folder(MediaKind::Movie, 1, "clips", {{.name = "MOL001.3GP", .title = "clip"}});
  OpenAndLoad();
  ScriptedOpenFiles& dialog = InjectDialog();
  const fs::path stillDirectory = card_.Native("\\PRIVATE\\DOCOMO\\STILL\\");
  ASSERT_FALSE(fs::exists(stillDirectory));

  feedback_.answers = {Answer::Cancel};
  page(MediaKind::Image).btAdd->click();
  EXPECT_TRUE(dialog.filters.empty());
  EXPECT_FALSE(fs::exists(stillDirectory));

  feedback_.answers.push_back(Answer::Yes);
  dialog.next = {PcFile("beach.jpg", PictureBytes("JPG", 40, 30))};
  page(MediaKind::Image).btAdd->click();
  EXPECT_EQ(dialog.filters.size(), 1U);
  EXPECT_TRUE(fs::is_directory(stillDirectory));
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.JPG"}));
  ASSERT_EQ(feedback_.shown.size(), 2U);
  EXPECT_EQ(feedback_.shown[0].text, "待ち受け画像用フォルダがありません．\n作成しますか？");
}

TEST_F(AddDropTest, DropOnTheImageListStagesThePicturesAndNamesTheOtherFile) {
  WriteCard();
  OpenAndLoad();
  ShowWindow(MediaKind::Image);
  const std::vector<std::string> dropped = ThreeDropped();

  EXPECT_TRUE(window().DropFilesAt(CentreOf(page(MediaKind::Image).sg->viewport()), dropped));

  EXPECT_EQ(feedback_.Texts(), (std::vector<std::string>{kImageTypeMessage + dropped[1]}));
  EXPECT_EQ(feedback_.shown[0].kind, MessageKind::Warning);
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.JPG", "STIL0003.JPG",
                                                               "STIL0002.JPG", "STIL0004.GIF"}));
  EXPECT_EQ(Column(MediaKind::Image, 3)[2], "photo.JPG");
  EXPECT_EQ(Column(MediaKind::Image, 3)[3], "logo.gif");
  EXPECT_TRUE(window().btRefreshData->isEnabled());
}

TEST_F(AddDropTest, PicturesDroppedOnTheMovieListAreCheckedAgainstTheMovieTypes) {
  WriteCard();
  OpenAndLoad();
  ShowWindow(MediaKind::Movie);
  const std::vector<std::string> dropped = ThreeDropped();

  DropOn(page(MediaKind::Movie).sg->viewport(), {dropped[0], dropped[2]});

  EXPECT_EQ(feedback_.Texts(), (std::vector<std::string>{kMovieTypeMessage + dropped[0],
                                                         kMovieTypeMessage + dropped[2]}));
  EXPECT_EQ(TargetNames(MediaKind::Movie, 1), (std::vector<std::string>{"MOL001.3GP"}));
  EXPECT_EQ(TargetNames(MediaKind::Image, 1),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0003.JPG"}));
  // The drop ran to its end: the update is due although nothing was staged.
  EXPECT_TRUE(window().btRefreshData->isEnabled());
}

TEST_F(AddDropTest, TheListsHeadingScrollBarAndViewportTakeDrops) {
  WriteCard();
  OpenAndLoad();
  ShowWindow(MediaKind::Image);
  QTableWidget* grid = page(MediaKind::Image).sg;
  const std::string photo = PcFile("photo.JPG", PictureBytes("JPG", 40, 30));
  for (QWidget* part : {static_cast<QWidget*>(grid->horizontalHeader()),
                        static_cast<QWidget*>(grid->verticalScrollBar()), grid->viewport()}) {
    EXPECT_EQ(window().ListAt(CentreOf(part)), MediaKind::Image) << part->metaObject()->className();
  }
  DropOn(grid->horizontalHeader(), {photo});
  DropOn(grid->verticalScrollBar(), {photo});
  EXPECT_EQ(
      TargetNames(MediaKind::Image, 1),
      (std::vector<std::string>{"STIL0001.JPG", "STIL0003.JPG", "STIL0002.JPG", "STIL0004.JPG"}));
  EXPECT_TRUE(feedback_.shown.empty());
}

TEST_F(AddDropTest, DropsBesideTheListsStageNothingAndShowNothing) {
  WriteCard();
  OpenAndLoad();
  ShowWindow(MediaKind::Image);
  KindPage& images = page(MediaKind::Image);
  const std::vector<std::string> photo = {PcFile("photo.JPG", PictureBytes("JPG", 40, 30))};
  const std::vector<QWidget*> elsewhere = {
      images.btAdd,           window().DispPrev,    window().StaticText1,      images.sbFolder,
      images.edTitle,         images.edFolderTitle, window().pcMain->tabBar(), window().Panel5,
      window().btRefreshData, images.iconPanel};
  for (QWidget* target : elsewhere) {
    const std::string name = target->objectName().toStdString();
    EXPECT_FALSE(window().ListAt(CentreOf(target)).has_value()) << name;
    EXPECT_FALSE(window().DropFilesAt(CentreOf(target), photo)) << name;
    DropOn(target, photo);
  }
  EXPECT_TRUE(feedback_.shown.empty()) << testing::PrintToString(feedback_.Texts());
  EXPECT_EQ(TargetNames(MediaKind::Image, 1),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0003.JPG"}));
  EXPECT_FALSE(window().btRefreshData->isEnabled());
  // The fields do not take the dropped name as text.
  EXPECT_EQ(images.edTitle->text(), "one");
  EXPECT_EQ(images.edFolderTitle->text(), "wall");
}

TEST_F(AddDropTest, ADropBeforeTheFirstLoadStagesNothing) {
  WriteCard();
  Open();
  ShowWindow(MediaKind::Image);
  const std::vector<std::string> dropped = ThreeDropped();
  EXPECT_FALSE(window().DropFilesAt(CentreOf(page(MediaKind::Image).sg->viewport()), dropped));
  DropOn(page(MediaKind::Image).sg->viewport(), dropped);
  EXPECT_TRUE(feedback_.shown.empty());
  EXPECT_FALSE(window().session().model().loaded);
  EXPECT_FALSE(window().btRefreshData->isEnabled());
  EXPECT_EQ(Names(MediaKind::Image)[0], "");
}

TEST_F(AddDropTest, TheUpdateAfterADropCopiesTheFilesToTheCard) {
  WriteCard();
  OpenAndLoad();
  ShowWindow(MediaKind::Image);
  const std::string photo = PictureBytes("JPG", 40, 30);
  const std::string logo = PictureBytes("GIF", 16, 16);
  DropOn(page(MediaKind::Image).sg->viewport(),
         {PcFile("photo.JPG", photo), PcFile("notes.txt", "notes"), PcFile("logo.gif", logo)});
  ASSERT_TRUE(window().btRefreshData->isEnabled());

  window().btRefreshData->click();

  EXPECT_EQ(ReadBytes(card_.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.JPG")), photo);
  EXPECT_EQ(ReadBytes(card_.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0004.GIF")), logo);
  EXPECT_FALSE(fs::exists(card_.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\notes.txt")));
  // The computer's files stay where they were.
  EXPECT_EQ(ReadBytes(pc_ / "photo.JPG"), photo);
  // The reload lists what the card now holds, in table order.
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.JPG", "STIL0003.JPG",
                                                               "STIL0002.JPG", "STIL0004.GIF"}));
  EXPECT_EQ(Column(MediaKind::Image, 3)[2], "photo.JPG");
  EXPECT_FALSE(window().btRefreshData->isEnabled());
}

// Staged files are never dropped without a word: キャンセル stays, いいえ drops them, はい
// updates the card first.
TEST_F(AddDropTest, TheEndButtonAsksAboutStagedFiles) {
  WriteCard();
  OpenAndLoad();
  ShowWindow(MediaKind::Image);
  const auto before = SnapshotTree(card_.root());
  DropOn(page(MediaKind::Image).sg->viewport(), {PcFile("photo.JPG", PictureBytes("JPG", 40, 30))});
  ASSERT_TRUE(window().btRefreshData->isEnabled());

  feedback_.answers = {Answer::Cancel, Answer::No};
  window().btEnd->click();
  EXPECT_TRUE(window().isVisible());
  ASSERT_EQ(feedback_.shown.size(), 1u);
  EXPECT_EQ(feedback_.shown[0].kind, MessageKind::Confirmation);
  EXPECT_EQ(feedback_.shown[0].buttons, Buttons::YesNoCancel);
  EXPECT_TRUE(feedback_.shown[0].text.starts_with("保存していない変更があります"));

  window().btEnd->click();
  EXPECT_FALSE(window().isVisible());
  EXPECT_EQ(SnapshotTree(card_.root()), before);
}

TEST_F(AddDropTest, ClosingWithYesUpdatesTheCardFirst) {
  WriteCard();
  OpenAndLoad();
  ShowWindow(MediaKind::Image);
  DropOn(page(MediaKind::Image).sg->viewport(), {PcFile("photo.JPG", PictureBytes("JPG", 40, 30))});
  feedback_.answers = {Answer::Yes, Answer::Yes};  // close: update; the update's question
  window().close();
  EXPECT_FALSE(window().isVisible());
  EXPECT_TRUE(fs::exists(card_.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.JPG")));
}

// ---- The Qt dialog itself

TEST(QtNameFilterTest, TurnsTheKindsFiltersIntoQtsForm) {
  EXPECT_EQ(QtNameFilter(DialogFilter(MediaKind::Image)), "待ち受け画像データ (*.JPG *.GIF)");
  EXPECT_EQ(QtNameFilter(DialogFilter(MediaKind::Movie)),
            "ムービーデータ (*.3GP *.SDV *.MP4 *.ASF *.M4A)");
  EXPECT_EQ(QtNameFilter(DialogFilter(MediaKind::Document)), "ドキュメントデータ (*.PDF)");
}

// The names the dialog offers in `folder`. Names the filter turns away stay in the model,
// greyed out, on some platforms.
QStringList OfferedNames(const QFileSystemModel& model, const fs::path& folder) {
  const QModelIndex root = model.index(QString::fromStdString(test::Utf8(folder)));
  QStringList names;
  for (int row = 0; row < model.rowCount(root); ++row) {
    const QModelIndex index = model.index(row, 0, root);
    if (model.flags(index) & Qt::ItemIsEnabled) names << model.fileName(index);
  }
  names.sort();
  return names;
}

// Turns the dialog into Qt's own, as on desktops without a native one, in `folder`, and waits
// until it offers `entries` names there.
const QFileSystemModel& ShowQtsOwnDialog(QFileDialog& dialog, const fs::path& folder, int entries) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setDirectory(QString::fromStdString(test::Utf8(folder)));
  auto* model = dialog.findChild<QFileSystemModel*>();
  EXPECT_NE(model, nullptr);
  for (int wait = 0; wait < 3000 && OfferedNames(*model, folder).size() < entries; wait += 10)
    QTest::qWait(10);
  return *model;
}

TEST(QtOpenFilesDialogTest, OneDialogForTheKindsMatchingExtensionsWhateverTheirCase) {
  TempDir folder;
  for (const char* name : {"a.jpg", "B.Jpg", "c.GIF", "d.txt", "e.jpeg"}) {
    WriteBytes(folder.path() / name, "x");
  }
  QWidget owner;
  QtOpenFilesDialog openFiles;
  QFileDialog* dialog = openFiles.Prepare(&owner, DialogFilter(MediaKind::Movie));
  EXPECT_EQ(openFiles.Prepare(&owner, DialogFilter(MediaKind::Image)), dialog);
  EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
  EXPECT_TRUE(dialog->testOption(QFileDialog::ReadOnly));
  EXPECT_TRUE(dialog->isSizeGripEnabled());
  EXPECT_EQ(dialog->nameFilters(), QStringList{"待ち受け画像データ (*.JPG *.GIF)"});

  const QFileSystemModel& model = ShowQtsOwnDialog(*dialog, folder.path(), 3);
  EXPECT_EQ(OfferedNames(model, folder.path()), (QStringList{"B.Jpg", "a.jpg", "c.GIF"}));
}

// The dialog opens among the user's files of the kind, never in the program's working folder.
TEST(QtOpenFilesDialogTest, EachKindOpensAmongTheUsersFilesOfTheKind) {
  TempDir home;
  for (const char* folder : {"Pictures", "Videos", "Documents"})
    fs::create_directory(home.path() / folder);
  const QByteArray oldHome = qgetenv("HOME");
  const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", QByteArray::fromStdString(Utf8(home.path())));
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(Utf8(home.path() / "config")));
  WriteBytes(home.path() / "config" / "user-dirs.dirs",
             "XDG_PICTURES_DIR=\"$HOME/Pictures\"\nXDG_VIDEOS_DIR=\"$HOME/Videos\"\n"
             "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n");
  QWidget owner;
  QtOpenFilesDialog openFiles;
  const auto opensIn = [&](MediaKind kind) {
    return fs::path(openFiles.Prepare(&owner, DialogFilter(kind), kind)
                        ->directory()
                        .absolutePath()
                        .toStdString());
  };
  EXPECT_EQ(opensIn(MediaKind::Image), home.path() / "Pictures");
  EXPECT_EQ(opensIn(MediaKind::Movie), home.path() / "Videos");
  EXPECT_EQ(opensIn(MediaKind::Document), home.path() / "Documents");
  qputenv("HOME", oldHome);
  if (oldConfig.isNull()) {
    qunsetenv("XDG_CONFIG_HOME");
  } else {
    qputenv("XDG_CONFIG_HOME", oldConfig);
  }
}

// Qt's texts in the dialog: the column headers and the type of a folder, which Qt 6 asks
// under a context its Japanese translation does not use; and the details view wide enough
// that the size, type and date of a picture are not cut short.
TEST(QtOpenFilesDialogTest, TheDetailsAreInJapaneseAndShownWhole) {
  const QtTranslationsInstalled translations;
  ASSERT_TRUE(translations.loaded()) << "qtbase_ja.qm not found (Debian qt6-translations-l10n)";
  TempDir folder;
  fs::create_directory(folder.path() / "sub");
  WriteBytes(folder.path() / "photo.jpg", PictureBytes("JPG", 8, 8));
  QWidget owner;
  QtOpenFilesDialog openFiles;
  QFileDialog* dialog = openFiles.Prepare(&owner, DialogFilter(MediaKind::Image));
  const QFileSystemModel& model = ShowQtsOwnDialog(*dialog, folder.path(), 2);
  QStringList headers;
  for (int column = 0; column < 4; ++column)
    headers << model.headerData(column, Qt::Horizontal).toString();
  EXPECT_EQ(headers, (QStringList{"名前", "サイズ", "タイプ", "更新日"}));
  const auto index = [&](const char* name, int column) {
    return model.index(QString::fromStdString(test::Utf8(folder.path() / name)), column);
  };
  EXPECT_EQ(model.type(index("sub", 0)), "フォルダ");

  auto* details = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
  ASSERT_NE(details, nullptr);
  for (int column = 1; column <= 3; ++column) {
    const QString shown = model.data(index("photo.jpg", column)).toString();
    EXPECT_GE(details->header()->sectionSize(column),
              details->fontMetrics().horizontalAdvance(shown))
        << shown.toStdString();
  }
}

}  // namespace
}  // namespace sdmate::test
