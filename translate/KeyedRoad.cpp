#include "KeyedRoad.h"

#include <QUrl>

using namespace Qt::StringLiterals;

std::optional<QString> CodeIn(QStringView table, QStringView code)
{
    for (const QStringView entry : table.tokenize(u' ', Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals < 0 ? entry == code : entry.left(equals) == code)
            return (equals < 0 ? entry : entry.mid(equals + 1)).toString();
    }
    return std::nullopt;
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
