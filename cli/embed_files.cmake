# Turns files into a C++ source that holds their bytes, so the program needs no files beside
# it. Run with -DOUTPUT=<file.cpp> -DFILES=<path,path,...>.
string(REPLACE "," ";" files "${FILES}")
set(arrays "")
set(entries "")
set(index 0)
foreach(path IN LISTS files)
  get_filename_component(name "${path}" NAME)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "const char kFile${index}[] = {\n    ${bytes}};\n")
  string(APPEND entries "    {\"${name}\", std::string_view(kFile${index}, ${size})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from samples/ by embed_files.cmake; do not edit.
#include \"cli/sample_files.h\"

namespace sdmate::cli {
namespace {

${arrays}
const EmbeddedFile kFiles[] = {
${entries}};

}  // namespace

std::string_view SampleFile(std::string_view name) {
  for (const EmbeddedFile& file : kFiles) {
    if (file.name == name) return file.bytes;
  }
  return {};
}

}  // namespace sdmate::cli
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
