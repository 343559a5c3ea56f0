# Installing Cifrolandia as a desktop application:
#
#   cmake --install build --prefix /usr     the program, its menu entry and icon, its manual
#                                           pages and the teachers' guide, and the record
#                                           directory (as root; DESTDIR=... stages it)
#
# The Debian package (debian/, `make package`) installs these same files through dh, and adds
# its own: the copyright file, the changelog, the lintian override and the purge of the record.
# Laid out by Debian's rules for games: the program in <prefix>/games, its manual page in
# section 6, the teachers' guide in share/doc/cifrolandia.
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

set(CIFROLANDIA_INSTALL_GAMESDIR games) # the program: <prefix>/games/cifrolandia
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

# Manual pages and documents, compressed at build time as Debian wants them (gzip -9n: no name
# or time stamp inside, so the same sources give the same package). The Italian page is the
# main one, shown in every locale without a page of its own (C and it_IT included), because the
# program speaks Italian in every locale; the English one is found by English locales.
set(documenti ${PROJECT_BINARY_DIR}/packaging/documenti)
configure_file(${PROJECT_SOURCE_DIR}/docs/man/cifrolandia.6.in ${documenti}/cifrolandia.6 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/docs/man/cifrolandia.en.6.in ${documenti}/en/cifrolandia.6
               @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/docs/guida-per-insegnanti.md
               ${documenti}/guida-per-insegnanti.md COPYONLY)
set(compressi)
foreach(documento cifrolandia.6 en/cifrolandia.6 guida-per-insegnanti.md)
    add_custom_command(OUTPUT ${documenti}/${documento}.gz
                       COMMAND gzip -9 -n -k -f ${documenti}/${documento}
                       DEPENDS ${documenti}/${documento} VERBATIM)
    list(APPEND compressi ${documenti}/${documento}.gz)
endforeach()
add_custom_target(documenti ALL DEPENDS ${compressi})

install(FILES ${documenti}/cifrolandia.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${documenti}/en/cifrolandia.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/en/man6)
install(FILES ${documenti}/guida-per-insegnanti.md.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The record directory, empty, with its exact mode whatever the umask. Installed as a copy of
# an empty directory of the build tree, so that DESTDIR (the Debian package's staging) applies
# to its absolute path. dh_fixperms would make it 0755: debian/rules sets it back to 0777.
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
