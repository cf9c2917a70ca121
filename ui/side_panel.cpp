// The right-hand column of the main window.
#include "ui/side_panel.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "core/version.h"
#include "ui/artwork.h"
#include "ui/click_targets.h"
#include "ui/drive_chooser.h"
#include "ui/preview.h"
#include "ui/web_addresses.h"
#include "ui/window_fonts.h"

namespace sdmate {
namespace {

constexpr int kWidth = SidePanel::kWidth;
const std::string kVersionText = std::string("Ver ") + kVersion;

// A button of the column's width (or half of it in a pair), of a fixed height.
QPushButton* Button(QWidget* parent, const char* name, const char* caption, int height,
                    bool enabled) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setFixedHeight(height);
  button->setMinimumWidth(0);
  button->setEnabled(enabled);
  return button;
}

QLabel* Label(QWidget* parent, const char* name, const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFixedHeight(16);
  return label;
}

ClickLabel* ClickableLabel(QWidget* parent, const char* name, const char* text, QRect where) {
  auto* label = new ClickLabel(parent);
  label->setText(QString::fromUtf8(text));
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(where);
  return label;
}

// Two buttons side by side, each half of the column.
QHBoxLayout* Pair(QPushButton* left, QPushButton* right) {
  auto* row = new QHBoxLayout;
  row->setSpacing(3);
  row->addWidget(left, 1);
  row->addWidget(right, 1);
  return row;
}

}  // namespace

SidePanel::SidePanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SidePanel"));
  setFixedWidth(kWidth);
  BuildProductPanel();

  driveChooser = new DriveChooser(kWidth, this);
  driveChooser->setFixedSize(kWidth, DriveChooser::kHeight);

  btLoadMem = Button(this, "btLoadMem", "メモリカード読込(&L)", 28, true);

  QLabel* diskLabel = Label(this, "lbDiskSpace", "ディスク容量");
  cgDiskSpace = new QProgressBar(this);
  cgDiskSpace->setObjectName(QStringLiteral("cgDiskSpace"));
  cgDiskSpace->setFixedHeight(16);
  cgDiskSpace->setTextVisible(false);
  cgDiskSpace->setRange(0, 1);  // no card yet: an empty bar, never the busy animation
  cgDiskSpace->setValue(0);
  cgDiskSpace->setEnabled(false);  // display only
  stFree = Label(this, "stFree", "残り 0.0 KB ");
  stFree->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  btRefreshData = Button(this, "btRefreshData", "メモリカード更新(&S)", 28, false);

  // The card's history: the last commit taken back, or back to a chosen one.
  btUndo = Button(this, "btUndo", "元に戻す(&Z)", 26, false);
  btHistory = Button(this, "btHistory", "履歴(&I)", 26, false);
  StaticText1 = new QFrame(this);
  StaticText1->setObjectName(QStringLiteral("StaticText1"));
  StaticText1->setFrameShape(QFrame::Box);
  StaticText1->setStyleSheet(QStringLiteral("QFrame#StaticText1 { background: white; }"));
  StaticText1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  DispPrev = new Preview(StaticText1);
  DispPrev->setObjectName(QStringLiteral("DispPrev"));
  auto* framed = new QVBoxLayout(StaticText1);
  framed->setContentsMargins(2, 2, 2, 2);
  framed->addWidget(DispPrev);

  btBackUp = Button(this, "btBackUp", "データバックアップ(&B)", 26, false);
  btRestore = Button(this, "btRestore", "バックアップから復元(&O)", 26, false);
  btCheck = Button(this, "btCheck", "カード検査(&C)", 26, false);
  btEject = Button(this, "btEject", "取り外し(&J)", 26, true);  // makes the card safe to pull
  btHelp = Button(this, "btHelp", "ヘルプ(&H)", 28, true);
  btEnd = Button(this, "btEnd", "終了(&X)", 28, true);

  // The banner and its caption both lead to the sister site.
  auto* caption = new ClickLabel(this);
  caption->setObjectName(QStringLiteral("Label9"));
  caption->setText(QStringLiteral("待受け画像のダウンロードはこちらへ"));
  caption->setWordWrap(true);
  caption->setCursor(Qt::PointingHandCursor);
  caption->setMinimumHeight(44);
  Label9 = caption;
  auto* banner = new ClickLabel(this);
  banner->setObjectName(QStringLiteral("Image3"));
  banner->setPixmap(BannerPixmap());
  banner->setFixedSize(88, 31);
  banner->setToolTip(QString::fromLatin1(kSisterSiteAddress));
  banner->setCursor(Qt::PointingHandCursor);
  Image3 = banner;
  for (ClickLabel* opens : {caption, banner}) {
    connect(opens, &ClickLabel::clicked, this, &SidePanel::BannerClicked);
  }

  // One column, top to bottom; the preview takes the height the window gains.
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(Panel5);
  column->addSpacing(6);
  column->addWidget(driveChooser);
  column->addSpacing(6);
  column->addWidget(btLoadMem);
  column->addSpacing(6);
  column->addWidget(diskLabel);
  column->addWidget(cgDiskSpace);
  column->addSpacing(2);
  column->addWidget(stFree);
  column->addSpacing(4);
  column->addWidget(btRefreshData);
  column->addSpacing(4);
  column->addLayout(Pair(btUndo, btHistory));
  column->addSpacing(6);
  column->addWidget(StaticText1, 1);
  column->addSpacing(4);
  column->addWidget(btBackUp);
  column->addSpacing(2);
  column->addWidget(btRestore);
  column->addSpacing(2);
  column->addLayout(Pair(btCheck, btEject));
  column->addSpacing(4);
  column->addLayout(Pair(btHelp, btEnd));
  column->addSpacing(6);
  auto* bannerRow = new QHBoxLayout;
  bannerRow->setSpacing(6);
  bannerRow->addWidget(caption, 1);
  bannerRow->addWidget(banner, 0, Qt::AlignVCenter);
  column->addLayout(bannerRow);
}

