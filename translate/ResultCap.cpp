#include "ResultCap.h"

#include "NetLog.h"

QString CappedResult(QString result, QStringView road)
{
    if (result.size() <= MaxResultLength)
        return result;
    qCWarning(lcNet, "%ls: result over the cap of %lld characters",
              qUtf16Printable(road.toString()), static_cast<long long>(MaxResultLength));
    return {};
}
