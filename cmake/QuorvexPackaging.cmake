# Three Debian packages made by CPack from one build:
#   cmake --build build --target package
#   ->  build/quorvex-cli_<version>_amd64.deb      the core's work from the command line, no Qt
#       build/quorvex_<version>_amd64.deb          the windows, which need the first
#       build/quorvex-lexicon_<version>_all.deb    the Latin lexicon, data the first needs
# Every install() rule names its component. One without a COMPONENT lands in quorvex-cli;
# the windows' files say COMPONENT ${QUORVEX_GUI_COMPONENT}, the lexicon's
# ${QUORVEX_LEXICON_COMPONENT} (cmake/QuorvexLexicon.cmake, included first).

set(QUORVEX_CLI_COMPONENT cli)   # -> package quorvex-cli
set(QUORVEX_GUI_COMPONENT gui)   # -> package quorvex
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME ${QUORVEX_CLI_COMPONENT})

# The Debian revision of the packaging: the program stays 2.0, its packages changed.
set(QUORVEX_DEBIAN_REVISION 2)
set(QUORVEX_DEBIAN_VERSION ${PROJECT_VERSION}-${QUORVEX_DEBIAN_REVISION})

# Debian wants 0755 directories whatever the umask of the one who builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# A file compressed the way Debian wants it (gzip -9n: no name or time stamp inside, so two
# builds give the same bytes), made at build time.
function(quorvex_gzip source gz)
  get_filename_component(dir ${gz} DIRECTORY)
  add_custom_command(
    OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${source} ${gz}
    DEPENDS ${source}
    VERBATIM)
endfunction()

# A manual page in one language (fr or en) from a source of ours that holds both: the lines
# common to both, blocks for each language, and, for a program given by COMMAND, what its
# --help and --version say.
#   quorvex_man_page(SOURCE LANG OUTPUT [COMMAND program...] [DEPENDS target...])
find_program(QUORVEX_PERL perl REQUIRED)
function(quorvex_man_page source lang output)
  cmake_parse_arguments(ARG "" "" "COMMAND;DEPENDS" ${ARGN})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${QUORVEX_PERL} ${PROJECT_SOURCE_DIR}/cmake/man-page.pl
            ${source} ${lang} ${output} ${PROJECT_VERSION} ${ARG_COMMAND}
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/man-page.pl ${source} ${ARG_DEPENDS}
    COMMENT "Writing the manual page ${lang}/${output}"
    VERBATIM)
endfunction()

# A manual page of section 1 in one language: `fr` under man/fr/man1, `en` under man1.
# `page` is a roff file, generated (then a custom command has it as OUTPUT) or not.
#   quorvex_install_man_page(PAGE LANG fr|en COMPONENT component)
function(quorvex_install_man_page page)
  cmake_parse_arguments(ARG "" "LANG;COMPONENT" "" ${ARGN})
  get_filename_component(name ${page} NAME)
  set(gz ${CMAKE_BINARY_DIR}/man/${ARG_LANG}/${name}.gz)
  quorvex_gzip(${page} ${gz})
  add_custom_target(man_${ARG_LANG}_${name} ALL DEPENDS ${gz})
  if(ARG_LANG STREQUAL "en")
    set(dir ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    set(dir ${CMAKE_INSTALL_MANDIR}/${ARG_LANG}/man1)
  endif()
  install(FILES ${gz} DESTINATION ${dir} COMPONENT ${ARG_COMPONENT})
endfunction()

# /usr/share/doc/<package>: the licence in the machine-readable copyright format, and the
# changelog Debian requires of every package.
quorvex_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_target(quorvex_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
function(quorvex_install_package_docs package component)
  set(doc ${CMAKE_INSTALL_DATADIR}/doc/${package})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${doc} COMPONENT ${component})
  install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz DESTINATION ${doc}
          COMPONENT ${component})
endfunction()
quorvex_install_package_docs(quorvex-cli ${QUORVEX_CLI_COMPONENT})
if(QUORVEX_BUILD_GUI)
  quorvex_install_package_docs(quorvex ${QUORVEX_GUI_COMPONENT})
