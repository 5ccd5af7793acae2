# Read by cpack: the package's Depends, from dpkg-shlibdeps run on the
# programs and the sound library. CPack's own run of it would also give the
# package ldconfig calls in maintainer scripts, as it does for any library
# under /usr/lib; the game's library is loaded by its path, and the postrm
# script would keep the removed package in dpkg's records until purged.
if(CPACK_GENERATOR STREQUAL "DEB")
  # dpkg-shlibdeps reads the package's name from a debian/control file.
  set(work ${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/shlibdeps)
  file(WRITE ${work}/debian/control "Source: tesva\n\nPackage: tesva\nArchitecture: any\n")
  execute_process(
    COMMAND dpkg-shlibdeps -O ${CPACK_TESVA_LINKED_FILES}
    WORKING_DIRECTORY ${work}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE depends
    ERROR_VARIABLE problems)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-shlibdeps failed: ${problems}")
  endif()
  string(REGEX REPLACE "^shlibs:Depends=([^\n]*)\n?$" "\\1" CPACK_DEBIAN_PACKAGE_DEPENDS
                       "${depends}")
endif()
