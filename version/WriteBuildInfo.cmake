# cmake -DSOURCE_DIR=… -DOUTPUT=… -DVERSION=… [-DCOMMIT=…] -P WriteBuildInfo.cmake
#
# The commit, first found of: COMMIT (-DSORVANTA_GIT_COMMIT=… for builds from
# a plain copy), the git checkout SOURCE_DIR is the top of (with "-dirty" when
# tracked files differ from it), commit.txt as `git archive` fills it in, and
# "unknown".
set(commit "${COMMIT}")
if(commit STREQUAL "")
  find_program(GIT_EXECUTABLE git)
  if(GIT_EXECUTABLE)
    # A tarball unpacked inside some other checkout must not take its commit;
    # the checkout may belong to another user (CI runs as root).
    set(git ${GIT_EXECUTABLE} --no-optional-locks -c safe.directory=* -C ${SOURCE_DIR})
    execute_process(COMMAND ${git} rev-parse --show-toplevel
                    OUTPUT_VARIABLE top RESULT_VARIABLE failed
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT failed)
      file(REAL_PATH "${top}" top)
      file(REAL_PATH "${SOURCE_DIR}" source)
    endif()
    if(NOT failed AND top STREQUAL source)
      execute_process(COMMAND ${git} rev-parse --short=12 HEAD
                      OUTPUT_VARIABLE commit RESULT_VARIABLE failed
                      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(failed)
        set(commit "")
      else()
        execute_process(COMMAND ${git} diff --quiet HEAD --
                        RESULT_VARIABLE dirty OUTPUT_QUIET ERROR_QUIET)
        if(dirty EQUAL 1)
          string(APPEND commit "-dirty")
        endif()
      endif()
    endif()
  endif()
endif()
if(commit STREQUAL "" AND EXISTS ${CMAKE_CURRENT_LIST_DIR}/commit.txt)
  file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/commit.txt archived LIMIT_COUNT 1)
  if(archived MATCHES "^[0-9a-f]+$")
    string(SUBSTRING "${archived}" 0 12 commit)
  endif()
endif()
if(commit STREQUAL "")
  set(commit "unknown")
endif()

set(text "// Written by WriteBuildInfo.cmake at every build.
#include \"BuildInfo.h\"

namespace sorvanta {

std::string_view BuildVersion() {
    return \"${VERSION}\";
}

std::string_view BuildCommit() {
    return \"${commit}\";
}

}  // namespace sorvanta
")
# Unchanged text, unchanged file: nothing is compiled or linked again.
file(CONFIGURE OUTPUT ${OUTPUT} CONTENT "${text}" @ONLY)
