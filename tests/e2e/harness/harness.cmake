# The desk harness: the agent program as a child process on a desk of its own, the CTI server
# playing a switch, a recording web server, the log watcher and a dial-request client. Used by
# the end-to-end tests and the desk benchmarks (included by both; defined once).
if(NOT TARGET desk_harness AND TARGET ctisim_lib)
  add_library(desk_harness STATIC
    ${CMAKE_CURRENT_LIST_DIR}/agent_desk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/child_process.cpp
    ${CMAKE_CURRENT_LIST_DIR}/control_trace.cpp
    ${CMAKE_CURRENT_LIST_DIR}/desk_events.cpp
    ${CMAKE_CURRENT_LIST_DIR}/desk_log.cpp
    ${CMAKE_CURRENT_LIST_DIR}/desk_server.cpp
    ${CMAKE_CURRENT_LIST_DIR}/desk_setup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dial_client.cpp
    ${CMAKE_CURRENT_LIST_DIR}/http_recorder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/process_stats.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scratch_dir.cpp
  )
  target_include_directories(desk_harness PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(desk_harness PUBLIC ctisim_lib Threads::Threads)
endif()

# The programs a desk needs, as compile definitions of `target`, and built before it.
function(desk_harness_programs target)
  target_compile_definitions(${target} PRIVATE
    DESK_AGENTPHONE="$<TARGET_FILE:agentphone>"
    DESK_MODULE="$<TARGET_FILE:vomtelx>"
    DESK_REGISTER_TOOL="$<TARGET_FILE:vomcom-register>")
  add_dependencies(${target} agentphone vomtelx vomcom-register)
endfunction()
