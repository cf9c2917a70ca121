// The commit runner: carries out the plans of one commit on the card without losing a file.
//
// Contents. The runner does not think in file names but in contents: the bytes a card file
// holds before the first step each get a token, and so does every file of the computer a step
// copies. A step carries a content from one place to another; the runner keeps track of where
// every content is as the steps run.
//
// Its books, and why:
//  - at_ / where_: which content each card path holds now, and the places each content is at.
//    A step reads its content wherever it is by then (its own place, or a temporary).
//  - reads_ / needs_ / needAt_: which contents a later step still reads, and which an item
//    needs at its final place. Before a step would overwrite, delete or move away such a
//    content, the content is first renamed to a temporary of the commit, and read from there.
//  - wanted_ / done_: the content each step carries and whether it succeeded; the second pass
//    of a rename runs only after its first pass did.
//  - failedFolders_ / stranded_: a folder whose table was not written keeps its files where
//    the old table names them; an item whose file did not move needs it where it was.
//  - strays_: contents of files no plan owns (commit_ownership.h).
//
// The rule of ownership: the runner writes over, moves or removes only what a plan owns. A
// file in a step's way that nothing owns was renamed out of the way by a SetAside step of the
// plan; where that could not be done, the step does not run and is listed.
//
// Every file the runner writes from a copy lands whole: copied to a new temporary of the
// commit ("~SDM<tag><n>.TMP" in the plan's temporary directory), flushed, then renamed into
// place (the first pass of a rename writes a name no table lists, which its second pass renames
// into place). After the steps, needed contents still under a temporary go to their places, and the
// temporaries nobody needs are removed. An operation that cannot be ordered safely is not run
// and is listed among the failures; so is every operation that fails.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "card/commit_failure.h"
#include "card/commit_plan.h"
#include "core/feedback.h"
#include "platform/files.h"

namespace sdmate {

// A file no plan owned, renamed out of a step's way.
struct SetAsideFile {
  std::string from;  // card path it had
  std::string to;    // card path it has now
};

// The temporaries a commit makes are named "~SDM<tag><n>.TMP", tag and n four hex digits each:
// true for a name of the commit with that tag (any case).
bool IsTemporaryOf(std::string_view fileName, std::string_view tag);
// The tag a commit without one of its own uses.
inline constexpr char kDefaultTemporaryTag[] = "0000";
// Every directory a commit's temporaries may be in (the plans' temporary directories): each
// kind's data directory for a commit, the card's PRIVATE folder for an undo and a restore.
std::vector<std::string> TemporaryDirectories(char drive);

class CommitRunner {
 public:
  // temporaryTag: four hex digits in the names of the commit's temporaries (empty: "0000").
  CommitRunner(char drive, Files& files, Feedback& feedback, std::vector<Failure>& failures,
               int folderTotal, std::string temporaryTag = {})
      : drive_(drive),
        files_(files),
        feedback_(feedback),
        failures_(failures),
        folderTotal_(folderTotal),
        tag_(temporaryTag.empty() ? std::string(kDefaultTemporaryTag) : std::move(temporaryTag)) {}

  // Runs the plan's operations in order, then puts every needed content that is not at its
  // place yet there, and removes the temporary files. Items whose file reached its place get it
  // as their source in the model.
  void Run(std::vector<KindPlan>& plans);
  // The four hexadecimal digits that make this commit's temporary names its own.
  void SetTemporaryTag(std::string tag) { temporaryTag_ = std::move(tag); }

  // The files no plan owned that were renamed out of a step's way.
  const std::vector<SetAsideFile>& setAside() const { return setAside_; }

 private:
  using Token = int;
  static constexpr Token kAbsent = -1;

  struct NeedState {
    std::string key;  // where the content must be, or empty once it need only survive
    Token token = kAbsent;
    MediaKind kind = MediaKind::Image;
    int folder = 0;
    const ItemRow* item = nullptr;
  };

