#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "store/pena.h"
#include "store/sorteo.h"

namespace sortilan {

// The two values of a peña chart: draws without a prize and prizes. The summary of an
// empty peña file leaves the second one empty.
struct DatosGrafico {
  double sinPremio = 0;
  std::optional<double> premios = 0.0;
  bool operator==(const DatosGrafico&) const = default;
};

// One row of the peña list ListView1.
struct FilaPena {
  QString nombre;    // as stored, 20 characters
  QString apuestas;  // number of simple bets
  QString creacion;  // dd/MM/yyyy
  QString dias;
};

// What detallepena shows of one peña.
struct DetallePena {
  bool corrupta = false;           // the record cannot be read safely: only List1 is cleared
  QStringList lineas;              // List1
  int altoTwips = 0;               // List1 height
  std::array<QString, 8> premios;  // Label3(0..7)
  QString participados;            // Label17
  QString efectividad;             // Label16
  DatosGrafico grafico;            // MSChart3
};

// The peña manager after resumen: the list and the totals over all peñas.
struct ResumenPenas {
  bool vacio = true;  // ListView1 holds the single row "VACÍO"
  std::vector<FilaPena> filas;
  QString penasRegistradas;  // Label9(2)
  QString sumaAciertos;      // Label13
  QString efectividad;       // Text4
  QString sorteos;           // Text5
  DatosGrafico grafico;      // MSChart2
};

QString textoVacio();          // "VACÍO"
QString textoPenaCorrupta();   // "Error crítico: fichero apuestas.dat corrupto."
QString tituloPenaCorrupta();  // "¡Vaya hombre!"

// Number of simple bets a peña stands for: its bets, or those of its multiple.
int apuestasSencillas(const Pena& p);

// The line of one bet in List1: " 3-12- 5-40-54".
QString lineaApuesta(const Pena& p, int fila, int numeros);

// List1 height for L lines, in twips.
int altoLista(int lineas);

// Efficiency of `premios` over `sorteos` as a percentage with one decimal, ties to even.
QString porcentaje(long long premios, long long sorteos);

ResumenPenas resumen(const std::vector<Pena>& penas, int sorteosjugados);
// `pena` is null when the peña file is empty. `sorteos` are all stored draws.
DetallePena detallepena(const Pena* pena, const std::vector<Sorteo>& sorteos);

}  // namespace sortilan
