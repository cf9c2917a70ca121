// The files of the card's directories as one listing of each gives them: the load, the check and
// the repair look a table's names up here instead of opening every file.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace sdmate {

class CardListings {
 public:
  explicit CardListings(Files& files) : files_(&files) {}
  Files& files() const { return *files_; }

  // The size of the regular file a table names in a card directory, or -1 when it is missing
  // or no regular file, as opening it would tell. The name is compared as the card compares
  // names: a file spelt in another case is that file where the file system says so. A
  // directory that cannot be listed is asked name by name. The file found counts as named.
  std::int64_t SizeOf(const std::string& directory, const std::string& name);
  // The entry a table's name stands for (as SizeOf finds it), or nullptr.
  const DirectoryEntry* Find(const std::string& directory, const std::string& name);
  // The entries of a card directory; nullptr when it cannot be listed.
  const std::vector<DirectoryEntry>* EntriesOf(const std::string& directory);
  // Whether a table's name found the entry at that place of EntriesOf(directory).
  bool Named(const std::string& directory, std::size_t entry);
  // Makes the next look at a directory list it again (something was written there).
  void Forget(const std::string& directory);
  // Who lists a directory: the caller, elsewhere (on another thread), when nothing looked at it
  // or claimed it before; the one who claimed it, who is to hand its listing in with Add; or
  // nobody, it was looked at. Until Add, a look at a claimed directory lists it here.
  enum class Claim { Yours, Claimed, Listed };
  Claim ClaimListing(const std::string& directory);
  // The listing of a claimed directory (nullopt: it could not be listed).
  void Add(const std::string& directory, std::optional<std::vector<DirectoryEntry>> entries);
  // How many directories were listed.
  std::size_t listed() const { return folders_.size(); }

 private:
  struct Folder {
    std::optional<std::vector<DirectoryEntry>> entries;
    std::vector<bool> named;
    std::unordered_map<std::string, std::size_t> byUpper;  // the first entry of each spelling
    std::size_t next = 0;  // the entry after the one a name found last
    bool claimed = false;  // being listed elsewhere, not handed in yet
    void Hold(std::optional<std::vector<DirectoryEntry>> listed) {
      claimed = false;
      entries = std::move(listed);
      if (entries) named.assign(entries->size(), false);
    }
  };
  Folder& At(const std::string& directory);
  const DirectoryEntry* Find(Folder& folder, const std::string& directory, const std::string& name);
  // The place of a name's entry in the folder, or -1; asks the file system about a name spelt
  // in another case.
  long Place(Folder& folder, const std::string& directory, const std::string& name);

  Files* files_;
  std::map<std::string, Folder> folders_;  // by the directory's upper-cased card path
  // The folder looked at last, by the directory as it was spelt: a table's names are looked up
  // one after another in the same directory.
  std::string lastDirectory_;
  Folder* last_ = nullptr;
};

}  // namespace sdmate
