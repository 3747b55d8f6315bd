#pragma once

#include <QString>

// How the one Bremo of a desktop session is found on the session bus: the freedesktop
// convention for applications, under the id that the desktop entry and the metainfo use.
namespace Session {

inline const QString ApplicationId = QStringLiteral("io.github.bremo.Bremo");
inline const QString ObjectPath = QStringLiteral("/io/github/bremo/Bremo");
inline const QString Interface = QStringLiteral("org.freedesktop.Application");

// The actions of ActivateAction; "translate" takes the text as its one string parameter.
inline const QString TranslateAction = QStringLiteral("translate");
inline const QString TranslateSelectionAction = QStringLiteral("translate-selection");
inline const QString TranslateClipboardAction = QStringLiteral("translate-clipboard");
// 翻译服务设置 opened in the window.
inline const QString SettingsAction = QStringLiteral("settings");
// Takes the area of the screen as four integers: x, y, width, height.
inline const QString TranslateScreenAction = QStringLiteral("translate-screen");

} // namespace Session
