# Makes the Debian package from the build, then checks what a desk gets from it: the program,
# its entry and icon, the libraries it depends on, and an unpacked copy that starts and makes
# a database.
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND cpack --config "${BUILD}/CPackConfig.cmake" -G DEB -B "${WORK}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB packages "${WORK}/dataloader_${VERSION}_*.deb")
list(LENGTH packages count)
if(NOT status EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack made ${count} packages (${status}): ${out}")
endif()

execute_process(COMMAND dpkg-deb --contents "${packages}" OUTPUT_VARIABLE contents)
foreach(file ./usr/bin/dataloader ./usr/share/applications/dataloader.desktop
             ./usr/share/icons/hicolor/scalable/apps/dataloader.svg)
  string(FIND "${contents}" " ${file}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${file}:\n${contents}")
  endif()
endforeach()

# Computed from the program: every library it is linked with is a dependency.
execute_process(COMMAND dpkg-deb --field "${packages}" Depends Version OUTPUT_VARIABLE fields)
foreach(library libqt6widgets6 libqt6charts6 libsqlite3-0 libpq5 libmdb3)
  if(NOT fields MATCHES "${library} \\(")
    message(FATAL_ERROR "the package does not depend on ${library}: ${fields}")
  endif()
endforeach()
if(NOT fields MATCHES "libsqlite3-0 \\(>= 3\\.39\\)")
  message(FATAL_ERROR "the package allows an SQLite without RIGHT JOIN: ${fields}")
endif()
if(NOT fields MATCHES "Version: ${VERSION}")
  message(FATAL_ERROR "the package's version is not ${VERSION}: ${fields}")
endif()

set(root "${WORK}/root")
execute_process(COMMAND dpkg-deb --extract "${packages}" "${root}" RESULT_VARIABLE status)
file(STRINGS "${root}/usr/share/applications/dataloader.desktop" exec REGEX "^Exec=")
if(NOT status EQUAL 0 OR NOT exec STREQUAL "Exec=/usr/bin/dataloader")
  message(FATAL_ERROR "the unpacked entry runs '${exec}' (${status})")
endif()
execute_process(COMMAND "${root}/usr/bin/dataloader" --version
                OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version STREQUAL "dataloader ${VERSION}\n")
  message(FATAL_ERROR "the unpacked program answers '${version}' (${status})")
endif()
execute_process(COMMAND "${root}/usr/bin/dataloader" --new-database "${WORK}/new.db"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0 OR NOT EXISTS "${WORK}/new.db")
  message(FATAL_ERROR "the unpacked program made no database (${status}): ${out}")
endif()
file(REMOVE_RECURSE "${WORK}")
