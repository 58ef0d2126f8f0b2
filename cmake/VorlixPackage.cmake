# The Debian package of the terminal program (`make deb`, CPack's DEB generator): the
# program, its manual page, its bash completion, the licences, and the Windows program
# that makes ".exe" images when the PE32 build (build/win32) exists at packaging time.
include(GNUInstallDirs)

set(debian_files ${PROJECT_SOURCE_DIR}/cmake/debian)
set(doc_folder ${CMAKE_INSTALL_DATADIR}/doc/vorlix)
# Debian wants its changelog and manual pages compressed, reproducibly (no name, no time).
set(packaged ${CMAKE_BINARY_DIR}/packaged)
file(MAKE_DIRECTORY ${packaged})
execute_process(COMMAND gzip -9n -c ${debian_files}/changelog.Debian
                OUTPUT_FILE ${packaged}/changelog.Debian.gz COMMAND_ERROR_IS_FATAL ANY)

install(FILES ${PROJECT_SOURCE_DIR}/linux/vorlix.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME vorlix)
install(FILES ${debian_files}/copyright ${packaged}/changelog.Debian.gz
              ${PROJECT_SOURCE_DIR}/docs/third-party-licences.txt
        DESTINATION ${doc_folder})
# Looked for when the package is made, not when the build is configured: `make win32` may
# come later. Without it no empty folder is left.
install(CODE "
  if(EXISTS \"${PROJECT_SOURCE_DIR}/build/win32/vorlix.exe\")
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/vorlix\" TYPE FILE
         PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
         FILES \"${PROJECT_SOURCE_DIR}/build/win32/vorlix.exe\")
  endif()")
# linux/ installs the manual page as it stands; the package's copy is compressed.
install(CODE "
  set(page \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1/vorlix.1\")
  if(EXISTS \"\${page}\")
    execute_process(COMMAND gzip -9nf \"\${page}\" COMMAND_ERROR_IS_FATAL ANY)
  endif()")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlix)
set(CPACK_PACKAGE_VENDOR "the Vorlix developers")
set(CPACK_PACKAGE_CONTACT "the Vorlix developers <vorlix@quendal-software.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "make and restore images of PC floppy disks")
set(CPACK_PACKAGE_DESCRIPTION
    "Vorlix reads a whole floppy disk into an image file (raw, bzip2-compressed or
self-extracting for Windows) and writes images back onto disks, from built-in
floppy drives (/dev/fd0) and USB floppy drives alike. It checks images against
their stored SHA-256, converts between image kinds, reads other programs' raw
images and ZIP archives, and recovers what can be read of a failing disk.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.quendal-software.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
