// Fuzz target for the language file as the program reads it at start-up and
// for every caption: the language list, the current language, the texts.

#include "entrada_fuzz.h"

#include "language/ini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::aplicacion();
    fuzz::limpiar();
    ficheroidioma = fuzz::fichero(data, size, "fuzz-idioma.lng");
    cargaridiomas();
    for (int id = 1; id <= 107; id += 7)
        leertexto(id);
    QStringList secciones;
    leersecciones(ficheroidioma, secciones);
    for (const QString &s : secciones)
        leerini(ficheroidioma, s, QStringLiteral("1"));
    return 0;
}
