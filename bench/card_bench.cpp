// Load and commit measured against the least work each job needs, in the same run: the card
// lives on slow flash, so what counts is the file operations and bytes the program asks for and
// the work it adds on top. Prints "NAME ratio X.XX" and "NAME value N UNIT" lines at the end.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "card/card_session.h"
#include "core/content_table.h"
#include "platform/memory.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"
#include "tests/support/card_builder.h"
#include "tests/support/content_bytes.h"

namespace sdmate::bench {
namespace {

using test::CardBuilder;
using test::FakeDrives;
using test::TableItem;
using test::TempDir;

constexpr char kDrive = 'E';

// Real files, counting what the program asks of them.
class CountingFiles : public Files {
 public:
  explicit CountingFiles(Files& real) : real_(real) {}
  int reads = 0, sizes = 0, tableWrites = 0, dataOperations = 0, flushes = 0;
  std::atomic<int> listings{0};  // counted beside the load's other calls
  void Reset() { reads = sizes = tableWrites = dataOperations = flushes = listings = 0; }
  // Off: no directory is listed with its files, so every file is opened on its own (the load
  // before listings, kept as the baseline).
  bool listFiles = true;

  std::int64_t FileSizeOf(const std::string& path) override {
    ++sizes;
    return real_.FileSizeOf(path);
  }
  std::string FileStampText(const std::string& path) override { return real_.FileStampText(path); }
  std::optional<std::int64_t> ModifiedTime(const std::string& path) override {
    return real_.ModifiedTime(path);
  }
  bool FlushVolume(const std::string& path) override {
    ++flushes;
    return real_.FlushVolume(path);
  }
  bool Exists(const std::string& path) override { return real_.Exists(path); }
  bool IsDirectory(const std::string& path) override { return real_.IsDirectory(path); }
  bool MakeDirectories(const std::string& path) override { return real_.MakeDirectories(path); }
  std::optional<std::string> ReadFile(const std::string& path,
                                      std::size_t maxBytes = kWholeFile) override {
    ++reads;
    return real_.ReadFile(path, maxBytes);
  }
  // Writes to the card are tables; the history's files go to the computer.
  bool WriteFileReplacing(const std::string& path, const std::string& bytes) override {
    if (path.starts_with("E:")) ++tableWrites;
    return real_.WriteFileReplacing(path, bytes);
  }
  bool ShellCopy(const std::string& from, const std::string& to) override {
    if (to.starts_with("E:")) ++dataOperations;
    return real_.ShellCopy(from, to);
  }
  bool ShellMove(const std::string& from, const std::string& to) override {
    ++dataOperations;
    return real_.ShellMove(from, to);
  }
  bool ShellDelete(const std::string& path) override {
    ++dataOperations;
    return real_.ShellDelete(path);
  }
  NewFile CopyToNewFile(const std::string& from, const std::string& to,
                        std::optional<std::int64_t> modified) override {
    return real_.CopyToNewFile(from, to, modified);
  }
  std::optional<std::vector<std::string>> ListDirectory(const std::string& path) override {
    return real_.ListDirectory(path);
  }
  bool ListsBeside() const override { return real_.ListsBeside(); }
  std::optional<std::vector<DirectoryEntry>> ListFiles(const std::string& path) override {
    if (!listFiles) return std::nullopt;
    ++listings;
    return real_.ListFiles(path);
  }
  bool IsPlainPath(const std::string& path) override { return real_.IsPlainPath(path); }
  std::optional<std::string> ResolveOnDrive(const std::string& path) override {
    return real_.ResolveOnDrive(path);
  }
  std::vector<std::optional<std::string>> ResolveAllOnDrive(
      const std::vector<std::string>& paths) override {
    return real_.ResolveAllOnDrive(paths);
  }

