#include "language/iniindice.h"

#include "platform/textfile.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>

namespace
{

// The lower case of each byte of the file's code page, as a byte of it: every
// upper-case letter of the code page has its lower case in it, so names
// compared byte by byte through this table compare as their decoded lower
// case texts do.
const std::array<unsigned char, 256> minuscula = [] {
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const QByteArray bajo = platform::toAnsi(platform::fromAnsi(QByteArrayView(&c, 1)).toLower());
        t[static_cast<std::size_t>(b)] = static_cast<unsigned char>(bajo.size() == 1 ? bajo[0] : c);
    }
    return t;
}();

unsigned char bajar(char c)
{
    return minuscula[static_cast<unsigned char>(c)];
}

// FNV-1a over the lower-case bytes, started from the section.
quint32 empezar(int seccion)
{
    return 2166136261u ^ static_cast<quint32>(seccion);
}

quint32 mezclar(quint32 h, unsigned char b)
{
    return (h ^ b) * 16777619u;
}

// The bytes are mixed into the low bits only; the table is addressed by the
// low bits, so they are stirred with the high ones at the end.
quint32 acabar(quint32 h)
{
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h;
}

// A name asked for, in lower case and in the file's code page. False when it
// holds a character the code page lacks: no name of the file matches it.
bool nombreBuscado(QAnyStringView nombre, QVarLengthArray<char, 64> &bytes)
{
    // A name of plain ASCII is lowered at once; any other through QString.
    bytes.resize(nombre.size());
    const bool ascii = nombre.visit([&](auto v) {
        for (qsizetype i = 0; i < v.size(); ++i) {
            unsigned c = 0;
            if constexpr (std::is_same_v<decltype(v), QStringView>)
                c = v[i].unicode();
            else
                c = static_cast<unsigned char>(v.data()[i]);
            if (c >= 0x80)
                return false;
            bytes[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        }
        return true;
    });
    if (ascii)
        return true;
    const QString bajo = nombre.toString().toLower();
    const QByteArray ansi = platform::toAnsi(bajo);
    bytes.resize(ansi.size());
    std::memcpy(bytes.data(), ansi.constData(), static_cast<std::size_t>(ansi.size()));
    return platform::fromAnsi(ansi) == bajo;
}

} // namespace

IniIndice::IniIndice(const QByteArray &contenido) : contenido_(contenido)
{
    const char *data = contenido_.constData();
    const qsizetype n = contenido_.size();
    // First the lines, in the order of the file.
    qsizetype pos = 0;
    // The header of the section being read; none yet.
    int actual = -1;
    std::vector<std::size_t> cabeceras;
    entradas_.reserve(static_cast<std::size_t>(std::count(data, data + n, '\r')) + 1);
    while (pos < n) {
        // One line: up to the next CR; an LF right after it belongs to the line end.
        const void *cr = std::memchr(data + pos, '\r', static_cast<std::size_t>(n - pos));
        const qsizetype inicio = pos;
        const qsizetype fin = cr ? static_cast<const char *>(cr) - data : n;
        pos = fin;
        if (pos < n) {
            ++pos;
            if (pos < n && data[pos] == '\n')
                ++pos;
        }
        if (fin == inicio)
            continue;

        Entrada e;
        if (data[inicio] == '[') {
            // The name is the line without its first and its last character;
            // "[" alone is taken as the empty name.
            e.nombre = fin - inicio < 2 ? inicio : inicio + 1;
            e.largo = fin - inicio < 2 ? 0 : fin - inicio - 2;
            e.seccion = seccionCabecera;
            actual = static_cast<int>(entradas_.size());
            cabeceras.push_back(entradas_.size());
        } else {
            if (actual < 0)
                continue; // before the first header
            const void *igual = std::memchr(data + inicio, '=', static_cast<std::size_t>(fin - inicio));
            if (!igual)
                continue;
            e.nombre = inicio;
            e.largo = static_cast<const char *>(igual) - data - inicio;
            e.largoValor = fin - inicio - e.largo - 1;
            e.seccion = actual;
        }
        quint32 h = empezar(e.seccion);
        for (qsizetype i = 0; i < e.largo; ++i)
            h = mezclar(h, bajar(data[e.nombre + i]));
        e.hash = acabar(h);
        entradas_.push_back(e);
    }

    // Then the table, sized once for at most three quarters full. The
    // headers go in first: the entries of a header that repeats an earlier
    // name are never found.
    std::size_t tamano = 64;
    while (tamano * 3 < entradas_.size() * 4)
        tamano *= 2;
    tabla_.assign(tamano, 0);
    for (std::size_t i : cabeceras)
        anadir(i);
    const std::size_t mascara = tamano - 1;
    constexpr std::size_t adelanto = 16;
    for (std::size_t i = 0; i < entradas_.size(); ++i) {
        // The slots a little ahead are fetched while this one is placed.
        if (i + adelanto < entradas_.size())
            __builtin_prefetch(&tabla_[entradas_[i + adelanto].hash & mascara]);
        Entrada &e = entradas_[i];
        if (e.seccion < 0)
            continue; // a header, in already
        if (entradas_[static_cast<std::size_t>(e.seccion)].seccion == cabeceraRepetida)
            e.seccion = entradaRepetida;
        else
            anadir(i);
    }
}

