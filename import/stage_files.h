// Turning files of the computer into staged new items of a folder: the add button's batch,
// the dropped files' batch and the routine for one file they share.
#pragma once

#include <string>
#include <vector>

#include "core/card_model.h"
#include "core/feedback.h"
#include "import/fit_files.h"
#include "platform/files.h"
#include "platform/text_codec.h"

namespace sdmate {

// Stopped: the batch ends (no room on the card); Cancelled: the user stopped a fitting.
enum class StageOutcome { Staged, Declined, Stopped, Cancelled };

// Stages one file (a native path of the computer) as a new item at the end of the visible
// list of `folder`: lowest free number, the kind's size limit with its question, the
// free-space stop, gauge raised. A file that is missing, unreadable, a directory or 2 GiB or
// larger, whose first bytes are not what its name says, of a type the kind does not take, and a
// 129th item, are refused with a warning naming the file (Declined).
// With fitting on for the kind, a file the handset cannot take as it is is fitted first, without
// the size question: the item reads the fitted file, keeps the original's name as its title and
// the original's time as its stamp; a file that cannot be fitted is Declined with a warning.
StageOutcome StageNewFile(CardModel& model, MediaKind kind, int folder, const std::string& path,
                          Files& files, TextCodec& codec, Feedback& feedback,
                          FileFitting* fitting = nullptr);

struct BatchResult {
  int staged = 0;
  bool ranToEnd = false;   // no Stopped: the update is due
  bool cancelled = false;  // the user stopped the fitting; what was staged before stays
};

// The checks before the add dialog opens: the profile must know the kind, and a missing data
// directory is created when the user answers Yes. False: do not open the dialog.
bool PrepareAdd(const CardModel& model, MediaKind kind, Files& files, Feedback& feedback);
// The files chosen in the add dialog, in order, until one is Stopped. With fitting on, the
// progress shows each file with its place in the batch, and offers 中止.
BatchResult AddFiles(CardModel& model, MediaKind kind, int folder,
                     const std::vector<std::string>& paths, Files& files, TextCodec& codec,
                     Feedback& feedback, FileFitting* fitting = nullptr);
// Dropped files, as the add dialog's. Before the first load nothing is staged.
BatchResult DropFiles(CardModel& model, MediaKind kind, int folder,
                      const std::vector<std::string>& paths, Files& files, TextCodec& codec,
                      Feedback& feedback, FileFitting* fitting = nullptr);

// The open-file dialog's filter of a kind: "待ち受け画像データ|*.JPG;*.GIF;"; with fitting on,
// every type fitting takes.
std::string DialogFilter(MediaKind kind, bool fitting = false);

}  // namespace sdmate
