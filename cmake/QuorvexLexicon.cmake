# The Latin lexicon (Collatinus data, GPL-2+): not kept in this repository. tools/fetch-lexicon.sh
# (run by tools/install-deps.sh) takes it from the Debian package `collatinus` without
# installing that package; the build installs it beside quorvex-cli and the tests read it
# from here. Without it the program still builds; tests that need it say they are skipped.
set(QUORVEX_LEXICON_SOURCE /var/cache/quorvex/lexicon CACHE PATH
    "Folder holding the Collatinus lexicon's data files (filled by tools/fetch-lexicon.sh)")
set(quorvex_lexicon_files modeles.la lemmes.la irregs.la assimilations.la contractions.la
    lemmes.fr lem_ext.la lem_ext.fr)
set(QUORVEX_HAVE_LEXICON ON)
foreach(file ${quorvex_lexicon_files} copyright)
  if(NOT EXISTS ${QUORVEX_LEXICON_SOURCE}/${file})
    set(QUORVEX_HAVE_LEXICON OFF)
  endif()
endforeach()
if(QUORVEX_HAVE_LEXICON)
  # Tests of a cross build run elsewhere (Wine), where this machine's paths mean nothing.
  if(CMAKE_CROSSCOMPILING)
    set(QUORVEX_TEST_LEXICON "")
  else()
    set(QUORVEX_TEST_LEXICON ${QUORVEX_LEXICON_SOURCE})
  endif()
  list(TRANSFORM quorvex_lexicon_files PREPEND ${QUORVEX_LEXICON_SOURCE}/)
  install(FILES ${quorvex_lexicon_files} ${QUORVEX_LEXICON_SOURCE}/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvex/lexicon COMPONENT cli)
else()
  message(WARNING "No Latin lexicon in ${QUORVEX_LEXICON_SOURCE}: run tools/fetch-lexicon.sh "
                  "(lemma searches will need --lexicon, and their tests are skipped)")
endif()

# The New Testament pair that integration tests and benchmarks read (skipped when absent).
set(QUORVEX_CORPUS_DIR ${PROJECT_SOURCE_DIR}/../shared/corpus CACHE PATH
    "Folder of the real corpus (latin-nt.txt, francais-nt.txt)")
