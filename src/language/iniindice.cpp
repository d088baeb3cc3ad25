#include "language/iniindice.h"

#include "platform/textfile.h"

#include <QByteArrayView>
#include <QVarLengthArray>

#include <array>
#include <cstring>
#include <type_traits>

namespace
{

// The lower case of each byte of the file's code page, as a byte of it: every
// upper-case letter of the code page has its lower case in it, so names
// compared byte by byte through this table compare as their decoded lower
// case texts do.
const std::array<unsigned char, 256> &minuscula()
{
    static const std::array<unsigned char, 256> tabla = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            const QByteArray bajo = platform::toAnsi(platform::fromAnsi(QByteArrayView(&c, 1)).toLower());
            t[static_cast<std::size_t>(b)] = static_cast<unsigned char>(bajo.size() == 1 ? bajo[0] : c);
        }
        return t;
    }();
    return tabla;
}

quint32 mezclar(quint32 h, unsigned char b)
{
    return (h ^ b) * 16777619u;
}

quint32 hashDe(int seccion, QByteArrayView minusculas)
{
    quint32 h = 2166136261u ^ static_cast<quint32>(seccion);
    for (char c : minusculas)
        h = mezclar(h, static_cast<unsigned char>(c));
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
    const auto &m = minuscula();
    qsizetype pos = 0;
    // The section being read; -1 while the lines belong to no section or to a
    // later section of a name already seen.
    int actual = -1;
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
            e.seccion = -1;
        } else {
            if (actual < 0)
                continue;
            const void *igual = std::memchr(data + inicio, '=', static_cast<std::size_t>(fin - inicio));
            if (!igual)
                continue;
            e.nombre = inicio;
            e.largo = static_cast<const char *>(igual) - data - inicio;
            e.valor = inicio + e.largo + 1;
            e.largoValor = fin - e.valor;
            e.seccion = actual;
        }
        quint32 h = 2166136261u ^ static_cast<quint32>(e.seccion);
        for (qsizetype i = 0; i < e.largo; ++i)
            h = mezclar(h, m[static_cast<unsigned char>(data[e.nombre + i])]);
        e.hash = h;
        const qsizetype antes = static_cast<qsizetype>(entradas_.size());
        anadir(e);
        if (e.seccion == -1)
            actual = static_cast<qsizetype>(entradas_.size()) > antes ? static_cast<int>(antes) : -1;
    }
}

IniIndice IniIndice::leer(const QString &fichero)
{
    return IniIndice(platform::readAll(fichero));
}

void IniIndice::crecer()
{
    const std::size_t tamano = tabla_.empty() ? 64 : tabla_.size() * 2;
    tabla_.assign(tamano, 0);
    const std::size_t mascara = tamano - 1;
    for (std::size_t i = 0; i < entradas_.size(); ++i) {
        std::size_t s = entradas_[i].hash & mascara;
        while (tabla_[s] != 0)
            s = (s + 1) & mascara;
        tabla_[s] = static_cast<quint32>(i + 1);
    }
}

void IniIndice::anadir(const Entrada &e)
{
    if ((entradas_.size() + 1) * 2 > tabla_.size())
        crecer();
    const auto &m = minuscula();
    const char *data = contenido_.constData();
    const std::size_t mascara = tabla_.size() - 1;
    std::size_t s = e.hash & mascara;
    for (; tabla_[s] != 0; s = (s + 1) & mascara) {
        const Entrada &o = entradas_[tabla_[s] - 1];
        if (o.hash != e.hash || o.seccion != e.seccion || o.largo != e.largo)
            continue;
        qsizetype i = 0;
        while (i < e.largo && m[static_cast<unsigned char>(data[o.nombre + i])] ==
                                  m[static_cast<unsigned char>(data[e.nombre + i])])
            ++i;
        if (i == e.largo)
            return; // the first of a name wins
    }
    entradas_.push_back(e);
    tabla_[s] = static_cast<quint32>(entradas_.size());
}

qsizetype IniIndice::buscar(int seccion, QByteArrayView minusculas, quint32 hash) const
{
    if (tabla_.empty())
        return -1;
    const auto &m = minuscula();
    const char *data = contenido_.constData();
    const std::size_t mascara = tabla_.size() - 1;
    for (std::size_t s = hash & mascara; tabla_[s] != 0; s = (s + 1) & mascara) {
        const std::size_t k = tabla_[s] - 1;
        const Entrada &o = entradas_[k];
        if (o.hash != hash || o.seccion != seccion || o.largo != minusculas.size())
            continue;
        qsizetype i = 0;
        while (i < o.largo && m[static_cast<unsigned char>(data[o.nombre + i])] ==
                                  static_cast<unsigned char>(minusculas[i]))
            ++i;
        if (i == o.largo)
            return static_cast<qsizetype>(k);
    }
    return -1;
}

qsizetype IniIndice::buscar(int seccion, QAnyStringView nombre) const
{
    QVarLengthArray<char, 64> bytes;
    if (!nombreBuscado(nombre, bytes))
        return -1;
    const QByteArrayView v(bytes.constData(), bytes.size());
    return buscar(seccion, v, hashDe(seccion, v));
}

QString IniIndice::valor(QAnyStringView seccion, QAnyStringView clave) const
{
    const qsizetype s = buscar(-1, seccion);
    if (s < 0)
        return QString();
    const qsizetype k = buscar(static_cast<int>(s), clave);
    if (k < 0)
        return QString();
    const Entrada &e = entradas_[static_cast<std::size_t>(k)];
    return platform::fromAnsi(QByteArrayView(contenido_).sliced(e.valor, e.largoValor));
}

bool IniIndice::existe(QAnyStringView seccion) const
{
    return buscar(-1, seccion) >= 0;
}
