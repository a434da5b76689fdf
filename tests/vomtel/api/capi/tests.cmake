# Tests of the exported C interface from outside the C++ code: a C11 program that calls every
# prototype, the library's dynamic symbols against the exports manifest, and a black-box
# table over the simulator (Python ctypes).
set(capi_dir ${CMAKE_CURRENT_LIST_DIR})

add_executable(capi_calls_every_prototype ${capi_dir}/calls_every_prototype.c)
set_target_properties(capi_calls_every_prototype PROPERTIES C_STANDARD 11 C_STANDARD_REQUIRED ON
  C_EXTENSIONS OFF)
target_compile_options(capi_calls_every_prototype PRIVATE -Wall -Wextra -Werror -pedantic)
target_link_libraries(capi_calls_every_prototype PRIVATE vomtel)
add_test(NAME capi_calls_every_prototype COMMAND capi_calls_every_prototype
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set_tests_properties(capi_calls_every_prototype PROPERTIES TIMEOUT 60)

add_test(NAME capi_exports_match_manifest
  COMMAND sh ${capi_dir}/check_exports.sh $<TARGET_FILE:vomtel>
          ${PROJECT_SOURCE_DIR}/vomtel/api/exports.tsv)

find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND AND TARGET ctisim)
  add_test(NAME capi_blackbox
    COMMAND ${Python3_EXECUTABLE} ${capi_dir}/exports_blackbox.py $<TARGET_FILE:vomtel>
            $<TARGET_FILE:ctisim>
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(capi_blackbox PROPERTIES TIMEOUT 300)
endif()
