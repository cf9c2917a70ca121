// Fitting a 12-megapixel phone photo to a standby image, against decoding the same file once at
// full size: shrink on load should make the fitting cheaper than its floor. Prints
// "fit_12mp_jpeg ratio X.XX" and the two times.
#include <benchmark/benchmark.h>
#include <vips/vips.h>

#include <cstdio>
#include <map>
#include <string>

#include "media/vips_picture_fitter.h"
#include "platform/drive_table.h"
#include "platform/native_path.h"
#include "platform/scratch_folder.h"
#include "tests/media/media_test_files.h"
#include "tests/support/card_builder.h"

namespace sdmate::bench {
namespace {

struct Photo {
  Photo() {
    StartVips();
    const std::optional<std::string> jpeg =
        test::SavePicture(test::MarkedPicture(4000, 3000), "jpeg", 92, 6);
    bytes = jpeg.value_or("");
    path = test::Utf8(dir.path() / "IMG_0001.jpg");
    test::WriteBytes(dir.path() / "IMG_0001.jpg", bytes);
  }
  test::TempDir dir;
  std::string bytes;
  std::string path;
};

Photo& ThePhoto() {
  static Photo photo;
  return photo;
}

void BM_Fit12MpJpeg(benchmark::State& state) {
  DriveTable table;
  std::unique_ptr<Files> files = MakeNativeFiles(table);
  std::unique_ptr<ScratchFolder> scratch = MakeScratchFolder("sdmate-bench");
  VipsPictureFitter fitter(*files);
  const std::string folder = scratch->NewFolder();
  for (auto _ : state) {
    const FitResult result = fitter.Fit(ThePhoto().path, PictureLimits{}, folder);
    if (!result.fitted()) state.SkipWithError(result.reason.c_str());
  }
}

// The file read and decoded once into memory at full size.
void BM_Fit12MpJpegFloor(benchmark::State& state) {
  DriveTable table;
  std::unique_ptr<Files> files = MakeNativeFiles(table);
  for (auto _ : state) {
    std::optional<std::string> bytes = files->ReadFile(ThePhoto().path);
    VipsImage* image = nullptr;
    if (!bytes || vips_jpegload_buffer(bytes->data(), bytes->size(), &image, nullptr) != 0) {
      state.SkipWithError("the photo cannot be decoded");
      break;
    }
    VipsImage* memory = vips_image_copy_memory(image);
    g_object_unref(image);
    if (memory != nullptr) g_object_unref(memory);
  }
}

class MedianReporter : public benchmark::ConsoleReporter {
 public:
  MedianReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median") {
        medians[run.run_name.function_name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;
};

}  // namespace
}  // namespace sdmate::bench

int main(int argc, char** argv) {
  using namespace sdmate::bench;
  std::vector<char*> benchArgs = {argv[0], const_cast<char*>("--benchmark_color=false")};
  for (int i = 1; i < argc; ++i) benchArgs.push_back(argv[i]);
  int benchArgc = static_cast<int>(benchArgs.size());
  benchmark::Initialize(&benchArgc, benchArgs.data());
  auto reps = [](benchmark::internal::Benchmark* b) {
    b->Iterations(3)->Repetitions(5)->UseRealTime()->Unit(benchmark::kMillisecond);
  };
  reps(benchmark::RegisterBenchmark("fit_12mp_jpeg", BM_Fit12MpJpeg));
  reps(benchmark::RegisterBenchmark("fit_12mp_jpeg_floor", BM_Fit12MpJpegFloor));
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double fit = reporter.medians["fit_12mp_jpeg"];
  const double floor = reporter.medians["fit_12mp_jpeg_floor"];
  std::printf("fit_12mp_jpeg ratio %.2f\n", floor > 0 ? fit / floor : 0.0);
  std::printf("fit_12mp_jpeg value %.0f ms (photo %zu bytes)\n", fit, ThePhoto().bytes.size());
  std::printf("fit_12mp_jpeg_floor value %.0f ms\n", floor);
  return 0;
}
