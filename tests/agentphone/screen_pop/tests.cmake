# Screen pops and notifications with a fake browser, a fake HTTP client and a manual clock.
if(TARGET agentphone_screen_pop)
  add_unit_test(NAME test_agentphone_screen_pop
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/pop_urls_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/browser_command_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/screen_pop_service_test.cpp
    LIBS agentphone_screen_pop)
endif()
