// The program's folders as the system tells them: the user's data folder and the history in it
// (%LOCALAPPDATA%\Sdmate\ on Windows, $XDG_DATA_HOME/sdmate/ elsewhere), and a program that no
// installer set up is not taken for an installed one.
#include "platform/places.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/native_path.h"

namespace sdmate {
namespace {

TEST(PlacesTest, TheHistoryLiesInTheUsersDataFolderAndATestIsNoInstalledProgram) {
  const Places places = SystemPlaces();
#ifdef _WIN32
  const char* local = std::getenv("LOCALAPPDATA");
  ASSERT_NE(local, nullptr);
  std::string expected = local;
  if (expected.back() != '\\') expected.push_back('\\');
  EXPECT_EQ(places.dataDirectory, expected + "Sdmate\\");
  EXPECT_EQ(places.historyDirectory, expected + "Sdmate\\History\\");
#else
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data == nullptr || data[0] != '/') GTEST_SKIP() << "XDG_DATA_HOME is not set";
  EXPECT_EQ(places.dataDirectory, std::string(data) + "/sdmate/");
  EXPECT_EQ(places.historyDirectory, std::string(data) + "/sdmate/history/");
#endif
  EXPECT_FALSE(places.installed);
  EXPECT_EQ(places.programDirectory.back(), NativeSeparator());
}

}  // namespace
}  // namespace sdmate
