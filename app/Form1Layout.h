#pragma once

#include <QStringView>

#include <span>

// What the window is made of: one row per control, in stacking order within each container
// (a row lies above the rows after it where they overlap).
enum class ControlKind
{
    CommandButton,
    Frame,
    TextBox,
    ComboBox,
    Label,
    OptionButton,
    Player,
    StatusBar
};

struct ControlLayout
{
    QStringView name;
    ControlKind kind;
    QStringView container; // empty: the window itself
    QStringView caption;
    int left; // twips, relative to the container
    int top;
    int width;
    int height;
    QStringView toolTip = {};
};

constexpr QStringView WindowCaption = u"Bremo.多国语言在线互译工具 V3.0";
constexpr int WindowClientWidth = 7470; // twips
constexpr int WindowClientHeight = 9555;

std::span<const ControlLayout> Form1Controls();

struct AccessibleName
{
    QStringView control;
    QStringView name;
};

// What a screen reader calls the controls whose caption does not say what they are.
std::span<const AccessibleName> Form1AccessibleNames();

// Focus moves through the controls in this order on Tab.
std::span<const QStringView> Form1TabOrder();
