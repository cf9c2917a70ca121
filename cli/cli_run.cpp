// The commands of sdmate-cli. Every operation on the card goes through the engine's session;
// this file only maps the card, applies the words in order and prints.
#include "cli/cli_run.h"

#include <memory>
#include <nlohmann/json.hpp>

#include "card/card_session.h"
#include "cli/card_audit.h"
#include "cli/card_listing.h"
#include "cli/cli_args.h"
#include "cli/console_feedback.h"
#include "cli/sample_card.h"
#include "cli/staging_files.h"
#include "platform/drive_table.h"
#include "platform/native_path.h"

namespace sdmate::cli {
namespace {

// The operating system's services, sharing one drive table.
struct Platform {
  DriveTable table;
  std::unique_ptr<Drives> drives = MakeNativeDrives(table);
  std::unique_ptr<Files> files = MakeNativeFiles(table);
  std::unique_ptr<TextCodec> codec = MakeNativeTextCodec();

  std::string Native(const std::string& cardPath) const {
    return table.ToNative(cardPath).value_or(cardPath);
  }
};

int UsageError(std::ostream& err, const std::string& error) {
  err << "sdmate-cli: " << error << "\n\n" << UsageText();
  return kExitUsage;
}

// The drive letter CARD stands for: a drive the computer already has ("E:"), or the folder,
// mapped to the next free letter. 0 when CARD is neither.
char CardLetter(Platform& platform, const std::string& card) {
  char letter = DriveLetterOf(card);
  bool driveOnly = card.size() == 2 || (card.size() == 3 && (card[2] == '\\' || card[2] == '/'));
  if (letter != 0 && driveOnly && platform.table.IsAssigned(letter)) return letter;
  if (!platform.files->IsDirectory(card)) return 0;
  return platform.drives->MapFolder(card);
}

int NoCard(std::ostream& err, const std::string& card) {
  err << "sdmate-cli: カードのフォルダがありません: " << card << '\n';
  return kExitUsage;
}

void PrintCard(const Command& command, const CardModel& model, TextCodec& codec,
               std::ostream& out) {
  if (command.json) {
    PrintCardJson(model, codec, out);
  } else {
    PrintCardText(model, codec, out);
  }
}

// Loads the card into the session; false (with the message) when it could not be read whole.
bool LoadWhole(CardSession& session, char letter, const std::string& card, std::ostream& err) {
  if (!session.Load(letter, {.askRemovable = false}).loaded) {
    err << "sdmate-cli: カードを読み込めませんでした: " << card << '\n';
    return false;
  }
  if (!session.model().complete) {
    err << "sdmate-cli: 読み込めないテーブルがあります: " << card << '\n';
    return false;
  }
  return true;
}

int RunList(const Command& command, Platform& platform, char letter, std::ostream& out,
            std::ostream& err) {
  // Never committed: nothing the load might ask to write reaches the card.
  StagingFiles files(*platform.files);
  ConsoleFeedback feedback(err, false);
  CardSession session(files, *platform.drives, *platform.codec, feedback);
  if (!session.Load(letter, {.askRemovable = false}).loaded) {
    err << "sdmate-cli: カードを読み込めませんでした: " << command.card << '\n';
    return kExitUsage;
  }
  PrintCard(command, session.model(), *platform.codec, out);
  return session.model().complete ? kExitOk : kExitUsage;
}

// A path of the computer as the engine gets it. A relative path gets "./" in front, so that
// its first character can never be taken for the card's drive letter.
std::string ComputerPath(const std::string& path) {
  bool absolute = path.starts_with('/') || path.starts_with('\\') || DriveLetterOf(path) != 0;
  return absolute ? path : "./" + path;
}

// Folder and row of an operation against the model as it stands now; empty when in range.
std::string RangeError(const CardModel& model, const EditOp& op) {
  if (op.name == OpName::FolderAdd) return {};
  const KindState& state = model.of(op.kind);
  if (!state.hasFolder(op.folder)) {
    return "フォルダ番号が範囲外です (フォルダは 1〜" + std::to_string(state.folderCount()) +
           "): " + op.words;
  }
  int rows = state.folder(op.folder).visibleCount();
  if (op.row > rows) {
    return "行番号が範囲外です (行は " + std::string(rows == 0 ? "ありません" : "1〜") +
           (rows == 0 ? "" : std::to_string(rows)) + "): " + op.words;
  }
  return {};
}

enum class Outcome { Done, Stopped };

Outcome Apply(CardSession& session, const EditOp& op, std::ostream& err) {
  switch (op.name) {
    case OpName::Add:
      if (!session.PrepareAdd(op.kind)) {
        err << "sdmate-cli: 追加しませんでした: " << op.words << '\n';
        return Outcome::Done;
      }
      return session.AddFiles(op.kind, op.folder, {ComputerPath(op.text)}).ranToEnd
                 ? Outcome::Done
                 : Outcome::Stopped;
    case OpName::Delete:
      session.DeleteItem(op.kind, op.folder, op.row);
      break;
    case OpName::Renumber:
      session.RenumberItems(op.kind, op.folder);
      break;
    case OpName::Up:
      session.MoveItemUp(op.kind, op.folder, op.row);
      break;
    case OpName::Down:
      session.MoveItemDown(op.kind, op.folder, op.row);
      break;
    case OpName::Title:
      session.StoreItemTitle(op.kind, op.folder, op.row, session.codec().FromUtf8(op.text));
      break;
    case OpName::FolderAdd:
      session.AddFolder(op.kind);
      break;
    case OpName::FolderDelete:
      if (!session.DeleteFolder(op.kind, op.folder).deleted) {
        err << "sdmate-cli: フォルダを削除しませんでした: " << op.words << '\n';
      }
      break;
    case OpName::FolderTitle:
      session.StoreFolderTitle(op.kind, op.folder, session.codec().FromUtf8(op.text));
      break;
  }
  return Outcome::Done;
}

int RunEdit(const Command& command, Platform& platform, char letter, std::ostream& out,
            std::ostream& err) {
  StagingFiles files(*platform.files);
  ConsoleFeedback feedback(err, command.yes);
  CardSession session(files, *platform.drives, *platform.codec, feedback);
  if (!LoadWhole(session, letter, command.card, err)) return kExitUsage;

  for (const EditOp& op : command.ops) {
    if (std::string error = RangeError(session.model(), op); !error.empty()) {
      err << "sdmate-cli: カードは変更していません\n";
      return UsageError(err, error);
    }
    if (Apply(session, op, err) == Outcome::Stopped) {
      err << "sdmate-cli: 空き容量が足りないため中止しました。カードは変更していません: "
          << op.words << '\n';
      return kExitProblems;
    }
  }

  if (command.dryRun) {
    PrintCard(command, session.model(), *platform.codec, out);
    err << "sdmate-cli: --dry-run のため、カードは変更していません\n";
    return kExitOk;
  }
  if (!session.updateDue()) {
    PrintCard(command, session.model(), *platform.codec, out);
    err << "sdmate-cli: 変更がないため、カードは更新していません\n";
    return kExitOk;
  }

  bool directoriesMade = files.Commit();
  if (!directoriesMade) err << "sdmate-cli: データ用フォルダを作成できませんでした\n";
  UpdateResult update = session.Update();
  if (!update.ran) {
    err << "sdmate-cli: カードを更新できませんでした: " << command.card << '\n';
    return kExitProblems;
  }
  if (!update.reload.loaded) {
    err << "sdmate-cli: 更新後にカードを読み込めませんでした: " << command.card << '\n';
    return kExitProblems;
  }
  PrintCard(command, session.model(), *platform.codec, out);
  return update.failures.empty() && directoriesMade ? kExitOk : kExitProblems;
}

int RunCheck(const Command& command, Platform& platform, char letter, std::ostream& out) {
  StagingFiles files(*platform.files);  // never committed: the check cannot write
  std::vector<Finding> findings = AuditCard(letter, files);
  TextCodec& codec = *platform.codec;
  if (command.json) {
    nlohmann::ordered_json report = nlohmann::ordered_json::object();
    for (MediaKind kind : kAllKinds) {
      nlohmann::ordered_json list = nlohmann::ordered_json::array();
      for (const Finding& finding : findings) {
        if (finding.kind != kind) continue;
        list.push_back({{"problem", ProblemKey(finding.problem)},
                        {"path", platform.Native(finding.path)},
                        {"detail", codec.ToUtf8(finding.detail)}});
      }
      report[TraitsOf(kind).key] = std::move(list);
    }
    report["problems"] = findings.size();
    out << report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  } else {
    for (const Finding& finding : findings) {
      out << TraitsOf(finding.kind).key << ": " << ProblemText(finding.problem) << ": "
          << platform.Native(finding.path);
      if (!finding.detail.empty()) out << " (" << codec.ToUtf8(finding.detail) << ")";
      out << '\n';
    }
    if (findings.empty()) out << "問題は見つかりませんでした\n";
  }
  return findings.empty() ? kExitOk : kExitProblems;
}

int RunBackup(const Command& command, Platform& platform, char letter, std::ostream& out,
              std::ostream& err) {
  std::string root =
      command.destination.empty() ? ExecutableDirectory() + "BackUp" : command.destination;
  ConsoleFeedback feedback(err, false);
  bool advice = false;
  BackupResult result =
      BackupCard(letter, root, LocalBackupStamp(), advice, *platform.files, feedback);
  if (!result.folder.empty()) out << result.folder << '\n';
  return result.complete ? kExitOk : kExitProblems;
}

int RunMakeSample(const Command& command, Platform& platform, std::ostream& out,
                  std::ostream& err) {
  Files& files = *platform.files;
  if (!files.Exists(command.card)) {
    if (!files.MakeDirectories(command.card)) {
      err << "sdmate-cli: フォルダを作成できません: " << command.card << '\n';
      return kExitUsage;
    }
  } else if (!files.IsDirectory(command.card) || !files.ListDirectory(command.card).empty()) {
    err << "sdmate-cli: 空のフォルダを指定してください: " << command.card << '\n';
    return kExitUsage;
  }
  char letter = CardLetter(platform, command.card);
  if (letter == 0) return NoCard(err, command.card);
  std::string failed = WriteSampleCard(letter, files, *platform.codec);
  if (!failed.empty()) {
    err << "sdmate-cli: 書き込めませんでした: " << platform.Native(failed) << '\n';
    return kExitProblems;
  }
  out << "サンプルカードを作成しました: " << command.card << '\n';
  return kExitOk;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ParseResult parsed = ParseArguments(args);
  if (!parsed.command) return UsageError(err, parsed.error);
  const Command& command = *parsed.command;
  if (command.name == CommandName::Help) {
    out << UsageText();
    return kExitOk;
  }

  Platform platform;
  if (command.name == CommandName::MakeSample) return RunMakeSample(command, platform, out, err);
  char letter = CardLetter(platform, command.card);
  if (letter == 0) return NoCard(err, command.card);
  switch (command.name) {
    case CommandName::List:
      return RunList(command, platform, letter, out, err);
    case CommandName::Edit:
      return RunEdit(command, platform, letter, out, err);
    case CommandName::Check:
      return RunCheck(command, platform, letter, out);
    case CommandName::Backup:
      return RunBackup(command, platform, letter, out, err);
    default:
      return kExitUsage;
  }
}

}  // namespace sdmate::cli
