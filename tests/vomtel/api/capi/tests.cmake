# Tests of the exported C interface from outside the C++ code: a C11 program that calls every
# prototype, the library's dynamic symbols against the exports manifest, and a black-box
# table over the simulator (Python ctypes).
set(capi_dir ${CMAKE_CURRENT_LIST_DIR})

add_executable(capi_calls_every_prototype ${capi_dir}/calls_every_prototype.c)
set_target_properties(capi_calls_every_prototype PROPERTIES C_STANDARD 11 C_STANDARD_REQUIRED ON
  C_EXTENSIONS OFF)
target_compile_options(capi_calls_every_prototype PRIVATE -pedantic)
target_link_libraries(capi_calls_every_prototype PRIVATE vomtel)
add_test(NAME capi_calls_every_prototype COMMAND capi_calls_every_prototype
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set_tests_properties(capi_calls_every_prototype PROPERTIES TIMEOUT 60)

add_test(NAME capi_exports_match_manifest
  COMMAND sh ${capi_dir}/check_exports.sh $<TARGET_FILE:vomtel>
          ${PROJECT_SOURCE_DIR}/vomtel/api/exports.tsv)

find_package(Python3 COMPONENTS Interpreter)
# The table loads the library into the interpreter. A sanitized library needs its sanitizer
# runtimes loaded first; ThreadSanitizer's cannot be loaded into a program started without it,
# so the table does not run in that build (the C++ tests cover the same code there).
if(Python3_Interpreter_FOUND AND TARGET ctisim AND NOT VOMTEL_SANITIZE MATCHES "thread")
  add_test(NAME capi_blackbox
    COMMAND ${Python3_EXECUTABLE} ${capi_dir}/exports_blackbox.py $<TARGET_FILE:vomtel>
            $<TARGET_FILE:ctisim>
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(capi_blackbox PROPERTIES TIMEOUT 300)
  if(VOMTEL_SANITIZE)
    set(preload "")
    foreach(runtime IN ITEMS asan ubsan)
      if((runtime STREQUAL "asan" AND VOMTEL_SANITIZE MATCHES "address") OR
         (runtime STREQUAL "ubsan" AND VOMTEL_SANITIZE MATCHES "undefined"))
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${runtime}.so
          OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(EXISTS "${runtime_path}")
          list(APPEND preload ${runtime_path})
        endif()
      endif()
    endforeach()
    list(JOIN preload ":" preload_text)
    set_tests_properties(capi_blackbox PROPERTIES ENVIRONMENT
      "LD_PRELOAD=${preload_text};ASAN_OPTIONS=detect_leaks=0")
  endif()
endif()
