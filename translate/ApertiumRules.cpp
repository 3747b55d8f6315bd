#include "ApertiumRules.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Apertium {

namespace {

// Apertium's names of each catalogue language, the ones its current packages use first.
// Serbian and Croatian share the Serbo-Croatian modes (hbs), Norwegian has two written
// standards.
constexpr std::pair<QStringView, QStringView> ApertiumNames[] = {
    {u"zh-CN", u"zho cmn zh"}, {u"en", u"eng en"},
    {u"sq", u"sqi sq"},        {u"ar", u"ara ar"},
    {u"az", u"aze az"},        {u"ga", u"gle ga"},
    {u"et", u"est et"},        {u"be", u"bel be"},
    {u"bg", u"bul bg"},        {u"is", u"isl is"},
    {u"pl", u"pol pl"},        {u"fa", u"fas pes fa"},
    {u"af", u"afr af"},        {u"da", u"dan da"},
    {u"de", u"deu de"},        {u"ru", u"rus ru"},
    {u"fr", u"fra fr"},        {u"tl", u"tgl tl"},
    {u"fi", u"fin fi"},        {u"ka", u"kat ka"},
    {u"ht", u"hat ht"},        {u"ko", u"kor ko"},
    {u"nl", u"nld nl"},        {u"gl", u"glg gl"},
    {u"ca", u"cat ca"},        {u"cs", u"ces cs"},
    {u"hr", u"hrv hbs hr sh"}, {u"lv", u"lav lv"},
    {u"lt", u"lit lt"},        {u"ro", u"ron ro"},
    {u"mt", u"mlt mt"},        {u"ms", u"msa zlm ms"},
    {u"mk", u"mkd mk"},        {u"no", u"nob nno nor nb nn no"},
    {u"pt", u"por pt"},        {u"ja", u"jpn ja"},
    {u"sv", u"swe sv"},        {u"sr", u"srp hbs sr sh"},
    {u"sk", u"slk sk"},        {u"sl", u"slv sl"},
    {u"sw", u"swa sw"},        {u"th", u"tha th"},
    {u"tr", u"tur tr"},        {u"cy", u"cym cy"},
    {u"uk", u"ukr uk"},        {u"eu", u"eus eu"},
    {u"es", u"spa es"},        {u"iw", u"heb he"},
    {u"el", u"ell el"},        {u"hu", u"hun hu"},
    {u"hy", u"hye hy"},        {u"it", u"ita it"},
    {u"yi", u"yid yi"},        {u"hi", u"hin hi"},
    {u"ur", u"urd ur"},        {u"id", u"ind id"},
    {u"vi", u"vie vi"},
};

QList<QStringView> NamesOf(QStringView catalogueCode)
{
    for (const auto &[code, names] : ApertiumNames) {
        if (code == catalogueCode)
            return names.split(u' ');
    }
    return {};
}

bool isLanguageName(QStringView part)
{
    return !part.isEmpty() &&
           std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'a' && c <= u'z'; });
}

} // namespace

QStringList ModesAmong(const QStringList &fileNames)
{
    QStringList modes;
    for (const QString &file : fileNames) {
        if (!file.endsWith(u".mode"_s))
            continue;
        const QStringView name = QStringView(file).chopped(5);
        const QList<QStringView> parts = name.split(u'-');
        if (parts.size() == 2 && isLanguageName(parts[0]) && isLanguageName(parts[1]))
            modes.append(name.toString());
    }
    return modes;
}

std::optional<QString> ModeFor(const QStringList &modes, QStringView sourceCode,
                               QStringView targetCode)
{
    const QList<QStringView> targets = NamesOf(targetCode);
    for (const QStringView source : NamesOf(sourceCode)) {
        for (const QStringView target : targets) {
            const QString mode = source + u'-' + target;
            if (modes.contains(mode))
                return mode;
        }
    }
    return std::nullopt;
}

QStringList Arguments(const QString &mode)
{
    return {u"-u"_s, mode};
}

QByteArray Input(QStringView source)
{
    return source.toString().replace(u"\r\n"_s, u"\n"_s).toUtf8();
}

QString ResultOfOutput(const QByteArray &output)
{
    QString text = QString::fromUtf8(output);
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text.replace(u"\n"_s, u"\r\n"_s);
}

} // namespace Apertium
