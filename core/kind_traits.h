// The three kinds of content the program manages, and everything that differs between them,
// in one table.
#pragma once

#include <array>
#include <cstddef>

#include "core/handset_profile.h"

namespace sdmate {

// Always handled in this sequence.
enum class MediaKind { Image = 0, Movie = 1, Document = 2 };
inline constexpr std::array<MediaKind, 3> kAllKinds = {MediaKind::Image, MediaKind::Movie,
                                                       MediaKind::Document};
inline constexpr std::size_t IndexOf(MediaKind kind) { return static_cast<std::size_t>(kind); }

// Texts shown to the user are UTF-8; texts written to the card are plain ASCII here.
struct KindTraits {
  MediaKind kind;
  AreaIndex area;
  const char* key;              // "image", "movie", "document": command line and JSON
  const char* controlSuffix;    // "Image", "Movie", "Document": control names of the window
  const char* directoryPrefix;  // "SUD", "PRL", "PUD"
  bool hexNumbers;              // folder and file numbers in upper-case hexadecimal
  int lastProbedFolder;         // load probes tables 1 .. this
  std::size_t stemWidth;        // stem field of a table entry: 8, movies 6
  // Status texts of the load and the update.
  const char* loadStatus;
  const char* tableStatus;
  const char* deleteStatus;
  const char* renameStatus;
  const char* copyStatus;
  const char* modelStatus;
  // Messages of the add and drop operations and of the folder delete.
  const char* notSupportedMessage;
  const char* missingDirectoryQuestion;
  const char* wrongTypeMessage;
  const char* folderDeleteQuestion;
  const char* dialogCaption;  // file type caption of the open-file dialog, with its "|"
  const char* tabText;
  const char* exportFolder;  // the kind's folder in an export of the whole card
  const char* titleLabel;
};

const KindTraits& TraitsOf(MediaKind kind);
// The profile area of a kind in the program's handset profile.
const ContentArea& AreaOf(MediaKind kind);

}  // namespace sdmate
