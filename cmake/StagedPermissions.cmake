# Runs last in a staged install (DESTDIR set): the directories leading to the
# installed files were made with the umask of whoever staged them, and a package carries them
# as they are. They are opened to every user here (0755), like the record directory's parents.
# A real install (no DESTDIR) is left alone: its directories are the system's.
set(radice "$ENV{DESTDIR}")
if(radice STREQUAL "" OR radice STREQUAL "/")
    return()
endif()
cmake_path(ABSOLUTE_PATH radice NORMALIZE)
string(REGEX REPLACE "/+$" "" radice "${radice}")
# The manifest and the record directory name paths as installed, without DESTDIR.
foreach(percorso IN LISTS CMAKE_INSTALL_MANIFEST_FILES CIFROLANDIA_INSTALLED_RECORD_DIR)
    cmake_path(GET percorso PARENT_PATH cartella)
    set(cartella "${radice}${cartella}")
    cmake_path(IS_PREFIX radice "${cartella}" NORMALIZE dentro)
    while(dentro AND NOT cartella STREQUAL radice)
        file(CHMOD "${cartella}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
             GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        cmake_path(GET cartella PARENT_PATH cartella)
        cmake_path(IS_PREFIX radice "${cartella}" NORMALIZE dentro)
    endwhile()
endforeach()
