# Installs the launcher component into a fresh prefix and checks the layout the launcher
# relies on: its tools below its own folder, the link in bin, the desktop entry and icons.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" --component launcher
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(program_dir "${PREFIX}/${PROGRAM_DIR}")
set(expected
  "${program_dir}/Vantor"
  "${PREFIX}/share/applications/vantor.desktop"
  "${PREFIX}/share/icons/hicolor/scalable/apps/vantor.svg"
  "${PREFIX}/share/icons/hicolor/48x48/apps/vantor.png"
  "${PREFIX}/lib/udev/rules.d/70-tolvan-handset.rules")
if(WITH_TOLVAN)
  list(APPEND expected "${program_dir}/ZX-VA1XX/TOLVAN.EXE"
    "${PREFIX}/share/applications/tolvan.desktop"
    "${PREFIX}/share/icons/hicolor/48x48/apps/tolvan.png"
    "${PREFIX}/share/icons/hicolor/scalable/apps/tolvan.svg")
endif()
foreach(file ${expected})
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "missing after install: ${file}")
  endif()
endforeach()

file(REAL_PATH "${PREFIX}/bin/Vantor" linked)
file(REAL_PATH "${program_dir}/Vantor" launcher)
if(NOT linked STREQUAL launcher)
  message(FATAL_ERROR "bin/Vantor leads to ${linked}, not ${launcher}")
endif()

file(STRINGS "${PREFIX}/share/applications/vantor.desktop" exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=${program_dir}/Vantor")
  message(FATAL_ERROR "desktop entry starts '${exec}'")
endif()
file(STRINGS "${PREFIX}/share/applications/vantor.desktop" icon REGEX "^Icon=")
if(NOT icon STREQUAL "Icon=vantor")
  message(FATAL_ERROR "desktop entry shows '${icon}'")
endif()

if(WITH_TOLVAN)
  file(REAL_PATH "${PREFIX}/bin/Tolvan" linked)
  file(REAL_PATH "${program_dir}/ZX-VA1XX/TOLVAN.EXE" tool)
  if(NOT linked STREQUAL tool)
    message(FATAL_ERROR "bin/Tolvan leads to ${linked}, not ${tool}")
  endif()
  file(STRINGS "${PREFIX}/share/applications/tolvan.desktop" exec REGEX "^Exec=")
  if(NOT exec STREQUAL "Exec=${program_dir}/ZX-VA1XX/TOLVAN.EXE")
    message(FATAL_ERROR "Tolvan's desktop entry starts '${exec}'")
  endif()
endif()
