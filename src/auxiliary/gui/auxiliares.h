#pragma once

#include <QObject>
#include <QPointer>

namespace sortilan::ui {

class Acercade;
class Infor;
class CierreAlVolver;
class Principal;

// The about and news windows of the main window, and the start-up news check.
class Auxiliares : public QObject {
  Q_OBJECT
 public:
  explicit Auxiliares(Principal& principal);
  ~Auxiliares() override;

  // The last step of the load: fetch the maker's news and show them when they changed.
  void compruebainforme();
  void acerca_Click();
  void Leer_Click();  // also the "Ver mensaje" button

  Acercade* acercade() const;
  Infor* infor() const;

 private:
  Principal& p_;
  CierreAlVolver* cierre_ = nullptr;
  QPointer<Acercade> acercade_;
  QPointer<Infor> infor_;
};

}  // namespace sortilan::ui
