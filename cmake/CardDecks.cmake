# The KDE card decks that the card pictures and the icon are drawn from, and
# their copyright notice, which ships beside the pictures. Debian has renamed
# the package that holds them (kdegames-card-data-kf5 up to Debian 12,
# kdegames-card-data from Debian 13), so the notice is looked up through the
# package that owns the deck file, then in either package's documents.
#   TESVA_FACES_DECK, TESVA_BACKS_DECK, TESVA_CARDDECKS_COPYRIGHT
set(TESVA_CARDDECKS_DIR /usr/share/carddecks CACHE PATH "Folder holding the KDE card decks")
find_file(TESVA_FACES_DECK NAMES standard.svgz standard.svg
          PATHS ${TESVA_CARDDECKS_DIR}/svg-standard NO_DEFAULT_PATH NO_CACHE)
find_file(TESVA_BACKS_DECK NAMES white.svgz white.svg
          PATHS ${TESVA_CARDDECKS_DIR}/svg-nicu-white NO_DEFAULT_PATH NO_CACHE)
if(NOT TESVA_FACES_DECK OR NOT TESVA_BACKS_DECK)
  message(FATAL_ERROR
    "The card decks svg-standard and svg-nicu-white were not found in ${TESVA_CARDDECKS_DIR}. "
    "Install Debian's kdegames-card-data (kdegames-card-data-kf5 up to Debian 12) "
    "or point TESVA_CARDDECKS_DIR at a folder holding them.")
endif()

set(decks_package)
find_program(TESVA_DPKG_QUERY dpkg-query)
if(TESVA_DPKG_QUERY)
  execute_process(COMMAND ${TESVA_DPKG_QUERY} --search ${TESVA_FACES_DECK}
                  OUTPUT_VARIABLE owner ERROR_QUIET RESULT_VARIABLE status)
  if(status EQUAL 0 AND owner MATCHES "^([^:, ]+)")
    set(decks_package ${CMAKE_MATCH_1})
  endif()
endif()
set(notice_folders)
foreach(package ${decks_package} kdegames-card-data kdegames-card-data-kf5)
  list(APPEND notice_folders /usr/share/doc/${package})
endforeach()
find_file(TESVA_CARDDECKS_COPYRIGHT copyright PATHS ${notice_folders} NO_DEFAULT_PATH
          DOC "The copyright notice of the KDE card decks")
if(NOT TESVA_CARDDECKS_COPYRIGHT)
  message(FATAL_ERROR "The card decks' copyright notice was not found in ${notice_folders}; "
                      "set TESVA_CARDDECKS_COPYRIGHT to its path.")
endif()
