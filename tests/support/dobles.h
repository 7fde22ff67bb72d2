#pragma once

#include <QDate>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "base/resultado.h"
#include "platform/plataforma.h"
#include "store/pena.h"

namespace sortilan::prueba {

// A message box that records what it was asked and answers from a script.
struct MensajeVisto {
  plataforma::Icono icono;
  QString titulo;
  QString texto;
  plataforma::Botones botones;
  plataforma::Respuesta predeterminada;  // what Return would have answered
};

class MensajesGuionados : public plataforma::Mensajes {
 public:
  plataforma::Respuesta mostrar(plataforma::Icono icono, const QString& titulo, const QString& texto,
                                plataforma::Botones botones, plataforma::Respuesta predeterminada) override;
  QList<MensajeVisto> vistos;
  QList<plataforma::Respuesta> respuestas;  // taken in order; Aceptar/No when empty
};

class RelojFijo : public plataforma::Reloj {
 public:
  explicit RelojFijo(QDate d) : dia(d) {}
  QDate hoy() const override { return dia; }
  QDate dia;
};

// Pauses that do not wait: the call goes on from the event loop at once; the lengths
// asked for are recorded.
class PausasVistas : public plataforma::Pausas {
 public:
  void esperar(int ms, QObject* contexto, std::function<void()> seguir) override;
  QList<int> vistas;
};

class NavegadorVisto : public plataforma::Navegador {
 public:
  void abrir(const QUrl& u) override { abiertas.append(u); }
  QList<QUrl> abiertas;
};

class DialogoGuionado : public plataforma::DialogoArchivo {
 public:
  QString abrirArchivo(const QString& titulo, const QString& carpeta, const QString& filtro) override;
  QString guardarArchivo(const QString& titulo, const QString& propuesto, const QString& filtro) override;
  QString siguiente;
  QStringList titulos, filtros, carpetas;  // carpetas holds the offered path of a save
};

// Installs fresh doubles for one test: scripted messages, a fixed today, pauses that do
// not wait, a browser and a file dialog that only record, and a temporary data folder.
struct Entorno {
  explicit Entorno(QDate hoy = QDate(2021, 3, 10));
  ~Entorno();
  std::shared_ptr<MensajesGuionados> mensajes;
  std::shared_ptr<RelojFijo> reloj;
  std::shared_ptr<PausasVistas> pausas;
  std::shared_ptr<NavegadorVisto> navegador;
  std::shared_ptr<DialogoGuionado> dialogo;
  QTemporaryDir carpeta;
  QString ruta(const QString& nombre) const { return carpeta.filePath(nombre); }
  // Copies a file of tests/data into the folder.
  void copiar(const QString& dato, const QString& comoNombre = QString()) const;
  void escribir(const QString& nombre, const QByteArray& datos) const;
  QByteArray leer(const QString& nombre) const;
};

// A peña of `tipo` simple bets as the creation writes it: bets 1 2 3 4 5, key 0.
Pena penaConApuestas(const QString& nombre, int tipo, const QDate& creacion);

// Set-up steps of a test must not fail: a failure ends the test run loudly.
void exigir(const Resultado& r);

QString datoPrueba(const QString& nombre);
// The bytes of a file of tests/data.
QByteArray leerDatoPrueba(const QString& nombre);

}  // namespace sortilan::prueba
