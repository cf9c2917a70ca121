// The repair of a damaged card on real card trees, and a commit that writes only what changed.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "card/card_messages.h"
#include "core/content_table.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

const std::string kStill = "PRIVATE/DOCOMO/STILL/";
const std::string kDocuments = "PRIVATE/DOCOMO/DOCUMENT/";

// A missing file, an orphan that follows the naming and one that does not, tables 1, 2 and 4,
// a header naming another directory, a wrong count byte and a table of odd size.
void BuildDamagedCard(CardRig& rig) {
  auto images = Stills({1, 2});
  images[1].writeFile = false;
  rig.card.Folder(MediaKind::Image, 1, "one", images);
  rig.card.File(kStill + "SUD001/STIL0009.JPG", "an orphan");
  rig.card.File(kStill + "SUD001/notes.txt", "a stray file");
  rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0001.JPG", .content = "two"}},
                  "\\PRIVATE\\DOCOMO\\STILL\\ELSEWHERE");
  std::string table = rig.TableBytes(MediaKind::Image, 2);
  table[343] = 7;
  rig.card.RawTable(MediaKind::Image, 2, table);
  rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}});
  rig.card.RawTable(MediaKind::Movie, 1, rig.TableBytes(MediaKind::Movie, 1) + "tail");
  for (int n : {1, 2, 4}) {
    rig.card.Folder(MediaKind::Document, n, "d" + std::to_string(n),
                    {{.name = "PDFDC001.PDF", .content = "document " + std::to_string(n)}});
  }
}

TEST(RepairTest, ADamagedCardIsRepairedWithoutLosingAFileAndTheUndoGivesItBack) {
  CardRig rig;
  BuildDamagedCard(rig);
  const CardState before = StateOf(rig.cardRoot());
  ASSERT_TRUE(rig.Load().loaded);
  bool toldGap = false;
  for (const std::string& text : rig.feedback.Texts()) {
    toldGap = toldGap || text.starts_with(text::kTablesAfterGap);
  }
  EXPECT_TRUE(toldGap);

  const CardSession::RepairOutcome repair = rig.session.Repair({});
  ASSERT_TRUE(repair.ran);
  EXPECT_EQ(repair.preparation.adopted, 1);
  EXPECT_EQ(repair.preparation.foldersBrought, 1);
  // Only the stray file is left as it was.
  ASSERT_EQ(repair.after.size(), 1u) << ProblemText(repair.after[0].problem);
  EXPECT_EQ(repair.after[0].problem, Problem::Orphan);
  EXPECT_TRUE(repair.after[0].path.ends_with("notes.txt"));
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/notes.txt")), "a stray file");

  const CardModel after = rig.LoadFresh();
  EXPECT_EQ(ListedContents(rig, after, MediaKind::Image),
            (std::vector<std::vector<std::string>>{
                {CardBuilder::DefaultContent("STIL0001.JPG"), "an orphan"}, {"two"}}));
  EXPECT_EQ(
      ListedContents(rig, after, MediaKind::Document),
      (std::vector<std::vector<std::string>>{{"document 1"}, {"document 2"}, {"document 4"}}));
  EXPECT_EQ(VisibleItems(after.of(MediaKind::Image).folder(1))[1]->title, "STIL0009.JPG");
  EXPECT_FALSE(fs::exists(rig.Native(kDocuments + "PUD004")));
  EXPECT_EQ(rig.TableBytes(MediaKind::Movie, 1).size(), 512u + 256u);

  ASSERT_TRUE(rig.session.Undo().ran);
  EXPECT_EQ(StateOf(rig.cardRoot()).files, before.files)
      << Describe(before, StateOf(rig.cardRoot()));
}

TEST(RepairTest, ADryRunWritesNothingAndDeletingOrphansDeletesTheOrphanOnly) {
  CardRig rig;
  BuildDamagedCard(rig);
  const CardState before = StateOf(rig.cardRoot());
  rig.Load();
  const CardSession::RepairOutcome dry = rig.session.Repair({}, true);
  EXPECT_FALSE(dry.ran);
  EXPECT_EQ(dry.preparation.adopted, 1);
  EXPECT_EQ(StateOf(rig.cardRoot()), before);

  rig.Load();
  const CardSession::RepairOutcome repair = rig.session.Repair({.deleteOrphans = true});
  ASSERT_TRUE(repair.ran);
  EXPECT_EQ(repair.preparation.deleted, 1);
  EXPECT_FALSE(fs::exists(rig.Native(kStill + "SUD001/STIL0009.JPG")));
  EXPECT_TRUE(fs::exists(rig.Native(kStill + "SUD001/notes.txt")));
  EXPECT_EQ(ListedContents(rig, rig.LoadFresh(), MediaKind::Image)[0],
            std::vector<std::string>{CardBuilder::DefaultContent("STIL0001.JPG")});
}

