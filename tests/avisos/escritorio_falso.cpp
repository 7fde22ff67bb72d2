// A desktop notification service for the tests: owns org.freedesktop.Notifications on the
// session bus it is given and writes every Notify call as one JSON line to the file named
// by its argument, so a test can compare exactly what the program asked the desktop.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>
#include <cstdio>

class Notificaciones : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
 public:
  explicit Notificaciones(QString ruta) : ruta_(std::move(ruta)) {}

 public slots:
  uint Notify(const QString& app, uint reemplaza, const QString& icono, const QString& titulo, const QString& cuerpo,
              const QStringList& acciones, const QVariantMap& pistas, int caduca) {
    QFile f(ruta_);
    if (f.open(QIODevice::Append)) {
      const QJsonObject o{{QStringLiteral("app"), app},
                          {QStringLiteral("reemplaza"), static_cast<int>(reemplaza)},
                          {QStringLiteral("icono"), icono},
                          {QStringLiteral("titulo"), titulo},
                          {QStringLiteral("cuerpo"), cuerpo},
                          {QStringLiteral("acciones"), acciones.size()},
                          {QStringLiteral("entrada"), pistas.value(QStringLiteral("desktop-entry")).toString()},
                          {QStringLiteral("caduca"), caduca}};
      f.write(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n');
    }
    return ++ultimo_;
  }
  QStringList GetCapabilities() { return {QStringLiteral("body")}; }

 private:
  QString ruta_;
  uint ultimo_ = 0;
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) return 2;
  Notificaciones n(QString::fromLocal8Bit(argv[1]));
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &n, QDBusConnection::ExportAllSlots) ||
      !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
    std::fprintf(stderr, "no se pudo registrar el servicio de avisos\n");
    return 1;
  }
  std::puts("listo");
  std::fflush(stdout);
  return app.exec();
}

#include "escritorio_falso.moc"
