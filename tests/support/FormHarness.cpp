#include "FormHarness.h"

#include "BoxText.h"

#include <QLabel>
#include <QPlainTextEdit>

QString FormHarness::status() const
{
    return child<QLabel>("Panel2")->text();
}

QString BoxTextOf(const FormHarness &harness, const char *name)
{
    return BoxText(*harness.child<QPlainTextEdit>(name));
}
