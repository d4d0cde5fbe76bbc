# Turns the team list (a CSV file with the columns TEAM, LEAGUE, CITY,
# NICKNAME, FIRST and LAST, one row per team code) into the C++ table that
# team_list.cc looks codes up in. The build runs it whenever the list
# changes, so a newer list is one file to replace:
#
#   cmake -DTEAM_LIST=retrosheet-teams.csv -DTABLE=team_list_table.cc -P team_list_table.cmake
#
# A plain CMake script rather than a program of our own, so that a cross
# build needs nothing that runs on the build machine but CMake itself.
cmake_minimum_required(VERSION 3.25)

if(NOT TEAM_LIST OR NOT TABLE)
  message(FATAL_ERROR "team_list_table.cmake needs -DTEAM_LIST=CSV and -DTABLE=OUTPUT")
endif()

file(READ "${TEAM_LIST}" text)
# CMake lists split at ';' and keep '[' ... ']' together: the list's own
# semicolons (LEAGUE may be "AL;NL") and brackets are hidden until the table
# is written.
string(REPLACE "\r" "" text "${text}")
string(REPLACE ";" "@zelto_semicolon@" text "${text}")
string(REPLACE "[" "@zelto_open@" text "${text}")
string(REPLACE "]" "@zelto_close@" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

# Splits `line` into field_0, field_1, ... and sets field_count; a field in
# double quotes may hold commas and doubled quotes.
function(split_csv_line line number)
  set(rest "${line}")
  set(count 0)
  while(TRUE)
    string(SUBSTRING "${rest}" 0 1 first)
    if(first STREQUAL "\"")
      string(REGEX MATCH "^\"(([^\"]|\"\")*)\"" quoted "${rest}")
      if(quoted STREQUAL "")
        message(FATAL_ERROR "${TEAM_LIST}:${number}: a double quote is not closed")
      endif()
      set(value "${CMAKE_MATCH_1}")
      string(REPLACE "\"\"" "\"" value "${value}")
      string(LENGTH "${quoted}" used)
    else()
      string(FIND "${rest}" "," used)
      if(used EQUAL -1)
        string(LENGTH "${rest}" used)
      endif()
      string(SUBSTRING "${rest}" 0 ${used} value)
    endif()
    set(field_${count} "${value}" PARENT_SCOPE)
    math(EXPR count "${count} + 1")
    string(SUBSTRING "${rest}" ${used} -1 rest)
    if(rest STREQUAL "")
      break()
    endif()
    string(SUBSTRING "${rest}" 0 1 separator)
    if(NOT separator STREQUAL ",")
      message(FATAL_ERROR "${TEAM_LIST}:${number}: a double quote stands inside a field or after its closing quote")
    endif()
    string(SUBSTRING "${rest}" 1 -1 rest)
    if(rest STREQUAL "")
      set(field_${count} "" PARENT_SCOPE)
      math(EXPR count "${count} + 1")
      break()
    endif()
  endwhile()
  set(field_count ${count} PARENT_SCOPE)
endfunction()

# A value as the inside of a C++ string literal.
function(c_string value out)
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\"" "\\\"" value "${value}")
  string(REPLACE "\t" "\\t" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

set(wanted TEAM LEAGUE CITY NICKNAME FIRST LAST)
set(number 0)
set(codes "")
set(rows "")
set(header_seen FALSE)
foreach(line IN LISTS lines)
  math(EXPR number "${number} + 1")
  if(line STREQUAL "")
    continue()
  endif()
  split_csv_line("${line}" ${number})
  if(NOT header_seen)
    # The columns are found by their names, so a list with more columns or
    # another order reads the same.
    foreach(name IN LISTS wanted)
      set(column_${name} -1)
      math(EXPR last "${field_count} - 1")
      foreach(index RANGE ${last})
        if(field_${index} STREQUAL name)
          set(column_${name} ${index})
        endif()
      endforeach()
      if(column_${name} EQUAL -1)
        message(FATAL_ERROR "${TEAM_LIST}:${number}: the first line names no column ${name} (it needs TEAM,LEAGUE,CITY,NICKNAME,FIRST,LAST)")
      endif()
    endforeach()
    set(header_seen TRUE)
    set(columns ${field_count})
    continue()
  endif()
  if(NOT field_count EQUAL columns)
    message(FATAL_ERROR "${TEAM_LIST}:${number}: ${field_count} fields where the first line has ${columns}")
  endif()
  foreach(name IN LISTS wanted)
    set(value_${name} "${field_${column_${name}}}")
  endforeach()
  if(NOT value_TEAM MATCHES "^[A-Za-z0-9]+$")
    message(FATAL_ERROR "${TEAM_LIST}:${number}: team code \"${value_TEAM}\" is not letters and digits")
  endif()
  list(FIND codes "${value_TEAM}" earlier)
  if(NOT earlier EQUAL -1)
    message(FATAL_ERROR "${TEAM_LIST}:${number}: team code ${value_TEAM} is listed twice")
  endif()
  list(APPEND codes "${value_TEAM}")
  foreach(name FIRST LAST)
    if(NOT value_${name} MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${TEAM_LIST}:${number}: ${name} \"${value_${name}}\" is not a year")
    endif()
  endforeach()
  c_string("${value_LEAGUE}" league)
  c_string("${value_CITY}" city)
  c_string("${value_NICKNAME}" nickname)
  string(APPEND rows "    {\"${value_TEAM}\", \"${league}\", \"${city}\", \"${nickname}\", ${value_FIRST}, ${value_LAST}},\n")
endforeach()
if(NOT header_seen OR rows STREQUAL "")
  message(FATAL_ERROR "${TEAM_LIST}: no teams in the list")
endif()

string(REPLACE "@zelto_semicolon@" ";" rows "${rows}")
string(REPLACE "@zelto_open@" "[" rows "${rows}")
string(REPLACE "@zelto_close@" "]" rows "${rows}")
get_filename_component(list_name "${TEAM_LIST}" NAME)
file(WRITE "${TABLE}.new"
"// Made by the build from ${list_name} (tool/import/team_list_table.cmake): do not edit.
#include \"tool/import/team_list.h\"

namespace tool {
namespace {

constexpr TeamListEntry kTeams[] = {
${rows}};

}  // namespace

std::span<const TeamListEntry> TeamList() { return kTeams; }

}  // namespace tool
")
file(RENAME "${TABLE}.new" "${TABLE}")
