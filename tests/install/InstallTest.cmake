# Installs the build into WORK_DIR (as DESTDIR) under the prefix /opt/kavelto-check and checks
# what a desktop and a reader of "man kavelto" rely on.
#   cmake -D BUILD_DIR=... -D WORK_DIR=... -D READELF=... -D STRIPPED=ON|OFF -P InstallTest.cmake

cmake_minimum_required(VERSION 3.25)

set(prefix /opt/kavelto-check)
set(root ${WORK_DIR}${prefix})

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${WORK_DIR}
            ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
    OUTPUT_QUIET
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status})")
endif()

set(failures "")

# A PNG file's width and height are the two big-endian 32-bit numbers at bytes 16 to 23.
foreach(size 16 32 48 64 128 256)
    set(icon ${root}/share/icons/hicolor/${size}x${size}/apps/kavelto.png)
    if(NOT EXISTS ${icon})
        list(APPEND failures "no icon of ${size} px")
        continue()
    endif()
    file(READ ${icon} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 32 16 dimensions)
    math(EXPR side "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" side "${side}")
    string(LENGTH "${side}" digits)
    math(EXPR padding "8 - ${digits}")
    string(REPEAT "0" ${padding} zeros)
    set(expected "${zeros}${side}${zeros}${side}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT dimensions STREQUAL expected)
        list(APPEND failures "the ${size} px icon is not a PNG of ${size} x ${size}")
    endif()
endforeach()

set(svg ${root}/share/icons/hicolor/scalable/apps/kavelto.svg)
if(NOT EXISTS ${svg})
    list(APPEND failures "no scalable icon")
else()
    file(READ ${svg} text)
    if(NOT text MATCHES "^<svg [^>]*viewBox=\"0 0 32 32\"" OR NOT text MATCHES "</svg>\n$")
        list(APPEND failures "the scalable icon is not a whole SVG drawing")
    endif()
endif()

set(program ${root}/bin/kavelto)
if(NOT EXISTS ${program})
    list(APPEND failures "no program")
elseif(STRIPPED)
    execute_process(COMMAND ${READELF} --section-headers ${program} OUTPUT_VARIABLE sections)
    if(NOT sections MATCHES "\\.text" OR sections MATCHES "\\.symtab")
        list(APPEND failures "the program was not installed stripped")
    endif()
endif()

set(manual ${prefix}/share/doc/kavelto/KaveltoManual.pdf)
if(NOT EXISTS ${WORK_DIR}${manual})
    list(APPEND failures "no manual at ${manual}")
endif()
set(page ${root}/share/man/man1/kavelto.1)
if(NOT EXISTS ${page})
    list(APPEND failures "no manual page")
else()
    file(STRINGS ${page} lines)
    set(naming_line ".I ${manual}")
    if(NOT naming_line IN_LIST lines)
        list(APPEND failures "the manual page does not name ${manual}")
    endif()
endif()

if(failures)
    list(JOIN failures "\n  " report)
    message(FATAL_ERROR "the installation is wrong:\n  ${report}")
endif()
