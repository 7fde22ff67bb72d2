#include "base/escritorcsv.h"

namespace sortilan {

QString EscritorCsv::celda(const QString& t) {
  QString s = t;
  s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  if (!s.isEmpty()) {
    const QChar c = s.front();
    if (c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r') s.prepend(QLatin1Char('\''));
  }
  return QLatin1Char('"') + s + QLatin1Char('"');
}

EscritorCsv& EscritorCsv::texto(const QString& t) {
  fila_ << celda(t);
  return *this;
}

EscritorCsv& EscritorCsv::numero(const QString& t) {
  fila_ << t;
  return *this;
}

void EscritorCsv::fin() {
  filas_ << fila_.join(separador_);
  fila_.clear();
}

QByteArray EscritorCsv::bytes() const {
  QByteArray b = QByteArrayLiteral("\xEF\xBB\xBF");
  for (const QString& f : filas_) b += f.toUtf8() + QByteArrayLiteral("\r\n");
  return b;
}

}  // namespace sortilan
