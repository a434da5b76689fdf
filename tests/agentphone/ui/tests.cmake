# The main window, its dialogs and the controls' client site on the offscreen platform.
if(TARGET agentphone_ui)
  find_package(Qt6 COMPONENTS Test REQUIRED)
  add_unit_test(NAME test_agentphone_ui NO_MAIN
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/ui_test_main.cpp
      ${CMAKE_CURRENT_LIST_DIR}/window_layout_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/window_display_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/dial_pad_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/reason_and_consult_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/client_site_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/setting_number_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/message_boxes_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/session_end_test.cpp
      ${PROJECT_SOURCE_DIR}/agentphone/app/session_end.cpp
      ${PROJECT_SOURCE_DIR}/tests/agentphone/core/fake_control.cpp
    LIBS agentphone_ui vomtel_test_support Qt6::Test)
endif()
