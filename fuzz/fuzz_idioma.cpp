// Fuzz target for the language file as the program reads it at start-up and
// for every caption: the language list, the current language, the texts.

#include "entrada_fuzz.h"

#include "language/ini.h"
#include "platform/vberror.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::aplicacion();
    fuzz::limpiar();
    ficheroidioma = fuzz::fichero(data, size, "fuzz-idioma.lng");
    cargaridiomas();
    for (int id = 1; id <= 107; id += 7)
        leertexto(id);
    QStringList secciones;
    try {
        leersecciones(ficheroidioma, secciones);
    } catch (const platform::FileError &) {
        // More sections than can be counted: a file the program refuses.
        return 0;
    }
    for (const QString &s : secciones)
        leerini(ficheroidioma, s, QStringLiteral("1"));
    return 0;
}