  void Prepare(const std::vector<KindPlan>& plans);
  void PrepareOperations(const std::vector<Operation>& operations,
                         std::unordered_map<const ItemRow*, Token>& carried);
  void PrepareNeeds(const KindPlan& plan, const std::unordered_map<const ItemRow*, Token>& carried);
  // The plan whose operations run now: its kind, areas and temporary directory.
  void Enter(const KindPlan& plan, std::size_t index);
  bool FolderFailed(MediaKind kind, int folder) const;
  void Execute(Operation& operation, std::size_t index);
  void Transfer(Operation& operation, std::size_t index);
  bool MayTransfer(const Operation& operation);
  bool Locate(const Operation& operation, Token token, std::string& from, std::string& fromKey);
  bool ClearTarget(const Operation& operation, const std::string& toKey);
  bool Carry(const Operation& operation, std::size_t index, Token token, const std::string& from,
             const std::string& fromKey, const std::string& toKey);
  void SetAside(const Operation& operation);
  // Puts a copy of from at target whole: copied to a new temporary of the commit (flushed), then
  // renamed over the target. A failure leaves the system's reason in copyError_.
  bool CopyWhole(const std::string& from, const std::string& target);
  // A name of the commit's own for a temporary in its temporary directory.
  std::string NextTemporary();
  // The content at key is a file no plan owns: nothing may be written over it.
  bool HoldsAStray(const std::string& key) const;
  void DeleteFile(const Operation& operation);
  void DeleteTree(const Operation& operation);
  void FolderDone(const Operation& operation, KindPlan& plan);
  void Settle();
  void FailFolder(int folder);
  void Skip(std::size_t index, const Operation& operation);
  void StayAtSource(NeedState& need);

  // Keys: resolved card paths, upper-cased (the card's file system ignores case).
  std::string KeyOf(const std::string& cardPath) const;
  // The key of a source path: a card path, or a path of the computer that lies on the card;
  // empty for a file elsewhere.
  std::string SourceKeyOf(const std::string& path);
  void ResolveSources(const std::vector<std::string>& paths);
  // The original content of a card path, registered the first time the path is met.
  Token Original(const std::string& key, const std::string& path);
  Token ContentAt(const std::string& key) const;
  void SetContent(const std::string& key, Token token);
  bool MustSurvive(const std::string& key) const;
  bool Displace(const std::string& key);
  std::vector<std::string> KeysBelow(const std::string& directoryKey) const;
  void RegisterTree(const std::string& directory);

  // The path may be changed by the plan: inside the card, no link on the way, and strictly below
  // one of the plan's areas (or one of them itself, where a directory is made).
  bool Guard(const std::string& path, bool mayBeArea = false);
  bool Readable(const std::string& path);
  void Fail(const char* what, const std::string& path);
  // A file operation the system refused: with the target, when there is one, and its reason.
  void FailOnDisk(const char* what, const std::string& path, const std::string& to = {});

  char drive_;
  Files& files_;
  Feedback& feedback_;
  std::vector<Failure>& failures_;
  int folderTotal_;
  std::string tag_;
  int foldersDone_ = 0;

  // The commit.
  MediaKind kind_ = MediaKind::Image;
  std::size_t plan_ = 0;
  std::vector<std::string> areas_;
  std::map<MediaKind, std::vector<std::string>> areasOf_;
  std::string temporaryDirectory_;
  Token nextToken_ = 0;
  std::unordered_map<std::string, Token> original_;    // key -> token of its first content
  std::unordered_map<std::string, Token> at_;          // key -> content now (kAbsent: none)
  std::unordered_map<std::string, std::string> path_;  // key -> the card path to reach it
  std::unordered_map<Token, std::set<std::string>> where_;
  std::unordered_map<Token, int> reads_;           // operations still to read the content
  std::unordered_map<Token, int> needs_;           // items that need the content at the end
  std::unordered_map<std::string, Token> needAt_;  // what must be at a key at the end
  std::vector<NeedState> needList_;
  std::vector<std::unordered_map<int, std::vector<const Need*>>> needsOfFolder_;  // per plan
  std::vector<std::vector<Token>> wanted_;  // per plan and operation: the content it carries
  std::vector<std::vector<char>> done_;     // per plan and operation: it succeeded
  // Per plan and operation: its result is read by a later step (a rename's first pass).
  std::vector<std::vector<char>> intermediate_;
  std::set<std::pair<MediaKind, int>> failedFolders_;
  std::set<const ItemRow*> stranded_;
  std::unordered_set<Token> strays_;  // contents of files no plan owns
  std::vector<SetAsideFile> setAside_;
  FileError copyError_ = FileError::None;
  std::vector<std::string> temporaries_;                     // keys of the temporary files made
  std::unordered_map<std::string, std::string> sourceKeys_;  // paths of the computer -> key
  int temporaryNumber_ = 0;
  std::string temporaryTag_ = "0000";
};

}  // namespace sdmate
