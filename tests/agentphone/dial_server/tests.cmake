# The dial-request protocol, without sockets.
if(TARGET agentphone_dial_server)
  add_unit_test(NAME test_agentphone_dial_server
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/dial_request_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/dial_request_handler_test.cpp
    LIBS agentphone_dial_server)
endif()
