// The window's answer to the operations below it: message boxes with the program's captions,
// the status bar, the busy pointer and a progress dialog that keeps input blocked.
#pragma once

#include <QPointer>
#include <QString>

#include "core/feedback.h"
#include "ui/status_view.h"

class QProgressDialog;

namespace sdmate {

class QtFeedback : public Feedback {
 public:
  QtFeedback() = default;
  ~QtFeedback() override;

  // The window is made with this feedback, so it is named afterwards.
  void SetView(StatusView* view) { view_ = view; }

  Answer Ask(MessageKind kind, std::string_view text, Buttons buttons) override;
  Answer AskWithDetails(MessageKind kind, std::string_view text, std::string_view details,
                        Buttons buttons) override;
  void Status(std::string_view text) override;
  void Refresh() override;
  void Progress(int done, int total) override;
  bool Cancelled() override;

 protected:
  void BeginBusy() override;
  void EndBusy() override;
  void BeginCancellable() override;
  void EndCancellable() override;

 private:
  void CloseProgress();
  QWidget* Parent() const;

  StatusView* view_ = nullptr;
  QString status_;  // the last status text, repeated above the count
  QPointer<QProgressDialog> progress_;
  int cancellable_ = 0;     // depth of the operations the user may stop
  bool cancelled_ = false;  // 中止 was pressed under them
};

}  // namespace sdmate
