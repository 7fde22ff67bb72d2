#include "auxiliary/versiones.h"

#include <array>
#include <utility>

namespace sortilan {

QString VersionToName(const QString& version) {
  static constexpr std::array<std::pair<const char*, const char*>, 12> kNombres = {{
      {"1.0.0", "Windows 95"},
      {"1.1.0", "Windows 98"},
      {"1.9.0", "Windows Millenium"},
      {"2.3.0", "Windows NT 3.51"},
      {"2.4.0", "Windows NT 4.0"},
      {"2.5.0", "Windows 2000"},
      {"2.5.1", "Windows XP"},
      {"2.5.3", "Windows 2003"},
      {"2.6.0", "Windows Vista"},
      {"2.6.1", "Windows 7"},
      {"2.6.2", "Windows 8"},
      {"2.10.0", "Windows 10"},
  }};
  for (const auto& [clave, nombre] : kNombres)
    if (version == QLatin1String(clave)) return QString::fromLatin1(nombre);
  return version;
}

}  // namespace sortilan
