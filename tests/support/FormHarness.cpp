#include "FormHarness.h"

#include "BoxText.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

QString FormHarness::status() const
{
    return child<QLabel>("Panel2")->text();
}

QString FormHarness::box(const char *name) const
{
    return BoxText(*child<QPlainTextEdit>(name));
}

void FormHarness::setSource(const QString &text) const
{
    child<QPlainTextEdit>("SourceContent")->setPlainText(text);
}

void FormHarness::translate() const
{
    child<QPushButton>("Command1")->click();
}
