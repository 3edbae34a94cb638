// quorvex-gencorpus OUTDIR MEGABYTES: writes OUTDIR/latin.txt and OUTDIR/francais.txt.

#include "CorpusGenerator.h"

#include "text/TextFile.h"

#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "Usage : quorvex-gencorpus DOSSIER MEGAOCTETS\n";
        return 2;
    }
    const std::string dir = argv[1];
    char* end = nullptr;
    const double megabytes = std::strtod(argv[2], &end);
    if (!end || *end || megabytes <= 0) {
        std::cerr << "quorvex-gencorpus : taille invalide « " << argv[2] << " ».\n";
        return 2;
    }
    const auto pair = quorvex::bench::generateCorpus(static_cast<std::size_t>(megabytes * 1e6));
    for (const auto& [name, text] : {std::pair{"/latin.txt", &pair.latin},
                                     std::pair{"/francais.txt", &pair.french}}) {
        const auto error = quorvex::writeFileReplacing(dir + name, [&](std::ostream& out) {
            out.write(text->data(), static_cast<std::streamsize>(text->size()));
            return static_cast<bool>(out);
        });
        if (error) {
            std::cerr << "quorvex-gencorpus : " << quorvex::describeFileError(error) << '\n';
            return 1;
        }
    }
    return 0;
}
