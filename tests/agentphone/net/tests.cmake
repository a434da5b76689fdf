# The Qt Network adapters for real: the dial-request listener over loopback sockets, the HTTP
# client against a local server, and the browser as a real process.
if(TARGET agentphone_net)
  find_package(Qt6 COMPONENTS Test REQUIRED)
  add_unit_test(NAME test_agentphone_net NO_MAIN
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/net_test_main.cpp
      ${CMAKE_CURRENT_LIST_DIR}/loopback_client.cpp
      ${CMAKE_CURRENT_LIST_DIR}/capture_http_server.cpp
      ${CMAKE_CURRENT_LIST_DIR}/dial_request_server_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/notification_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/process_browser_test.cpp
    LIBS agentphone_net Qt6::Test)
  set_target_properties(test_agentphone_net PROPERTIES AUTOMOC ON)
endif()
