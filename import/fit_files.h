// Which files are fitted to the handset as they are staged, and the fitting of one file with
// what the user sees while it runs. A picture the handset does not show as it is (by the play
// rule of the handset profile) becomes a JPEG; a movie it does not play as it is becomes a 3GP;
// documents are never fitted.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/feedback.h"
#include "core/kind_traits.h"
#include "import/content_type.h"
#include "import/fitting.h"
#include "platform/files.h"

namespace sdmate {

// The extensions (upper case, with the dot) of the files fitting takes for a kind, the kind's
// own types first; empty for documents.
const std::vector<std::string>& FittedExtensions(MediaKind kind);

// The file a fitting left to be staged.
struct PreparedFile {
  enum class What {
    AsIs,     // stage the file as it is (it suits the handset, or fitting is off or cannot run)
    Fitted,   // stage the fitted file at path
    Failed,   // it could not be fitted; the warning naming the file has been shown
    Stopped,  // the user stopped the fitting; nothing of it is left
  };
  What what = What::AsIs;
  std::string path;
};

class FileFitting {
 public:
  FileFitting() = default;
  explicit FileFitting(const FitServices& services) : services_(services) {}

  // Whether a fitter for the kind was handed over.
  bool CanFit(MediaKind kind) const;
  // Fitting as files of the kind are staged: off until switched on, never on without a fitter.
  bool On(MediaKind kind) const { return CanFit(kind) && on_[IndexOf(kind)]; }
  void SetOn(MediaKind kind, bool on) { on_[IndexOf(kind)] = on; }
  // Whether a file of this name is one fitting turns into the kind's own types while it is on.
  // A movie needs the fitter's tools (their absence is told once).
  bool Takes(MediaKind kind, std::string_view name, Feedback& feedback);
  // Whether fitting, were it switched on, would take a file of this name and content: what the
  // type and size messages say of it while it is off.
  bool WouldTake(MediaKind kind, std::string_view name, Content content);

  // The place of the next file in its batch (from 1), for the status the user sees.
  void StartFile(int number, int total) {
    number_ = number;
    total_ = total;
  }
  // The progress of the batch in per cent, the current file done to percent.
  void ShowProgress(int percent, Feedback& feedback) const;

  // For a file of the computer (native path, size bytes, its first bytes identified) that is
  // about to be staged.
  PreparedFile Prepare(MediaKind kind, const std::string& path, std::int64_t size,
                       const Identified& identified, Files& files, Feedback& feedback);

  // Removes every fitted file: after the commit, or when a load replaces the staged items.
  void Clear();

 private:
  // Whether the movie fitter's tools are there; the first time they are not, the user is told.
  bool MovieToolsThere(Feedback& feedback);
  PreparedFile FitPicture(const std::string& path, Files& files, Feedback& feedback);
  PreparedFile FitMovie(const std::string& path, Files& files, Feedback& feedback);
  void ShowStatus(const std::string& path, Feedback& feedback) const;
  // The fitted file checked: it exists and keeps the kind's limit.
  PreparedFile Checked(MediaKind kind, const std::string& path, const FitResult& result,
                       Files& files, Feedback& feedback);

  FitServices services_;
  std::array<bool, 3> on_{};
  bool movieToolsTold_ = false;  // the missing tools are told once a run
  int number_ = 1;
  int total_ = 1;
};

}  // namespace sdmate
