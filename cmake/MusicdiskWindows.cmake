# The Windows build, cross-built with cmake/toolchains/mingw-w64-x86_64.cmake against the
# static libraries of tools/windows/build_libraries.sh. Included before the dependencies are
# looked up; musicdisk_windows_after_dependencies() runs after.

if(NOT MUSICDISK_WINDOWS_PREFIX)
  message(FATAL_ERROR "MUSICDISK_WINDOWS_PREFIX is not set: run tools/windows/build_libraries.sh "
                      "and pass the prefix it prints (./setup.sh windows does both)")
endif()

# A new prefix (new source versions, so a new cache key): forget every library found in the
# old one, so that pkg-config and find_package look again.
if(MUSICDISK_WINDOWS_PREFIX_USED AND
   NOT MUSICDISK_WINDOWS_PREFIX STREQUAL MUSICDISK_WINDOWS_PREFIX_USED)
  get_cmake_property(cached CACHE_VARIABLES)
  foreach(variable IN LISTS cached)
    if(variable MATCHES "^__pkg_config_checked_" OR
       "$CACHE{${variable}}" MATCHES "^${MUSICDISK_WINDOWS_PREFIX_USED}(/|$)")
      unset(${variable} CACHE)
    endif()
  endforeach()
endif()
set(MUSICDISK_WINDOWS_PREFIX_USED "${MUSICDISK_WINDOWS_PREFIX}" CACHE INTERNAL
    "The library prefix the cached look-ups were made in")

# Static archives only: a found import library (zlib's libz.dll.a) would make the program
# need a DLL beside it.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

# The asset generators and the capture tool are tools of the Linux development machine.
set(MUSICDISK_BUILD_TOOLS OFF CACHE BOOL "" FORCE)

# The tests run under Wine.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/tools/windows/wine_run.sh"
      CACHE FILEPATH "Runs a Windows program of this build" FORCE)
endif()

# Tests that hold only on Linux, left out of the Wine run (a gtest filter).
set(MUSICDISK_WINE_EXCLUDED_TESTS
    # SDL's box failing under its dummy video driver: on Windows the system's box needs no
    # video driver and would wait for an answer.
    "Proceed.ABoxThatCannotBeShownAnswersCancel")

# sdl2.pc gives every user SDL's WinMain wrapper (main renamed SDL_main, SDL2main, the GUI
# subsystem). Only the program takes it (app/CMakeLists.txt); the test programs keep their
# own console main so that ctest sees their output.
function(musicdisk_windows_after_dependencies)
  get_target_property(options PkgConfig::SDL2 INTERFACE_COMPILE_OPTIONS)
  list(REMOVE_ITEM options -Dmain=SDL_main)
  set_target_properties(PkgConfig::SDL2 PROPERTIES INTERFACE_COMPILE_OPTIONS "${options}")
  get_target_property(link_options PkgConfig::SDL2 INTERFACE_LINK_OPTIONS)
  list(REMOVE_ITEM link_options -mwindows)
  set_target_properties(PkgConfig::SDL2 PROPERTIES INTERFACE_LINK_OPTIONS "${link_options}")
  get_target_property(libraries PkgConfig::SDL2 INTERFACE_LINK_LIBRARIES)
  list(FILTER libraries EXCLUDE REGEX "(libmingw32|libSDL2main)\\.a$")
  set_target_properties(PkgConfig::SDL2 PROPERTIES INTERFACE_LINK_LIBRARIES "${libraries}")
endfunction()

# The zip a person unpacks and runs: musicdisk.exe, the fonts' licences and a README.
function(musicdisk_windows_package)
  set(name "musicdisk-${PROJECT_VERSION}-win64")
  set(stage "${PROJECT_BINARY_DIR}/package/${name}")
  configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in" "${stage}/README.txt"
                 @ONLY NEWLINE_STYLE WIN32)
  add_custom_command(
    OUTPUT "${PROJECT_BINARY_DIR}/${name}.zip"
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:musicdisk> "${stage}/musicdisk.exe"
    COMMAND ${CMAKE_COMMAND} -E copy "${PROJECT_SOURCE_DIR}/assets/fonts/OFL-CherryBomb.txt"
            "${PROJECT_SOURCE_DIR}/assets/fonts/OFL-GNUTypewriter.txt" "${stage}/"
    COMMAND ${CMAKE_COMMAND} -E rm -f "${PROJECT_BINARY_DIR}/${name}.zip"
    COMMAND ${CMAKE_COMMAND} -E tar cf "${PROJECT_BINARY_DIR}/${name}.zip" --format=zip "${name}"
    WORKING_DIRECTORY "${PROJECT_BINARY_DIR}/package"
    DEPENDS musicdisk "${stage}/README.txt"
    COMMENT "Packing ${name}.zip"
    VERBATIM)
  add_custom_target(windows_package ALL DEPENDS "${PROJECT_BINARY_DIR}/${name}.zip")
  set(MUSICDISK_WINDOWS_ZIP "${PROJECT_BINARY_DIR}/${name}.zip" PARENT_SCOPE)
endfunction()
