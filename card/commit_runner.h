// Carries out a kind's plan on the card without losing what an item still needs. The runner
// knows, for every card file the plan touches, whose content it holds now; before an operation
// would overwrite, delete or move away a content that a later operation still reads or that an
// item needs at the end, that content is first moved to a temporary name inside the kind's data
// directory, and read from there. An operation that cannot be ordered safely is not run and is
// listed among the failures; so is every operation that fails.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "card/commit_plan.h"
#include "core/feedback.h"
#include "platform/files.h"

namespace sdmate {

// A temporary name of the commit whose tag (four hexadecimal digits) is given:
// "~SDM<tag><four hexadecimal digits>.TMP", in any case.
bool IsTemporaryOf(std::string_view fileName, std::string_view tag);

class CommitRunner {
 public:
  CommitRunner(char drive, Files& files, Feedback& feedback, std::vector<std::string>& failures,
               int folderTotal)
      : drive_(drive),
        files_(files),
        feedback_(feedback),
        failures_(failures),
        folderTotal_(folderTotal) {}

  // Runs the plan's operations in order, then puts every needed content that is not at its
  // place yet there, and removes the temporary files. Items whose file reached its place get it
  // as their source in the model.
  void Run(std::vector<KindPlan>& plans);
  // The four hexadecimal digits that make this commit's temporary names its own.
  void SetTemporaryTag(std::string tag) { temporaryTag_ = std::move(tag); }

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

  char drive_;
  Files& files_;
  Feedback& feedback_;
  std::vector<std::string>& failures_;
  int folderTotal_;
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
  std::set<std::pair<MediaKind, int>> failedFolders_;
  std::set<const ItemRow*> stranded_;
  std::vector<std::string> temporaries_;                     // keys of the temporary files made
  std::unordered_map<std::string, std::string> sourceKeys_;  // paths of the computer -> key
  int temporaryNumber_ = 0;
  std::string temporaryTag_ = "0000";
};

}  // namespace sdmate
