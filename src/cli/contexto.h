#pragma once

#include <QDate>
#include <QJsonValue>
#include <QStringList>
#include <QTextStream>
#include <vector>

#include "notices/avisos.h"
#include "session/sesion.h"

namespace sortilan::cli {

// Exit codes of the command line.
enum Salida { kBien = 0, kRechazo = 1, kUso = 2 };

struct Contexto {
  QString carpeta;
  Sesion sesion;
  QTextStream out;
  QTextStream err;
  Contexto();

  // Opens the data folder and runs the load (counting, status, peñas). A draw or peña
  // file that cannot be read, or a damaged peña file, is told on stderr and makes the
  // order end in failure (`lecturaFallida`) unless `apartaDanados` (comprobar puts the
  // damaged file aside itself).
  EstadoSorteos cargar();
  // cargar() for an order that only reads: false when what it would show could not be
  // read whole, so that it prints nothing before its refusal.
  bool leer() {
    cargar();
    return !lecturaFallida;
  }
  bool lecturaFallida = false;
  bool apartaDanados = false;
  // Takes --flag out of the arguments; true when it was there.
  static bool tomarOpcion(QStringList& args, const QString& opcion);
  // Takes "--opcion VALOR"; empty when absent. `falta` is set when the value is missing.
  static QString tomarValor(QStringList& args, const QString& opcion, bool* falta = nullptr);
  int uso(const QString& texto);
  // A damaged draw file met by an order that only reads: said, and left as it is.
  int sorteosDanados();
};

// Pieces the orders share.
// "AAAA-MM-DD"; invalid when written otherwise.
QDate leerFecha(const QString& texto);
QJsonValue fechaONula(const QDate& d);
// A number of 1 or more, or 0.
int positivo(const QString& texto);
// "--opcion AAAA-MM-DD" into `d`, `porDefecto` when absent; false when written wrong or
// without a value.
bool fechaOpcion(QStringList& args, const QString& opcion, QDate& d, const QDate& porDefecto);
// A paper written whole to a file of the user's, anywhere; false, said on stderr, when
// it could not be painted or written.
bool guardar(Contexto& c, const QString& ruta, const QByteArray& datos);
// A deleted peña ("B1") given as the K of an order that would change it or that does not
// read deleted peñas: told on stderr, true. `args` are what is left once options are taken.
bool borradaRechazada(Contexto& c, const QStringList& args);
// A failure told on stderr (the permission text first when it is one): the exit status.
int rechazo(Contexto& c, const Resultado& r);

// The exit status of an operation's result, its failure told on stderr.
int informar(Contexto& c, const Resultado& r);

using Orden = int (*)(Contexto&, QStringList);

int ordenSorteos(Contexto& c, QStringList args);
int ordenEstado(Contexto& c, QStringList args);
int ordenImprimir(Contexto& c, QStringList args);
int ordenEstadisticas(Contexto& c, QStringList args);
int ordenPenas(Contexto& c, QStringList args);
int ordenCrear(Contexto& c, QStringList args);
int ordenBorrarPena(Contexto& c, QStringList args);
int ordenComprobar(Contexto& c, QStringList args);
int ordenResumen(Contexto& c, QStringList args);
int ordenImportar(Contexto& c, QStringList args);
int ordenBorrarSorteo(Contexto& c, QStringList args);
int ordenBorrarSorteos(Contexto& c, QStringList args);
int ordenReiniciarPenas(Contexto& c, QStringList args);
int ordenDescargar(Contexto& c, QStringList args);
int ordenAvisos(Contexto& c, QStringList args);
// Tells on the desktop (and on stdout) `previos` and every notice still pending, and
// remembers the ones the desktop received.
int enviarAvisos(Contexto& c, std::vector<Aviso> previos);
int ordenEscrutinio(Contexto& c, QStringList args);
int ordenAnadirSorteo(Contexto& c, QStringList args);
int ordenImportarCsv(Contexto& c, QStringList args);
int ordenExportarCsv(Contexto& c, QStringList args);
int ordenBalance(Contexto& c, QStringList args);
int ordenCobros(Contexto& c, QStringList args);
int ordenCobrar(Contexto& c, QStringList args);
int ordenCompletarPremios(Contexto& c, QStringList args);
int ordenSocios(Contexto& c, QStringList args);
int ordenAltaSocio(Contexto& c, QStringList args);
int ordenBajaSocio(Contexto& c, QStringList args);
int ordenParticipaciones(Contexto& c, QStringList args);
int ordenAportacion(Contexto& c, QStringList args);
int ordenPago(Contexto& c, QStringList args);
int ordenPapel(Contexto& c, QStringList args);
int ordenPapelesSorteo(Contexto& c, QStringList args);
int ordenVerificar(Contexto& c, QStringList args);
int ordenAnularPapel(Contexto& c, QStringList args);
int ordenPapeles(Contexto& c, QStringList args);
int ordenReparto(Contexto& c, QStringList args);
int ordenExtracto(Contexto& c, QStringList args);
int ordenDocumentoReparto(Contexto& c, QStringList args);
int ordenAnular(Contexto& c, QStringList args);
int ordenAnularReparto(Contexto& c, QStringList args);

}  // namespace sortilan::cli
