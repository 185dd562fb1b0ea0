# Included right after project() when scripts/check-windows.sh configures the tree for Windows.
# Qt comes from Debian's qt6 packages, a Linux Qt: its headers are Qt's own, but its CMake
# targets know nothing of Windows. Nothing is linked, so its libraries only need a name; what Qt
# for Windows gives every program that uses it (its Platform target's definitions) is given
# here; and the host's /usr/include, which Qt's Gui target carries for the Vulkan headers, is
# dropped so that the C library is mingw's own.
add_compile_definitions(UNICODE _UNICODE WIN32 WIN64 _WIN64 _ENABLE_EXTENDED_ALIGNED_STORAGE
                        MINGW_HAS_SECURE_API=1)

function(_tolvan_windows_qt_targets)
  get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY IMPORTED_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      set_property(TARGET ${target} PROPERTY IMPORTED_IMPLIB "${CMAKE_BINARY_DIR}/not-linked.a")
      get_target_property(configs ${target} IMPORTED_CONFIGURATIONS)
      foreach(config IN LISTS configs)
        set_property(TARGET ${target} PROPERTY IMPORTED_IMPLIB_${config} "${CMAKE_BINARY_DIR}/not-linked.a")
      endforeach()
    endif()
    get_target_property(dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
    if(dirs)
      list(REMOVE_ITEM dirs /usr/include)
      set_property(TARGET ${target} PROPERTY INTERFACE_INCLUDE_DIRECTORIES "${dirs}")
    endif()
  endforeach()
endfunction()
# At the end of the top directory, once every find_package has made its targets.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _tolvan_windows_qt_targets)
