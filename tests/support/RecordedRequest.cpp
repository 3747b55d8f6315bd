#include "RecordedRequest.h"

#include <algorithm>

namespace TestSupport {

namespace {

auto findHeader(const HeaderList &headers, QByteArrayView name)
{
    return std::find_if(headers.cbegin(), headers.cend(), [name](const auto &header) {
        return header.first.compare(name, Qt::CaseInsensitive) == 0;
    });
}

} // namespace

QByteArray RecordedRequest::path() const
{
    const qsizetype query = target.indexOf('?');
    return query < 0 ? target : target.left(query);
}

QByteArray RecordedRequest::header(QByteArrayView name) const
{
    const auto found = findHeader(headers, name);
    return found == headers.cend() ? QByteArray() : found->second;
}

bool RecordedRequest::hasHeader(QByteArrayView name) const
{
    return findHeader(headers, name) != headers.cend();
}

QByteArrayList RecordedRequest::headerNames() const
{
    QByteArrayList names;
    for (const auto &header : headers)
        names.append(header.first);
    return names;
}

} // namespace TestSupport
