#include "checking/nucleo.h"

#include "checking/cuenta.h"

namespace sortilan {

MascarasPena mascarasPena(const Pena& p) {
  MascarasPena m;
  m.filas = p.esSencilla() ? p.tipo : (p.esMultiple() ? 1 : 0);
  const int numeros = p.numerosPorApuesta();
  for (int b = 0; b < m.filas; ++b) {
    uint64_t mascara = 0;
    for (int i = 1; i <= numeros; ++i)
      if (const int n = p.apuesta(i, b + 1); n >= 1 && n <= 54) mascara |= uint64_t{1} << n;
    m.mascaras[static_cast<size_t>(b)] = mascara;
    if (__builtin_popcountll(mascara) == numeros) m.limpias |= uint32_t{1} << b;
  }
  return m;
}

// The baseline x86-64 build has no popcnt instruction and turns the count into a library
// call; a second copy built for it is chosen when the program starts.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("popcnt", "default")))
#endif
void aciertosMascaras(const uint64_t* mascaras, int n, uint64_t sorteo, uint8_t* aciertos) {
  for (int i = 0; i < n; ++i) aciertos[i] = static_cast<uint8_t>(__builtin_popcountll(mascaras[i] & sorteo));
}

void aciertosPena(const MascarasPena& m, const Pena& pena, const Sorteo& sorteo, AciertosFilas& aciertos) {
  aciertosMascaras(m.mascaras.data(), m.filas, sorteo.mascara(), aciertos.data());
  if (m.limpias == (uint32_t{1} << m.filas) - 1) return;
  const int numeros = pena.numerosPorApuesta();
  for (int b = 0; b < m.filas; ++b)
    if (!((m.limpias >> b) & 1u))
      aciertos[static_cast<size_t>(b)] = static_cast<uint8_t>(aciertosApuesta(pena, b + 1, numeros, sorteo));
}

}  // namespace sortilan
