// The about box.
#include "ui/unabout.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QWindow>

#include "core/version.h"
#include "ui/artwork.h"
#include "ui/click_targets.h"
#include "ui/web_addresses.h"
#include "ui/window_fonts.h"

namespace sdmate {
namespace {

constexpr int kPanelWidth = 280;

QLabel* Text(QWidget* parent, const char* name, const char* text, int top, int height = 16) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(8, top, kPanelWidth - 16, height);
  return label;
}

ClickLabel* Picture(QWidget* parent, const char* name, const QPixmap& pixmap, int top) {
  auto* picture = new ClickLabel(parent);
  picture->setObjectName(QString::fromLatin1(name));
  picture->setPixmap(pixmap);
  picture->setGeometry((kPanelWidth - pixmap.width()) / 2, top, pixmap.width(), pixmap.height());
  picture->setCursor(Qt::PointingHandCursor);
  return picture;
}

// "コチラ": red, underlined, a hand over it.
ClickLabel* Link(QWidget* parent, const char* name) {
  auto* link = new ClickLabel(parent);
  link->setObjectName(QString::fromLatin1(name));
  link->setText(QStringLiteral("コチラ"));
  QFont font = WindowFont();
  font.setUnderline(true);
  link->setFont(font);
  link->setStyleSheet(QStringLiteral("color: #ff0000;"));
  link->setCursor(Qt::PointingHandCursor);
  return link;
}

}  // namespace

TfrAbout::TfrAbout(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frAbout"));
  setWindowTitle(QStringLiteral("About..."));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);
  setFont(WindowFont());
  setFixedSize(kClientWidth, kClientHeight);

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(8, 8, kPanelWidth, 232);
  Panel1->setFrameShape(QFrame::Panel);
  Panel1->setFrameShadow(QFrame::Raised);
  Panel1->setLineWidth(2);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setPixmap(ProgramIconPixmap());
  ProgramIcon->setGeometry(12, 10, 32, 32);
  ProductName = Text(Panel1, "ProductName", "Sdmate", 8, 18);
  ProductName->setGeometry(54, 8, 210, 18);
  QFont bold = WindowFont();
  bold.setPixelSize(15);
  bold.setBold(true);
  ProductName->setFont(bold);
  Version = Text(Panel1, "Version", (std::string("Version ") + kVersion).c_str(), 28);
  Version->setGeometry(54, 27, 210, 16);
  Notice = Text(Panel1, "Notice", "本ソフトの使用は自己責任でお願いします．", 50);
  Comment2 = Text(Panel1, "Comment2", "最新版入手やご意見等は↓こちらへどうぞ", 70);
  ImageLogo = Picture(Panel1, "ImageLogo", LogoPixmap(), 88);
  Label1 = Text(Panel1, "Label1", "今後の開発のためご寄付をお願い致します<(_ _)>", 126);
  ImagePay = Picture(Panel1, "ImagePay", DonationButtonPixmap(), 144);

  // Two lines of text with a link after each.
  const QString lines[2] = {QStringLiteral("評価感想は"), QStringLiteral("サポートは")};
  const QFontMetrics metrics(WindowFont());
  const int lineHeight = metrics.lineSpacing();
  const int textWidth =
      std::max(metrics.horizontalAdvance(lines[0]), metrics.horizontalAdvance(lines[1])) + 4;
  const int linkWidth = metrics.horizontalAdvance(QStringLiteral("コチラ")) + 4;
  const int left = (kPanelWidth - textWidth - linkWidth) / 2;
  constexpr int top = 186;
  Memo1 = new QPlainTextEdit(Panel1);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Memo1->setFrameShape(QFrame::NoFrame);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setFocusPolicy(Qt::NoFocus);
  Memo1->setTextInteractionFlags(Qt::NoTextInteraction);
  Memo1->viewport()->setAutoFillBackground(false);
  Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
  Memo1->document()->setDocumentMargin(0);
  Memo1->setPlainText(lines[0] + QLatin1Char('\n') + lines[1]);
  Memo1->setGeometry(left, top, textWidth, lineHeight * 2 + 2);
  lHyouka = Link(Panel1, "lHyouka");
  lHyouka->setGeometry(left + textWidth, top, linkWidth, lineHeight);
  lYoubou = Link(Panel1, "lYoubou");
  lYoubou->setGeometry(left + textWidth, top + lineHeight, linkWidth, lineHeight);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry((kClientWidth - 75) / 2, 248, 75, 25);
  OKButton->setDefault(true);

  connect(ImageLogo, &ClickLabel::clicked, this, &TfrAbout::ImageLogoClick);
  connect(ImagePay, &ClickLabel::clicked, this, &TfrAbout::ImagePayClick);
  connect(lHyouka, &ClickLabel::clicked, this, &TfrAbout::lHyoukaClick);
  connect(lYoubou, &ClickLabel::clicked, this, &TfrAbout::lYoubouClick);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrAbout::CentreOnOwner() {
  QWidget* owner = parentWidget();
  if (owner == nullptr) return;
  // Both frames, title bars included, share their centre. Before the box is first shown its
  // frame is taken from its native window, made now: Windows knows the frame from the start;
  // under a window manager it is known only once shown, and until then the size stands in.
  const QRect around = owner->frameGeometry();
  QSize box = frameGeometry().size();
  if (!isVisible()) {
    winId();
    box = size().grownBy(windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins());
  }
  move(around.x() + (around.width() - box.width()) / 2,
       around.y() + (around.height() - box.height()) / 2);
}

int TfrAbout::ShowModal() {
  CentreOnOwner();
  OKButton->setFocus();
  return exec();
}

void TfrAbout::Open(const char* address) {
  if (opener_) opener_(address);
}

void TfrAbout::ImageLogoClick() { Open(kHomePageAddress); }
void TfrAbout::ImagePayClick() { Open(kDonationPageAddress); }
void TfrAbout::lHyoukaClick() { Open(kRatingsPageAddress); }
void TfrAbout::lYoubouClick() { Open(kSupportPageAddress); }

}  // namespace sdmate
