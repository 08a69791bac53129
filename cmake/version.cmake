# Writes the version header that botcfg and the Windows version resources take the version and
# the commit from: run at every build (a script, cmake -P), so that the commit is the one built,
# and written only when it changed, so that nothing rebuilds for nothing.
#
# Variables: SOURCE_DIR, OUTPUT, VERSION; COMMIT (the commit, where the tree has no .git, as in
# a release build from an exported tree), else asked of git.
if(NOT COMMIT)
  execute_process(COMMAND git -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
    OUTPUT_VARIABLE COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(failed OR NOT COMMIT)
    set(COMMIT "unknown")
  else()
    execute_process(COMMAND git -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
      OUTPUT_VARIABLE changes OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(changes)
      string(APPEND COMMIT "-modified")
    endif()
  endif()
endif()
string(REGEX MATCHALL "[0-9]+" parts "${VERSION}")
list(APPEND parts 0 0 0)
list(GET parts 0 VERSION_MAJOR)
list(GET parts 1 VERSION_MINOR)
list(GET parts 2 VERSION_PATCH)
file(WRITE "${OUTPUT}.new"
  "// Written by cmake/version.cmake at every build.\n"
  "#pragma once\n"
  "#define VOLTARA_VERSION \"${VERSION}\"\n"
  "#define VOLTARA_VERSION_NUMBERS ${VERSION_MAJOR},${VERSION_MINOR},${VERSION_PATCH},0\n"
  "#define VOLTARA_COMMIT \"${COMMIT}\"\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
