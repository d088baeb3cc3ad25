#include "language/iniindice.h"

#include "platform/textfile.h"

#include <QByteArrayView>

#include <cstring>

IniIndice::IniIndice(const QByteArray &contenido)
{
    const char *data = contenido.constData();
    const qsizetype n = contenido.size();
    qsizetype pos = 0;
    // The entries of the section being read; null while the lines belong to
    // no section or to a later section of a name already seen.
    QHash<QString, QString> *actual = nullptr;
    while (pos < n) {
        // One line: up to the next CR; an LF right after it belongs to the line end.
        const void *cr = std::memchr(data + pos, '\r', static_cast<std::size_t>(n - pos));
        const qsizetype fin = cr ? static_cast<const char *>(cr) - data : n;
        const QByteArrayView linea(data + pos, fin - pos);
        pos = fin;
        if (pos < n) {
            ++pos;
            if (pos < n && data[pos] == '\n')
                ++pos;
        }

        if (linea.isEmpty())
            continue;
        if (linea.front() == '[') {
            // The name is the line without its first and its last character;
            // "[" alone is taken as the empty name.
            const QString nombre =
                linea.size() < 2 ? QString() : platform::fromAnsi(linea.sliced(1, linea.size() - 2)).toLower();
            if (secciones_.contains(nombre)) {
                actual = nullptr;
            } else {
                actual = &secciones_[nombre];
            }
            continue;
        }
        if (!actual)
            continue;
        const qsizetype igual = linea.indexOf('=');
        if (igual < 0)
            continue;
        const QString clave = platform::fromAnsi(linea.first(igual)).toLower();
        if (!actual->contains(clave))
            actual->insert(clave, platform::fromAnsi(linea.sliced(igual + 1)));
    }
}

IniIndice IniIndice::leer(const QString &fichero)
{
    return IniIndice(platform::readAll(fichero));
}

QString IniIndice::valor(const QString &seccion, const QString &clave) const
{
    const auto s = secciones_.constFind(seccion.toLower());
    if (s == secciones_.constEnd())
        return QString();
    return s->value(clave.toLower());
}

bool IniIndice::existe(const QString &seccion) const
{
    return secciones_.contains(seccion.toLower());
}
