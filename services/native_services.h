// The operating system's services as a program's main builds them: the computer's files and
// drives on one drive table, the handset's text codec, the clock, the places, and the fitters of
// pictures and movies where this build has them. Both programs' mains build one and hand its
// parts to their face.
#pragma once

#include <memory>

#include "card/export_items.h"
#include "card/pictograph_codec.h"
#include "import/fitting.h"
#include "platform/clock.h"
#include "platform/drive_table.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/places.h"
#include "platform/text_codec.h"

namespace sdmate {

class NativeServices {
 public:
  NativeServices();
  ~NativeServices();
  NativeServices(const NativeServices&) = delete;
  NativeServices& operator=(const NativeServices&) = delete;

  Files& files() { return *files_; }
  Drives& drives() { return *drives_; }
  TextCodec& codec() { return codec_; }
  Clock& clock() { return *clock_; }
  const Places& places() const { return places_; }
  // Fitting as files are staged, and converting as movies are exported, each with a scratch
  // folder of this run; no fitter or converter where this build has none.
  const FitServices& fit() const { return fit_; }
  const ExportServices& exporting() const { return exporting_; }

 private:
  struct Workers;

  DriveTable table_;
  std::unique_ptr<Files> files_;
  std::unique_ptr<Drives> drives_;
  std::unique_ptr<TextCodec> cp932_;
  PictographCodec codec_;
  std::unique_ptr<Clock> clock_;
  Places places_;
  std::unique_ptr<Workers> workers_;
  FitServices fit_;
  ExportServices exporting_;
};

}  // namespace sdmate
