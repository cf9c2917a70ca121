// The sample card's pictures and documents, compiled into the program from samples/.
#pragma once

#include <string_view>

namespace sdmate::cli {

struct EmbeddedFile {
  std::string_view name;   // "sunset.jpg"
  std::string_view bytes;  // the file's content
};

// The embedded file of that name; empty bytes when there is none.
std::string_view SampleFile(std::string_view name);

}  // namespace sdmate::cli
