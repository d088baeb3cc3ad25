#pragma once
// The program-wide language state, the start-up step that reads the language
// file and fills the language menu, the language switch (effective at the next
// start) and the help file that follows the language.
//
// Every caption and message is looked up anew in the language file each time
// it is shown: leertexto(id) is leerini(ficheroidioma, idiomaactual, id) with
// the identifier written as a decimal string, and a missing or unreadable
// language file gives the empty string instead of a failure.

#include "platform/vbtypes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

// Full path of "idioma.lng": the program folder followed by "/idioma.lng".
extern QString ficheroidioma;
// Name of the current language, the section of every text lookup.
extern QString idiomaactual;
// Number of languages (the sections after the first).
extern platform::Integer numidiomas;
// The language names in file order; language i is listaidiomas[i - 1].
extern QStringList listaidiomas;

// Languages the language menu can hold (items 1 to 10: the languages, a
// separator and the language-editor item).
constexpr int maxIdiomas = 8;
constexpr int numItemsMenuIdiomas = maxIdiomas + 2;

// The text of identifier `id` in the current language, or "".
QString leertexto(int id);

// The message that reading or writing a file failed: text 72, or a fixed
// English text when the language file gives none (it cannot be read).
QString textofallofichero();

// The language menu as the language system fills it. Items are numbered 1 to
// numItemsMenuIdiomas; the caption "-" makes an item a separator line.
class MenuIdiomas
{
public:
    virtual ~MenuIdiomas() = default;
    virtual void ponerelemento(int index, const QString &caption, bool checked, bool enabled,
                               bool visible) = 0;
};

// Installs the function that gives the language menu. It is called when the
// menu is first touched while it is being filled, so it may create the window
// that owns the menu. With no function installed the menu is not filled.
void registrarmenuidiomas(std::function<MenuIdiomas *()> fuente);

// Reads the languages, the current language, sets the help file and fills
// the language menu. A missing or unreadable language file is first restored
// from the copy built into the program; when that fails too, the program runs
// with no language and empty captions.
void cargaridiomas();

// Fills the language menu from listaidiomas and idiomaactual: one item per
// language (checked for the current one, which also sets the help file),
// then the separator, then the language-editor item (text 2).
void rellenarmenuidiomas();

// Index of the language-editor item in the language menu.
int itemeditoridiomas();

// Stores `nombre` as the language of the next start, after telling the user.
// True when the choice was stored; a name with no section stores nothing. A
// file that cannot be read or written is left as it was, with message 72.
platform::Integer cambiaridioma(const QString &nombre);

// The help file of help number n: the help file setting for n = 1, else "".
QString ficheroayuda(platform::Integer n);
// Opens the contents page of help file n. Throws platform::VbError when the
// help cannot be shown.
void mostrarcontenido(platform::Integer n);

// The language file as shipped with the program.
QByteArray ficheroidiomaoriginal();
// Writes the shipped language file to ficheroidioma when the file is missing,
// empty or cannot be read. True when the file is readable afterwards.
bool asegurarficheroidioma();
