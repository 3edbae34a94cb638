#pragma once
// A small tag table of our own for the small test lexicon (SmallLexiconData.h), in the
// format of the tagger's two files: tag counts then tag trigrams (tags padded to three
// characters), and the French names of the morphologies that lexicon's models use. The
// counts make a noun start a sentence and a verb follow it.

namespace quorvex::testsupport {

inline constexpr const char* kSmallTagCounts = "! tag counts\n"
                                               "snt,10\n"
                                               "n11,6\n"
                                               "n31,5\n"
                                               "v11,8\n"
                                               "v1 ,4\n"
                                               "c  ,3\n"
                                               "ce ,1\n"
                                               "! --- Trigrammes\n"
                                               "snt n11 v11,4\n"
                                               "n11 v11 snt,3\n"
                                               "n11 v11 n31,1\n"
                                               "v11 n31 snt,1\n"
                                               "v11 snt n11,3\n"
                                               "snt n11 v1 ,2\n"
                                               "n11 v1  snt,2\n"
                                               "v1  snt n11,2\n"
                                               "snt c   n11,2\n"
                                               "c   n11 v11,2\n"
                                               "n11 ce  n11,1\n"
                                               "snt n11,9\n";
inline constexpr const char* kSmallMorphoNames = "! morphologies\n"
                                                 "1:nominatif singulier\n"
                                                 "2:vocatif singulier\n"
                                                 "3:accusatif singulier\n"
                                                 "4:génitif singulier\n"
                                                 "5:datif singulier\n"
                                                 "6:ablatif singulier\n"
                                                 "7:nominatif pluriel\n"
                                                 "8:vocatif pluriel\n"
                                                 "9:accusatif pluriel\n"
                                                 "10:génitif pluriel\n"
                                                 "11:datif pluriel\n"
                                                 "12:ablatif pluriel\n"
                                                 "121:1ère singulier indicatif présent actif\n"
                                                 "122:2ème singulier indicatif présent actif\n"
                                                 "123:3ème singulier indicatif présent actif\n"
                                                 "124:1ère pluriel indicatif présent actif\n"
                                                 "125:2ème pluriel indicatif présent actif\n"
                                                 "126:3ème pluriel indicatif présent actif\n"
                                                 "139:1ère singulier indicatif parfait actif\n"
                                                 "140:2ème singulier indicatif parfait actif\n"
                                                 "141:3ème singulier indicatif parfait actif\n"
                                                 "142:1ère pluriel indicatif parfait actif\n"
                                                 "143:2ème pluriel indicatif parfait actif\n"
                                                 "144:3ème pluriel indicatif parfait actif\n"
                                                 "416:inv.\n"
                                                 "! --- Cas\n"
                                                 "nominatif\n";

} // namespace quorvex::testsupport
