#pragma once

#include "PropertyBag.h"

class QSettings;

// The stored properties of one control, as the keys of one group of a QSettings store.
class SettingsPropertyBag final : public PropertyBag
{
public:
    // settings must outlive the bag; group names the control within it.
    SettingsPropertyBag(QSettings &settings, QString group);

    QVariant readProperty(const QString &name, const QVariant &defaultValue) const override;
    // A value equal to the default removes the key: a value stored by an earlier save would
    // otherwise survive and be read back instead of the default.
    void writeProperty(const QString &name, const QVariant &value,
                       const QVariant &defaultValue) override;

private:
    QString key(const QString &name) const;

    QSettings &m_settings;
    QString m_group;
};
