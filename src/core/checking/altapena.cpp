#include "checking/altapena.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "base/fechas.h"
#include "store/codec.h"

namespace sortilan {

const char* const kLimiteSencillasTexto = "Máximo de apuestas sencillas por peña : 24.";
const char* const kLimiteMultipleTexto =
    "¡¡ Oficialmente sólo se admite una combinación por boleto cuando juegas a múltiples !! ";
const char* const kNombreLargoTexto = "¡¡¡El nombre no puede tener más de 20 letras!!!";
const char* const kSinNombreTexto = "¡¡¡No ha escrito el nombre de la peña!!!";
const char* const kPenaPosterior =
    "¡¡¡No puede crear una peña con fecha anterior a una ya existente!!!. Borre dicha peña antes de crear ésta.";
const char* const kSorteoPosterior =
    "Hay sorteos con fecha posterior a la de la peña que intenta crear. Revise la fecha de su ordenador. "
    "¡No se puede crear una peña con fecha anterior a la del último sorteo!";

namespace {

Resultado validarNumeros(const std::vector<int>& numeros, int apuesta) {
  std::vector<int> vistos;
  for (int n : numeros) {
    if (n < 1 || n > 54) return Resultado::fallo(QStringLiteral("El número %1 no está entre 1 y 54.").arg(n));
    if (std::find(vistos.begin(), vistos.end(), n) != vistos.end())
      return Resultado::fallo(QStringLiteral("El número %1 está repetido en la apuesta %2.").arg(n).arg(apuesta));
    vistos.push_back(n);
  }
  return Resultado::bien();
}

}  // namespace

Resultado validarPenaNueva(const PenaNueva& p) {
  if (p.nombre.trimmed().isEmpty()) return Resultado::fallo(QString::fromUtf8(kSinNombreTexto));
  if (p.nombre.toUpper().size() > 20) return Resultado::fallo(QString::fromUtf8(kNombreLargoTexto));
  if (desdeWindows1252(aWindows1252(p.nombre.toUpper())) != p.nombre.toUpper())
    return Resultado::fallo(QStringLiteral("El nombre lleva letras que no se pueden guardar en el fichero de peñas."));
  if (p.clave < 0 || p.clave > 9)
    return Resultado::fallo(QStringLiteral("El número clave tiene que estar entre 0 y 9."));
  if (!p.sencillas.empty() && !p.multiples.empty())
    return Resultado::fallo(QStringLiteral("Una peña juega apuestas sencillas o una múltiple, no las dos a la vez."));
  if (p.sencillas.empty() && p.multiples.empty())
    return Resultado::fallo(QStringLiteral("La peña no tiene ninguna apuesta."));
  if (p.multiples.size() > 1) return Resultado::fallo(QString::fromUtf8(kLimiteMultipleTexto));
  if (p.sencillas.size() > static_cast<size_t>(Pena::kFilas))
    return Resultado::fallo(QString::fromUtf8(kLimiteSencillasTexto));
  for (size_t i = 0; i < p.sencillas.size(); ++i) {
    const auto& a = p.sencillas[i];
    if (a.size() != 5)
      return Resultado::fallo(
          QStringLiteral("La apuesta %1 tiene %2 números; una apuesta sencilla lleva 5.").arg(i + 1).arg(a.size()));
    if (Resultado r = validarNumeros(a, static_cast<int>(i) + 1); !r) return r;
  }
  if (!p.multiples.empty()) {
    const auto& m = p.multiples.front();
    if (m.size() < 6 || m.size() > 11)
      return Resultado::fallo(
          QStringLiteral("La apuesta múltiple tiene %1 números; una múltiple lleva de 6 a 11.").arg(m.size()));
    if (Resultado r = validarNumeros(m, 1); !r) return r;
  }
  return Resultado::bien();
}

Pena registroPenaNueva(const PenaNueva& p, const QDate& hoy) {
  const bool multiple = !p.multiples.empty();
  const auto& apuestas = multiple ? p.multiples : p.sencillas;
  const int tipo = multiple ? 95 + static_cast<int>(p.multiples.front().size()) : static_cast<int>(p.sencillas.size());
  Pena r = nuevaPena(p.nombre.toUpper(), tipo, hoy);
  int numeros = 5;
  for (size_t f = 0; f < apuestas.size(); ++f) {
    std::vector<int> a = apuestas[f];
    std::sort(a.begin(), a.end());
    numeros = static_cast<int>(a.size());
    for (size_t i = 0; i < a.size(); ++i)
      r.ponerApuesta(static_cast<int>(i) + 1, static_cast<int>(f) + 1, static_cast<int16_t>(a[i]));
  }
  r.ponerApuesta(numeros + 1, 1, static_cast<int16_t>(p.clave));
  return r;
}

Resultado comprobarFechasCreacion(const std::vector<Pena>& penas, const std::vector<Sorteo>& sorteos,
                                  const QDate& hoy) {
  const double dia = oleDesdeFecha(hoy);
  if (!penas.empty() && std::floor(penas.front().creacion) > dia)
    return Resultado::fallo(QString::fromUtf8(kPenaPosterior));
  if (!sorteos.empty() && std::floor(sorteos.back().fecha) > dia)
    return Resultado::fallo(QString::fromUtf8(kSorteoPosterior));
  return Resultado::bien();
}

std::vector<std::vector<int>> apuestasDe(const Pena& p) {
  const int numeros = p.numerosPorApuesta();
  const int filas = p.esSencilla() ? p.tipo : (p.esMultiple() ? 1 : 0);
  std::vector<std::vector<int>> r;
  if (numeros == 0) return r;
  for (int f = 1; f <= filas; ++f) {
    std::vector<int> a;
    for (int i = 1; i <= numeros; ++i) a.push_back(p.apuesta(i, f));
    std::sort(a.begin(), a.end());
    r.push_back(std::move(a));
  }
  return r;
}

std::vector<ApuestaRepetida> apuestasRepetidas(const Pena& nueva, const std::vector<Pena>& penas) {
  const std::vector<std::vector<int>> propias = apuestasDe(nueva);
  std::vector<ApuestaRepetida> r;
  for (size_t i = 0; i < propias.size(); ++i) {
    const std::vector<int>& a = propias[i];
    // Named once however often it repeats.
    if (std::find(propias.begin(), propias.begin() + static_cast<std::ptrdiff_t>(i), a) !=
        propias.begin() + static_cast<std::ptrdiff_t>(i))
      continue;
    if (std::count(propias.begin(), propias.end(), a) > 1) r.push_back({a, QString()});
    for (const Pena& otra : penas) {
      const std::vector<std::vector<int>> suyas = apuestasDe(otra);
      if (std::find(suyas.begin(), suyas.end(), a) != suyas.end()) r.push_back({a, otra.nombreRecortado()});
    }
  }
  return r;
}

QString preguntaRepetidas(const std::vector<ApuestaRepetida>& repetidas) {
  constexpr size_t kMostradas = 6;
  QStringList lineas;
  for (size_t i = 0; i < repetidas.size() && i < kMostradas; ++i) {
    const ApuestaRepetida& x = repetidas[i];
    QStringList n;
    for (int v : x.numeros) n << QString::number(v);
    const QString apuesta = n.join(QLatin1Char('-'));
    lineas << (x.otraPena.isEmpty()
                   ? QStringLiteral("La apuesta %1 está dos veces en esta peña.").arg(apuesta)
                   : QStringLiteral("La apuesta %1 ya la juega la peña «%2».").arg(apuesta, x.otraPena));
  }
  if (repetidas.size() > kMostradas) lineas << QStringLiteral("Y %1 más.").arg(repetidas.size() - kMostradas);
  return lineas.join(QLatin1Char('\n')) + QStringLiteral("\n\n¿Grabar la peña de todos modos?");
}

}  // namespace sortilan
