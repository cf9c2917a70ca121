// Staging files of the computer as new items. The card is not touched here, except for the
// kind's data directory, created when the user agrees before the add dialog opens.
#include "import/stage_files.h"

#include "editing/free_numbers.h"
#include "import/content_type.h"
#include "import/import_messages.h"
#include "platform/native_path.h"

namespace sdmate {
namespace {

inline constexpr std::int64_t kLargestFile = (std::int64_t{1} << 31) - 1;

std::string SkipMessage(std::string_view reason, const std::string& path) {
  return std::string(reason) + "\n追加をスキップします．\n" + path;
}

// An extension the table's three-byte field holds and the card's file system takes: a dot and
// one to three ASCII letters or digits.
bool IsCardExtension(std::string_view extension) {
  if (extension.size() < 2 || extension.size() > 4 || extension[0] != '.') return false;
  for (char c : extension.substr(1)) {
    if (!IsAsciiLetterOrDigit(c)) return false;
  }
  return true;
}

// The refusal of a file whose bytes are not what its name says; empty when they are, or when
// the name is of no type the program knows (the type rule refuses it then).
std::string ContentRefusal(const std::string& path, std::string_view name,
                           const Identified& identified) {
  const std::string_view extension = ExtensionOf(name);
  const Content named = ContentNamed(extension);
  if (named == Content::Unknown || NameFits(extension, identified.content)) return {};
  std::string message =
      std::string(text::kNotWhatNamedBefore) + ContentNoun(named) + text::kNotWhatNamedAfter;
  if (identified.content != Content::Unknown) {
    message += text::kContentIsBefore + std::string(ContentNoun(identified.content)) +
               text::kContentIsAfter;
  }
  return message + text::kSkipped + path;
}

// What fitting would do for the file, below a type or size message while it is off.
std::string FitHint(MediaKind kind, std::string_view name, Content content, FileFitting* fitting) {
  if (fitting == nullptr || !fitting->WouldTake(kind, name, content)) return {};
  return kind == MediaKind::Image ? text::kFitHintPicture : text::kFitHintMovie;
}

// The files of a batch, in order, until one is Stopped or the user stops a fitting batch.
template <typename Stage>
BatchResult RunBatch(MediaKind kind, const std::vector<std::string>& paths, Feedback& feedback,
                     FileFitting* fitting, const Stage& stage) {
  BatchResult result;
  auto busy = feedback.Busy();
  if (fitting == nullptr || !fitting->On(kind)) {
    for (const std::string& path : paths) {
      const StageOutcome outcome = stage(path);
      if (outcome == StageOutcome::Stopped) return result;
      if (outcome == StageOutcome::Staged) ++result.staged;
    }
    result.ranToEnd = true;
    return result;
  }
  // Fitting takes its time: the user sees the file, its place in the batch and the per cent,
  // and may stop between files or in the middle of one. What was staged stays.
  Feedback::CancelGuard cancellable = feedback.Cancellable();
  const int total = static_cast<int>(paths.size());
  for (int number = 1; number <= total; ++number) {
    if (feedback.Cancelled()) {
      result.cancelled = true;
      break;
    }
    fitting->StartFile(number, total);
    fitting->ShowProgress(0, feedback);
    const StageOutcome outcome = stage(paths[static_cast<std::size_t>(number - 1)]);
    if (outcome == StageOutcome::Stopped) {
      feedback.Progress(1, 1);
      return result;
    }
    if (outcome == StageOutcome::Cancelled) {
      result.cancelled = true;
      break;
    }
    if (outcome == StageOutcome::Staged) ++result.staged;
  }
  // A progress at its end closes the progress dialog.
  feedback.Progress(1, 1);
  result.ranToEnd = true;
  return result;
}

}  // namespace

StageOutcome StageNewFile(CardModel& model, MediaKind kind, int folder, const std::string& path,
                          Files& files, TextCodec& codec, Feedback& feedback,
                          FileFitting* fitting) {
  KindState& state = model.of(kind);
  // Before the first load there is no folder and no gauge to stage against.
  if (!model.loaded || model.drive == 0 || !state.hasFolder(folder)) {
    return StageOutcome::Declined;
  }
  FolderSlot& slot = state.folder(folder);

  // A name typed into the dialog or dropped may be no readable file at all.
  if (files.IsDirectory(path)) {
    feedback.Tell(MessageKind::Warning, SkipMessage("下記はファイルではありません．", path));
    return StageOutcome::Declined;
  }
  const std::int64_t size = files.FileSizeOf(path);
  std::string stamp = size < 0 ? std::string() : files.FileStampText(path);
  if (size < 0 || stamp.empty()) {
    feedback.Tell(MessageKind::Warning, SkipMessage("下記のファイルを読み込めません．", path));
    return StageOutcome::Declined;
  }
  if (size > kLargestFile) {
    feedback.Tell(MessageKind::Warning,
                  SkipMessage("下記のファイルは2GB以上のため追加できません．", path));
    return StageOutcome::Declined;
  }
  // What the file holds is told before any rule of type or size: the handset opens a file by its
  // bytes, and shows one that is not what its name says as a broken entry.
  const std::string name = SplitNativePath(path).name;
  const std::optional<std::string> head = files.ReadFile(path, kContentHeadBytes);
  if (!head) {
    feedback.Tell(MessageKind::Warning, SkipMessage("下記のファイルを読み込めません．", path));
    return StageOutcome::Declined;
  }
  const Identified identified = IdentifyContent(*head);
  if (std::string refusal = ContentRefusal(path, name, identified); !refusal.empty()) {
    feedback.Tell(MessageKind::Warning, refusal);
    return StageOutcome::Declined;
  }
  // A type the kind does not take, unless fitting makes it one.
  const FileTypeRule* rule = RuleFor(kind, name);
  if (rule == nullptr && (fitting == nullptr || !fitting->Takes(kind, name, feedback))) {
    feedback.Tell(MessageKind::Warning, TraitsOf(kind).wrongTypeMessage + path +
                                            FitHint(kind, name, identified.content, fitting));
    return StageOutcome::Declined;
  }

  // The file the item reads: the original, or the copy fitted to the handset.
  std::string source = path;
  std::int64_t stagedSize = size;
  bool fitted = false;
  if (fitting != nullptr && fitting->On(kind)) {
    // A full folder is refused before any time goes into fitting.
    if (slot.itemCount() >= kMaxItems) {
      feedback.Tell(MessageKind::Warning,
                    SkipMessage("1つのフォルダに登録できるのは128個までです．", path));
      return StageOutcome::Declined;
    }
    PreparedFile prepared = fitting->Prepare(kind, path, size, identified, files, feedback);
    if (prepared.what == PreparedFile::What::Failed) return StageOutcome::Declined;
    if (prepared.what == PreparedFile::What::Stopped) return StageOutcome::Cancelled;
    if (prepared.what == PreparedFile::What::Fitted) {
      source = std::move(prepared.path);
      stagedSize = files.FileSizeOf(source);
      fitted = true;
    }
  }
  const SplitPath split = SplitNativePath(source);
  std::string extension = AsciiUpper(ExtensionOf(split.name));
  if (!IsCardExtension(extension)) {
    feedback.Tell(MessageKind::Warning,
                  SkipMessage("下記のファイルの拡張子はメモリカードに記録できません．", path));
    return StageOutcome::Declined;
  }
  if (slot.itemCount() >= kMaxItems) {
    feedback.Tell(MessageKind::Warning,
                  SkipMessage("1つのフォルダに登録できるのは128個までです．", path));
    return StageOutcome::Declined;
  }

  const int number =
      LowestFreeNumber(state, slot, kind, CardFolderDirectory(model.drive, kind, folder), files);

  // A fitted file keeps its limit.
  const std::int64_t limit = rule != nullptr ? rule->maxBytes : 0;
  if (!fitted && size > limit) {
    std::string question = "下記のファイルはサイズが規定値を超えています\n追加を実行しますか？\n" +
                           path + FitHint(kind, name, identified.content, fitting);
    if (feedback.Ask(MessageKind::Confirmation, question, Buttons::YesNo) != Answer::Yes) {
      return StageOutcome::Declined;
    }
  }
  if (model.gauge.position() + stagedSize > model.gauge.maximum()) {
    feedback.Tell(MessageKind::Warning, "メモリーカードの空き容量が足りません");
    return StageOutcome::Stopped;
  }
  model.gauge.Add(stagedSize);
  feedback.Refresh();

  // The handset plays ".M4A" sound as a ".3GP" movie.
  if (kind == MediaKind::Movie && extension == ".M4A") extension = ".3GP";

  // Room behind the visible items: the deleted ones move one place further down.
  const int visible = slot.visibleCount();
  for (int j = slot.itemCount(); j > visible; --j) {
    int s = ItemAtRow(slot, j);
    if (s >= 0) slot.items[static_cast<std::size_t>(s)].order = j + 1;
  }

  ItemRow item;
  item.order = visible + 1;
  item.sourceDir = split.directory;
  item.sourceName = split.name;
  // The data directory itself: the update gives the item its folder's directory.
  item.targetDir = CardDataDirectory(model.drive, kind);
  item.targetName = DataFileName(kind, number, extension);
  item.stamp = std::move(stamp);
  // The title is the name the user chose, also for a fitted file. A character the handset's
  // code has no place for became "?": the user is told which name.
  item.title = codec.FromUtf8(name);
  if (std::count(item.title.begin(), item.title.end(), '?') >
      std::count(name.begin(), name.end(), '?')) {
    feedback.Status(text::kTitleCharactersReplaced + name);
  }
  item.size = stagedSize;
  item.deleted = false;
  item.added = true;
  slot.items.push_back(std::move(item));
  return StageOutcome::Staged;
}

bool PrepareAdd(const CardModel& model, MediaKind kind, Files& files, Feedback& feedback) {
  const KindTraits& traits = TraitsOf(kind);
  if (AreaOf(kind).dataDirectory.empty()) {
    feedback.Tell(MessageKind::Warning, traits.notSupportedMessage);
    return false;
  }
  if (!model.loaded || model.drive == 0) return false;
  const std::string directory = CardDataDirectory(model.drive, kind);
  if (!files.IsDirectory(directory)) {
    if (feedback.Ask(MessageKind::Confirmation, traits.missingDirectoryQuestion,
                     Buttons::YesCancel) != Answer::Yes) {
      return false;
    }
    // A failure shows at the update, which creates the directories it writes to.
    files.MakeDirectories(directory);
  }
  return true;
}

BatchResult AddFiles(CardModel& model, MediaKind kind, int folder,
                     const std::vector<std::string>& paths, Files& files, TextCodec& codec,
                     Feedback& feedback, FileFitting* fitting) {
  if (!model.loaded) return {};
  return RunBatch(kind, paths, feedback, fitting, [&](const std::string& path) {
    return StageNewFile(model, kind, folder, path, files, codec, feedback, fitting);
  });
}

BatchResult DropFiles(CardModel& model, MediaKind kind, int folder,
                      const std::vector<std::string>& paths, Files& files, TextCodec& codec,
                      Feedback& feedback, FileFitting* fitting) {
  // A drop before the first load stages nothing and shows nothing.
  if (!model.loaded || !model.of(kind).hasFolder(folder)) return {};
  return RunBatch(kind, paths, feedback, fitting, [&](const std::string& path) {
    return StageNewFile(model, kind, folder, path, files, codec, feedback, fitting);
  });
}

std::string DialogFilter(MediaKind kind, bool fitting) {
  std::string filter = TraitsOf(kind).dialogCaption;
  if (fitting && !FittedExtensions(kind).empty()) {
    for (const std::string& extension : FittedExtensions(kind)) filter += "*" + extension + ";";
    return filter;
  }
  for (const FileTypeRule& rule : AreaOf(kind).rules) filter += "*" + rule.extension + ";";
  return filter;
}

}  // namespace sdmate
