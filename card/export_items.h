// Export: the items a folder shows copied into a folder of the computer, each named by its
// title, so that what is on the card can be kept or used elsewhere. The card is only read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/card_model.h"
#include "core/feedback.h"
#include "platform/files.h"
#include "platform/text_codec.h"

namespace sdmate {

// The file name a title gives an item's file: the title (UTF-8) with the characters a file
// name cannot hold on Windows or POSIX (\ / : * ? " < > | and control characters) made "_",
// outer spaces and trailing dots dropped, a name Windows reserves ("CON", "LPT1") followed by
// "_", and the extension of the item's file name; the file name itself when the title leaves
// nothing.
std::string ExportFileName(std::string_view titleUtf8, std::string_view fileName);

// A name not among `taken` (compared without regard to ASCII case, as FAT and Windows do):
// the name itself, else "stem (2).ext", "stem (3).ext", ...
std::string UnusedName(const std::string& name, const std::vector<std::string>& taken);

struct ExportResult {
  std::vector<std::string> written;  // the native paths copied to, in list order
  std::vector<std::string> failed;   // the items' files that could not be copied
};

// Copies the folder's visible items, in list order, into the native folder `destination`
// (made when missing), keeping their time stamps and never replacing a file already there;
// tells the user how it ended.
ExportResult ExportItems(const FolderSlot& folder, const std::string& destination, Files& files,
                         TextCodec& codec, Feedback& feedback);

}  // namespace sdmate
