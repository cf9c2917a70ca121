// The sample card: a few image folders with small real pictures and Japanese titles, movie
// folders with more than ten items (so hexadecimal names show), a document folder with small
// PDFs and a camera folder, all within the handset's limits.
#pragma once

#include <string>

namespace sdmate {
class Files;
class TextCodec;
}  // namespace sdmate

namespace sdmate::cli {

// Writes the sample card onto the drive (a folder mapped to a letter). Returns the card path
// of the first file that could not be written, or empty when everything was written.
std::string WriteSampleCard(char drive, Files& files, TextCodec& codec);

}  // namespace sdmate::cli
