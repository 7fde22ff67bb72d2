#pragma once

#include <QDate>
#include <QString>
#include <functional>

#include "session/sesion.h"

namespace sortilan {

// Draw maintenance: importing a draw file, deleting one draw or all of them, and
// resetting the peñas' results. Every replacement of the draw file goes through a
// temporary file and an atomic rename, so a failure leaves the old draws in place.
class Mantenimiento {
 public:
  explicit Mantenimiento(Sesion& sesion) : sesion_(sesion) {}

  // Steps of the window that follow a change; the command line leaves them empty.
  std::function<void()> cargasorteos;
  std::function<void()> refresca;
  std::function<void(int fila)> quitarFila;  // takes row k (1 = newest) out of the draw list

  enum class Importe { Importado, Cancelado, NoValido, Fallo };

  // "Añadir todos los sorteos": asks for the file, then imports it.
  Importe importarConDialogo();
  // Checks record 1 of `archivo`, keeps the current draws as numeros.bak and puts the
  // file in place of numeros.dat. A refused or failed import changes nothing.
  Importe importar(const QString& archivo);

  // "Borrar todos los sorteos" with its two questions; turns the row-deletion switch on.
  void borrarTodos();
  bool borradoFilas() const { return borradoFilas_; }

  // A click on row k of the draw list (1 = newest): while the switch is on, offers to
  // delete that draw. True when it was deleted.
  bool borrarFila(int fila);

  // The operations themselves, without questions.
  static bool validoParaImportar(const Sorteo& primero);
  static Resultado eliminarSorteo(Almacen& almacen, int registro);
  static Resultado vaciarSorteos(Almacen& almacen);
  // Newest record dated `fecha`, 0 when there is none.
  static int buscarSorteo(Almacen& almacen, const QDate& fecha);

  // Error numbers of the import's failure message.
  static constexpr int kErrNoEncontrado = 53;
  static constexpr int kErrAcceso = 75;

  static const QString kTituloDialogo;
  static const QString kFiltroDialogo;
  static const QString kPreguntaTienda;
  static const QString kNoValido;
  static const QString kImportado;
  static const QString kPreguntaBorrarTodos;
  static const QString kPreguntaAciertos;
  static const QString kPreguntaBorrarUno;

 private:
  void falloImporte(int numero) const;
  void falloEscritura(const Resultado& r) const;
  void avisar(const std::function<void()>& paso) const {
    if (paso) paso();
  }

  Sesion& sesion_;
  bool borradoFilas_ = false;
};

}  // namespace sortilan
