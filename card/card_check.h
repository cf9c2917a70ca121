// The card check: every table of the card read as the load reads it, read-only, and what the
// handset and the program would trip over reported: entries whose file is missing, data files
// no table names, tables the load never reaches, headers pointing elsewhere, count bytes and
// sizes that disagree.
#pragma once

#include <string>
#include <vector>

#include "card/card_listings.h"
#include "core/card_layout.h"
#include "platform/files.h"

namespace sdmate {

enum class Problem {
  Unreadable,        // a table that exists but cannot be read
  OddSize,           // size not 512 plus a multiple of 256
  CountMismatch,     // the header's count byte is not the count the size gives
  ForeignDirectory,  // the header names another directory than the folder's own
  BadName,           // an entry whose stem or extension is no file name
  Missing,           // an entry whose file is not on the card
  AfterGap,          // a table numbered after the first missing one: the load never reads it
  Orphan,            // a data file in a folder directory that no table names
  Temporary,         // a file a commit that did not end left under a temporary name
};

struct Finding {
  MediaKind kind;
  Problem problem;
  std::string path;    // card path of the table or file concerned
  std::string detail;  // bytes from the card (Shift-JIS) or numbers, may be empty
};

// Every finding, kind by kind. Reads through files only; never writes.
std::vector<Finding> CheckCard(char drive, Files& files);
// The same on listings a load or a repair shares: each directory is listed once.
std::vector<Finding> CheckCard(char drive, CardListings& listings);

// "orphan", "missing", ...: the name of a problem in machine-readable reports.
const char* ProblemKey(Problem problem);
// The Japanese description of a problem.
const char* ProblemText(Problem problem);

}  // namespace sdmate
