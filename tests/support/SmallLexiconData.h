#pragma once
// The files of a small Latin lexicon of our own, in the lexicon's format: "deus", "dico" (two
// lemmata), "edo" and "sum", enough for lemma searches over short texts. UTF-8.

namespace quorvex::testsupport {

inline constexpr const char* kSmallLexiconModels = "$lupus=ŭs;ĕ;ŭm;ī;ō;ō;ī;ī;ōs;ōrŭm;īs;īs\n"
                                                   "modele:inv\nR:0:0,0\ndes:416:0:-\n"
                                                   "modele:lupus\nR:1:2,0\ndes:1-12:1:$lupus\npos:n\n"
                                                   "modele:lego\nR:0:1,0\nR:1:1,āv\nR:2:1,āt\npos:v\n"
                                                   "des:121-126:0:ō̆;ĭs;ĭt;ĭmŭs;ĭtĭs;ūnt\n"
                                                   "des:139-144:1:ī;īstī;ĭt;ĭmŭs;īstĭs;ērūnt,ērĕ\n"
                                                   "modele:edo\npere:lego\nR:3:3,0\ndes+:123:3:ēst\n"
                                                   "modele:sum\nR:0:2,0\nR:1:-\nR:2:3,0\ndes:121:0:ŭm\n"
                                                   "des:122,123:2:ĕs;ēst\ndes:139-141:1:ī;īstī;ĭt\n";
inline constexpr const char* kSmallLexiconLemmata = "dĕus|lupus|||i, m.|2679\n"
                                                    "dīco2|lego|dīx|dīct|is, ere|7210\n"
                                                    "dĭco|lego|||as, are|42\n"
                                                    "ĕdo|edo|ēd|ēs|edis, esse|99\n"
                                                    "sŭm|sum|fŭ||es, esse, fui|40916\n";

} // namespace quorvex::testsupport