// A repair the user declines, or only looks at, leaves the model as it was: a later commit of
// another edit neither deletes the orphan nor writes the folders the repair would have brought.
TEST(RepairTest, ADeclinedRepairOrADryRunLeavesTheModelAsItWas) {
  for (const bool dryRun : {false, true}) {
    CardRig rig;
    BuildDamagedCard(rig);
    ASSERT_TRUE(rig.Load().loaded);
    const int foldersBefore = rig.model().of(MediaKind::Document).folderCount();
    const int itemsBefore = rig.model().of(MediaKind::Image).folder(1).itemCount();
    rig.feedback.answers = {Answer::No};
    EXPECT_FALSE(rig.session.Repair({.deleteOrphans = true}, dryRun).ran);
    EXPECT_EQ(rig.model().of(MediaKind::Document).folderCount(), foldersBefore) << dryRun;
    EXPECT_EQ(rig.model().of(MediaKind::Image).folder(1).itemCount(), itemsBefore) << dryRun;
    rig.feedback.answers = {};
    ASSERT_TRUE(rig.session.StoreFolderTitle(MediaKind::Movie, 1, "renamed").changed);
    rig.Update();
    EXPECT_TRUE(fs::exists(rig.Native(kStill + "SUD001/STIL0009.JPG"))) << dryRun;
  }
}

#ifndef _WIN32
std::map<std::string, std::pair<ino_t, struct timespec>> TableIdentities(const CardRig& rig) {
  std::map<std::string, std::pair<ino_t, struct timespec>> identities;
  for (const auto& entry : fs::recursive_directory_iterator(rig.Native("PRIVATE/DOCOMO/TABLE"))) {
    struct stat info {};
    if (entry.is_regular_file() && ::stat(entry.path().c_str(), &info) == 0) {
      identities[entry.path().filename().string()] = {info.st_ino, info.st_mtim};
    }
  }
  return identities;
}

bool Same(const std::pair<ino_t, struct timespec>& a, const std::pair<ino_t, struct timespec>& b) {
  return a.first == b.first && a.second.tv_sec == b.second.tv_sec &&
         a.second.tv_nsec == b.second.tv_nsec;
}

// One title edit on a card of many folders writes (and saves for its undo) one table; the
// others keep their inode and time. A commit without edits on a clean card writes none and says so.
TEST(OnlyWhatChangedTest, ATitleEditWritesOneTableAndACleanCardNone) {
  CardRig rig;
  for (int n = 1; n <= 30; ++n) rig.card.Folder(MediaKind::Image, n, "f", Stills({1, 2}));
  rig.card.Folder(MediaKind::Movie, 1, "m", {});
  rig.card.Folder(MediaKind::Document, 1, "d", {});
  rig.Load();
  const auto before = TableIdentities(rig);
  ASSERT_TRUE(rig.session.StoreItemTitle(MediaKind::Image, 17, 2, "new title").changed);
  const int operations = rig.files.operations;
  const UpdateResult edited = rig.Update();
  ExpectCompleted(rig, edited);
  EXPECT_EQ(rig.files.operations - operations, 1);
  // Its snapshot holds that one table, as it was.
  ASSERT_TRUE(edited.snapshot.has_value());
  EXPECT_EQ(edited.snapshot->savedFiles, 1);
  const auto after = TableIdentities(rig);
  for (const auto& [name, identity] : before) {
    EXPECT_EQ(Same(identity, after.at(name)), name != "SUD017.TBL") << name;
  }

  rig.feedback.shown.clear();
  const int untouched = rig.files.operations;
  rig.Load();
  const UpdateResult plain = rig.Update();
  EXPECT_TRUE(plain.ran);
  EXPECT_FALSE(plain.changed);
  EXPECT_EQ(rig.files.operations, untouched);
  EXPECT_EQ(rig.feedback.shown.back().text, text::kNothingChanged);
  EXPECT_TRUE(rig.session.Snapshots().size() == 1u);  // nothing written, no snapshot
}
#endif

}  // namespace
}  // namespace sdmate::test
