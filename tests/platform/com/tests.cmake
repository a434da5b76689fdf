# Tests of the component runtime; sample_module.so is a module of one class for the creation
# path.
set(com_test_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(vomcom_sample_module MODULE ${com_test_dir}/sample_module.cpp)
target_link_libraries(vomcom_sample_module PRIVATE vomcom_cxx)
set_target_properties(vomcom_sample_module PROPERTIES PREFIX "" OUTPUT_NAME sample_module
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

add_unit_test(NAME test_vomcom_values
  SOURCES ${com_test_dir}/variant_coercion_test.cpp ${com_test_dir}/text_test.cpp
  LIBS vomcom_cxx)
add_unit_test(NAME test_vomcom_controls
  SOURCES ${com_test_dir}/dispatch_table_test.cpp ${com_test_dir}/control_base_test.cpp
          ${com_test_dir}/timer_host_test.cpp
  LIBS vomcom_cxx vomcom_testing)
add_unit_test(NAME test_vomcom_modules
  SOURCES ${com_test_dir}/registry_test.cpp ${com_test_dir}/creation_test.cpp
  LIBS vomcom_cxx)
add_dependencies(test_vomcom_modules vomcom_sample_module vomcom-register)
target_compile_definitions(test_vomcom_modules PRIVATE
  SAMPLE_MODULE="$<TARGET_FILE:vomcom_sample_module>"
  REGISTER_TOOL="$<TARGET_FILE:vomcom-register>")

# The C header alone: a C11 program that drives the sample module through vtables.
add_executable(test_vomcom_c_host ${com_test_dir}/c_host_test.c)
set_target_properties(test_vomcom_c_host PROPERTIES C_STANDARD 11 C_EXTENSIONS OFF)
target_compile_options(test_vomcom_c_host PRIVATE -pedantic)
target_link_libraries(test_vomcom_c_host PRIVATE vomcom)
add_dependencies(test_vomcom_c_host vomcom_sample_module)
add_test(NAME test_vomcom_c_host COMMAND test_vomcom_c_host $<TARGET_FILE:vomcom_sample_module>)
