# Each layer includes only the layers under it. Run as a test:
#   cmake -DSOURCE=<tree> -P check_layers.cmake
# fails, naming the file and the include, when a folder includes one it may
# not: frame/ nothing but itself; files/ and console/ frame/; schedule/
# files/ and frame/; the two programs, tool/ and builder/, the layers below
# them. Tests may include the test-support library, testing/, as well.
cmake_minimum_required(VERSION 3.25)
set(allowed_frame frame)
set(allowed_files frame files)
set(allowed_console frame console)
set(allowed_schedule frame files schedule)
set(allowed_tool frame files schedule tool)
set(allowed_builder frame files console schedule builder)

set(wrong "")
foreach(layer frame files console schedule tool builder)
  file(GLOB sources "${SOURCE}/${layer}/*.h" "${SOURCE}/${layer}/*.cc")
  foreach(source ${sources})
    set(may ${allowed_${layer}})
    if(source MATCHES "_test\\.cc$")
      list(APPEND may testing)
    endif()
    file(STRINGS "${source}" includes REGEX "^#include \"[a-z0-9_]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([a-z0-9_]+)/.*" "\\1" folder "${line}")
      if(NOT folder IN_LIST may)
        file(RELATIVE_PATH shown "${SOURCE}" "${source}")
        string(APPEND wrong "  ${shown}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(wrong)
  message(FATAL_ERROR "A layer includes one above it:\n${wrong}")
endif()
