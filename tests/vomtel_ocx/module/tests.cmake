# The module from outside its code: registered with the runtime's register tool into a scratch
# registry, every object made through the component runtime.
if(TARGET vomtelx)
  add_unit_test(NAME test_vomtelx_module
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/registration_test.cpp ${CMAKE_CURRENT_LIST_DIR}/controls_test.cpp
    LIBS vomcom_cxx vomtelx_test_support ${CMAKE_DL_LIBS})
  target_compile_definitions(test_vomtelx_module PRIVATE
    VOMTELX_MODULE_PATH="$<TARGET_FILE:vomtelx>"
    REGISTER_TOOL="$<TARGET_FILE:vomcom-register>")
  add_dependencies(test_vomtelx_module vomtelx vomcom-register)
endif()

# The example C host (examples/com_host.c) against a scratch registry.
if(TARGET vomtelx AND TARGET vomtel_com_host)
  add_test(NAME test_vomtel_com_host COMMAND ${CMAKE_COMMAND}
    -DHOST=$<TARGET_FILE:vomtel_com_host> -DREGISTER_TOOL=$<TARGET_FILE:vomcom-register>
    -DMODULE=$<TARGET_FILE:vomtelx> -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/com_host_scratch
    -P ${CMAKE_CURRENT_LIST_DIR}/com_host_check.cmake)
endif()

# The same host placing a call through the main control against the simulator program.
if(TARGET vomtelx AND TARGET vomtel_com_host AND TARGET ctisim)
  add_test(NAME test_vomtel_com_host_call COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/com_host_call.sh
    $<TARGET_FILE:vomtel_com_host> $<TARGET_FILE:vomcom-register> $<TARGET_FILE:vomtelx>
    $<TARGET_FILE:ctisim> ${CMAKE_CURRENT_BINARY_DIR}/com_host_call_scratch)
endif()
