#pragma once

#include <QString>
#include <QStringView>

namespace GetPostByXmlHttp {

// Percent-encodes the UTF-8 form of text, every byte as "%XX" with upper-case hex digits:
// letters, digits and a space ("%20") included. Empty in, empty out.
QString UrlEncodeUtf8(QStringView text);

// The text between the first startMarker and the first endMarker that begins after it,
// compared code unit by code unit. Empty when either marker is missing.
QString TextBetween(QStringView text, QStringView startMarker, QStringView endMarker);

// A service's own words made fit for one line of a tool tip or of standard error: control and
// format characters (line breaks, bidirectional overrides) become spaces, runs of white space
// one space, and a text longer than maxLength is cut to it, ending in "…".
QString OneLine(QStringView text, qsizetype maxLength = 200);

} // namespace GetPostByXmlHttp
