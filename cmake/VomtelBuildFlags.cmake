# Warnings, warnings as errors and sanitizers for the project's own code.
#
# They sit on one interface target, vomtel_build_flags, and not on the directories, so code
# the project does not write (Qt's moc output, third-party sources) does not get them.
# vomtel_apply_build_flags(<dir>) gives that target to every target defined in <dir> and below;
# the top-level CMakeLists.txt calls it once for the whole tree after every folder is added, so
# a new folder's targets get the flags without naming them. A target that must not get them
# (third-party code built here) sets the property VOMTEL_NO_BUILD_FLAGS to ON.

option(VOMTEL_WERROR "Treat warnings as errors (the presets and CI turn it on)" OFF)
set(VOMTEL_SANITIZE "" CACHE STRING "Sanitizers: empty, 'address,undefined' or 'thread'")

add_library(vomtel_build_flags INTERFACE)
target_compile_options(vomtel_build_flags INTERFACE -Wall -Wextra)
# g++ 12 at -O2 and -O3 reports overlapping copies inside libstdc++'s std::string operator+
# that cannot happen (a known false -Wrestrict of that release); it would fail an optimised
# build with warnings as errors, so that one warning is off for g++ 12.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(vomtel_build_flags INTERFACE -Wno-restrict)
endif()
if(VOMTEL_WERROR)
  target_compile_options(vomtel_build_flags INTERFACE -Werror)
endif()
if(VOMTEL_SANITIZE)
  target_compile_options(vomtel_build_flags INTERFACE
    -fsanitize=${VOMTEL_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(vomtel_build_flags INTERFACE -fsanitize=${VOMTEL_SANITIZE})
endif()

# Gives vomtel_build_flags to one target. The link entry is added to the property itself, so
# it works whichever target_link_libraries signature the target's own folder used. Qt's moc
# output, compiled into the target as one generated file, keeps the sanitizers but not the
# warnings.
function(vomtel_target_build_flags target)
  get_target_property(type ${target} TYPE)
  get_target_property(imported ${target} IMPORTED)
  get_target_property(opt_out ${target} VOMTEL_NO_BUILD_FLAGS)
  if(imported OR opt_out OR type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
    return()
  endif()
  get_target_property(links ${target} LINK_LIBRARIES)
  if(links AND "vomtel_build_flags" IN_LIST links)
    return()
  endif()
  set_property(TARGET ${target} APPEND PROPERTY LINK_LIBRARIES vomtel_build_flags)
  get_target_property(automoc ${target} AUTOMOC)
  if(automoc)
    get_target_property(binary_dir ${target} BINARY_DIR)
    set_source_files_properties(${binary_dir}/${target}_autogen/mocs_compilation.cpp
      TARGET_DIRECTORY ${target} PROPERTIES COMPILE_OPTIONS -w)
  endif()
endfunction()

# Gives vomtel_build_flags to every target defined in the folder <dir> and in its subfolders.
function(vomtel_apply_build_flags dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    vomtel_target_build_flags(${target})
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    vomtel_apply_build_flags(${subdir})
  endforeach()
endfunction()
