# Writes the manual twice, a second apart and in two time zones, with the same SOURCE_DATE_EPOCH,
# and compares the two files byte for byte; then checks that the date written is that epoch.
#   cmake -D WRITER=... -D MANUAL=... -D WORK_DIR=... -P ManualReproducibleTest.cmake

cmake_minimum_required(VERSION 3.25)

# 1700000000 seconds after 1970-01-01 00:00 UTC is 2023-11-14 22:13:20 UTC.
set(epoch 1700000000)
set(expected_date "/CreationDate (D:20231114221320Z)")

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

function(write_manual output zone)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${epoch} TZ=${zone}
                QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
                ${WRITER} ${MANUAL} ${output}
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "the manual writer failed (${status}) writing ${output}")
    endif()
endfunction()

write_manual(${WORK_DIR}/first.pdf UTC)
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1)
write_manual(${WORK_DIR}/second.pdf Pacific/Auckland)

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/first.pdf
                        ${WORK_DIR}/second.pdf RESULT_VARIABLE different)
if(different)
    message(FATAL_ERROR "two runs of the manual writer gave different bytes")
endif()

file(STRINGS ${WORK_DIR}/first.pdf dates REGEX "/CreationDate")
if(NOT dates STREQUAL expected_date)
    message(FATAL_ERROR "the manual's date is '${dates}', not '${expected_date}'")
endif()

# The manual opens on its outline, and each outline entry has its link in the contents.
file(STRINGS ${WORK_DIR}/first.pdf shown REGEX "^/PageMode /UseOutlines$")
file(STRINGS ${WORK_DIR}/first.pdf entries REGEX "^/Title <FEFF")
file(STRINGS ${WORK_DIR}/first.pdf links REGEX "^/Subtype /Link$")
list(LENGTH entries entry_count)
list(LENGTH links link_count)
if(NOT shown OR entry_count LESS 10 OR NOT entry_count EQUAL link_count)
    message(FATAL_ERROR "the manual has ${entry_count} outline entries and ${link_count} links")
endif()
