# Installs the desktop entry naming the program by its full installed path, so a launcher
# finds it even where the install's bin folder is not on the desktop's PATH (~/.local/bin).
# Runs at install time, when the prefix given to `cmake --install` is known.
set(bindir "${DATALOADER_BINDIR}")
if(NOT IS_ABSOLUTE "${bindir}")
  set(bindir "${CMAKE_INSTALL_PREFIX}/${bindir}")
endif()
set(program "${bindir}/dataloader")
file(READ "${DATALOADER_DESKTOP_ENTRY}" entry)
# A path with characters the entry would have to escape keeps the bare name, found on PATH.
if(NOT program MATCHES "[\"`$\\\\]")
  if(program MATCHES "[ \t]")
    set(program "\"${program}\"")
  endif()
  string(REPLACE "Exec=dataloader" "Exec=${program}" entry "${entry}")
endif()
set(generated "${DATALOADER_BINARY_DIR}/dataloader.desktop")
file(WRITE "${generated}" "${entry}")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${DATALOADER_DATADIR}/applications"
     TYPE FILE FILES "${generated}")
