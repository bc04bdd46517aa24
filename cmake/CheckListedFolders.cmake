# cmake -DSOURCE_DIR=<tree> -P CheckListedFolders.cmake
#
# The build lists itself: every folder below the tree's own folders that holds
# a CMakeLists.txt must be named by an add_subdirectory() in the CMakeLists.txt
# of the nearest folder above it that has one, so that a renamed or forgotten
# folder fails here instead of silently dropping a library or a test.

cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<tree> -P CheckListedFolders.cmake")
endif()
get_filename_component(SOURCE_DIR ${SOURCE_DIR} ABSOLUTE)

set(roots bench client coralind fuzz platform prevcheck server shared tests)
set(lists)
foreach(root ${roots})
  file(GLOB_RECURSE found RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${root}/CMakeLists.txt)
  list(APPEND lists ${found})
endforeach()

set(unlisted)
foreach(list_file ${lists})
  get_filename_component(folder ${list_file} DIRECTORY)
  # The nearest folder above with a CMakeLists.txt, and the path from there.
  set(parent ${folder})
  set(name "")
  while(TRUE)
    get_filename_component(leaf ${parent} NAME)
    get_filename_component(parent ${parent} DIRECTORY)
    if(name)
      set(name "${leaf}/${name}")
    else()
      set(name ${leaf})
    endif()
    if(parent STREQUAL "" OR EXISTS ${SOURCE_DIR}/${parent}/CMakeLists.txt)
      break()
    endif()
  endwhile()
  if(parent STREQUAL "")
    set(parent_list ${SOURCE_DIR}/CMakeLists.txt)
  else()
    set(parent_list ${SOURCE_DIR}/${parent}/CMakeLists.txt)
  endif()
  file(STRINGS ${parent_list} calls REGEX "^[ \t]*add_subdirectory[ \t]*\\([ \t]*${name}[ \t)]")
  if(NOT calls)
    file(RELATIVE_PATH shown ${SOURCE_DIR} ${parent_list})
    list(APPEND unlisted "${folder} (not in ${shown})")
  endif()
endforeach()

if(unlisted)
  string(REPLACE ";" "\n  " unlisted "${unlisted}")
  message(FATAL_ERROR "Folders with a CMakeLists.txt that no add_subdirectory() names:\n  ${unlisted}")
endif()
list(LENGTH lists count)
message(STATUS "${count} folders, each listed by the folder above it")
