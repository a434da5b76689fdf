add_unit_test(NAME test_vomtel_ocx_log
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/trace_log_test.cpp
  LIBS vomtelx_log vomtelx_test_support)
