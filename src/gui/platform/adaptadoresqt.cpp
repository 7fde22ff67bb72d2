#include "gui/platform/adaptadoresqt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

namespace sortilan::plataforma {

Respuesta MensajesQt::mostrar(Icono icono, const QString& titulo, const QString& texto, Botones botones,
                              Respuesta predeterminada) {
  // A window that deletes itself on closing (the splash, closed while the main window
  // loads) would take the box on this stack with it while the box is still open.
  QWidget* padre = QApplication::activeWindow();
  if (padre && padre->testAttribute(Qt::WA_DeleteOnClose)) padre = nullptr;
  QMessageBox caja(padre);
  caja.setWindowTitle(titulo);
  caja.setText(texto);
  switch (icono) {
    case Icono::Informacion: caja.setIcon(QMessageBox::Information); break;
    case Icono::Pregunta: caja.setIcon(QMessageBox::Question); break;
    case Icono::Exclamacion: caja.setIcon(QMessageBox::Warning); break;
    case Icono::Critico: caja.setIcon(QMessageBox::Critical); break;
  }
  if (botones == Botones::SiNo) {
    QPushButton* si = caja.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
    QPushButton* no = caja.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    caja.setDefaultButton(predeterminada == Respuesta::Si ? si : no);
    caja.setEscapeButton(no);
    caja.exec();
    return caja.clickedButton() == si ? Respuesta::Si : Respuesta::No;
  }
  QPushButton* ok = caja.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
  caja.setDefaultButton(ok);
  caja.setEscapeButton(ok);
  caja.exec();
  return Respuesta::Aceptar;
}

void NavegadorQt::abrir(const QUrl& direccion) {
  if (direccion.isValid()) QDesktopServices::openUrl(direccion);
}

bool EscritorioQt::abrirArchivo(const QString& ruta) { return QDesktopServices::openUrl(QUrl::fromLocalFile(ruta)); }

QString DialogoArchivoQt::abrirArchivo(const QString& titulo, const QString& carpetaInicial, const QString& filtro) {
  return QFileDialog::getOpenFileName(QApplication::activeWindow(), titulo, carpetaInicial, filtro);
}

QString DialogoArchivoQt::guardarArchivo(const QString& titulo, const QString& propuesto, const QString& filtro) {
  return QFileDialog::getSaveFileName(QApplication::activeWindow(), titulo, propuesto, filtro);
}

void instalarAdaptadoresQt() {
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
  auto* traductor = new QTranslator(qApp);
  if (traductor->load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(traductor);
  ponerMensajes(std::make_shared<MensajesQt>());
  ponerNavegador(std::make_shared<NavegadorQt>());
  ponerDialogoArchivo(std::make_shared<DialogoArchivoQt>());
  ponerEscritorio(std::make_shared<EscritorioQt>());
}

}  // namespace sortilan::plataforma
