// The history and check dialogs.
#include "ui/card_dialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/window_fonts.h"

namespace sdmate {
namespace {

constexpr char kHistoryCaption[] = "履歴";
constexpr char kHistoryNote[] =
    "選んだ時点より後のメモリカード更新を、新しいものから順に取り消します．";
constexpr char kGoBack[] = "この時点まで戻す";
constexpr char kClose[] = "閉じる";
constexpr char kCheckCaption[] = "カード検査";
constexpr char kNoFindings[] = "問題は見つかりませんでした";
constexpr char kRepair[] = "修復";
constexpr char kDeleteOrphans[] = "どのテーブルにも載っていないファイルは削除する";
constexpr char kUndone[] = "(取り消し済み)";
constexpr char kUnfinished[] = "(途中で終わった更新)";

QString Text(const char* text) { return QString::fromUtf8(text); }

}  // namespace

const char* SnapshotTypeText(const std::string& type) {
  if (type == "undo") return "取り消し";
  if (type == "restore") return "復元";
  if (type == "repair") return "修復";
  return "更新";
}

std::string QtHistoryChooser::Choose(QWidget* parent, const std::vector<Snapshot>& snapshots) {
  QDialog dialog(parent);
  dialog.setWindowTitle(Text(kHistoryCaption));
  dialog.setFont(WindowFont());
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(Text(kHistoryNote), &dialog));
  auto* table = new QTableWidget(static_cast<int>(snapshots.size()), 3, &dialog);
  table->setObjectName(QStringLiteral("sgHistory"));
  table->setHorizontalHeaderLabels(
      {QStringLiteral("時刻"), QStringLiteral("内容"), QStringLiteral("保存したファイル")});
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->verticalHeader()->hide();
  for (int row = 0; row < table->rowCount(); ++row) {
    const Snapshot& snapshot = snapshots[static_cast<std::size_t>(row)];
    QString what = Text(SnapshotTypeText(snapshot.type));
    if (!snapshot.summary.empty())
      what += QStringLiteral(": ") + QString::fromStdString(snapshot.summary);
    if (snapshot.undone) what += QStringLiteral(" ") + Text(kUndone);
    if (!snapshot.finished()) what += QStringLiteral(" ") + Text(kUnfinished);
    table->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(snapshot.time)));
    table->setItem(row, 1, new QTableWidgetItem(what));
    table->setItem(row, 2,
                   new QTableWidgetItem(QStringLiteral("%1 (%2 KB)")
                                            .arg(snapshot.savedFiles)
                                            .arg((snapshot.bytes + 1023) / 1024)));
  }
  table->resizeColumnsToContents();
  table->setMinimumWidth(520);
  layout->addWidget(table);
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* back = buttons->addButton(Text(kGoBack), QDialogButtonBox::AcceptRole);
  buttons->addButton(Text(kClose), QDialogButtonBox::RejectRole);
  back->setEnabled(false);
  QObject::connect(table, &QTableWidget::itemSelectionChanged, back,
                   [table, back] { back->setEnabled(table->currentRow() >= 0); });
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted || table->currentRow() < 0) return {};
  return snapshots[static_cast<std::size_t>(table->currentRow())].id;
}

CheckChoice QtCheckDialog::Show(QWidget* parent, const std::vector<std::string>& findings) {
  QDialog dialog(parent);
  dialog.setWindowTitle(Text(kCheckCaption));
  dialog.setFont(WindowFont());
  auto* layout = new QVBoxLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  for (const std::string& line : findings) list->addItem(QString::fromStdString(line));
  if (findings.empty()) list->addItem(Text(kNoFindings));
  list->setMinimumSize(560, 240);
  layout->addWidget(list);
  auto* deleteOrphans = new QCheckBox(Text(kDeleteOrphans), &dialog);
  layout->addWidget(deleteOrphans);
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* repair = buttons->addButton(Text(kRepair), QDialogButtonBox::AcceptRole);
  buttons->addButton(Text(kClose), QDialogButtonBox::RejectRole);
  repair->setEnabled(!findings.empty());
  deleteOrphans->setEnabled(!findings.empty());
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  return {.repair = accepted && !findings.empty(), .deleteOrphans = deleteOrphans->isChecked()};
}

}  // namespace sdmate
