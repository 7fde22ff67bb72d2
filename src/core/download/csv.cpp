#include "download/csv.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <map>

#include "answer/analisis.h"
#include "answer/reglas.h"
#include "base/fechas.h"
#include "store/escritura.h"

namespace sortilan {

namespace {

QDate fechaCsv(const QString& texto) {
  static const QRegularExpression dma(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
  static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
  if (const QRegularExpressionMatch m = dma.match(texto); m.hasMatch())
    return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
  if (const QRegularExpressionMatch m = iso.match(texto); m.hasMatch())
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
  return {};
}

QStringList campos(const QString& linea) {
  const QChar separador = linea.contains(QLatin1Char(';')) ? QLatin1Char(';') : QLatin1Char(',');
  QStringList c = linea.split(separador);
  for (QString& x : c) {
    x = x.trimmed();
    if (x.size() >= 2 && x.startsWith(QLatin1Char('"')) && x.endsWith(QLatin1Char('"')))
      x = x.mid(1, x.size() - 2).trimmed();
  }
  // A separator at the end of the line adds no column.
  while (!c.isEmpty() && c.last().isEmpty()) c.removeLast();
  return c;
}

bool esCabecera(const QStringList& c) {
  return !c.isEmpty() && !fechaCsv(c.first()).isValid() &&
         std::any_of(c.first().begin(), c.first().end(), [](QChar ch) { return ch.isLetter(); });
}

}  // namespace

LecturaCsv leerCsv(const QByteArray& datos, const QDate& hoy) {
  LecturaCsv r;
  QString texto = QString::fromUtf8(datos);
  if (texto.startsWith(QChar(0xFEFF))) texto.remove(0, 1);
  const QStringList lineas = texto.split(QLatin1Char('\n'));
  struct Visto {
    Sorteo sorteo;
    int linea;
  };
  std::map<double, Visto> porFecha;
  bool primera = true;
  auto mala = [&r](int linea, const QString& motivo) {
    r.sorteos.clear();
    r.linea = linea;
    r.motivo = motivo;
    return r;
  };
  for (qsizetype i = 0; i < lineas.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    const QString linea = lineas[i].trimmed();
    if (linea.isEmpty()) continue;
    const QStringList c = campos(linea);
    if (std::exchange(primera, false) && esCabecera(c)) continue;
    if (c.size() != 7)
      return mala(n, QStringLiteral("tiene %1 campos y se esperan 7: la fecha, los cinco números y el número clave")
                         .arg(c.size()));
    const QDate fecha = fechaCsv(c[0]);
    if (!fecha.isValid()) return mala(n, QStringLiteral("«%1» no es una fecha válida").arg(c[0]));
    Sorteo s;
    for (int k = 1; k <= 6; ++k) {
      // Digits only: a sign or a decimal point is not a number of a draw.
      const int v = numeroEscrito(c[k]);
      if (v < 0) return mala(n, QStringLiteral("«%1» no es un número del sorteo").arg(c[k]));
      s.numeros[static_cast<size_t>(k - 1)] = static_cast<int16_t>(v);
    }
    s.fecha = oleDesdeFecha(fecha);
    QString motivo = motivoFecha(fecha, hoy);
    if (motivo.isEmpty()) motivo = motivoDia(fecha);
    if (motivo.isEmpty()) motivo = motivoCombinacion(s);
    if (!motivo.isEmpty()) return mala(n, motivo);
    const auto [it, nuevo] = porFecha.try_emplace(s.fecha, Visto{s, n});
    if (!nuevo && (it->second.sorteo.mascara() != s.mascara() || it->second.sorteo.clave() != s.clave()))
      return mala(n, QStringLiteral("el sorteo del %1 ya está en la línea %2 con otros números")
                         .arg(fecha.toString(QStringLiteral("dd/MM/yyyy")))
                         .arg(it->second.linea));
  }
  r.sorteos.reserve(porFecha.size());
  for (const auto& [fecha, v] : porFecha) r.sorteos.push_back(v.sorteo);
  return r;
}

QByteArray escribirCsv(const std::vector<Sorteo>& sorteos) {
  QByteArray out = "fecha;n1;n2;n3;n4;n5;clave\n";
  out.reserve(out.size() + static_cast<qsizetype>(sorteos.size()) * 28);
  for (const Sorteo& s : sorteos) {
    out += fechaDesdeOle(s.fecha).toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    for (int i = 1; i <= 6; ++i) out += ';' + QByteArray::number(s.numero(i));
    out += '\n';
  }
  return out;
}

Resultado exportarCsv(Almacen& almacen, const QString& ruta) {
  return reemplazarArchivo(ruta, escribirCsv(almacen.sorteos().leerTodos()));
}

ImportacionCsv prepararCsv(Almacen& almacen, const QString& ruta, const QDate& hoy) {
  ImportacionCsv im;
  bool leido = false;
  const QByteArray datos = leerArchivo(ruta, &leido);
  if (!leido || !QFileInfo(ruta).isFile()) {
    im.estado = ImportacionCsv::Estado::NoLeido;
    return im;
  }
  LecturaCsv l = leerCsv(datos, hoy);
  if (l.linea != 0) {
    im.estado = ImportacionCsv::Estado::LineaMala;
    im.linea = l.linea;
    im.motivo = l.motivo;
    return im;
  }
  const double ultima = almacen.sorteos().ultimo().fecha;
  bool listaUltimo = false;
  for (const Sorteo& s : l.sorteos) {
    if (s.fecha > ultima)
      im.nuevos.push_back(s);
    else if (s.fecha == ultima)
      listaUltimo = true;
  }
  if (im.nuevos.empty()) {
    im.estado = ImportacionCsv::Estado::NadaNuevo;
    return im;
  }
  // A file that lists the newest stored draw carries on from it with its own history.
  if (ultima != 0 && !listaUltimo)
    im.faltan = sorteosEntre(fechaDesdeOle(ultima), fechaDesdeOle(im.nuevos.front().fecha));
  return im;
}

QString ImportacionCsv::mensaje(const QString& ruta) const {
  const QString nombre = QFileInfo(ruta).fileName();
  switch (estado) {
    case Estado::NoLeido: return QStringLiteral("No se puede leer el archivo «%1».").arg(ruta);
    case Estado::LineaMala:
      return QStringLiteral("La línea %1 de «%2» no es válida: %3. No se ha añadido ningún sorteo.")
          .arg(linea)
          .arg(nombre, motivo);
    case Estado::NadaNuevo:
      return QStringLiteral("«%1» no tiene sorteos posteriores al último guardado. No se ha añadido ninguno.")
          .arg(nombre);
    case Estado::Lista: break;
  }
  return QStringLiteral("«%1» tiene %2 posteriores al último guardado.")
      .arg(nombre, textoNuevos(static_cast<int>(nuevos.size())));
}

QString textoAnadidos(int n) {
  return n == 1 ? QStringLiteral("Se ha añadido 1 sorteo del archivo.")
                : QStringLiteral("Se han añadido %1 sorteos del archivo.").arg(n);
}

}  // namespace sortilan
