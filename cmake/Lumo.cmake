# Shared build settings and helpers for every Lumo target.

set(LUMO_WARNINGS -Wall -Wextra -Wshadow)
if(LUMO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(LUMO_FUZZ)
  # Coverage for every library, not only the fuzz targets' own files, so the
  # fuzzers are guided through the readers they exercise.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# lumo_library(NAME SOURCES ... [LIBS ...]): a static library in namespace Lumo,
# with the repository root on its include path.
function(lumo_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS;PUBLIC_INCLUDES" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${L_PUBLIC_INCLUDES})
  target_compile_options(${name} PRIVATE ${LUMO_WARNINGS})
  if(L_LIBS)
    target_link_libraries(${name} PUBLIC ${L_LIBS})
  endif()
endfunction()

# lumo_module(NAME SOURCES ... [LIBS ...]): a shared module loaded by name at
# run time (our stand-ins of outside libraries), placed beside the program.
function(lumo_module name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} MODULE ${L_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "lib" CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${LUMO_WARNINGS})
  if(L_LIBS)
    target_link_libraries(${name} PRIVATE ${L_LIBS})
  endif()
endfunction()

# While several people add files at once, a test or fuzz target may briefly
# list a source that is not there yet; outside CI such a source is left out
# with a warning so the rest of the tree still configures. CI is strict.
function(lumo_existing_sources out)
  set(kept)
  foreach(src ${ARGN})
    if(IS_ABSOLUTE ${src})
      set(path ${src})
    else()
      set(path ${CMAKE_CURRENT_SOURCE_DIR}/${src})
    endif()
    if(EXISTS ${path} OR DEFINED ENV{CI})
      list(APPEND kept ${src})
    else()
      message(WARNING "${src} does not exist yet: left out")
    endif()
  endforeach()
  set(${out} ${kept} PARENT_SCOPE)
endfunction()

# lumo_test(NAME SOURCES ... [LIBS ...]): a GoogleTest program registered with
# CTest. Its main (lumo_test_main) gives every run of it, by CTest or by hand,
# a folder of its own holding its data, settings and scratch folders, and runs
# the tests headless.
function(lumo_test name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
  lumo_existing_sources(L_SOURCES ${L_SOURCES})
  if(NOT L_SOURCES)
    return()
  endif()
  add_executable(${name} ${L_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${LUMO_WARNINGS})
  target_link_libraries(${name} PRIVATE ${L_LIBS} lumo_test_main GTest::gtest Threads::Threads)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    DISCOVERY_TIMEOUT 60)
endfunction()

# lumo_fuzz(NAME SOURCE CORPUS_DIR LIBS ...): a libFuzzer target. With clang and
# LUMO_FUZZ it is a real fuzzer; otherwise it is linked with a small driver that
# replays every file of the seed corpus, and the replay is a CTest test, run
# inside a folder of its own (RunIsolated.cmake).
function(lumo_fuzz name source corpus)
  cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
  lumo_existing_sources(source ${source})
  if(NOT source)
    return()
  endif()
  if(LUMO_FUZZ)
    add_executable(${name} ${source})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${name} ${source} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${L_LIBS})
  if(LUMO_TESTS)
    if(LUMO_FUZZ)
      set(runs -runs=0)
    else()
      set(runs)
    endif()
    add_test(NAME ${name}_corpus
      COMMAND ${CMAKE_COMMAND} -P ${PROJECT_SOURCE_DIR}/cmake/RunIsolated.cmake -- $<TARGET_FILE:${name}> ${runs} ${corpus}
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  endif()
endfunction()

find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
include(GoogleTest)
