// Tables are untrusted: whatever a header or an entry says, the load and the update touch
// nothing outside the kinds' data and table directories.
#include <gtest/gtest.h>

#include <random>

#include "core/card_guard.h"
#include "core/content_table.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

const std::string kStill = "PRIVATE/DOCOMO/STILL/";

void ExpectNoFailures(const UpdateResult& result) {
  EXPECT_TRUE(result.ran);
  EXPECT_TRUE(result.failures.empty()) << result.failures.front();
}

bool AnyShownContains(const ScriptedFeedback& feedback, const std::string& text) {
  for (const std::string& shown : feedback.Texts()) {
    if (shown.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(CardSafetyTest, HeaderNamingTheRootNeverLetsAFolderDeleteWipeTheCard) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "root", {{.name = "STIL0001.JPG"}}, "\\");
  rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0001.JPG", .content = "two"}});
  rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}});
  rig.card.File("DCIM/100NEC/NEC_0001.JPG", "camera");
  rig.card.File("PRIVATE/DOCOMO/RINGER/RING0001.MID", "ring");
  auto before = SnapshotTree(rig.cardRoot());
  rig.Load();
  EXPECT_TRUE(AnyShownContains(rig.feedback, "SUD001.TBL"));
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 0);  // looked up in SUD001 instead

  ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 1).deleted);
  // What a folder delete following the header would have recorded, and its neighbours. No folder
  // delete records such texts, so they go into a copy of the session's model, and the engine's
  // commit runs on that.
  CardModel model = rig.model();
  model.of(MediaKind::Image).removedFolders = {"E:\\\\", "E:\\", "E:\\\\PRIVATE\\DOCOMO\\STILL",
                                               "E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\..",
                                               "F:\\\\PRIVATE"};
  UpdateResult result = rig.UpdateHandBuilt(model);
  EXPECT_EQ(result.failures.size(), 5u);
  auto after = SnapshotTree(rig.cardRoot());
  for (const auto& [name, bytes] : before) {
    if (name.find("TABLE/") != std::string::npos || name.rfind(kStill, 0) == 0) continue;
    EXPECT_EQ(after[name], bytes) << name;
  }
  EXPECT_EQ(after["STIL0001.JPG"], before["STIL0001.JPG"]);
  EXPECT_EQ(after[kStill + "SUD001/STIL0001.JPG"], "two");
}

TEST(CardSafetyTest, HeaderNamingTheRootThenTheRealFolderDeleteAndCommit) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "root", {{.name = "STIL0001.JPG"}}, "\\");
  rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0001.JPG", .content = "two"}});
  rig.card.File("DCIM/100NEC/NEC_0001.JPG", "camera");
  auto before = SnapshotTree(rig.cardRoot());
  rig.Load();
  ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 1).deleted);
  ExpectNoFailures(rig.Update());
  auto after = SnapshotTree(rig.cardRoot());
  for (const auto& [name, bytes] : before) {
    if (name.find("TABLE/") != std::string::npos || name.rfind(kStill, 0) == 0) continue;
    EXPECT_EQ(after[name], bytes) << name;
  }
  EXPECT_EQ(after[kStill + "SUD001/STIL0001.JPG"], "two");
}

TEST(CardSafetyTest, HeaderNamingAFolderBesideTheCardLeavesItsFileAlone) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "beside", {{.name = "STIL0001.JPG", .content = "mine"}},
                  "\\..\\outside");
  const fs::path outside = rig.base() / "outside" / "STIL0001.JPG";
  ASSERT_EQ(ReadBytes(outside), "mine");
  rig.Load();
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 0);
  // A model that took the header at its word anyway: a move and a delete from beside the card.
  // No load makes it, so it is built on a copy of the session's model and the engine's commit
  // runs on that.
  CardModel model = rig.model();
  FolderSlot& folder = model.of(MediaKind::Image).folder(1);
  const std::string beside = "E:\\\\..\\outside\\";
  folder.items.push_back({.order = 1,
                          .sourceDir = beside,
                          .targetDir = CardFolderDirectory('E', MediaKind::Image, 1),
                          .sourceName = "STIL0001.JPG",
                          .targetName = "STIL0001.JPG",
                          .size = 4});
  folder.items.push_back({.order = 2,
                          .deleted = true,
                          .sourceDir = beside,
                          .targetDir = beside,
                          .sourceName = "STIL0001.JPG",
                          .targetName = "STIL0001.JPG"});
  folder.deletedCount = 1;
  UpdateResult result = rig.UpdateHandBuilt(model);
  EXPECT_EQ(ReadBytes(outside), "mine");
  EXPECT_FALSE(fs::exists(rig.Native(kStill + "SUD001/STIL0001.JPG")));
  ASSERT_FALSE(result.failures.empty());
  EXPECT_NE(LineOf(result.failures[0]).find("outside"), std::string::npos);
}

TEST(CardSafetyTest, EntryWhoseStemClimbsIsNotAName) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i",
                  {{.name = "STIL0001.JPG"}, {.name = "..\\..\\AB.JPG"}, {.name = "STIL0002.JPG"}});
  const fs::path ab = rig.Native("PRIVATE/DOCOMO/AB.JPG");
  ASSERT_TRUE(fs::exists(ab));
  rig.Load();
  const FolderSlot& folder = rig.Folder(MediaKind::Image, 1);
  ASSERT_EQ(folder.itemCount(), 2);
  EXPECT_EQ(folder.items[1].targetName, "STIL0002.JPG");
  EXPECT_TRUE(AnyShownContains(rig.feedback, "SUD001.TBL"));
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 1).changed);
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 1).changed);
  rig.Update();
  EXPECT_TRUE(fs::exists(ab));
  EXPECT_FALSE(fs::exists(rig.Native(kStill + "SUD001/STIL0001.JPG")));
}

