#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace sortilan::ui {

// "Guía de Sortilan": the short guide shipped inside the program, read in a window that
// stays open beside the main one while the user follows its steps.
class Guia : public QWidget {
  Q_OBJECT
 public:
  explicit Guia(QWidget* padre = nullptr);

  // The guide as the program carries it (the package installs the same file).
  static QUrl direccion() { return QUrl(QStringLiteral("qrc:/guia/guia.html")); }

  QTextBrowser* texto() const { return texto_; }

 private:
  QTextBrowser* texto_ = nullptr;
};

}  // namespace sortilan::ui
