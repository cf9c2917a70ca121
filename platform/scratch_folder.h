// A folder of the computer for files the program makes for one run (pictures and movies fitted
// to the handset wait there for the commit). Nothing else is ever kept in it.
#pragma once

#include <memory>
#include <string>

namespace sdmate {

class ScratchFolder {
 public:
  virtual ~ScratchFolder() = default;
  // A new empty folder inside the run's folder (which is made on first use, private to the
  // user): its native path with the trailing separator; empty when it cannot be made.
  virtual std::string NewFolder() = 0;
  // Removes the run's folder with everything in it; the next NewFolder() makes it anew.
  virtual void Clear() = 0;
};

// A folder in the system's folder for temporary files, named after prefix and unique to this
// run, removed (with its contents) when the object goes.
std::unique_ptr<ScratchFolder> MakeScratchFolder(const std::string& prefix);

}  // namespace sdmate
