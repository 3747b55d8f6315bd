#pragma once

#include <QString>
#include <QVariant>

// The host's store of a control's properties, kept between runs. A control reads its
// properties when the host restores it and writes them when the host saves; a control
// tells its host that a property changed through its own signal, so that the host knows
// its store is out of date.
class PropertyBag
{
public:
    virtual ~PropertyBag() = default;

    // The stored value of name, or defaultValue when nothing is stored under it.
    virtual QVariant readProperty(const QString &name, const QVariant &defaultValue) const = 0;
    // Stores value under name. A value equal to defaultValue is not stored, so that a later
    // read gives the default back.
    virtual void writeProperty(const QString &name, const QVariant &value,
                               const QVariant &defaultValue) = 0;
};
