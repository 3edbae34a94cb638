# The Latin lexicon (Collatinus data, GPL-2+): not kept in this repository. tools/fetch-lexicon.sh
# (run by tools/install-deps.sh) takes it from the Debian package `collatinus` without
# installing that package. The build lays it out under share/quorvex/lexicon of the build
# tree, where the programs started from the build tree find it (as an installed one finds
# its own beside bin/), installs it into the package quorvex-lexicon, and the tests read it
# from here. Without it the program still builds; tests that need it say they are skipped.
set(QUORVEX_LEXICON_SOURCE /var/cache/quorvex/lexicon CACHE PATH
    "Folder holding the Collatinus lexicon's data files (filled by tools/fetch-lexicon.sh)")
set(quorvex_lexicon_files modeles.la lemmes.la irregs.la assimilations.la contractions.la
    lemmes.fr lem_ext.la lem_ext.fr tags.la morphos.fr)
set(QUORVEX_LEXICON_COMPONENT lexicon)  # -> package quorvex-lexicon
set(QUORVEX_BUILD_LEXICON ${CMAKE_BINARY_DIR}/share/quorvex/lexicon)
set(QUORVEX_HAVE_LEXICON ON)
foreach(file ${quorvex_lexicon_files})
  if(NOT EXISTS ${QUORVEX_LEXICON_SOURCE}/${file})
    set(QUORVEX_HAVE_LEXICON OFF)
  endif()
endforeach()
file(REMOVE_RECURSE ${QUORVEX_BUILD_LEXICON})
if(QUORVEX_HAVE_LEXICON)
  # Tests of a cross build run elsewhere (Wine), where this machine's paths mean nothing.
  if(CMAKE_CROSSCOMPILING)
    set(QUORVEX_TEST_LEXICON "")
  else()
    set(QUORVEX_TEST_LEXICON ${QUORVEX_LEXICON_SOURCE})
  endif()
  file(MAKE_DIRECTORY ${QUORVEX_BUILD_LEXICON})
  foreach(file ${quorvex_lexicon_files})
    file(CREATE_LINK ${QUORVEX_LEXICON_SOURCE}/${file} ${QUORVEX_BUILD_LEXICON}/${file} COPY_ON_ERROR SYMBOLIC)
  endforeach()
  list(TRANSFORM quorvex_lexicon_files PREPEND ${QUORVEX_LEXICON_SOURCE}/)
  install(FILES ${quorvex_lexicon_files}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvex/lexicon COMPONENT ${QUORVEX_LEXICON_COMPONENT})
else()
  message(WARNING "No Latin lexicon in ${QUORVEX_LEXICON_SOURCE}: run tools/fetch-lexicon.sh "
                  "(lemma searches will need --lexicon, and their tests are skipped)")
endif()

# The New Testament pair that integration tests and benchmarks read (skipped when absent).
set(QUORVEX_CORPUS_DIR ${PROJECT_SOURCE_DIR}/../shared/corpus CACHE PATH
    "Folder of the real corpus (latin-nt.txt, francais-nt.txt)")
