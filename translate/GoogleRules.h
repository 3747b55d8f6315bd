#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Google Translate: the road a text takes, the request of each road, the result read out of
// each reply, and when a result is spoken. Endpoints are bases without a trailing slash;
// language codes come from the catalogue; target positions are the target list's.
namespace Google {

enum class Road
{
    Short, // GET, answered with a compact reply
    Long   // POST of the web form, answered with the web page
};

// Lengths count UTF-16 code units with line breaks as CR LF.
Road RoadFor(QStringView source);

QString ShortRoadUrl(QStringView endpoint, QStringView source, QStringView sourceCode,
                     QStringView targetCode);
QString LongRoadUrl(QStringView endpoint);
QString LongRoadBody(QStringView source, QStringView sourceCode, QStringView targetCode);

QString ResultOfShortRoad(QStringView reply, int targetPosition);
QString ResultOfLongRoad(QStringView page, int targetPosition);

struct Pronunciation
{
    QStringView result;         // the translation just read
    QStringView previousResult; // the result box before this translation was written
    QStringView source;         // the source box as it is when the reply has come
    int targetPosition;
};

// The speech URL of a short-road result, or none. The first translation after start-up or
// after a failure is never spoken (the result box was empty), nor a failed one (previous
// audio stays), a long source, a Japanese target (the speech service refuses it), or a
// result too long to be spoken.
std::optional<QString> SpeechUrl(QStringView endpoint, const Pronunciation &pronunciation);

} // namespace Google
