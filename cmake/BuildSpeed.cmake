# How the tree is compiled, not what: included after every folder is added.
#
# Test code (GoogleTest binaries, their helpers and GoogleTest itself) is
# compiled at -O1: a test body is generated code that runs once, and at -O3 it
# costs more to compile than the test takes to run. Libraries, programs,
# benchmarks and fuzzers (with the libraries built for them) keep the build
# type's flags.
#
# QF_FAST_BUILD (default: on when no compiler launcher is set) compiles for a
# machine without a compiler cache: unity batches and precompiled headers. Most
# of a file's compile time here is parsing the platform and library headers
# (windows.h and commctrl.h alone are 80,000 lines). A compiler cache stores
# neither well, so with a launcher (ccache) the classic per-file build is kept;
# CI and a clean clone without a launcher compile the same way.

if(CMAKE_CXX_COMPILER_LAUNCHER)
  set(qf_fast_default OFF)
else()
  set(qf_fast_default ON)
endif()
option(QF_FAST_BUILD "Unity batches and precompiled headers (for builds without a compiler cache)"
       ${qf_fast_default})
set(QF_UNITY_BATCH 16 CACHE STRING "Source files per unity batch under QF_FAST_BUILD")

function(qf_collect_targets dir out)
  get_property(found DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    qf_collect_targets(${sub} more)
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

qf_collect_targets(${CMAKE_SOURCE_DIR} qf_all_targets)

# The compiled targets, split into test code and the rest.
set(qf_test_targets "")
set(qf_code_targets "")
foreach(t IN LISTS qf_all_targets)
  get_target_property(type ${t} TYPE)
  if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
    continue()
  endif()
  get_target_property(src_dir ${t} SOURCE_DIR)
  get_target_property(corpus ${t} QF_CORPUS)
  if(t MATCHES "^(gtest|gmock)(_main)?$")
    target_compile_options(${t} PRIVATE -O1)
  elseif(src_dir MATCHES "^${CMAKE_SOURCE_DIR}/tests(/|$)" AND NOT corpus AND NOT t MATCHES "fuzz")
    list(APPEND qf_test_targets ${t})
  else()
    list(APPEND qf_code_targets ${t})
  endif()
endforeach()
foreach(t IN LISTS qf_test_targets)
  target_compile_options(${t} PRIVATE -O1)
endforeach()

if(NOT QF_FAST_BUILD)
  return()
endif()

# Files whose file-local names clash with another file of their target; they
# compile on their own.
set(qf_unity_alone
  ftpclient/MainForm.cpp
  ftpengine/core/FtpDataAddress.cpp
  gleaner/InfoChannel.cpp
  gleaner/core/ChannelSignal.cpp
  masks/core/ReportSaver.cpp
  syntaxedit/core/ScanRoutines.cpp
  syntaxedit/core/SyntaxMemoCommands.cpp
  syntaxedit/core/SyntaxMemoDecor.cpp
  syntaxedit/core/SyntaxMemoHover.cpp
  syntaxedit/core/SyntaxMemoTyping.cpp
  tests/components/FolderDialogTest.cpp
  tests/gleaner/ChannelTaskTest.cpp
  tests/gleaner/RunControlTest.cpp
  tests/masks/MaskFileTest.cpp
  tests/searchwindow/SearchSessionTest.cpp
  tests/syntaxedit/ReplacePlanTest.cpp
  tests/syntaxedit/TokenScannerTest.cpp
  tests/ui/ToolBarTest.cpp
)
# Files that must see a portable header before windows.h renames its names.
set(qf_pch_skip
  ftpclient/MainForm.cpp
)
# Targets that mix the editor's key names with the form library's, which
# cannot meet in one file: compiled file by file.
set(qf_unity_off
  syntaxedit_win syntaxedit_memo syntaxedit_memo_feature_win_tests syntaxedit_memo_screenshot
  syntaxedit_memo_slot_tests syntaxedit_options_dialog_tests syntaxedit_options_screenshot
  syntaxedit_parser_tests
)

# A target is a Windows one when one of its sources, or a header beside it that
# the source includes, includes the platform headers; only those get windows.h
# precompiled (it defines macros such as `far` and `near` that portable code
# may use). A Windows target taken for a portable one only compiles slower.
set(qf_win_targets "")
set(qf_win_header "^#include <(windows|commctrl|ole2|objbase|shlobj)\\.h>")
if(WIN32)
  foreach(t IN LISTS qf_test_targets qf_code_targets)
    get_target_property(sources ${t} SOURCES)
    get_target_property(src_dir ${t} SOURCE_DIR)
    foreach(s IN LISTS sources)
      if(NOT IS_ABSOLUTE ${s})
        set(s ${src_dir}/${s})
      endif()
      if(NOT s MATCHES "\\.(cpp|h)$" OR NOT EXISTS ${s})
        continue()
      endif()
      get_filename_component(dir ${s} DIRECTORY)
      file(STRINGS ${s} lines REGEX "^#include [<\"]")
      set(hit FALSE)
      foreach(line IN LISTS lines)
        if(line MATCHES "${qf_win_header}")
          set(hit TRUE)
        elseif(line MATCHES "^#include \"([^\"]+)\"")
          set(beside ${dir}/${CMAKE_MATCH_1})
          if(EXISTS ${beside})
            file(STRINGS ${beside} inner REGEX "${qf_win_header}" LIMIT_COUNT 1)
            if(inner)
              set(hit TRUE)
            endif()
          endif()
        endif()
        if(hit)
          break()
        endif()
      endforeach()
      if(hit)
        list(APPEND qf_win_targets ${t})
        break()
      endif()
    endforeach()
  endforeach()
endif()

# Four header sets, each compiled once and reused by every target of its kind.
set(qf_pch_std <algorithm> <cstdint> <cstring> <functional> <map> <memory> <set> <string>
               <unordered_map> <vector>)
set(qf_pch_win <windows.h> <commctrl.h>)
set(qf_pch_test <gtest/gtest.h> <gmock/gmock.h>)
set(qf_pch_src ${CMAKE_BINARY_DIR}/qf_pch/empty.cpp)
file(WRITE ${qf_pch_src} "")
function(qf_pch_donor name test)
  add_library(${name} STATIC EXCLUDE_FROM_ALL ${qf_pch_src})
  target_precompile_headers(${name} PRIVATE ${ARGN})
  if(test)
    target_link_libraries(${name} PRIVATE gtest gmock)
    target_compile_options(${name} PRIVATE -O1)
  endif()
endfunction()

function(qf_links_gtest t out)
  set(${out} FALSE PARENT_SCOPE)
  get_target_property(libs ${t} LINK_LIBRARIES)
  foreach(l IN LISTS libs)
    if(l MATCHES "^(gtest|gmock)$")
      set(${out} TRUE PARENT_SCOPE)
      return()
    elseif(TARGET ${l} AND NOT l MATCHES "::")
      qf_links_gtest(${l} found)
      if(found)
        set(${out} TRUE PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
endfunction()

foreach(t IN LISTS qf_test_targets qf_code_targets)
  get_target_property(sources ${t} SOURCES)
  if(NOT sources MATCHES "\\.(cpp|cc)(;|$)")
    continue()
  endif()
  # C files, if any, are compiled as before.
  foreach(s IN LISTS sources)
    if(s MATCHES "\\.c$")
      set_source_files_properties(${s} TARGET_DIRECTORY ${t} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endif()
  endforeach()
  if(NOT t IN_LIST qf_unity_off)
    set_target_properties(${t} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${QF_UNITY_BATCH})
    # A test file's fixtures in an anonymous namespace look, once included into a
    # batch, like a header's; GCC's warning about that is noise here.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${t} PRIVATE -Wno-subobject-linkage)
    endif()
  endif()
  get_target_property(src_dir ${t} SOURCE_DIR)
  foreach(s IN LISTS sources)
    if(NOT IS_ABSOLUTE ${s})
      set(s ${src_dir}/${s})
    endif()
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${s})
    if(rel IN_LIST qf_unity_alone)
      set_source_files_properties(${s} TARGET_DIRECTORY ${t} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
    if(rel IN_LIST qf_pch_skip)
      set_source_files_properties(${s} TARGET_DIRECTORY ${t} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endif()
  endforeach()

  # Clang refuses a precompiled header made under other sanitizer options (the
  # fuzz targets add one); the host build uses unity batches alone.
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    continue()
  endif()
  qf_links_gtest(${t} gtest_linked)
  if(t IN_LIST qf_test_targets AND NOT gtest_linked)
    continue()  # a tool beside the tests: a header set of its own would not pay
  elseif(t IN_LIST qf_test_targets)
    set(kind test)
  else()
    set(kind lib)
  endif()
  if(t IN_LIST qf_win_targets)
    string(APPEND kind _win)
  endif()
  set(donor qf_pch_${kind})
  if(NOT TARGET ${donor})
    set(headers ${qf_pch_std})
    if(kind MATCHES "_win$")
      list(PREPEND headers ${qf_pch_win})
    endif()
    if(kind MATCHES "^test")
      qf_pch_donor(${donor} TRUE ${headers} ${qf_pch_test})
    else()
      qf_pch_donor(${donor} FALSE ${headers})
    endif()
  endif()
  target_precompile_headers(${t} REUSE_FROM ${donor})
endforeach()
