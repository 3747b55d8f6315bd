#include "LanguageCatalogue.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Entry
{
    QString name;
    QString code;
};

// The catalogue as the product defines it, one row per position.
const Entry Expected[] = {
    {u"中文"_s, u"zh-CN"_s},
    {u"英语"_s, u"en"_s},
    {u"阿尔巴尼亚语"_s, u"sq"_s},
    {u"阿拉伯语"_s, u"ar"_s},
    {u"阿塞拜疆语"_s, u"az"_s},
    {u"爱尔兰语"_s, u"ga"_s},
    {u"爱沙尼亚语"_s, u"et"_s},
    {u"白俄罗斯语"_s, u"be"_s},
    {u"保加利亚语"_s, u"bg"_s},
    {u"冰岛语"_s, u"is"_s},
    {u"波兰语"_s, u"pl"_s},
    {u"波斯语"_s, u"fa"_s},
    {u"布尔文(南非荷兰语)"_s, u"af"_s},
    {u"丹麦语"_s, u"da"_s},
    {u"德语"_s, u"de"_s},
    {u"俄语"_s, u"ru"_s},
    {u"法语"_s, u"fr"_s},
    {u"菲律宾语"_s, u"tl"_s},
    {u"芬兰语"_s, u"fi"_s},
    {u"格鲁吉亚语"_s, u"ka"_s},
    {u"海地克里奥尔语"_s, u"ht"_s},
    {u"韩语"_s, u"ko"_s},
    {u"荷兰语"_s, u"nl"_s},
    {u"加利西亚语"_s, u"gl"_s},
    {u"加泰罗尼亚语"_s, u"ca"_s},
    {u"捷克语"_s, u"cs"_s},
    {u"克罗地亚语"_s, u"hr"_s},
    {u"拉脱维亚语"_s, u"lv"_s},
    {u"立陶宛语"_s, u"lt"_s},
    {u"罗马尼亚语"_s, u"ro"_s},
    {u"马耳他语"_s, u"mt"_s},
    {u"马来语"_s, u"ms"_s},
    {u"马其顿语"_s, u"mk"_s},
    {u"挪威语"_s, u"no"_s},
    {u"葡萄牙语"_s, u"pt"_s},
    {u"日语"_s, u"ja"_s},
    {u"瑞典语"_s, u"sv"_s},
    {u"塞尔维亚语"_s, u"sr"_s},
    {u"斯洛伐克语"_s, u"sk"_s},
    {u"斯洛文尼亚语"_s, u"sl"_s},
    {u"斯瓦希里语"_s, u"sw"_s},
    {u"泰语"_s, u"th"_s},
    {u"土耳其语"_s, u"tr"_s},
    {u"威尔士语"_s, u"cy"_s},
    {u"乌克兰语"_s, u"uk"_s},
    {u"西班牙的巴斯克语"_s, u"eu"_s},
    {u"西班牙语"_s, u"es"_s},
    {u"希伯来语"_s, u"iw"_s},
    {u"希腊语"_s, u"el"_s},
    {u"匈牙利语"_s, u"hu"_s},
    {u"亚美尼亚语"_s, u"hy"_s},
    {u"意大利语"_s, u"it"_s},
    {u"意第绪语"_s, u"yi"_s},
    {u"印地语"_s, u"hi"_s},
    {u"印度乌尔都语"_s, u"ur"_s},
    {u"印尼语"_s, u"id"_s},
    {u"越南语"_s, u"vi"_s},
};

} // namespace

class TestLanguageCatalogue final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entries_data();
    void entries();
    void splitsIntoExactly57NonEmptyEntries();
    void codeForPosition_data();
    void codeForPosition();
};

void TestLanguageCatalogue::entries_data()
{
    QTest::addColumn<int>("position");
    for (int i = 0; i < int(std::size(Expected)); ++i)
        QTest::addRow("%d %s", i, qPrintable(Expected[i].code)) << i;
}

void TestLanguageCatalogue::entries()
{
    QFETCH(int, position);
    const LanguageCatalogue catalogue = LanguageCatalogue::build();
    QCOMPARE(catalogue.displayNames.at(position), Expected[position].name);
    QCOMPARE(catalogue.codes.at(position), Expected[position].code);
}

void TestLanguageCatalogue::splitsIntoExactly57NonEmptyEntries()
{
    const LanguageCatalogue catalogue = LanguageCatalogue::build();
    QCOMPARE(catalogue.displayNames.size(), 57);
    QCOMPARE(catalogue.codes.size(), 57);
    for (const QStringList *list : {&catalogue.displayNames, &catalogue.codes}) {
        for (const QString &entry : *list) {
            QVERIFY(!entry.isEmpty());
            QVERIFY(!entry.contains(u' '));
        }
    }
    QCOMPARE(catalogue.displayNames.last(), u"越南语"_s);
    QCOMPARE(catalogue.codes.last(), u"vi"_s);
}

void TestLanguageCatalogue::codeForPosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<std::optional<QString>>("code");

    QTest::newRow("Chinese") << 0 << std::optional(u"zh-CN"_s);
    QTest::newRow("English") << 1 << std::optional(u"en"_s);
    QTest::newRow("German") << 14 << std::optional(u"de"_s);
    QTest::newRow("French") << 16 << std::optional(u"fr"_s);
    QTest::newRow("Filipino") << 17 << std::optional(u"tl"_s);
    QTest::newRow("Norwegian") << 33 << std::optional(u"no"_s);
    QTest::newRow("Hebrew") << 47 << std::optional(u"iw"_s);
    QTest::newRow("last") << 56 << std::optional(u"vi"_s);
    QTest::newRow("no selection") << -1 << std::optional<QString>();
    QTest::newRow("one past the end") << 57 << std::optional<QString>();
    QTest::newRow("most negative") << std::numeric_limits<int>::min() << std::optional<QString>();
    QTest::newRow("16-bit maximum") << 32767 << std::optional<QString>();
}

void TestLanguageCatalogue::codeForPosition()
{
    QFETCH(int, position);
    QFETCH(std::optional<QString>, code);
    QCOMPARE(CodeForPosition(LanguageCatalogue::build().codes, position), code);
}

QTEST_APPLESS_MAIN(TestLanguageCatalogue)
#include "tst_languagecatalogue.moc"
