# The simulator's own tests: linked to the simulator library only (it shares nothing with the
# client library), with the program built first so that the program tests run it.
file(GLOB ctisim_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_unit_test(NAME test_tools_ctisim SOURCES ${ctisim_test_sources} LIBS ctisim_lib)
target_compile_definitions(test_tools_ctisim PRIVATE
  CTISIM_FLOWS_DIR="${PROJECT_SOURCE_DIR}/tools/ctisim/flows")
if(TARGET ctisim)
  add_dependencies(test_tools_ctisim ctisim)
endif()
