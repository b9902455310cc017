# Installation in Debian's layout for games, and the .deb built from it
# (scripts/package). The game finds its files in its working directory, so
# the executable sits beside them in share/games/brinegrab and the launcher
# in games/ starts it there.

set(GAME_DATA_DIR share/games/brinegrab)
# The address the title screen credits; set the real one when there is one.
set(BRINEGRAB_HOMEPAGE "https://www.vxgames.example/brinegrab" CACHE STRING
  "The game's web page, named in the AppStream metainfo and the package")
set(BRINEGRAB_SCREENSHOTS_URL "${BRINEGRAB_HOMEPAGE}/screenshots" CACHE STRING
  "Where the pictures of docs/screenshots are published, for the AppStream metainfo")

install(TARGETS brinegrab RUNTIME DESTINATION ${GAME_DATA_DIR})
install(DIRECTORY ${GAME_DIR}/sprites ${GAME_DIR}/sfx ${GAME_DIR}/minigames ${GAME_DIR}/VX_pics
  ${GAME_DIR}/fonts DESTINATION ${GAME_DATA_DIR})
install(FILES ${GAME_DIR}/title.ttf ${GAME_DIR}/text.ttf ${GAME_DIR}/icon.png
  dist/FONTS-OFL.txt
  DESTINATION ${GAME_DATA_DIR})
install(DIRECTORY ${GAME_DIR}/locale DESTINATION ${GAME_DATA_DIR})
install(PROGRAMS dist/brinegrab.sh DESTINATION games RENAME brinegrab)

set(DIST_DIR ${CMAKE_BINARY_DIR}/dist)
configure_file(dist/brinegrab.desktop.in ${DIST_DIR}/english/${BRINEGRAB_APP_ID}.desktop @ONLY)
configure_file(dist/brinegrab.metainfo.xml.in ${DIST_DIR}/english/${BRINEGRAB_APP_ID}.metainfo.xml
  @ONLY)
translate_desktop_files(${DIST_DIR}/english ${DIST_DIR})
configure_file(dist/brinegrab.6.in ${DIST_DIR}/brinegrab.6 @ONLY)
install(FILES ${DIST_DIR}/${BRINEGRAB_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${DIST_DIR}/${BRINEGRAB_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${DIST_DIR}/brinegrab.6 DESTINATION share/man/man6)
foreach(size 32 64 128 256)
  install(FILES ${ICON_DIR}/${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps
    RENAME ${BRINEGRAB_APP_ID}.png)
endforeach()
install(FILES LICENSE README.md DESTINATION share/doc/brinegrab)
# The pages the README links to, beside it.
file(GLOB DOC_PAGES ${CMAKE_SOURCE_DIR}/docs/*.md)
install(FILES ${DOC_PAGES} DESTINATION share/doc/brinegrab/docs)

set(CPACK_PACKAGE_NAME brinegrab)
set(CPACK_PACKAGE_VENDOR "The Brinegrab developers")
set(CPACK_PACKAGE_CONTACT "The Brinegrab developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pirate arcade game for one or two players")
set(CPACK_PACKAGE_DESCRIPTION
  "Dodge the cannonball, which keeps getting faster, and grab coins, rubies and treasure on \
the beach, alone or with a friend on the same keyboard or two gamepads. In two-player games \
a map piece or crossed swords lead to three mini-games and a sword fight on a ship.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BRINEGRAB_HOMEPAGE})
# The runtime libraries' packages, found by dpkg-shlibdeps from what the
# executable links (never the -dev packages it was built with).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
