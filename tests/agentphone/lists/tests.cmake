add_unit_test(NAME test_agentphone_lists
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/connection_setting_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_routines_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/list_windows_test.cpp
  LIBS agentphone_lists)
