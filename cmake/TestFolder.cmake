# lumo_make_test_folder(OUT): for a CMake script that runs a program under
# test, a folder unique to this run (made like mkdtemp, under TMPDIR or /tmp)
# into which the environment points every folder the program may write to:
# the temporary, data and settings folders, HOME and the XDG folders. The
# program runs headless. The caller removes the folder afterwards.
function(lumo_make_test_folder out)
  set(base /tmp)
  if(IS_ABSOLUTE "$ENV{TMPDIR}" AND IS_DIRECTORY "$ENV{TMPDIR}")
    set(base "$ENV{TMPDIR}")
  endif()
  execute_process(COMMAND mktemp -d "${base}/lumo-tests.XXXXXX"
    OUTPUT_VARIABLE folder OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT IS_DIRECTORY "${folder}")
    message(FATAL_ERROR "cannot make a test folder in ${base}")
  endif()
  foreach(pair TMPDIR=tmp TEST_TMPDIR=tmp LUMO_DATA_DIR=data LUMO_CONFIG_DIR=config HOME=home
               XDG_DATA_HOME=home/.local/share XDG_CONFIG_HOME=home/.config XDG_CACHE_HOME=home/.cache)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 name)
    list(GET pair 1 sub)
    file(MAKE_DIRECTORY "${folder}/${sub}")
    set(ENV{${name}} "${folder}/${sub}")
  endforeach()
  set(ENV{LUMO_HEADLESS} 1)
  set(${out} "${folder}" PARENT_SCOPE)
endfunction()
