#pragma once

#include <QLoggingCategory>

// Why the offline voice gave no clip, or a clip no MP3: the reason, never the text spoken.
Q_DECLARE_LOGGING_CATEGORY(lcVoice)
