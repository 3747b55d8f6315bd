// The entry of the bremo-net module: the exchange with Qt Network, loaded at the first one.
#include "ExchangeJob.h"

using namespace GetPostByXmlHttp;

extern "C" Q_DECL_EXPORT ExchangeCall BremoExchange()
{
    static_assert(std::is_same_v<decltype(&BremoExchange), ExchangeEntry>);
    return LinkedExchange;
}
