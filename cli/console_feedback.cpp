// Questions and messages on the console.
#include "cli/console_feedback.h"

namespace sdmate::cli {
namespace {

const char* AnswerText(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return "OK";
    case Answer::Yes:
      return "はい";
    case Answer::No:
      return "いいえ";
    case Answer::Cancel:
      return "キャンセル";
  }
  return "";
}

}  // namespace

Answer ConsoleFeedback::Ask(MessageKind kind, std::string_view text, Buttons buttons) {
  err_ << CaptionOf(kind) << ": " << text << '\n';
  if (buttons == Buttons::Ok) return Answer::Ok;
  ++questions_;
  Answer answer = yes_ ? Answer::Yes : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
  err_ << "回答: " << AnswerText(answer) << (yes_ ? " (--yes)" : "") << '\n';
  return answer;
}

}  // namespace sdmate::cli
