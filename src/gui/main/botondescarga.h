#pragma once

#include <QObject>
#include <QPixmap>

class QToolButton;

namespace sortilan::ui {

// The pictures of the download button Picture2: image 2 while pressed and near its
// edge, image 1 when released and while the pointer is well inside it.
class BotonDescarga : public QObject {
  Q_OBJECT
 public:
  explicit BotonDescarga(QToolButton* Picture2);

  int imagen() const { return imagen_; }
  void poner(int imagen);
  // The area where the pointer lights the button, in twips relative to the picture.
  static bool dentro(QPoint twips);
  static QPixmap dibujar(int imagen);

 protected:
  bool eventFilter(QObject* objeto, QEvent* e) override;

 private:
  QToolButton* boton_;
  QPixmap imagenes_[2];
  int imagen_ = 0;
};

}  // namespace sortilan::ui