void SidePanel::BuildProductPanel() {
  auto* panel = new ClickPanel(this);
  Panel5 = panel;
  Panel5->setObjectName(QStringLiteral("Panel5"));
  Panel5->setFixedSize(kWidth, 60);
  Panel5->setFrameShape(QFrame::Panel);
  Panel5->setFrameShadow(QFrame::Sunken);
  Panel5->setStyleSheet(QStringLiteral("QFrame#Panel5 { background: white; }"));
  Panel5->setCursor(Qt::PointingHandCursor);
  connect(panel, &ClickPanel::clicked, this, &SidePanel::ProductClicked);
  ClickLabel* icon = ClickableLabel(Panel5, "Image4", "", {6, 14, 32, 32});
  icon->setPixmap(ProgramIconPixmap());
  ClickLabel* name = ClickableLabel(Panel5, "Label6", "Sdmate", {44, 4, 120, 18});
  QFont bold = WindowFont();
  bold.setBold(true);
  bold.setPixelSize(14);
  name->setFont(bold);
  // The notice line takes its clicks and does nothing with them.
  ClickLabel* notice = ClickableLabel(Panel5, "Label7", "SDカード管理ツール", {44, 22, 124, 16});
  notice->setCursor(Qt::ArrowCursor);
  ClickLabel* version = ClickableLabel(Panel5, "Label8", kVersionText.c_str(), {44, 38, 120, 16});
  for (ClickLabel* opens : {icon, name, version}) {
    connect(opens, &ClickLabel::clicked, this, &SidePanel::ProductClicked);
  }
}

void SidePanel::SetGauge(int maximum, int position, const QString& freeText) {
  cgDiskSpace->setRange(0, maximum);
  cgDiskSpace->setValue(std::clamp(position, 0, maximum));
  stFree->setText(freeText);
}

void SidePanel::PaintGauge(bool low) {
  const char* bar = low ? "#ff0000" : "#000080";
  cgDiskSpace->setStyleSheet(
      QStringLiteral("QProgressBar { border: 1px solid #808080; background: white; }"
                     "QProgressBar::chunk { background-color: %1; }")
          .arg(QLatin1String(bar)));
  stFree->setStyleSheet(low ? QStringLiteral("color: #ff0000;") : QStringLiteral("color: black;"));
  cgDiskSpace->repaint();
  stFree->repaint();
}

}  // namespace sdmate
