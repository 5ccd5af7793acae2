# Run by CPack on the package's staged tree: Debian keeps the programs of
# games in /usr/games, not /usr/bin (its policy, 11.11). The game still
# finds its data and its sound library, in ../share/tesva and ../lib/tesva
# from either folder.
set(staged ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(RENAME ${staged}/bin ${staged}/games)
