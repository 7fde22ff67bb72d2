#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "printing/ajustecalibracion.h"
#include "printing/impresion.h"

class QLabel;
class QLineEdit;
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
  void Text1_Change(int e);
  void Text1_LostFocus(int e);

  // Asks which printer to use; false when the user cancels. Tests put a PDF file here.
  std::function<bool(QPrinter&)> elegirImpresora;

  const Pena& pena() const { return pena_; }
  const AjusteCalibracion& ajuste() const { return *ajuste_; }

  QLabel* Label9 = nullptr;
  QLabel* Label10 = nullptr;
  std::array<QLabel*, 3> Label1{};
  std::array<QLabel*, 2> Label2{};
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  std::array<QLineEdit*, 2> Text1{};

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void imprimeboletos(Papel papel);
  void mostrarCalibracion();

  Almacen& almacen_;
  int registro_;
  Pena pena_;
  std::unique_ptr<AjusteCalibracion> ajuste_;
  bool avisadoFallo_ = false;
};

}  // namespace sortilan::ui
