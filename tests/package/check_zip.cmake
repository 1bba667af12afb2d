# Makes the Windows ZIP with cpack, as a user building it would, and fails
# unless it holds exactly the expected files under its one top folder.
#   cmake -DCPACK=<cpack> -DBUILD_DIR=<build> -DPACKAGE=<file name without .zip>
#         -DEXPECTED=<files> -P check_zip.cmake
cmake_minimum_required(VERSION 3.25)
set(zip ${BUILD_DIR}/${PACKAGE}.zip)
file(REMOVE ${zip})
execute_process(COMMAND ${CPACK} -G ZIP WORKING_DIRECTORY ${BUILD_DIR} OUTPUT_VARIABLE output ERROR_VARIABLE output
                RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS ${zip})
  message(FATAL_ERROR "cpack -G ZIP made no ${zip}:\n${output}")
endif()

set(unpacked ${BUILD_DIR}/zip-test)
file(REMOVE_RECURSE ${unpacked})
file(MAKE_DIRECTORY ${unpacked})
file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${unpacked})
file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${unpacked} ${unpacked}/*)
list(SORT found)
set(expected "")
foreach(file ${EXPECTED})
  list(APPEND expected ${PACKAGE}/${file})
endforeach()
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "${zip} holds\n  ${found}\nbut should hold exactly\n  ${expected}")
endif()

file(REMOVE_RECURSE ${unpacked})
message(STATUS "${zip} holds exactly ${found}")
