#pragma once

#include <QString>

namespace sortilan {

// Name of a system version "platform.major.minor" ("2.10.0" -> "Windows 10"); a
// version not in the table comes back unchanged.
QString VersionToName(const QString& version);

}  // namespace sortilan
