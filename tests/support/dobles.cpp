#include "support/dobles.h"

#include <QFile>
#include <QTimer>

#include "store/almacen.h"

namespace sortilan::prueba {

plataforma::Respuesta MensajesGuionados::mostrar(plataforma::Icono icono, const QString& titulo, const QString& texto,
                                                 plataforma::Botones botones, plataforma::Respuesta predeterminada) {
  vistos.append({icono, titulo, texto, botones, predeterminada});
  if (!respuestas.isEmpty()) return respuestas.takeFirst();
  return botones == plataforma::Botones::SiNo ? plataforma::Respuesta::No : plataforma::Respuesta::Aceptar;
}

void PausasVistas::esperar(int ms, QObject* contexto, std::function<void()> seguir) {
  vistas.append(ms);
  QTimer::singleShot(0, contexto, std::move(seguir));
}

QString DialogoGuionado::abrirArchivo(const QString& titulo, const QString& carpeta, const QString& filtro) {
  titulos.append(titulo);
  carpetas.append(carpeta);
  filtros.append(filtro);
  return siguiente;
}

QString DialogoGuionado::guardarArchivo(const QString& titulo, const QString& propuesto, const QString& filtro) {
  return abrirArchivo(titulo, propuesto, filtro);
}

Entorno::Entorno(QDate hoy)
    : mensajes(std::make_shared<MensajesGuionados>()),
      reloj(std::make_shared<RelojFijo>(hoy)),
      pausas(std::make_shared<PausasVistas>()),
      navegador(std::make_shared<NavegadorVisto>()),
      dialogo(std::make_shared<DialogoGuionado>()) {
  plataforma::ponerMensajes(mensajes);
  plataforma::ponerReloj(reloj);
  plataforma::ponerPausas(pausas);
  plataforma::ponerNavegador(navegador);
  plataforma::ponerDialogoArchivo(dialogo);
  plataforma::ponerCarpetaPrograma(carpeta.path());
}

Entorno::~Entorno() { plataforma::ponerCarpetaPrograma(QString()); }

void Entorno::copiar(const QString& dato, const QString& comoNombre) const {
  const QString destino = ruta(comoNombre.isEmpty() ? dato : comoNombre);
  QFile::remove(destino);
  QFile::copy(datoPrueba(dato), destino);
  QFile::setPermissions(destino, QFile::ReadOwner | QFile::WriteOwner);
}

void Entorno::escribir(const QString& nombre, const QByteArray& datos) const {
  QFile f(ruta(nombre));
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(datos);
}

QByteArray Entorno::leer(const QString& nombre) const {
  QFile f(ruta(nombre));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void exigir(const Resultado& r) {
  if (!r) qFatal("Paso previo de la prueba fallido: %s", qUtf8Printable(r.error));
}

QString datoPrueba(const QString& nombre) { return QStringLiteral(SORTILAN_TEST_DATA "/") + nombre; }

QByteArray leerDatoPrueba(const QString& nombre) {
  QFile f(datoPrueba(nombre));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Pena penaConApuestas(const QString& nombre, int tipo, const QDate& creacion) {
  Pena p = nuevaPena(nombre, tipo, creacion);
  for (int f = 1; f <= tipo; ++f)
    for (int i = 1; i <= 5; ++i) p.ponerApuesta(i, f, static_cast<int16_t>(i));
  p.ponerApuesta(6, 1, 0);
  return p;
}

}  // namespace sortilan::prueba
