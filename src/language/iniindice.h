#pragma once
// An INI-style file read once and looked up many times, with the lookup rules
// of leerini and existeseccion: names and keys compared without regard to
// case, the first section of a name and its first entry of a key win, empty
// lines skipped, lines before the first header and lines without "=" never
// read as entries. Meant for readers that take hundreds of values from one
// file, where a scan of the whole file per value would be too slow.

#include <QByteArray>
#include <QHash>
#include <QString>

class IniIndice
{
public:
    IniIndice() = default;
    explicit IniIndice(const QByteArray &contenido);
    // Reads the whole file; throws platform::FileError when it cannot.
    static IniIndice leer(const QString &fichero);

    // As leerini(fichero, seccion, clave): the value, or "" when the section
    // or the key is missing.
    QString valor(const QString &seccion, const QString &clave) const;
    // As existeseccion: true when a header of that name exists.
    bool existe(const QString &seccion) const;

private:
    // Entries of the first section of each name, by lower-case key.
    QHash<QString, QHash<QString, QString>> secciones_;
};
