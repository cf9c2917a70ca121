// Small pictures of the items: standby images read by Qt's image readers, a movie's picture one
// second in (through the session's movie tools), a document's first page (Poppler, where the build
// has it). They are made on a pool of worker threads, never on the window's, and kept on the
// computer under the cache folder in freedesktop's thumbnail layout
// (<cache>/thumbnails/normal/<md5>.png, with the file's URI, time and size in the PNG's texts),
// keyed by the card, the path, the size and the time, so a card seen before fills in at once.
#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <functional>
#include <optional>
#include <string>

#include "import/movie_converter.h"

namespace sdmate {

enum class ThumbnailType { Picture, Movie, Document };

// What a file's name says it holds for a thumbnail, by its extension.
std::optional<ThumbnailType> ThumbnailTypeOf(const QString& fileName);

// One picture to make: a file at a size.
struct ThumbnailRequest {
  QString path;     // native
  QString cardKey;  // the card the file is on; empty for a file of the computer
  ThumbnailType type = ThumbnailType::Picture;
  int edge = 128;  // the longest side: 128 (lists and the grid) or 512 (the preview)
};

struct Thumbnail {
  QImage image;     // null when the file could not be read
  QString caption;  // a movie's length and size, a document's pages
  bool failed() const { return image.isNull(); }
};

class ThumbnailProvider : public QObject {
  Q_OBJECT

 public:
  // A clip's picture at a size; called on the worker threads.
  using MovieFrames = std::function<std::optional<MovieFrame>(const std::string& path, int edge)>;

  // cacheRoot: the program's cache folder ($XDG_CACHE_HOME/sdmate); empty: nothing kept on disk.
  ThumbnailProvider(QString cacheRoot, MovieFrames frames, QObject* parent = nullptr);
  ~ThumbnailProvider() override;
  ThumbnailProvider(const ThumbnailProvider&) = delete;
  ThumbnailProvider& operator=(const ThumbnailProvider&) = delete;

  // The default cache folder: $XDG_CACHE_HOME/sdmate (~/.cache/sdmate).
  static QString DefaultCacheRoot();

  // The picture when it is made already; otherwise nullptr, and it is made (once) on the pool,
  // urgent ones before the others; Ready tells when it is there.
  const Thumbnail* Find(const ThumbnailRequest& request, bool urgent);
  // The key of a request as the file stands now (its size and time read from the file system).
  static QString KeyOf(const ThumbnailRequest& request);
  // Pictures asked for and not made yet.
  int pending() const { return static_cast<int>(queued_.size()); }
  // Blocks until the pool has made everything asked (tests and benchmarks).
  void WaitForAll();
  // Forgets the pictures held in memory (the disk cache stays).
  void ForgetMemory();

 signals:
  void Ready(const QString& key);

 private:
  void Store(const QString& key, const Thumbnail& thumbnail);

  QString cacheRoot_;
  MovieFrames frames_;
  QThreadPool pool_;
  QHash<QString, Thumbnail> made_;
  QSet<QString> queued_;
};

// Makes one picture, reading the disk cache first and filling it after (the workers' job).
Thumbnail MakeThumbnail(const ThumbnailRequest& request, const QString& key,
                        const QString& cacheRoot, const ThumbnailProvider::MovieFrames& frames);

}  // namespace sdmate
