cmake_minimum_required(VERSION 3.25)
# Checks that the editor's program starts without the MIDI and audio systems' libraries: it
# loads the device library on a thread of its own once it runs (qt/background_devices.h), so
# none of them is linked to it.
# Run as: cmake -DPROGRAM=<voxtane> -P check_start_libraries.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_DEBUG=libs ${PROGRAM} --version
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE loaded)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "voxtane --version failed (${status})")
endif()
string(REGEX MATCHALL "calling init: [^\n]*" libraries "${loaded}")
if(NOT libraries)
    message(FATAL_ERROR "LD_DEBUG=libs reported no libraries: the check cannot see what loads")
endif()
foreach(library ${libraries})
    if(library MATCHES "librtmidi|libjack|libasound|librtaudio|libsndfile|libvoxtane_devices")
        message(FATAL_ERROR "voxtane loaded a device library at its start: ${library}")
    endif()
endforeach()
message(STATUS "voxtane starts without the device libraries")
