# Fails when a file of the Qt-free core includes Qt, a generated form, or one of the project's
# files that is not itself listed for the core: the core's tests and tools link no Qt, and a
# header of the UI library would pull it in sooner or later.
#
#   cmake -DLIST_FILE=<one core file a line> -DSOURCE_DIR=<src> [-DSTAMP=<file>] -P <this script>

file(STRINGS "${LIST_FILE}" core_files)
set(problems "")
foreach(file IN LISTS core_files)
  if(NOT file MATCHES "\\.(h|hpp|cpp)$")
    continue()
  endif()
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
  if(shown MATCHES "^\\.\\./")
    set(shown "${file}")
  endif()
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*" "" target "${line}")
    string(REGEX MATCH "^[<\"]([^>\"]*)" _ "${target}")
    set(name "${CMAKE_MATCH_1}")
    if(target MATCHES "^<(Q|qt)" OR name MATCHES "(^|/)ui_[^/]*\\.h$")
      string(APPEND problems "\n  ${shown} includes ${target}")
    elseif(target MATCHES "^\"" AND EXISTS "${SOURCE_DIR}/${name}")
      list(FIND core_files "${SOURCE_DIR}/${name}" at)
      if(at EQUAL -1)
        string(APPEND problems "\n  ${shown} includes ${name}, which is not listed for mitoran_core")
      endif()
    endif()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "mitoran_core must stay free of Qt:${problems}\n"
          "List a Qt-free file for mitoran_core in its folder's CMakeLists.txt; move a file that "
          "needs Qt to the folder's mitoran_ui list, or its Qt part out of it.")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
