# One static library per source folder. A folder links only the folders
# below it, so a header of a higher folder is not on its include path and a
# wrong-way include fails to compile.
#
#   trelun_add_layer(<folder-library> [PURE <sources>] [DEPENDS <libraries>]
#                    [EXCLUDE <sources>])
#
# PURE names the folder's text code that needs no windows.h; it becomes a
# library of its own (<folder-library>_pure) that the native fuzz build
# compiles from the same list (each folder's pure.cmake).
function(trelun_add_layer name)
  cmake_parse_arguments(LAYER "" "" "PURE;DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(source ${LAYER_PURE} ${LAYER_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  endforeach()
  set(pure_dependencies)
  foreach(dependency ${LAYER_DEPENDS})
    if(TARGET ${dependency}_pure)
      list(APPEND pure_dependencies ${dependency}_pure)
    endif()
  endforeach()
  add_library(${name} STATIC ${sources})
  if(LAYER_PURE)
    list(TRANSFORM LAYER_PURE PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    add_library(${name}_pure STATIC ${LAYER_PURE})
    target_include_directories(${name}_pure PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name}_pure PUBLIC trelun_flags ${pure_dependencies})
    target_compile_options(${name}_pure PRIVATE -Os)
    target_link_libraries(${name} PUBLIC ${name}_pure)
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC trelun_flags ${LAYER_DEPENDS})
  # Optimised for size: the program's speed is set by its timer pacing, and
  # it is copied to every machine it cleans.
  target_compile_options(${name} PRIVATE -Os)
endfunction()
