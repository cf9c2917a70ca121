// The main window: its construction, the drives, the status and gauge, load, update and
// backup, help, the about box and the banner.
#include "ui/unmain.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

#include "ui/artwork.h"
#include "ui/camera_page.h"
#include "ui/drive_chooser.h"
#include "ui/folder_picker.h"
#include "ui/open_files_dialog.h"
#include "ui/side_panel.h"
#include "ui/unabout.h"
#include "ui/web_addresses.h"
#include "ui/window_fonts.h"

namespace sdmate {
namespace {

constexpr char kUnsavedOnClose[] =
    "保存していない変更があります．\nメモリカードを更新してから終了しますか？\n"
    "(いいえ: 変更を捨てて終了します)";
constexpr char kUpdateQuestionHeading[] = "メモリカードを次のとおり更新します．\n\n";
constexpr char kUpdateQuestionEnd[] = "\nよろしいですか？";

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsWebAddress(const std::string& text) {
  return text.starts_with("https://") || text.starts_with("http://");
}

bool OpenWithDesktop(const std::string& pathOrAddress) {
  const QString text = QString::fromStdString(pathOrAddress);
  return QDesktopServices::openUrl(IsWebAddress(pathOrAddress) ? QUrl(text)
                                                               : QUrl::fromLocalFile(text));
}

constexpr char kNotOpened[] =
    "開くことができませんでした．このファイルを開くプログラムがないか、起動できません．\n";

}  // namespace

TfrMain::TfrMain(const SessionServices& services, QWidget* parent)
    : QMainWindow(parent),
      feedback_(services.feedback),
      session_(services),
      // A file or page no program opens is said so, not passed over in silence.
      opener_([this](const std::string& pathOrAddress) {
        if (!OpenWithDesktop(pathOrAddress)) {
          feedback_.Tell(MessageKind::Warning, kNotOpened + pathOrAddress);
        }
      }),
      openFiles_(std::make_unique<QtOpenFilesDialog>()),
      historyChooser_(std::make_unique<QtHistoryChooser>()),
      checkDialog_(std::make_unique<QtCheckDialog>()),
      backupPicker_(std::make_unique<QtFolderPicker>()),
      exportPicker_(std::make_unique<QtFolderPicker>()),
      exportDialog_(std::make_unique<QtExportDialog>()) {
  setObjectName(QStringLiteral("frMain"));
  setWindowTitle(QStringLiteral("Sdmate"));
  setFont(WindowFont());
  setWindowIcon(ProgramIcon());
  // Files dropped anywhere on the window come here; the list under the drop point decides.
  setAcceptDrops(true);

  // The controls sit in a scrolled area: on a screen smaller than their arrangement (a large
  // scale factor) every one of them can still be reached.
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("clientScroll"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  auto* client = new QWidget(scroll);
  client->setObjectName(QStringLiteral("client"));
  scroll->setWidget(client);
  setCentralWidget(scroll);

  StatusBar = new QStatusBar(this);
  StatusBar->setObjectName(QStringLiteral("StatusBar"));
  StatusBar->setSizeGripEnabled(false);
  statusPanel_ = new QLabel(StatusBar);
  statusPanel_->setObjectName(QStringLiteral("StatusPanel"));
  StatusBar->addWidget(statusPanel_, 1);
  setStatusBar(StatusBar);

  pcMain = new QTabWidget(client);
  pcMain->setObjectName(QStringLiteral("pcMain"));

  for (MediaKind kind : kAllKinds) {
    auto* page = new KindPage(
        kind, [this](std::string_view utf8) { return session_.FromUtf8(utf8).size(); },
        [this](std::string_view sjis) { return QString::fromStdString(session_.ToUtf8(sjis)); },
        pcMain);
    pages_[IndexOf(kind)] = page;
    pcMain->addTab(page, QString::fromUtf8(TraitsOf(kind).tabText));
    ConnectPage(*page);
  }
  AddCameraPage();
  connect(pcMain, &QTabWidget::currentChanged, this, &TfrMain::ShowFrontPreview);
  // A character the handset cannot show (an emoji that is none of its pictographs) is refused
  // as it is typed or pasted, and named in the status bar; it never becomes "?" on the card.
  for (KindPage* shown : pages_) {
    for (QLineEdit* field : {shown->edTitle, shown->edFolderTitle}) {
      auto* limit = qobject_cast<ByteLimitValidator*>(const_cast<QValidator*>(field->validator()));
      if (limit == nullptr) continue;
      limit->SetLackingCheck([this](const QString& text) { return LackingCharacter(text); });
      connect(field, &QLineEdit::inputRejected, this, [this, limit] {
        if (!limit->refused().isEmpty()) {
          ShowStatus(
              (QStringLiteral("携帯電話で表示できない文字は入力できません：") + limit->refused())
                  .toStdString());
        }
      });
    }
  }

  BuildRightColumn(client);
  auto* columns = new QHBoxLayout(client);
  columns->setContentsMargins(4, 4, 4, 4);
  columns->setSpacing(6);
  columns->addWidget(pcMain, 1);
  columns->addWidget(sidePanel_);
  CreateActions();
  // The Parts' arrangement is the window's first size and its smallest.
  client->layout()->activate();
  const QSize arrangement = client->minimumSizeHint() + QSize(0, StatusBar->sizeHint().height());
  setMinimumSize(arrangement);
  resize(arrangement);
  driveChooser->Fill(session_.ListDrives(), 0);
  for (const DriveInfo& drive : session_.ListDrives()) knownDrives_.insert(drive.letter);
  auto* poll = new QTimer(this);
  poll->setObjectName(QStringLiteral("tmDrives"));
  connect(poll, &QTimer::timeout, this, &TfrMain::PollDrives);
  poll->start(1000);
}

TfrMain::~TfrMain() = default;

void TfrMain::BuildRightColumn(QWidget* client) {
  auto* side = new SidePanel(client);
  sidePanel_ = side;
  static_cast<SidePanelControls&>(*this) = *side;
  curDrive = driveChooser->curDrive;

  connect(side, &SidePanel::ProductClicked, this, &TfrMain::Panel5Click);
  connect(btLoadMem, &QPushButton::clicked, this, &TfrMain::btLoadMemClick);
  connect(btRefreshData, &QPushButton::clicked, this, &TfrMain::btRefreshDataClick);
  connect(btBackUp, &QPushButton::clicked, this, &TfrMain::btBackUpClick);
  connect(btUndo, &QPushButton::clicked, this, &TfrMain::btUndoClick);
  connect(btHistory, &QPushButton::clicked, this, &TfrMain::btHistoryClick);
  connect(btRestore, &QPushButton::clicked, this, &TfrMain::btRestoreClick);
  connect(btCheck, &QPushButton::clicked, this, &TfrMain::btCheckClick);
  connect(btEject, &QPushButton::clicked, this, &TfrMain::btEjectClick);
  connect(btHelp, &QPushButton::clicked, this, &TfrMain::btHelpClick);
  connect(btEnd, &QPushButton::clicked, this, &QWidget::close);
  connect(side, &SidePanel::BannerClicked, this, &TfrMain::Image3Click);
  connect(curDrive, &QComboBox::currentIndexChanged, this, &TfrMain::ShowChosenDrive);
  driveChooser->SetFolderMapper(
      [this](const std::string& folder) { return MapCardFolder(folder, false); });
  ShowDiskSpace();
}

void TfrMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  session_.SetBackupAdvice(true);
  // A screen smaller than the arrangement (a large scale factor): the window fills it, and
  // the controls scroll.
  if (const QScreen* shownOn = screen()) {
    const QSize room = shownOn->availableGeometry().size();
    const QSize least = minimumSize();
    if (least.width() > room.width() || least.height() > room.height()) {
      setMinimumSize(least.boundedTo(room));
      // Without a window manager to maximize it, the window takes the screen's room itself.
      setGeometry(QRect(shownOn->availableGeometry().topLeft(), least.boundedTo(room)));
      setWindowState(windowState() | Qt::WindowMaximized);
    }
  }
}

void TfrMain::closeEvent(QCloseEvent* event) {
  if (session_.updateDue() && session_.cardPresent() && session_.model().loaded) {
    switch (feedback_.Ask(MessageKind::Confirmation, kUnsavedOnClose, Buttons::YesNoCancel)) {
      case Answer::Yes:
        btRefreshDataClick();
        // An update that did not run, or was not wanted after all, keeps the window open.
        if (session_.updateDue()) {
          event->ignore();
          return;
        }
        break;
      case Answer::No:
        break;
      default:
        event->ignore();
        return;
    }
  }
  if (remembersPlace_) {
    QSettings settings(QStringLiteral("Sdmate"), QStringLiteral("Sdmate"));
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
  }
  QMainWindow::closeEvent(event);
}

void TfrMain::RememberPlace() {
  remembersPlace_ = true;
  const QSettings settings(QStringLiteral("Sdmate"), QStringLiteral("Sdmate"));
  const QByteArray geometry = settings.value(QStringLiteral("window/geometry")).toByteArray();
  if (!geometry.isEmpty()) restoreGeometry(geometry);
}

// ---- Drives

void TfrMain::SetFolderPicker(std::unique_ptr<FolderPicker> picker) {
  driveChooser->SetFolderPicker(std::move(picker));
}

char TfrMain::MapCardFolder(const std::string& nativeFolder, bool fromCommandLine) {
  const char letter = session_.MapCardFolder(nativeFolder);
  if (letter == 0) return 0;
  if (fromCommandLine) commandLineDrives_.insert(letter);
  driveChooser->Fill(session_.ListDrives(), letter);
  ShowChosenDrive();
  return letter;
}

QString TfrMain::LackingCharacter(const QString& text) {
  for (const char32_t code : text.toUcs4()) {
    // Variation selectors and joiners only pick an emoji's look.
    if (code == 0xFE0E || code == 0xFE0F || code == 0x200D || code == U'?') continue;
    const QString character = QString::fromUcs4(&code, 1);
    if (session_.FromUtf8(character.toStdString()).find('?') != std::string::npos) {
      return character;
    }
  }
  return {};
}

void TfrMain::LoadNamedCard(char letter) {
  if (letter == 0 || !session_.HoldsHandsetFolders(letter)) return;
  driveChooser->Select(letter);
  btLoadMemClick();
}

char TfrMain::SelectedDrive() const { return driveChooser->Selected(); }

// ---- Status and gauge

void TfrMain::ShowStatus(std::string_view text) {
  statusPanel_->setText(FromUtf8(text));
  repaint();
}

void TfrMain::ShowDiskSpace() {
  const DiskGauge& gauge = session_.model().gauge;
  bool low = false;
  // Until a card's size is known the gauge keeps what it shows.
  if (gauge.maximum() > 0) {
    sidePanel_->SetGauge(gauge.WidgetMaximum(), gauge.WidgetPosition(),
                         FromUtf8(FreeSpaceText(gauge.freeBytes())));
    low = IsLowSpace(gauge.freeBytes());
  }
  sidePanel_->PaintGauge(low);
}

void TfrMain::ShowUpdateDue() {
  btRefreshData->setEnabled(session_.updateDue() && session_.cardPresent());
}

void TfrMain::ShowStagedFiles(MediaKind kind) {
  // The selection stays on its row, which may now hold the first file added.
  RedrawShownFolder(kind);
  ShowDiskSpace();
  ShowUpdateDue();
}

// ---- Load, update, backup

void TfrMain::btLoadMemClick() {
  const char drive = SelectedDrive();
  if (drive == 0) return;
  LoadOptions options;
  options.askRemovable = commandLineDrives_.count(drive) == 0;
  const LoadResult result = session_.Load(drive, options);
  if (!result.loaded) return;
  for (KindPage* page : pages_) page->setEnabled(true);
  ShowModel();
  EnableEditing();
  for (KindPage* page : pages_) page->btEditFolder->setEnabled(false);
  CameraAreaLoaded();
}

bool TfrMain::ConfirmUpdate() {
  // Nothing loaded, or a table unreadable: the update itself says why it does not run.
  if (!session_.model().loaded || !session_.model().complete) return true;
  const CommitPreview preview = session_.PreviewUpdate();
  if (!preview.ChangesTheCard()) return true;
  std::string details;
  for (const std::string& line : preview.lines) details += line + "\n";
  const std::string question =
      std::string(kUpdateQuestionHeading) + PreviewSummary(preview) + kUpdateQuestionEnd;
  return feedback_.AskWithDetails(MessageKind::Confirmation, question, details, Buttons::YesNo) ==
         Answer::Yes;
}

void TfrMain::btRefreshDataClick() {
  if (!ConfirmUpdate()) return;
  const UpdateResult result = session_.Update();
  if (result.ran) {
    ShowModel();
    // The update wrote to the loaded drive; the chooser shows it again.
    driveChooser->Select(session_.model().drive);
  }
  ShowUpdateDue();
  ShowUndoable();
}

void TfrMain::btBackUpClick() {
  const BackupResult result = session_.Backup(session_.model().drive, {}, true);
  if (result.open) opener_(result.folder);
}

// ---- Cards that come and go

void TfrMain::PollDrives() {
  if (session_.RefreshDrives()) {
    const std::vector<DriveInfo> drives = session_.ListDrives();
    char select = SelectedDrive();
    std::set<char> listed;
    for (const DriveInfo& drive : drives) {
      listed.insert(drive.letter);
      const bool inserted = knownDrives_.count(drive.letter) == 0;
      if (inserted && !session_.cardPresent() && session_.HoldsHandsetFolders(drive.letter))
        select = drive.letter;
    }
    knownDrives_ = listed;
    driveChooser->Fill(drives, select);
  }
  if (session_.cardPresent() && !session_.CheckCardPresent()) DisableCardOperations();
}

void TfrMain::btEjectClick() {
  const char drive = SelectedDrive();
  if (drive == 0) return;
  const bool loaded = session_.cardPresent();
  if (!session_.Eject(drive)) return;
  if (loaded && !session_.cardPresent()) DisableCardOperations();
  driveChooser->Fill(session_.ListDrives(), 0);
  knownDrives_.clear();
  for (const DriveInfo& listed : session_.ListDrives()) knownDrives_.insert(listed.letter);
}

void TfrMain::ShowChosenDrive() {
  if (!session_.model().loaded || !session_.cardPresent()) return;
  const bool loadedChosen = SelectedDrive() == session_.model().drive;
  for (KindPage* shown : pages_) shown->setEnabled(loadedChosen);
  btRefreshData->setEnabled(loadedChosen && session_.updateDue());
  for (QPushButton* button : {btBackUp, btHistory, btRestore, btCheck})
    button->setEnabled(loadedChosen);
  if (loadedChosen) {
    ShowUndoable();
  } else {
    btUndo->setEnabled(false);
  }
}

void TfrMain::DisableCardOperations() {
  for (KindPage* page : pages_) page->setEnabled(false);
  cameraPage_->setEnabled(false);
  btRefreshData->setEnabled(false);
  btBackUp->setEnabled(false);
}

// ---- Help, end, about box, banner

std::string FindHelpFile(const std::string& currentDirectory, const std::string& programDirectory,
                         const std::string& docDirectory) {
  for (const std::string& directory : {currentDirectory, programDirectory, docDirectory}) {
    if (directory.empty()) continue;
    const QString path =
        QDir(QString::fromStdString(directory)).filePath(QStringLiteral("ReadMe.txt"));
    if (QFileInfo(path).isFile()) return QDir::toNativeSeparators(path).toStdString();
  }
  return {};
}

void TfrMain::btHelpClick() {
  const std::string current = QDir::toNativeSeparators(QDir::currentPath()).toStdString();
  const std::string path =
      FindHelpFile(current, session_.places().programDirectory, session_.places().docDirectory);
  // A missing help file passes silently, as a failed shell call does.
  if (!path.empty()) opener_(path);
}

void TfrMain::SetAboutBox(TfrAbout* about) {
  about_ = about;
  if (about_ != nullptr) {
    about_->SetOpener([this](const std::string& address) { opener_(address); });
  }
}

void TfrMain::Panel5Click() {
  if (about_ != nullptr) about_->ShowModal();
}

void TfrMain::Image3Click() { opener_(kSisterSiteAddress); }

void TfrMain::EnableEditing() {
  for (KindPage* page : pages_) {
    for (QPushButton* button :
         {page->btUp, page->btDown, page->btRen, page->btDel, page->btMove, page->btAdd,
          page->btAddFolder, page->btDelFolder, page->btExport}) {
      button->setEnabled(true);
    }
  }
  for (QPushButton* button : {btBackUp, btHistory, btRestore, btCheck}) button->setEnabled(true);
}

void TfrMain::ShowModel() {
  for (MediaKind kind : kAllKinds) ShowFolders(kind, 1);
  ShowDiskSpace();
  ShowUpdateDue();
  ShowUndoable();
}

}  // namespace sdmate
