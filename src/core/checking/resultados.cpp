#include "checking/resultados.h"

#include "base/fechas.h"
#include "checking/premios.h"

namespace sortilan {

namespace {

bool sorteado(const Sorteo& s, int numero) {
  for (int i = 1; i <= 5; ++i)
    if (s.numero(i) == numero) return true;
  return false;
}

}  // namespace

ListaResultados::ListaResultados(Tipo tipo, std::shared_ptr<const std::vector<Sorteo>> sorteos,
                                 std::shared_ptr<const std::vector<Pena>> penas)
    : tipo_(tipo), sorteos_(std::move(sorteos)), penas_(std::move(penas)) {}

QStringList ListaResultados::cabeceras(Tipo tipo) {
  if (tipo == Tipo::Sencillas)
    return {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
            QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("Comentario")};
  QStringList c;
  for (int i = 1; i <= 12; ++i) c << QString::number(i);
  c << QString() << QStringLiteral("Comentario");
  return c;
}

std::vector<int> ListaResultados::anchuras(Tipo tipo) {
  if (tipo == Tipo::Sencillas) return {441, 882, 882, 882, 882, 882, 882, 7056};
  std::vector<int> a(14, 670);
  a[0] = 441;
  a[13] = 6526;
  return a;
}

QString ListaResultados::texto(int i, int columna) const {
  const FilaResultado& f = fila(i);
  const int ultima = columnas() - 1;
  const Pena& p = (*penas_)[f.pena];
  const Sorteo& s = (*sorteos_)[f.sorteo];
  switch (f.clase) {
    case ClaseFila::Separador: return {};
    case ClaseFila::Cabecera: return columna == ultima ? QStringLiteral("PEÑA ") + p.nombreTexto() : QString();
    case ClaseFila::Fecha:
      return columna == ultima ? fechaCorta(s.fecha) + QLatin1Char(' ') + diasemana(s.fecha) : QString();
    case ClaseFila::Continuacion:
      if (columna != ultima) return {};
      break;
    case ClaseFila::Apuesta: break;
  }
  if (columna == 0) return {};
  if (tipo_ == Tipo::Sencillas) {
    if (columna <= 5) return QString::number(p.apuesta(columna, f.indice + 1));
    if (columna == 6) return f.indice == 0 ? QString::number(p.apuesta(6, 1)) : QString();
    return f.aciertos >= 2 ? comentarioPremio(f.aciertos, f.clave) : QString();
  }
  const int n = p.numerosPorApuesta();
  if (columna <= 11) return columna <= n ? QString::number(p.apuesta(columna, 1)) : QStringLiteral(".");
  if (columna == 12) return QString::number(p.apuesta(n + 1, 1));
  const std::vector<LineaDesglose> lineas = desglose(n, f.aciertos);
  if (f.indice < lineas.size()) return textoDesglose(lineas[f.indice], f.clave);
  return {};
}

std::optional<uint32_t> ListaResultados::color(int i, int columna) const {
  const FilaResultado& f = fila(i);
  const int ultima = columnas() - 1;
  switch (f.clase) {
    case ClaseFila::Separador: return std::nullopt;
    case ClaseFila::Cabecera:
      if (columna == ultima) return colores::kCabecera;
      return std::nullopt;
    case ClaseFila::Fecha:
      if (columna == ultima) return colores::kFecha;
      return std::nullopt;
    case ClaseFila::Continuacion:
    case ClaseFila::Apuesta: break;
  }
  const Pena& p = (*penas_)[f.pena];
  const Sorteo& s = (*sorteos_)[f.sorteo];
  if (columna == ultima) {
    if (f.clase == ClaseFila::Continuacion) {
      const std::vector<LineaDesglose> lineas = desglose(p.numerosPorApuesta(), f.aciertos);
      if (f.indice < lineas.size()) return colorPremio(lineas[f.indice].k, f.clave);
      return std::nullopt;
    }
    if (f.aciertos < 2) return std::nullopt;
    if (tipo_ == Tipo::Sencillas) return colorPremio(f.aciertos, f.clave);
    const std::vector<LineaDesglose> lineas = desglose(p.numerosPorApuesta(), f.aciertos);
    if (lineas.empty()) return std::nullopt;
    return colorPremio(lineas.front().k, f.clave);
  }
  if (f.clase == ClaseFila::Continuacion || columna == 0) return std::nullopt;
  if (tipo_ == Tipo::Sencillas) {
    if (columna <= 5) {
      if (sorteado(s, p.apuesta(columna, f.indice + 1))) return colores::kAcierto;
      return std::nullopt;
    }
    if (columna == 6 && f.indice == 0 && f.clave) return colores::kAcierto;
    return std::nullopt;
  }
  const int n = p.numerosPorApuesta();
  if (columna <= n && sorteado(s, p.apuesta(columna, 1))) return colores::kAcierto;
  if (columna == 12 && f.clave) return colores::kAcierto;
  return std::nullopt;
}

}  // namespace sortilan
