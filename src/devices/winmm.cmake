# The WinMM backend. Its logic is portable and built everywhere, so that its tests run against
# a scripted WinMM on any machine; the table over winmm.dll is built for Windows only. Nothing
# here needs RtMidi, JACK or ALSA.
find_package(Threads REQUIRED)
add_library(voxtane_winmm STATIC
    ${CMAKE_CURRENT_LIST_DIR}/winmm_status.cpp
    ${CMAKE_CURRENT_LIST_DIR}/winmm_output.cpp
    ${CMAKE_CURRENT_LIST_DIR}/winmm_input.cpp
    ${CMAKE_CURRENT_LIST_DIR}/winmm_backend.cpp
    ${CMAKE_CURRENT_LIST_DIR}/winmm_scripted_api.cpp
)
target_include_directories(voxtane_winmm PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(voxtane_winmm PUBLIC Threads::Threads)
set_target_properties(voxtane_winmm PROPERTIES POSITION_INDEPENDENT_CODE ON)
if(WIN32)
    target_sources(voxtane_winmm PRIVATE ${CMAKE_CURRENT_LIST_DIR}/winmm_api_windows.cpp)
    target_link_libraries(voxtane_winmm PUBLIC winmm)
endif()

# The device library of the Windows build: MIDI through WinMM, nothing else. voxtane-syx loads
# it from its own folder, as voxtane_devices.dll. The Windows build includes this file from
# src/CMakeLists.txt in place of src/devices/.
if(WIN32)
    add_library(voxtane_devices SHARED ${CMAKE_CURRENT_LIST_DIR}/winmm_device_library.cpp)
    target_link_libraries(voxtane_devices PRIVATE voxtane_winmm)
    set_target_properties(voxtane_devices PROPERTIES PREFIX ""
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/src/cli)
endif()
