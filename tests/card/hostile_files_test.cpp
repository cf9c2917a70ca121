// What a card may hold that is no plain file: symbolic links out of the card, pipes, devices.
// None of it hangs the program, and nothing outside the card is ever read for a copy, written
// or deleted through it.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "card/card_check.h"
#include "card/card_messages.h"
#include "core/content_table.h"
#include "tests/support/card_rig.h"
#include "tests/support/content_bytes.h"

namespace sdmate::test {
namespace {

const std::string kStill = "PRIVATE/DOCOMO/STILL/";

#ifdef _WIN32
#define SKIP_WITHOUT_POSIX() GTEST_SKIP() << "links and pipes of a POSIX system"
#else
#define SKIP_WITHOUT_POSIX() (void)0
#endif

bool AnyFailureContains(const UpdateResult& result, const std::string& text) {
  for (const Failure& failure : result.failures) {
    if (LineOf(failure).find(text) != std::string::npos) return true;
  }
  return false;
}

// A folder directory that is a link to a folder of the computer: the load lists what is there,
// and the commit neither deletes the deleted item's file there nor renames the other one.
TEST(HostileFilesTest, AFolderDirectoryThatIsALinkIsNeverWrittenThrough) {
  SKIP_WITHOUT_POSIX();
  CardRig rig;
  const fs::path outside = rig.base() / "outside";
  WriteBytes(outside / "STIL0001.JPG", "mine");
  WriteBytes(outside / "STIL0002.JPG", "also mine");
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2}));
  fs::remove_all(rig.Native(kStill + "SUD001"));
  fs::create_directory_symlink(outside, rig.Native(kStill + "SUD001"));
  rig.Load();
  ASSERT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 2);
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 1).changed);
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  const UpdateResult result = rig.Update();
  EXPECT_TRUE(AnyFailureContains(result, text::kOutsideTheCard));
  EXPECT_EQ(SnapshotTree(outside), (std::map<std::string, std::string>{
                                       {"STIL0001.JPG", "mine"}, {"STIL0002.JPG", "also mine"}}));
}

// A data file that is a link to a file of the computer: a new file is never copied through it,
// and deleting its item deletes nothing outside.
TEST(HostileFilesTest, ADataFileThatIsALinkIsNeitherWrittenNorFollowed) {
  SKIP_WITHOUT_POSIX();
  CardRig rig;
  const fs::path victim = rig.base() / "victim.txt";
  WriteBytes(victim, "precious");
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2}));
  fs::remove(rig.Native(kStill + "SUD001/STIL0002.JPG"));
  fs::create_symlink(victim, rig.Native(kStill + "SUD001/STIL0002.JPG"));
  rig.Load();
  ASSERT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 2);
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 2).changed);
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 1, {rig.ComputerFile("new.jpg", JpegBytes(300))}).staged,
            1);
  rig.Update();
  EXPECT_EQ(ReadBytes(victim), "precious");
}

// A pipe where a table or a data file should be, a table that is a link to an endless device,
// and a pipe chosen to be added: each is refused at once, as a file that cannot be read.
TEST(HostileFilesTest, PipesAndDevicesAreRefusedWithoutWaiting) {
  SKIP_WITHOUT_POSIX();
#ifndef _WIN32
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2}));
  fs::remove(rig.Native(kStill + "SUD001/STIL0002.JPG"));
  ASSERT_EQ(::mkfifo(rig.Native(kStill + "SUD001/STIL0002.JPG").c_str(), 0600), 0);
  rig.card.Folder(MediaKind::Movie, 1, "m", {});
  fs::remove(rig.Native("PRIVATE/DOCOMO/TABLE/SD_VIDEO/PRL001.TBL"));
  ASSERT_EQ(::mkfifo(rig.Native("PRIVATE/DOCOMO/TABLE/SD_VIDEO/PRL001.TBL").c_str(), 0600), 0);
  if (fs::exists("/dev/zero")) {
    fs::create_directories(rig.Native("PRIVATE/DOCOMO/TABLE/DOCUMENT"));
    fs::create_symlink("/dev/zero", rig.Native("PRIVATE/DOCOMO/TABLE/DOCUMENT/PUD001.TBL"));
  }
  ASSERT_TRUE(rig.Load().loaded);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 1);  // the pipe is no file of the card
  EXPECT_FALSE(rig.model().complete);  // the tables that cannot be read are told
  bool toldMovie = false;
  for (const std::string& text : rig.feedback.Texts()) {
    toldMovie = toldMovie || text.find("PRL001.TBL") != std::string::npos;
  }
  EXPECT_TRUE(toldMovie);

  const fs::path pipe = rig.base() / "pipe.jpg";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  rig.feedback.shown.clear();
  EXPECT_EQ(rig.AddFiles(MediaKind::Image, 1, {Utf8(pipe)}).staged, 0);
  ASSERT_EQ(rig.feedback.shown.size(), 1u);
  EXPECT_NE(rig.feedback.shown[0].text.find(Utf8(pipe)), std::string::npos);
