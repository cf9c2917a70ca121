# The window in the Windows cross build: the static Qt for mingw-w64 that scripts/qt-mingw makes,
# in $SDMATE_QT_MINGW or ~/.cache/sdmate/qt6-mingw-6.4.2. Only a finished one counts (it holds
# the recipe's stamp); without it the cross build makes the engine and the command line alone.
# Included by the top CMakeLists.txt before the window's folders.
set(SDMATE_QT_MINGW "" CACHE PATH "The static Qt for mingw-w64 (default: the cache folder)")
set(qt_mingw_dir "${SDMATE_QT_MINGW}")
if(qt_mingw_dir STREQUAL "" AND DEFINED ENV{SDMATE_QT_MINGW})
  set(qt_mingw_dir "$ENV{SDMATE_QT_MINGW}")
endif()
if(qt_mingw_dir STREQUAL "" AND DEFINED ENV{HOME})
  set(qt_mingw_dir "$ENV{HOME}/.cache/sdmate/qt6-mingw-6.4.2")
endif()

if(SDMATE_BUILD_UI AND EXISTS "${qt_mingw_dir}/sdmate-recipe"
   AND EXISTS "${qt_mingw_dir}/lib/cmake/Qt6/Qt6Config.cmake")
  message(STATUS "The window is built with the Qt for mingw-w64 in ${qt_mingw_dir}")
  list(PREPEND CMAKE_PREFIX_PATH "${qt_mingw_dir}")
  list(PREPEND CMAKE_FIND_ROOT_PATH "${qt_mingw_dir}")
  # Qt's host tools (moc, rcc, uic) are the build machine's own of the same version.
  set(QT_HOST_PATH "/usr" CACHE PATH "")
  set(QT_HOST_PATH_CMAKE_DIR "/usr/lib/x86_64-linux-gnu/cmake" CACHE PATH "")
  set(SDMATE_QT_MINGW_DIR "${qt_mingw_dir}")
  # Built with Direct2D off, Qt 6.4's Gui leaves out the DirectWrite font database its Windows
  # platform plugin names: the window's executables then link a stand-in that is never called.
  execute_process(COMMAND ${CMAKE_AR} t "${qt_mingw_dir}/lib/libQt6Gui.a"
                  OUTPUT_VARIABLE qt_gui_members ERROR_QUIET)
  if(NOT qt_gui_members MATCHES "qwindowsdirectwritefontdatabase")
    set(SDMATE_QT_DIRECTWRITE_STUB "${PROJECT_SOURCE_DIR}/app/qt_directwrite_stub.cpp")
  endif()
else()
  if(SDMATE_BUILD_UI)
    message(STATUS "No Qt for mingw-w64 in ${qt_mingw_dir} (scripts/qt-mingw builds it): "
                   "the Windows build makes the engine and the command line only")
  endif()
  # (a normal variable over the cache's option: the window comes back once that Qt is there)
  set(SDMATE_BUILD_UI OFF)
endif()
