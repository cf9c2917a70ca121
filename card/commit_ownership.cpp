// The files a commit owns, and the files in its way that it renames instead of overwriting.
#include "card/commit_ownership.h"

#include <algorithm>
#include <map>
#include <optional>

#include "card/card_messages.h"
#include "core/ascii.h"
#include "core/card_guard.h"
#include "core/card_layout.h"

namespace sdmate {
namespace {

// A step whose source is the card file as it is before the commit (not the result of an
// earlier step).
bool ReadsAnOriginal(const Operation& operation) {
  return (operation.step == Step::Copy || operation.step == Step::Move) && operation.after < 0;
}

// The upper-cased names of a card directory, each with its own spelling.
using Listing = std::map<std::string, std::string>;

Listing ListingOf(Files& files, const std::string& directory) {
  Listing listing;
  for (const std::string& name :
       files.ListDirectory(directory).value_or(std::vector<std::string>{})) {
    listing.emplace(AsciiUpper(name), name);
  }
  return listing;
}

// The highest number tried for a free name: more than a folder holds, within every kind's
// number text.
constexpr int kHighestFreeNumber = 999;

}  // namespace

std::string CardKeyOf(std::string_view cardPath) { return AsciiUpper(ResolvedCardPath(cardPath)); }

Ownership::Ownership(const std::vector<KindPlan>& plans, char drive, Files& files) {
  // Sources of the computer: one may be a file of this card named another way.
  std::vector<std::string> elsewhere;
  auto source = [&](const std::string& path) {
    if (path.empty()) return;
    if (CardDriveOf(path) == drive) {
      files_.insert(CardKeyOf(path));
    } else if (CardDriveOf(path) == 0) {
      elsewhere.push_back(path);
    }
  };
  for (const KindPlan& plan : plans) {
    for (const Operation& operation : plan.operations) {
      if (ReadsAnOriginal(operation)) source(operation.from);
      switch (operation.step) {
        case Step::Copy:
          if (operation.replaces) files_.insert(CardKeyOf(operation.path));
          break;
        case Step::DeleteFile:
        case Step::WriteTable:
          files_.insert(CardKeyOf(operation.path));
          break;
        case Step::DeleteTree:
          trees_.push_back(CardKeyOf(operation.path) + "\\");
          break;
        default:
          break;
      }
    }
    for (const Need& need : plan.needs) {
      if (!need.added) source(need.source);
    }
  }
  const auto resolved = files.ResolveAllOnDrive(elsewhere);
  for (const auto& path : resolved) {
    if (path && CardDriveOf(*path) == drive) files_.insert(CardKeyOf(*path));
  }
}

bool Ownership::Owns(const std::string& key) const {
  if (files_.contains(key)) return true;
  return std::any_of(trees_.begin(), trees_.end(),
                     [&](const std::string& tree) { return key.starts_with(tree); });
}

void SetAsideStrays(std::vector<KindPlan>& plans, char drive, Files& files) {
  // Only a copy or a move onto the card can meet a stray: a commit without one (titles, deletes,
  // tables) has nothing to set aside, and its files need not be gathered.
  const bool lands = std::any_of(plans.begin(), plans.end(), [&](const KindPlan& plan) {
    return std::any_of(plan.operations.begin(), plan.operations.end(), [&](const Operation& op) {
      return (op.step == Step::Copy || op.step == Step::Move) && !op.replaces &&
             CardDriveOf(op.path) == drive;
    });
  });
  if (!lands) return;
  const Ownership owned(plans, drive, files);
  // Every card path a step or an item names: no stray is renamed onto one of them.
  std::unordered_set<std::string> named;
  for (const KindPlan& plan : plans) {
    for (const Operation& operation : plan.operations) {
      if (!operation.path.empty()) named.insert(CardKeyOf(operation.path));
      if (CardDriveOf(operation.from) == drive) named.insert(CardKeyOf(operation.from));
    }
    for (const Need& need : plan.needs) {
      named.insert(CardKeyOf(need.path));
      if (CardDriveOf(need.source) == drive) named.insert(CardKeyOf(need.source));
    }
  }
  std::map<std::string, Listing> listings;  // by directory key
  std::unordered_set<std::string> seen;
  for (KindPlan& plan : plans) {
    std::vector<Operation> asides;
    for (const Operation& operation : plan.operations) {
      if ((operation.step != Step::Copy && operation.step != Step::Move) || operation.replaces ||
          CardDriveOf(operation.path) != drive) {
        continue;
      }
      const std::string key = CardKeyOf(operation.path);
      if (key.empty() || owned.Owns(key) || !seen.insert(key).second) continue;
      const std::size_t slash = operation.path.rfind('\\');
      const std::string directory = operation.path.substr(0, slash);
      const std::string directoryKey = CardKeyOf(directory);
      auto [at, added] = listings.try_emplace(directoryKey);
      if (added) at->second = ListingOf(files, directory);
      Listing& listing = at->second;
      auto there = listing.find(AsciiUpper(operation.path.substr(slash + 1)));
      if (there == listing.end()) continue;
      const std::string stray = directory + "\\" + there->second;
      if (files.IsDirectory(stray)) continue;  // the step fails; a folder is nobody's target
      const std::string extension(ExtensionOf(there->second));
      for (int k = 1; k <= kHighestFreeNumber; ++k) {
        const std::string name = DataFileName(plan.kind, k, extension);
        const std::string path = directory + "\\" + name;
        if (listing.contains(AsciiUpper(name)) || named.contains(CardKeyOf(path))) continue;
        listing.emplace(AsciiUpper(name), name);
        named.insert(CardKeyOf(path));
        asides.push_back(
            {.step = Step::SetAside, .path = path, .from = stray, .text = text::kStrayNotSetAside});
        break;
      }
    }
    if (asides.empty()) continue;
    // Steps that name an earlier step by its place move down with it.
    const int shift = static_cast<int>(asides.size());
    for (Operation& operation : plan.operations) {
      if (operation.after >= 0) operation.after += shift;
    }
    plan.operations.insert(plan.operations.begin(), std::make_move_iterator(asides.begin()),
                           std::make_move_iterator(asides.end()));
  }
}

}  // namespace sdmate
