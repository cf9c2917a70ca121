// The pictograph palette of the title fields.
#include "ui/pictograph_palette.h"

#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QLineEdit>

#include "core/pictographs.h"

namespace sdmate {
namespace {

constexpr int kCellSide = 26;

// Windows' own emoji font there. Qt 6.4's GDI font engine reads past the end of a colour bitmap
// font's metrics (Noto Color Emoji, which wine takes from the system's fonts) and crashes: on
// Windows the palette never names it.
QFont EmojiFont() {
  QFont font;
#ifdef Q_OS_WIN
  font.setFamilies({QStringLiteral("Segoe UI Emoji"), QStringLiteral("Segoe UI Symbol")});
  // Without Windows' emoji font (wine) no other font is tried for the pictographs: the same
  // engine crashes on the metrics of some of wine's own fonts. They show as boxes there.
  if (!QFontDatabase::hasFamily(QStringLiteral("Segoe UI Emoji"))) {
    font.setStyleStrategy(QFont::NoFontMerging);
  }
#else
  font.setFamilies({QStringLiteral("Noto Color Emoji"), QStringLiteral("Segoe UI Emoji")});
#endif
  font.setPixelSize(16);
  return font;
}

}  // namespace

PictographPalette::PictographPalette(QLineEdit* field, QWidget* parent)
    : QToolButton(parent), field_(field) {
  setObjectName(QStringLiteral("btPict") + field->objectName().mid(2));
  setText(QStringLiteral("☀"));
  setFont(EmojiFont());
  setToolTip(QStringLiteral("絵文字"));
  setFocusPolicy(Qt::NoFocus);
  connect(this, &QToolButton::clicked, this, &PictographPalette::Open);
}

void PictographPalette::Open() {
  if (grid_ == nullptr) {
    grid_ = new QFrame(this, Qt::Popup);
    grid_->setObjectName(QStringLiteral("PictographGrid"));
    grid_->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QGridLayout(grid_);
    layout->setSpacing(0);
    layout->setContentsMargins(2, 2, 2, 2);
    int at = 0;
    for (const Pictograph& pictograph : Pictographs()) {
      const QString emoji = QString::fromStdString(pictograph.emoji);
      auto* cell = new QToolButton(grid_);
      cell->setObjectName(QStringLiteral("pict") + QString::number(pictograph.code, 16).toUpper());
      cell->setText(emoji);
      cell->setFont(EmojiFont());
      cell->setAutoRaise(true);
      cell->setFixedSize(kCellSide, kCellSide);
      connect(cell, &QToolButton::clicked, this, [this, emoji] { Insert(emoji); });
      layout->addWidget(cell, at / kColumns, at % kColumns);
      ++at;
    }
  }
  grid_->adjustSize();
  grid_->move(mapToGlobal(QPoint(0, height())));
  grid_->show();
}

void PictographPalette::Insert(const QString& emoji) {
  grid_->hide();
  field_->setFocus();
  field_->insert(emoji);
}

}  // namespace sdmate
