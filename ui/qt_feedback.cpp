// Message boxes, status bar, busy pointer and progress of the window.
#include "ui/qt_feedback.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace sdmate {

QtFeedback::~QtFeedback() { CloseProgress(); }

QWidget* QtFeedback::Parent() const { return view_ != nullptr ? view_->DialogParent() : nullptr; }

Answer QtFeedback::Ask(MessageKind kind, std::string_view text, Buttons buttons) {
  return AskWithDetails(kind, text, {}, buttons);
}

Answer QtFeedback::AskWithDetails(MessageKind kind, std::string_view text, std::string_view details,
                                  Buttons buttons) {
  QMessageBox box(Parent());
  if (!details.empty()) {
    box.setDetailedText(QString::fromUtf8(details.data(), static_cast<qsizetype>(details.size())));
  }
  box.setWindowTitle(QString::fromUtf8(CaptionOf(kind)));
  box.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  switch (kind) {
    case MessageKind::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageKind::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageKind::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageKind::Confirmation:
      box.setIcon(QMessageBox::Question);
      break;
  }
  // A box in the middle of a long operation must be answerable with the pointer.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  Answer answer = Answer::Ok;
  switch (buttons) {
    case Buttons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      box.exec();
      answer = Answer::Ok;
      break;
    case Buttons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setEscapeButton(QMessageBox::No);
      answer = box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
      break;
    case Buttons::YesCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      answer = box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::Cancel;
      break;
    case Buttons::YesNoCancel: {
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      const int pressed = box.exec();
      answer = pressed == QMessageBox::Yes  ? Answer::Yes
               : pressed == QMessageBox::No ? Answer::No
                                            : Answer::Cancel;
      break;
    }
  }
  if (busy) QApplication::restoreOverrideCursor();
  return answer;
}

void QtFeedback::Status(std::string_view text) {
  status_ = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (view_ != nullptr) view_->ShowStatus(text);
}

void QtFeedback::Refresh() {
  if (view_ != nullptr) view_->ShowDiskSpace();
}

void QtFeedback::Progress(int done, int total) {
  if (total <= 0 || done >= total) {
    CloseProgress();
    return;
  }
  if (progress_ == nullptr) {
    progress_ = new QProgressDialog(Parent());
    progress_->setWindowTitle(QStringLiteral("Sdmate"));
    if (cancellable_ > 0) {
      progress_->setCancelButtonText(QStringLiteral("中止"));
      QObject::connect(progress_, &QProgressDialog::canceled, [this] { cancelled_ = true; });
    } else {
      progress_->setCancelButton(nullptr);  // the card must not be left half written
    }
    progress_->setWindowModality(Qt::ApplicationModal);
    progress_->setMinimumDuration(300);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
  }
  progress_->setMaximum(total);
  const QString count = QStringLiteral("%1 / %2").arg(done).arg(total);
  progress_->setLabelText(status_.isEmpty() ? count : status_ + QLatin1Char('\n') + count);
  progress_->setValue(done);
}

bool QtFeedback::Cancelled() {
  if (cancellable_ == 0) return false;
  QApplication::processEvents();  // a press of 中止 waits in the queue
  return cancelled_;
}

void QtFeedback::BeginCancellable() {
  if (cancellable_++ == 0) cancelled_ = false;
  CloseProgress();  // the next progress is made with its 中止 button
}

void QtFeedback::EndCancellable() {
  if (--cancellable_ == 0) CloseProgress();
}

void QtFeedback::CloseProgress() {
  if (progress_ != nullptr) {
    progress_->close();
    delete progress_;
  }
}

void QtFeedback::BeginBusy() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtFeedback::EndBusy() { QApplication::restoreOverrideCursor(); }

}  // namespace sdmate
