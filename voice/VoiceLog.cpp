#include "VoiceLog.h"

Q_LOGGING_CATEGORY(lcVoice, "bremo.voice")
