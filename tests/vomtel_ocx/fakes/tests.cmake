# Shared pieces of the control module's tests: the fake library exports and the scratch folders.
add_library(vomtelx_fake_library STATIC ${CMAKE_CURRENT_LIST_DIR}/fake_library.cpp)
target_include_directories(vomtelx_fake_library PUBLIC ${CMAKE_CURRENT_LIST_DIR}
  $<TARGET_PROPERTY:vomtel,INTERFACE_INCLUDE_DIRECTORIES>)

add_library(vomtelx_test_support STATIC ${PROJECT_SOURCE_DIR}/tests/support/temp_dir.cpp)
target_include_directories(vomtelx_test_support PUBLIC ${PROJECT_SOURCE_DIR}/tests)
