// The dialogs of the card's history and check, behind small interfaces so that the window's
// tests can answer them: the list of snapshots to go back to, and the check's findings with the
// repair button.
#pragma once

#include <string>
#include <vector>

#include "card/history.h"

class QWidget;

namespace sdmate {

class HistoryChooser {
 public:
  virtual ~HistoryChooser() = default;
  // The id of the snapshot the user chose to go back to; empty when the dialog is closed.
  virtual std::string Choose(QWidget* parent, const std::vector<Snapshot>& snapshots) = 0;
};

struct CheckChoice {
  bool repair = false;         // "修復" was pressed
  bool deleteOrphans = false;  // the orphans are to be deleted instead of listed
};

class CheckDialog {
 public:
  virtual ~CheckDialog() = default;
  // Shows the findings, one line each (UTF-8); the repair button only when there are any.
  virtual CheckChoice Show(QWidget* parent, const std::vector<std::string>& findings) = 0;
};

// The history in a table: time, what the commit did, what it saved.
class QtHistoryChooser : public HistoryChooser {
 public:
  std::string Choose(QWidget* parent, const std::vector<Snapshot>& snapshots) override;
};

class QtCheckDialog : public CheckDialog {
 public:
  CheckChoice Show(QWidget* parent, const std::vector<std::string>& findings) override;
};

// "更新", "取り消し", "復元", "修復": what a snapshot was taken for.
const char* SnapshotTypeText(const std::string& type);

}  // namespace sdmate
