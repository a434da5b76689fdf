if(TARGET agentphone_db)
  add_unit_test(NAME test_agentphone_db NO_MAIN
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/db_test_main.cpp
      ${CMAKE_CURRENT_LIST_DIR}/connection_thread_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/embedded_database_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/list_database_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/mariadb_fixture.cpp
    LIBS agentphone_db)
  target_compile_definitions(test_agentphone_db PRIVATE
    AGENTPHONE_MARIADB_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/mariadb_server.sh")
endif()
