// Drives of the computer: which exist, what kind they are and how much room they have.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sdmate {

class DriveTable;

enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

struct DriveInfo {
  char letter = 0;
  std::string root;  // the native folder the letter stands for
  DriveType type = DriveType::Unknown;
  std::string label;  // the volume's label, empty when it has none or is not known
};

// How a request to eject a drive ended.
struct EjectResult {
  bool ejected = false;   // flushed and unmounted: the medium may be pulled out
  bool removable = true;  // false: the drive is no removable medium, nothing was tried
  std::string detail;     // the system's own words on a failure
};

class Drives {
 public:
  virtual ~Drives() = default;
  // The drives with their letters, removable ones first on systems without letters.
  virtual std::vector<DriveInfo> List() = 0;
  virtual DriveType TypeOf(char letter) = 0;
  // Total and free bytes of the drive, -1 when it has no medium or cannot be read.
  virtual std::int64_t TotalBytes(char letter) = 0;
  virtual std::int64_t FreeBytes(char letter) = 0;
  // Gives a folder (a mounted card, a copy of one) a drive letter; 0 when none is free.
  virtual char MapFolder(const std::string& folder) = 0;
  // The native path of a model path: a card path through the letters, a path of the computer
  // as it is; nullopt for a letter that stands for nothing.
  virtual std::optional<std::string> NativePathOf(const std::string& modelPath) = 0;
  // What tells this card from any other, whichever letter it gets: the file system's UUID or
  // serial number, or for a folder that stands for a card its absolute path. Empty for a letter
  // that stands for nothing.
  virtual std::string CardKeyOf(char letter) = 0;

  // Reads the system's drives again: a medium mounted since gets a letter, and the letter of
  // one that went away stands for nothing any more (a folder the user picked keeps its
  // letter). True when the list changed. Doubles that do not say otherwise never change.
  virtual bool Refresh() { return false; }
  // Flushes the drive's medium, unmounts it and powers it off, so that it may be pulled out;
  // its letter then stands for nothing. Doubles that do not say otherwise cannot eject.
  virtual EjectResult Eject(char /*letter*/) { return {false, false, {}}; }
};

// The operating system's drives; letters are kept in the table (by reference).
std::unique_ptr<Drives> MakeNativeDrives(DriveTable& table);

}  // namespace sdmate
