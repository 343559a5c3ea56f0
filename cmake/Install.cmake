# Installing Cifrolandia as a desktop application, and its Debian package.
#
#   cmake --install build --prefix /usr     the program, its menu entry and icon, and the
#                                           record directory (as root; DESTDIR=... stages it)
#   make package                            cifrolandia_<version>_<arch>.deb through CPack
#
# The record directory is CIFROLANDIA_RECORD_DIR, the very path compiled into the program, so
# the installed game finds it with no environment variable. It is created writable by every
# player, mode 0777 without the sticky bit: a game saves by renaming new files over the old
# ones, and in a sticky directory only the owner of a file may replace it (Debian's
# fs.protected_regular adds more such refusals there), so the next pupil could never beat the
# record.
# Nothing is installed setuid or setgid.

include(GNUInstallDirs)

# The program links only libraries of the system: no search path of its own once installed.
set(CMAKE_INSTALL_RPATH "")

set(CIFROLANDIA_APP_ID "it.cifrolandia.Cifrolandia")
set(desktop_dir ${PROJECT_SOURCE_DIR}/resources/desktop)

install(FILES ${desktop_dir}/${CIFROLANDIA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/${CIFROLANDIA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(lato 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hicolor/${lato}x${lato}/apps/cifrolandia.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lato}x${lato}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hicolor/scalable/apps/cifrolandia.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The record directory, empty, with its exact mode whatever the umask. Installed as a copy of
# an empty directory of the build tree, so that DESTDIR (and CPack's staging, see
# CPACK_SET_DESTDIR below) applies to its absolute path.
if(NOT IS_ABSOLUTE "${CIFROLANDIA_RECORD_DIR}")
    message(FATAL_ERROR "CIFROLANDIA_RECORD_DIR must be an absolute path: ${CIFROLANDIA_RECORD_DIR}")
endif()
get_filename_component(record_padre "${CIFROLANDIA_RECORD_DIR}" DIRECTORY)
get_filename_component(record_nome "${CIFROLANDIA_RECORD_DIR}" NAME)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging/vuota/${record_nome})
install(DIRECTORY ${PROJECT_BINARY_DIR}/packaging/vuota/${record_nome}
        DESTINATION ${record_padre}
        DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_WRITE
                              GROUP_EXECUTE WORLD_READ WORLD_WRITE WORLD_EXECUTE)

# Last of all, once every file is in place: the directories a staged install made on the way.
install(CODE "set(CIFROLANDIA_INSTALLED_RECORD_DIR \"${CIFROLANDIA_RECORD_DIR}\")")
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR}
               CALL install SCRIPT ${PROJECT_SOURCE_DIR}/cmake/StagedPermissions.cmake)

# --- Debian package -------------------------------------------------------------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cifrolandia)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Gruppo Cifrolandia")
set(CPACK_PACKAGE_CONTACT "Gruppo Cifrolandia <dev@cifrolandia.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "gioco dei numeri romani per la scuola primaria")
set(CPACK_PACKAGE_DESCRIPTION
    "Il gioco mostra un numero e l'alunno scrive il numero romano corrispondente; ogni \
risposta viene giudicata e contata, contro un orologio di quindici minuti. Il record (il \
punteggio più alto e il nome di chi l'ha fatto) è condiviso da tutti gli utenti del computer \
nella cartella ${CIFROLANDIA_RECORD_DIR}, scrivibile da tutti.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON) # the record directory is an absolute path: staged under DESTDIR
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries (Qt, the C++ runtime) from dpkg-shlibdeps; what the program loads or reads
# without linking to it by hand: the X11 platform plugin, Qt's Italian texts, the fonts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation, fonts-dejavu-core")
# Removing the package keeps the record; purging it deletes the record directory.
configure_file(${PROJECT_SOURCE_DIR}/packaging/postrm.in ${PROJECT_BINARY_DIR}/packaging/postrm
               @ONLY)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
