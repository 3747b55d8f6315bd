#include "Exchange.h"

#include "NetLog.h"

#include <QCoreApplication>
#include <QLibrary>

#include <atomic>

using namespace Qt::StringLiterals;

namespace GetPostByXmlHttp {

namespace {

std::atomic<ExchangeCall> g_named{nullptr};

// Once, whichever thread asks first (bremo --check asks from several at once). Never
// unloaded: Qt Network keeps threads and caches for the process's life.
ExchangeCall loadedExchange()
{
    static const ExchangeCall loaded = [] {
        QLibrary module(QCoreApplication::applicationDirPath() + u'/' +
                        QLatin1String(ExchangeModulePath));
        const auto entry = reinterpret_cast<ExchangeEntry>(module.resolve(ExchangeEntryName));
        const ExchangeCall call = entry ? entry() : nullptr;
        if (!call)
            qCWarning(lcNet, "the network module cannot be loaded: %ls",
                      qUtf16Printable(module.errorString()));
        return call;
    }();
    return loaded;
}

} // namespace

QString ExchangeEnd::request() const
{
    return DescribeRequest(method, url);
}

ExchangeEnd Exchange(const QByteArray &method, const QString &url, const RawHeaders &headers,
                     const QByteArray &body, QIODevice &sink, const HttpOptions &options)
{
    ExchangeCall call = g_named.load();
    if (!call)
        call = loadedExchange();
    if (call)
        return call(method, url, headers, body, sink, options);
    ExchangeEnd unreached;
    unreached.failure = NetFailure::Broken;
    unreached.method = method;
    unreached.url = url;
    WarnFailure(unreached.request(), u"no network module"_s);
    return unreached;
}

void UseExchange(ExchangeCall call)
{
    g_named.store(call);
}

} // namespace GetPostByXmlHttp
