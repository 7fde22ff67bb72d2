#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace sortilan {
class Sesion;
}

namespace sortilan::ui {

class Acercade;
class Guia;
class Infor;
class CierreAlVolver;

// The about and news windows of the main window, and the start-up news check.
class Auxiliares : public QObject {
  Q_OBJECT
 public:
  // `principal` owns both windows and tells by its activation when the about window goes.
  Auxiliares(Sesion& sesion, QWidget& principal);
  ~Auxiliares() override;

  // The last step of the load: fetch the maker's news and show them when they changed.
  void compruebainforme();
  void acerca_Click();
  void Leer_Click();  // also the "Ver mensaje" button
  // The guide window, brought to the front when it is already open.
  void guia_Click();

  Acercade* acercade() const;
  Infor* infor() const;
  Guia* guia() const;

 private:
  Sesion& sesion_;
  QWidget& principal_;
  CierreAlVolver* cierre_ = nullptr;
  QPointer<Acercade> acercade_;
  QPointer<Infor> infor_;
  QPointer<Guia> guia_;
};

}  // namespace sortilan::ui
