# Test helpers shared by every folder.
#
#   qf_add_gtest(<name> SOURCES ... [LIBS ...] [PEERS peer ...] [LABELS ...] [RESOURCE_LOCK lock ...])
#
# Builds a GoogleTest binary and registers one CTest test per TEST()/TEST_F(),
# also those in sources added to the target afterwards with target_sources.
# Under the cross build each test runs under Wine; with PEERS the run goes
# through tests/support/peers.py, which starts those loopback servers on free
# ports first, passes their ports in the environment and stops them afterwards.
#
#   qf_add_fuzzer(<name> SOURCES ... [LIBS ...] [CORPUS dir])
#
# Host build only: a libFuzzer target. scripts/test.sh runs each for a bounded
# time, starting from the seed files in CORPUS (a copy: seeds are not changed).

set(QF_TEST_SUPPORT_DIR ${CMAKE_CURRENT_LIST_DIR}/../tests/support)
set(QF_PEERS_PY /usr/bin/python3 ${QF_TEST_SUPPORT_DIR}/peers.py)

if(NOT TARGET gtest)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT WIN32)
    # GoogleTest itself is not what the sanitizers are for.
    foreach(t gtest gtest_main gmock gmock_main)
      if(TARGET ${t})
        target_compile_options(${t} PRIVATE -fno-sanitize=all)
      endif()
    endforeach()
  endif()
endif()

include(GoogleTest)

function(qf_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PEERS;LABELS;RESOURCE_LOCK;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} qf_testmain gtest gmock)
  if(WIN32)
    target_link_options(${name} PRIVATE -mconsole)
    if(T_PEERS)
      string(REPLACE ";" "," peers "${T_PEERS}")
      set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
        "${QF_PEERS_PY};--peers;${peers};--;${CMAKE_SOURCE_DIR}/scripts/wine-run.sh")
    endif()
  else()
    if(T_PEERS)
      string(REPLACE ";" "," peers "${T_PEERS}")
      set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${QF_PEERS_PY};--peers;${peers};--")
    endif()
  endif()
  set(labels ${T_LABELS})
  if(WIN32)
    list(APPEND labels wine)
  else()
    list(APPEND labels host)
  endif()
  set_target_properties(${name} PROPERTIES QF_TEST_LABELS "${labels}" QF_TEST_LOCK "${T_RESOURCE_LOCK}"
    QF_TEST_PROPERTIES "${T_PROPERTIES}" QF_TEST_SCANNED "${T_SOURCES}")
  _qf_register_gtests(${name} ${T_SOURCES})
  # Sources added later with target_sources are scanned at the end of the folder.
  cmake_language(EVAL CODE "cmake_language(DEFER CALL _qf_register_later_gtests [[${name}]])")
endfunction()

# Registers the tests found in the given sources of a qf_add_gtest target.
function(_qf_register_gtests name)
  if(NOT ARGN)
    return()
  endif()
  gtest_add_tests(TARGET ${name} SOURCES ${ARGN} TEST_LIST added
                  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(NOT added)
    return()
  endif()
  get_target_property(labels ${name} QF_TEST_LABELS)
  get_target_property(lock ${name} QF_TEST_LOCK)
  get_target_property(props ${name} QF_TEST_PROPERTIES)
  # A test compiled out on this platform matches nothing: shown as skipped, not passed.
  set_tests_properties(${added} PROPERTIES LABELS "${labels}" TIMEOUT 300
                       SKIP_REGULAR_EXPRESSION "\\[==========\\] 0 tests from 0 test suites ran")
  if(lock)
    set_tests_properties(${added} PROPERTIES RESOURCE_LOCK "${lock}")
  endif()
  if(props)
    set_tests_properties(${added} PROPERTIES ${props})
  endif()
endfunction()

function(_qf_register_later_gtests name)
  get_target_property(sources ${name} SOURCES)
  get_target_property(scanned ${name} QF_TEST_SCANNED)
  list(REMOVE_DUPLICATES sources)
  list(FILTER sources INCLUDE REGEX "\\.(cpp|cc|cxx)$")
  set(later "")
  foreach(s IN LISTS sources)
    get_filename_component(s_abs "${s}" ABSOLUTE)
    set(seen FALSE)
    foreach(old IN LISTS scanned)
      get_filename_component(old_abs "${old}" ABSOLUTE)
      if(s_abs STREQUAL old_abs)
        set(seen TRUE)
      endif()
    endforeach()
    if(NOT seen)
      list(APPEND later "${s}")
    endif()
  endforeach()
  _qf_register_gtests(${name} ${later})
endfunction()

function(qf_add_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(WIN32 OR NOT HOST_FUZZ OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(F_CORPUS)
    get_filename_component(corpus ${F_CORPUS} ABSOLUTE)
  else()
    set(corpus "-")
  endif()
  set_target_properties(${name} PROPERTIES QF_CORPUS ${corpus})
  set_property(GLOBAL APPEND PROPERTY QF_FUZZERS ${name})
endfunction()
