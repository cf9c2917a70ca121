// What a commit owns on the card. It owns the files its items and steps name: the files it
// reads from the card, deletes or moves, the tables it writes, everything inside a directory it
// deletes whole, the targets of an undo's or a restore's put-backs, and its own temporaries. Any
// other card file (a stray picture, a file of a lost table, a name that differs only in case) is
// an obstacle, never a target: before a step would write over it, it is renamed to a free name
// of its own folder, where the check reports it and the repair adopts it.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "card/commit_plan.h"
#include "platform/files.h"

namespace sdmate {

// The key a card path is known by: resolved and upper-cased, since a FAT card ignores case.
std::string CardKeyOf(std::string_view cardPath);

class Ownership {
 public:
  Ownership(const std::vector<KindPlan>& plans, char drive, Files& files);
  bool Owns(const std::string& key) const;

 private:
  std::unordered_set<std::string> files_;
  std::vector<std::string> trees_;  // keys of directories deleted whole, with a trailing "\"
};

// Puts a SetAside step at the front of a plan for every file in the way of one of its copies or
// moves that no plan owns; the name it gets is free in the folder's listing (compared without
// regard to case) and named by no step and no item. Where no free name is found, no step is
// added and the runner refuses the step that would overwrite the file.
void SetAsideStrays(std::vector<KindPlan>& plans, char drive, Files& files);

}  // namespace sdmate
