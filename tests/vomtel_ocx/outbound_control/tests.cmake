add_unit_test(NAME test_vomtel_ocx_outbound_control
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/outbound_control_test.cpp
  LIBS vomtelx_controls vomtelx_fake_library)
