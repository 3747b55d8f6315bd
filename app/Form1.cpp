#include "Form1.h"

#include "AboutText.h"
#include "AppIcon.h"
#include "CommonDialog.h"
#include "CtrlReturnClicks.h"
#include "Form1Layout.h"
#include "InstalledFamilies.h"
#include "LayoutTwips.h"
#include "SessionEnd.h"
#include "Skin.h"
#include "Voice.h"
#include "WaitCursor.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QStatusBar>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {

QFont textBoxFont()
{
    // 宋体 is rarely installed outside Windows; the later families keep every Chinese
    // character drawn instead of shown as a box. Only the installed ones are named: for each
    // missing family Qt asks fontconfig for its substitutes, a sort of every installed font
    // for each script in the text, before it looks further down the list.
    static const QStringList families = InstalledFamilies(
        {u"宋体"_s, u"SimSun"_s, u"Noto Sans CJK SC"_s, u"WenQuanYi Micro Hei"_s});
    QFont font;
    font.setFamilies(families);
    font.setPointSize(9);
    return font;
}

QPlainTextEdit *createTextBox(QWidget *container, const ControlLayout &layout)
{
    auto *box = new QPlainTextEdit(container);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setTabChangesFocus(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setFont(textBoxFont());
    box->setToolTip(layout.toolTip.toString());
    return box;
}

QComboBox *createComboBox(QWidget *container)
{
    auto *combo = new QComboBox(container);
    combo->setEditable(false);
    combo->setBackgroundRole(QPalette::Button);
    return combo;
}

QGroupBox *createFrame(QWidget *container, const ControlLayout &layout)
{
    auto *frame = new QGroupBox(layout.caption.toString(), container);
    // Opaque, so that the engine buttons laid out beneath the result frame stay hidden.
    frame->setAutoFillBackground(true);
    return frame;
}

QStatusBar *createStatusBar(QWidget *container)
{
    auto *bar = new QStatusBar(container);
    bar->setSizeGripEnabled(false);
    auto *panel1 = new QLabel(u"运行状态："_s, bar);
    panel1->setObjectName(u"Panel1"_s);
    panel1->setFixedWidth(TwipsToPixels(1440));
    auto *panel2 = new QLabel(u"程序加载完毕..请先输入您要翻译的内容.."_s, bar);
    panel2->setObjectName(u"Panel2"_s);
    panel2->setMinimumWidth(TwipsToPixels(1440));
    bar->addWidget(panel1);
    bar->addWidget(panel2, 1);
    return bar;
}

class DesktopSessionEnd final : public SessionEndRequest
{
public:
    explicit DesktopSessionEnd(QSessionManager &manager)
        : m_manager(manager)
    {}
    bool allowsInteraction() override { return m_manager.allowsInteraction(); }
    void release() override { m_manager.release(); }
    void cancel() override { m_manager.cancel(); }

private:
    QSessionManager &m_manager;
};

QWidget *createControl(QWidget *container, const ControlLayout &layout)
{
    switch (layout.kind) {
    case ControlKind::CommandButton:
        return new QPushButton(layout.caption.toString(), container);
    case ControlKind::Frame:
        return createFrame(container, layout);
    case ControlKind::TextBox:
        return createTextBox(container, layout);
    case ControlKind::ComboBox:
        return createComboBox(container);
    case ControlKind::Label:
        return new QLabel(layout.caption.toString(), container);
    case ControlKind::OptionButton:
        return new QRadioButton(layout.caption.toString(), container);
    case ControlKind::Player:
        return new Voice(container);
    case ControlKind::StatusBar:
        return createStatusBar(container);
    }
    Q_UNREACHABLE();
    return nullptr;
}

} // namespace

Form1::Form1(Form1Environment environment, QWidget *parent)
    : QWidget(parent)
    , m_environment(std::move(environment))
{
    // The skin before the controls exist: each is styled once, as it is first shown, rather
    // than made and then made again for a new style (a combo box would build its popup list).
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        ApplySkinFile(*app, m_environment.programFolder);
    setWindowTitle(WindowCaption.toString());
    resize(TwipsToPixels(WindowClientWidth), TwipsToPixels(WindowClientHeight));
    buildControls();
    connectCommands();
    setWindowIcon(BremoIcon());
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
}

Form1::~Form1() = default;

template<typename T> T *Form1::control(QStringView name) const
{
    auto *found = findChild<T *>(name.toString());
    // The tables name only controls they create: a miss is a fault of the program itself.
    if (!found)
        qFatal("Form1: control %ls missing from the layout table",
               qUtf16Printable(name.toString()));
    return found;
}

