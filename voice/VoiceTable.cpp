#include "VoiceTable.h"

#include <algorithm>
#include <iterator>

namespace {

struct VoiceRow
{
    QStringView code;  // the catalogue's
    QStringView voice; // espeak-ng's name; empty: it has none that speaks the language
};

// The names are those of `espeak-ng --voices` in Debian 12 (espeak-ng 1.51). English and
// Portuguese take the variants that Google's speech host speaks.
constexpr VoiceRow Voices[] = {
    // With "cmn", espeak-ng reads the tone digits of its own transcription in English.
    {u"zh-CN", u"cmn-latn-pinyin"},
    {u"en", u"en-us"},
    {u"sq", u"sq"},
    {u"ar", u"ar"},
    {u"az", u"az"},
    {u"ga", u"ga"},
    {u"et", u"et"},
    {u"be", u"be"},
    {u"bg", u"bg"},
    {u"is", u"is"},
    {u"pl", u"pl"},
    {u"fa", u"fa"},
    {u"af", u"af"},
    {u"da", u"da"},
    {u"de", u"de"},
    {u"ru", u"ru"},
    {u"fr", u"fr-fr"},
    // No Filipino voice.
    {u"tl", {}},
    {u"fi", u"fi"},
    {u"ka", u"ka"},
    {u"ht", u"ht"},
    {u"ko", u"ko"},
    {u"nl", u"nl"},
    // No Galician voice.
    {u"gl", {}},
    {u"ca", u"ca"},
    {u"cs", u"cs"},
    {u"hr", u"hr"},
    {u"lv", u"lv"},
    {u"lt", u"lt"},
    {u"ro", u"ro"},
    {u"mt", u"mt"},
    {u"ms", u"ms"},
    {u"mk", u"mk"},
    {u"no", u"nb"},
    {u"pt", u"pt-br"},
    // The Japanese voice reads kana alone: every kanji comes out as "Chinese letter", in
    // English.
    {u"ja", {}},
    {u"sv", u"sv"},
    {u"sr", u"sr"},
    {u"sk", u"sk"},
    {u"sl", u"sl"},
    {u"sw", u"sw"},
    {u"th", u"th"},
    {u"tr", u"tr"},
    {u"cy", u"cy"},
    {u"uk", u"uk"},
    {u"eu", u"eu"},
    {u"es", u"es"},
    {u"iw", u"he"},
    {u"el", u"el"},
    {u"hu", u"hu"},
    {u"hy", u"hy"},
    {u"it", u"it"},
    // No Yiddish voice.
    {u"yi", {}},
    {u"hi", u"hi"},
    {u"ur", u"ur"},
    {u"id", u"id"},
    {u"vi", u"vi"},
};

} // namespace

std::optional<QString> EspeakVoiceFor(QStringView languageCode)
{
    const auto row = std::find_if(std::begin(Voices), std::end(Voices),
                                  [&](const VoiceRow &row) { return row.code == languageCode; });
    if (row == std::end(Voices) || row->voice.isEmpty())
        return std::nullopt;
    return row->voice.toString();
}
