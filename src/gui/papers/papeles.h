#pragma once

#include <QDialog>
#include <QObject>
#include <functional>
#include <utility>

#include "operations/papeles.h"
#include "store/almacen.h"

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QMenuBar;

namespace sortilan::ui {

// The period and the organiser of the papers about to be issued.
class DialogoPapel : public QDialog {
  Q_OBJECT
 public:
  // `titulo` says for whom; the organiser comes filled in from sortilan.ini.
  DialogoPapel(const QString& titulo, const Organizador& organizador, const QDate& hoy, QWidget* padre = nullptr);
  operaciones::PeticionPapel peticion() const;

 private:
  QDateEdit* FechaDesde = nullptr;
  QDateEdit* FechaHasta = nullptr;
  QLineEdit* EditOrganizador = nullptr;
  QLineEdit* EditOrganizadorNif = nullptr;
  QCheckBox* CheckNifSocio = nullptr;
};

// Menu "Socios" of the main window: a member's participation paper, the papers of every
// member playing, and checking a paper's code. `seleccion` gives the peña (record) and
// the member chosen in the tab "Socios", 0 when none.
class Papeles : public QObject {
  Q_OBJECT
 public:
  using Seleccion = std::function<std::pair<int, int>()>;
  Papeles(Almacen& almacen, Seleccion seleccion, QWidget* ventana);

  void anadirMenu(QMenuBar* barra);
  void emitirDelSocio();
  void emitirDeTodos();
  void comprobar();
  // What the window says of a code typed by the user.
  static QString textoComprobacion(const QString& carpeta, const QString& codigo, bool* valido = nullptr);

 signals:
  // A file the user asked for was written at `ruta`.
  void archivoGuardado(const QString& ruta);

 private:
  bool pedirPeriodo(const QString& titulo, operaciones::PeticionPapel& p);

  Almacen& almacen_;
  Seleccion seleccion_;
  QWidget* ventana_;
};

}  // namespace sortilan::ui
