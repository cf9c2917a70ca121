// The camera pictures' tab and how it draws a camera folder.
#include "ui/camera_page.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>
#include <cstdio>

#include "card/camera_area.h"
#include "ui/window_fonts.h"

namespace sdmate {
namespace {

constexpr int kColumnWidths[4] = {96, 134, 64, 91};
constexpr int kRowHeight = 16;
constexpr char kNote[] =
    "カメラ画像は携帯電話が独自の一覧で管理しているため、ここでは変更できません．";
constexpr char kEmpty[] = "このカードにカメラ画像はありません";
constexpr char kShotByFile[] = "撮影日時の記録がないため、ファイルの日時です";

QLabel* Label(QWidget* parent, const char* text, QPoint where) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->move(where);
  label->adjustSize();
  return label;
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
  auto* cell = new QTableWidgetItem(text);
  cell->setTextAlignment(alignment | Qt::AlignVCenter);
  return cell;
}

}  // namespace

QString ShotText(const CameraPicture& picture) {
  const LocalTime& shot = picture.shot;
  char text[48];
  std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", shot.year % 10000,
                shot.month % 100, shot.day % 100, shot.hour % 100, shot.minute % 100,
                shot.second % 100);
  return QString::fromLatin1(text);
}

CameraPage::CameraPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("tsCamera"));

  Label(this, "フォルダ", {8, 6});
  sbFolder = new QComboBox(this);
  sbFolder->setObjectName(QStringLiteral("sbCameraFolder"));
  sbFolder->setEditable(false);
  sbFolder->setGeometry(8, 22, 150, 22);

  lbNote = new QLabel(QString::fromUtf8(kNote), this);
  lbNote->setObjectName(QStringLiteral("lbCameraNote"));
  lbNote->setGeometry(8, 64, 490, 22);
  lbNote->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  sg = new QTableWidget(0, 4, this);
  sg->setObjectName(QStringLiteral("sgCamera"));
  sg->setGeometry(8, 98, 406, 504);
  sg->setFont(ListFont());
  sg->setSelectionBehavior(QAbstractItemView::SelectRows);
  // Several pictures may be chosen for an export, with Shift and Ctrl as in a file manager.
  sg->setSelectionMode(QAbstractItemView::ExtendedSelection);
  sg->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sg->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  sg->setWordWrap(false);
  sg->verticalHeader()->hide();
  sg->verticalHeader()->setMinimumSectionSize(kRowHeight);
  sg->verticalHeader()->setDefaultSectionSize(kRowHeight);
  sg->horizontalHeader()->setHighlightSections(false);
  sg->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  sg->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  sg->setHorizontalHeaderLabels({QStringLiteral("ファイル名"), QStringLiteral("撮影日時"),
                                 QStringLiteral("サイズ"), QStringLiteral("画素数")});
  for (int column = 0; column < 4; ++column) sg->setColumnWidth(column, kColumnWidths[column]);
  sg->installEventFilter(this);

  lbEmpty = new QLabel(QString::fromUtf8(kEmpty), sg->viewport());
  lbEmpty->setObjectName(QStringLiteral("lbCameraEmpty"));
  lbEmpty->setGeometry(0, 40, 386, 24);
  lbEmpty->setAlignment(Qt::AlignCenter);
  lbEmpty->hide();

  btExport = new QPushButton(QStringLiteral("書き出し"), this);
  btExport->setObjectName(QStringLiteral("btExportCamera"));
  btExport->setGeometry(420, 98, 76, 26);
  btExport->setEnabled(false);
}

int CameraPage::ChosenFolder() const { return sbFolder->currentIndex() + 1; }

std::vector<int> CameraPage::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : sg->selectionModel()->selectedRows()) {
    rows.push_back(index.row() + 1);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

int CameraPage::CurrentRow() const { return sg->currentRow() + 1; }

void CameraPage::ShowArea(const CameraArea& area) {
  {
    const QSignalBlocker blocker(sbFolder);
    sbFolder->clear();
    for (const CameraFolder& folder : area.folders) {
      sbFolder->addItem(QString::fromStdString(folder.name));
    }
    sbFolder->setCurrentIndex(area.folders.empty() ? -1 : 0);
  }
  lbEmpty->setVisible(area.folders.empty());
  btExport->setEnabled(!area.folders.empty());
  if (area.folders.empty()) {
    const QSignalBlocker blocker(sg->selectionModel());
    sg->setRowCount(0);
    return;
  }
  ShowFolder(area.folders.front());
}

void CameraPage::ShowFolder(const CameraFolder& folder) {
  const QSignalBlocker blocker(sg->selectionModel());
  sg->clearSelection();
  sg->setRowCount(static_cast<int>(folder.pictures.size()));
  for (int row = 0; row < sg->rowCount(); ++row) {
    const CameraPicture& picture = folder.pictures[static_cast<std::size_t>(row)];
    sg->setItem(row, 0, Cell(QString::fromStdString(picture.name)));
    QTableWidgetItem* shot = Cell(ShotText(picture));
    if (!picture.shotFromExif) shot->setToolTip(QString::fromUtf8(kShotByFile));
    sg->setItem(row, 1, shot);
    sg->setItem(row, 2, Cell(QString::number(picture.size), Qt::AlignRight));
    sg->setItem(
        row, 3,
        Cell(picture.width > 0 ? QStringLiteral("%1×%2").arg(picture.width).arg(picture.height)
                               : QString()));
  }
  if (sg->rowCount() > 0) sg->setCurrentCell(0, 0);
  sg->viewport()->update();
}

bool CameraPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sg && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F4) {
      emit OpenKeyInList();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace sdmate
