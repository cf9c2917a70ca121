// An exclusive lock on a file of the computer, held by one run of the program at a time: the
// card's lock in its history folder, so that two runs never write one card together.
#pragma once

#include <memory>
#include <string>

namespace sdmate {

// Held while it lives; the system drops it when the process ends, however it ends.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

struct LockAttempt {
  std::unique_ptr<FileLock> lock;  // null: not taken
  bool busy = false;               // another run holds it (else the file could not be opened)
  std::string holder;              // what the holder wrote into the file ("12345"), when known
};

// Opens (or makes, with its folders) the file and takes its lock, trying again until
// waitMilliseconds have passed. The run that takes it writes its process id into the file for the
// ones that wait.
LockAttempt LockFileExclusive(const std::string& nativePath, int waitMilliseconds);

}  // namespace sdmate