 private:
  Files& real_;
};

// One card on disk mapped to drive E, and the session the window drives it through, on counting
// files and silent feedback.
struct Card {
  explicit Card(const std::string& root) {
    table.Assign(kDrive, root);
    drives.total = 8LL * 1024 * 1024 * 1024;
    drives.free = 4LL * 1024 * 1024 * 1024;
  }
  DriveTable table;
  std::unique_ptr<Files> real = MakeNativeFiles(table);
  CountingFiles files{*real};
  FakeDrives drives{table};
  std::unique_ptr<TextCodec> codec = MakeNativeTextCodec();
  FixedClock clock;
  SilentFeedback feedback;
  TempDir places;
  CardSession session{
      SessionServices{files, drives, *codec, clock, feedback, test::TestPlaces(places)}};
};

// 3 kinds x 127 folders x 128 items; room for `room` more items in image folder 1.
void MakeFullCard(const std::string& root, int room = 0) {
  CardBuilder builder(root);
  for (MediaKind kind : kAllKinds) {
    std::string extension = AreaOf(kind).rules.front().extension;
    for (int n = 1; n <= kMaxFolders; ++n) {
      std::vector<TableItem> items;
      items.reserve(kMaxItems);
      const int count = kind == MediaKind::Image && n == 1 ? kMaxItems - room : kMaxItems;
      for (int p = 1; p <= count; ++p) {
        items.push_back({.name = DataFileName(kind, p, extension),
                         .title = "title " + std::to_string(p),
                         .content = std::string(64, 'x')});
      }
      builder.Folder(kind, n, DefaultFolderTitle(kind, n), items);
    }
  }
}

// The least reading of one folder: its table once, and its directory listed once with the size
// of every file (one stat per name, no file opened).
std::int64_t FloorReadFolder(Files& files, MediaKind kind, int n) {
  std::optional<std::string> bytes = files.ReadFile(TablePath(kDrive, kind, n));
  if (!bytes) return -1;
  std::string directory = CardRoot(kDrive);
  directory.append(bytes->data() + 2, std::strlen(bytes->data() + 2));
  std::int64_t total = 0;
  for (const DirectoryEntry& entry :
       files.ListFiles(directory).value_or(std::vector<DirectoryEntry>{})) {
    total += entry.size;
  }
  return total;
}

// The least a load must do: read each table once and list each folder's directory once.
std::int64_t FloorRead(Files& files) {
  std::int64_t total = 0;
  for (MediaKind kind : kAllKinds) {
    for (int n = 1; n <= TraitsOf(kind).lastProbedFolder; ++n) {
      const std::int64_t folder = FloorReadFolder(files, kind, n);
      if (folder < 0) break;
      total += folder;
    }
  }
  return total;
}

std::string g_cards;  // folder with the cards scripts/bench made

void BM_LoadFullCard(benchmark::State& state) {
  Card card(g_cards + "/full");
  for (auto _ : state) benchmark::DoNotOptimize(card.session.Load(kDrive));
}

// The load as it was before listings: every named file opened to learn its size.
void BM_LoadFullCardOld(benchmark::State& state) {
  Card card(g_cards + "/full");
  card.files.listFiles = false;
  for (auto _ : state) benchmark::DoNotOptimize(card.session.Load(kDrive));
}

void BM_LoadFullCardFloor(benchmark::State& state) {
  Card card(g_cards + "/full");
  for (auto _ : state) benchmark::DoNotOptimize(FloorRead(card.files));
}

// 128 files of 300 KB staged into one movie folder and committed.
void BM_CommitNewFiles(benchmark::State& state) {
  TempDir dir;
  std::string cardRoot = (dir.path() / "card").string();
  CardBuilder(cardRoot).Folder(MediaKind::Movie, 1, "PRL001", {});
  Card card(cardRoot);
  std::vector<std::string> sources;
  for (int p = 1; p <= kMaxItems; ++p)
    sources.push_back(g_cards + "/movies/clip" + std::to_string(p) + ".3gp");
  for (auto _ : state) {
    state.PauseTiming();
    card.session.Load(kDrive);
    state.ResumeTiming();
    card.session.AddFiles(MediaKind::Movie, 1, sources);
    card.session.Update();
    state.PauseTiming();
    card.files.ShellDelete("E:\\\\SD_VIDEO\\PRL001");
    CardBuilder(cardRoot).Folder(MediaKind::Movie, 1, "PRL001", {});
    state.ResumeTiming();
  }
}

void BM_CommitNewFilesFloor(benchmark::State& state) {
  TempDir dir;
  Card card((dir.path() / "card").string());
  for (auto _ : state) {
    for (int p = 1; p <= kMaxItems; ++p) {
      card.files.ShellCopy(g_cards + "/movies/clip" + std::to_string(p) + ".3gp",
                           "E:\\\\SD_VIDEO\\PRL001\\" + DataFileName(MediaKind::Movie, p, ".3GP"));
    }
    state.PauseTiming();
    card.files.ShellDelete("E:\\\\SD_VIDEO\\PRL001");
    state.ResumeTiming();
  }
}

std::map<std::string, int> g_counts;

// A full card committed without edits: nothing written, no data file touched, card read back.
void BM_CommitUnchanged(benchmark::State& state) {
  Card card(g_cards + "/full");
  for (auto _ : state) {
    state.PauseTiming();
    card.session.Load(kDrive);
    card.files.Reset();
    state.ResumeTiming();
    card.session.Update();
    state.PauseTiming();
    int folders = 0;
    for (MediaKind kind : kAllKinds) folders += card.session.model().of(kind).folderCount();
    g_counts["commit_unchanged_data_operations"] = card.files.dataOperations;
    g_counts["commit_unchanged_table_writes"] = card.files.tableWrites;
    g_counts["commit_unchanged_folders"] = folders;
    state.ResumeTiming();
  }
}

// The commits of the full card are measured against what no commit can leave out: the read-back
// every commit ends with (the program's own load, whose cost against the bare reads is
// load_full_card's figure) and the writes the edit makes.

// Nothing to write: one load.
void BM_CommitUnchangedFloor(benchmark::State& state) {
  Card card(g_cards + "/full");
  for (auto _ : state) benchmark::DoNotOptimize(card.session.Load(kDrive));
}

// One title edited on the full card: its table is the one write.
void BM_CommitOneTitle(benchmark::State& state) {
  Card card(g_cards + "/full");
  for (auto _ : state) {
    state.PauseTiming();
    card.session.Load(kDrive);
    // Each round's title differs from the one on the card, whatever an earlier run left.
    const ItemRow* item = VisibleItemAtRow(card.session.model().of(MediaKind::Image).folder(64), 5);
    card.session.StoreItemTitle(MediaKind::Image, 64, 5,
                                item && item->title == "edited A" ? "edited B" : "edited A");
    card.files.Reset();
    state.ResumeTiming();
    card.session.Update();
    state.PauseTiming();
    g_counts["commit_one_title_full_card_table_writes"] = card.files.tableWrites;
    g_counts["commit_one_title_full_card_data_operations"] = card.files.dataOperations;
    state.ResumeTiming();
  }
}

// The table written in place of the old one, the card flushed, its folder read back.
void BM_CommitOneTitleFloor(benchmark::State& state) {
  Card card(g_cards + "/full");
  const std::string path = TablePath(kDrive, MediaKind::Image, 64);
  const std::string bytes = *card.files.ReadFile(path);
  for (auto _ : state) {
    card.files.WriteFileReplacing(path, bytes);
    card.real->FlushVolume(CardRoot(kDrive));
    benchmark::DoNotOptimize(FloorReadFolder(*card.real, MediaKind::Image, 64));
  }
}

constexpr int kAdds = 20;
std::string AddSource(int p) { return g_cards + "/adds-source/photo" + std::to_string(p) + ".jpg"; }

// Twenty pictures added to the full card's first folder, committed.
void BM_CommitTwentyAdds(benchmark::State& state) {
  Card card(g_cards + "/adds");
  const std::string table = TablePath(kDrive, MediaKind::Image, 1);
  const std::string original = *card.files.ReadFile(table);
  std::vector<std::string> sources;
  for (int p = 1; p <= kAdds; ++p) sources.push_back(AddSource(p));
  for (auto _ : state) {
    state.PauseTiming();
    card.session.Load(kDrive);
    card.session.AddFiles(MediaKind::Image, 1, sources);
    card.files.Reset();
    state.ResumeTiming();
    card.session.Update();
    state.PauseTiming();
    g_counts["commit_20_adds_full_card_table_writes"] = card.files.tableWrites;
    for (int p = kMaxItems - kAdds + 1; p <= kMaxItems; ++p) {
      card.real->ShellDelete(CardFolderDirectory(kDrive, MediaKind::Image, 1) +
                             DataFileName(MediaKind::Image, p, ".JPG"));
    }
    card.real->WriteFileReplacing(table, original);
    state.ResumeTiming();
  }
}

// The twenty copies, the folder's table written, the card flushed, one load.
void BM_CommitTwentyAddsFloor(benchmark::State& state) {
  Card card(g_cards + "/adds");
  const std::string table = TablePath(kDrive, MediaKind::Image, 1);
  const std::string bytes = *card.files.ReadFile(table);
  for (auto _ : state) {
    for (int p = 1; p <= kAdds; ++p) {
      card.real->ShellCopy(AddSource(p), CardFolderDirectory(kDrive, MediaKind::Image, 1) +
                                             DataFileName(MediaKind::Image, kMaxItems + p, ".JPG"));
    }
    card.real->WriteFileReplacing(table, bytes);
    card.real->FlushVolume(CardRoot(kDrive));
    benchmark::DoNotOptimize(card.session.Load(kDrive));
    state.PauseTiming();
    for (int p = 1; p <= kAdds; ++p) {
      card.real->ShellDelete(CardFolderDirectory(kDrive, MediaKind::Image, 1) +
                             DataFileName(MediaKind::Image, kMaxItems + p, ".JPG"));
    }
    state.ResumeTiming();
  }
}

// Captures the medians of the repetitions for the closing lines.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  MedianReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median")
        medians[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;
};

// Peak memory of this process (VmHWM) in KiB.
long PeakKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmHWM:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 12, '\n');
  }
  return -1;
}

