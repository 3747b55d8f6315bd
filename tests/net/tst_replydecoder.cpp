#include "Compression.h"
#include "ReplyDecoder.h"

#include <QTest>

using namespace GetPostByXmlHttp;
using namespace TestSupport;
using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype noCap = 1 << 30;

const QByteArray page = QByteArray("<html>中文 translation</html>\r\n").repeated(50);

} // namespace

class TestReplyDecoder final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodes_data();
    void decodes();
    void capsTheBody_data();
    void capsTheBody();
};

void TestReplyDecoder::decodes_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArray>("contentEncoding");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<bool>("decoded");
    QTest::addColumn<QString>("text");

    const QString pageText = QString::fromUtf8(page);
    const QByteArray gzip = compress(page, Compression::Gzip);
    const QByteArray gbk("\xd6\xd0\xce\xc4\xe9\x46"); // 中文镕; 镕 lies outside GB2312

    QTest::newRow("plain, no content type is UTF-8") << page << ""_ba
                                                     << ""_ba << true << pageText;
    QTest::newRow("empty body") << ""_ba
                                << ""_ba
                                << "text/html"_ba << true << QString();
    QTest::newRow("empty body labelled gzip") << ""_ba
                                              << "gzip"_ba
                                              << ""_ba << true << QString();
    QTest::newRow("identity") << page << "identity"_ba
                              << ""_ba << true << pageText;
    QTest::newRow("gzip") << gzip << "gzip"_ba
                          << ""_ba << true << pageText;
    QTest::newRow("x-gzip, upper case") << gzip << " X-GZIP "_ba
                                        << ""_ba << true << pageText;
    QTest::newRow("deflate as zlib") << compress(page, Compression::Zlib) << "deflate"_ba
                                     << ""_ba << true << pageText;
    QTest::newRow("deflate as raw stream")
        << compress(page, Compression::RawDeflate) << "deflate"_ba
        << ""_ba << true << pageText;
    QTest::newRow("codings undone last first")
        << compress(compress(page, Compression::Zlib), Compression::Gzip) << "deflate, gzip"_ba
        << ""_ba << true << pageText;
    QTest::newRow("gzip cut before its trailer") << gzip.chopped(4) << "gzip"_ba
                                                 << ""_ba << false << QString();
    QTest::newRow("gzip cut in half") << gzip.left(gzip.size() / 2) << "gzip"_ba
                                      << ""_ba << false << QString();
    QByteArray corrupt = gzip;
    corrupt[corrupt.size() / 2] = static_cast<char>(corrupt[corrupt.size() / 2] ^ 0x55);
    QTest::newRow("gzip with a flipped byte") << corrupt << "gzip"_ba
                                              << ""_ba << false << QString();
    QTest::newRow("plain text labelled gzip") << page << "gzip"_ba
                                              << ""_ba << false << QString();
    QTest::newRow("unknown coding") << page << "br"_ba
                                    << ""_ba << false << QString();

    QTest::newRow("GBK") << gbk << ""_ba
                         << "text/html; charset=GBK"_ba << true << u"中文镕"_s;
    QTest::newRow("GBK page labelled gb2312, quoted")
        << gbk << ""_ba
        << "text/html;charset=\"gb2312\""_ba << true << u"中文镕"_s;
    QTest::newRow("charset among other parameters")
        << gbk << ""_ba
        << "text/html; q=1; CHARSET=gbk; x=y"_ba << true << u"中文镕"_s;
    QTest::newRow("gzip of GBK") << compress(gbk, Compression::Gzip) << "gzip"_ba
                                 << "text/plain; charset=gbk"_ba << true << u"中文镕"_s;
    QTest::newRow("windows-1252") << "caf\xe9 \x80"_ba
                                  << ""_ba
                                  << "text/plain; charset=windows-1252"_ba << true << u"café €"_s;
    QTest::newRow("unknown charset falls back to UTF-8")
        << page << ""_ba
        << "text/html; charset=x-no-such"_ba << true << pageText;
    QTest::newRow("byte-order mark outranks the label")
        << "\xef\xbb\xbf中文"_ba
        << ""_ba
        << "text/html; charset=gbk"_ba << true << u"中文"_s;
    QTest::newRow("UTF-16LE by its byte-order mark") << "\xff\xfe-N\x87"
                                                        "e"_ba
                                                     << ""_ba
                                                     << ""_ba << true << u"中文"_s;
}

void TestReplyDecoder::decodes()
{
    QFETCH(QByteArray, raw);
    QFETCH(QByteArray, contentEncoding);
    QFETCH(QByteArray, contentType);
    QFETCH(bool, decoded);
    QFETCH(QString, text);

    const std::optional<QString> result = DecodeReplyBody(raw, contentEncoding, contentType, noCap);
    QCOMPARE(result.has_value(), decoded);
    if (decoded)
        QCOMPARE(*result, text);
}

void TestReplyDecoder::capsTheBody_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArray>("contentEncoding");
    QTest::addColumn<qsizetype>("maxBytes");
    QTest::addColumn<bool>("decoded");

    const QByteArray exactly(1000, 'a');
    QTest::newRow("plain, at the cap") << exactly << ""_ba << qsizetype(1000) << true;
    QTest::newRow("plain, one past") << exactly << ""_ba << qsizetype(999) << false;
    const QByteArray gzip = compress(exactly, Compression::Gzip);
    QTest::newRow("gzip inflating to the cap") << gzip << "gzip"_ba << qsizetype(1000) << true;
    QTest::newRow("gzip inflating one past") << gzip << "gzip"_ba << qsizetype(999) << false;
    // 64 MiB of zeros squeezed into some 64 KiB: inflating must stop at the cap.
    QTest::newRow("compression bomb") << compress(QByteArray(1 << 20, '\0'), Compression::Gzip, 64)
                                      << "gzip"_ba << qsizetype(32 * 1024 * 1024) << false;
}

void TestReplyDecoder::capsTheBody()
{
    QFETCH(QByteArray, raw);
    QFETCH(QByteArray, contentEncoding);
    QFETCH(qsizetype, maxBytes);
    QFETCH(bool, decoded);

    QCOMPARE(DecodeReplyBody(raw, contentEncoding, "text/plain"_ba, maxBytes).has_value(), decoded);
}

QTEST_APPLESS_MAIN(TestReplyDecoder)
#include "tst_replydecoder.moc"
