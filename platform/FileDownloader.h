#pragma once

#include <QString>

#include <chrono>

class QWidget;

// Downloads a URL into a file and returns only when done. The target is replaced only by a
// complete download: a failure leaves an existing file as it was and no partial file behind.
class FileDownloader
{
public:
    virtual ~FileDownloader() = default;
    virtual bool download(const QString &url, const QString &filePath) = 0;
};

// Keeps the window painting but lets no user input reach it while the download runs.
class QtFileDownloader final : public FileDownloader
{
public:
    explicit QtFileDownloader(std::chrono::milliseconds stallTimeout = std::chrono::seconds(30));
    bool download(const QString &url, const QString &filePath) override;

private:
    std::chrono::milliseconds m_stallTimeout;
};
