add_unit_test(NAME test_vomtel_ocx_event_control
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/event_control_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/event_properties_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/control_surface_test.cpp
  LIBS vomtelx_controls vomtelx_fake_library vomcom_testing)

# End to end: both controls created by ProgID through the runtime, libvomtel.so and the
# simulator.
if(TARGET vomtelx AND TARGET ctisim_lib)
  add_unit_test(NAME test_vomtelx_event_control_end_to_end
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/end_to_end_test.cpp
    LIBS vomcom_cxx vomcom_testing ctisim_lib vomtelx_test_support ${CMAKE_DL_LIBS})
  target_compile_definitions(test_vomtelx_event_control_end_to_end PRIVATE
    VOMTELX_MODULE_PATH="$<TARGET_FILE:vomtelx>")
  add_dependencies(test_vomtelx_event_control_end_to_end vomtelx)
endif()
