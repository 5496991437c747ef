# quorlis_existing_sources(VAR file...): the files of the list that exist in the current source
# folder, so that a target can be configured while its sources are still being written.
function(quorlis_existing_sources var)
  set(found)
  foreach(src ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${src})
      list(APPEND found ${src})
    endif()
  endforeach()
  set(${var} ${found} PARENT_SCOPE)
endfunction()
