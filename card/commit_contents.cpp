// The runner's picture of the card: which content every touched card file holds, who still
// reads it, who needs it at the end, and the temporary names contents are put out of the way
// under.
#include <algorithm>
#include <cstdio>

#include "card/commit_ownership.h"
#include "card/commit_runner.h"
#include "core/ascii.h"
#include "core/card_guard.h"
#include "core/card_layout.h"

namespace sdmate {
namespace {

bool IsHexDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
  });
}

}  // namespace

bool IsTemporaryOf(std::string_view fileName, std::string_view tag) {
  // "~SDM" tag(4) number(4) ".TMP"
  if (fileName.size() != 16 || tag.size() != 4) return false;
  const std::string name = AsciiUpper(fileName);
  return name.starts_with("~SDM") && name.ends_with(".TMP") &&
         name.substr(4, 4) == AsciiUpper(tag) && IsHexDigits(name.substr(8, 4));
}

std::vector<std::string> TemporaryDirectories(char drive) {
  std::vector<std::string> directories;
  directories.reserve(std::size(kAllKinds) + 1);
  for (MediaKind kind : kAllKinds) directories.push_back(CardDataDirectory(drive, kind));
  directories.push_back(RestoreTemporaryDirectory(drive));
  return directories;
}

std::string CommitRunner::KeyOf(const std::string& cardPath) const { return CardKeyOf(cardPath); }

std::string CommitRunner::SourceKeyOf(const std::string& path) {
  if (CardDriveOf(path) == drive_) return KeyOf(path);
  if (CardDriveOf(path) != 0) return {};
  if (auto known = sourceKeys_.find(path); known != sourceKeys_.end()) return known->second;
  ResolveSources({path});
  return sourceKeys_[path];
}

// Paths of the computer: each may still be a file of the card, named another way.
void CommitRunner::ResolveSources(const std::vector<std::string>& paths) {
  const std::vector<std::optional<std::string>> cards = files_.ResolveAllOnDrive(paths);
  for (std::size_t i = 0; i < paths.size() && i < cards.size(); ++i) {
    std::string key;
    if (cards[i] && CardDriveOf(*cards[i]) == drive_) {
      key = KeyOf(*cards[i]);
      if (!path_.contains(key)) path_[key] = *cards[i];
    }
    sourceKeys_[paths[i]] = key;
  }
}

CommitRunner::Token CommitRunner::Original(const std::string& key, const std::string& path) {
  if (key.empty()) return kAbsent;
  auto known = original_.find(key);
  const Token token = known != original_.end() ? known->second : (original_[key] = nextToken_++);
  if (!at_.contains(key)) {
    path_[key] = path;
    const bool present = files_.Exists(path) && !files_.IsDirectory(path);
    at_[key] = present ? token : kAbsent;
    if (present) where_[token].insert(key);
  }
  return token;
}

CommitRunner::Token CommitRunner::ContentAt(const std::string& key) const {
  auto found = at_.find(key);
  return found == at_.end() ? kAbsent : found->second;
}

void CommitRunner::SetContent(const std::string& key, Token token) {
  const Token before = ContentAt(key);
  if (before != kAbsent) where_[before].erase(key);
  at_[key] = token;
  if (token != kAbsent) where_[token].insert(key);
}

bool CommitRunner::MustSurvive(const std::string& key) const {
  const Token token = ContentAt(key);
  if (token == kAbsent) return false;
  if (auto here = needAt_.find(key); here != needAt_.end() && here->second == token) return true;
  auto reads = reads_.find(token);
  auto needs = needs_.find(token);
  const bool needed =
      (reads != reads_.end() && reads->second > 0) || (needs != needs_.end() && needs->second > 0);
  auto places = where_.find(token);
  return needed && places != where_.end() && places->second.size() == 1;
}

bool CommitRunner::HoldsAStray(const std::string& key) const {
  const Token token = ContentAt(key);
  return token != kAbsent && strays_.contains(token);
}

std::string CommitRunner::NextTemporary() {
  char number[8];
  std::snprintf(number, sizeof number, "%04X", ++temporaryNumber_ & 0xFFFF);
  return temporaryDirectory_ + "~SDM" + tag_ + number + ".TMP";
}

// Moves the content at key to a new temporary name in the kind's data directory.
bool CommitRunner::Displace(const std::string& key) {
  for (int attempt = 0; attempt < 4096; ++attempt) {
    const std::string path = NextTemporary();
    if (files_.Exists(path)) continue;
    if (!Guard(path) || !files_.ShellMove(path_[key], path)) return false;
    const std::string temporaryKey = KeyOf(path);
    path_[temporaryKey] = path;
    temporaries_.push_back(temporaryKey);
    SetContent(temporaryKey, ContentAt(key));
    SetContent(key, kAbsent);
    return true;
  }
  return false;
}

std::vector<std::string> CommitRunner::KeysBelow(const std::string& directoryKey) const {
  std::vector<std::string> keys;
  const std::string prefix = directoryKey + "\\";
  for (const auto& [key, token] : at_) {
    if (token != kAbsent && key.starts_with(prefix)) keys.push_back(key);
  }
  return keys;
}

void CommitRunner::RegisterTree(const std::string& directory) {
  const auto names = files_.ListDirectory(directory);
  if (!names) return;
  for (const std::string& name : *names) {
    const std::string path = directory + "\\" + name;
    if (files_.IsDirectory(path)) {
      RegisterTree(path);
    } else {
      Original(KeyOf(path), path);
    }
  }
}

}  // namespace sdmate
