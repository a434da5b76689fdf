# The web stand-in's request reader.
if(TARGET websim_lib)
  add_unit_test(NAME test_tools_websim SOURCES ${CMAKE_CURRENT_LIST_DIR}/http_request_test.cpp
                LIBS websim_lib)
endif()
