# Run by CPack after it has made the Debian package (CPACK_POST_BUILD_SCRIPTS). CPack gives a package with a
# shared library maintainer scripts that only run ldconfig; a package with a postrm script stays in dpkg's
# "config-files" state after dpkg -r, a leftover entry that only dpkg -P clears. Debian's own libraries use
# libc-bin's ldconfig trigger instead, which needs no script: the package is rebuilt that way, its files
# unchanged.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(tree ${CPACK_TOPLEVEL_DIRECTORY}/rebuilt-deb)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
  file(WRITE ${tree}/DEBIAN/triggers "activate-noawait ldconfig\n")
  execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${package}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
