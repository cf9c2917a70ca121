// The drive chooser of the right-hand column: its caption, the drives by letter and the entry
// "フォルダを指定…", which lets the user pick a folder that then gets a letter of its own.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;

namespace sdmate {

class FolderPicker;
struct DriveInfo;

class DriveChooser : public QWidget {
  Q_OBJECT

 public:
  // The caption above the list and the list itself.
  static constexpr int kHeight = 38;

  explicit DriveChooser(int width, QWidget* parent = nullptr);
  ~DriveChooser() override;

  // Gives a picked folder a letter; returns 0 when no letter is free. The window's mapper
  // fills the chooser again with the new letter selected.
  using FolderMapper = std::function<char(const std::string& folder)>;
  void SetFolderMapper(FolderMapper mapper) { mapFolder_ = std::move(mapper); }
  // The dialog behind "フォルダを指定…"; tests replace it.
  void SetFolderPicker(std::unique_ptr<FolderPicker> picker);

  // Lists the drives as "E: [label]" (the folder's name for a drive without a volume label)
  // and the folder entry last, and selects drive `select`, or
  // the first drive when it is not among them; nothing is selected when there is no drive.
  void Fill(const std::vector<DriveInfo>& drives, char select);
  // The letter selected, or 0.
  char Selected() const;
  // Selects a listed drive; a letter not listed leaves the selection as it is.
  void Select(char letter);

  QComboBox* curDrive;

 private:
  void curDriveActivated(int index);

  FolderMapper mapFolder_;
  std::unique_ptr<FolderPicker> picker_;
  std::string lastFolder_;  // where the folder dialog opens next
  int lastIndex_ = -1;      // the drive chosen before, for a pick that gives no letter
};

}  // namespace sdmate
