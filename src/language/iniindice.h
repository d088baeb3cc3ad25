#pragma once
// An INI-style file read once and looked up many times, with the lookup rules
// of leerini and existeseccion: names and keys compared without regard to
// case, the first section of a name and its first entry of a key win, empty
// lines skipped, lines before the first header and lines without "=" never
// read as entries. Meant for readers that take hundreds of thousands of values
// from one file, where a scan of the whole file per value would be too slow.
// Lookups remember where the last one ended, so reading the entries in the
// order of the file is fastest; an index is used by one thread at a time.

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
    // A header or an entry line of the file: where its name (or key) lies,
    // the section an entry belongs to (the index of its header here),
    // seccionCabecera for a header; a line whose name came before in the
    // same place, or whose header did, is marked repeated and never found.
    struct Entrada {
        qsizetype nombre = 0;
        qsizetype largo = 0;
        qsizetype largoValor = 0; // the value follows the "=" after the key
        int seccion = 0;
        quint32 hash = 0;
    };
    static constexpr int seccionCabecera = -1;
    static constexpr int entradaRepetida = -2;
    static constexpr int cabeceraRepetida = -3;

    bool mismoNombre(const Entrada &e, int seccion, QByteArrayView minusculas) const;
    // The line of that section (seccionCabecera for the headers) whose name
    // is `minusculas` (lower case, in the file's code page); -1 when none.
    qsizetype buscar(int seccion, QByteArrayView minusculas, quint32 hash) const;
    qsizetype buscar(int seccion, QAnyStringView nombre) const;
    // Puts line i in the table, or marks it repeated when its section holds
    // its name already.
    void anadir(std::size_t i);

    QByteArray contenido_;
    std::vector<Entrada> entradas_;
    // Open addressing over entradas_: the hash in the high half, index + 1
    // in the low half, 0 for a free slot.
    std::vector<quint64> tabla_;
    // The line after the last one found: the next lookup tries it first.
    mutable std::size_t siguiente_ = 0;
    // The header of the section of the last value found, or -1.
    mutable qsizetype ultimaSeccion_ = -1;
};
