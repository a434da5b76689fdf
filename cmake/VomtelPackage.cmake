# What a consumer of the installed library finds: a pkg-config file (vomtel.pc) and a CMake
# package (vomtelConfig.cmake with its version file and the imported target vomtel::vomtel).
# Both are relocatable: they find their prefix from where they are installed, so
# `cmake --install <build> --prefix <dir>` and a DESTDIR staging give working files.
include(CMakePackageConfigHelpers)

set(vomtel_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/vomtel)
set(vomtel_pkgconfig_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(EXPORT vomtelTargets NAMESPACE vomtel:: DESTINATION ${vomtel_cmake_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/vomtelConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/vomtelConfig.cmake INSTALL_DESTINATION ${vomtel_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/vomtelConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vomtelConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/vomtelConfigVersion.cmake DESTINATION ${vomtel_cmake_dir})

# pkg-config paths relative to the .pc file's own folder, unless a folder was given absolute.
function(vomtel_pc_path out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "\${prefix}/${dir}" PARENT_SCOPE)
  endif()
endfunction()
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(vomtel_pc_prefix "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH vomtel_pc_up /${vomtel_pkgconfig_dir} /)
  string(REGEX REPLACE "/$" "" vomtel_pc_up "${vomtel_pc_up}")
  set(vomtel_pc_prefix "\${pcfiledir}/${vomtel_pc_up}")
endif()
vomtel_pc_path(vomtel_pc_libdir "${CMAKE_INSTALL_LIBDIR}")
vomtel_pc_path(vomtel_pc_includedir "${CMAKE_INSTALL_INCLUDEDIR}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/vomtel.pc.in ${CMAKE_CURRENT_BINARY_DIR}/vomtel.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vomtel.pc DESTINATION ${vomtel_pkgconfig_dir})
