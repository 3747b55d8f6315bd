#pragma once

#include "ServiceStore.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QStatusBar;

// 翻译服务设置: the keyed roads' keys, hosts and use, the order of the roads, and the voice,
// saved through a ServiceStore.
class ServiceSettingsDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit ServiceSettingsDialog(ServiceStore store, QWidget *parent = nullptr);

private:
    struct Row
    {
        QString id;
        QCheckBox *used = nullptr;
        QLineEdit *keyId = nullptr; // only for the roads whose key has a public half
        QLineEdit *secret = nullptr;
        QLineEdit *host = nullptr;
        QLabel *checked = nullptr; // what 检查 found
    };

    // A line of the order: a keyed road, or the engine's own road (either engine's).
    struct Place
    {
        QStringList ids;
        QSpinBox *place = nullptr;
        int loadedPlace = 0;
        bool enginesOwn = false;
    };

    void load();
    void save();
    // 检查: each road asked once as entered, in the background; the words of bremo --check.
    void check();
    ServiceSettings entered(QString &badHost) const;

    ServiceStore m_store;
    ServiceSettings m_loaded;
    QList<Row> m_rows;
    QList<Place> m_places;
    QLabel *m_notice = nullptr;
    QCheckBox *m_keysInFile = nullptr;
    QComboBox *m_voice = nullptr;
};

// The dialog over window, or the one already open there brought to the front.
void OpenServiceSettings(QWidget *window, const ServiceStore &store = ServiceStore());

// Ctrl+, in window and a right-click on its status line open the dialog over window.
void AttachServiceSettings(QWidget *window, QStatusBar *statusLine,
                           const ServiceStore &store = ServiceStore());
