#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <vector>

#include "base/resultado.h"

namespace sortilan {

// A flat file of fixed-size records without header, record k (1-based) at offset
// size*(k-1). A read that cannot get a whole record is end of file and yields zeros.
class ArchivoRegistros {
 public:
  explicit ArchivoRegistros(int tamano) : tamano_(tamano) {}

  // Opens (creating it when absent) for reading and writing; falls back to read-only
  // when the file or its folder cannot be written.
  Resultado abrir(const QString& ruta);
  void cerrar();
  bool abierto() const { return archivo_.isOpen(); }
  QString ruta() const { return ruta_; }

  // Reads record k into `destino` (resized to the record size). Returns false at end of file.
  [[nodiscard]] bool leer(int k, QByteArray& destino);
  Resultado escribir(int k, const QByteArray& registro);
  // Whole records in the file; trailing partial bytes do not count.
  int cuenta() const;
  // Every whole record, in order, in one read.
  QByteArray leerTodo();
  // Replaces the whole file atomically through `temporal`, then reopens it.
  Resultado reemplazar(const QByteArray& contenido, const QString& temporal);

 private:
  int tamano_;
  QString ruta_;
  QFile archivo_;
};

// Typed view over ArchivoRegistros for a record type with codificar/decodificar.
template <class T>
class ArchivoDe {
 public:
  ArchivoDe() : base_(T::kTamano) {}

  Resultado abrir(const QString& ruta) { return base_.abrir(ruta); }
  void cerrar() { base_.cerrar(); }
  bool abierto() const { return base_.abierto(); }
  QString ruta() const { return base_.ruta(); }
  int cuenta() const { return base_.cuenta(); }

  // The end-of-file rule: false and a zero record past the last whole record.
  [[nodiscard]] bool leer(int k, T& destino) {
    QByteArray b;
    const bool entero = base_.leer(k, b);
    destino = T::decodificar(b.constData());
    return entero;
  }
  // The same rule where a zero record is the meaning wanted: no draw, no date, no calibration.
  T leerOCero(int k) {
    T t;
    if (!leer(k, t)) t = T{};
    return t;
  }
  // The last whole record, a zero record for an empty file.
  T ultimo() { return leerOCero(cuenta()); }
  Resultado escribir(int k, const T& r) { return base_.escribir(k, r.codificar()); }

  std::vector<T> leerTodos() {
    const QByteArray b = base_.leerTodo();
    std::vector<T> out;
    out.reserve(static_cast<size_t>(b.size() / T::kTamano));
    for (qsizetype off = 0; off + T::kTamano <= b.size(); off += T::kTamano)
      out.push_back(T::decodificar(b.constData() + off));
    return out;
  }

  Resultado reemplazar(const std::vector<T>& registros, const QString& temporal) {
    QByteArray b;
    b.reserve(static_cast<qsizetype>(registros.size()) * T::kTamano);
    for (const T& r : registros) b.append(r.codificar());
    return base_.reemplazar(b, temporal);
  }

 private:
  ArchivoRegistros base_;
};

}  // namespace sortilan
