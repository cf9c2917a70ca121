// One listing per card directory, looked up by the names of the tables.
#include "card/card_listings.h"

#include <algorithm>
#include <utility>

#include "core/ascii.h"

namespace sdmate {
namespace {

// A directory's card path as the card compares it: upper-cased, without trailing backslashes.
std::string KeyOf(std::string_view directory) {
  std::string key = AsciiUpper(directory);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

std::string Joined(const std::string& directory, const std::string& name) {
  return directory.ends_with('\\') ? directory + name : directory + "\\" + name;
}

}  // namespace

CardListings::Folder& CardListings::At(const std::string& directory) {
  if (last_ != nullptr && directory == lastDirectory_) return *last_;
  auto [at, added] = folders_.try_emplace(KeyOf(directory));
  Folder& folder = at->second;
  if (added || folder.claimed) folder.Hold(files_->ListFiles(directory));
  lastDirectory_ = directory;
  last_ = &folder;
  return folder;
}

long CardListings::Place(Folder& folder, const std::string& directory, const std::string& name) {
  const std::vector<DirectoryEntry>& entries = *folder.entries;
  // A table names its files mostly in the order the listing sorts them: the entry after the one
  // found last is looked at first.
  if (folder.next < entries.size() && entries[folder.next].name == name) {
    return static_cast<long>(folder.next++);
  }
  const auto exact = std::lower_bound(
      entries.begin(), entries.end(), name,
      [](const DirectoryEntry& entry, const std::string& n) { return entry.name < n; });
  if (exact != entries.end() && exact->name == name) {
    folder.next = static_cast<std::size_t>(exact - entries.begin()) + 1;
    return exact - entries.begin();
  }
  // The names by their upper case, made the first time a name is not found as it is spelt.
  if (folder.byUpper.empty()) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      folder.byUpper.try_emplace(AsciiUpper(entries[i].name), i);
    }
  }
  const auto other = folder.byUpper.find(AsciiUpper(name));
  if (other == folder.byUpper.end()) return -1;
  // Another spelling: the same file only where the file system ignores case, which opening the
  // name tells.
  if (files_->FileSizeOf(Joined(directory, name)) < 0) return -1;
  return static_cast<long>(other->second);
}

const DirectoryEntry* CardListings::Find(const std::string& directory, const std::string& name) {
  return Find(At(directory), directory, name);
}

const DirectoryEntry* CardListings::Find(Folder& folder, const std::string& directory,
                                         const std::string& name) {
  if (!folder.entries) return nullptr;
  const long place = Place(folder, directory, name);
  if (place < 0) return nullptr;
  const auto index = static_cast<std::size_t>(place);
  folder.named[index] = true;
  return &(*folder.entries)[index];
}

std::int64_t CardListings::SizeOf(const std::string& directory, const std::string& name) {
  Folder& folder = At(directory);
  if (!folder.entries) return files_->FileSizeOf(Joined(directory, name));
  const DirectoryEntry* entry = Find(folder, directory, name);
  return entry != nullptr && entry->type == DirectoryEntry::Type::File ? entry->size : -1;
}

const std::vector<DirectoryEntry>* CardListings::EntriesOf(const std::string& directory) {
  Folder& folder = At(directory);
  return folder.entries ? &*folder.entries : nullptr;
}

bool CardListings::Named(const std::string& directory, std::size_t entry) {
  Folder& folder = At(directory);
  return entry < folder.named.size() && folder.named[entry];
}

void CardListings::Forget(const std::string& directory) {
  folders_.erase(KeyOf(directory));
  last_ = nullptr;
}

CardListings::Claim CardListings::ClaimListing(const std::string& directory) {
  auto [at, added] = folders_.try_emplace(KeyOf(directory));
  if (!added) return at->second.claimed ? Claim::Claimed : Claim::Listed;
  at->second.claimed = true;
  return Claim::Yours;
}

void CardListings::Add(const std::string& directory,
                       std::optional<std::vector<DirectoryEntry>> entries) {
  const auto at = folders_.find(KeyOf(directory));
  if (at == folders_.end() || !at->second.claimed) return;  // listed here meanwhile
  at->second.Hold(std::move(entries));
}

}  // namespace sdmate
