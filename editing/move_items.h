// Items leaving their folder for another folder of the same kind, staged like every edit.
#pragma once

#include <vector>

#include "core/card_model.h"
#include "core/feedback.h"
#include "editing/item_operations.h"
#include "platform/files.h"

namespace sdmate {

// The warning when the folder the items would join cannot take them all.
inline constexpr const char* kMoveFolderFull =
    "1つのフォルダに登録できるのは128個までです．\n移動をスキップします．\n移動先のフォルダ: ";

// Moves the visible items on `rows` of `folder` (from 1, in any order; blank rows and repeats are
// passed over) behind the visible items of `toFolder`, in their list order. Each keeps its file,
// title, time stamp and size, and takes the lowest number free in toFolder's table and directory
// with its own extension; the commit carries its file there. The rows below a moved item in
// `folder` move up. Nothing moves when toFolder would hold more than 128 items (the user is told
// so) or is the folder itself.
EditResult MoveItems(CardModel& model, MediaKind kind, int folder, const std::vector<int>& rows,
                     int toFolder, Files& files, Feedback& feedback);

// Moves the contiguous visible rows first..last of a folder by `steps` places (up when negative,
// down when positive), as far as the list goes, the way up and down move one row: the block keeps
// its order and the items it passes take the rows it left. No change when it cannot move.
EditResult MoveRows(CardModel& model, MediaKind kind, int folder, int first, int last, int steps);

}  // namespace sdmate
