// A step of a commit, an undo, a restore or a repair that failed, as a value: what failed, the
// card path (and the target of a copy or a move), and the reason the system gave. The text the
// user reads is made from it only where it is shown, with the paths in the form of the system
// the program runs on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace sdmate {

struct Failure {
  Failure() = default;
  Failure(const char* words, std::string cardPath, std::string target = {},
          FileError reason = FileError::None)
      : what(words), path(std::move(cardPath)), to(std::move(target)), error(reason) {}
  // A failure that names no path ("更新後のメモリカードを読み込み直せませんでした．").
  Failure(const char* words) : what(words) {}  // NOLINT(google-explicit-constructor)
  // A line made already, shown as it stands.
  Failure(std::string line) : path(std::move(line)) {}  // NOLINT(google-explicit-constructor)

  const char* what = nullptr;  // the line's words (card_messages.h); none: path is the line
  std::string path;            // the card path concerned, or a path of the computer
  std::string to;              // the target of a copy or a move that failed
  FileError error = FileError::None;

  bool operator==(const Failure& other) const {
    return FailureWords(*this) == FailureWords(other) && path == other.path && to == other.to &&
           error == other.error;
  }

 private:
  static std::string FailureWords(const Failure& failure) {
    return failure.what == nullptr ? std::string() : std::string(failure.what);
  }
};

// A path as the user is shown it (a card path in the form of the system).
using ShownPath = std::function<std::string(const std::string&)>;

// One line of a failure list: the words, the paths as shown, and the system's reason.
std::string FailureLine(const Failure& failure, const ShownPath& shown);
// The reason in words ("残り容量がありません"); empty when the system gave none.
const char* FileErrorText(FileError error);

}  // namespace sdmate
