# Installs the build into a temporary prefix and checks what a desktop finds there: both
# programs, the guide, the desktop entry, the icons and the metainfo, the last two accepted by
# the freedesktop and AppStream validators. Run as
#   cmake -DBUILD=<build folder> -DPREFIX=<temporary folder> -P install_test.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(id example.sdmate.Sdmate)
foreach(file bin/sdmate bin/sdmate-cli share/doc/sdmate/ReadMe.txt
             share/applications/${id}.desktop share/metainfo/${id}.metainfo.xml
             share/icons/hicolor/scalable/apps/${id}.svg
             share/icons/hicolor/48x48/apps/${id}.png share/icons/hicolor/256x256/apps/${id}.png)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

function(validate)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN}:\n${out}")
  endif()
  message(STATUS "${ARGV0}: passed ${out}")
endfunction()
find_program(desktop_validate desktop-file-validate REQUIRED)
find_program(appstreamcli appstreamcli REQUIRED)
validate(${desktop_validate} "${PREFIX}/share/applications/${id}.desktop")
validate(${appstreamcli} validate --no-net "${PREFIX}/share/metainfo/${id}.metainfo.xml")

# The installed command line runs from its place.
execute_process(COMMAND "${PREFIX}/bin/sdmate-cli" --version RESULT_VARIABLE status
                OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "^sdmate-cli [0-9.]+\n$")
  message(FATAL_ERROR "installed sdmate-cli --version: ${status} ${out}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
