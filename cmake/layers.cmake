# The program is built in layers, one library per folder, and each sees only
# the folders below it:
#
#   app -> jobs -> args -> settings -> ui -> platform -> core
#
# (and the Win32 realisations above their folders). A library's sources find
# headers through a view in the build tree that holds links to the headers
# of exactly the folders it may use, so an include against the grain does
# not build.

# Links the headers of `folder` (not those of its subfolders) into `view`.
function(quorvel_view_folder view folder)
  file(MAKE_DIRECTORY ${view}/${folder})
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  foreach(header ${headers})
    get_filename_component(name ${header} NAME)
    if(NOT EXISTS ${view}/${folder}/${name})
      file(CREATE_LINK ${header} ${view}/${folder}/${name} SYMBOLIC)
    endif()
  endforeach()
endfunction()

# quorvel_layer(<target> FOLDER <folder> [SEES <folder>...] [LINKS <target>...]
#               [SOURCES <file>...] [EXCLUDE <file name>...])
# A static library of the sources of <folder> (or an interface library when
# it has none) that sees <folder> and the folders in SEES.
function(quorvel_layer target)
  cmake_parse_arguments(LAYER "" "FOLDER" "SEES;LINKS;SOURCES;EXCLUDE" ${ARGN})
  set(view ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${view})
  foreach(folder ${LAYER_FOLDER} ${LAYER_SEES})
    quorvel_view_folder(${view} ${folder})
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${LAYER_FOLDER}/*.cpp)
  foreach(excluded ${LAYER_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/${LAYER_FOLDER}/${excluded})
  endforeach()
  list(APPEND sources ${LAYER_SOURCES})
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PRIVATE ${view})
    target_compile_options(${target} PRIVATE ${WARNINGS})
    target_link_libraries(${target} PUBLIC ${LAYER_LINKS})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${LAYER_LINKS})
  endif()
endfunction()
