#pragma once
// INI-style text files: read one value, write one value, add a section, test
// for a section, list the sections. Every call scans the file from its first
// line; nothing is cached. File failures throw platform::FileError. A change
// replaces the whole file in one step: after a failure the file is as it was.

#include "platform/vbtypes.h"

#include <QString>
#include <QStringList>

QString leerini(const QString &fichero, const QString &seccion, const QString &clave);
void escribirini(const QString &fichero, const QString &seccion, const QString &clave, const QString &valor);
void crearseccion(const QString &fichero, const QString &seccion);
platform::Integer existeseccion(const QString &fichero, const QString &seccion);
// secciones is indexed from 1: element i is secciones[i - 1]. Returns the
// number of headers minus one; the first section is left out of the list.
// A file with more headers than a 16-bit count holds throws FileError.
platform::Integer leersecciones(const QString &fichero, QStringList &secciones);
