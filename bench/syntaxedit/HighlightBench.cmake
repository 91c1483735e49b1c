# Highlighting a large generated C-like text with a compiled scheme (run-highlight.sh).
add_executable(syntaxedit_highlight_bench HighlightBench.cpp)
target_link_libraries(syntaxedit_highlight_bench PRIVATE syntaxedit_core)
if(WIN32)
  target_link_options(syntaxedit_highlight_bench PRIVATE -mconsole)
endif()
