# ovrin_layer(FOLDER [USES folder...] SOURCES...) makes the static library ovrin_<FOLDER>
# from src/<FOLDER>. Its code and the code that links it include headers as
# "<folder>/<file>.h" through an include root of links to src/<FOLDER> and the folders it
# USES, nothing else: a header of a folder it may not use is simply not found.
function(ovrin_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "USES;SOURCES")
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  foreach(seen IN LISTS folder layer_USES)
    if(NOT IS_SYMLINK ${root}/${seen})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${seen} ${root}/${seen} SYMBOLIC)
    endif()
  endforeach()
  add_library(ovrin_${folder} STATIC ${layer_SOURCES})
  target_include_directories(ovrin_${folder} PUBLIC ${root})
endfunction()
