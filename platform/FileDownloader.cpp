#include "FileDownloader.h"

#include "NetLog.h"

#include <QSaveFile>

#include <cerrno>

using namespace Qt::StringLiterals;

bool DownloadToFile(const QString &url, const QString &filePath,
                    const GetPostByXmlHttp::HttpOptions &options)
{
    // Written beside the target and renamed over it only once complete.
    QSaveFile file(filePath);
    const auto fail = [&](const QString &reason) {
        GetPostByXmlHttp::WarnFailure(GetPostByXmlHttp::DescribeRequest("GET", url), reason);
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(u"cannot write the file: "_s + file.errorString());
    GetPostByXmlHttp::HttpOptions blocking = options;
    blocking.waitFlags = QEventLoop::ExcludeUserInputEvents;
    if (!GetPostByXmlHttp::HttpGetInto(url, file, blocking)) {
        file.cancelWriting();
        return false;
    }
    // QSaveFile buffers writes, and Qt 6.4's commit() returns true after a flush that failed,
    // renaming a short or empty file over the old one: a full disk shows only here.
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return fail(u"write error: "_s + qt_error_string(errno));
    if (!file.commit())
        return fail(u"cannot put the file in place: "_s + file.errorString());
    return true;
}
