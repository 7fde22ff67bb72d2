#include "support/servicioprueba.h"

#include <QDir>
#include <QSettings>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

#include "store/sorteo.h"
#include "support/dobles.h"

namespace sortilan::prueba {

ServicioPrueba::ServicioPrueba() {
  servidor_.listen(QHostAddress::LocalHost, 0);
  connect(&servidor_, &QTcpServer::newConnection, this, [this] {
    while (QTcpSocket* s = servidor_.nextPendingConnection()) {
      connect(s, &QTcpSocket::readyRead, this, [this, s] { atender(s); });
      connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    }
  });
}

QUrl ServicioPrueba::base() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(puerto())); }

void ServicioPrueba::configurar(const QString& carpeta) const {
  QSettings ini(QDir(carpeta).filePath(QStringLiteral("sortilan.ini")), QSettings::IniFormat);
  ini.beginGroup(QStringLiteral("servicios"));
  ini.setValue(QStringLiteral("resultados"), base().toString());
  ini.setValue(QStringLiteral("operador"), base().toString());
  ini.setValue(QStringLiteral("correo"), QStringLiteral("soporte@example.org"));
  ini.endGroup();
  ini.sync();
}

ServicioPrueba::Respuesta ServicioPrueba::responder(const QString& ruta, const QHash<QByteArray, QByteArray>& cab) {
  const bool servicio = ruta.startsWith(QStringLiteral("/servicios/"));
  if (exigirCookie && ruta == QStringLiteral("/")) return {200, "<html>Portada</html>", 0, false};
  if (exigirCookie && servicio && !cab.value("cookie").contains("sesion=ok"))
    return {403, "<HTML><HEAD><TITLE>Access Denied</TITLE></HEAD></HTML>", 0, false};
  if (servicio && !historia.isEmpty()) {
    const QUrlQuery q(QUrl(ruta).query());
    const QDate desde =
        QDate::fromString(q.queryItemValue(QStringLiteral("fechaInicioInclusiva")), QStringLiteral("yyyyMMdd"));
    const QDate hasta =
        QDate::fromString(q.queryItemValue(QStringLiteral("fechaFinInclusiva")), QStringLiteral("yyyyMMdd"));
    QList<SorteoRespuesta> l;
    for (const SorteoRespuesta& s : historia)
      if (s.fecha >= desde && s.fecha <= hasta) l.prepend(s);
    if (l.isEmpty())
      return {200, "\"No se ha encontrado ning\xc3\xban registro para los par\xc3\xa1metros introducidos.\"", 0, false};
    return {200, respuestaSintetica(l, 600), 0, false};
  }
  Respuesta r = defecto;
  for (auto& [prefijo, lista] : porRuta_) {
    if (!ruta.startsWith(prefijo)) continue;
    r = lista.first();
    if (lista.size() > 1) lista.removeFirst();
  }
  return r;
}

void ServicioPrueba::atender(QTcpSocket* s) {
  QByteArray pedido = s->property("pedido").toByteArray() + s->readAll();
  s->setProperty("pedido", pedido);
  if (!pedido.contains("\r\n\r\n") || s->property("atendido").toBool()) return;
  s->setProperty("atendido", true);
  const QList<QByteArray> lineas = pedido.left(pedido.indexOf("\r\n\r\n")).split('\n');
  const QString ruta = QString::fromLatin1(lineas.value(0).split(' ').value(1));
  QHash<QByteArray, QByteArray> cab;
  for (qsizetype i = 1; i < lineas.size(); ++i) {
    const qsizetype dos = lineas[i].indexOf(':');
    if (dos > 0) cab.insert(lineas[i].left(dos).trimmed().toLower(), lineas[i].mid(dos + 1).trimmed());
  }
  pedidas.append(ruta);
  cabeceras.append(cab);
  const Respuesta r = responder(ruta, cab);
  const bool portada = exigirCookie && ruta == QStringLiteral("/");
  auto enviar = [s, r, portada] {
    if (r.cerrar) {
      s->abort();
      return;
    }
    QByteArray cabecera = "HTTP/1.1 " + QByteArray::number(r.estado) + " X\r\n";
    cabecera += "Content-Type: application/json;charset=UTF-8\r\n";
    if (portada) cabecera += "Set-Cookie: sesion=ok; Path=/\r\n";
    cabecera += "Content-Length: " + QByteArray::number(r.cuerpo.size()) + "\r\nConnection: close\r\n\r\n";
    s->write(cabecera + r.cuerpo);
    s->disconnectFromHost();
  };
  if (r.demoraMs > 0)
    QTimer::singleShot(r.demoraMs, s, enviar);
  else
    enviar();
}

