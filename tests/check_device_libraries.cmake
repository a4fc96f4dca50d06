cmake_minimum_required(VERSION 3.25)
# Checks that a program runs without loading the MIDI and audio systems' libraries: only the
# device library brings them, and `voxtane-syx show` and the editor's start (which loads the
# device library on a thread of its own once it runs, qt/background_devices.h) must not wait
# for them.
# Run as: cmake -DPROGRAM=<program> -DARGS=<argument> [-DBANK=<a bank to make, given after ARGS>]
#               -P check_device_libraries.cmake
if(BANK)
    get_filename_component(folder ${BANK} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    execute_process(COMMAND ${PROGRAM} new ${BANK} RESULT_VARIABLE made)
    if(NOT made EQUAL 0)
        message(FATAL_ERROR "${PROGRAM} new failed (${made})")
    endif()
    list(APPEND ARGS ${BANK})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_DEBUG=libs ${PROGRAM} ${ARGS}
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE loaded)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARGS} failed (${status})")
endif()
string(REGEX MATCHALL "calling init: [^\n]*" libraries "${loaded}")
if(NOT libraries)
    message(FATAL_ERROR "LD_DEBUG=libs reported no libraries: the check cannot see what loads")
endif()
foreach(library ${libraries})
    if(library MATCHES "librtmidi|libjack|libasound|librtaudio|libsndfile|libvoxtane_devices")
        message(FATAL_ERROR "${PROGRAM} ${ARGS} loaded a device library: ${library}")
    endif()
endforeach()
message(STATUS "${PROGRAM} ${ARGS} loads no device library")
