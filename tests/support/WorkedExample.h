#pragma once
// Two short parallel texts, a search for "rosam" in them, and the result file it must give,
// byte for byte (17 lines).

#include <string>

namespace quorvex::testsupport {

inline const std::string kExampleLatin = "[1] Puer rosam amat.\r\n[2] Puella rosam videt.\r\n";
inline const std::string kExampleFrench =
    "[1] Le gar\xE7on aime la rose.\r\n[2] La fille voit la rose.\r\n";
inline const std::string kExampleTitle = "Essai";
inline const std::string kExampleDate = "04/12/2026 11:25:50";

inline std::string exampleResultFile()
{
    const std::string rule(74, '-');
    const std::string crlf = "\r\n";
    return "R\xE9" "f\xE9rence(s) : Essai" + crlf                        // 1
        + "Recherche effectu\xE9" "e le : 04/12/2026 11:25:50" + crlf    // 2
        + rule + crlf                                                   // 3
        + crlf                                                          // 4
        + "Forme(s)" + std::string(28, ' ') + "R\xE9" "f\xE9rences" + crlf  // 5
        + "rosam" + std::string(31, ' ') + "[1]" + crlf                 // 6
        + "rosam" + std::string(31, ' ') + "[2]" + crlf                 // 7
        + rule + crlf                                                   // 8
        + "[1] Puer rosam amat." + crlf + crlf                          // 9, 10
        + "[1] Le gar\xE7on aime la rose." + crlf + crlf                // 11, 12
        + rule + crlf                                                   // 13
        + "[2] Puella rosam videt." + crlf + crlf                       // 14, 15
        + "[2] La fille voit la rose." + crlf + crlf;                   // 16, 17
}

} // namespace quorvex::testsupport
