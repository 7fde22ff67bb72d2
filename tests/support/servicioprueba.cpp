#include "support/servicioprueba.h"

#include <QDir>
#include <QSettings>
#include <QTcpSocket>
#include <QTimer>

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

void ServicioPrueba::atender(QTcpSocket* s) {
  QByteArray pedido = s->property("pedido").toByteArray() + s->readAll();
  s->setProperty("pedido", pedido);
  if (!pedido.contains("\r\n\r\n") || s->property("atendido").toBool()) return;
  s->setProperty("atendido", true);
  const QByteArray linea = pedido.left(pedido.indexOf("\r\n"));
  const QString ruta = QString::fromLatin1(linea.split(' ').value(1));
  pedidas.append(ruta);
  Respuesta r = defecto;
  for (const auto& [prefijo, resp] : porRuta_)
    if (ruta.startsWith(prefijo)) r = resp;
  auto enviar = [s, r] {
    if (r.cerrar) {
      s->abort();
      return;
    }
    QByteArray cabecera = "HTTP/1.1 " + QByteArray::number(r.estado) + " X\r\n";
    cabecera += "Content-Type: application/json;charset=UTF-8\r\n";
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