#endif
}

#ifndef _WIN32
// The items of a folder as the load read them: name and size.
std::vector<std::pair<std::string, std::int64_t>> NamesAndSizes(const FolderSlot& folder) {
  std::vector<std::pair<std::string, std::int64_t>> items;
  for (const ItemRow& item : folder.items) items.emplace_back(item.sourceName, item.size);
  return items;
}
#endif

std::vector<std::string> Findings(CardRig& rig) {
  std::vector<std::string> lines;
  for (const Finding& finding : CheckCard(CardRig::kDrive, rig.files)) {
    lines.push_back(std::string(ProblemKey(finding.problem)) + " " +
                    finding.path.substr(finding.path.rfind('\\') + 1));
  }
  return lines;
}

// Names a table lists that are no plain file: a link to a picture beside it, a pipe, a folder
// and a link that leads nowhere. Read from one listing of the folder they load as opening each
// name did: the link is its picture, the others are missing (and no orphans).
TEST(HostileFilesTest, ListedNamesThatAreNoPlainFileLoadAsOpeningThemDid) {
  SKIP_WITHOUT_POSIX();
#ifndef _WIN32
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2, 3, 4, 5}));
  const fs::path folder = rig.Native(kStill + "SUD001");
  for (const char* name : {"STIL0002.JPG", "STIL0003.JPG", "STIL0004.JPG", "STIL0005.JPG"}) {
    fs::remove(folder / name);
  }
  WriteBytes(folder / "picture.bin", "the linked picture");
  fs::create_symlink("picture.bin", folder / "STIL0002.JPG");
  ASSERT_EQ(::mkfifo((folder / "STIL0003.JPG").c_str(), 0600), 0);
  fs::create_directory(folder / "STIL0004.JPG");
  fs::create_symlink("nowhere.jpg", folder / "STIL0005.JPG");

  const std::vector<std::pair<std::string, std::int64_t>> expected = {
      {"STIL0001.JPG",
       static_cast<std::int64_t>(CardBuilder::DefaultContent("STIL0001.JPG").size())},
      {"STIL0002.JPG", 18}};
  ASSERT_TRUE(rig.Load().loaded);
  EXPECT_EQ(NamesAndSizes(rig.Folder(MediaKind::Image, 1)), expected);
  EXPECT_EQ(rig.files.listings.load(), 1);  // the one folder directory, once
  // Every name opened on its own, as before listings: the same items.
  rig.files.listFiles = false;
  ASSERT_TRUE(rig.Load().loaded);
  EXPECT_EQ(NamesAndSizes(rig.Folder(MediaKind::Image, 1)), expected);
  rig.files.listFiles = true;

  EXPECT_EQ(Findings(rig),
            (std::vector<std::string>{"missing STIL0003.JPG", "missing STIL0004.JPG",
                                      "missing STIL0005.JPG", "orphan picture.bin"}));
#endif
}

// A folder directory that cannot be listed is read name by name, as before listings: its items
// load, and the check finds nothing it cannot see.
TEST(HostileFilesTest, AFolderThatCannotBeListedIsReadNameByName) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2}));
  rig.card.Folder(MediaKind::Image, 2, "ii", Stills({1}));
  rig.card.File("PRIVATE/DOCOMO/STILL/SUD001/STIL0009.JPG", "a stray");
  rig.card.File("PRIVATE/DOCOMO/STILL/SUD002/STIL0009.JPG", "a stray");
  rig.files.unlistableContaining = "SUD001";
  ASSERT_TRUE(rig.Load().loaded);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 2);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 2).itemCount(), 1);
  EXPECT_EQ(Findings(rig), std::vector<std::string>{"orphan STIL0009.JPG"});
}

}  // namespace
}  // namespace sdmate::test
