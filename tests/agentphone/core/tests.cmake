# The agent program's core without Qt.
if(TARGET agentphone_core)
  add_unit_test(NAME test_agentphone_core
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/desk_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/ini_file_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/program_log_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/text_routines_test.cpp
    LIBS agentphone_core vomtel_test_support)
endif()

# The main window's core against recording controls.
if(TARGET agentphone_core AND TARGET vomcom_cxx)
  add_unit_test(NAME test_agentphone_main_window
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/fake_control.cpp
      ${CMAKE_CURRENT_LIST_DIR}/command_dispatcher_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/event_handling_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/login_helpers_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/call_buttons_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/after_dialog_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/window_timers_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/state_display_test.cpp
    LIBS agentphone_core vomtel_test_support)
endif()

# End to end without a window: the real controls through the runtime, libvomtel.so and the
# simulator.
if(TARGET agentphone_core AND TARGET vomcom_cxx AND TARGET vomtelx AND TARGET ctisim_lib)
  add_unit_test(NAME test_agentphone_core_end_to_end
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/end_to_end_test.cpp
    LIBS agentphone_core ctisim_lib vomcom_testing vomtel_test_support ${CMAKE_DL_LIBS})
  target_compile_definitions(test_agentphone_core_end_to_end PRIVATE
    VOMTELX_MODULE_PATH="$<TARGET_FILE:vomtelx>")
  add_dependencies(test_agentphone_core_end_to_end vomtelx)
endif()
