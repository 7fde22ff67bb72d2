#include "main/mantenimiento.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

#include "base/fechas.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "session/errorpermiso.h"
#include "store/escritura.h"

namespace sortilan {

using plataforma::Botones;
using plataforma::Icono;
using plataforma::Respuesta;

const QString Mantenimiento::kTituloDialogo = QStringLiteral("Seleccione el archivo NUMEROS.DAT");
const QString Mantenimiento::kFiltroDialogo = QStringLiteral("Archivos de sorteos (numeros.dat)");
const QString Mantenimiento::kPreguntaTienda = QStringLiteral(
    "No se ha seleccionado ningún archivo. Recuerde que puede disponer de TODOS LOS SORTEOS DESDE LA CREACIÓN DEL "
    "GORDO DE LA PRIMITIVA, obteniéndolo desde nuestra tienda virtual. ¿Quiere ir?");
const QString Mantenimiento::kNoValido =
    QStringLiteral("Fichero de sorteos no válido. Compruebe que el archivo NUMEROS.DAT sea para Sortilan.");
const QString Mantenimiento::kImportado = QStringLiteral("Archivo de sorteos importado con éxito");
const QString Mantenimiento::kPreguntaBorrarTodos = QStringLiteral("¿Seguro que quieres borrar todos los sorteos?");
const QString Mantenimiento::kPreguntaAciertos = QStringLiteral(
    "¿Quiere borrar también los aciertos de las peñas?. Si ha borrado los sorteos, se aconseja que se resetee "
    "también los resultados de las peñas y la fecha de creación pasará a ser la de hoy.");
const QString Mantenimiento::kPreguntaBorrarUno = QStringLiteral("¿Seguro que quieres eliminar este sorteo?");

namespace {
const QString kVaya = QStringLiteral("¡Vaya hombre!");
const QString kBorrar = QStringLiteral("Borrar...");

// Return answers No unless the question only offers something harmless.
bool pregunta(const QString& titulo, const QString& texto, Respuesta predeterminada = Respuesta::No) {
  return plataforma::mensaje(Icono::Pregunta, titulo, texto, Botones::SiNo, predeterminada) == Respuesta::Si;
}

void informar(const Resultado& r) {
  if (!r && r.permiso) errorpermiso();
}
}  // namespace

bool Mantenimiento::validoParaImportar(const Sorteo& primero) {
  if (!std::isfinite(primero.fecha) || std::floor(primero.fecha) <= 1) return false;
  return diasemana(primero.fecha) == QStringLiteral("Domingo");
}

void Mantenimiento::falloEscritura(const Resultado& r) const {
  // A folder that cannot be written is a permission problem, not a bad file.
  if (r.permiso)
    errorpermiso();
  else
    falloImporte(kErrAcceso);
}

void Mantenimiento::falloImporte(int numero) const {
  plataforma::mensaje(Icono::Exclamacion, kVaya, kNoValido + QStringLiteral(" Error ") + QString::number(numero));
}

Mantenimiento::Importe Mantenimiento::importarConDialogo() {
  const QString archivo =
      plataforma::dialogoArchivo().abrirArchivo(kTituloDialogo, plataforma::carpetaInicialDialogo(), kFiltroDialogo);
  if (archivo.isEmpty()) {
    if (pregunta(QStringLiteral("Sortilan"), kPreguntaTienda, Respuesta::Si))
      plataforma::navegador().abrir(
          plataforma::servicios().delFabricante(QStringLiteral("/tienda.html"), QStringLiteral("Sorteos")));
    return Importe::Cancelado;
  }
  return importar(archivo);
}

Mantenimiento::Importe Mantenimiento::importar(const QString& archivo) {
  QFile elegido(archivo);
  if (!elegido.open(QIODevice::ReadOnly)) {
    falloImporte(elegido.exists() ? kErrAcceso : kErrNoEncontrado);
    return Importe::Fallo;
  }
  const QByteArray nuevos = elegido.readAll();
  if (elegido.error() != QFileDevice::NoError) {
    falloImporte(kErrAcceso);
    return Importe::Fallo;
  }
  elegido.close();

  // Only record 1 is judged; an empty or short file reads as a zero record.
  const Sorteo primero = nuevos.size() >= Sorteo::kTamano ? Sorteo::decodificar(nuevos.constData()) : Sorteo{};
  if (!validoParaImportar(primero)) {
    plataforma::mensaje(Icono::Exclamacion, kVaya, kNoValido);
    return Importe::NoValido;
  }

  Almacen& almacen = sesion_.almacen();
  bool leido = false;
  const QByteArray actuales = leerArchivo(almacen.ruta(Almacen::kSorteos), &leido);
  if (!leido) {
    falloImporte(kErrAcceso);
    return Importe::Fallo;
  }
  // Without a backup the draws are not replaced: the backup is the way back.
  if (Resultado r = reemplazarArchivo(almacen.ruta(Almacen::kSorteosBak), actuales); !r) {
    falloEscritura(r);
    return Importe::Fallo;
  }
  almacen.sorteos().cerrar();
  const Resultado r = reemplazarArchivo(almacen.ruta(Almacen::kSorteos), nuevos, almacen.ruta(Almacen::kSorteosTmp));
  const Resultado reabierto = almacen.sorteos().abrir(almacen.ruta(Almacen::kSorteos));
  if (!r || !reabierto) {
    falloEscritura(r ? reabierto : r);
    return Importe::Fallo;
  }
  plataforma::mensaje(Icono::Informacion, QStringLiteral("Todos los sorteos"), kImportado);
  avisar(cargasorteos);
  avisar(refresca);
  return Importe::Importado;
}

void Mantenimiento::borrarTodos() {
  borradoFilas_ = true;
  if (pregunta(kBorrar, kPreguntaBorrarTodos)) {
    const Resultado r = vaciarSorteos(sesion_.almacen());
    if (!r) return informar(r);
    avisar(cargasorteos);
    avisar(refresca);
  }
  if (pregunta(kBorrar, kPreguntaAciertos)) {
    const Resultado r = sesion_.almacen().reiniciarResultados(plataforma::hoy());
    if (!r) return informar(r);
    avisar(cargasorteos);
  }
}

bool Mantenimiento::borrarFila(int fila) {
  if (!borradoFilas_) return false;
  if (!pregunta(kBorrar, kPreguntaBorrarUno)) return false;
  const int registro = sesion_.proximoreg - fila;
  const Resultado r = eliminarSorteo(sesion_.almacen(), registro);
  if (!r) {
    informar(r);
    return false;
  }
  // The row goes only once the file no longer holds the draw.
  if (quitarFila) quitarFila(fila);
  sesion_.proximoreg -= 1;
  avisar(cargasorteos);
  return true;
}

Resultado Mantenimiento::eliminarSorteo(Almacen& almacen, int registro) {
  std::vector<Sorteo> todos = almacen.sorteos().leerTodos();
  if (registro < 1 || registro > static_cast<int>(todos.size()))
    return Resultado::fallo(QStringLiteral("El sorteo %1 no existe.").arg(registro));
  todos.erase(todos.begin() + (registro - 1));
  return almacen.sorteos().reemplazar(todos, almacen.ruta(Almacen::kSorteosTmp));
}

Resultado Mantenimiento::vaciarSorteos(Almacen& almacen) {
  return almacen.sorteos().reemplazar({}, almacen.ruta(Almacen::kSorteosTmp));
}

int Mantenimiento::buscarSorteo(Almacen& almacen, const QDate& fecha) {
  const std::vector<Sorteo> todos = almacen.sorteos().leerTodos();
  const double buscada = oleDesdeFecha(fecha);
  for (int i = static_cast<int>(todos.size()); i >= 1; --i) {
    const double f = todos[static_cast<size_t>(i - 1)].fecha;
    if (std::isfinite(f) && std::floor(f) == buscada) return i;
  }
  return 0;
}

}  // namespace sortilan
