add_unit_test(NAME test_vomtel_ocx_event_control
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/event_control_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/event_properties_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/control_surface_test.cpp
  LIBS vomtelx_controls vomtelx_fake_library vomcom_testing)
