// How operations below the window talk to the user: questions, messages, status texts, the
// busy pointer and progress. The window answers with message boxes; tests with a script.
#pragma once

#include <string_view>

namespace sdmate {

enum class MessageKind { Warning, Error, Information, Confirmation };
enum class Buttons { Ok, YesNo, YesCancel, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

// The caption of a message box of each kind.
constexpr const char* CaptionOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning:
      return "警告";
    case MessageKind::Error:
      return "エラー";
    case MessageKind::Information:
      return "情報";
    case MessageKind::Confirmation:
      return "確認";
  }
  return "";
}

class Feedback {
 public:
  virtual ~Feedback() = default;

  // Shows a modal message box and returns the button pressed (closing the box answers No or
  // Cancel).
  virtual Answer Ask(MessageKind kind, std::string_view text, Buttons buttons) = 0;
  void Tell(MessageKind kind, std::string_view text) { Ask(kind, text, Buttons::Ok); }
  // A question with a longer list the user may open ("詳細"). Where nothing can be opened the
  // question is asked alone.
  virtual Answer AskWithDetails(MessageKind kind, std::string_view text,
                                std::string_view /*details*/, Buttons buttons) {
    return Ask(kind, text, buttons);
  }
  // Sets the status bar text and repaints the window.
  virtual void Status(std::string_view text) = 0;
  // Repaints what depends on the model (gauge and free-space text) in the middle of a batch.
  virtual void Refresh() {}
  // Steps of a long operation.
  virtual void Progress(int /*done*/, int /*total*/) {}

  // A long operation the user may stop between its steps (fitting a batch of files, an
  // export): while the returned guard lives, the progress offers 中止, and Cancelled() says
  // whether it was pressed. A commit never runs under it: the card is not left half written.
  class CancelGuard {
   public:
    explicit CancelGuard(Feedback& feedback) : feedback_(&feedback) {
      feedback_->BeginCancellable();
    }
    CancelGuard(const CancelGuard&) = delete;
    CancelGuard& operator=(const CancelGuard&) = delete;
    ~CancelGuard() { feedback_->EndCancellable(); }

   private:
    Feedback* feedback_;
  };
  [[nodiscard]] CancelGuard Cancellable() { return CancelGuard(*this); }
  // True once the user stopped the operation under the current guard.
  virtual bool Cancelled() { return false; }

  // The busy pointer for the life of the returned guard, restored on every way out.
  class BusyGuard {
   public:
    explicit BusyGuard(Feedback& feedback) : feedback_(&feedback) { feedback_->BeginBusy(); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
    ~BusyGuard() { feedback_->EndBusy(); }

   private:
    Feedback* feedback_;
  };
  [[nodiscard]] BusyGuard Busy() { return BusyGuard(*this); }

 protected:
  virtual void BeginBusy() {}
  virtual void EndBusy() {}
  virtual void BeginCancellable() {}
  virtual void EndCancellable() {}
};

// Answers nothing, shows nothing: for benchmarks and batch work that must not stop.
class SilentFeedback : public Feedback {
 public:
  Answer Ask(MessageKind, std::string_view, Buttons buttons) override {
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
  }
  void Status(std::string_view) override {}
};

}  // namespace sdmate
