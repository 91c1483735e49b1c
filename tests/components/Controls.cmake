# Tests of the toolbar kit, edits, menus, hints and stores (included from components/).
set(qf_ctl_tests ${CMAKE_SOURCE_DIR}/tests/components)
qf_add_gtest(components_ctl_core_tests
  SOURCES ${qf_ctl_tests}/HookListTest.cpp ${qf_ctl_tests}/ButtonLayoutTest.cpp
          ${qf_ctl_tests}/BrkApartTest.cpp ${qf_ctl_tests}/RegistryValueTest.cpp
          ${qf_ctl_tests}/HintPlacementTest.cpp ${qf_ctl_tests}/ComboCompletionTest.cpp
          ${qf_ctl_tests}/FormPositionTest.cpp
  LIBS components_ctl_core)
