#include "operations/sorteos.h"

#include <QFileInfo>
#include <cmath>

#include "base/fechas.h"
#include "checking/cuenta.h"
#include "operations/transaccion.h"
#include "platform/plataforma.h"
#include "session/errorpermiso.h"

namespace sortilan::operaciones {

using plataforma::Icono;

const QString kNoValido =
    QStringLiteral("Fichero de sorteos no válido. Compruebe que el archivo NUMEROS.DAT sea para Sortilan.");
const QString kImportado = QStringLiteral("Archivo de sorteos importado con éxito");
const QString kPreguntaBorrarTodos = QStringLiteral("¿Seguro que quieres borrar todos los sorteos?");
const QString kPreguntaAciertos = QStringLiteral(
    "¿Quiere borrar también los aciertos de las peñas?. Si ha borrado los sorteos, se aconseja que se resetee "
    "también los resultados de las peñas y la fecha de creación pasará a ser la de hoy.");
const QString kDineroConservado = QStringLiteral(
    "El dinero de las peñas (el coste de los sorteos jugados, los cobros y los repartos) y los saldos "
    "de los socios se conservan.");
const QString kPreguntaBorrarUno = QStringLiteral("¿Seguro que quieres eliminar este sorteo?");
const QString kDanado = QStringLiteral("Archivo de números ganadores no válido. ¡Se perderán los sorteos grabados!.");
const QString kTituloDanado = QStringLiteral("Error de lectura");

namespace {

const QString kVaya = QStringLiteral("¡Vaya hombre!");

Resultado danado() {
  return Resultado::fallo(QStringLiteral("Archivo de números ganadores no válido: no se ha cambiado nada."));
}

// Draws first, counters second; where draws go away, their prizes leave the counters
// before the draws do.
// `bytes`, when given, are written instead of the encoded draws (an import keeps the file
// as it came, reserved slots included).
Resultado cambiarSorteos(Transaccion& t, const std::vector<Sorteo>& nuevos, const QByteArray* bytes = nullptr) {
  // Counts already held from a damaged file cannot be taken back draw by draw: they stay.
  const Recuento c = recontar(t.penas, t.sorteosDanados ? nuevos : t.sorteos, nuevos);
  if (c.retrocede)
    if (Resultado r = t.escribirPenas(c.retrocedidas); !r) return r;
  const Resultado escrito = bytes ? t.escribir(t.almacen.sorteos().ruta(), *bytes) : t.escribirSorteos(nuevos);
  if (!escrito) return escrito;
  if (c.cambia) return t.escribirPenas(c.finales);
  return Resultado::bien();
}

Importacion falloImporte(int numero, Resultado::Clase clase) {
  return {Importe::Fallo, Resultado::fallo(clase, kNoValido + QStringLiteral(" Error ") + QString::number(numero))};
}

QString nombreApartado(int n) {
  return n == 1 ? QLatin1String(Almacen::kSorteosErr) : QStringLiteral("numeros.%1.err").arg(n);
}

// Keeps the damaged draw file under the first name not yet used: an earlier copy set
// aside is never replaced.
Resultado apartar(Transaccion& t, QString* archivo) {
  QByteArray danados;
  if (Resultado r =
          leerAcotado(t.almacen.sorteos().ruta(), static_cast<qint64>(Sorteo::kTamano) * Sorteo::kMaximo, danados);
      !r)
    return r;
  for (int n = 1; n < 10000; ++n) {
    bool existia = false;
    *archivo = nombreApartado(n);
    Resultado r = t.crearNuevo(t.almacen.ruta(*archivo), danados, &existia);
    if (r || !existia) return r;
  }
  // The damaged file stays where it is, refused: nothing is read from it.
  return Resultado::fallo(Resultado::Clase::Danado, QStringLiteral("Hay demasiadas copias de numeros.dat apartadas."));
}

}  // namespace

bool validoParaImportar(const Sorteo& primero) {
  if (!std::isfinite(primero.fecha) || std::floor(primero.fecha) <= 1) return false;
  return diasemana(primero.fecha) == QStringLiteral("Domingo");
}

void avisarImportacion(const Importacion& i) {
  if (i.estado == Importe::Importado)
    plataforma::mensaje(Icono::Informacion, QStringLiteral("Todos los sorteos"), kImportado);
  else if (i.resultado.permiso)
    errorpermiso();
  else
    plataforma::mensaje(Icono::Exclamacion, kVaya, i.resultado.error);
}

Importacion importarSorteos(Almacen& almacen, const QString& archivo) {
  // Never more than the record counter can number: a pipe, a device or a huge file is
  // refused without reading it whole.
  constexpr qint64 kMaximo = static_cast<qint64>(kMaximoSorteos) * Sorteo::kTamano;
  const QFileInfo info(archivo);
  if (!info.exists()) return falloImporte(kErrNoEncontrado, Resultado::Clase::Entrada);
  bool leido = false;
  QByteArray bytes = leerArchivoAcotado(archivo, kMaximo, &leido);
  if (!leido && info.isFile()) return falloImporte(kErrAcceso, Resultado::Clase::Permiso);
  const bool grande = bytes.size() > kMaximo;
  bytes.truncate(bytes.size() - bytes.size() % Sorteo::kTamano);
  std::vector<Sorteo> nuevos;
  for (qsizetype off = 0; off < bytes.size(); off += Sorteo::kTamano)
    nuevos.push_back(Sorteo::decodificar(bytes.constData() + off));
  if (!leido || grande || nuevos.empty() || !validoParaImportar(nuevos.front()) || primerSorteoDanado(nuevos) >= 0) {
    return {Importe::NoValido, Resultado::fallo(Resultado::Clase::Entrada, kNoValido)};
  }

  Resultado r;
  {
    Transaccion t(almacen);
    r = t.empezar();
    if (r) {
      // The backup is the way back: it is made only from a sound, non-empty file, and
      // a damaged current file is kept apart rather than lost.
      if (!t.sorteos.empty() && !t.sorteosDanados) {
        r = t.escribir(almacen.ruta(Almacen::kSorteosBak), ArchivoDe<Sorteo>::codificar(t.sorteos));
      } else if (t.sorteosDanados) {
        QString apartado;
        r = apartar(t, &apartado);
      }
      if (r) r = cambiarSorteos(t, nuevos, &bytes);
      r = t.terminar(r);
    }
  }
  if (!r) return {Importe::Fallo, r};
  return {Importe::Importado, Resultado::bien()};
}

Resultado borrarSorteo(Almacen& almacen, const Sorteo& cual) {
  Transaccion t(almacen);
  if (Resultado r = t.empezar(); !r) return r;
  if (t.sorteosDanados) return danado();
  std::vector<Sorteo> nuevos = t.sorteos;
  const auto it = std::find_if(nuevos.begin(), nuevos.end(), [&](const Sorteo& s) { return s.mismoResultado(cual); });
  if (it == nuevos.end())
    return Resultado::fallo(
        QStringLiteral("El sorteo del %1 ya no está en la base de datos: otro programa la ha cambiado.")
            .arg(fechaCorta(cual.fecha)));
  nuevos.erase(it);
  return t.terminar(cambiarSorteos(t, nuevos));
}

std::optional<Sorteo> sorteoDelDia(Almacen& almacen, const QDate& fecha) {
  const std::vector<Sorteo> todos = almacen.sorteos().leerTodos();
  const double buscada = oleDesdeFecha(fecha);
  for (auto s = todos.rbegin(); s != todos.rend(); ++s)
    if (std::isfinite(s->fecha) && std::floor(s->fecha) == buscada) return *s;
  return std::nullopt;
}

Resultado borrarSorteos(Almacen& almacen) {
  Transaccion t(almacen);
  if (Resultado r = t.empezar(); !r) return r;
  return t.terminar(cambiarSorteos(t, {}));
}

Anadidos anadirSorteosEn(Transaccion& t, const std::vector<Sorteo>& nuevos, const QDate& hoy) {
  if (t.sorteosDanados) return {danado()};
  std::vector<Sorteo> todos = t.sorteos;
  int aceptados = 0;
  QString rechazo;
  const double hasta = oleDesdeFecha(hoy);
  for (const Sorteo& s : nuevos) {
    const QString dia = std::isfinite(s.fecha) ? fechaCorta(s.fecha) : QStringLiteral("?");
    if (!s.registroSano())
      rechazo = QStringLiteral("El sorteo del %1 no es válido.").arg(dia);
    else if (!todos.empty() && !(s.fecha > todos.back().fecha))
      rechazo = QStringLiteral("El sorteo del %1 no es posterior al último guardado.").arg(dia);
    else if (s.fecha > hasta)
      rechazo = QStringLiteral("El sorteo del %1 tiene fecha posterior a hoy.").arg(dia);
    else if (static_cast<int>(todos.size()) >= kMaximoSorteos)
      rechazo = QStringLiteral("El fichero de sorteos está lleno: no caben más de %1.").arg(kMaximoSorteos);
    if (!rechazo.isEmpty()) break;
    todos.push_back(s);
    ++aceptados;
  }
  if (aceptados > 0)
    if (Resultado r = cambiarSorteos(t, todos); !r) return {r, 0};
  return {rechazo.isEmpty() ? Resultado::bien() : Resultado::fallo(Resultado::Clase::Entrada, rechazo), aceptados};
}

Anadidos anadirSorteos(Almacen& almacen, const std::vector<Sorteo>& nuevos, const QDate& hoy) {
  Transaccion t(almacen);
  if (Resultado r = t.empezar(); !r) return {r};
  Anadidos a = anadirSorteosEn(t, nuevos, hoy);
  if (a.anadidos == 0) return a;
  // The draws before a refused one stay.
  if (Resultado r = t.confirmar(); !r) return {r, 0};
  return a;
}

Apartado apartarSorteosDanados(Almacen& almacen) {
  Apartado a;
  // Another program may have mended it since it was found: then there is nothing to say.
  // A change cut short may have left a state that is neither: it is finished first.
  if (a.resultado = terminarCambioCortado(almacen); !a.resultado) return a;
  // A file that cannot be read at all (a device, too large) is not set aside: the
  // reason is told and the file left alone.
  std::vector<Sorteo> sorteos;
  bool danado = false;
  a.resultado = almacen.leerSorteos(sorteos, &danado);
  if (!a.resultado || !danado) return a;
  a.danado = true;
  Transaccion t(almacen);
  a.resultado = t.empezar();
  if (!a.resultado || !t.sorteosDanados) return a;
  a.resultado = apartar(t, &a.archivo);
  // The counters stay: what a damaged file held cannot be taken back draw by draw.
  if (a.resultado) a.resultado = t.escribirSorteos({});
  a.resultado = t.terminar(a.resultado);
  a.apartado = static_cast<bool>(a.resultado);
  return a;
}

}  // namespace sortilan::operaciones
