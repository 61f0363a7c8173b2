# Adds each listed subdirectory that has a CMakeLists.txt, so a part of the
# tree can grow its own folder without every parent being edited.
function(pellory_add_subdirs)
  foreach(dir IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
