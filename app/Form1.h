#pragma once

#include "Form1Environment.h"
#include "HttpText.h"
#include "Roads.h"

#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRect;
class QRadioButton;
class QStatusBar;
class CommonDialog;
class QSessionManager;
class SessionEndRequest;
class Voice;

// The one window of the program. Controls carry their design names as object names.
class Form1 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(Form1Environment environment = Form1Environment::standard(),
                   QWidget *parent = nullptr);
    ~Form1() override;

    // The closing message: Yes opens the forum page and lets the window go.
    bool confirmClosing();
    // A log-out or shut-down asks as closing does; No keeps the session and the window.
    void answerSessionEnd(SessionEndRequest &request);
    // Text from outside the window goes into the source box and is translated as a click on
    // 翻译 translates it. While a translation or a save runs, the newest such text waits
    // outside the box and is translated when that one ends.
    void translateText(const QString &text);
    // The text in area of the screen (an empty area: the one the user drags on the frozen
    // screens), recognised off the GUI thread in the models of the source language, then
    // translated as translateText does; when there is none, the status line says why and the
    // boxes stay as they were.
    void translateScreenArea(const QRect &area);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void connectCommands();
    void Form_Load();
    void setStatus(const QString &message);
    void commitData(QSessionManager &manager);
    void translateWaitingText();
    GetPostByXmlHttp::HttpOptions httpOptions();

    // 翻译: the source box translated by the chosen engine's roads into the result box.
    void Command1_Click();
    RoadsSetup roadsSetup();

    void Voice_MouseUp();
    void bc_Click();
    void qc_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();

    template<typename T> T *control(QStringView name) const;

    Form1Environment m_environment;

    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
    QPushButton *m_command3 = nullptr;
    QPushButton *m_command4 = nullptr;
    QPushButton *m_command5 = nullptr;
    QPushButton *m_command6 = nullptr;
    QPlainTextEdit *m_sourceContent = nullptr;
    QPlainTextEdit *m_resultContent = nullptr;
    QComboBox *m_combo1 = nullptr;
    QComboBox *m_combo2 = nullptr;
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
    QLabel *m_label5 = nullptr;
    QLabel *m_statusLine = nullptr;
    Voice *m_voice = nullptr;
    QMenu *m_caidan = nullptr;
    QAction *m_bc = nullptr;
    QAction *m_qc = nullptr;
    std::unique_ptr<CommonDialog> m_c1;
    bool m_closeConfirmed = false;
    // A session manager asked without leave to interact: the session ends if its "die" follows.
    bool m_sessionMayEnd = false;
    std::optional<QString> m_waitingText;
    bool m_saving = false; // 保存音频, from its dialog to the end of the download
    QStringList m_modelsSaidMissing; // each said once
};