IniIndice IniIndice::leer(const QString &fichero)
{
    return IniIndice(platform::readAll(fichero));
}

bool IniIndice::mismoNombre(const Entrada &e, int seccion, QByteArrayView minusculas) const
{
    if (e.seccion != seccion || e.largo != minusculas.size())
        return false;
    const char *data = contenido_.constData() + e.nombre;
    for (qsizetype i = 0; i < e.largo; ++i)
        if (bajar(data[i]) != static_cast<unsigned char>(minusculas[i]))
            return false;
    return true;
}

void IniIndice::anadir(std::size_t i)
{
    Entrada &e = entradas_[i];
    const std::size_t mascara = tabla_.size() - 1;
    const char *data = contenido_.constData();
    std::size_t s = e.hash & mascara;
    for (; tabla_[s] != 0; s = (s + 1) & mascara) {
        if (static_cast<quint32>(tabla_[s] >> 32) != e.hash)
            continue;
        const Entrada &o = entradas_[static_cast<std::size_t>(tabla_[s] & 0xFFFFFFFFu) - 1];
        if (o.seccion != e.seccion || o.largo != e.largo)
            continue;
        qsizetype k = 0;
        while (k < e.largo && bajar(data[o.nombre + k]) == bajar(data[e.nombre + k]))
            ++k;
        if (k == e.largo) {
            // The first of a name wins.
            e.seccion = e.seccion == seccionCabecera ? cabeceraRepetida : entradaRepetida;
            return;
        }
    }
    tabla_[s] = (quint64(e.hash) << 32) | quint64(i + 1);
}

qsizetype IniIndice::buscar(int seccion, QByteArrayView minusculas, quint32 hash) const
{
    // Most lookups ask for the line after the last one found.
    if (siguiente_ < entradas_.size() && entradas_[siguiente_].hash == hash &&
        mismoNombre(entradas_[siguiente_], seccion, minusculas))
        return static_cast<qsizetype>(siguiente_++);
    if (tabla_.empty())
        return -1;
    const std::size_t mascara = tabla_.size() - 1;
    for (std::size_t s = hash & mascara; tabla_[s] != 0; s = (s + 1) & mascara) {
        if (static_cast<quint32>(tabla_[s] >> 32) != hash)
            continue;
        const std::size_t k = static_cast<std::size_t>(tabla_[s] & 0xFFFFFFFFu) - 1;
        if (mismoNombre(entradas_[k], seccion, minusculas)) {
            siguiente_ = k + 1;
            return static_cast<qsizetype>(k);
        }
    }
    return -1;
}

qsizetype IniIndice::buscar(int seccion, QAnyStringView nombre) const
{
    QVarLengthArray<char, 64> bytes;
    if (!nombreBuscado(nombre, bytes))
        return -1;
    // The readers ask for one section many times over.
    if (seccion == seccionCabecera && ultimaSeccion_ >= 0 &&
        mismoNombre(entradas_[static_cast<std::size_t>(ultimaSeccion_)], seccion,
                    QByteArrayView(bytes.constData(), bytes.size())))
        return ultimaSeccion_;
    const QByteArrayView v(bytes.constData(), bytes.size());
    quint32 h = empezar(seccion);
    for (char c : v)
        h = mezclar(h, static_cast<unsigned char>(c));
    return buscar(seccion, v, acabar(h));
}

QString IniIndice::valor(QAnyStringView seccion, QAnyStringView clave) const
{
    // The section is looked up without moving the place of the next entry.
    const std::size_t donde = siguiente_;
    const qsizetype s = buscar(seccionCabecera, seccion);
    siguiente_ = donde;
    if (s < 0)
        return QString();
    ultimaSeccion_ = s;
    const qsizetype k = buscar(static_cast<int>(s), clave);
    if (k < 0)
        return QString();
    const Entrada &e = entradas_[static_cast<std::size_t>(k)];
    return platform::fromAnsi(QByteArrayView(contenido_).sliced(e.nombre + e.largo + 1, e.largoValor));
}

bool IniIndice::existe(QAnyStringView seccion) const
{
    const std::size_t donde = siguiente_;
    const bool hay = buscar(seccionCabecera, seccion) >= 0;
    siguiente_ = donde;
    return hay;
}
