#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Youdao web translation. Endpoints are bases without a trailing slash.
namespace Youdao {

QString RequestUrl(QStringView endpoint);
// The form the web page posts; Youdao detects both languages itself, so it names none.
QString RequestBody(QStringView source);
// The content of the page's output box, line breaks as CR LF, commas dropped; empty when the
// page has no such box.
QString ResultOfPage(QStringView page);
// Every result that is not empty is spoken, unless it is too long to be.
std::optional<QString> SpeechUrl(QStringView voiceEndpoint, QStringView result);

} // namespace Youdao
