# The main control through IDispatch against a recording fake of the library's exports.
if(TARGET vomtelx_main_control)
  file(GLOB main_control_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
  list(FILTER main_control_tests EXCLUDE REGEX "end_to_end_test\\.cpp$")
  add_unit_test(NAME test_vomtelx_main_control
    SOURCES ${main_control_tests} ${CMAKE_CURRENT_LIST_DIR}/fake_exports.cpp
    LIBS vomtelx_main_control vomcom_testing)
  target_include_directories(test_vomtelx_main_control PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()

# End to end: the module created by ProgID through the runtime, libvomtel.so and the simulator.
if(TARGET vomtelx AND TARGET ctisim_lib)
  add_unit_test(NAME test_vomtelx_main_control_end_to_end
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/end_to_end_test.cpp
    LIBS vomcom_cxx ctisim_lib vomtelx_test_support ${CMAKE_DL_LIBS})
  target_compile_definitions(test_vomtelx_main_control_end_to_end PRIVATE
    VOMTELX_MODULE_PATH="$<TARGET_FILE:vomtelx>")
  add_dependencies(test_vomtelx_main_control_end_to_end vomtelx)
endif()
