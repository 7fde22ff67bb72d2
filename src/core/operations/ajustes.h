#pragma once

#include <QByteArray>

#include "store/almacen.h"

namespace sortilan::operaciones {

// The print calibration, record 1 of "nums.ini"; whatever else the file holds is kept.
Resultado guardarCalibracion(Almacen& almacen, const Calibracion& calibracion);

// The news file "informe.dat", replaced whole by what was just fetched.
Resultado guardarNoticias(Almacen& almacen, const QByteArray& contenido);

}  // namespace sortilan::operaciones
