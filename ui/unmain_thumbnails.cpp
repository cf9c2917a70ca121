// The main window's pictures of the items: the lists' first column and the preview of movies
// and documents. Pictures are asked for as rows are drawn; the ones in sight go first.
#include <QPixmap>
#include <QTableWidget>
#include <QTimer>

#include "ui/artwork.h"
#include "ui/camera_page.h"
#include "ui/preview.h"
#include "ui/unmain.h"

namespace sdmate {
namespace {

// The lists' pictures, and the preview's.
constexpr int kListEdge = 128;
constexpr int kPreviewEdge = 512;
// The lists are drawn again at most this often while pictures come in.
constexpr int kFillInMilliseconds = 50;

}  // namespace

ThumbnailProvider& TfrMain::thumbnails() {
  if (thumbnails_ == nullptr) {
    const QString root =
        thumbnailCache_.isEmpty() ? ThumbnailProvider::DefaultCacheRoot() : thumbnailCache_;
    thumbnails_ = std::make_unique<ThumbnailProvider>(
        root,
        [this](const std::string& path, int edge) { return session_.MovieFrameOf(path, edge); });
    connect(thumbnails_.get(), &ThumbnailProvider::Ready, this, &TfrMain::ThumbnailReady);
  }
  return *thumbnails_;
}

void TfrMain::SetThumbnailCache(const QString& cacheRoot) {
  thumbnailCache_ = cacheRoot;
  thumbnails_.reset();
}

std::optional<ThumbnailRequest> TfrMain::ThumbnailOf(const ItemRow& item, int edge) {
  const std::optional<ThumbnailType> type =
      ThumbnailTypeOf(QString::fromStdString(item.sourceName));
  if (!type.has_value()) return std::nullopt;
  const std::string path = NativePath(item.sourceDir + item.sourceName);
  if (path.empty()) return std::nullopt;
  const char drive = session_.model().drive;
  if (cardKeyDrive_ != drive) {
    cardKey_ = session_.LoadedCardKey();
    cardKeyDrive_ = drive;
  }
  if (*type == ThumbnailType::Movie && !moviesAsked_) {
    // The tools are looked for here, once, before any worker runs them.
    session_.CanConvertMovies();
    moviesAsked_ = true;
  }
  return ThumbnailRequest{QString::fromStdString(path),
                          item.OnCard() ? QString::fromStdString(cardKey_) : QString(), *type,
                          edge};
}

QIcon TfrMain::ThumbnailIcon(MediaKind kind, const ItemRow& item, bool urgent) {
  const std::optional<ThumbnailRequest> request = ThumbnailOf(item, kListEdge);
  if (!request.has_value()) return QIcon(KindIconPixmap(kind));
  const Thumbnail* made = thumbnails().Find(*request, urgent);
  if (made == nullptr) return {};
  if (made->failed()) return QIcon(KindIconPixmap(kind));
  return QIcon(QPixmap::fromImage(made->image));
}

void TfrMain::ThumbnailReady(const QString& key) {
  if (!previewKey_.isEmpty() && key == previewKey_) ShowFrontPreview();
  if (thumbnailsDue_) return;
  thumbnailsDue_ = true;
  QTimer::singleShot(kFillInMilliseconds, this, [this] {
    thumbnailsDue_ = false;
    for (MediaKind kind : kAllKinds) {
      if (const FolderSlot* folder = ShownSlot(kind)) page(kind).RedrawItemList(*folder);
    }
  });
}

void TfrMain::ShowFrontPreview() {
  // The camera pictures' page keeps its own picture in the preview.
  if (pcMain->currentWidget() == cameraPage_) return;
  previewKey_.clear();
  const MediaKind kind = FrontKind();
  const ItemRow* item = SelectedItem(kind);
  if (item == nullptr) {
    DispPrev->ShowNothing();
    return;
  }
  if (kind == MediaKind::Image) {
    if (!Preview::IsPicture(QString::fromStdString(item->sourceName))) {
      DispPrev->ShowNothing();
      return;
    }
    // Where the file is now: on the card, or on the computer for an item not yet written.
    DispPrev->ShowFile(QString::fromStdString(NativePath(item->sourceDir + item->sourceName)));
    return;
  }
  // A movie's frame with its length and size, a document's first page: made on the pool.
  const std::optional<ThumbnailRequest> request = ThumbnailOf(*item, kPreviewEdge);
  const Thumbnail* made = request.has_value() ? thumbnails().Find(*request, true) : nullptr;
  if (made == nullptr || made->failed()) {
    DispPrev->ShowNothing();
    if (request.has_value() && made == nullptr) previewKey_ = ThumbnailProvider::KeyOf(*request);
    return;
  }
  const QString size = QStringLiteral("%1 KB").arg((item->size + 1023) / 1024);
  DispPrev->ShowImage(made->image,
                      made->caption.isEmpty() ? size : made->caption + QStringLiteral("  ") + size,
                      request->path);
}

}  // namespace sdmate
