// The numbers a folder can give a file that joins it: free in its table and in its directory.
#pragma once

#include <string>

#include "core/card_model.h"
#include "platform/files.h"

namespace sdmate {

// The lowest number whose name no item of the folder holds (deleted and newly staged items
// included) and no other file of the folder's card directory has, compared without regard to
// case (a FAT card takes "stil0001.jpg" and "STIL0001.JPG" for one file). A file some item of the
// kind reads there, or one in a removed folder's directory, gives its name away: the commit moves
// or deletes it before the new file is written.
int LowestFreeNumber(const KindState& state, const FolderSlot& folder, MediaKind kind,
                     const std::string& directory, Files& files);

}  // namespace sdmate
