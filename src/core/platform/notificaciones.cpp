#include "platform/notificaciones.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace sortilan::plataforma {

Resultado notificarEscritorio(const QString& titulo, const QString& cuerpo) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    return Resultado::fallo(Resultado::Clase::Red, QStringLiteral("No hay bus de sesión del escritorio."));
  QDBusMessage m = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  const QString entrada = QString::fromLatin1(kEntradaEscritorio);
  QVariantMap pistas;
  pistas.insert(QStringLiteral("desktop-entry"), entrada);
  m << QStringLiteral("Sortilan") << 0u << entrada << titulo << cuerpo << QStringList() << pistas << -1;
  // A service that hangs must not keep a scheduled run waiting.
  const QDBusMessage r = bus.call(m, QDBus::Block, 5000);
  if (r.type() == QDBusMessage::ErrorMessage)
    return Resultado::fallo(Resultado::Clase::Red,
                            QStringLiteral("El escritorio no ha recibido el aviso: %1").arg(r.errorMessage()));
  return Resultado::bien();
}

}  // namespace sortilan::plataforma
