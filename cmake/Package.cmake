# The Debian package, from the same install rules as `cmake --install`:
#   cmake --build build --target package  ->  build/tesva_<version>_<arch>.deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tesva)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGE_CONTACT "Tesva developers <maintainers@users.noreply.c-seed-5034889c.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
# Depends: the libraries the programs and the sound and deck libraries are linked
# with, as dpkg-shlibdeps finds them when cpack runs (DebianDepends.cmake).
set(CPACK_TESVA_LINKED_FILES
  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/tesva
  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/tesva-headless
  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${CMAKE_SHARED_LIBRARY_PREFIX}tesva-sound${CMAKE_SHARED_LIBRARY_SUFFIX}
  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${CMAKE_SHARED_LIBRARY_PREFIX}tesva-decks${CMAKE_SHARED_LIBRARY_SUFFIX}
  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${CMAKE_SHARED_LIBRARY_PREFIX}tesva-friend${CMAKE_SHARED_LIBRARY_SUFFIX})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/DebianDepends.cmake)
# Recommends: what Qt loads only while the game runs, which it plays without:
# Qt's own Turkish texts for the buttons of the boxes, and the platform
# plugin for a Wayland desktop (elsewhere Qt's X11 plugin, in Depends,
# draws the window).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Turkish fishing card game against the computer")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tesva is the Turkish two-player fishing card game, played here by one
person against the computer in one window with a Turkish interface. A jack,
or a card of the top card's rank, takes the whole floor pile; taking a lone
card with a card of its rank is a tesva, worth 10 points, 15 on a jack and
30 on an ace. The computer plays at three levels, the strongest a master
that decides only from what its seat has seen; none looks at your cards or
at the deck.

The package also holds tesva-headless, which plays the same game from a
script of events with no window and prints its whole state as JSON, to
replay an exact game.")
# Debian keeps the programs of games in /usr/games.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianGames.cmake)
include(CPack)
