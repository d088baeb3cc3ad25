#pragma once
// Shared by the fuzz targets of the data files, the text import and the
// language file: the input as a file kept in memory, and the main window
// started once, headless, with every message box and file dialog answered
// by test doubles.

#include "app/principal.h"
#include "language/idiomas.h"
#include "platform/commondialog.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QDir>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace fuzz
{

// Writes the input into a file kept in memory; returns its path.
inline QString fichero(const std::uint8_t *data, std::size_t size, const char *nombre)
{
    static const int fd = memfd_create(nombre, 0);
    if (fd < 0 || ftruncate(fd, 0) != 0)
        std::abort();
    std::size_t hecho = 0;
    while (hecho < size) {
        const ssize_t n = pwrite(fd, data + hecho, size - hecho, off_t(hecho));
        if (n <= 0)
            std::abort();
        hecho += std::size_t(n);
    }
    return QStringLiteral("/proc/self/fd/%1").arg(fd);
}

inline QApplication &aplicacion()
{
    static int argc = 1;
    static char nombre[] = "fuzz";
    static char *argv[] = {nombre, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// Message boxes and file dialogs answered without a person.
struct Dobles {
    platform::ScriptedMsgBox cajas;
    platform::ScriptedFileDialog dialogos;
};

inline Dobles &dobles()
{
    static Dobles d;
    return d;
}

// The main window, loaded on the shipped language file in a folder of its own.
inline principal &ventana()
{
    static principal *p = [] {
        aplicacion();
        dobles();
        static const QString carpeta = QDir::temp().filePath(QStringLiteral("curvexa-fuzz-%1").arg(getpid()));
        QDir().mkpath(carpeta);
        platform::setProgramFolder(carpeta);
        ficheroidioma = carpeta + QStringLiteral("/idioma.lng");
        cargaridiomas();
        return &formprincipal();
    }();
    return *p;
}

// Clears what the doubles recorded, so that a long run keeps no memory.
inline void limpiar()
{
    dobles().cajas.shown.clear();
    dobles().dialogos.shown.clear();
    dobles().dialogos.answers.clear();
}

} // namespace fuzz
