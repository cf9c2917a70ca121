// The command line's syntax: words per operation, options, and what is left to the card.
#include "cli/cli_args.h"

#include <gtest/gtest.h>

namespace sdmate::cli {
namespace {

TEST(CliArgs, EditTakesOptionsThenCardThenOperationsWithTheirWords) {
  ParseResult parsed = ParseArguments({"edit",
                                       "--yes",
                                       "--dry-run",
                                       "card",
                                       "add",
                                       "movie",
                                       "2",
                                       "a.3gp",
                                       "title",
                                       "image",
                                       "1",
                                       "3",
                                       "--not-an-option",
                                       "folder-add",
                                       "document",
                                       "renumber",
                                       "image",
                                       "12",
                                       "folder-title",
                                       "movie",
                                       "1",
                                       "旅行"});
  ASSERT_TRUE(parsed.command) << parsed.error;
  const Command& command = *parsed.command;
  EXPECT_TRUE(command.yes);
  EXPECT_TRUE(command.dryRun);
  EXPECT_FALSE(command.json);
  EXPECT_EQ(command.card, "card");
  ASSERT_EQ(command.ops.size(), 5u);
  EXPECT_EQ(command.ops[0].name, OpName::Add);
  EXPECT_EQ(command.ops[0].kind, MediaKind::Movie);
  EXPECT_EQ(command.ops[0].folder, 2);
  EXPECT_EQ(command.ops[0].text, "a.3gp");
  EXPECT_EQ(command.ops[1].row, 3);
  EXPECT_EQ(command.ops[1].text, "--not-an-option");  // after CARD, words are the operations'
  EXPECT_EQ(command.ops[2].name, OpName::FolderAdd);
  EXPECT_EQ(command.ops[2].kind, MediaKind::Document);
  EXPECT_EQ(command.ops[3].folder, 12);
  EXPECT_EQ(command.ops[4].text, "旅行");
}

// edit without operations commits the card as it is; the history folder may come first.
TEST(CliArgs, TakesTheHistoryCommandsAndAnEditWithoutOperations) {
  ParseResult edit = ParseArguments({"edit", "--yes", "card"});
  ASSERT_TRUE(edit.command) << edit.error;
  EXPECT_TRUE(edit.command->ops.empty());
  ParseResult undo =
      ParseArguments({"--history", "/h", "undo", "--dry-run", "card", "20261208-101010"});
  ASSERT_TRUE(undo.command) << undo.error;
  EXPECT_EQ(undo.command->name, CommandName::Undo);
  EXPECT_EQ(undo.command->history, "/h");
  EXPECT_EQ(undo.command->snapshot, "20261208-101010");
  ParseResult restore = ParseArguments({"restore", "--yes", "/backup", "card"});
  ASSERT_TRUE(restore.command) << restore.error;
  EXPECT_EQ(restore.command->backup, "/backup");
  EXPECT_EQ(restore.command->card, "card");
  ParseResult repair =
      ParseArguments({"repair", "--delete-orphans", "--json", "--history", "/h", "card"});
  ASSERT_TRUE(repair.command) << repair.error;
  EXPECT_TRUE(repair.command->deleteOrphans && repair.command->json);
  EXPECT_EQ(repair.command->history, "/h");
}

TEST(CliArgs, RefusesWhatIsNoCommand) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"frob", "card"},
      {"list"},
      {"list", "--yes", "card"},
      {"list", "card", "extra"},
      {"edit", "--yes", "--no", "card", "folder-add", "image"},
      {"edit", "card", "delete", "image", "1"},
      {"edit", "card", "delete", "image", "0", "1"},
      {"edit", "card", "up", "image", "1", "x"},
      {"edit", "card", "renumber", "picture", "1"},
      {"edit", "card", "rename", "image", "1"},
      {"backup", "card", "dest", "more"},
      {"make-sample", "card", "more"},
      {"repair", "--no", "card"},
      {"undo", "card", "id", "more"},
      {"restore", "card"},
      {"history", "--yes", "card"},
      {"--history"},
      {"export", "card"},
      {"export", "card", "dest", "more"},
      {"export", "--kind", "picture", "card", "dest"},
      {"export", "--kind"},
      {"export", "--fit", "card", "dest"},
      {"list", "--convert", "card"},
  };
  for (const auto& args : bad) {
    std::string line;
    for (const std::string& word : args) line += word + " ";
    ParseResult parsed = ParseArguments(args);
    EXPECT_FALSE(parsed.command) << line;
    EXPECT_FALSE(parsed.error.empty()) << line;
  }
}

TEST(CliArgs, BackupTakesAnOptionalDestinationAndExportOne) {
  EXPECT_EQ(ParseArguments({"backup", "card"}).command->destination, "");
  EXPECT_EQ(ParseArguments({"backup", "card", "/tmp/b"}).command->destination, "/tmp/b");
  ParseResult exported = ParseArguments({"export", "--convert", "--kind", "camera", "card", "/d"});
  ASSERT_TRUE(exported.command) << exported.error;
  EXPECT_EQ(exported.command->name, CommandName::Export);
  EXPECT_TRUE(exported.command->convert);
  EXPECT_EQ(exported.command->exportKind, "camera");
  EXPECT_EQ(exported.command->card, "card");
  EXPECT_EQ(exported.command->destination, "/d");
  EXPECT_EQ(ParseArguments({"export", "--kind", "movie", "c", "d"}).command->exportKind, "movie");
}

}  // namespace
}  // namespace sdmate::cli
