#include "KeyedRoad.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// Longer refusals are pages, not messages; the tool tip keeps to a line.
constexpr qsizetype MaxMessageLength = 200;

} // namespace

std::optional<QString> CodeIn(QStringView table, QStringView code)
{
    for (const QStringView entry : table.tokenize(u' ', Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals < 0 ? entry == code : entry.left(equals) == code)
            return (equals < 0 ? entry : entry.mid(equals + 1)).toString();
    }
    return std::nullopt;
}

QString OneLine(const QString &words)
{
    const QString line = words.simplified();
    if (line.size() <= MaxMessageLength)
        return line;
    // A cut between the halves of a surrogate pair would leave half a character.
    const qsizetype cut =
        line.at(MaxMessageLength - 1).isHighSurrogate() ? MaxMessageLength - 1 : MaxMessageLength;
    return line.left(cut) + u'…';
}

QByteArray FormBody(const QList<std::pair<QByteArray, QString>> &fields)
{
    QByteArray body;
    for (const auto &[name, value] : fields) {
        if (!body.isEmpty())
            body += '&';
        body += name + '=' + QUrl::toPercentEncoding(value);
    }
    return body;
}
