// The open-file dialog of the add buttons.
#include "ui/open_files_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QSize>
#include <QSplitter>
#include <QStandardPaths>
#include <QStringList>
#include <QTreeView>
#include <algorithm>

#include "ui/folder_picker.h"

namespace sdmate {
namespace {

constexpr int kWidth = 820;
constexpr int kHeight = 500;
constexpr int kPlacesWidth = 150;
// The details view's size, type ("JPEG 画像") and date columns (1 to 3); the name takes the rest.
constexpr int kDetailWidths[] = {80, 120, 160};

}  // namespace

QString QtNameFilter(std::string_view filter) {
  const QString text = QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size()));
  const qsizetype bar = text.indexOf(QLatin1Char('|'));
  const QString caption = bar < 0 ? QString() : text.left(bar);
  const QStringList patterns = text.mid(bar + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
  return QStringLiteral("%1 (%2)").arg(caption, patterns.join(QLatin1Char(' ')));
}

void GiveRoomForJapanese(QFileDialog& dialog) {
  dialog.resize(dialog.sizeHint().expandedTo(QSize(kWidth, kHeight)));
  if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter")))
    splitter->setSizes({kPlacesWidth, kWidth - kPlacesWidth});
  if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = details->header();
    int column = 1;
    for (const int width : kDetailWidths) {
      // Wider columns the user saved stay.
      header->resizeSection(column, std::max(header->sectionSize(column), width));
      ++column;
    }
  }
}

QtOpenFilesDialog::~QtOpenFilesDialog() { delete dialog_.data(); }

QFileDialog* QtOpenFilesDialog::Prepare(QWidget* parent, std::string_view filter, MediaKind kind) {
  if (dialog_.isNull()) {
    // One dialog for the three kinds: it comes back in the folder it was left in.
    dialog_ = new QFileDialog(parent);
    dialog_->setFileMode(QFileDialog::ExistingFiles);
    dialog_->setAcceptMode(QFileDialog::AcceptOpen);
    dialog_->setOption(QFileDialog::ReadOnly, true);
    dialog_->setSizeGripEnabled(true);
    // The handset's names are upper case, a computer's often are not.
    dialog_->setFilter(dialog_->filter() & ~QDir::CaseSensitive);
    GiveRoomForJapanese(*dialog_);
  }
  dialog_->setNameFilter(QtNameFilter(filter));
  if (!lastFolder_.contains(kind)) {
    constexpr QStandardPaths::StandardLocation kWhere[] = {QStandardPaths::PicturesLocation,
                                                           QStandardPaths::MoviesLocation,
                                                           QStandardPaths::DocumentsLocation};
    lastFolder_[kind] = QString::fromStdString(UserFolder(kWhere[IndexOf(kind)]));
  }
  dialog_->setDirectory(lastFolder_[kind]);
  return dialog_;
}

std::vector<std::string> QtOpenFilesDialog::Choose(QWidget* parent, std::string_view filter,
                                                   MediaKind kind) {
  QFileDialog* dialog = Prepare(parent, filter, kind);
  std::vector<std::string> paths;
  if (dialog->exec() != QDialog::Accepted) return paths;
  lastFolder_[kind] = dialog->directory().absolutePath();
  for (const QString& file : dialog->selectedFiles()) {
    paths.push_back(QDir::toNativeSeparators(file).toStdString());
  }
  return paths;
}

}  // namespace sdmate