// Random header texts and entry names, every card committed after a folder delete: nothing
// outside the kinds' data and table directories changes, on the card or beside it.
TEST(CardSafetyTest, RandomTablesNeverReachOutsideTheirPlace) {
  const std::vector<std::string> pieces = {
      "\\",       "\\",      "\\",     "..",      ".",      "",       "/",        ":",
      "\x01",     "PRIVATE", "DOCOMO", "STILL",   "SUD001", "SUD002", "SD_VIDEO", "PRL001",
      "DOCUMENT", "PUD001",  "DCIM",   "outside", "TABLE",  "AB"};
  const std::vector<std::string> namePieces = {
      "STIL0001", "MOL001", "PDFDC001", "..", "\\", "AB", ".", "/", ":", "*", "X", "JPG", "3GP"};
  std::mt19937 random(20240601);
  auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };
  auto chance = [&](int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
  };
  const std::vector<std::string> allowed = {
      "card/PRIVATE/DOCOMO/STILL/", "card/PRIVATE/DOCOMO/TABLE/STILL/", "card/SD_VIDEO/",
      "card/PRIVATE/DOCOMO/TABLE/SD_VIDEO/", "card/PRIVATE/DOCOMO/DOCUMENT/",
      "card/PRIVATE/DOCOMO/TABLE/DOCUMENT/",
      // the program's own history of the card
      "history/"};
  auto outsideAllowed = [&](const fs::path& base) {
    auto files = SnapshotTree(base);
    std::erase_if(files, [&](const auto& file) {
      for (const std::string& prefix : allowed) {
        if (file.first.rfind(prefix, 0) == 0) return true;
      }
      return false;
    });
    return files;
  };

  int texts = 0;
  for (int card = 0; card < 300; ++card) {
    CardRig rig;
    const MediaKind kind = kAllKinds[static_cast<std::size_t>(card % 3)];
    rig.card.File("DCIM/100NEC/NEC_0001.JPG", "camera");
    rig.card.File("PRIVATE/DOCOMO/AB.JPG", "ab");
    rig.card.File("STIL0001.JPG", "root file");
    WriteBytes(rig.base() / "outside" / "STIL0001.JPG", "outside");
    WriteBytes(rig.base() / "outside" / "SUD001" / "STIL0001.JPG", "outside deep");
    const int folders = std::uniform_int_distribution<int>(2, 3)(random);
    for (int n = 1; n <= folders; ++n) {
      std::string header;
      if (chance(30)) {
        header = FolderDirectoryText(kind, n);
      } else {
        const int parts = std::uniform_int_distribution<int>(0, 8)(random);
        for (int i = 0; i < parts; ++i) header += pick(pieces);
        if (chance(40)) header = AreaOf(kind).dataDirectory + header;
      }
      header = header.substr(0, 64);
      std::string table = BuildTableHeader(header, "f", 3);
      for (int e = 0; e < 3; ++e) {
        std::string stem =
            chance(40) ? DataFileStem(kind, e + 1) : pick(namePieces) + pick(namePieces);
        stem = stem.substr(0, TraitsOf(kind).stemWidth);
        std::string extension = chance(70) ? "JPG" : pick(namePieces).substr(0, 3);
        table += BuildTableEntry(kind, stem + "." + extension, "t", "2005:03:03 14:07:00", 3);
        texts += 2;
        // The entry's file where the header (or the folder's own directory) puts it, as long
        // as that stays inside the test's folder.
        for (const std::string& directory : {header, FolderDirectoryText(kind, n)}) {
          fs::path file = rig.card.Native(directory + "\\" + stem + "." + extension);
          file = file.lexically_normal();
          auto relative = file.lexically_relative(rig.base());
          if (!relative.empty() && *relative.begin() != ".." && !fs::exists(file) &&
              std::string(stem + extension).find('\x01') == std::string::npos) {
            std::error_code error;
            fs::create_directories(file.parent_path(), error);
            // Names the system does not allow (Windows: * ? : and the like) are left out.
            if (!error && !fs::is_directory(file)) TryWriteBytes(file, "xyz");
          }
        }
      }
      ++texts;
      rig.card.RawTable(kind, n, table);
    }
    const auto before = outsideAllowed(rig.base());
    rig.Load();
    ASSERT_GE(rig.model().of(kind).folderCount(), 2);
    rig.session.DeleteItem(kind, 1, 1);  // nothing when the folder shows no item
    rig.session.RenumberItems(kind, 1);
    ASSERT_TRUE(rig.DeleteFolder(kind, std::uniform_int_distribution<int>(1, 2)(random)).deleted);
    // A removed folder's text no folder delete records: on a copy of the session's model, with
    // the engine's commit run on that.
    CardModel model = rig.model();
    std::string removed = "E:";
    for (int i = 0; i < 4; ++i) removed += pick(pieces);
    model.of(kind).removedFolders.push_back(removed);
    rig.UpdateHandBuilt(model);
    ASSERT_EQ(outsideAllowed(rig.base()), before) << "card " << card;
  }
  EXPECT_GT(texts, 2000);
}

}  // namespace
}  // namespace sdmate::test
