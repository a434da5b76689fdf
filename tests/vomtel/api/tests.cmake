# The public event header compiled as C11 with every warning an error: its layout checks run
# in the C compiler too.
add_library(vomtel_event_header_c11 OBJECT ${CMAKE_CURRENT_LIST_DIR}/event_layout_check.c)
target_include_directories(vomtel_event_header_c11 PRIVATE ${PROJECT_SOURCE_DIR}/vomtel/api/include)
set_target_properties(vomtel_event_header_c11 PROPERTIES C_STANDARD 11 C_STANDARD_REQUIRED ON
  C_EXTENSIONS OFF)
target_compile_options(vomtel_event_header_c11 PRIVATE -pedantic)
if(TARGET test_vomtel_api)
  add_dependencies(test_vomtel_api vomtel_event_header_c11)
endif()
