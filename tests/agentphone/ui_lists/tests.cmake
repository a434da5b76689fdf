if(TARGET agentphone_ui_lists)
  find_package(Qt6 COMPONENTS Test REQUIRED)
  add_unit_test(NAME test_agentphone_ui_lists NO_MAIN
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/ui_lists_test_main.cpp
      ${CMAKE_CURRENT_LIST_DIR}/list_windows_ui_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/failed_save_ui_test.cpp
    LIBS agentphone_ui_lists agentphone_db Qt6::Test)
endif()