int MakeCards(const std::string& folder) {
  g_cards = folder;
  MakeFullCard(folder + "/full");
  MakeFullCard(folder + "/adds", kAdds);
  for (int p = 1; p <= kAdds; ++p) test::WriteBytes(AddSource(p), test::JpegBytes(20000));
  for (int p = 1; p <= kMaxItems; ++p) {
    std::string clip = test::IsoBytes(24);
    clip.resize(307200, static_cast<char>('a' + p % 26));
    test::WriteBytes(folder + "/movies/clip" + std::to_string(p) + ".3gp", clip);
  }
  return 0;
}

int MeasureMemory(const std::string& folder) {
  long before = PeakKiB();
  Card card(folder + "/full");
  card.session.Load(kDrive);
  long after = PeakKiB();
  std::printf("model_memory value %ld KiB\n", after - before);
  return 0;
}

}  // namespace
}  // namespace sdmate::bench

int main(int argc, char** argv) {
  using namespace sdmate::bench;
  std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "--make-cards") return MakeCards(argv[2]);
  if (mode == "--memory") return MeasureMemory(argv[2]);
  if (mode != "--cards") {
    std::fprintf(stderr, "usage: sdmate_bench --make-cards DIR | --memory DIR | --cards DIR\n");
    return 2;
  }
  g_cards = argv[2];
  // As the program's services do before its first load.
  sdmate::KeepFreedMemory();
  // Google Benchmark's own flags may follow the card folder (--benchmark_filter=...).
  std::vector<char*> benchArgs = {argv[0], const_cast<char*>("--benchmark_color=false")};
  for (int i = 3; i < argc; ++i) benchArgs.push_back(argv[i]);
  int benchArgc = static_cast<int>(benchArgs.size());
  benchmark::Initialize(&benchArgc, benchArgs.data());
  auto reps = [](benchmark::internal::Benchmark* b) {
    b->Iterations(1)->Repetitions(5)->UseRealTime()->Unit(benchmark::kMillisecond);
  };
  reps(benchmark::RegisterBenchmark("load_full_card", BM_LoadFullCard));
  reps(benchmark::RegisterBenchmark("load_full_card_old", BM_LoadFullCardOld));
  reps(benchmark::RegisterBenchmark("load_full_card_floor", BM_LoadFullCardFloor));
  reps(benchmark::RegisterBenchmark("commit_new_files", BM_CommitNewFiles));
  reps(benchmark::RegisterBenchmark("commit_new_files_floor", BM_CommitNewFilesFloor));
  reps(benchmark::RegisterBenchmark("commit_unchanged", BM_CommitUnchanged));
  reps(benchmark::RegisterBenchmark("commit_unchanged_floor", BM_CommitUnchangedFloor));
  reps(benchmark::RegisterBenchmark("commit_one_title_full_card", BM_CommitOneTitle));
  reps(benchmark::RegisterBenchmark("commit_one_title_full_card_floor", BM_CommitOneTitleFloor));
  reps(benchmark::RegisterBenchmark("commit_20_adds_full_card", BM_CommitTwentyAdds));
  reps(benchmark::RegisterBenchmark("commit_20_adds_full_card_floor", BM_CommitTwentyAddsFloor));
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char* name : {"load_full_card", "commit_new_files", "commit_unchanged",
                           "commit_one_title_full_card", "commit_20_adds_full_card"}) {
    if (!reporter.medians.contains(name)) continue;
    double floor = reporter.medians[std::string(name) + "_floor"];
    double measured = reporter.medians[name];
    std::printf("%s ratio %.2f\n", name, floor > 0 ? measured / floor : 0.0);
  }
  if (reporter.medians.contains("load_full_card_old")) {
    const double old = reporter.medians["load_full_card_old"];
    std::printf("load_full_card_vs_old ratio %.2f\n",
                old > 0 ? reporter.medians["load_full_card"] / old : 0.0);
  }
  for (const auto& [name, count] : g_counts) {
    if (name != "commit_unchanged_folders") std::printf("%s value %d\n", name.c_str(), count);
  }
  return 0;
}
