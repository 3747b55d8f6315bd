#include "LanguageCatalogue.h"

namespace {

// Kept as the pieces they were written in; every piece but the last of a text ends in one
// space, so the joined texts split into exactly 57 entries.
constexpr const char16_t *NamePieces[] = {
    u"中文 英语 阿尔巴尼亚语 阿拉伯语 阿塞拜疆语 爱尔兰语 爱沙尼亚语 白俄罗斯语 保加利亚语 冰岛语 ",
    u"波兰语 波斯语 布尔文(南非荷兰语) 丹麦语 德语 俄语 法语 菲律宾语 芬兰语 格鲁吉亚语 "
    u"海地克里奥尔语 ",
    u"韩语 荷兰语 加利西亚语 加泰罗尼亚语 捷克语 克罗地亚语 拉脱维亚语 立陶宛语 罗马尼亚语 "
    u"马耳他语 ",
    u"马来语 马其顿语 挪威语 葡萄牙语 日语 瑞典语 塞尔维亚语 斯洛伐克语 斯洛文尼亚语 斯瓦希里语 "
    u"泰语 ",
    u"土耳其语 威尔士语 乌克兰语 西班牙的巴斯克语 西班牙语 希伯来语 希腊语 匈牙利语 亚美尼亚语 "
    u"意大利语 "
    u"意第绪语 印地语 印度乌尔都语 印尼语 越南语",
};

constexpr const char16_t *CodePieces[] = {
    u"zh-CN en sq ar az ga et be bg is pl fa af da de ru fr tl fi ka ht ko nl gl ca cs hr lv lt ",
    u"ro mt ms mk no pt ja sv sr sk sl sw th tr cy uk eu es iw el hu hy it yi hi ur id vi",
};

template<std::size_t N> QStringList splitJoined(const char16_t *const (&pieces)[N])
{
    QString joined;
    for (const char16_t *piece : pieces)
        joined += QString::fromUtf16(piece);
    return joined.split(u' ');
}

} // namespace

LanguageCatalogue LanguageCatalogue::build()
{
    return {splitJoined(NamePieces), splitJoined(CodePieces)};
}

std::optional<QString> CodeForPosition(const QStringList &codes, int position)
{
    // One unsigned comparison refuses negative positions as well as those past the end.
    if (static_cast<std::size_t>(static_cast<unsigned>(position)) >=
        static_cast<std::size_t>(codes.size()))
        return std::nullopt;
    return codes.at(position);
}
