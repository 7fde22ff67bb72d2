#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "base/resultado.h"

namespace sortilan {

// A flat file of fixed-size records without header, record k (1-based) at offset
// size*(k-1). A read that cannot get a whole record is end of file and yields zeros.
// Nothing keeps the file open: each read opens it by name, so a replacement written by
// another program is seen at once, and an absent file reads as an empty one. The file
// is only ever written whole, by a change of the folder (operaciones::Transaccion).
class ArchivoRegistros {
 public:
  // `maximo` records at most: a larger file (or a pipe, a device, a folder) is refused
  // without being read, so a damaged or foreign file never fills the memory.
  ArchivoRegistros(int tamano, int maximo) : tamano_(tamano), maximo_(maximo) {}

  void abrir(const QString& ruta) { ruta_ = ruta; }
  QString ruta() const { return ruta_; }

  // Reads record k into `destino` (resized to the record size). Returns false at end of file.
  [[nodiscard]] bool leer(int k, QByteArray& destino) const;
  // Whole records in the file; trailing partial bytes do not count.
  int cuenta() const;
  // Every whole record, in order, in one read. `ok` false when the file exists but
  // cannot be read: a caller that will write the file back must not take that for empty.
  QByteArray leerTodo(bool* ok = nullptr) const;
  // The same with the reason of a failure; `parcial` tells trailing bytes that are not a
  // whole record (cut off from `datos`).
  Resultado leerTodo(QByteArray& datos, bool* parcial = nullptr) const;

 private:
  int tamano_;
  int maximo_;
  QString ruta_;
};

// Typed view over ArchivoRegistros for a record type with codificar/decodificar.
template <class T>
class ArchivoDe {
 public:
  ArchivoDe() : base_(T::kTamano, T::kMaximo) {}

  void abrir(const QString& ruta) { base_.abrir(ruta); }
  QString ruta() const { return base_.ruta(); }
  int cuenta() const { return base_.cuenta(); }

  // The end-of-file rule: false and a zero record past the last whole record.
  [[nodiscard]] bool leer(int k, T& destino) const {
    QByteArray b;
    const bool entero = base_.leer(k, b);
    destino = T::decodificar(b.constData());
    return entero;
  }
  // The same rule where a zero record is the meaning wanted: no draw, no date, no calibration.
  T leerOCero(int k) const {
    T t;
    if (!leer(k, t)) t = T{};
    return t;
  }
  // The last whole record, a zero record for an empty file.
  T ultimo() const {
    const std::vector<T> todos = leerTodos();
    return todos.empty() ? T{} : todos.back();
  }

  std::vector<T> leerTodos(bool* ok = nullptr) const { return decodificarTodos(base_.leerTodo(ok)); }
  Resultado leerTodos(std::vector<T>& registros, bool* parcial = nullptr) const {
    QByteArray b;
    Resultado r = base_.leerTodo(b, parcial);
    registros = decodificarTodos(b);
    return r;
  }

  static std::vector<T> decodificarTodos(const QByteArray& b) {
    std::vector<T> out;
    out.reserve(static_cast<size_t>(b.size() / T::kTamano));
    for (qsizetype off = 0; off + T::kTamano <= b.size(); off += T::kTamano)
      out.push_back(T::decodificar(b.constData() + off));
    return out;
  }

  static QByteArray codificar(const std::vector<T>& registros) {
    QByteArray b;
    b.reserve(static_cast<qsizetype>(registros.size()) * T::kTamano);
    for (const T& r : registros) b.append(r.codificar());
    return b;
  }

 private:
  ArchivoRegistros base_;
};

}  // namespace sortilan
