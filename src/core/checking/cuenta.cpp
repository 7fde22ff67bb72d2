#include "checking/cuenta.h"

#include <algorithm>

#include "checking/nucleo.h"
#include "checking/premios.h"

namespace sortilan {

namespace {

// Counters held wider than on disk while a change is worked out, so that taking back
// and adding again never loses anything to the 16-bit limit in between.
using Cuenta = std::array<int, 8>;

Cuenta leer(const Pena& p) {
  Cuenta c{};
  for (size_t i = 0; i < 8; ++i) c[i] = p.aciertos[i];
  return c;
}

// Back to 16 bits, keeping the 32767 ceiling; taking back never goes below zero (or
// below what an odd record already held).
void poner(Pena& p, const Cuenta& c, const Pena& original) {
  for (size_t i = 0; i < 8; ++i) {
    const int suelo = std::min<int>(0, original.aciertos[i]);
    p.aciertos[i] = static_cast<int16_t>(std::clamp(c[i], suelo, 32767));
  }
}

bool cuenta(const Pena& p, const Sorteo& s, double desde) { return s.fecha > desde && p.creacion <= s.fecha; }

void avanzar(Pena& p, Cuenta& c, const std::vector<Sorteo>& sorteos) {
  const MascarasPena m = mascarasPena(p);
  for (const Sorteo& s : sorteos) {
    if (!cuenta(p, s, p.ultimacuenta)) continue;
    const Cuenta premios = premiosDelSorteo(m, p, s);
    for (size_t i = 0; i < 8; ++i) c[i] += premios[i];
    p.ultimacuenta = s.fecha;
  }
}

bool valida(const Pena& p) { return p.esSencilla() || p.esMultiple(); }

bool distinta(const std::vector<Pena>& a, const std::vector<Pena>& b) {
  for (size_t i = 0; i < a.size(); ++i)
    // Compared as bytes: a date holding NaN would never equal itself.
    if (a[i].codificar() != b[i].codificar()) return true;
  return false;
}

}  // namespace

int aciertosApuesta(const Pena& p, int fila, int numeros, const Sorteo& s) {
  int h = 0;
  for (int i = 1; i <= numeros; ++i)
    for (int j = 1; j <= 5; ++j)
      if (p.apuesta(i, fila) == s.numero(j)) {
        ++h;
        break;
      }
  return h;
}

std::array<int, 8> premiosDelSorteo(const Pena& p, const Sorteo& s) { return premiosDelSorteo(mascarasPena(p), p, s); }

std::array<int, 8> premiosDelSorteo(const MascarasPena& m, const Pena& p, const Sorteo& s) {
  std::array<int, 8> r{};
  if (m.filas == 0) return r;
  AciertosFilas h;
  aciertosPena(m, p, s, h);
  if (p.esSencilla()) {
    const bool clave = p.apuesta(6, 1) == s.clave();
    for (int b = 0; b < m.filas; ++b)
      if (const int k = h[static_cast<size_t>(b)]; k >= 2) ++r[static_cast<size_t>(categoria(k, clave) - 1)];
  } else {
    const bool clave = p.clave() == s.clave();
    for (const LineaDesglose& l : desglose(p.numerosPorApuesta(), h[0]))
      r[static_cast<size_t>(categoria(l.k, clave) - 1)] += l.apuestas;
  }
  return r;
}

bool contarPremios(std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos) {
  const std::vector<Pena> antes = penas;
  for (size_t i = 0; i < penas.size(); ++i) {
    Pena& p = penas[i];
    if (!valida(p)) continue;
    Cuenta c = leer(p);
    avanzar(p, c, sorteos);
    poner(p, c, antes[i]);
  }
  return distinta(penas, antes);
}

Recuento recontar(const std::vector<Pena>& penas, const std::vector<Sorteo>& viejos,
                  const std::vector<Sorteo>& nuevos) {
  // The draws of `viejos` that `nuevos` no longer holds, as they were.
  std::vector<bool> quitado(viejos.size(), false);
  {
    size_t j = 0;
    for (size_t i = 0; i < viejos.size(); ++i) {
      while (j < nuevos.size() && nuevos[j].fecha < viejos[i].fecha) ++j;
      quitado[i] = !(j < nuevos.size() && nuevos[j].mismoResultado(viejos[i]));
    }
  }

  Recuento r;
  r.retrocedidas = penas;
  r.finales = penas;
  for (size_t i = 0; i < penas.size(); ++i) {
    const Pena& original = penas[i];
    if (!valida(original)) continue;
    // The first counted draw that goes, and the draw before it.
    double corte = 0;
    bool retrocede = false;
    for (size_t k = 0; k < viejos.size(); ++k) {
      const Sorteo& s = viejos[k];
      if (s.fecha > original.ultimacuenta) break;
      if (quitado[k] && original.creacion <= s.fecha) {
        retrocede = true;
        break;
      }
      corte = s.fecha;
    }
    if (!retrocede) continue;
    Pena p = original;
    Cuenta c = leer(p);
    const MascarasPena m = mascarasPena(p);
    for (const Sorteo& s : viejos) {
      if (!cuenta(p, s, corte) || s.fecha > p.ultimacuenta) continue;
      const Cuenta premios = premiosDelSorteo(m, p, s);
      for (size_t j = 0; j < 8; ++j) c[j] -= premios[j];
    }
    p.ultimacuenta = corte;
    poner(p, c, original);
    r.retrocedidas[i] = p;
    avanzar(p, c, nuevos);
    poner(p, c, original);
    r.finales[i] = p;
  }
  r.retrocede = distinta(r.retrocedidas, penas);
  contarPremios(r.finales, nuevos);
  r.cambia = distinta(r.finales, penas);
  return r;
}

}  // namespace sortilan
