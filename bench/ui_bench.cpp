// The window's figures, offscreen: how long filling a 128-row list takes, how long the program
// takes from main() until its window is shown, and how long until every picture of a folder of
// 128 photos is shown, made afresh and from the cache. Prints "NAME value N UNIT" lines.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
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
// The services of a window on a card folder, as the program sets them up.
struct WindowServices {
  test::TempDir places;
  DriveTable table;
  std::unique_ptr<Files> files = MakeNativeFiles(table);
  test::FakeDrives drives{table};
  std::unique_ptr<TextCodec> codec = MakeNativeTextCodec();
  SilentFeedback feedback;
  FixedClock clock;
  SessionServices Services() {
    return SessionServices{*files, drives, *codec, clock, feedback, test::TestPlaces(places)};
  }
};

struct LoadedWindow {
  LoadedWindow() {
    std::vector<test::TableItem> items;
    for (int p = 1; p <= kMaxItems; ++p) {
      items.push_back({.name = DataFileName(MediaKind::Image, p, ".JPG"),
                       .title = "\x83\x5e\x83\x43\x83\x67\x83\x8b title " + std::to_string(p)});
    }
    test::CardBuilder(dir.path()).Folder(MediaKind::Image, 1, "SUD001", items);
    services.table.Assign('E', dir.path().string());
    window.MapCardFolder(dir.path().string(), true);
    window.show();
    window.btLoadMemClick();
  }
  test::TempDir dir;
  WindowServices services;
  TfrMain window{services.Services()};
};

LoadedWindow* g_window = nullptr;

// A camera photo's worth of JPEG: 1280 × 960, different for each number.
std::string PhotoBytes(int number) {
  QImage image(1280, 960, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient gradient(0, 0, 1280, 960);
  gradient.setColorAt(0, QColor::fromHsv((number * 37) % 360, 200, 230));
  gradient.setColorAt(1, QColor::fromHsv((number * 91) % 360, 160, 90));
  painter.fillRect(image.rect(), gradient);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG", 85);
  return bytes.toStdString();
}

// Milliseconds from the load of a card of 128 photos until every row shows its picture.
long ThumbnailsShownMs(const std::filesystem::path& card, const QString& cache) {
  WindowServices services;
  TfrMain window(services.Services());
  window.SetThumbnailCache(cache);
  window.MapCardFolder(card.string(), true);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return -1;
  const SteadyClock::time_point start = SteadyClock::now();
  window.btLoadMemClick();
  QTableWidget* list = window.page(MediaKind::Image).sg;
  auto allShown = [list] {
    if (list->rowCount() != kMaxItems) return false;
    for (int row = 0; row < list->rowCount(); ++row) {
      if (list->item(row, 0) == nullptr || list->item(row, 0)->icon().isNull()) return false;
    }
    return true;
  };
  while (!allShown()) {
    if (SteadyClock::now() - start > std::chrono::minutes(2)) return -1;
    QTest::qWait(5);
  }
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count());
}

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
    WindowServices services;
    TfrMain window(services.Services());
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

  test::TempDir photos;
  std::vector<test::TableItem> items;
  for (int p = 1; p <= kMaxItems; ++p) {
    items.push_back({.name = DataFileName(MediaKind::Image, p, ".JPG"), .content = PhotoBytes(p)});
  }
  test::CardBuilder(photos.path() / "card").Folder(MediaKind::Image, 1, "photos", items);
  const QString cache = QString::fromStdString((photos.path() / "cache").string());
  const long cold = ThumbnailsShownMs(photos.path() / "card", cache);
  const long cached = ThumbnailsShownMs(photos.path() / "card", cache);
  if (cold < 0 || cached < 0) {
    std::fprintf(stderr, "the pictures of the 128 photos were not all shown\n");
    return 1;
  }
  std::printf("thumbnails_128_cold value %ld ms\n", cold);
  std::printf("thumbnails_128_cached value %ld ms\n", cached);
  return 0;
}
