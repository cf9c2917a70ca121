// Programs run as child processes: arguments reach them as they are, their output and status
// come back, and a program that is not there is said to be missing.
#include "platform/child_process.h"

#include <gtest/gtest.h>

namespace sdmate {
namespace {

TEST(ChildProcessTest, ArgumentsOutputAndStatus) {
  // A word with spaces and quotes stays one argument: no shell reads the list.
  const ChildResult run =
      RunChild({"sh", "-c", "printf '%s|' \"$@\"; echo err >&2; exit 3", "sh", "a b", "'c'", ""});
  EXPECT_TRUE(run.ran);
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.output, "a b|'c'||err\n");
  EXPECT_EQ(RunChild({"true"}).status, 0);
}

TEST(ChildProcessTest, AMissingProgramDoesNotRun) {
  const ChildResult run = RunChild({"sdmate-no-such-program"});
  EXPECT_FALSE(run.ran);
  EXPECT_NE(run.output.find("sdmate-no-such-program"), std::string::npos);
  EXPECT_FALSE(RunChild({}).ran);
}

}  // namespace
}  // namespace sdmate
