// The runner's picture of the card: which content every touched card file holds, who still
// reads it, who needs it at the end, and the temporary names contents are put out of the way
// under.
#include <cctype>
#include <cstdio>

#include "card/commit_runner.h"
#include "core/card_guard.h"

namespace sdmate {

bool IsTemporaryOf(std::string_view fileName, std::string_view tag) {
  const std::string name = AsciiUpper(std::string(fileName));
  const std::string prefix = "~SDM" + AsciiUpper(std::string(tag));
  if (tag.size() != 4 || name.size() != prefix.size() + 8 || !name.starts_with(prefix) ||
      !name.ends_with(".TMP")) {
    return false;
  }
  for (std::size_t i = prefix.size(); i < prefix.size() + 4; ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
  }
  return true;
}

std::string CommitRunner::KeyOf(const std::string& cardPath) const {
  return AsciiUpper(ResolvedCardPath(cardPath));
}

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

// Moves the content at key to a new temporary name in the kind's data directory.
bool CommitRunner::Displace(const std::string& key) {
  for (int attempt = 0; attempt < 4096; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "~SDM%s%04X.TMP", temporaryTag_.substr(0, 4).c_str(),
                  ++temporaryNumber_ & 0xFFFF);
    const std::string path = temporaryDirectory_ + name;
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
