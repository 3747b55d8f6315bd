#pragma once

#include <QLoggingCategory>

// Why settings or keys could not be read or kept, for a maintainer; never a key.
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
