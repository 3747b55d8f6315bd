// A host window for XPButton: a few buttons at the designed size and at others, their
// captions kept in the settings store, and a line on standard output for every Click.

#include "SettingsPropertyBag.h"
#include "XPButton.h"

#include <QApplication>
#include <QSettings>
#include <QTextStream>
#include <QTime>

using namespace Qt::StringLiterals;

namespace {

struct Placement
{
    QString name;
    // The caption the host gives a button that has no stored properties yet.
    QString caption;
    QRect geometry;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QSettings settings(u"Bremo"_s, u"xpbutton-demo"_s);
    QTextStream out(stdout);

    QWidget window;
    window.setWindowTitle(u"XPButton"_s);
    window.setFixedSize(360, 190);

    const Placement placements[] = {
        {u"XPButton1"_s, u"确定"_s, {15, 15, 102, 47}},
        {u"XPButton2"_s, u"取消"_s, {132, 15, 102, 47}},
        {u"XPButton3"_s, QString(), {249, 15, 18, 21}},
        {u"XPButton4"_s, u"Not clicked yet"_s, {15, 80, 250, 30}},
        {u"XPButton5"_s, u"Tall"_s, {282, 80, 60, 90}},
    };
    const QStringList stored = settings.childGroups();
    for (const Placement &placement : placements) {
        auto *button = new XPButton(&window);
        button->setObjectName(placement.name);
        button->setGeometry(placement.geometry);
        QObject::connect(button, &XPButton::PropertyChanged, button, [&settings, button] {
            SettingsPropertyBag bag(settings, button->objectName());
            button->UserControl_WriteProperties(bag);
        });
        QObject::connect(button, &XPButton::Click, button,
                         [&out, button] { out << button->objectName() << " Click" << Qt::endl; });

        SettingsPropertyBag bag(settings, placement.name);
        if (stored.contains(placement.name)) {
            if (!button->UserControl_ReadProperties(bag))
                out << placement.name << " has a stored caption that is not text" << Qt::endl;
        } else {
            button->UserControl_InitProperties();
            button->setCaption(placement.caption);
        }
    }
    // One button shows the time of its last click; the store keeps it for the next run.
    auto *clock = window.findChild<XPButton *>(u"XPButton4"_s);
    QObject::connect(clock, &XPButton::Click, clock, [clock] {
        clock->setCaption(u"Clicked at "_s + QTime::currentTime().toString(u"HH:mm:ss"_s));
    });

    window.show();
    return app.exec();
}