endif()
if(QUORVEX_HAVE_LEXICON)
  quorvex_install_package_docs(quorvex-lexicon ${QUORVEX_LEXICON_COMPONENT})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VENDOR "Veltrano")
set(CPACK_PACKAGE_CONTACT "Veltrano - Quorvex <quorvex@veltrano.org>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# strip keeps the .comment section (the compilers' names and versions); Debian's packages go
# without it. Done on the staged files, once every package's files are in place.
set(CPACK_QUORVEX_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/strip-comment.cmake)
set(CPACK_DEBIAN_PACKAGE_SOURCE quorvex)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUORVEX_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://veltrano.org/quorvex/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The windows' package depends on the command line's of the very same version.
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(quorvex_about
"Veltrano - Quorvex lists the attestations of a Latin word form in a text whose
passages are marked by references in square brackets, and shows each one in its
passage beside the French translation of that passage. Letter case is ignored
and one star stands for a beginning and an end (am*, *or, am*or).")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME quorvex-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION text)
set(CPACK_DEBIAN_CLI_DESCRIPTION
"concordancer for a Latin text and its French translation (command line)
${quorvex_about}
.
This package holds quorvex-cli, the search from the command line, with key word
in context, frequencies, reference checks, and TSV, CSV and HTML exports. It
needs no graphical environment.")
# libhunspell, when built with it, comes from dpkg-shlibdeps; the French dictionary is
# loaded at run time, so only recommended.
set(CPACK_DEBIAN_CLI_PACKAGE_RECOMMENDS "hunspell-fr")
# Until 2.0-1 the one package quorvex held quorvex-cli too.
set(CPACK_DEBIAN_CLI_PACKAGE_BREAKS "quorvex (<< 2.0-1)")
set(CPACK_DEBIAN_CLI_PACKAGE_REPLACES "quorvex (<< 2.0-1)")
if(QUORVEX_HAVE_LEXICON)
  # Lemma searches need the lexicon: quorvex-cli depends on the package of its own version.
  set(CPACK_COMPONENT_CLI_DEPENDS ${QUORVEX_LEXICON_COMPONENT})
endif()

set(CPACK_DEBIAN_LEXICON_PACKAGE_NAME quorvex-lexicon)
set(CPACK_DEBIAN_LEXICON_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_LEXICON_PACKAGE_SECTION text)
set(CPACK_DEBIAN_LEXICON_DESCRIPTION
"Latin lexicon of Collatinus for Veltrano - Quorvex
The Latin lexicon of the Collatinus project (Yves Ouvrard, Philippe Verkerk):
inflection models, lemmata with their French glosses, irregular forms,
assimilations and contractions, as the data files that quorvex-cli and quorvex
read for searches by lemma.")
# Until 2.0-2 quorvex-cli held the lexicon.
set(CPACK_DEBIAN_LEXICON_PACKAGE_BREAKS "quorvex-cli (<< 2.0-2)")
set(CPACK_DEBIAN_LEXICON_PACKAGE_REPLACES "quorvex-cli (<< 2.0-2)")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME quorvex)
set(CPACK_DEBIAN_GUI_PACKAGE_SECTION text)
set(CPACK_DEBIAN_GUI_DESCRIPTION
"concordancer for a Latin text and its French translation
${quorvex_about}
.
This package holds the desktop program, in French. The command line tool is in
quorvex-cli.")
set(CPACK_COMPONENT_GUI_DEPENDS ${QUORVEX_CLI_COMPONENT})
# The Qt libraries come from dpkg-shlibdeps; what Qt loads at run time it cannot see: the
# platform plugin, and the fonts the windows' layout is measured in. The French buttons of
# the dialogs are welcome, not needed.
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS "fonts-liberation, qt6-qpa-plugins")
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS "qt6-translations-l10n")

set(CPACK_COMPONENTS_ALL ${QUORVEX_CLI_COMPONENT})
if(QUORVEX_BUILD_GUI)
  list(APPEND CPACK_COMPONENTS_ALL ${QUORVEX_GUI_COMPONENT})
endif()
if(QUORVEX_HAVE_LEXICON)
  list(APPEND CPACK_COMPONENTS_ALL ${QUORVEX_LEXICON_COMPONENT})
endif()
include(CPack)
