# Turns Unicode's EmojiSources.txt into the C++ table of the handset's pictographs: each DoCoMo
# Shift-JIS code with the one or two code points of its emoji. Run as
#   cmake -DINPUT=EmojiSources.txt -DOUTPUT=pictograph_table.cpp -P pictographs.cmake
file(STRINGS "${INPUT}" lines REGEX "^[0-9A-Fa-f]")
set(rows "")
set(count 0)
foreach(line IN LISTS lines)
  # Fields: code points; DoCoMo; KDDI; SoftBank.
  string(REPLACE ";" "|" line "${line}")
  string(REGEX MATCH "^([0-9A-Fa-f ]+)\\|([0-9A-Fa-f]*)\\|" matched "${line}")
  if(NOT matched OR CMAKE_MATCH_2 STREQUAL "")
    continue()
  endif()
  set(code "${CMAKE_MATCH_2}")
  string(REPLACE " " ";" points "${CMAKE_MATCH_1}")
  list(LENGTH points length)
  if(length GREATER 2)
    message(FATAL_ERROR "pictographs.cmake: more than two code points for ${code}")
  endif()
  list(GET points 0 first)
  set(second 0)
  if(length EQUAL 2)
    list(GET points 1 second)
    set(second "0x${second}")
  endif()
  string(APPEND rows "    {0x${code}, 0x${first}, ${second}},\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "pictographs.cmake: no DoCoMo codes in ${INPUT}")
endif()
file(WRITE "${OUTPUT}.new"
"// Generated from Unicode's EmojiSources.txt (the DoCoMo column) by cmake/pictographs.cmake.
#include \"core/pictographs.h\"

namespace sdmate {

extern const PictographSource kPictographSources[] = {
${rows}};
extern const std::size_t kPictographSourceCount = ${count};

}  // namespace sdmate
")
# Rewritten only when it changed, so nothing rebuilds for an unchanged table.
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
