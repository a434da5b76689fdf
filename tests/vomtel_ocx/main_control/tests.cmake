# The main control through IDispatch against a recording fake of the library's exports.
if(TARGET vomtelx_main_control)
  file(GLOB main_control_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
  list(FILTER main_control_tests EXCLUDE REGEX "end_to_end_test\\.cpp$")
  add_unit_test(NAME test_vomtelx_main_control
    SOURCES ${main_control_tests} ${CMAKE_CURRENT_LIST_DIR}/fake_exports.cpp
    LIBS vomtelx_main_control vomcom_testing)
  target_include_directories(test_vomtelx_main_control PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()
