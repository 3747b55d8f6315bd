#include "FileDownloader.h"

#include "MpegAudio.h"
#include "NetLog.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>

#include <sys/stat.h>

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

// source: the address fetched, or the name of a clip that was in hand.
bool Fail(const QString &source, QSaveFile &file, const QString &reason)
{
    GetPostByXmlHttp::WarnFailure(
        source.contains(u"://"_s) ? GetPostByXmlHttp::DescribeRequest("GET", source) : source,
        reason);
    file.cancelWriting();
    return false;
}

// QSaveFile renames its file over whatever the path names, a device, a FIFO or a folder
// included: only a regular file, or nothing, may be replaced. A symbolic link counts as its
// target, which QSaveFile writes through to.
QString WhyNotReplaceable(const QString &path)
{
    struct stat status = {};
    if (stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return {}; // nothing there, or what opening the file will say
    const mode_t type = status.st_mode & S_IFMT;
    const QString kind = type == S_IFDIR                      ? u"a folder"_s
                         : type == S_IFCHR || type == S_IFBLK ? u"a device"_s
                         : type == S_IFIFO                    ? u"a FIFO"_s
                         : type == S_IFSOCK                   ? u"a socket"_s
                                                              : u"something else"_s;
    return u"not a regular file but "_s + kind;
}

// Writes bytes whole; a write that the disk cut short leaves the file without a reason, and
// writing the rest again fails at once and gives it. QSaveFile buffers writes, and Qt 6.4's
// commit() returns true after a flush that failed, renaming a short or empty file over the old
// one: a full disk may show only at the flush.
bool WriteWhole(QSaveFile &file, const QByteArray &bytes)
{
    const qint64 written = file.write(bytes);
    if (written >= 0 && written < bytes.size())
        file.write(bytes.sliced(written));
    if (!file.flush())
        file.flush();
    return written == bytes.size() && file.error() == QFileDevice::NoError;
}

// The clip through the gate into file, which is open.
bool Store(const QByteArray &clip, const QString &url, QSaveFile &file)
{
    if (const QString why = WhyNotMpegAudio(clip); !why.isEmpty())
        return Fail(url, file, why);
    if (!WriteWhole(file, clip))
        return Fail(url, file, u"write error: "_s + file.errorString());
    // Something else may have taken the path during the download; the caller learns it before
    // it tells anyone the file is saved.
    if (const QString why = WhyNotReplaceable(file.fileName()); !why.isEmpty())
        return Fail(url, file, u"cannot put the file in place: "_s + why);
    return true;
}

} // namespace

bool DownloadInto(const QString &url, QSaveFile &file, const GetPostByXmlHttp::HttpOptions &options)
{
    if (const QString why = WhyNotReplaceable(file.fileName()); !why.isEmpty())
        return Fail(url, file, u"cannot write the file: "_s + why);
    // Written beside the target and renamed over it only once complete.
    if (!file.open(QIODevice::WriteOnly))
        return Fail(url, file, u"cannot write the file: "_s + file.errorString());
    // Held whole (the cap is a few MiB) until the gate has seen what came.
    QBuffer clip;
    clip.open(QIODevice::WriteOnly);
    GetPostByXmlHttp::HttpOptions blocking = options;
    blocking.waitFlags = QEventLoop::ExcludeUserInputEvents;
    if (!GetPostByXmlHttp::HttpGetInto(url, clip, blocking)) {
        file.cancelWriting();
        return false;
    }
    return Store(clip.data(), url, file);
}

bool SaveClipInto(const QByteArray &clip, const QString &what, QSaveFile &file)
{
    if (const QString why = WhyNotReplaceable(file.fileName()); !why.isEmpty())
        return Fail(what, file, u"cannot write the file: "_s + why);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(what, file, u"cannot write the file: "_s + file.errorString());
    return Store(clip, what, file);
}

bool SaveClipToFile(const QByteArray &clip, const QString &what, const QString &filePath)
{
    QSaveFile file(filePath);
    return SaveClipInto(clip, what, file) && PutInPlace(what, file);
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
