// Fuzz target for the point import from a delimited text file. The first
// byte picks the separator (",", ";" or blank); the rest is the file.

#include "entrada_fuzz.h"

#include <QComboBox>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    principal &p = fuzz::ventana();
    fuzz::limpiar();
    p.CMBlimitador[0]->setCurrentIndex(data[0] % 3);
    p.CMBunir[0]->setCurrentIndex(data[0] % 8);
    fuzz::dobles().dialogos.answers << fuzz::fichero(data + 1, size - 1, "fuzz-puntos.txt");
    p.BTimport_Click(0);
    return 0;
}
