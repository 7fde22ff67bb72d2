#include "store/esquema.h"

namespace sortilan {

const std::vector<Migracion>& migraciones() {
  static const std::vector<Migracion> kPasos = {
      // 1: the prize table of each draw, as the results service publishes it. Dates are
      // ISO texts; `categoria` is the official one (1 = 5 + 1 ... 8 = 2 + 0), 9 the reintegro.
      {1,
       {QStringLiteral("CREATE TABLE tablas_premios ("
                       " fecha TEXT PRIMARY KEY NOT NULL"
                       "  CHECK (fecha GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),"
                       " documento TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE TABLE premios_categoria ("
                       " fecha TEXT NOT NULL REFERENCES tablas_premios(fecha) ON DELETE CASCADE,"
                       " categoria INTEGER NOT NULL CHECK (categoria BETWEEN 1 AND 9),"
                       " premio_centimos INTEGER NOT NULL CHECK (premio_centimos >= 0),"
                       " ganadores INTEGER CHECK (ganadores >= 0),"
                       " PRIMARY KEY (fecha, categoria))")}},
      // 2: peñas by a stable id (record numbers move when a peña is deleted) and the
      // collections the user marked.
      {2,
       {QStringLiteral("CREATE TABLE penas ("
                       " id INTEGER PRIMARY KEY,"
                       " huella BLOB NOT NULL,"
                       " registro INTEGER CHECK (registro >= 1),"
                       " nombre TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE INDEX penas_huella ON penas(huella)"),
        QStringLiteral("CREATE TABLE cobros ("
                       " pena INTEGER NOT NULL REFERENCES penas(id),"
                       " fecha TEXT NOT NULL,"
                       " cobrado TEXT NOT NULL,"
                       " PRIMARY KEY (pena, fecha))")}},
  };
  return kPasos;
}

int versionEsquema() { return migraciones().back().version; }

}  // namespace sortilan
