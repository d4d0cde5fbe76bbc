# The team table script against lists it must take and lists it must
# refuse, run by CTest:
#   cmake -DSCRIPT=team_list_table.cmake -DWORK=FOLDER -P team_list_table_test.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# Runs the script on `csv`; `expect` is a piece of the table made, or of the
# message when it must fail (`should_fail` TRUE).
function(try_list name csv should_fail expect)
  file(WRITE "${WORK}/${name}.csv" "${csv}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DTEAM_LIST=${WORK}/${name}.csv -DTABLE=${WORK}/${name}.cc
                          -P ${SCRIPT}
                  RESULT_VARIABLE result ERROR_VARIABLE error OUTPUT_QUIET)
  set(table "")
  if(EXISTS "${WORK}/${name}.cc")
    file(READ "${WORK}/${name}.cc" table)
  endif()
  string(REGEX REPLACE "[ \n]+" " " error "${error}")
  if(should_fail)
    string(FIND "${error}" "${expect}" found)
    if(result EQUAL 0 OR found EQUAL -1 OR EXISTS "${WORK}/${name}.cc")
      message(SEND_ERROR "${name}: expected a failure saying \"${expect}\", got ${result}: ${error}")
    endif()
  else()
    string(FIND "${table}" "${expect}" found)
    if(NOT result EQUAL 0 OR found EQUAL -1)
      message(SEND_ERROR "${name}: expected a table holding ${expect}, got ${result}: ${error}")
    endif()
  endif()
endfunction()

set(header "TEAM,LEAGUE,CITY,NICKNAME,FIRST,LAST\n")
try_list(semicolons "${header}MIL,AL;NL,Milwaukee,Brewers,1970,2023\r\n" FALSE
         "{\"MIL\", \"AL;NL\", \"Milwaukee\", \"Brewers\", 1970, 2023},")
try_list(quoted "${header}WAS,AL,\"Washington, \"\"DC\"\" [x]\",Nats,1901,1960\n" FALSE
         "{\"WAS\", \"AL\", \"Washington, \\\"DC\\\" [x]\", \"Nats\", 1901, 1960},")
try_list(reordered "X,CITY,TEAM,LAST,FIRST,NICKNAME,LEAGUE\n1,Troy,TRN,1882,1879,Trojans,NL\n" FALSE
         "{\"TRN\", \"NL\", \"Troy\", \"Trojans\", 1879, 1882},")
try_list(twice "${header}NY1,NL,New York,Giants,1883,1957\nNY1,NL,New York,Gothams,1883,1885\n" TRUE
         "twice.csv:3: team code NY1 is listed twice")
try_list(short_row "${header}NY1,NL,New York,Giants,1883\n" TRUE "short_row.csv:2: 5 fields where the first line has 6")
try_list(no_column "TEAM,LEAGUE,TOWN,NICKNAME,FIRST,LAST\n" TRUE "no_column.csv:1: the first line names no column CITY")
try_list(open_quote "${header}NY1,NL,\"New York,Giants,1883,1957\n" TRUE "open_quote.csv:2: a double quote is not closed")
try_list(bad_year "${header}NY1,NL,New York,Giants,1883,now\n" TRUE "bad_year.csv:2: LAST \"now\" is not a year")
try_list(empty "${header}" TRUE "no teams in the list")
