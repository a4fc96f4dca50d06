# The WinMM backend. Its logic is portable and built everywhere, so that its tests run against
# a scripted WinMM on any machine; the table over winmm.dll is built for Windows only. Nothing
# here needs RtMidi, JACK or ALSA.
find_package(Threads REQUIRED)
add_library(voxtane_winmm STATIC
    ${CMAKE_CURRENT_LIST_DIR}/winmm_status.cpp
    ${CMAKE_CURRENT_LIST_DIR}/winmm_output.cpp
    ${CMAKE_CURRENT_LIST_DIR}/winmm_input.cpp
    ${CMAKE_CURRENT_LIST_DIR}/winmm_backend.cpp
)
target_include_directories(voxtane_winmm PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(voxtane_winmm PUBLIC Threads::Threads)
set_target_properties(voxtane_winmm PROPERTIES POSITION_INDEPENDENT_CODE ON)
if(WIN32)
    target_sources(voxtane_winmm PRIVATE ${CMAKE_CURRENT_LIST_DIR}/winmm_api_windows.cpp)
    target_link_libraries(voxtane_winmm PUBLIC winmm)
endif()
