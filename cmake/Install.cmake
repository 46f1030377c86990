# Installing: the executable where Debian puts games, the data in the games data folder, the
# desktop entry, icons, AppStream metainfo and the manual page; CPack's Debian package.
include(GNUInstallDirs)

set(SS_INSTALL_GAMESDIR "games" CACHE STRING "Folder (under the prefix) of the game's executable")
set(SS_INSTALL_GAMEDATADIR "${CMAKE_INSTALL_DATAROOTDIR}/games/steel_spree"
    CACHE STRING "Folder (under the prefix) of the game's data")
set(SS_APP_ID "org.steelspree.SteelSpree")
set(SS_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# The program finds its data relative to its own executable, whatever the prefix.
file(RELATIVE_PATH ss_data_from_bin /prefix/${SS_INSTALL_GAMESDIR} /prefix/${SS_INSTALL_GAMEDATADIR})
target_compile_definitions(ss_runtime PRIVATE SS_DATA_FROM_BIN="${ss_data_from_bin}")

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS steel_spree RUNTIME DESTINATION ${SS_INSTALL_GAMESDIR})
install(DIRECTORY ${SS_GAME_DIR}/ DESTINATION ${SS_INSTALL_GAMEDATADIR}
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        PATTERN steel_spree EXCLUDE
        PATTERN "*.tmp*" EXCLUDE
        PATTERN "limitfps.txt" EXCLUDE)
install(FILES ${SS_PACKAGING_DIR}/steel_spree.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications RENAME ${SS_APP_ID}.desktop)
install(FILES ${SS_PACKAGING_DIR}/${SS_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
foreach(size 48 64 128 256)
    install(FILES ${SS_ICON_DIR}/${size}x${size}/apps/steel_spree.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The manual page and the package's documents, compressed as Debian wants them.
set(ss_doc_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${ss_doc_out})
add_custom_command(
    OUTPUT ${ss_doc_out}/steel_spree.6.gz ${ss_doc_out}/changelog.gz
    COMMAND gzip -9n -c ${SS_PACKAGING_DIR}/steel_spree.6 > ${ss_doc_out}/steel_spree.6.gz
    COMMAND gzip -9n -c ${SS_PACKAGING_DIR}/changelog > ${ss_doc_out}/changelog.gz
    DEPENDS ${SS_PACKAGING_DIR}/steel_spree.6 ${SS_PACKAGING_DIR}/changelog
    COMMENT "Compressing the manual page")
add_custom_target(packaging_docs ALL
                  DEPENDS ${ss_doc_out}/steel_spree.6.gz ${ss_doc_out}/changelog.gz)
install(FILES ${ss_doc_out}/steel_spree.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${SS_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/steel-spree)
install(FILES ${ss_doc_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/steel-spree)

# The Debian package (make package).
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "steel-spree")
set(CPACK_PACKAGE_VERSION "1.0.0")
set(CPACK_PACKAGE_CONTACT "The Steel_Spree team <team@steelspree.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D arcade puzzle game of steel girders high above a city")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A worker slides steel girders into place high above a city, bolts every\ngirder where the plan wants it and rides the lift to the next level,\nbefore the clock runs out. The game has 24 levels, a level editor to\nbuild and test new ones, and plays with the keyboard or a game controller.")
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri | libgl1")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
