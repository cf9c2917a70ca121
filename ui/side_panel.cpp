// The right-hand column of the main window.
#include "ui/side_panel.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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

QPushButton* Button(QWidget* parent, const char* name, const char* caption, QRect where,
                    bool enabled) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(where);
  button->setEnabled(enabled);
  return button;
}

QLabel* Label(QWidget* parent, const char* name, const char* text, QRect where) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(where);
  return label;
}

ClickLabel* ClickableLabel(QWidget* parent, const char* name, const char* text, QRect where) {
  auto* label = new ClickLabel(parent);
  label->setText(QString::fromUtf8(text));
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(where);
  return label;
}

}  // namespace

SidePanel::SidePanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SidePanel"));
  resize(kWidth, kHeight);
  BuildProductPanel();

  driveChooser = new DriveChooser(kWidth, this);
  driveChooser->move(0, 66);

  btLoadMem = Button(this, "btLoadMem", "メモリカード読込", {0, 110, kWidth, 28}, true);

  Label(this, "lbDiskSpace", "ディスク容量", {0, 144, kWidth, 16});
  cgDiskSpace = new QProgressBar(this);
  cgDiskSpace->setObjectName(QStringLiteral("cgDiskSpace"));
  cgDiskSpace->setGeometry(0, 160, kWidth, 16);
  cgDiskSpace->setTextVisible(false);
  cgDiskSpace->setRange(0, 1);  // no card yet: an empty bar, never the busy animation
  cgDiskSpace->setValue(0);
  cgDiskSpace->setEnabled(false);  // display only
  stFree = Label(this, "stFree", "残り 0.0 KB ", {0, 178, kWidth, 16});
  stFree->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  btRefreshData = Button(this, "btRefreshData", "メモリカード更新", {0, 198, kWidth, 28}, false);

  StaticText1 = new QFrame(this);
  StaticText1->setObjectName(QStringLiteral("StaticText1"));
  // The card's history: the last commit taken back, or back to a chosen one.
  btUndo = Button(this, "btUndo", "元に戻す", {0, 230, 84, 26}, false);
  btHistory = Button(this, "btHistory", "履歴", {kWidth - 84, 230, 84, 26}, false);
  StaticText1->setGeometry((kWidth - Preview::kWidth - 4) / 2, 262, Preview::kWidth + 4,
                           Preview::kHeight + 4);
  StaticText1->setFrameShape(QFrame::Box);
  StaticText1->setStyleSheet(QStringLiteral("QFrame#StaticText1 { background: white; }"));
  DispPrev = new Preview(StaticText1);
  DispPrev->setObjectName(QStringLiteral("DispPrev"));
  DispPrev->move(2, 2);

  btBackUp = Button(this, "btBackUp", "データバックアップ", {0, 446, kWidth, 26}, false);
  btRestore = Button(this, "btRestore", "バックアップから復元", {0, 474, kWidth, 26}, false);
  // Row 502: the card check, and beside it the eject.
  btCheck = Button(this, "btCheck", "カード検査", {0, 502, 84, 26}, false);
  btEject = Button(this, "btEject", "取り外し", {87, 502, 84, 26}, true);
  btHelp = Button(this, "btHelp", "ヘルプ", {0, 532, 84, 28}, true);
  btEnd = Button(this, "btEnd", "終了", {kWidth - 84, 532, 84, 28}, true);

  // The banner and its caption both lead to the sister site.
  ClickLabel* caption = ClickableLabel(this, "Label9", "待受け画像のダウンロードはこちらへ",
                                       {0, 570, kWidth - 88 - 6, 44});
  caption->setWordWrap(true);
  caption->setCursor(Qt::PointingHandCursor);
  Label9 = caption;
  ClickLabel* banner = ClickableLabel(this, "Image3", "", {kWidth - 88, 576, 88, 31});
  banner->setPixmap(BannerPixmap());
  banner->setToolTip(QString::fromLatin1(kSisterSiteAddress));
  banner->setCursor(Qt::PointingHandCursor);
  Image3 = banner;
  for (ClickLabel* opens : {caption, banner}) {
    connect(opens, &ClickLabel::clicked, this, &SidePanel::BannerClicked);
  }
}

void SidePanel::BuildProductPanel() {
  auto* panel = new ClickPanel(this);
  Panel5 = panel;
  Panel5->setObjectName(QStringLiteral("Panel5"));
  Panel5->setGeometry(0, 0, kWidth, 60);
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
