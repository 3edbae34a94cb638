# Debian package of the whole program, made by CPack from this build:
#   cmake --build build --target package   ->   build/quorvex_<version>_amd64.deb
# Also the helper that installs a manual page the way Debian wants it (gzip -9n).

# A manual page, compressed at build time and installed in man1. `page` is a roff file,
# written by hand or generated (then a custom command must have it as OUTPUT).
function(quorvex_install_man_page page)
  get_filename_component(name ${page} NAME)
  set(gz ${CMAKE_BINARY_DIR}/man/${name}.gz)
  add_custom_command(
    OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    # -n: no name or time stamp inside, so two builds give the same bytes.
    COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${page} ${gz}
    DEPENDS ${page}
    VERBATIM)
  add_custom_target(man_${name} ALL DEPENDS ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# Debian wants 0755 directories whatever the umask of the one who builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# /usr/share/doc/quorvex: the licence in the machine-readable copyright format, and the
# changelog Debian requires of every package.
set(quorvex_doc ${CMAKE_INSTALL_DATADIR}/doc/quorvex)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${quorvex_doc})
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${PROJECT_SOURCE_DIR}/packaging/changelog
          ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(quorvex_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${quorvex_doc})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VENDOR "Veltrano")
set(CPACK_PACKAGE_CONTACT "Veltrano - Quorvex <quorvex@veltrano.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "concordancer for a Latin text and its French translation")
set(CPACK_PACKAGE_DESCRIPTION
"Veltrano - Quorvex lists the attestations of a Latin word form in a text whose
passages are marked by references in square brackets, and shows each one in its
passage beside the French translation of that passage. Letter case is ignored
and one star stands for a beginning and an end (am*, *or, am*or).
.
The package holds the desktop program (French interface) and quorvex-cli, the
same search from the command line, with key word in context, frequencies,
reference checks, and TSV, CSV and HTML exports.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://veltrano.org/quorvex/")
# The libraries come from dpkg-shlibdeps; what Qt loads at run time it cannot see: the
# platform plugin, and the fonts and French dialog buttons the windows are drawn for.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
