#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QStatusBar;

namespace sortilan::ui {

// The status bar's word after the program has written a file the user asked for (a PDF, a
// CSV): where it went, and "Abrir" to see it in the desktop's program for it. It stays until
// the next file is saved.
class AvisoGuardado : public QWidget {
  Q_OBJECT
 public:
  explicit AvisoGuardado(QStatusBar& barra);

  void avisar(const QString& ruta);
  // The file the notice names; empty before the first one.
  QString ruta() const { return ruta_; }

  void Abrir_Click();

 private:
  QLabel* LabelGuardado = nullptr;
  QPushButton* CommandAbrir = nullptr;
  QString ruta_;
};

}  // namespace sortilan::ui
