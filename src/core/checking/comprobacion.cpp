#include "checking/comprobacion.h"

#include <algorithm>

#include "checking/premios.h"

namespace sortilan {

namespace {

// Rows keep 16-bit indices, as wide as the record counters of the files; a longer
// history keeps its newest draws.
std::vector<Sorteo> recortar(std::vector<Sorteo> s) {
  constexpr size_t kMaximo = 65535;
  if (s.size() > kMaximo) s.erase(s.begin(), s.end() - kMaximo);
  return s;
}

std::vector<Pena> recortar(std::vector<Pena> p) {
  if (p.size() > 65535) p.resize(65535);
  return p;
}

}  // namespace

Comprobacion::Comprobacion(std::vector<Sorteo> sorteos, std::vector<Pena> penas)
    : sorteos_(std::make_shared<const std::vector<Sorteo>>(recortar(std::move(sorteos)))),
      penas_(std::make_shared<const std::vector<Pena>>(recortar(std::move(penas)))) {
  preparadas_.resize(penas_->size());
  for (size_t i = 0; i < penas_->size(); ++i) {
    const Pena& p = (*penas_)[i];
    Preparada& pp = preparadas_[i];
    pp.valida = p.esSencilla() || p.esMultiple();
    pp.mascaras = mascarasPena(p);
  }
}

std::pair<int, int> Comprobacion::rango(int n) const {
  const int total = static_cast<int>(sorteos_->size());
  if (total == 0) return {0, 0};
  return {total - 1, total - std::clamp(n, 1, total)};
}

namespace {
// Separator, peña header and draw date: the three rows that open every block.
size_t abrirBloque(std::vector<FilaResultado>& filas, uint16_t sorteo, uint16_t pena) {
  const size_t inicio = filas.size();
  filas.push_back({sorteo, pena, ClaseFila::Separador, 0, 0, 0});
  filas.push_back({sorteo, pena, ClaseFila::Cabecera, 0, 0, 0});
  filas.push_back({sorteo, pena, ClaseFila::Fecha, 0, 0, 0});
  return inicio;
}
}  // namespace

std::shared_ptr<ListaResultados> Comprobacion::compruebapenas(int n, const Casillas& c, AvisoPremio& aviso) {
  auto lista = std::make_shared<ListaResultados>(ListaResultados::Tipo::Sencillas, sorteos_, penas_);
  std::vector<FilaResultado>& filas = lista->filasInternas();
  hayMultiples_ = false;
  if (sorteos_->empty()) return lista;
  const auto [primero, ultimo] = rango(n);
  size_t estimadas = 0;
  for (const Pena& p : *penas_)
    if (p.esSencilla()) estimadas += 3 + static_cast<size_t>(p.tipo);
  if (!c.soloPremios) filas.reserve(estimadas * static_cast<size_t>(primero - ultimo + 1));

  for (int r = primero; r >= ultimo; --r) {
    const Sorteo& s = (*sorteos_)[static_cast<size_t>(r)];
    bool premioSorteo = false;
    for (size_t p = 0; p < penas_->size(); ++p) {
      const Pena& pena = (*penas_)[p];
      if (pena.tipo > 100) {
        hayMultiples_ = true;
        continue;
      }
      if (!preparadas_[p].valida) continue;
      if (pena.creacion <= s.fecha || c.historico) {
        const auto sp = static_cast<uint16_t>(r);
        const auto pp = static_cast<uint16_t>(p);
        const size_t inicio = abrirBloque(filas, sp, pp);
        const bool clave = pena.apuesta(6, 1) == s.clave();
        bool premioPena = false;
        AciertosFilas aciertos;
        aciertosPena(preparadas_[p].mascaras, pena, s, aciertos);
        for (int b = 0; b < pena.tipo; ++b) {
          const int h = aciertos[static_cast<size_t>(b)];
          if (h >= 2) premioPena = premioSorteo = true;
          if (!c.soloPremios || h >= 2)
            filas.push_back({sp, pp, ClaseFila::Apuesta, static_cast<uint8_t>(b), static_cast<uint8_t>(h),
                             static_cast<uint8_t>(clave)});
        }
        if (c.soloPremios && !premioPena) filas.resize(inicio);
        if (premioSorteo && aviso.trasDescarga && !aviso.parpadeo) {
          aviso.avisopremio = 1;
          aviso.parpadeo = true;
        }
      }
    }
  }
  return lista;
}

std::shared_ptr<ListaResultados> Comprobacion::compruebamultiple(int n, const Casillas& c, AvisoPremio& aviso) {
  auto lista = std::make_shared<ListaResultados>(ListaResultados::Tipo::Multiples, sorteos_, penas_);
  std::vector<FilaResultado>& filas = lista->filasInternas();
  if (sorteos_->empty()) return lista;
  const auto [primero, ultimo] = rango(n);

  for (int r = primero; r >= ultimo; --r) {
    const Sorteo& s = (*sorteos_)[static_cast<size_t>(r)];
    for (size_t p = 0; p < penas_->size(); ++p) {
      const Pena& pena = (*penas_)[p];
      if (!preparadas_[p].valida) continue;
      if (pena.esMultiple() && (pena.creacion <= s.fecha || c.historico)) {
        const auto sp = static_cast<uint16_t>(r);
        const auto pp = static_cast<uint16_t>(p);
        const size_t inicio = abrirBloque(filas, sp, pp);
        AciertosFilas aciertos;
        aciertosPena(preparadas_[p].mascaras, pena, s, aciertos);
        const int h = aciertos[0];
        const bool clave = pena.clave() == s.clave();
        const auto h8 = static_cast<uint8_t>(h);
        const auto c8 = static_cast<uint8_t>(clave);
        filas.push_back({sp, pp, ClaseFila::Apuesta, 0, h8, c8});
        if (h >= 2) {
          if (aviso.trasDescarga) {
            if (aviso.avisopremio == 0) {
              aviso.parpadeo = true;
              aviso.avisopremio = 2;
            } else {
              aviso.avisopremio = (aviso.avisopremio == 1 || aviso.avisopremio == 3) ? 3 : 2;
            }
          }
          const std::vector<LineaDesglose> lineas = desglose(pena.numerosPorApuesta(), h);
          for (size_t j = 1; j < lineas.size(); ++j)
            filas.push_back({sp, pp, ClaseFila::Continuacion, static_cast<uint8_t>(j), h8, c8});
        } else if (c.soloPremios) {
          filas.resize(inicio);
        }
      }
    }
  }
  return lista;
}

namespace {

ResultadoComprobacion comprobar(Almacen& almacen, int n, const Casillas& c, AvisoPremio& aviso, bool sencillas) {
  Comprobacion comp(almacen.sorteos().leerTodos(), almacen.penas().leerTodos());
  ResultadoComprobacion r;
  if (sencillas) {
    r.sencillas = comp.compruebapenas(n, c, aviso);
    if (comp.hayMultiples()) r.multiples = comp.compruebamultiple(n, c, aviso);
  } else {
    r.multiples = comp.compruebamultiple(n, c, aviso);
  }
  return r;
}

}  // namespace

ResultadoComprobacion compruebapenas(Almacen& almacen, int n, const Casillas& c, AvisoPremio& aviso) {
  return comprobar(almacen, n, c, aviso, true);
}

ResultadoComprobacion compruebamultiple(Almacen& almacen, int n, const Casillas& c, AvisoPremio& aviso) {
  return comprobar(almacen, n, c, aviso, false);
}

}  // namespace sortilan
