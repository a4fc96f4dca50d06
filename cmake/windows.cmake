# The Windows build (cmake --preset windows, from cmake/toolchains/mingw-w64-x86_64.cmake): the
# toolkit-free layers, the voice, the explorer, voxtane-syx and their tests. Left out, for want of
# a Windows build of what they need on this machine: the library (SQLite), the device library
# (RtMidi, RtAudio, libsndfile, JACK, ALSA) and the window (Qt).

# GCC 12 warns of overlapping copies inside std::string's operator+ at -O3, wrongly (GCC bug
# 105329); the Linux build, at -O2, does not see it.
add_compile_options(-Wno-restrict)

# windows.h without its macros min and max, and without mmsystem.h, whose MMSYSERR_* macros
# would replace the names of the same values in src/midi/mm_system.h.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

# One .exe each, with the C and C++ runtimes and the thread library inside.
add_link_options(-static)

# CLI11 and nlohmann/json are header-only: their Debian headers serve the cross build as they
# are. Only their folders are offered, never /usr/include itself, whose C headers are Linux's.
set(VOXTANE_HEADER_ONLY_DIR ${CMAKE_BINARY_DIR}/header-only)
file(MAKE_DIRECTORY ${VOXTANE_HEADER_ONLY_DIR})
foreach(folder CLI nlohmann)
    if(NOT EXISTS /usr/include/${folder})
        message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/install-deps.sh")
    endif()
    file(CREATE_LINK /usr/include/${folder} ${VOXTANE_HEADER_ONLY_DIR}/${folder} SYMBOLIC)
endforeach()
add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
foreach(target CLI11::CLI11 nlohmann_json::nlohmann_json)
    set_target_properties(${target} PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${VOXTANE_HEADER_ONLY_DIR})
endforeach()

# Tests and gtest's discovery run the programs under Wine, with a prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
set(VOXTANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
