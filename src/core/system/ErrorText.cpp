// What the program says about names and failures, the same on every system.

#include "system/SystemFiles.h"

#include <cerrno>

namespace quorvex::sys {

std::string errnoReason(int err)
{
    switch (err) {
    case 0:
        return {};
    case ENOSPC:
        return "le disque est plein";
#ifdef EDQUOT
    case EDQUOT:
        return "le quota de disque est dépassé";
#endif
    case EFBIG:
        return "le fichier dépasse la taille permise";
    case EACCES:
    case EPERM:
        return "accès refusé";
    case ENOENT:
    case ENOTDIR:
        return "le dossier n'existe pas";
    case EROFS:
        return "le système de fichiers est en lecture seule";
    case EIO:
        return "erreur d'entrée-sortie";
    case EISDIR:
        return "c'est un dossier";
    case ENXIO:
    case ENODEV:
        return "le périphérique est absent";
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return "le fichier est occupé";
    case ENOMEM:
        return "la mémoire manque";
    case EMFILE:
    case ENFILE:
        return "trop de fichiers ouverts";
    case ENAMETOOLONG:
        return "le nom est trop long";
#ifdef ELOOP
    case ELOOP:
        return "trop de liens symboliques";
#endif
    case EEXIST:
        return "le fichier existe déjà";
    case EINVAL:
        return "opération impossible sur ce fichier";
    case EPIPE:
        return "le lecteur a fermé le tube";
    case EAGAIN:
#if defined(EWOULDBLOCK) && EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return "le fichier n'est pas prêt";
    case EXDEV:
        return "le fichier est sur un autre système de fichiers";
#ifdef ESTALE
    case ESTALE:
        return "le fichier réseau n'est plus accessible";
#endif
#ifdef EOVERFLOW
    case EOVERFLOW:
        return "le fichier est trop grand pour être lu";
#endif
    case ESPIPE:
        return "ce n'est pas un fichier ordinaire";
    case EINTR:
        return "l'opération a été interrompue";
    case EOPNOTSUPP:
#if defined(ENOTSUP) && ENOTSUP != EOPNOTSUPP
    case ENOTSUP:
#endif
        return "opération non prise en charge par ce système de fichiers";
    default:
        return "erreur système n° " + std::to_string(err);
    }
}

std::string escapeInvalidUtf8(const std::string& s)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(s.size());
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        std::size_t len = 0;
        unsigned lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
        if (b < 0x80)
            len = 1;
        else if (b >= 0xC2 && b <= 0xDF)
            len = 2;
        else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            if (b == 0xE0) lo = 0xA0;
            if (b == 0xED) hi = 0x9F;  // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            if (b == 0xF0) lo = 0x90;
            if (b == 0xF4) hi = 0x8F;
        }
        bool ok = len > 0 && i + len <= n;
        for (std::size_t k = 1; ok && k < len; ++k) {
            const unsigned c = p[i + k];
            ok = k == 1 ? (c >= lo && c <= hi) : (c >= 0x80 && c <= 0xBF);
        }
        if (ok) {
            out.append(s, i, len);
            i += len;
        } else {
            out += "\\x";
            out += hex[b >> 4];
            out += hex[b & 15];
            ++i;
        }
    }
    return out;
}

} // namespace quorvex::sys
