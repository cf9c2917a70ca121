// The window's figures, offscreen: how long filling a 128-row list takes, and how long the
// program takes from main() until its window is shown. Prints "NAME value N UNIT" lines.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <chrono>
#include <cstdio>

#include "platform/text_codec.h"
#include "tests/support/card_builder.h"
#include "ui/unmain.h"

namespace sdmate::bench {
namespace {

using SteadyClock = std::chrono::steady_clock;

// A loaded card whose first image folder holds 128 items.
struct LoadedWindow {
  LoadedWindow() {
    std::vector<test::TableItem> items;
    for (int p = 1; p <= kMaxItems; ++p) {
      items.push_back({.name = DataFileName(MediaKind::Image, p, ".JPG"),
                       .title = "\x83\x5e\x83\x43\x83\x67\x83\x8b title " + std::to_string(p)});
    }
    test::CardBuilder(dir.path()).Folder(MediaKind::Image, 1, "SUD001", items);
    table.Assign('E', dir.path().string());
    window.MapCardFolder(dir.path().string(), true);
    window.show();
    window.btLoadMemClick();
  }
  test::TempDir dir;
  DriveTable table;
  std::unique_ptr<Files> files = MakeNativeFiles(table);
  test::FakeDrives drives{table};
  std::unique_ptr<TextCodec> codec = MakeNativeTextCodec();
  SilentFeedback feedback;
  FixedClock clock;
  TfrMain window{SessionServices{*files, drives, *codec, clock, feedback, test::TestPlaces(dir)}};
};

LoadedWindow* g_window = nullptr;

void BM_RedrawList(benchmark::State& state) {
  for (auto _ : state) g_window->window.sbFolderChange(MediaKind::Image);
}

class MedianReporter : public benchmark::ConsoleReporter {
 public:
  MedianReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median") median_us = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double median_us = 0;
};

}  // namespace
}  // namespace sdmate::bench

int main(int argc, char** argv) {
  using namespace sdmate;
  using namespace sdmate::bench;
  const SteadyClock::time_point start = SteadyClock::now();
  QApplication app(argc, argv);
  long startupMs = 0;
  {
    DriveTable table;
    auto files = MakeNativeFiles(table);
    test::FakeDrives drives(table);
    auto codec = MakeNativeTextCodec();
    SilentFeedback feedback;
    FixedClock clock;
    test::TempDir places;
    TfrMain window(
        SessionServices{*files, drives, *codec, clock, feedback, test::TestPlaces(places)});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    startupMs = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count());
  }

  LoadedWindow loaded;
  g_window = &loaded;
  // 128 item rows under the heading: the figure is only worth something on a full list.
  if (loaded.window.page(MediaKind::Image).sg->rowCount() != kMaxItems) {
    std::fprintf(stderr, "the card did not load into the window (%d rows, %d items)\n",
                 loaded.window.page(MediaKind::Image).sg->rowCount(),
                 loaded.window.session().model().of(MediaKind::Image).folderCount() > 0
                     ? loaded.window.session().model().of(MediaKind::Image).folder(1).itemCount()
                     : -1);
    return 1;
  }
  std::vector<char*> benchArgs = {argv[0], const_cast<char*>("--benchmark_color=false")};
  int benchArgc = static_cast<int>(benchArgs.size());
  benchmark::Initialize(&benchArgc, benchArgs.data());
  benchmark::RegisterBenchmark("redraw_list", BM_RedrawList)
      ->Repetitions(5)
      ->UseRealTime()
      ->Unit(benchmark::kMicrosecond);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("redraw_list value %.0f us\n", reporter.median_us);
  std::printf("startup value %ld ms\n", startupMs);
  return 0;
}
