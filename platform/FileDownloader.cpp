#include "FileDownloader.h"

#include "NetLog.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

GetPostByXmlHttp::HttpOptions SaveOptions(std::chrono::milliseconds stallTimeout)
{
    GetPostByXmlHttp::HttpOptions options;
    options.timeout = stallTimeout;
    options.deadline = std::chrono::minutes(2);
    options.maxBodyBytes = 4 * 1024 * 1024;
    return options;
}

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
    // renaming a short or empty file over the old one: a full disk shows only here. A write
    // that the disk cut short leaves the file without a reason; writing the rest again fails
    // at once and gives it.
    if (!file.flush())
        file.flush();
    if (file.error() != QFileDevice::NoError)
        return fail(u"write error: "_s + file.errorString());
    if (!file.commit())
        return fail(u"cannot put the file in place: "_s + file.errorString());
    return true;
}
