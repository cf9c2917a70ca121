// What a commit of the staged edits will do, told before it runs: how many files of each kind
// are added, deleted, renamed and moved, which folders are made and removed, and every file.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/card_model.h"
#include "platform/files.h"

namespace sdmate {

struct CommitPreview {
  struct Counts {
    int added = 0;
    int deleted = 0;
    int renamed = 0;
    int moved = 0;
  };
  std::array<Counts, 3> items;  // by kind
  int foldersMade = 0;
  int foldersRemoved = 0;
  int tablesWritten = 0;  // titles and order changes land in the tables
  // One line per file and folder, in the words of the summary, with the paths shown as
  // `shownPath` gives them.
  std::vector<std::string> lines;

  bool ChangesTheCard() const;
};

// Plans the commit of a copy of the model (the model itself is left as it is) and counts what
// the plan does. shownPath turns a card path or a path of the computer into the one the user
// reads.
CommitPreview PreviewCommit(const CardModel& model, Files& files,
                            const std::function<std::string(const std::string&)>& shownPath);

// The summary in words: a line per kind with something to do, a line of folders.
std::string PreviewSummary(const CommitPreview& preview);

}  // namespace sdmate
