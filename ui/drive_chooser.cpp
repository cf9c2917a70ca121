// The drive chooser.
#include "ui/drive_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSignalBlocker>

#include "card/card_session.h"
#include "core/ascii.h"
#include "ui/folder_picker.h"

namespace sdmate {
namespace {

constexpr char kPickFolderText[] = "フォルダを指定…";

}  // namespace

DriveChooser::DriveChooser(int width, QWidget* parent)
    : QWidget(parent), picker_(std::make_unique<QtFolderPicker>()) {
  resize(width, kHeight);
  auto* caption = new QLabel(QStringLiteral("ドライブ選択"), this);
  caption->setObjectName(QStringLiteral("lbDrive"));
  caption->setGeometry(0, 0, width, 16);
  curDrive = new QComboBox(this);
  curDrive->setObjectName(QStringLiteral("curDrive"));
  curDrive->setEditable(false);
  curDrive->setGeometry(0, 16, width, 22);
  connect(curDrive, &QComboBox::activated, this, &DriveChooser::curDriveActivated);
}

DriveChooser::~DriveChooser() = default;

void DriveChooser::SetFolderPicker(std::unique_ptr<FolderPicker> picker) {
  picker_ = std::move(picker);
}

void DriveChooser::Fill(const std::vector<DriveInfo>& drives, char select) {
  const QSignalBlocker blocker(curDrive);
  curDrive->clear();
  int selectIndex = 0;
  for (const DriveInfo& drive : drives) {
    const char letter = UpperLetter(drive.letter);
    const QString root = QString::fromStdString(drive.root);
    const QString name = QFileInfo(QDir::cleanPath(QDir::fromNativeSeparators(root))).fileName();
    const QString label = !drive.label.empty() ? QString::fromStdString(drive.label)
                          : name.isEmpty()     ? root
                                               : name;
    if (letter == select) selectIndex = curDrive->count();
    curDrive->addItem(QStringLiteral("%1: [%2]").arg(QChar::fromLatin1(letter), label),
                      QVariant(static_cast<int>(letter)));
  }
  curDrive->addItem(QString::fromUtf8(kPickFolderText), QVariant(0));
  curDrive->setCurrentIndex(curDrive->count() > 1 ? selectIndex : -1);
  lastIndex_ = curDrive->currentIndex();
}

char DriveChooser::Selected() const {
  const int index = curDrive->currentIndex();
  if (index < 0) return 0;
  return static_cast<char>(curDrive->itemData(index).toInt());
}

void DriveChooser::Select(char letter) {
  const int index = curDrive->findData(QVariant(static_cast<int>(letter)));
  if (index < 0) return;
  curDrive->setCurrentIndex(index);
  lastIndex_ = index;
}

void DriveChooser::curDriveActivated(int index) {
  if (curDrive->itemData(index).toInt() != 0) {
    lastIndex_ = index;
    return;
  }
  const std::string folder = picker_->Pick(window(), QString::fromUtf8(kPickFolderText),
                                           lastFolder_.empty() ? CardsFolder() : lastFolder_);
  if (!folder.empty()) lastFolder_ = folder;
  if (folder.empty() || !mapFolder_ || mapFolder_(folder) == 0) {
    const QSignalBlocker blocker(curDrive);
    curDrive->setCurrentIndex(lastIndex_);
  }
}

}  // namespace sdmate
