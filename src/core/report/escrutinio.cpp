#include "report/escrutinio.h"

#include <QFile>
#include <QHostAddress>

#include "answer/analisis.h"
#include "answer/buscador.h"
#include "base/fechas.h"
#include "store/codec.h"
#include "store/escritura.h"

namespace sortilan {

namespace {
const QByteArray kComillas = QByteArrayLiteral("\"\"");
const QByteArray kComilla = QByteArrayLiteral("\"");

bool esLocal(const QString& host) {
  if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0) return true;
  const QHostAddress a(host);
  return !a.isNull() && a.isLoopback();
}

// A step of the report whose read fails is skipped: its position and result are dropped.
QByteArray paso(Buscador& b, const QByteArray& empieza, const QByteArray& final, bool* bien = nullptr) {
  const qint64 antes = b.posicion();
  const QByteArray r = b.busca(empieza, final);
  const bool fallo = b.fallo();
  if (fallo) {
    b.limpiarFallo();
    b.ponerPosicion(antes);
  }
  if (bien) *bien = !fallo && !b.finbusca();
  return fallo ? QByteArray() : r;
}
}  // namespace

QString categoria(int i) {
  static const char* const kAciertos[8] = {"5 + 1", "5 + 0", "4 + 1", "4 + 0", "3 + 1", "3 + 0", "2 + 1", "2 + 0"};
  return QStringLiteral("- %1ª Categoría (%2 Aciertos): ").arg(i + 1).arg(QLatin1String(kAciertos[i]));
}

QString raros(const QString& carla) {
  const QByteArray b = aWindows1252(carla);
  QString r;
  for (char c : b) {
    const auto u = static_cast<unsigned char>(c);
    if (u > 32 && u < 123) r.append(QLatin1Char(c));
  }
  return r;
}

QUrl direccionDocumento(const QUrl& operador, const QString& ruta) {
  if (!operador.isValid() || operador.host().isEmpty()) return {};
  if (!ruta.startsWith(QLatin1Char('/')) || ruta.startsWith(QStringLiteral("//"))) return {};
  for (QChar c : ruta) {
    const char16_t u = c.unicode();
    if (u <= 32 || u >= 127 || u == '\\' || u == '?' || u == '#') return {};
  }
  const QStringList tramos = ruta.split(QLatin1Char('/'));
  for (const QString& t : tramos)
    if (t == QLatin1String(".") || t == QLatin1String("..")) return {};

  QUrl u;
  const bool local = esLocal(operador.host());
  u.setScheme(local && operador.scheme() == QLatin1String("http") ? QStringLiteral("http") : QStringLiteral("https"));
  u.setHost(operador.host());
  // A port only means something for the scheme it was configured with.
  if (u.scheme() == operador.scheme()) u.setPort(operador.port());
  QString base = operador.path();
  if (base.endsWith(QLatin1Char('/'))) base.chop(1);
  u.setPath(base + ruta, QUrl::StrictMode);
  if (!u.isValid() || u.host() != operador.host()) return {};
  return u;
}

Escrutinio escrutinio(const QByteArray& buffer, double fechaUltimo, const QUrl& operador) {
  Escrutinio e;
  // With no draw stored there is no date to name: the title keeps its design caption.
  e.titulo = fechaUltimo == 0 ? QStringLiteral("Informe") : QStringLiteral("-Informe del ") + fechaLarga(fechaUltimo);
  if (buffer.size() > kMaximoBuffer) return e;
  Buscador b(buffer);

  // A prize table: its first category follows the "escrutinio" key closely. A search
  // that ran off the end says there is none, whatever the positions.
  bool hayEscru = false, hayCate = false;
  paso(b, QByteArrayLiteral("escru"), kComilla, &hayEscru);
  const qint64 p = b.posicion();
  paso(b, QByteArrayLiteral("cate"), kComilla, &hayCate);
  const qint64 d = b.posicion() - p;
  if (!(hayEscru && hayCate && d > 0 && d < 300)) return e;
  e.hayTabla = true;

  b.ponerPosicion(1);
  for (size_t i = 0; i < 8; ++i) {
    bool bien = true;
    paso(b, QByteArrayLiteral("categoria"), QByteArrayLiteral(":\""), &bien);
    const qint64 antes = b.posicion();
    const QByteArray hallado = b.busca(kComillas, kComilla);
    if (b.fallo()) {
      b.limpiarFallo();
      b.ponerPosicion(antes);
      continue;
    }
    e.premios[i] = raros(desdeWindows1252(hallado));
  }

  b.ponerPosicion(1);
  bool hayDocumentos = false, hayUrl = false;
  paso(b, QByteArrayLiteral("documentos"), QByteArrayLiteral(":"), &hayDocumentos);
  const qint64 q = b.posicion();
  paso(b, QByteArrayLiteral("urlContenido"), QByteArrayLiteral(":"), &hayUrl);
  if (hayDocumentos && hayUrl && b.posicion() - q < 300) {
    e.ruta = desdeWindows1252(paso(b, kComillas, kComilla));
    if (!e.ruta.isEmpty()) e.documento = direccionDocumento(operador, e.ruta);
  }
  return e;
}

VistaDocumento muestrapdf(const QByteArray& cabecera, bool pdfbajado, const QUrl& hallado) {
  if (!pdfbajado && (mayusculas1252(cabecera.left(4)) != QByteArrayLiteral("%PDF") || hallado.isEmpty()))
    return VistaDocumento::NoDisponible;
  return VistaDocumento::Documento;
}

bool esPdf(const QByteArray& cuerpo) { return cuerpo.startsWith(QByteArrayLiteral("%PDF")); }

Resultado guardarDocumento(const QByteArray& cuerpo, const QString& ruta) {
  // A refused body keeps the document already there: it is replaced only by a good one.
  if (!esPdf(cuerpo)) return Resultado::fallo(QStringLiteral("El documento descargado no es un PDF"));
  return reemplazarArchivo(ruta, cuerpo);
}

QString avisoNoDisponible() {
  return QStringLiteral("\r\nATENCIÓN:\r\nLos datos del sorteo aún no están disponibles. Intente más tarde.");
}

QString avisoSinConexion() { return QStringLiteral("No se encuentra conexión a internet.... :("); }

}  // namespace sortilan
