#include "base/programa.h"

namespace sortilan {

QString versionPrograma() { return QStringLiteral(SORTILAN_VERSION); }

}  // namespace sortilan
