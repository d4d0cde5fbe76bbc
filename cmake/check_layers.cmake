# Each layer includes only the layers under it, and no command's room
# includes another's. Run as a test:
#   cmake -DSOURCE=<tree> -P check_layers.cmake
# fails, naming the file and the include, when a folder includes one it may
# not: frame/ nothing but itself; files/ and console/ frame/; schedule/
# files/ and frame/; builder/ the layers below it. In schedule-tool, tool/
# itself (what every command uses) the layers below it; tool/season/ those
# and tool/; each command's room (tool/build/, tool/check/, ...) those,
# tool/ and tool/season/, and none of the other rooms. The command table
# (tool/tool_main.cc) and the tests of tool/ itself, which run the commands
# together, may include every room. Tests may include the test-support
# library, testing/, as well.
cmake_minimum_required(VERSION 3.25)
set(allowed_frame frame)
set(allowed_files frame files)
set(allowed_console frame console)
set(allowed_schedule frame files schedule)
set(allowed_tool frame files schedule tool)
set(allowed_tool/season frame files schedule tool tool/season)
set(allowed_builder frame files console schedule builder)
set(every_room)

# The rooms are the folders below tool/ other than season/.
file(GLOB room_dirs LIST_DIRECTORIES true "${SOURCE}/tool/*")
set(rooms)
foreach(dir ${room_dirs})
  get_filename_component(name "${dir}" NAME)
  if(IS_DIRECTORY "${dir}" AND NOT name STREQUAL "season")
    list(APPEND rooms "tool/${name}")
    set(allowed_tool/${name} frame files schedule tool tool/season tool/${name})
  endif()
endforeach()

# The layer an include names: its first folder, or tool/ROOM for a file in a
# room of tool/.
function(included_layer line out)
  string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" path "${line}")
  if(path MATCHES "^tool/([a-z0-9_]+)/")
    set(${out} "tool/${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    string(REGEX REPLACE "^([a-z0-9_]+)/.*" "\\1" folder "${path}")
    set(${out} "${folder}" PARENT_SCOPE)
  endif()
endfunction()

set(wrong "")
foreach(layer frame files console schedule tool tool/season ${rooms} builder)
  file(GLOB sources "${SOURCE}/${layer}/*.h" "${SOURCE}/${layer}/*.cc")
  foreach(source ${sources})
    set(may ${allowed_${layer}})
    get_filename_component(name "${source}" NAME)
    if(layer STREQUAL "tool" AND (name STREQUAL "tool_main.cc" OR name MATCHES "_test\\.cc$"))
      list(APPEND may tool/season ${rooms})
    endif()
    if(name MATCHES "_test\\.cc$")
      list(APPEND may testing)
    endif()
    file(STRINGS "${source}" includes REGEX "^#include \"[a-z0-9_]+/")
    foreach(line ${includes})
      included_layer("${line}" folder)
      if(NOT folder IN_LIST may)
        file(RELATIVE_PATH shown "${SOURCE}" "${source}")
        string(APPEND wrong "  ${shown}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(wrong)
  message(FATAL_ERROR "A layer includes one above it, or a room another's:\n${wrong}")
endif()
