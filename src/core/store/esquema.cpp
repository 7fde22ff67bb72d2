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
      // 3: the members of each peña. A member keeps one row; each change of shares closes
      // a period and opens another on that day, so what anybody held on a past draw stays
      // known. `hasta` is the first day without those shares. A split of a collected
      // prize keeps every member's part as it was worked out that day.
      {3,
       {QStringLiteral("CREATE TABLE socios ("
                       " id INTEGER PRIMARY KEY,"
                       " pena INTEGER NOT NULL REFERENCES penas(id),"
                       " numero INTEGER NOT NULL CHECK (numero >= 1),"
                       " nombre TEXT NOT NULL CHECK (nombre <> ''),"
                       " nif TEXT,"
                       " contacto TEXT,"
                       " UNIQUE (pena, numero))"),
        QStringLiteral("CREATE TABLE periodos_socio ("
                       " socio INTEGER NOT NULL REFERENCES socios(id),"
                       " desde TEXT NOT NULL,"
                       " hasta TEXT CHECK (hasta IS NULL OR hasta > desde),"
                       " participaciones INTEGER NOT NULL CHECK (participaciones >= 1),"
                       " PRIMARY KEY (socio, desde))"),
        QStringLiteral("CREATE TABLE repartos ("
                       " id INTEGER PRIMARY KEY,"
                       " pena INTEGER NOT NULL REFERENCES penas(id),"
                       " sorteo TEXT NOT NULL,"
                       " hecho TEXT NOT NULL,"
                       " cobrado TEXT NOT NULL,"
                       " bruto_centimos INTEGER NOT NULL CHECK (bruto_centimos >= 0),"
                       " retencion_centimos INTEGER NOT NULL CHECK (retencion_centimos >= 0),"
                       " pagado INTEGER NOT NULL CHECK (pagado IN (0, 1)),"
                       " UNIQUE (pena, sorteo))"),
        QStringLiteral("CREATE TABLE partes_reparto ("
                       " reparto INTEGER NOT NULL REFERENCES repartos(id),"
                       " socio INTEGER NOT NULL REFERENCES socios(id),"
                       " participaciones INTEGER NOT NULL CHECK (participaciones >= 1),"
                       " bruto_centimos INTEGER NOT NULL,"
                       " retencion_centimos INTEGER NOT NULL,"
                       " PRIMARY KEY (reparto, socio))"),
        QStringLiteral("CREATE TABLE movimientos_socio ("
                       " id INTEGER PRIMARY KEY,"
                       " socio INTEGER NOT NULL REFERENCES socios(id),"
                       " fecha TEXT NOT NULL,"
                       " tipo TEXT NOT NULL CHECK (tipo IN ('aportacion', 'pago')),"
                       " centimos INTEGER NOT NULL CHECK (centimos > 0),"
                       " reparto INTEGER REFERENCES repartos(id))")}},
      // 4: the participation papers issued, each exactly as it was handed out: its text
      // and the code worked out from it. Nothing later changes them; a voided one stays.
      {4,
       {QStringLiteral("CREATE TABLE papeles ("
                       " id INTEGER PRIMARY KEY,"
                       " pena INTEGER NOT NULL REFERENCES penas(id),"
                       " socio INTEGER NOT NULL REFERENCES socios(id),"
                       " numero_socio INTEGER NOT NULL,"
                       " nombre TEXT NOT NULL,"
                       " desde TEXT NOT NULL,"
                       " hasta TEXT NOT NULL CHECK (hasta >= desde),"
                       " participaciones INTEGER NOT NULL,"
                       " total INTEGER NOT NULL,"
                       " pagado_centimos INTEGER NOT NULL,"
                       " emitido TEXT NOT NULL,"
                       " codigo TEXT NOT NULL UNIQUE CHECK (length(codigo) = 52),"
                       " texto TEXT NOT NULL,"
                       " anulado INTEGER NOT NULL DEFAULT 0 CHECK (anulado IN (0, 1)))"),
        QStringLiteral("CREATE INDEX papeles_pena ON papeles(pena)")}},
      // 5: the desktop notices already given, so that a prize is told once and a deadline
      // once a day. `clave` names the prize or the deadline; `dia` is the last day told.
      {5,
       {QStringLiteral("CREATE TABLE avisos ("
                       " clave TEXT PRIMARY KEY NOT NULL,"
                       " dia TEXT NOT NULL"
                       "  CHECK (dia GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'))")}},
      // 6: where the money of a peña starts once its counters were reset. The reset moves
      // the record's creation to that day (`reinicio`), but the draws it played since
      // `inicio` stay played and paid for.
      {6,
       {QStringLiteral("CREATE TABLE inicios_pena ("
                       " pena INTEGER PRIMARY KEY REFERENCES penas(id),"
                       " inicio TEXT NOT NULL"
                       "  CHECK (inicio GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),"
                       " reinicio TEXT NOT NULL"
                       "  CHECK (reinicio GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),"
                       " CHECK (inicio < reinicio))")}},
      // 7: voids. A contribution or payout is never erased: its void names it, with the
      // day and the reason. A voided split moves whole to `repartos_anulados` (so the prize
      // can be split again) and the payouts it had made are voided with it.
      {7,
       {QStringLiteral("CREATE TABLE repartos_anulados ("
                       " id INTEGER PRIMARY KEY,"
                       " pena INTEGER NOT NULL REFERENCES penas(id),"
                       " sorteo TEXT NOT NULL,"
                       " hecho TEXT NOT NULL,"
                       " cobrado TEXT NOT NULL,"
                       " bruto_centimos INTEGER NOT NULL CHECK (bruto_centimos >= 0),"
                       " retencion_centimos INTEGER NOT NULL CHECK (retencion_centimos >= 0),"
                       " pagado INTEGER NOT NULL CHECK (pagado IN (0, 1)),"
                       " anulado TEXT NOT NULL"
                       "  CHECK (anulado GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),"
                       " motivo TEXT)"),
        QStringLiteral("CREATE TABLE partes_anuladas ("
                       " reparto INTEGER NOT NULL REFERENCES repartos_anulados(id),"
                       " socio INTEGER NOT NULL REFERENCES socios(id),"
                       " participaciones INTEGER NOT NULL CHECK (participaciones >= 1),"
                       " bruto_centimos INTEGER NOT NULL,"
                       " retencion_centimos INTEGER NOT NULL,"
                       " PRIMARY KEY (reparto, socio))"),
        QStringLiteral("CREATE TABLE anulaciones ("
                       " id INTEGER PRIMARY KEY,"
                       " movimiento INTEGER NOT NULL UNIQUE REFERENCES movimientos_socio(id),"
                       " fecha TEXT NOT NULL"
                       "  CHECK (fecha GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),"
                       " motivo TEXT,"
                       " reparto INTEGER REFERENCES repartos_anulados(id))")}},
      // 8: a deleted peña whose members, movements, collections or papers stay. Its
      // record is kept as it was in apuestas.dat, so its statements and balance are worked
      // out as before, over the draws stored up to `ultimo_sorteo`. `numero` is the order
      // of deletion ("B1", "B2", ...), never given twice.
      {8,
       {QStringLiteral("CREATE TABLE penas_borradas ("
                       " pena INTEGER PRIMARY KEY REFERENCES penas(id),"
                       " numero INTEGER NOT NULL UNIQUE CHECK (numero >= 1),"
                       " nombre TEXT NOT NULL,"
                       " borrada TEXT NOT NULL"
                       "  CHECK (borrada GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),"
                       " registro BLOB NOT NULL,"
                       " ultimo_sorteo TEXT)")}},
  };
  return kPasos;
}

int versionEsquema() { return migraciones().back().version; }

}  // namespace sortilan
