# The program started with no display in its environment, with and without files named, and
# asked for its help and its version: the exit status and what it says, one row each. A row
# ending in BEGINS judges only the start of what is said.
#   cmake -D PROGRAM=... -D VERSION=... -P StartWithoutDisplayTest.cmake

cmake_minimum_required(VERSION 3.25)

set(failures "")
function(expect name arguments status said)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                --unset=QT_QPA_PLATFORM ${PROGRAM} ${arguments}
        RESULT_VARIABLE got OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
    set(whole "${out}${err}")
    if(ARGV4 STREQUAL "BEGINS")
        string(LENGTH "${said}" length)
        string(SUBSTRING "${whole}" 0 ${length} whole)
    endif()
    if(NOT got STREQUAL status OR NOT whole STREQUAL said)
        set(failures "${failures}\n  ${name}: status ${got}, said '${out}${err}'" PARENT_SCOPE)
    endif()
endfunction()

expect("no display" "" 2
       "kavelto: no display found; start it on a desktop, or under xvfb-run\n")
expect("--help without a display" "--help" 0
       "Usage: kavelto [--bom FILE] [FOLDER] [PLACEMENT_FILE [PICTURE]]\n" BEGINS)
expect("--version without a display" "--version" 0 "kavelto ${VERSION}\n")
# A folder first, then a file and a picture: taken as the folder to start in, so the start goes on
# to look for a display.
expect("a folder, a file and a picture" "${CMAKE_CURRENT_LIST_DIR};board.csv;board.jpg" 2
       "kavelto: no display found; start it on a desktop, or under xvfb-run\n")
expect("a file where the folder goes" "${CMAKE_CURRENT_LIST_FILE};board.csv;board.jpg" 2
       "kavelto: ${CMAKE_CURRENT_LIST_FILE} is not a folder\nTry 'kavelto --help'.\n")

if(failures)
    message(FATAL_ERROR "wrong start:${failures}")
endif()
