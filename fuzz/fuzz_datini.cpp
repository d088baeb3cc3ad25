// Fuzz target for the keyed (INI-style) ".dat" reader, and a check that the
// index it reads the file into answers every lookup as leerini does on the
// file itself.

#include "entrada_fuzz.h"

#include "language/ini.h"
#include "language/iniindice.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    principal &p = fuzz::ventana();
    fuzz::limpiar();
    const QString ruta = fuzz::fichero(data, size, "fuzz-ini.dat");
    fuzz::dobles().dialogos.answers << ruta;
    p.abrirfichero1();

    // The index and the file agree on a few names taken from the input.
    const IniIndice indice{QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))};
    const QStringList nombres{QStringLiteral("GENERAL"), QStringLiteral("CURVE 1"), QStringLiteral("TITLE"),
                              QStringLiteral("N POINTS"), QStringLiteral("X(1)"), QString(), QStringLiteral("a")};
    for (const QString &s : nombres) {
        if (bool(existeseccion(ruta, s)) != indice.existe(s))
            std::abort();
        for (const QString &k : nombres)
            if (leerini(ruta, s, k) != indice.valor(s, k))
                std::abort();
    }
    return 0;
}
