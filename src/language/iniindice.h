#pragma once
// An INI-style file read once and looked up many times, with the lookup rules
// of leerini and existeseccion: names and keys compared without regard to
// case, the first section of a name and its first entry of a key win, empty
// lines skipped, lines before the first header and lines without "=" never
// read as entries. Meant for readers that take hundreds of thousands of values
// from one file, where a scan of the whole file per value would be too slow.

#include <QAnyStringView>
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

class IniIndice
{
public:
    IniIndice() = default;
    explicit IniIndice(const QByteArray &contenido);
    // Reads the whole file; throws platform::FileError when it cannot.
    static IniIndice leer(const QString &fichero);

    // As leerini(fichero, seccion, clave): the value, or "" when the section
    // or the key is missing.
    QString valor(QAnyStringView seccion, QAnyStringView clave) const;
    // As existeseccion: true when a header of that name exists.
    bool existe(QAnyStringView seccion) const;

private:
    // A name or key of the file: where its bytes lie, and for an entry the
    // section it belongs to and where its value lies. Sections have no
    // section of their own (-1).
    struct Entrada {
        qsizetype nombre = 0;
        qsizetype largo = 0;
        qsizetype valor = 0;
        qsizetype largoValor = 0;
        int seccion = -1;
        quint32 hash = 0;
    };

    // The entry of that section (-1 for the sections themselves) whose name
    // is `minusculas` (lower case, in the file's code page); -1 when none.
    qsizetype buscar(int seccion, QByteArrayView minusculas, quint32 hash) const;
    qsizetype buscar(int seccion, QAnyStringView nombre) const;
    // Adds the entry unless one of its section and name is there already.
    void anadir(const Entrada &e);
    void crecer();

    QByteArray contenido_;
    std::vector<Entrada> entradas_;
    // Open addressing over entradas_: index + 1, 0 for a free slot.
    std::vector<quint32> tabla_;
};
