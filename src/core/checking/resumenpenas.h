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

// One row of the peña list.
struct FilaPena {
  QString nombre;    // as stored, 20 characters
  QString apuestas;  // number of simple bets
  QString creacion;  // dd/MM/yyyy
  QString dias;
};

// What detallepena shows of one peña.
struct DetallePena {
  bool corrupta = false;           // the record cannot be read safely: only the bet lines are cleared
  QStringList lineas;              // one line per bet
  int altoTwips = 0;               // height of the bet list
  std::array<QString, 8> premios;  // prizes won in categories 1..8
  QString participados;            // draws taken part in
  QString efectividad;             // prizes over draws, in percent
  DatosGrafico grafico;            // the peña's own chart
};

// The peña manager after resumen: the list and the totals over all peñas.
struct ResumenPenas {
  bool vacio = true;  // the list holds the single row "VACÍO"
  std::vector<FilaPena> filas;
  QString penasRegistradas;  // count of peñas, for the status area
  QString sumaAciertos;      // prizes of all peñas
  QString efectividad;       // prizes over draws played, in percent
  QString sorteos;           // draws played by all peñas
  DatosGrafico grafico;      // the chart of all peñas
};

QString textoVacio();          // "VACÍO"
QString textoPenaCorrupta();   // "Error crítico: fichero apuestas.dat corrupto."
QString tituloPenaCorrupta();  // "¡Vaya hombre!"

// Number of simple bets a peña stands for: its bets, or those of its multiple.
int apuestasSencillas(const Pena& p);

// The line of one bet in the detail list: " 3-12- 5-40-54".
QString lineaApuesta(const Pena& p, int fila, int numeros);

// Height of the detail list for L lines, in twips.
int altoLista(int lineas);

// Efficiency of `premios` over `sorteos` as a percentage with one decimal, ties to even.
QString porcentaje(long long premios, long long sorteos);

ResumenPenas resumen(const std::vector<Pena>& penas, int sorteosjugados);
// `pena` is null when the peña file is empty. `sorteos` are all stored draws.
DetallePena detallepena(const Pena* pena, const std::vector<Sorteo>& sorteos);

}  // namespace sortilan
