# The whole desk end to end: the agent program started as a process (offscreen) with the real
# control module registered in a scratch registry and the real libvomtel.so, against the CTI
# server simulator, a recording web server and dial-request clients.
include(${CMAKE_CURRENT_LIST_DIR}/harness/harness.cmake)

if(TARGET desk_harness AND TARGET agentphone AND TARGET vomtelx AND TARGET vomcom-register)
  add_unit_test(NAME test_e2e_desk
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/desk_fixture.cpp
      ${CMAKE_CURRENT_LIST_DIR}/login_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/inbound_call_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/dial_request_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/fail_over_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/session_end_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/database_stall_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/stalled_database.cpp
      ${PROJECT_SOURCE_DIR}/tests/agentphone/db/mariadb_fixture.cpp
      ${CMAKE_CURRENT_LIST_DIR}/event_burst.cpp
      ${CMAKE_CURRENT_LIST_DIR}/event_burst_test.cpp
    LIBS desk_harness)
  desk_harness_programs(test_e2e_desk)
  target_compile_definitions(test_e2e_desk PRIVATE
    AGENTPHONE_MARIADB_SCRIPT="${PROJECT_SOURCE_DIR}/tests/agentphone/db/mariadb_server.sh")
endif()

# The soak: a thousand calls through link faults and a hundred dial clients; label "soak"
# (under three minutes in the ASan+UBSan build).
if(TARGET desk_harness AND TARGET agentphone AND TARGET vomtelx AND TARGET vomcom-register)
  add_executable(test_e2e_soak ${CMAKE_CURRENT_LIST_DIR}/desk_fixture.cpp
                               ${CMAKE_CURRENT_LIST_DIR}/soak_test.cpp)
  target_include_directories(test_e2e_soak PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(test_e2e_soak PRIVATE desk_harness GTest::gtest GTest::gtest_main
                        Threads::Threads)
  desk_harness_programs(test_e2e_soak)
  add_test(NAME e2e_soak COMMAND test_e2e_soak WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(e2e_soak PROPERTIES LABELS soak TIMEOUT 300)
endif()

# The window end to end: the program assembled in the test's own process (as agentphone does),
# its buttons pressed by name, against the same switch, web server and registry.
if(TARGET desk_harness AND TARGET agentphone_app AND TARGET vomtelx AND TARGET vomcom-register)
  find_package(Qt6 COMPONENTS Test REQUIRED)
  add_unit_test(NAME test_e2e_window NO_MAIN
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/window_main.cpp
      ${CMAKE_CURRENT_LIST_DIR}/desk_fixture.cpp
      ${CMAKE_CURRENT_LIST_DIR}/window_fixture.cpp
      ${CMAKE_CURRENT_LIST_DIR}/held_call_window_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/consultation_window_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/call_back_window_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/logged_out_under_dialog_window_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/forced_log_off_window_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/list_wait_window_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/stalled_database.cpp
      ${PROJECT_SOURCE_DIR}/tests/agentphone/db/mariadb_fixture.cpp
      ${CMAKE_CURRENT_LIST_DIR}/event_burst.cpp
      ${CMAKE_CURRENT_LIST_DIR}/event_burst_window_test.cpp
    LIBS desk_harness agentphone_app Qt6::Test)
  desk_harness_programs(test_e2e_window)
  target_compile_definitions(test_e2e_window PRIVATE
    AGENTPHONE_MARIADB_SCRIPT="${PROJECT_SOURCE_DIR}/tests/agentphone/db/mariadb_server.sh")
endif()
