#pragma once
// Property bag of a hosted control: named values, names matched without
// regard to case. Reading a missing name gives the reader's default. A value
// written with a default equal to it is not stored; a value written without a
// default is always stored.

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace platform {

class PropertyBag {
public:
    QVariant readProperty(const QString &name, const QVariant &defaultValue = QVariant()) const;
    void writeProperty(const QString &name, const QVariant &value);
    void writeProperty(const QString &name, const QVariant &value, const QVariant &defaultValue);

    bool contains(const QString &name) const;
    // Names in the order they were first written (as spelled then).
    QStringList names() const;
    int count() const { return static_cast<int>(entries_.size()); }

    // A small text form, one "name=type:value" line per entry, for saving a bag.
    QString save() const;
    static PropertyBag load(const QString &text);

private:
    int indexOf(const QString &name) const;
    QList<QPair<QString, QVariant>> entries_;
};

} // namespace platform
