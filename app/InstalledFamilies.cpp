#include "InstalledFamilies.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace {

bool IsInstalled(const QString &family)
{
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                          &FcPatternDestroy);
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8 *>(family.toUtf8().constData()));
    const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> names(
        FcObjectSetBuild(FC_FAMILY, nullptr), &FcObjectSetDestroy);
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
        FcFontList(nullptr, pattern.get(), names.get()), &FcFontSetDestroy);
    return fonts && fonts->nfont > 0;
}

} // namespace

QStringList InstalledFamilies(const QStringList &families)
{
    QStringList installed;
    for (const QString &family : families) {
        if (IsInstalled(family))
            installed << family;
    }
    return installed.isEmpty() ? families : installed;
}
