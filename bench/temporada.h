#pragma once

// The seasons the money benchmarks run on: the real 1,114-draw history with 50 peñas
// times `escala` (four of five of 24 simple bets, one of five a multiple of 6 to 11
// numbers), a prize table for every draw and some collections marked.

#include <QDate>
#include <algorithm>
#include <random>
#include <vector>

#include "base/fechas.h"
#include "members/socios.h"
#include "money/registrodinero.h"
#include "store/almacen.h"
#include "store/archivoregistros.h"

namespace temporada {

using namespace sortilan;

inline std::vector<Sorteo> historia() {
  ArchivoDe<Sorteo> f;
  f.abrir(QStringLiteral(SORTILAN_TEST_DATA "/numeros.dat"));
  return f.leerTodos();
}

struct Temporada {
  std::vector<Sorteo> sorteos;
  std::vector<Pena> penas;
  TablasPremios tablas;
  CobrosMarcados marcados;
  std::vector<std::optional<qint64>> ids;
  QDate hoy;
};

inline std::vector<int> distintos(std::mt19937& g, int n) {
  std::vector<int> r;
  while (static_cast<int>(r.size()) < n) {
    const int x = static_cast<int>(g() % 54) + 1;
    if (std::find(r.begin(), r.end(), x) == r.end()) r.push_back(x);
  }
  std::sort(r.begin(), r.end());
  return r;
}

inline Temporada crear(int escala, unsigned semilla = 1) {
  std::mt19937 g(semilla);
  Temporada t;
  t.sorteos = historia();
  const QDate primero = fechaDesdeOle(t.sorteos.front().fecha);
  t.hoy = fechaDesdeOle(t.sorteos.back().fecha).addDays(10);
  const int cuantas = 50 * escala;
  for (int k = 0; k < cuantas; ++k) {
    const bool multiple = k % 5 == 4;
    const int tipo = multiple ? 101 + static_cast<int>(g() % 6) : 24;
    // Most peñas play the whole history; some start later.
    const QDate creacion = k % 3 == 0 ? primero.addDays(static_cast<int>(g() % 3000)) : primero.addDays(-1);
    Pena p = nuevaPena(QStringLiteral("PEÑA %1").arg(k + 1), tipo, creacion);
    if (multiple) {
      const int n = cuantos(tipo);
      const std::vector<int> nums = distintos(g, n);
      for (int i = 0; i < n; ++i) p.ponerApuesta(i + 1, 1, static_cast<int16_t>(nums[static_cast<size_t>(i)]));
      p.ponerApuesta(n + 1, 1, static_cast<int16_t>(g() % 10));
    } else {
      for (int f = 1; f <= 24; ++f) {
        const std::vector<int> nums = distintos(g, 5);
        for (int i = 0; i < 5; ++i) p.ponerApuesta(i + 1, f, static_cast<int16_t>(nums[static_cast<size_t>(i)]));
      }
      p.ponerApuesta(6, 1, static_cast<int16_t>(g() % 10));
    }
    t.penas.push_back(p);
    t.ids.push_back(k + 1);
  }
  // Plausible prizes: the first category millions, the last a few euros.
  constexpr std::array<Centimos, 8> kBase = {500'000'000, 15'000'000, 400'000, 12'000, 6'000, 1'500, 700, 300};
  for (const Sorteo& s : t.sorteos) {
    TablaPremios tabla;
    tabla.fecha = fechaDesdeOle(s.fecha);
    for (size_t c = 0; c < 8; ++c)
      tabla.categorias[c] = PremioCategoria{kBase[c] + static_cast<Centimos>(g() % 1000), qint64{10}};
    tabla.reintegro = PremioCategoria{150, qint64{1000}};
    tabla.documento = QStringLiteral("/documentos/%1.pdf").arg(tabla.fecha.toString(Qt::ISODate));
    t.tablas[tabla.fecha] = tabla;
  }
  // One draw in seven of each peña marked collected a week after it.
  for (size_t k = 0; k < t.penas.size(); ++k)
    for (size_t i = k % 7; i < t.sorteos.size(); i += 7) {
      const QDate d = fechaDesdeOle(t.sorteos[i].fecha);
      t.marcados[{static_cast<qint64>(k + 1), d}] = d.addDays(7);
    }
  return t;
}

// A peña's members: `cuantos` of them, joining over the years, a third changing their
// shares once and a fifth leaving, with a contribution each; the cost of every draw.
inline SociosPena socios(const Temporada& t, int cuantos, unsigned semilla = 2) {
  std::mt19937 g(semilla);
  SociosPena p;
  p.registro = 1;
  p.nombre = QStringLiteral("PEÑA 1");
  const QDate primero = fechaDesdeOle(t.sorteos.front().fecha);
  const QDate ultimo = fechaDesdeOle(t.sorteos.back().fecha);
  const int dias = static_cast<int>(primero.daysTo(ultimo));
  for (int n = 1; n <= cuantos; ++n) {
    Socio s;
    s.id = 1000 + n;
    s.numero = n;
    s.nombre = QStringLiteral("Socio %1").arg(n);
    QDate desde = primero.addDays(static_cast<int>(g() % static_cast<unsigned>(dias / 2)));
    int partes = 1 + static_cast<int>(g() % 5);
    if (n % 3 == 0) {
      const QDate cambio = desde.addDays(1 + static_cast<int>(g() % static_cast<unsigned>(dias / 4)));
      s.periodos.push_back({desde, cambio, partes});
      desde = cambio;
      partes = 1 + static_cast<int>(g() % 5);
    }
    const QDate hasta = n % 5 == 0 ? desde.addDays(1 + static_cast<int>(g() % 400)) : QDate();
    s.periodos.push_back({desde, hasta, partes});
    p.movimientos.push_back({s.id, s.alta(), Concepto::Aportacion, 10'000 + static_cast<Centimos>(g() % 5000)});
    p.socios.push_back(std::move(s));
  }
  for (const Sorteo& s : t.sorteos) p.costes.push_back({fechaDesdeOle(s.fecha), 3600});
  return p;
}

}  // namespace temporada
