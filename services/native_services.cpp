#include "services/native_services.h"

#include "platform/memory.h"
#include "platform/processes.h"
#include "platform/scratch_folder.h"
#ifdef SDMATE_HAVE_MEDIA
#include "media/media_fitters.h"
#endif

namespace sdmate {

struct NativeServices::Workers {
  // Fitted files wait in a folder of this run, removed when the program ends.
  std::unique_ptr<ScratchFolder> scratch = MakeScratchFolder("sdmate-fit");
  // Movies converted for an export wait in a folder of this run until they are copied.
  std::unique_ptr<ScratchFolder> converted = MakeScratchFolder("sdmate-export");
  std::unique_ptr<Processes> processes = MakeNativeProcesses();
#ifdef SDMATE_HAVE_MEDIA
  MediaFitters fitters;
#endif
};

NativeServices::NativeServices()
    : files_(MakeNativeFiles(table_)),
      drives_(MakeNativeDrives(table_)),
      cp932_(MakeNativeTextCodec()),
      codec_(*cp932_),
      clock_(MakeSystemClock()),
      places_(SystemPlaces()),
      workers_(std::make_unique<Workers>()) {
  KeepFreedMemory();
  fit_.folder = workers_->scratch.get();
  exporting_.folder = workers_->converted.get();
#ifdef SDMATE_HAVE_MEDIA
  workers_->fitters = MakeMediaFitters(*files_, *workers_->processes, places_.programDirectory);
  fit_.pictures = workers_->fitters.pictures.get();
  fit_.movies = workers_->fitters.movies.get();
  exporting_.movies = workers_->fitters.converter.get();
#endif
}

NativeServices::~NativeServices() = default;

}  // namespace sdmate
