// The engine's questions and messages on the console: everything goes to the error stream,
// each question with the answer the command line gave it. Status texts are not shown: they
// are the window's repaint hints and would only interleave with the messages.
#pragma once

#include <ostream>

#include "core/feedback.h"

namespace sdmate::cli {

class ConsoleFeedback : public Feedback {
 public:
  // yes: questions are answered Yes; otherwise No (Cancel where the buttons are Yes/Cancel).
  ConsoleFeedback(std::ostream& err, bool yes) : err_(err), yes_(yes) {}

  Answer Ask(MessageKind kind, std::string_view text, Buttons buttons) override;
  void Status(std::string_view) override {}

  int questions() const { return questions_; }

 private:
  std::ostream& err_;
  bool yes_;
  int questions_ = 0;
};

}  // namespace sdmate::cli
