// Fuzz target for the plain ".dat" reader (and, for inputs that start with
// "[GENERAL]", the keyed one) as "Abrir" runs it after its dialog. The reader
// catches its own failures and shows a message; anything that escapes, a
// crash, a sanitizer report or a hang is a finding. Every 64th input starts
// from a new document, the others from what the last one left.

#include "entrada_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    principal &p = fuzz::ventana();
    static unsigned n = 0;
    if (n++ % 64 == 0)
        p.nuevofichero();
    fuzz::limpiar();
    fuzz::dobles().dialogos.answers << fuzz::fichero(data, size, "fuzz-plano.dat");
    p.abrirfichero();
    return 0;
}
