#include "OcrLanguages.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// The catalogue's codes and Tesseract's names for the same language.
constexpr std::pair<QStringView, QStringView> Models[] = {
    {u"zh-CN", u"chi_sim"}, {u"en", u"eng"}, {u"sq", u"sqi"}, {u"ar", u"ara"}, {u"az", u"aze"},
    {u"ga", u"gle"},        {u"et", u"est"}, {u"be", u"bel"}, {u"bg", u"bul"}, {u"is", u"isl"},
    {u"pl", u"pol"},        {u"fa", u"fas"}, {u"af", u"afr"}, {u"da", u"dan"}, {u"de", u"deu"},
    {u"ru", u"rus"},        {u"fr", u"fra"}, {u"tl", u"tgl"}, {u"fi", u"fin"}, {u"ka", u"kat"},
    {u"ht", u"hat"},        {u"ko", u"kor"}, {u"nl", u"nld"}, {u"gl", u"glg"}, {u"ca", u"cat"},
    {u"cs", u"ces"},        {u"hr", u"hrv"}, {u"lv", u"lav"}, {u"lt", u"lit"}, {u"ro", u"ron"},
    {u"mt", u"mlt"},        {u"ms", u"msa"}, {u"mk", u"mkd"}, {u"no", u"nor"}, {u"pt", u"por"},
    {u"ja", u"jpn"},        {u"sv", u"swe"}, {u"sr", u"srp"}, {u"sk", u"slk"}, {u"sl", u"slv"},
    {u"sw", u"swa"},        {u"th", u"tha"}, {u"tr", u"tur"}, {u"cy", u"cym"}, {u"uk", u"ukr"},
    {u"eu", u"eus"},        {u"es", u"spa"}, {u"iw", u"heb"}, {u"el", u"ell"}, {u"hu", u"hun"},
    {u"hy", u"hye"},        {u"it", u"ita"}, {u"yi", u"yid"}, {u"hi", u"hin"}, {u"ur", u"urd"},
    {u"id", u"ind"},        {u"vi", u"vie"},
};

bool Installed(const QString &folder, const QString &model)
{
    return QFileInfo(folder + u'/' + model + u".traineddata"_s).isReadable();
}

} // namespace

QString ModelFolder()
{
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    return prefix.isEmpty() ? u"/usr/share/tesseract-ocr/5/tessdata"_s : prefix;
}

OcrModels ModelsFor(const QString &code, const QString &folder)
{
    OcrModels models;
    QStringList wanted;
    for (const auto &[languageCode, model] : Models) {
        if (code == languageCode)
            wanted.append(model.toString());
    }
    if (!wanted.contains(u"eng"_s))
        wanted.append(u"eng"_s);
    for (const QString &model : wanted)
        (Installed(folder, model) ? models.installed : models.missing).append(model);
    return models;
}

QString ModelPackage(const QString &model)
{
    return u"tesseract-ocr-"_s + QString(model).replace(u'_', u'-');
}
