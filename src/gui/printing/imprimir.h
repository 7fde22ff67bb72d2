#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "printing/ajustecalibracion.h"
#include "printing/impresion.h"

class QLabel;
class QLineEdit;
class QPrintPreviewDialog;
class QPrinter;
class QPushButton;

namespace sortilan {
class Almacen;
}

namespace sortilan::ui {

// "IMPRIMIR BOLETOS": prints the bets of one peña on official ticket paper or on
// plain paper, and holds the printer correction for official paper.
class Imprimir : public QWidget {
  Q_OBJECT
 public:
  // `registro` is the peña's record number in the peña file.
  Imprimir(Almacen& almacen, int registro, QWidget* padre = nullptr);
  ~Imprimir() override;

  void Command1_Click();  // official paper
  void Command2_Click();  // plain paper
  void Command3_Click();  // preview of the plain-paper sheet
  void Command4_Click();  // the plain-paper sheet as a PDF file
  void Text1_Change(int e);
  void Text1_LostFocus(int e);

  // Asks which printer to use; false when the user cancels. Tests put a PDF file here.
  std::function<bool(QPrinter&)> elegirImpresora;
  // Runs the preview; tests look at the dialog here instead of entering its loop.
  std::function<void(QPrintPreviewDialog&)> abrirVistaPrevia;

  const Pena& pena() const { return pena_; }
  const AjusteCalibracion& ajuste() const { return *ajuste_; }

 signals:
  // A file the user asked for was written at `ruta`.
  void archivoGuardado(const QString& ruta);

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  QLabel* Label9 = nullptr;
  QLabel* Label10 = nullptr;
  std::array<QLabel*, 3> Label1{};
  std::array<QLabel*, 2> Label2{};
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QPushButton* Command3 = nullptr;  // "Vista previa"
  QPushButton* Command4 = nullptr;  // "Guardar PDF…"
  std::array<QLineEdit*, 2> Text1{};

  void imprimeboletos(Papel papel);
  // The job for the peña as the file holds it now; no pages when there is nothing to print.
  Impresion trabajo(Papel papel);
  void prepararImpresora(QPrinter& impresora) const;
  void mostrarCalibracion();

  Almacen& almacen_;
  int registro_;
  Pena pena_;
  std::unique_ptr<AjusteCalibracion> ajuste_;
  bool avisadoFallo_ = false;
};

}  // namespace sortilan::ui
