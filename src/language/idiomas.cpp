#include "language/idiomas.h"

#include "language/ini.h"
#include "platform/htmlhelp.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"
#include "platform/vberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

// The resource lives in a static library: register it before first use.
static void iniciarrecursoidioma()
{
    static const bool registrado = [] {
        Q_INIT_RESOURCE(idiomas);
        return true;
    }();
    (void)registrado;
}

QString ficheroidioma;
QString idiomaactual;
platform::Integer numidiomas = 0;
QStringList listaidiomas;

namespace
{

std::function<MenuIdiomas *()> &fuenteMenu()
{
    static std::function<MenuIdiomas *()> fuente;
    return fuente;
}

// A language file that can be read and holds something (an empty file is
// what an interrupted write leaves behind).
bool legible(const QString &path)
{
    QFile f(path);
    return QFileInfo(path).isFile() && f.size() > 0 && f.open(QIODevice::ReadOnly);
}

} // namespace

QString leertexto(int id)
{
    try {
        return leerini(ficheroidioma, idiomaactual, QString::number(id));
    } catch (const platform::VbError &) {
        return QString();
    }
}

QString textofallofichero()
{
    const QString texto = leertexto(72);
    return texto.isEmpty() ? QStringLiteral("Reading or writing a file failed.") : texto;
}

void registrarmenuidiomas(std::function<MenuIdiomas *()> fuente)
{
    fuenteMenu() = std::move(fuente);
}

QByteArray ficheroidiomaoriginal()
{
    iniciarrecursoidioma();
    QFile f(QStringLiteral(":/curvexa/idioma.lng"));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool asegurarficheroidioma()
{
    if (ficheroidioma.isEmpty())
        return false;
    if (legible(ficheroidioma))
        return true;
    const QByteArray original = ficheroidiomaoriginal();
    if (original.isEmpty() || QFileInfo(ficheroidioma).isDir())
        return false;
    QSaveFile out(ficheroidioma);
    out.setDirectWriteFallback(true);
    // Unbuffered, so that a short write (a full disk) is seen and nothing is
    // committed: a cut file would pass for the user's at the next start.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || out.write(original) != original.size() ||
        !out.commit())
        return false;
    return legible(ficheroidioma);
}

int itemeditoridiomas()
{
    return std::clamp<int>(numidiomas, 0, maxIdiomas) + 2;
}

void rellenarmenuidiomas()
{
    MenuIdiomas *menu = fuenteMenu() ? fuenteMenu()() : nullptr;
    // The bound is taken once; the list is never read past its end.
    const int n = std::min<int>(numidiomas, static_cast<int>(listaidiomas.size()));
    const QString actual = idiomaactual.toLower();
    for (int i = 1; i <= n; ++i) {
        const QString &nombre = listaidiomas.at(i - 1);
        const bool marcado = actual == nombre.toLower();
        if (marcado)
            platform::setHelpFile(platform::inProgramFolder(nombre + QStringLiteral(".chm")));
        // A file with more languages than the menu holds: the extra ones stay
        // in the list (the editor keeps them) but get no menu item.
        if (menu && i <= maxIdiomas)
            menu->ponerelemento(i, nombre, marcado, true, true);
    }
    if (menu) {
        const int shown = std::clamp(n, 0, maxIdiomas);
        menu->ponerelemento(shown + 1, QStringLiteral("-"), false, true, true);
        menu->ponerelemento(shown + 2, leertexto(2), false, true, true);
    }
}

void cargaridiomas()
{
    platform::setHelpFile(QString());
    asegurarficheroidioma();
    QStringList lista;
    platform::Integer n = 0;
    try {
        n = leersecciones(ficheroidioma, lista);
        idiomaactual = leerini(ficheroidioma, QStringLiteral("idioma"), QStringLiteral("idioma"));
    } catch (const platform::VbError &) {
        // No language file that can be read (missing, or with more sections
        // than can be counted): no language, every caption empty.
        n = 0;
        lista.clear();
        idiomaactual.clear();
    }
    // A file without any header counts -1 sections.
    numidiomas = std::max<platform::Integer>(n, 0);
    listaidiomas = lista.mid(0, numidiomas);
    rellenarmenuidiomas();
}

platform::Integer cambiaridioma(const QString &nombre)
{
    bool existe = false;
    try {
        existe = platform::isTrue(existeseccion(ficheroidioma, nombre));
    } catch (const platform::VbError &) {
        platform::msgbox(textofallofichero(), platform::vbCritical, leertexto(75));
        return platform::vbFalse;
    }
    if (!existe) {
        platform::msgbox(leertexto(3), platform::vbCritical, leertexto(1));
        return platform::vbFalse;
    }
    platform::msgbox(leertexto(4), platform::vbInformation, leertexto(1));
    try {
        escribirini(ficheroidioma, QStringLiteral("idioma"), QStringLiteral("idioma"), nombre);
    } catch (const platform::VbError &) {
        // The file is as it was (every change replaces it in one step).
        platform::msgbox(textofallofichero(), platform::vbCritical, leertexto(75));
        return platform::vbFalse;
    }
    return platform::vbTrue;
}

QString ficheroayuda(platform::Integer n)
{
    return n == 1 ? platform::helpFile() : QString();
}

void mostrarcontenido(platform::Integer n)
{
    platform::htmlHelpContents(ficheroayuda(n));
}
