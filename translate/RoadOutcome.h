#pragma once

#include <QList>
#include <QString>

// The roads a translation can take, and why one gave none. The words are the ones the user
// reads (the status line's tool tip, script mode's standard error, bremo --check): fixed
// texts chosen by kind, never the service's page or the user's text.
enum class Road
{
    GoogleShort,    // the web page's compact road (GET)
    GoogleLong,     // the web page's form (POST)
    Youdao,         // Youdao's web page
    GoogleApi,      // Google's JSON road, second for both engines
    LibreTranslate, // the user's own server
    Apertium,       // the offline engine
    DeepL,          // the official APIs, with the user's own key
    GoogleCloud,
    Baidu,
    YoudaoApi
};

enum class Failure
{
    None,
    HttpStatus,    // the service answered with a status of 400 or more
    Redirected,    // the service sent the request to another page
    NoTranslation, // the service answered, without a translation in it
    Refused,
    HostNotFound,
    TimedOut,
    Broken,        // the exchange broke off (reset, cut short, over the cap)
    NotInstalled,  // no Apertium mode joins the two languages, or no apertium program
    EngineFailed,  // apertium ended with an error
    TooLong,       // the result is over the cap of what the result box holds
    Unsupported,   // the service's list lacks a language: nothing was sent
    ServiceRefused // an official API answered with an error code of its own
};

struct RoadAttempt
{
    Road road = Road::GoogleShort;
    Failure failure = Failure::None;
    int code = 0; // the HTTP status, or apertium's exit code
    QString host; // the host asked, or the program run
    // The service's own words for a refusal, on one line (LibreTranslate's "error", an
    // official API's code and message); empty: none.
    QString detail;
    qint64 milliseconds = 0;
};

// A failure with an answer from the service: it is there, but this road is closed to us.
bool IsAnswered(Failure failure);

// "Google 短文本接口", ...
QString RoadName(Road road);
// "google", "google-long", ...: the road's name on the command line.
QString RoadId(Road road);
// "成功", "HTTP 429（请求过于频繁）", "连接被拒绝", ..., followed by the service's own words
// when it gave some: HTTP 403（拒绝访问）“Invalid API key”.
QString OutcomeWords(const RoadAttempt &attempt);
// One line per road tried, in order, as "road：outcome".
QString RoadsReport(const QList<RoadAttempt> &attempts);
