// The in-memory picture of the card: per kind its folders and items, with every staged edit.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/card_layout.h"
#include "core/disk_gauge.h"

namespace sdmate {

struct ItemRow {
  std::int32_t order = 0;  // position in the folder's list, from 1
  bool deleted = false;    // staged for deletion (beside order, so a full card stays small)
  // Staged from a file the user chose or dropped: that file is only ever read and copied, never
  // moved or deleted, whether it lies on the computer or on the card itself.
  bool added = false;
  std::string sourceDir;   // where the file is now, with trailing separator
  std::string targetDir;   // card directory after the next update, with trailing backslash
  std::string sourceName;  // the file's name now
  std::string targetName;  // the name on the card after the next update
  std::string stamp;       // "YYYY:MM:DD hh:mm:ss"
  std::string title;       // Shift-JIS bytes
  std::int64_t size = 0;   // bytes

  // The file is on the card when both directories begin with the same drive letter.
  bool OnCard() const {
    return !sourceDir.empty() && !targetDir.empty() && sourceDir[0] == targetDir[0];
  }
  std::string SourcePath() const { return sourceDir + sourceName; }
  std::string TargetPath() const { return targetDir + targetName; }
};

struct FolderSlot {
  std::string folderTitle;
  std::int32_t deletedCount = 0;
  std::vector<ItemRow> items;  // slots 0 .. itemCount - 1, at most kMaxItems

  std::int32_t itemCount() const { return static_cast<std::int32_t>(items.size()); }
  std::int32_t visibleCount() const { return itemCount() - deletedCount; }
};

// The folders of a kind. Copies of the model share each folder until one of them changes it: a
// copy of a full card costs a pointer per folder (the undo keeps one per edit), and a folder
// nothing changed since the load is the very one the load built. Reading goes through the const
// accessors; a non-const one makes the folder this list's own first.
class FolderList {
 public:
  // A folder as one list holds it, kept to tell later whether a list still holds that one.
  using Handle = std::shared_ptr<const FolderSlot>;

  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = FolderSlot;
    using difference_type = std::ptrdiff_t;
    using pointer = const FolderSlot*;
    using reference = const FolderSlot&;
    const_iterator() = default;
    reference operator*() const { return **at_; }
    pointer operator->() const { return at_->get(); }
    reference operator[](difference_type n) const { return *at_[n]; }
    const_iterator& operator++() {
      ++at_;
      return *this;
    }
    const_iterator operator++(int) { return const_iterator(at_++); }
    const_iterator& operator--() {
      --at_;
      return *this;
    }
    const_iterator operator--(int) { return const_iterator(at_--); }
    const_iterator& operator+=(difference_type n) {
      at_ += n;
      return *this;
    }
    const_iterator& operator-=(difference_type n) {
      at_ -= n;
      return *this;
    }
    friend const_iterator operator+(const_iterator i, difference_type n) { return i += n; }
    friend const_iterator operator+(difference_type n, const_iterator i) { return i += n; }
    friend const_iterator operator-(const_iterator i, difference_type n) { return i -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return a.at_ - b.at_;
    }
    friend auto operator<=>(const const_iterator&, const const_iterator&) = default;

   private:
    friend class FolderList;
    using Base = std::vector<std::shared_ptr<FolderSlot>>::const_iterator;
    explicit const_iterator(Base at) : at_(at) {}
    Base at_;
  };

  std::size_t size() const { return slots_.size(); }
  bool empty() const { return slots_.empty(); }
  const_iterator begin() const { return const_iterator(slots_.begin()); }
  const_iterator end() const { return const_iterator(slots_.end()); }

  const FolderSlot& operator[](std::size_t i) const { return *slots_[i]; }
  const FolderSlot& at(std::size_t i) const { return *slots_.at(i); }
  const FolderSlot& front() const { return *slots_.front(); }
  const FolderSlot& back() const { return *slots_.back(); }
  FolderSlot& operator[](std::size_t i) { return Own(slots_[i]); }
  FolderSlot& at(std::size_t i) { return Own(slots_.at(i)); }
  FolderSlot& back() { return Own(slots_.back()); }