void Form1::buildControls()
{
    const auto controls = Form1Controls();
    for (const ControlLayout &layout : controls) {
        QWidget *container = layout.container.isEmpty() ? this : control<QWidget>(layout.container);
        QWidget *widget = createControl(container, layout);
        widget->setObjectName(layout.name.toString());
        widget->setGeometry(TwipsToPixels(layout.left, layout.top, layout.width, layout.height));
    }
    // Rows come top first, and a raised widget goes above its siblings: raise bottom-up.
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        control<QWidget>(it->name)->raise();

    for (const auto &[name, accessibleName] : Form1AccessibleNames()) {
        auto *widget = control<QWidget>(name);
        widget->setAccessibleName(accessibleName.toString());
        // A text box's scroll bar is a control of its own to a screen reader.
        if (auto *box = qobject_cast<QPlainTextEdit *>(widget))
            box->verticalScrollBar()->setAccessibleName(accessibleName + u"滚动条"_s);
    }

    const auto tabOrder = Form1TabOrder();
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(control<QWidget>(tabOrder[i - 1]), control<QWidget>(tabOrder[i]));

    m_command1 = control<QPushButton>(u"Command1");
    m_command2 = control<QPushButton>(u"Command2");
    m_command3 = control<QPushButton>(u"Command3");
    m_command4 = control<QPushButton>(u"Command4");
    m_command5 = control<QPushButton>(u"Command5");
    m_command6 = control<QPushButton>(u"Command6");
    m_sourceContent = control<QPlainTextEdit>(u"SourceContent");
    m_resultContent = control<QPlainTextEdit>(u"ResultContent");
    m_resultContent->setReadOnly(true);
    m_combo1 = control<QComboBox>(u"Combo1");
    m_combo2 = control<QComboBox>(u"Combo2");
    m_option1 = control<QRadioButton>(u"Option1");
    m_option2 = control<QRadioButton>(u"Option2");
    m_label5 = control<QLabel>(u"Label5");
    m_label5->setText(AboutText.toString());
    m_label5->setVisible(false);
    m_statusLine = control<QLabel>(u"Panel2");
    m_voice = control<Voice>(u"Voice");

    // The player's menu is made as it first pops up (Voice_MouseUp); its commands are here.
    m_bc = new QAction(u"保存音频"_s, this);
    m_bc->setObjectName(u"bc"_s);
    m_qc = new QAction(u"清除音频"_s, this);
    m_qc->setObjectName(u"qc"_s);

    m_c1 = std::make_unique<CommonDialog>(*m_environment.platform.saveFileDialog,
                                          u"MP3音频文件 (*.mp3)"_s);
}

void Form1::connectCommands()
{
    connect(m_command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    new CtrlReturnClicks(m_sourceContent, m_command1);
    new WaitCursor(m_command1);
    connect(m_command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(m_command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(m_command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(m_command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(m_command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(m_voice, &Voice::mouseUp, this, &Form1::Voice_MouseUp);
    connect(m_bc, &QAction::triggered, this, &Form1::bc_Click);
    connect(m_qc, &QAction::triggered, this, &Form1::qc_Click);
    // Qt 6 no longer turns the end of a desktop session into close events. The manager is
    // only valid during the signal, so it is answered directly, as Qt's documentation asks.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, &Form1::commitData,
                Qt::DirectConnection);
}

void Form1::commitData(QSessionManager &manager)
{
    DesktopSessionEnd request(manager);
    answerSessionEnd(request);
}

void Form1::translateText(const QString &text)
{
    // Into the box only when it is translated, so that the box never shows a source beside a
    // result that is not its translation. A save waits as a translation does: one started
    // inside its wait would hold the save until it ended, and change the clip being saved.
    if (!m_command1->isEnabled() || m_saving) {
        m_waitingText = text;
        return;
    }
    // Newer than the one that waited for the end of the last translation.
    m_waitingText.reset();
    m_sourceContent->setPlainText(text);
    m_command1->click();
}

void Form1::translateWaitingText()
{
    if (!m_waitingText)
        return;
    // From the event loop, not from inside the translation that just ended; a window closed
    // meanwhile translates nothing more.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const std::optional<QString> text = std::exchange(m_waitingText, std::nullopt);
            if (text && isVisible())
                translateText(*text);
        },
        Qt::QueuedConnection);
}

void Form1::setStatus(const QString &message)
{
    m_statusLine->setText(message);
    // The tool tip tells how the last translation went; any other message replaces that.
    m_statusLine->setToolTip(QString());
}

GetPostByXmlHttp::HttpOptions Form1::httpOptions()
{
    GetPostByXmlHttp::HttpOptions options;
    options.timeout = m_environment.requestTimeout;
    options.context = this;
    return options;
}
