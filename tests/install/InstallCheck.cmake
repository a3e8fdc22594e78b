# Installs the build into a scratch prefix whose name holds a blank, and checks what a desktop
# needs: the program, an entry naming it by its full path, and the icon.
set(prefix "${WORK}/scratch prefix")
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${prefix}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(file bin/dataloader share/applications/dataloader.desktop
             share/icons/hicolor/scalable/apps/dataloader.svg)
  if(NOT EXISTS "${prefix}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(STRINGS "${prefix}/share/applications/dataloader.desktop" exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=\"${prefix}/bin/dataloader\"")
  message(FATAL_ERROR "the entry runs ${exec}")
endif()
execute_process(COMMAND "${prefix}/bin/dataloader" --version
                OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "^dataloader [0-9]")
  message(FATAL_ERROR "the installed program answers '${version}' (${status})")
endif()
file(REMOVE_RECURSE "${WORK}")
