# Folder headers are included as "<folder>/<file>.h", yet a target sees a
# folder only when it links the target that owns it. The source root is never
# an include directory: each folder is offered through an include root of its
# own in the build tree, holding one link named after the folder (or links to
# a few of its files only), so an include that crosses the layers fails to
# compile.
function(vq_expose_headers target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "ROOT;DIR" "FILES")
  if(NOT arg_ROOT)
    set(arg_ROOT ${folder})
  endif()
  # The folder's sources: the calling CMakeLists.txt's own, unless named.
  if(NOT arg_DIR)
    set(arg_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(root ${CMAKE_BINARY_DIR}/include-roots/${arg_ROOT})
  if(arg_FILES)
    # A folder link an older tree left here would lead the file links into
    # the source folder itself, over the very headers they point at.
    if(IS_SYMLINK ${root}/${folder})
      file(REMOVE ${root}/${folder})
    endif()
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header ${arg_FILES})
      file(CREATE_LINK ${arg_DIR}/${header} ${root}/${folder}/${header} SYMBOLIC COPY_ON_ERROR)
    endforeach()
  else()
    file(MAKE_DIRECTORY ${root})
    # A link left by a build of an older tree may point elsewhere, or the
    # older tree exposed single files here: the folder link replaces both.
    if(IS_SYMLINK ${root}/${folder})
      file(READ_SYMLINK ${root}/${folder} target_dir)
      if(NOT target_dir STREQUAL arg_DIR)
        file(REMOVE ${root}/${folder})
      endif()
    elseif(IS_DIRECTORY ${root}/${folder})
      file(REMOVE_RECURSE ${root}/${folder})
    endif()
    if(NOT EXISTS ${root}/${folder})
      file(CREATE_LINK ${arg_DIR} ${root}/${folder} SYMBOLIC)
    endif()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
