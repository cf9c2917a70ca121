// The in-memory card.
#include "tests/support/memory_files.h"

#include <algorithm>

#include "core/card_guard.h"
#include "core/card_layout.h"

namespace sdmate::test {

std::string MemoryFiles::KeyOf(const std::string& path) const {
  const char drive = CardDriveOf(path);
  if (drive == 0) return path.empty() ? std::string() : "|" + path;
  if (drive != UpperLetter(drive_) || path.size() < 3 || (path[2] != '\\' && path[2] != '/')) {
    return {};
  }
  // Part by part, as a file system walks it: "." and ".." only after a directory (or a part
  // not made yet), never above the root. "E:\\A\B" becomes "E:\A\B", the root "E:".
  std::string key(1, UpperLetter(drive_));
  key += ':';
  std::size_t at = 3;
  while (at <= path.size()) {
    std::size_t end = path.find_first_of("\\/", at);
    if (end == std::string::npos) end = path.size();
    const std::string part = AsciiUpper(path.substr(at, end - at));
    at = end + 1;
    if (part.empty()) continue;
    if (part == "." || part == "..") {
      if (auto here = nodes_.find(key); here != nodes_.end() && !here->second.directory) return {};
      if (part == "..") {
        if (IsRoot(key)) return {};
        key.resize(key.rfind('\\'));
      }
      continue;
    }
    if (part.find(':') != std::string::npos) return {};
    key += '\\';
    key += part;
  }
  return key;
}

bool MemoryFiles::IsRoot(const std::string& key) { return key.size() == 2 && key[1] == ':'; }

std::string MemoryFiles::ParentOf(const std::string& key) {
  if (key.starts_with("|")) {
    const std::size_t slash = key.find_last_of("/\\");
    return slash == std::string::npos || slash < 2 ? std::string() : key.substr(0, slash);
  }
  // "E:" is the root: it has no parent and always exists.
  const std::size_t slash = key.rfind('\\');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

const MemoryFiles::Node* MemoryFiles::Find(const std::string& path) const {
  const std::string key = KeyOf(path);
  if (key.empty()) return nullptr;
  auto found = nodes_.find(key);
  return found == nodes_.end() ? nullptr : &found->second;
}

bool MemoryFiles::MakeParents(const std::string& key, const std::string& path) {
  const std::string parent = ParentOf(key);
  if (parent.empty() || IsRoot(parent)) return true;
  auto found = nodes_.find(parent);
  if (found != nodes_.end()) return found->second.directory;
  const std::size_t cut = path.find_last_of("/\\");
  const std::string parentPath = cut == std::string::npos ? path : path.substr(0, cut);
  if (!MakeParents(parent, parentPath)) return false;
  nodes_[parent] = {parentPath, true, {}};
  return true;
}

void MemoryFiles::Put(const std::string& path, const std::string& bytes) {
  const std::string key = KeyOf(path);
  if (key.empty() || !MakeParents(key, path)) return;
  nodes_[key] = {path, false, bytes};
}

std::map<std::string, std::string> MemoryFiles::Snapshot() const {
  std::map<std::string, std::string> files;
  for (const auto& [key, node] : nodes_) {
    if (!node.directory) files[key] = node.bytes;
  }
  return files;
}

std::int64_t MemoryFiles::FileSizeOf(const std::string& path) {
  const Node* node = Find(path);
  return node == nullptr || node->directory ? -1 : static_cast<std::int64_t>(node->bytes.size());
}

std::string MemoryFiles::FileStampText(const std::string& path) {
  const Node* node = Find(path);
  return node == nullptr ? std::string() : "2006:01:02 03:04:00";
}

std::optional<std::int64_t> MemoryFiles::ModifiedTime(const std::string& path) {
  const Node* node = Find(path);
  if (node == nullptr) return std::nullopt;
  return std::int64_t{1136171040} * 1000000000;  // 2006-01-02 03:04:00
}

bool MemoryFiles::Exists(const std::string& path) {
  const std::string key = KeyOf(path);
  return !key.empty() && (nodes_.contains(key) || IsRoot(key));
}

bool MemoryFiles::IsDirectory(const std::string& path) {
  const Node* node = Find(path);
  if (node != nullptr) return node->directory;
  return IsRoot(KeyOf(path));
}

bool MemoryFiles::MakeDirectories(const std::string& path) {
  const std::string key = KeyOf(path);
  if (key.empty()) return false;
  if (IsRoot(key)) return true;
  if (auto found = nodes_.find(key); found != nodes_.end()) return found->second.directory;
  if (!MakeParents(key, path)) return false;
  nodes_[key] = {path, true, {}};
  ++changes_;
  return true;
}

std::optional<std::string> MemoryFiles::ReadFile(const std::string& path, std::size_t maxBytes) {
  const Node* node = Find(path);
  if (node == nullptr || node->directory) return std::nullopt;
  return node->bytes.substr(0, std::min(maxBytes, node->bytes.size()));
}

bool MemoryFiles::WriteFileReplacing(const std::string& path, const std::string& bytes) {
  const std::string key = KeyOf(path);
  if (key.empty()) return false;
  const std::string parentKey = ParentOf(key);
  auto parent = nodes_.find(parentKey);
  if (!parentKey.empty() && !IsRoot(parentKey) &&
      (parent == nodes_.end() || !parent->second.directory)) {
    return false;
  }
  if (auto found = nodes_.find(key); found != nodes_.end() && found->second.directory) {
    return false;
  }
  const std::string spelled = nodes_.contains(key) ? nodes_[key].path : path;
  nodes_[key] = {spelled, false, bytes};
  ++changes_;
  return true;
}

bool MemoryFiles::ShellCopy(const std::string& from, const std::string& to) {
  const std::string source = KeyOf(from);
  const std::string target = KeyOf(to);
  auto found = nodes_.find(source);
  if (source.empty() || target.empty() || found == nodes_.end()) return false;
  if (source == target) return true;
  if (found->second.directory) {
    const std::string prefix = source + (source.starts_with("|") ? "/" : "\\");
    std::vector<std::pair<std::string, Node>> below;
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.starts_with(prefix);
         ++it) {
      below.push_back(*it);
    }
    if (!MakeDirectories(to)) return false;
    for (const auto& [key, node] : below) {
      const std::string rest = node.path.substr(node.path.size() - (key.size() - source.size()));
      if (node.directory) {
        MakeDirectories(to + rest);
      } else {
        Put(to + rest, node.bytes);
      }
    }
    ++changes_;
    return true;
  }
  if (auto existing = nodes_.find(target); existing != nodes_.end() && existing->second.directory) {
    return false;
  }
  if (!MakeParents(target, to)) return false;
  const std::string bytes = found->second.bytes;
  const std::string spelled = nodes_.contains(target) ? nodes_[target].path : to;
  nodes_[target] = {spelled, false, bytes};
  ++changes_;
  return true;
}

bool MemoryFiles::ShellMove(const std::string& from, const std::string& to) {
  const std::string source = KeyOf(from);
  auto found = nodes_.find(source);
  if (source.empty() || found == nodes_.end() || KeyOf(to).empty()) return false;
  if (source == KeyOf(to)) return true;
  if (!ShellCopy(from, to)) return false;
  EraseTree(source);
  return true;
}

NewFile MemoryFiles::CopyToNewFile(const std::string& from, const std::string& to,
                                   std::optional<std::int64_t> /*modified*/) {
  const Node* source = Find(from);
  if (source == nullptr || source->directory) return NewFile::Failed;
  if (Find(to) != nullptr) return NewFile::NameTaken;
  return ShellCopy(from, to) ? NewFile::Created : NewFile::Failed;
}

bool MemoryFiles::ShellDelete(const std::string& path) {
  const std::string key = KeyOf(path);
  if (key.empty() || !nodes_.contains(key)) return false;
  EraseTree(key);
  ++changes_;
  return true;
}

void MemoryFiles::EraseTree(const std::string& key) {
  const std::string prefix = key + (key.starts_with("|") ? "/" : "\\");
  nodes_.erase(key);
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.starts_with(prefix);) {
    it = nodes_.erase(it);
  }
}

std::optional<std::string> MemoryFiles::ResolveOnDrive(const std::string& path) {
  if (CardDriveOf(path) != UpperLetter(drive_)) return std::nullopt;
  std::string resolved = ResolvedCardPath(path);
  if (resolved.empty()) return std::nullopt;
  return resolved;
}

std::optional<std::vector<std::string>> MemoryFiles::ListDirectory(const std::string& path) {
  if (!IsDirectory(path)) return std::nullopt;
  const std::string key = KeyOf(path);
  const bool computer = key.starts_with("|");
  const std::string prefix = key + (computer ? "/" : "\\");
  std::vector<std::string> names;
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.starts_with(prefix);
       ++it) {
    const std::string rest = it->first.substr(prefix.size());
    if (rest.empty() || rest.find_first_of("/\\") != std::string::npos) continue;
    const std::string& spelled = it->second.path;
    names.push_back(spelled.substr(spelled.find_last_of("/\\") + 1));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace sdmate::test
