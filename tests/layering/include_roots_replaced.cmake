# Exposes one source folder under one include root as a folder link, then as
# a file link, then as a folder link again, configuring a small project each
# time. Each configure must replace what the one before left, and the source
# header must keep its text throughout: a file link made through a folder
# link left behind would replace the header with a link to itself.
#
#   cmake -DVQ_LAYERS=<VqLayers.cmake> -DSCRATCH=<scratch dir> -P include_roots_replaced.cmake
set(source ${SCRATCH}/src/folder)
set(project ${SCRATCH}/project)
set(build ${SCRATCH}/build)
set(root ${build}/include-roots/shared/folder)
set(header_text "int header_text;\n")

file(REMOVE_RECURSE ${SCRATCH})
file(WRITE ${source}/header.h "${header_text}")
file(WRITE ${project}/CMakeLists.txt "cmake_minimum_required(VERSION 3.25)
project(include_roots NONE)
include(\"${VQ_LAYERS}\")
add_library(exposed INTERFACE)
if(EXPOSE STREQUAL \"files\")
  vq_expose_headers(exposed folder ROOT shared DIR \"${source}\" FILES header.h)
else()
  vq_expose_headers(exposed folder ROOT shared DIR \"${source}\")
endif()
")

foreach(expose folder files folder)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${project} -B ${build} -DEXPOSE=${expose}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "exposing the ${expose} failed:\n${output}")
  endif()
  if(IS_SYMLINK ${source}/header.h)
    message(FATAL_ERROR "exposing the ${expose} replaced the source header with a link")
  endif()
  file(READ ${source}/header.h text)
  if(NOT text STREQUAL header_text)
    message(FATAL_ERROR "exposing the ${expose} changed the source header to \"${text}\"")
  endif()
  if(expose STREQUAL "folder")
    if(NOT IS_SYMLINK ${root})
      message(FATAL_ERROR "exposing the folder made no folder link at ${root}")
    endif()
    file(READ_SYMLINK ${root} target)
    if(NOT target STREQUAL source)
      message(FATAL_ERROR "the folder link points at ${target}, not ${source}")
    endif()
  elseif(IS_SYMLINK ${root} OR NOT IS_SYMLINK ${root}/header.h)
    message(FATAL_ERROR "exposing the files made no directory of file links at ${root}")
  endif()
endforeach()
message(STATUS "each configure replaced what the one before left; the source header kept its text")
