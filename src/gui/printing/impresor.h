#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace sortilan {
class Sesion;
}

namespace sortilan::ui {

class Imprimir;
class CierreAlVolver;

// Opens the print window for the selected peña and closes it when the main window
// becomes active again.
class Impresor : public QObject {
  Q_OBJECT
 public:
  // `principal` owns the print window and tells by its activation when to close it.
  // `penaElegida` gives the record number of the highlighted peña, 0 for none.
  Impresor(Sesion& sesion, QWidget& principal, std::function<int()> penaElegida);
  ~Impresor() override;

  // "Imprimir" in the peña manager.
  void Command2_Click();
  Imprimir* ventana() const;
  void cerrar();

 signals:
  // The print window saved its sheet as a PDF at `ruta`.
  void archivoGuardado(const QString& ruta);

 private:
  Sesion& sesion_;
  QWidget& principal_;
  std::function<int()> penaElegida_;
  CierreAlVolver* cierre_ = nullptr;
  QPointer<Imprimir> ventana_;
};

}  // namespace sortilan::ui
