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

namespace {

bool Fail(const QString &url, QSaveFile &file, const QString &reason)
{
    GetPostByXmlHttp::WarnFailure(GetPostByXmlHttp::DescribeRequest("GET", url), reason);
    file.cancelWriting();
    return false;
}

} // namespace

bool DownloadInto(const QString &url, QSaveFile &file, const GetPostByXmlHttp::HttpOptions &options)
{
    // Written beside the target and renamed over it only once complete.
    if (!file.open(QIODevice::WriteOnly))
        return Fail(url, file, u"cannot write the file: "_s + file.errorString());
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
        return Fail(url, file, u"write error: "_s + file.errorString());
    return true;
}

bool PutInPlace(const QString &url, QSaveFile &file)
{
    if (!file.commit())
        return Fail(url, file, u"cannot put the file in place: "_s + file.errorString());
    return true;
}

bool DownloadToFile(const QString &url, const QString &filePath,
                    const GetPostByXmlHttp::HttpOptions &options)
{
    QSaveFile file(filePath);
    return DownloadInto(url, file, options) && PutInPlace(url, file);
}
