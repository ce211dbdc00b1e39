# The tests' own runtime and state folders, and the check that the suite leaves the user's state
# folder alone. Run by ctest as a fixture around every test:
#   cmake -DACTION=setup -DHOME_ROOT=<folder> -DPROGRAMS=<names> -DSNAPSHOT=<file> -P TestHome.cmake
#   cmake -DACTION=check -DSNAPSHOT=<file> -P TestHome.cmake
# setup gives each test program a private runtime folder (the desktop makes it 0700, and a record
# is kept only in a private one) and notes what the user's state folder holds; check compares.
# Only what a test program could have put there is compared: folders and records named after the
# programs of the suite ("test_..." and "fuzz_...", in any letter case). Anything else may be
# written by the desktop, or by the calculator itself, while the suite runs.

if(DEFINED ENV{XDG_STATE_HOME} AND IS_ABSOLUTE "$ENV{XDG_STATE_HOME}")
  set(user_state "$ENV{XDG_STATE_HOME}")
else()
  set(user_state "$ENV{HOME}/.local/state")
endif()

function(state_listing out)
  set(lines "")
  if(IS_DIRECTORY "${user_state}")
    file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${user_state}" "${user_state}/*")
    list(SORT entries)
    foreach(entry IN LISTS entries)
      string(TOLOWER "${entry}" lower)
      if(lower MATCHES "(^|/)(test_|fuzz_)")
        file(TIMESTAMP "${user_state}/${entry}" stamp "%Y-%m-%dT%H:%M:%S" UTC)
        list(APPEND lines "${entry} ${stamp}")
      endif()
    endforeach()
  endif()
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

if(ACTION STREQUAL "setup")
  foreach(program IN LISTS PROGRAMS)
    foreach(folder runtime state)
      file(MAKE_DIRECTORY "${HOME_ROOT}/${program}/${folder}")
    endforeach()
    file(CHMOD "${HOME_ROOT}/${program}/runtime" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  endforeach()
  state_listing(before)
  file(WRITE "${SNAPSHOT}" "${before}")
elseif(ACTION STREQUAL "check")
  file(READ "${SNAPSHOT}" before)
  state_listing(after)
  if(NOT before STREQUAL after)
    message(FATAL_ERROR "the tests changed ${user_state}:\nbefore: ${before}\nafter: ${after}")
  endif()
  message(STATUS "${user_state} untouched by the tests")
else()
  message(FATAL_ERROR "ACTION must be setup or check")
endif()