quint16 puertoCerrado() {
  QTcpServer s;
  s.listen(QHostAddress::LocalHost, 0);
  const quint16 p = s.serverPort();
  s.close();
  return p;
}

QByteArray respuestaSintetica(const QList<SorteoRespuesta>& sorteos, int largo, bool conParentesis) {
  QByteArray out = "[";
  for (qsizetype i = 0; i < sorteos.size(); ++i) {
    const SorteoRespuesta& s = sorteos[i];
    const QByteArray fecha = s.fecha.toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    QByteArray o = "{\"fecha_sorteo\":\"" + fecha + " 00:00:00\",\"dia_semana\":\"domingo\",\"combinacion\":\"" +
                   s.combinacion.toLatin1() + (conParentesis ? " (" : " R(") + QByteArray::number(s.clave) +
                   ")\",\"escrutinio\":[";
    for (int c = 1; c <= 9; ++c)
      o += "{\"tipo\":\"" + QByteArray::number(c) +
           "\xc2\xaa Categor\xc3\xad"
           "a\",\"categoria\":" +
           QByteArray::number(c) + ",\"premio\":\"" + QByteArray::number(1000 * (10 - c) + i) + ".50\"},";
    o.chop(1);
    o += "],\"contenidosRelacionados\":{\"relleno\":\"";
    o += QByteArray(std::max<qsizetype>(0, largo - o.size() - 80), 'x');
    // The document list closes the object, so the array ends with "]}}]" as the service's does.
    o += "\",\"documentos\":[{\"tituloRelacion\":\"Acta\",\"urlContenido\":\"/documentos/acta-" + fecha + ".pdf\"}]}}";
    out += o;
    if (i + 1 < sorteos.size()) out += ",";
  }
  out += "]";
  return out;
}

QList<SorteoRespuesta> historiaRespuesta() {
  const QByteArray datos = leerDatoPrueba(QStringLiteral("numeros.dat"));
  QList<SorteoRespuesta> l;
  for (qsizetype off = 0; off + Sorteo::kTamano <= datos.size(); off += Sorteo::kTamano) {
    const Sorteo s = Sorteo::decodificar(datos.constData() + off);
    QStringList n;
    for (int i = 1; i <= 5; ++i) n << QStringLiteral("%1").arg(s.numero(i), 2, 10, QLatin1Char('0'));
    l.append({QDate(1899, 12, 30).addDays(static_cast<qint64>(s.fecha)), n.join(QStringLiteral(" - ")), s.clave()});
  }
  return l;
}

void CanalGuionado::responder(const QByteArray& cuerpo, int estadoFinal) {
  ocupado_ = false;
  error_ = estadoFinal == kError;
  plataforma::Traida t;
  t.ok = true;
  t.cuerpo = cuerpo;
  t.recibidos = cuerpo.size();
  emit estado(estadoFinal);
  emit terminado(t);
}

void CanalGuionado::fallar() {
  ocupado_ = false;
  error_ = true;
  plataforma::Traida t;
  t.error = QStringLiteral("sin conexión");
  emit estado(kError);
  emit terminado(t);
}

}  // namespace sortilan::prueba