  void push_back(FolderSlot folder) {
    slots_.push_back(std::make_shared<FolderSlot>(std::move(folder)));
  }
  FolderSlot& emplace_back() { return *slots_.emplace_back(std::make_shared<FolderSlot>()); }
  // Shares a folder another list holds.
  void push_back(const Handle& folder) {
    slots_.push_back(std::const_pointer_cast<FolderSlot>(folder));
  }
  void insert(std::size_t i, FolderSlot folder) {
    slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(i),
                  std::make_shared<FolderSlot>(std::move(folder)));
  }
  void erase(std::size_t i) { slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(i)); }
  void resize(std::size_t count) {
    while (slots_.size() > count) slots_.pop_back();
    while (slots_.size() < count) emplace_back();
  }
  void reserve(std::size_t count) { slots_.reserve(count); }
  void clear() { slots_.clear(); }

  Handle handle(std::size_t i) const { return slots_.at(i); }
  // The folder at i is the one the handle keeps (no copy of it was changed in between).
  bool Holds(std::size_t i, const Handle& folder) const {
    return folder != nullptr && i < slots_.size() && slots_[i] == folder;
  }

 private:
  static FolderSlot& Own(std::shared_ptr<FolderSlot>& slot) {
    if (slot.use_count() != 1) {
      slot = std::make_shared<FolderSlot>(static_cast<const FolderSlot&>(*slot));
    } else {
      // The last other owner may have let go on another thread: its reads come first.
      std::atomic_thread_fence(std::memory_order_acquire);
    }
    return *slot;
  }
  std::vector<std::shared_ptr<FolderSlot>> slots_;
};

// A deleted folder's card directory without trailing backslash, or empty when the folder held
// no item read from the card.
using RemovedFolder = std::string;

struct KindState {
  FolderList folders;  // folders[0] is folder 1
  std::vector<RemovedFolder> removedFolders;

  int folderCount() const { return static_cast<int>(folders.size()); }
  // The number the next added folder gets: always the number of folders plus one.
  int nextFolderNumber() const { return folderCount() + 1; }
  // Folder n, counted from 1.
  FolderSlot& folder(int n) { return folders.at(static_cast<std::size_t>(n - 1)); }
  const FolderSlot& folder(int n) const { return folders.at(static_cast<std::size_t>(n - 1)); }
  bool hasFolder(int n) const { return n >= 1 && n <= folderCount(); }
};

struct CardModel {
  std::array<KindState, 3> kinds;
  DiskGauge gauge;
  char drive = 0;        // the drive letter that was loaded; 0 before the first load
  bool loaded = false;   // a load has completed
  bool complete = true;  // every table of the last load could be read

  KindState& of(MediaKind kind) { return kinds[IndexOf(kind)]; }
  const KindState& of(MediaKind kind) const { return kinds[IndexOf(kind)]; }
};

// The first slot of the folder whose order equals row, or -1.
int ItemAtRow(const FolderSlot& folder, int row);
// The item shown on a list row: a visible item, or nullptr for a blank row or a deleted item.
ItemRow* VisibleItemAtRow(FolderSlot& folder, int row);
const ItemRow* VisibleItemAtRow(const FolderSlot& folder, int row);

// The visible items of a folder in list order: row r shows the visible item whose order is r.
std::vector<const ItemRow*> VisibleItems(const FolderSlot& folder);
std::vector<ItemRow*> VisibleItems(FolderSlot& folder);

// The title as the list shows it, at most limit bytes, ending in the ellipsis when cut.
std::string ShortTitle(int limit, std::string_view title);

// Empty when the folder keeps the order invariants; otherwise what is wrong.
std::string CheckOrderInvariants(const FolderSlot& folder);
std::string CheckModelInvariants(const CardModel& model);

}  // namespace sdmate
