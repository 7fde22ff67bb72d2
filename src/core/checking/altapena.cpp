#include "checking/altapena.h"

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

}  // namespace sortilan
