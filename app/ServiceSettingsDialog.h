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

// 翻译服务设置: the keyed roads' keys, hosts, use and order, and the voice, saved through a
// ServiceStore.
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
        QSpinBox *place = nullptr;
        QLabel *checked = nullptr; // what 检查 found
        int loadedPlace = 0;
    };

    void load();
    void save();
    // 检查: each road asked once as entered, in the background; the words of bremo --check.
    void check();
    ServiceSettings entered(QString &badHost) const;

    ServiceStore m_store;
    ServiceSettings m_loaded;
    QList<Row> m_rows;
    QLabel *m_notice = nullptr;
    QCheckBox *m_keysInFile = nullptr;
    QComboBox *m_voice = nullptr;
};

// The dialog over window, or the one already open there brought to the front.
void OpenServiceSettings(QWidget *window, const ServiceStore &store = ServiceStore());

// Ctrl+, in window and a right-click on its status line open the dialog over window.
void AttachServiceSettings(QWidget *window, QStatusBar *statusLine,
                           const ServiceStore &store = ServiceStore());
