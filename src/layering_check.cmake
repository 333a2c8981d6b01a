# Fails when a source under SOURCE_DIR includes a header of a folder that its
# folder's rule does not name.  RULES is FOLDER=ALLOWED,ALLOWED... rules
# separated by "|";
# test sources (*_test.*) may also include testing/.  Every folder that holds
# sources must have a rule, so a new folder cannot slip past the check.
#   cmake -DSOURCE_DIR=src -DRULES="core=core|text=text,core" -P layering_check.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" RULES "${RULES}")
set(violations "")
set(ruled "")
foreach(rule IN LISTS RULES)
  string(REPLACE "=" ";" parts "${rule}")
  list(GET parts 0 folder)
  list(GET parts 1 allowed)
  string(REPLACE "," ";" allowed "${allowed}")
  list(APPEND ruled ${folder})
  file(GLOB sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cc ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    get_filename_component(name ${source} NAME)
    set(may_include ${allowed})
    if(name MATCHES "_test\\.")
      list(APPEND may_include testing)
    endif()
    file(STRINGS ${source} includes REGEX "^#include \"[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" included "${line}")
      # Third-party headers ("absl/...") are not layers of ours.
      if(IS_DIRECTORY ${SOURCE_DIR}/${included} AND NOT included IN_LIST may_include)
        list(JOIN may_include ", " names)
        list(APPEND violations "${folder}/${name} includes ${included}/ (may include: ${names})")
      endif()
    endforeach()
  endforeach()
endforeach()

file(GLOB entries LIST_DIRECTORIES true ${SOURCE_DIR}/*)
foreach(entry IN LISTS entries)
  get_filename_component(folder ${entry} NAME)
  file(GLOB sources ${entry}/*.h ${entry}/*.cc ${entry}/*.cpp)
  if(IS_DIRECTORY ${entry} AND sources AND NOT folder IN_LIST ruled)
    list(APPEND violations "${folder}/ has no layering rule in src/CMakeLists.txt")
  endif()
endforeach()

if(violations)
  list(JOIN violations "\n  " report)
  message(FATAL_ERROR "Layering violations:\n  ${report}")
endif()
message(STATUS "Every folder includes only the layers below it")
