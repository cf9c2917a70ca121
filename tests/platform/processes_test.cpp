// Child processes and the run's scratch folder on the real system: arguments reach the child
// word for word (no shell between), output lines arrive in order while the error stream is kept,
// the time limit kills, and a program that is not there is no crash.
#include "platform/processes.h"

#include <gtest/gtest.h>

#include "platform/native_path.h"
#include "platform/scratch_folder.h"
#include "tests/support/card_builder.h"

namespace sdmate {
namespace {

namespace fs = std::filesystem;

std::string ChildProgram() {
  std::string path = SDMATE_PROCESS_CHILD;
#ifdef _WIN32
  // Cross-built and run under wine, the build machine's folders are on drive Z:.
  if (path.starts_with("/")) path = "Z:" + path;
#endif
  return path;
}

class ProcessesTest : public ::testing::Test {
 protected:
  ProcessResult Child(std::vector<std::string> arguments, std::vector<std::string>* lines = nullptr,
                      std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
    ProcessRun run;
    run.program = ChildProgram();
    run.arguments = std::move(arguments);
    run.timeout = timeout;
    if (lines != nullptr) {
      run.onOutputLine = [lines](std::string_view line) { lines->emplace_back(line); };
    }
    return processes_->Run(run);
  }
  std::unique_ptr<Processes> processes_ = MakeNativeProcesses();
};

TEST_F(ProcessesTest, ArgumentsReachTheChildWordForWord) {
  const std::vector<std::string> words = {
      "two words", "say \"hi\"",        "back\\slash\\", "C:\\dir with space\\",
      "",          "$HOME * ; | & > x", "写真 1.jpg",    "-i"};
  std::vector<std::string> arguments = {"echo"};
  arguments.insert(arguments.end(), words.begin(), words.end());
  std::vector<std::string> lines;

  const ProcessResult result = Child(arguments, &lines);

  ASSERT_TRUE(result.succeeded()) << result.errors;
  ASSERT_EQ(lines.size(), words.size());
  for (std::size_t i = 0; i < words.size(); ++i) EXPECT_EQ(lines[i], "[" + words[i] + "]");
}

TEST_F(ProcessesTest, LinesArriveInOrderWhileTheErrorStreamIsKept) {
  std::vector<std::string> lines;
  const ProcessResult many = Child({"lines", "20000"}, &lines);
  ASSERT_TRUE(many.succeeded());
  ASSERT_EQ(lines.size(), 20000u);
  EXPECT_EQ(lines.front(), "line 1");
  EXPECT_EQ(lines.back(), "line 20000");
  EXPECT_TRUE(many.output.empty()) << "the lines went to the handler";
  EXPECT_LE(many.errors.size(), kKeptErrorBytes);
  EXPECT_TRUE(many.errors.ends_with("note 20000\n") || many.errors.ends_with("note 20000\r\n"));

  const ProcessResult failed = Child({"fail", "3", "the reason"});
  EXPECT_TRUE(failed.started);
  EXPECT_FALSE(failed.succeeded());
  EXPECT_EQ(failed.exitCode, 3);
  EXPECT_EQ(failed.output, "partial line without end");
  EXPECT_NE(failed.errors.find("the reason"), std::string::npos);

  std::vector<std::string> last;
  Child({"fail", "0", "x"}, &last);
  EXPECT_EQ(last, (std::vector<std::string>{"partial line without end"}));
}

TEST_F(ProcessesTest, TheInputIsEmptyAndTheTimeLimitKills) {
  const ProcessResult input = Child({"stdin"});
  EXPECT_TRUE(input.succeeded());
  EXPECT_TRUE(input.output.starts_with("0")) << input.output;

  const auto start = std::chrono::steady_clock::now();
  const ProcessResult slow = Child({"sleep", "20000"}, nullptr, std::chrono::milliseconds(300));
  EXPECT_TRUE(slow.started);
  EXPECT_TRUE(slow.timedOut);
  EXPECT_FALSE(slow.succeeded());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// The user's stop is asked while the child runs, without a time limit, and kills it.
TEST_F(ProcessesTest, AStopAskedForKillsTheChild) {
  ProcessRun run;
  run.program = ChildProgram();
  run.arguments = {"sleep", "20000"};
  int asked = 0;
  run.stopWhen = [&asked] { return ++asked >= 3; };
  const auto start = std::chrono::steady_clock::now();

  const ProcessResult stopped = processes_->Run(run);

  EXPECT_TRUE(stopped.started);
  EXPECT_TRUE(stopped.stopped);
  EXPECT_FALSE(stopped.timedOut);
  EXPECT_FALSE(stopped.succeeded());
  EXPECT_EQ(asked, 3);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(ProcessesTest, AProgramThatIsNotThereIsNotStarted) {
  test::TempDir empty;
  ProcessRun run;
  run.program = test::Utf8(empty.path() / "no-such-program");
  const ProcessResult result = processes_->Run(run);
  EXPECT_FALSE(result.started);
  EXPECT_FALSE(result.succeeded());

  EXPECT_FALSE(processes_->FindProgram("no-such-program", {test::Utf8(empty.path())}));
  const SplitPath child = SplitNativePath(ChildProgram());
  std::string stem = child.name.substr(0, child.name.rfind(".exe"));
  EXPECT_EQ(processes_->FindProgram(stem, {"", test::Utf8(empty.path()), child.directory}),
            ChildProgram());
}

TEST(ScratchFolderTest, HandsOutNewFoldersAndRemovesThemAll) {
  fs::path root;
  {
    std::unique_ptr<ScratchFolder> scratch = MakeScratchFolder("sdmate-test");
    const std::string first = scratch->NewFolder();
    const std::string second = scratch->NewFolder();
    ASSERT_FALSE(first.empty());
    ASSERT_NE(first, second);
    EXPECT_TRUE(first.ends_with(NativeSeparator()));
    EXPECT_TRUE(fs::is_empty(test::PathFromUtf8(second)));
    root = test::PathFromUtf8(first).parent_path().parent_path();
    EXPECT_EQ(root, test::PathFromUtf8(second).parent_path().parent_path());
    test::WriteBytes(test::PathFromUtf8(first) / "fitted.JPG", "bytes");

    scratch->Clear();
    EXPECT_FALSE(fs::exists(root));
    const std::string again = scratch->NewFolder();
    ASSERT_FALSE(again.empty());
    root = test::PathFromUtf8(again).parent_path().parent_path();
    EXPECT_TRUE(fs::exists(root));
  }
  EXPECT_FALSE(fs::exists(root)) << "removed with the object";
}

}  // namespace
}  // namespace sdmate
