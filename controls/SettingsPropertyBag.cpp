#include "SettingsPropertyBag.h"

#include <QSettings>

SettingsPropertyBag::SettingsPropertyBag(QSettings &settings, QString group)
    : m_settings(settings)
    , m_group(std::move(group))
{}

QVariant SettingsPropertyBag::readProperty(const QString &name, const QVariant &defaultValue) const
{
    return m_settings.value(key(name), defaultValue);
}

void SettingsPropertyBag::writeProperty(const QString &name, const QVariant &value,
                                        const QVariant &defaultValue)
{
    if (value == defaultValue)
        m_settings.remove(key(name));
    else
        m_settings.setValue(key(name), value);
}

QString SettingsPropertyBag::key(const QString &name) const
{
    return m_group + u'/' + name;
}
