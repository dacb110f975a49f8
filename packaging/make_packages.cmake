# Makes the installer and the portable zip from the files in BIN_DIR (run by the package target, see
# CMakeLists.txt beside this file, which passes every variable used here).
cmake_minimum_required(VERSION 3.25)

foreach(variable VERSION PUBLISHER DESCRIPTION COPYRIGHT PACKAGING_DIR ICON BIN_DIR STAGE_DIR OUTPUT_DIR)
    if("${${variable}}" STREQUAL "")
        message(FATAL_ERROR "package: ${variable} is not set")
    endif()
endforeach()
if(NOT MAKENSIS OR NOT EXISTS "${MAKENSIS}")
    message(FATAL_ERROR "package: makensis is missing; install the Debian package nsis (bash tools/setup.sh does)")
endif()

# What both packages hold. The help files come from another part of the build and are taken when present.
set(program_files vantrel.exe dravik.dll)
set(help_files vantrel.chm vantrelj.chm)
foreach(file ${program_files})
    if(NOT EXISTS "${BIN_DIR}/${file}")
        message(FATAL_ERROR "package: ${BIN_DIR}/${file} is missing")
    endif()
endforeach()
set(present_help)
foreach(file ${help_files})
    if(EXISTS "${BIN_DIR}/${file}")
        list(APPEND present_help ${file})
    endif()
endforeach()

set(setup_name "vantrel-${VERSION}-setup.exe")
set(zip_name "vantrel-${VERSION}-portable.zip")
# Packages of other versions would leave it unclear which is current.
file(GLOB stale "${OUTPUT_DIR}/vantrel-*-setup.exe" "${OUTPUT_DIR}/vantrel-*-portable.zip")
if(stale)
    file(REMOVE ${stale})
endif()

# Portable: one folder "vantrel", so that unpacking a newer zip over an older copy replaces the program and
# keeps the settings files beside it.
set(portable "${STAGE_DIR}/portable/vantrel")
file(REMOVE_RECURSE "${STAGE_DIR}/portable")
file(MAKE_DIRECTORY "${portable}")
foreach(file ${program_files} ${present_help})
    file(COPY_FILE "${BIN_DIR}/${file}" "${portable}/${file}")
endforeach()
configure_file("${PACKAGING_DIR}/README.txt.in" "${portable}/README.txt" @ONLY NEWLINE_STYLE CRLF)
file(READ "${PACKAGING_DIR}/vantrel.portable" marker)
string(REGEX REPLACE "\r?\n" "\r\n" marker "${marker}")
file(WRITE "${portable}/vantrel.portable" "${marker}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar cf "${OUTPUT_DIR}/${zip_name}" --format=zip vantrel
    WORKING_DIRECTORY "${STAGE_DIR}/portable"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "package: making ${zip_name} failed")
endif()

# Installer. The script reads the files from BIN_DIR; -WX turns every warning into an error.
set(defines
    "-DVERSION=${VERSION}"
    "-DPUBLISHER=${PUBLISHER}"
    "-DDESCRIPTION=${DESCRIPTION}"
    "-DCOPYRIGHT=${COPYRIGHT}"
    "-DSOURCE_DIR=${BIN_DIR}"
    "-DICON=${ICON}"
    "-DOUTFILE=${OUTPUT_DIR}/${setup_name}")
foreach(file ${present_help})
    string(REPLACE "." "_" name "${file}")
    list(APPEND defines "-DHAVE_${name}")
endforeach()
execute_process(
    COMMAND "${MAKENSIS}" -V2 -WX -NOCD ${defines} "${PACKAGING_DIR}/vantrel.nsi"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "package: makensis failed")
endif()

foreach(name ${setup_name} ${zip_name})
    file(SIZE "${OUTPUT_DIR}/${name}" size)
    message(STATUS "package: ${OUTPUT_DIR}/${name} (${size} bytes)")
endforeach()
