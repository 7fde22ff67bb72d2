#pragma once

// The money, counting and members paths as they were before they moved onto the bet
// masks and indexes, kept here so every benchmark can measure both in one run.

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <array>
#include <numeric>

#include "base/fechas.h"
#include "checking/premios.h"
#include "members/socios.h"
#include "money/balance.h"
#include "money/tablapremios.h"

namespace anterior {

using namespace sortilan;

inline int aciertosApuesta(const Pena& p, int fila, int numeros, const Sorteo& s) {
  int h = 0;
  for (int i = 1; i <= numeros; ++i)
    for (int j = 1; j <= 5; ++j)
      if (p.apuesta(i, fila) == s.numero(j)) {
        ++h;
        break;
      }
  return h;
}

inline std::array<int, 8> premiosDelSorteo(const Pena& p, const Sorteo& s) {
  std::array<int, 8> r{};
  if (p.esSencilla()) {
    const bool clave = p.apuesta(6, 1) == s.clave();
    for (int b = 1; b <= p.tipo; ++b)
      if (const int h = anterior::aciertosApuesta(p, b, 5, s); h >= 2)
        ++r[static_cast<size_t>(categoria(h, clave) - 1)];
  } else if (p.esMultiple()) {
    const bool clave = p.clave() == s.clave();
    const int h = anterior::aciertosApuesta(p, 1, p.numerosPorApuesta(), s);
    for (const LineaDesglose& l : desglose(p.numerosPorApuesta(), h))
      r[static_cast<size_t>(categoria(l.k, clave) - 1)] += l.apuestas;
  }
  return r;
}

// The first count: every draw since creation, as contarPremios did it.
inline void contarPremios(std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos) {
  for (Pena& p : penas) {
    if (!p.esSencilla() && !p.esMultiple()) continue;
    std::array<int, 8> c{};
    for (const Sorteo& s : sorteos) {
      if (!(s.fecha > p.ultimacuenta && p.creacion <= s.fecha)) continue;
      const std::array<int, 8> premios = anterior::premiosDelSorteo(p, s);
      for (size_t i = 0; i < 8; ++i) c[i] += premios[i];
      p.ultimacuenta = s.fecha;
    }
    for (size_t i = 0; i < 8; ++i) p.aciertos[i] = static_cast<int16_t>(std::clamp(c[i], 0, 32767));
  }
}

inline CuentaSorteo cuentaSorteo(const Pena& p, const Sorteo& s, const TablaPremios* tabla, Centimos precio) {
  CuentaSorteo c;
  c.fecha = fechaDesdeOle(s.fecha);
  c.apuestas = apuestasPorSorteo(p);
  c.coste = precio * c.apuestas;
  if (c.apuestas == 0) return c;
  std::array<int, 6> porAciertos{};
  if (p.esSencilla()) {
    for (int b = 1; b <= p.tipo; ++b)
      ++porAciertos[static_cast<size_t>(std::min(anterior::aciertosApuesta(p, b, 5, s), 5))];
  } else {
    const int n = p.numerosPorApuesta();
    const int h = anterior::aciertosApuesta(p, 1, n, s);
    for (int k = 0; k <= 5; ++k) porAciertos[static_cast<size_t>(k)] = binomial(h, k) * binomial(n - h, 5 - k);
  }
  const bool clave = p.clave() == s.clave();
  for (int k = 5; k >= 2; --k) {
    const int x = porAciertos[static_cast<size_t>(k)];
    if (x == 0) continue;
    const int categoria = categoriaOficial(k, clave);
    c.premios.push_back({categoria, x, tabla ? tabla->premio(categoria) : std::nullopt});
  }
  const int sinPremio = porAciertos[0] + porAciertos[1];
  if (clave && sinPremio > 0 && (!tabla || tabla->reintegro))
    c.reintegro = LineaPremio{0, sinPremio, tabla ? tabla->premioReintegro() : std::nullopt};
  return c;
}

inline CuentaPena cuentaPena(const Pena& p, int registro, const std::vector<Sorteo>& sorteos,
                             const TablasPremios& tablas, Centimos precio) {
  CuentaPena c;
  c.registro = registro;
  c.nombre = p.nombreRecortado();
  if (apuestasPorSorteo(p) == 0) return c;
  for (const Sorteo& s : sorteos) {
    if (!s.valido() || p.creacion > s.fecha) continue;
    const auto t = tablas.find(fechaDesdeOle(s.fecha));
    c.sorteos.push_back(anterior::cuentaSorteo(p, s, t == tablas.end() ? nullptr : &t->second, precio));
  }
  return c;
}

inline Cuentas calcularCuentas(const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                               const TablasPremios& tablas, const CobrosMarcados& marcados,
                               const std::vector<std::optional<qint64>>& ids, Centimos precio, const QDate& hoy) {
  Cuentas c;
  c.precio = precio;
  c.tablas = tablas;
  for (size_t i = 0; i < penas.size(); ++i) {
    if (apuestasPorSorteo(penas[i]) == 0) continue;
    c.penas.push_back(anterior::cuentaPena(penas[i], static_cast<int>(i) + 1, sorteos, tablas, precio));
  }
  for (const CuentaPena& p : c.penas) {
    qint64 id = 0;
    if (const auto i = static_cast<size_t>(p.registro - 1); i < ids.size() && ids[i]) id = *ids[i];
    for (const CuentaSorteo& s : p.sorteos) {
      QDate dia;
      if (const auto m = marcados.find({id, s.fecha}); id > 0 && m != marcados.end()) dia = m->second;
      if (std::optional<Cobro> cobro = cobroDe(p, s, dia, hoy)) c.cobros.push_back(std::move(*cobro));
    }
  }
  std::stable_sort(c.cobros.begin(), c.cobros.end(), [](const Cobro& a, const Cobro& b) { return a.fecha < b.fecha; });
  return c;
}

// The linear search every row of the money tab made.
inline const Cobro* cobro(const Cuentas& c, int registro, const QDate& fecha) {
  for (const Cobro& k : c.cobros)
    if (k.registro == registro && k.fecha == fecha) return &k;
  return nullptr;
}

inline std::vector<Centimos> repartir(Centimos total, const std::vector<qint64>& pesos) {
  if (pesos.empty()) return {};
  const __int128 suma = std::accumulate(pesos.begin(), pesos.end(), __int128{0});
  if (suma <= 0) return {};
  const bool negativo = total < 0;
  const __int128 t = negativo ? -static_cast<__int128>(total) : total;
  std::vector<Centimos> partes(pesos.size());
  std::vector<__int128> restos(pesos.size());
  __int128 repartido = 0;
  for (size_t i = 0; i < pesos.size(); ++i) {
    const __int128 producto = t * pesos[i];
    partes[i] = static_cast<Centimos>(producto / suma);
    restos[i] = producto % suma;
    repartido += partes[i];
  }
  std::vector<size_t> orden(pesos.size());
  std::iota(orden.begin(), orden.end(), size_t{0});
  std::stable_sort(orden.begin(), orden.end(), [&](size_t a, size_t b) { return restos[a] > restos[b]; });
  for (size_t k = 0; repartido < t; ++k, ++repartido) ++partes[orden[k]];
  if (negativo)
    for (Centimos& c : partes) c = -c;
  return partes;
}

// One member's balance, every draw's cost split among all members again.
inline Centimos saldo(const SociosPena& sp, int numero) {
  const Socio* s = sp.socio(numero);
  if (!s) return 0;
  Centimos saldo = 0;
  for (const MovimientoGuardado& m : sp.movimientos)
    if (m.socio == s->id) saldo += m.concepto == Concepto::Pago ? -m.centimos : m.centimos;
  for (const CosteSorteo& c : sp.costes) {
    std::vector<qint64> pesos;
    size_t propio = sp.socios.size();
    for (const Socio& otro : sp.socios) {
      const int p = otro.participacionesEn(c.fecha);
      if (p <= 0) continue;
      if (otro.id == s->id) propio = pesos.size();
      pesos.push_back(p);
    }
    if (propio >= pesos.size()) continue;
    saldo -= anterior::repartir(c.coste, pesos)[propio];
  }
  for (const Reparto& r : sp.repartos)
    for (const ParteReparto& p : r.partes)
      if (p.socio == s->id) saldo += p.neto();
  return saldo;
}

// The prize tables of an answer read as one document, a repeated draw looked for among
// every table read so far.
inline std::vector<TablaPremios> leerTablasRespuesta(const QByteArray& respuesta) {
  const qsizetype inicio = respuesta.indexOf('[');
  if (inicio < 0) return {};
  const QByteArray texto = respuesta.mid(inicio);
  QJsonParseError error{};
  QJsonDocument d = QJsonDocument::fromJson(texto, &error);
  if (error.error == QJsonParseError::GarbageAtEnd) d = QJsonDocument::fromJson(texto.left(error.offset), &error);
  std::vector<TablaPremios> tablas;
  if (!d.isArray()) return tablas;
  for (const QJsonValue& v : d.array()) {
    std::optional<TablaPremios> t = leerTablaSorteo(v.toObject());
    if (!t) continue;
    auto igual = std::find_if(tablas.begin(), tablas.end(), [&](const TablaPremios& x) { return x.fecha == t->fecha; });
    if (igual != tablas.end())
      *igual = combinar(*igual, *t);
    else
      tablas.push_back(std::move(*t));
  }
  return tablas;
}

}  // namespace anterior
