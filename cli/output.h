// What the commands print on standard output: the card's folders and their visible items in
// list order, and the check's findings, as text or as one JSON object; texts in UTF-8.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "card/card_check.h"
#include "core/card_model.h"
#include "platform/text_codec.h"

namespace sdmate::cli {

void PrintCardText(const CardModel& model, TextCodec& codec, std::ostream& out);
void PrintCardJson(const CardModel& model, TextCodec& codec, std::ostream& out);

// native turns a finding's card path into the path the user knows.
using NativeOf = std::function<std::string(const std::string& cardPath)>;
void PrintFindingsText(const std::vector<Finding>& findings, TextCodec& codec,
                       const NativeOf& native, std::ostream& out);
void PrintFindingsJson(const std::vector<Finding>& findings, TextCodec& codec,
                       const NativeOf& native, std::ostream& out);

}  // namespace sdmate::cli
