#include "look/FontSubstitutions.h"

#include <QFont>
#include <QString>

namespace quorvex {

void installFontSubstitutions()
{
    static const struct {
        const char* family;
        const char* substitute;
    } kSubstitutions[] = {
        {"Times New Roman", "Liberation Serif"},
        {"MS Sans Serif", "DejaVu Sans"},
        {"Verdana", "DejaVu Sans"},
        {"verdana", "DejaVu Sans"},
    };
    for (const auto& s : kSubstitutions)
        QFont::insertSubstitution(QString::fromLatin1(s.family), QString::fromLatin1(s.substitute));
}

} // namespace quorvex
