#include "operations/ajustes.h"

#include "auxiliary/noticias.h"
#include "operations/transaccion.h"
#include "store/escritura.h"

namespace sortilan::operaciones {

Resultado guardarCalibracion(Almacen& almacen, const Calibracion& calibracion) {
  Transaccion t(almacen);
  if (Resultado r = t.empezar(false); !r) return r;
  bool leido = false;
  QByteArray datos = leerArchivo(almacen.ajustes().ruta(), &leido);
  if (!leido) return falloLectura(almacen.ajustes().ruta());
  const QByteArray registro = calibracion.codificar();
  if (datos.size() < registro.size()) datos.resize(registro.size());
  datos.replace(0, registro.size(), registro);
  return t.terminar(t.escribir(almacen.ajustes().ruta(), datos));
}

Resultado guardarNoticias(Almacen& almacen, const QByteArray& contenido) {
  Transaccion t(almacen);
  if (Resultado r = t.empezar(false); !r) return r;
  return t.terminar(t.escribir(almacen.ruta(kInforme), contenido));
}

}  // namespace sortilan::operaciones
