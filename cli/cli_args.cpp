// Parsing the command line of sdmate-cli.
#include "cli/cli_args.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace sdmate::cli {
namespace {

// Each operation with the words that follow its name, in this order.
enum class Word { Kind, Folder, Row, ToFolder, File, Text };

struct OpSyntax {
  OpName name;
  std::string_view word;
  std::vector<Word> words;
};

const std::array<OpSyntax, 10>& Syntax() {
  static const std::array<OpSyntax, 10> syntax = {{
      {OpName::Add, "add", {Word::Kind, Word::Folder, Word::File}},
      {OpName::Delete, "delete", {Word::Kind, Word::Folder, Word::Row}},
      {OpName::Renumber, "renumber", {Word::Kind, Word::Folder}},
      {OpName::Up, "up", {Word::Kind, Word::Folder, Word::Row}},
      {OpName::Down, "down", {Word::Kind, Word::Folder, Word::Row}},
      {OpName::Move, "move", {Word::Kind, Word::Folder, Word::Row, Word::ToFolder}},
      {OpName::Title, "title", {Word::Kind, Word::Folder, Word::Row, Word::Text}},
      {OpName::FolderAdd, "folder-add", {Word::Kind}},
      {OpName::FolderDelete, "folder-delete", {Word::Kind, Word::Folder}},
      {OpName::FolderTitle, "folder-title", {Word::Kind, Word::Folder, Word::Text}},
  }};
  return syntax;
}

std::optional<MediaKind> KindOf(std::string_view word) {
  for (MediaKind kind : kAllKinds) {
    if (word == TraitsOf(kind).key) return kind;
  }
  return std::nullopt;
}

// A number from 1, digits only; 0 when the word is not one.
int PositiveNumber(std::string_view word) {
  if (word.empty() || word.size() > 6) return 0;
  int value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

ParseResult Fail(std::string error) { return {std::nullopt, std::move(error)}; }

// Parses the operations of edit from args[at] on.
ParseResult ParseOps(const std::vector<std::string>& args, std::size_t at, Command command) {
  while (at < args.size()) {
    const std::string& name = args[at];
    const OpSyntax* syntax = nullptr;
    for (const OpSyntax& candidate : Syntax()) {
      if (name == candidate.word) syntax = &candidate;
    }
    if (syntax == nullptr) return Fail("不明な操作です: " + name);
    if (args.size() - at - 1 < syntax->words.size()) {
      return Fail("操作の語が足りません: " + name);
    }
    EditOp op;
    op.name = syntax->name;
    op.words = name;
    ++at;
    for (Word word : syntax->words) {
      const std::string& value = args[at++];
      op.words += " " + value;
      switch (word) {
        case Word::Kind:
          if (auto kind = KindOf(value)) {
            op.kind = *kind;
          } else {
            return Fail("不明な種類です (image, movie, document): " + value);
          }
          break;
        case Word::Folder:
          op.folder = PositiveNumber(value);
          if (op.folder == 0) return Fail("フォルダ番号は 1 からの数です: " + value);
          break;
        case Word::ToFolder:
          op.toFolder = PositiveNumber(value);
          if (op.toFolder == 0) return Fail("フォルダ番号は 1 からの数です: " + value);
          break;
        case Word::Row:
          op.row = PositiveNumber(value);
          if (op.row == 0) return Fail("行番号は 1 からの数です: " + value);
          break;
        case Word::File:
        case Word::Text:
          op.text = value;
          break;
      }
    }
    command.ops.push_back(std::move(op));
  }
  return {std::move(command), {}};
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& args) {
  Command command;
  std::size_t at = 0;
  // The history folder may be given before the command, for every command.
  while (at + 1 < args.size() && args[at] == "--history") {
    command.history = args[at + 1];
    at += 2;
  }
  if (at >= args.size()) return Fail("コマンドがありません");
  static const std::pair<const char*, CommandName> kNames[] = {
      {"list", CommandName::List},     {"edit", CommandName::Edit},
      {"check", CommandName::Check},   {"repair", CommandName::Repair},
      {"backup", CommandName::Backup}, {"history", CommandName::History},
      {"undo", CommandName::Undo},     {"restore", CommandName::Restore},
      {"export", CommandName::Export}, {"make-sample", CommandName::MakeSample}};
  const std::string& name = args[at++];
  if (name == "help" || name == "--help" || name == "-h") return {command, {}};
  if (name == "--version") {
    command.name = CommandName::Version;
    return {command, {}};
  }
  bool known = false;
  for (const auto& [word, value] : kNames) {
    if (name == word) {
      command.name = value;
      known = true;
    }
  }
  if (!known) return Fail("不明なコマンドです: " + name);

  // Options come between the command and CARD; after CARD every word belongs to the
  // operations, so a title may begin with "--".
  using C = CommandName;
  auto takes = [&](std::initializer_list<CommandName> names) {
    return std::find(names.begin(), names.end(), command.name) != names.end();
  };
  bool no = false;
  for (; at < args.size() && args[at].starts_with("--"); ++at) {
    const std::string& option = args[at];
    if (option == "--json" && takes({C::List, C::Edit, C::Check, C::Repair, C::History})) {
      command.json = true;
    } else if (option == "--yes" && takes({C::Edit, C::Repair, C::Undo, C::Restore})) {
      command.yes = true;
    } else if (option == "--no" && takes({C::Edit})) {
      no = true;
    } else if (option == "--dry-run" && takes({C::Edit, C::Repair, C::Undo, C::Restore})) {
      command.dryRun = true;
    } else if (option == "--delete-orphans" && takes({C::Repair})) {
      command.deleteOrphans = true;
    } else if (option == "--history" && at + 1 < args.size()) {
      command.history = args[++at];
    } else if (option == "--fit" && takes({C::Edit})) {
      command.fit = true;
    } else if (option == "--convert" && takes({C::Export})) {
      command.convert = true;
    } else if (option == "--kind" && takes({C::Export}) && at + 1 < args.size()) {
      command.exportKind = args[++at];
      if (command.exportKind != "camera" && !KindOf(command.exportKind)) {
        return Fail("不明な種類です (image, movie, document, camera): " + command.exportKind);
      }
    } else {
      return Fail("不明なオプションです: " + option);
    }
  }
  if (command.yes && no) return Fail("--yes と --no は同時に指定できません");
  if (command.name == CommandName::Restore) {
    if (at >= args.size()) return Fail("BACKUP がありません");
    command.backup = args[at++];
  }
  if (at >= args.size()) return Fail("CARD がありません");
  command.card = args[at++];
  if (command.card.empty()) return Fail("CARD が空です");

  const std::size_t rest = args.size() - at;
  switch (command.name) {
    case CommandName::Edit:
      // Without operations, the card is committed as it is.
      if (rest == 0) return {std::move(command), {}};
      return ParseOps(args, at, std::move(command));
    case CommandName::Export:
      if (rest == 0) return Fail("DEST がありません");
      if (rest > 1) return Fail("余分な語があります: " + args[at + 1]);
      command.destination = args[at];
      break;
    case CommandName::Backup:
    case CommandName::Undo:
      if (rest > 1) return Fail("余分な語があります: " + args[at + 1]);
      if (rest == 1) {
        (command.name == CommandName::Backup ? command.destination : command.snapshot) = args[at];
      }
      break;
    default:
      if (rest > 0) return Fail("余分な語があります: " + args[at]);
      break;
  }
  return {std::move(command), {}};
}

std::string UsageText() {
  return "使い方:\n"
         "  sdmate-cli list [--json] CARD\n"
         "  sdmate-cli edit [--yes|--no] [--dry-run] [--fit] [--json] CARD [OP...]\n"
         "  sdmate-cli check [--json] CARD\n"
         "  sdmate-cli repair [--yes] [--dry-run] [--json] [--delete-orphans] CARD\n"
         "  sdmate-cli backup CARD [DEST]\n"
         "  sdmate-cli history [--json] CARD\n"
         "  sdmate-cli undo [--yes] [--dry-run] CARD [ID]\n"
         "  sdmate-cli restore [--yes] [--dry-run] BACKUP CARD\n"
         "  sdmate-cli export [--kind KIND|camera] [--convert] CARD DEST\n"
         "  sdmate-cli make-sample CARD\n"
         "  sdmate-cli --help | --version\n"
         "  どのコマンドにも --history DIR (更新の履歴のフォルダ) を付けられます。\n"
         "\n"
         "CARD はカードのルートのフォルダ、KIND は image, movie, document、\n"
         "FOLDER と ROW は 1 から数えます (ROW は一覧の行)。\n"
         "--fit: add する画像とムービーを携帯電話に合わせて変換します (画像は 240x320 以内・\n"
         "100KB 以下の JPEG、ムービーは 176x144・300KB 以下の 3GP。ムービーには ffmpeg が必要)。\n"
         "export: カードのすべてを DEST/<種類>/<番号 タイトル>/ にタイトルの名前で書き出します\n"
         "(カメラ画像は DEST/カメラ画像/<フォルダ>/ "
         "に撮影日時の名前で)。同じファイルは書き出しません。\n"
         "--convert: パソコンで再生できない形式のムービーを MP4 (H.264/AAC) に変換します (ffmpeg "
         "が必要)。\n"
         "\n"
         "OP:\n"
         "  add KIND FOLDER FILE           ファイルを追加\n"
         "  delete KIND FOLDER ROW         項目を削除\n"
         "  renumber KIND FOLDER           リナンバ\n"
         "  up KIND FOLDER ROW             上へ\n"
         "  down KIND FOLDER ROW           下へ\n"
         "  move KIND FOLDER ROW TO_FOLDER 別のフォルダへ移動 (空いている最小の番号で後ろに)\n"
         "  title KIND FOLDER ROW TEXT     項目のタイトルを変更\n"
         "  folder-add KIND                フォルダを追加\n"
         "  folder-delete KIND FOLDER      フォルダを削除\n"
         "  folder-title KIND FOLDER TEXT  フォルダのタイトルを変更\n"
         "\n"
         "OP がなければ、カードをそのまま更新します (ファイルのない項目は外れます)。\n"
         "\n"
         "終了コード: 0 成功、1 check が問題を見つけた / 修復できないものがある / 更新の失敗 /\n"
         "            空き容量不足で中止 / 質問に --yes がなく書き込まなかった / "
         "取り消しを断った、\n"
         "            2 使い方の誤り / カードがない / カードを読めない\n";
}

}  // namespace sdmate::cli
