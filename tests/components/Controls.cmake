# Tests of the toolbar kit, edits, menus, hints and stores (included from components/).
set(qf_ctl_tests ${CMAKE_SOURCE_DIR}/tests/components)
qf_add_gtest(components_ctl_core_tests
  SOURCES ${qf_ctl_tests}/HookListTest.cpp ${qf_ctl_tests}/ButtonLayoutTest.cpp
          ${qf_ctl_tests}/BrkApartTest.cpp ${qf_ctl_tests}/RegistryValueTest.cpp
          ${qf_ctl_tests}/HintPlacementTest.cpp ${qf_ctl_tests}/ComboCompletionTest.cpp
          ${qf_ctl_tests}/FormPositionTest.cpp ${qf_ctl_tests}/FolderDialogRulesTest.cpp
  LIBS components_ctl_core)

if(WIN32)
  qf_add_gtest(components_ctl_win_tests
    SOURCES ${qf_ctl_tests}/ToolbarHooksTest.cpp ${qf_ctl_tests}/ToolbarButton97Test.cpp
            ${qf_ctl_tests}/Edit97Test.cpp ${qf_ctl_tests}/StoresTest.cpp
            ${qf_ctl_tests}/SmallComponentsTest.cpp ${qf_ctl_tests}/DropdownListTest.cpp
            ${qf_ctl_tests}/FolderDialogTest.cpp ${qf_ctl_tests}/Menus97Test.cpp
            ${qf_ctl_tests}/ApplicationHintsTest.cpp
    LIBS components_ctl_win qf_uitest shlwapi
    # The cursor and the active window are shared by every process on the desktop.
    RESOURCE_LOCK desktop_cursor)
  # These follow the real cursor: another test's window shown over the button
  # meanwhile takes the hover, so they run alone.
  set_tests_properties(ToolbarButton97.BorderPixelsMatchDrawEdge ToolbarButton97.DeactivatingTheApplicationEndsTheHover
                       ToolbarButton97.HoverFollowsTheRealCursor ToolbarButton97.RepeatingClicksAtPressAndOnEachTickInside
                       Hint95.NoStyleComponentMeansWindows95AndTheTipSitsUnderTheCursor
                       Hint95.ATipOverAButtonInTheStylesPlaceAndTheMenusHintsInTheStatusBar
                       PROPERTIES RUN_SERIAL TRUE)
  # Changes the desktop's system colours for a moment: nothing else may run meanwhile.
  set_tests_properties(ToolbarButton97.LatchedPatternAndEmbossedImagesFollowTheSystemColours
                       PROPERTIES RUN_SERIAL TRUE)
endif()

if(WIN32)
  # Not a test: a program that shows the components and saves a picture (run under Xvfb).
  add_executable(components_demo ${qf_ctl_tests}/ComponentsDemo.cpp)
  target_link_libraries(components_demo PRIVATE components_ctl_win)
  target_link_options(components_demo PRIVATE -mconsole)
endif()
