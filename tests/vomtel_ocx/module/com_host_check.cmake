# cmake -DHOST=... -DREGISTER_TOOL=... -DMODULE=... -DSCRATCH=... -P com_host_check.cmake
# The C host against a scratch registry: unregistered it reports each control missing and
# fails; registered it describes all three; the registry is removed after.
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
set(ENV{VOMTEL_REGISTRY} "${SCRATCH}/registry.reg")
set(ENV{VOMTEL_DRIVE_ROOT} "${SCRATCH}/drives")

function(expect_in text what)
  string(FIND "${text}" "${what}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "com_host: missing \"${what}\" in:\n${text}")
  endif()
endfunction()

execute_process(COMMAND "${HOST}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "com_host succeeded without a registered module:\n${out}")
endif()
expect_in("${err}" "vomtel_ocx.vomtel_ocxEvtCtrl.1 is not registered")

execute_process(COMMAND "${REGISTER_TOOL}" "${MODULE}" RESULT_VARIABLE rc OUTPUT_VARIABLE out
  ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the module did not register:\n${out}")
endif()

execute_process(COMMAND "${HOST}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
execute_process(COMMAND "${REGISTER_TOOL}" --unregister "${MODULE}" OUTPUT_QUIET ERROR_QUIET)
file(REMOVE_RECURSE "${SCRATCH}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "com_host failed (${rc}):\n${out}\n${err}")
endif()
foreach(line
    "vomtel_ocx.vomtel_ocxCtrl.1 {46BE120F-FA60-4FEC-8327-5690F3E31C31}"
    "dispinterface _Dvomtel_ocx {0AA50762-2051-4EC4-90C4-9AC3A6AD72E8}"
    "  [193] method long vomtelagentreadygetexu(long, long, long, long, long, long)"
    "vomtel_ocx.vomtel_ocxEvtCtrl.1 {2E830C8F-BC52-403A-8B18-B8A89127AFC8}"
    "  [83] propget long TokenId()"
    "  [88] method void setdelaytime(long)"
    "vomtel_ocx.vomtel_ocxOBCtrl.1 {069F236C-F6CC-40BA-B215-2075A8E06F8F}"
    "dispinterface _Dvomtel_ocxOB {45A19336-AE40-45F4-B213-A8E449731685}, 2 members"
    "  [-552] method void AboutBox()")
  expect_in("${out}" "${line}")
endforeach()
