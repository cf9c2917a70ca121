// The export's choice dialog.
#include "ui/export_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/window_fonts.h"

namespace sdmate {
namespace {

constexpr char kCaption[] = "書き出し";
constexpr char kWhat[] = "書き出すもの";
constexpr char kWholeCard[] = "カードのすべて";
constexpr char kWholeCardNote[] = "種類ごと・フォルダごとのフォルダに分けて書き出します";
constexpr char kConvert[] = "パソコンで再生できる形式に変換する";
constexpr char kConvertNote[] = "3GP などのムービーを、H.264 と AAC の MP4 にします";
constexpr char kChooseFolder[] = "書き出し先を選ぶ…";

QString Text(const char* text) { return QString::fromUtf8(text); }

}  // namespace

ExportChoiceDialog::ExportChoiceDialog(const ExportOffer& offer, QWidget* parent)
    : QDialog(parent), rbSelection(nullptr), folderHasMovies_(offer.folderHasMovies) {
  setObjectName(QStringLiteral("dlExport"));
  setWindowTitle(Text(kCaption));
  setFont(WindowFont());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(Text(kWhat), this));

  auto* scopes = new QButtonGroup(this);
  auto radio = [this, layout, scopes](const QString& text, const char* name) {
    auto* button = new QRadioButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    scopes->addButton(button);
    layout->addWidget(button);
    return button;
  };
  if (!offer.selectionText.isEmpty()) rbSelection = radio(offer.selectionText, "rbExportSelection");
  rbFolder = radio(offer.folderText, "rbExportFolder");
  rbCard = radio(Text(kWholeCard), "rbExportCard");
  auto* cardNote = new QLabel(Text(kWholeCardNote), this);
  cardNote->setIndent(20);
  cardNote->setEnabled(false);  // drawn grey, as a remark
  layout->addWidget(cardNote);

  layout->addSpacing(8);
  cbConvert = new QCheckBox(Text(kConvert), this);
  cbConvert->setObjectName(QStringLiteral("cbExportConvert"));
  cbConvert->setChecked(true);
  cbConvert->setToolTip(Text(kConvertNote));
  layout->addWidget(cbConvert);

  QRadioButton* initial = rbFolder;
  if (offer.initial == ExportScope::Selection && rbSelection != nullptr) initial = rbSelection;
  if (offer.initial == ExportScope::Card) initial = rbCard;
  initial->setChecked(true);
  connect(scopes, &QButtonGroup::buttonToggled, this, [this] { ShowConvert(); });
  ShowConvert();

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* go = buttons->addButton(Text(kChooseFolder), QDialogButtonBox::AcceptRole);
  go->setObjectName(QStringLiteral("btExportGo"));
  go->setDefault(true);
  buttons->addButton(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

ExportChoice ExportChoiceDialog::choice() const {
  ExportScope scope = ExportScope::Folder;
  if (rbSelection != nullptr && rbSelection->isChecked()) scope = ExportScope::Selection;
  if (rbCard->isChecked()) scope = ExportScope::Card;
  return {.scope = scope, .convertMovies = cbConvert->isChecked()};
}

void ExportChoiceDialog::ShowConvert() {
  // The box keeps its tick while it does not apply, so that it is as the user left it.
  cbConvert->setEnabled(folderHasMovies_ || rbCard->isChecked());
}

std::optional<ExportChoice> QtExportDialog::Choose(QWidget* parent, const ExportOffer& offer) {
  ExportChoiceDialog dialog(offer, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.choice();
}

}  // namespace sdmate
