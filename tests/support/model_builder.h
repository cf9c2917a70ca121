// Card models made in memory, as a load would leave them, for tests of the editing operations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/card_model.h"

namespace sdmate::test {

// An item read from folder n of the card on `drive`, numbered p, not edited.
ItemRow CardItem(char drive, MediaKind kind, int folder, int p, std::int64_t size = 1000,
                 const std::string& extension = ".JPG");

// A loaded model on drive E with a gauge of `maximum` bytes of which `used` are in use, and
// for the kind `folders` folders, folder f holding itemCounts[f - 1] card items sized 1000.
CardModel LoadedModel(MediaKind kind, const std::vector<int>& itemCounts,
                      std::int64_t maximum = 1 << 20, std::int64_t used = 1 << 19);

// The target names of the visible items of a folder in list order.
std::vector<std::string> ListedNames(const FolderSlot& folder);
// The orders of the slots, in slot order.
std::vector<int> Orders(const FolderSlot& folder);

}  // namespace sdmate::test
