// What list (and edit, after its commit) prints: every kind's folders and their visible items
// in list order, titles in UTF-8, as text or as one JSON object.
#pragma once

#include <ostream>

#include "core/card_model.h"
#include "platform/text_codec.h"

namespace sdmate::cli {

void PrintCardText(const CardModel& model, TextCodec& codec, std::ostream& out);
void PrintCardJson(const CardModel& model, TextCodec& codec, std::ostream& out);

}  // namespace sdmate::cli
