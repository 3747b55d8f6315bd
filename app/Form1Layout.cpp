#include "Form1Layout.h"

namespace {

using enum ControlKind;

constexpr ControlLayout Controls[] = {
    {u"Command6", CommandButton, {}, u"复制译文", 6240, 4320, 975, 255},
    {u"Command5", CommandButton, {}, u"粘贴原文", 6240, 120, 975, 255},
    {u"Command4", CommandButton, {}, u"更新介绍", 3840, 8160, 1575, 615},
    {u"Command3", CommandButton, {}, u"退出程序", 5640, 8160, 1695, 615},
    {u"Command2", CommandButton, {}, u"程序说明", 2040, 8160, 1575, 615},
    {u"Command1", CommandButton, {}, u"翻译", 120, 8160, 1695, 615},
    {u"Frame3", Frame, {}, u"翻译的原文", 120, 120, 7215, 2895},
    {u"SourceContent", TextBox, u"Frame3", {}, 120, 360, 6975, 2415, u"请在这里输入要翻译的原文"},
    {u"Frame2", Frame, {}, u"翻译的结果[音频操作请点击播放器空白部分]", 120, 4320, 7215, 2895},
    {u"ResultContent", TextBox, u"Frame2", {}, 120, 360, 6975, 2415, u"这里将显示翻译后的译文"},
    {u"StatusBar1", StatusBar, {}, {}, 0, 8940, 7470, 615},
    {u"Frame1", Frame, {}, u"语种互译", 120, 3240, 7215, 855},
    {u"Combo1", ComboBox, u"Frame1", {}, 1440, 300, 1815, 300},
    {u"Combo2", ComboBox, u"Frame1", {}, 4320, 300, 1815, 300},
    {u"Label3", Label, u"Frame1", u"从：", 960, 360, 360, 180},
    {u"Label4", Label, u"Frame1", u"翻译成：", 3480, 360, 720, 180},
    {u"Option2", OptionButton, {}, u"Google(谷歌)", 1680, 6000, 1455, 255},
    {u"Option1", OptionButton, {}, u"Option1", 720, 6360, 1095, 255},
    {u"Label5", Label, {}, {}, 10200, 4320, 4860, 2880},
    {u"Voice", Player, {}, {}, 120, 7320, 7215, 615},
};

constexpr AccessibleName AccessibleNames[] = {
    {u"SourceContent", u"原文"}, {u"ResultContent", u"译文"},   {u"Combo1", u"源语言"},
    {u"Combo2", u"目标语言"},    {u"Option1", u"有道(Youdao)"}, {u"Voice", u"发音播放器"},
};

constexpr QStringView TabOrder[] = {
    u"Voice",         u"Combo2",   u"Combo1",   u"Option2",  u"Option1",
    u"Command1",      u"Command2", u"Command3", u"Command4", u"ResultContent",
    u"SourceContent", u"Command5", u"Command6",
};

} // namespace

std::span<const ControlLayout> Form1Controls()
{
    return Controls;
}

std::span<const QStringView> Form1TabOrder()
{
    return TabOrder;
}

std::span<const AccessibleName> Form1AccessibleNames()
{
    return AccessibleNames;
}
