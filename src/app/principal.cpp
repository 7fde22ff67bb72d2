#include "app/principal.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

#include "app/menus.h"
#include "gui/auxiliary/auxiliares.h"
#include "gui/auxiliary/infor.h"
#include "gui/auxiliary/interruptoravisos.h"
#include "gui/checking/comprobador.h"
#include "gui/checking/modeloresultados.h"
#include "gui/checking/tabgestor.h"
#include "gui/creation/lanzadorcreacion.h"
#include "gui/download/descargador.h"
#include "gui/main/modelosorteos.h"
#include "gui/main/tabestadisticas.h"
#include "gui/main/tabgeneral.h"
#include "gui/members/controlsocios.h"
#include "gui/members/tabsocios.h"
#include "gui/money/controlcuentas.h"
#include "gui/money/tabcuentas.h"
#include "gui/papers/papeles.h"
#include "gui/printing/impresor.h"
#include "gui/report/tabultimo.h"
#include "gui/stats/graficos.h"
#include "gui/ui/avisoguardado.h"
#include "operations/penas.h"
#include "operations/sorteos.h"
#include "platform/plataforma.h"
#include "platform/servicios.h"
#include "session/errorpermiso.h"

namespace sortilan::ui {

namespace {
const QString kBienvenida = QStringLiteral(
    "Bienvenido a Sortilan. Vaya a la pestaña 'Gestor de peñas' y cree una. La peña creada empezará a "
    "almacenar resultados a partir de hoy. Si quieres ver los resultados de la peña en sorteos anteriores, "
    "marque la casilla 'Histórico' de la pestaña 'General'.");
// The box above stays disabled until there are draws, so the user is told first how to get them.
const QString kSinSorteos = QStringLiteral(
    "\n\nTodavía no hay sorteos guardados, y sin ellos la casilla 'Histórico' está desactivada. Consígalos "
    "primero desde el menú General: 'Bajar Sorteos nuevos', 'Importar sorteos de un archivo CSV...' o 'Añadir "
    "sorteo a mano...'. La 'Guía de Sortilan' del menú Ayuda (F1) explica cada paso.");
}  // namespace

Principal::Principal(QWidget* padre) : QMainWindow(padre) {
  setObjectName(QStringLiteral("Principal"));
  setWindowTitle(titulo());
  SSTab1_ = new QTabWidget(this);
  SSTab1_->setObjectName(QStringLiteral("SSTab1"));
  general_ = new TabGeneral(SSTab1_);
  ultimo_ = new TabUltimo(SSTab1_);
  gestor_ = new TabGestor(SSTab1_);
  estadisticas_ = new TabEstadisticas(SSTab1_);
  SSTab1_->addTab(general_, QStringLiteral("General"));
  SSTab1_->addTab(ultimo_, QStringLiteral("Último sorteo"));
  SSTab1_->addTab(gestor_, QStringLiteral("Gestor de peñas"));
  SSTab1_->addTab(estadisticas_, QStringLiteral("Estadísticas"));
  cuentas_ = new TabCuentas(SSTab1_);
  SSTab1_->addTab(cuentas_, QStringLiteral("Cuentas"));
  socios_ = new TabSocios(SSTab1_);
  SSTab1_->addTab(socios_, QStringLiteral("Socios"));
  controlSocios_ = new ControlSocios(sesion_.almacen(), *socios_, this);
  connect(controlSocios_, &ControlSocios::aviso, this, [this](const QString& t) { statusBar()->showMessage(t); });
  // A prize marked collected in "Cuentas" is to split here: the tab reads again when shown.
  connect(SSTab1_, &QTabWidget::currentChanged, this, [this](int i) {
    if (cargado_ && SSTab1_->widget(i) == socios_) controlSocios_->actualizar();
    if (cargado_ && SSTab1_->widget(i) == cuentas_) controlCuentas_->completarAplazado();
  });
  // A window manager that ignores the minimum size (a tiling one) gets scroll bars
  // instead of widgets squeezed over each other.
  auto* desplazable = new QScrollArea(this);
  desplazable->setObjectName(QStringLiteral("desplazable"));
  desplazable->setFrameShape(QFrame::NoFrame);
  desplazable->setWidgetResizable(true);
  desplazable->setWidget(SSTab1_);
  setCentralWidget(desplazable);
  comprobador_ = new Comprobador(sesion_, *gestor_, this);
  descargador_ = new Descargador(sesion_, *this);
  graficos_ = new Graficos(this);
  estadisticas_->ponerGrafico(graficos_->vista());
  connect(estadisticas_, &TabEstadisticas::opcionPulsada, graficos_, &Graficos::elegir);
  connect(estadisticas_, &TabEstadisticas::mitadCambiada, graficos_, &Graficos::mostrarMitad);
  connect(graficos_, &Graficos::opcionElegida, estadisticas_, &TabEstadisticas::marcarOpcion);
  avisoGuardado_ = new AvisoGuardado(*statusBar());
  connect(controlSocios_, &ControlSocios::archivoGuardado, avisoGuardado_, &AvisoGuardado::avisar);
  crearMenus();
  controlCuentas_ = new ControlCuentas(sesion_, *cuentas_, *statusBar(), this);
  connect(controlCuentas_, &ControlCuentas::archivoGuardado, avisoGuardado_, &AvisoGuardado::avisar);
  connect(acciones_.Completar, &QAction::triggered, controlCuentas_, &ControlCuentas::Completar_Click);
  connect(controlCuentas_, &ControlCuentas::ocupado, this, [this](bool si) {
    completando_ = si;
    habilitarMenus();
  });
  impresor_ = new Impresor(sesion_, *this, [this] { return comprobador_->penaSeleccionada(); });
  connect(gestor_, &TabGestor::imprimirPedido, impresor_, &Impresor::Command2_Click);
  connect(impresor_, &Impresor::archivoGuardado, avisoGuardado_, &AvisoGuardado::avisar);
  connect(acciones_.imprimir, &QAction::triggered, impresor_, &Impresor::Command2_Click);
  auxiliares_ = new Auxiliares(sesion_, *this);
  connect(general_, &TabGeneral::mensajePedido, auxiliares_, &Auxiliares::Leer_Click);
  conectarComprobacion();
  menus_ = new Menus(*this);
  // The lists show a saved peña at once, while the creation window stays open for the next.
  connect(menus_->creacion(), &LanzadorCreacion::penaGrabada, this, [this] {
    cargasorteos();
    recomprobar();
  });
  conectarDescarga();
  habilitarMenus();
  // The minimum is what every tab needs whole, not only the one on show: a tab never shown
  // keeps stale size hints until its widgets are asked again.
  SSTab1_->ensurePolished();
  for (QWidget* w : SSTab1_->findChildren<QWidget*>()) w->updateGeometry();
  setMinimumSize(SSTab1_->minimumSizeHint() +
                 QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height()));
  resize(1280, 760);

  connect(general_, &TabGeneral::sorteosElegidosCambiado, this, [this] {
    // The third step of a download re-checks on its own.
    if (cargado_ && !descargador_->descarga().comprobando()) refresca();
  });
}

void Principal::conectarComprobacion() {
  general_->ponerModelos(comprobador_->modeloSencillas(), comprobador_->modeloMultiples());
  connect(general_, &TabGeneral::vistaPulsada, comprobador_, &Comprobador::Command1_Click);
  connect(general_, &TabGeneral::historicoCambiado, comprobador_, &Comprobador::ponerHistorico);
  connect(general_, &TabGeneral::soloPremiosCambiado, comprobador_, &Comprobador::ponerSoloPremios);
  connect(comprobador_, &Comprobador::vistaElegida, general_, &TabGeneral::mostrarVista);
  connect(comprobador_, &Comprobador::premioPintado, general_, &TabGeneral::pintarPremio);
  connect(comprobador_, &Comprobador::penasRegistradas, general_, &TabGeneral::mostrarPenasRegistradas);
  connect(comprobador_, &Comprobador::avisoNuevosBorrado, general_, &TabGeneral::borrarAvisoNuevos);
  connect(comprobador_, &Comprobador::refrescoPedido, this, &Principal::refresca);
  connect(comprobador_, &Comprobador::penasCambiadas, this, [this](bool recomprobarLuego) {
    cargasorteos();
    if (recomprobarLuego) recomprobar();
  });
  connect(SSTab1_, &QTabWidget::currentChanged, comprobador_, &Comprobador::pararAviso);

  // The view items of the General menu: tab 0, the view, then "only prizes" and "history"
  // (-1 leaves a box as it is).
  struct Item {
    QAction* accion;
    int indice, soloPremios, historico;
  };
  const Item items[] = {{acciones_.sencillas, 0, -1, -1}, {acciones_.verpremio, 0, 1, 0},
                        {acciones_.verhisto, 0, 0, 1},    {acciones_.verprehi, 0, 1, 1},
                        {acciones_.Multiples, 1, -1, -1}, {acciones_.verpremiom, 1, 1, 0},
                        {acciones_.verhistom, 1, 0, 1},   {acciones_.verpreim, 1, 1, 1}};
  for (const Item& it : items)
    connect(it.accion, &QAction::triggered, this, [this, it] {
      SSTab1_->setCurrentIndex(0);
      comprobador_->elegirVista(it.indice);
      general_->ponerCasillas(it.soloPremios, it.historico);
    });
}

Principal::~Principal() = default;

QAction* Principal::nuevaAccion(QMenu* menu, const char* nombre, const QString& texto) {
  auto* a = menu->addAction(texto);
  a->setObjectName(QLatin1String(nombre));
  return a;
}

void Principal::crearMenus() {
  QMenu* general = menuBar()->addMenu(QStringLiteral("&General"));
  general->setObjectName(QStringLiteral("General"));
  acciones_.Baja = nuevaAccion(general, "Baja", QStringLiteral("&Bajar Sorteos nuevos"));
  acciones_.amano = nuevaAccion(general, "amano", QStringLiteral("&Añadir sorteo a mano..."));
  acciones_.importacsv = nuevaAccion(general, "importacsv", QStringLiteral("&Importar sorteos de un archivo CSV..."));
  acciones_.Crearp = nuevaAccion(general, "Crearp", QStringLiteral("&Crear peña nueva"));
  acciones_.imprimir = nuevaAccion(general, "imprimir", QStringLiteral("Im&primir..."));
  acciones_.borrpe = nuevaAccion(general, "borrpe", QStringLiteral("Bo&rrar sorteos almacenados/Reset aciertos peñas"));
  acciones_.Completar = nuevaAccion(general, "Completar", QStringLiteral("Completar &tablas de premios"));
  acciones_.avisos = nuevaAccion(general, "avisos", QStringLiteral("A&visos automáticos"));
  new InterruptorAvisos(acciones_.avisos, general, this);
  QMenu* sen = general->addMenu(QStringLiteral("S&encillas"));
  sen->setObjectName(QStringLiteral("sen"));
  acciones_.sencillas = nuevaAccion(sen, "sencillas", QStringLiteral("&Todos los resultados"));
  acciones_.verpremio = nuevaAccion(sen, "verpremio", QStringLiteral("&Sólo si hay premio"));
  acciones_.verhisto =
      nuevaAccion(sen, "verhisto",
                  QStringLiteral("&Histórico (resultados sorteos anteriores a la fecha de creación de las peñas)"));
  acciones_.verprehi = nuevaAccion(sen, "verprehi", QStringLiteral("Sólo si hay &premios + histórico"));
  QMenu* mult = general->addMenu(QStringLiteral("&Múltiples"));
  mult->setObjectName(QStringLiteral("Mult"));
  acciones_.Multiples = nuevaAccion(mult, "Multiples", QStringLiteral("&Todos los resultados"));
  acciones_.verpremiom = nuevaAccion(mult, "verpremiom", QStringLiteral("&Sólo si hay premio"));
  acciones_.verhistom =
      nuevaAccion(mult, "verhistom",
                  QStringLiteral("&Histórico (resultados sorteos anteriores a la fecha de creacón de las peñas)"));
  acciones_.verpreim = nuevaAccion(mult, "verpreim", QStringLiteral("Sólo si hay &premios + histórico"));
  general->addSeparator();
  acciones_.salir = nuevaAccion(general, "salir", QStringLiteral("&Salir"));
  connect(acciones_.salir, &QAction::triggered, this, &QWidget::close);
  acciones_.salir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  acciones_.Crearp->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  acciones_.imprimir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  acciones_.Baja->setShortcut(QKeySequence(Qt::Key_F5));

  QMenu* ver = menuBar()->addMenu(QStringLiteral("&Ver"));
  ver->setObjectName(QStringLiteral("Ver"));
  const char* pestanas[6][2] = {{"gene", "Pestaña &General"},           {"ultimo", "Pestaña Ú&ltimo sorteo"},
                                {"Gestor", "Pestaña Gestor de &peñas"}, {"esta", "Pestaña &Estadísticas"},
                                {"cuen", "Pestaña &Cuentas"},           {"soci", "Pestaña &Socios"}};
  for (int i = 0; i < 6; ++i) {
    QAction* a = nuevaAccion(ver, pestanas[i][0], QString::fromUtf8(pestanas[i][1]));
    a->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
    acciones_.pestanas[static_cast<size_t>(i)] = a;
    connect(a, &QAction::triggered, this, [this, i] { elegirPestana(i); });
  }
  // Ctrl+Tab is answered by the window, not only by the tab bar when it has the focus.
  acciones_.siguiente = new QAction(this);
  acciones_.siguiente->setObjectName(QStringLiteral("siguiente"));
  acciones_.siguiente->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab));
  acciones_.anterior = new QAction(this);
  acciones_.anterior->setObjectName(QStringLiteral("anterior"));
  // Shift+Tab arrives as Backtab on some platforms and as Tab with Shift on others.
  acciones_.anterior->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});
  for (QAction* a : {acciones_.siguiente, acciones_.anterior}) {
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
  }
  connect(acciones_.siguiente, &QAction::triggered, this,
          [this] { elegirPestana((SSTab1_->currentIndex() + 1) % SSTab1_->count()); });
  connect(acciones_.anterior, &QAction::triggered, this,
          [this] { elegirPestana((SSTab1_->currentIndex() + SSTab1_->count() - 1) % SSTab1_->count()); });

  const auto seleccion = [this] { return std::pair{socios_->penaSeleccionada(), socios_->socioSeleccionado()}; };
  auto* papeles = new Papeles(sesion_.almacen(), seleccion, this);
  papeles->anadirMenu(menuBar());
  connect(papeles, &Papeles::archivoGuardado, avisoGuardado_, &AvisoGuardado::avisar);
  QMenu* ayuda = menuBar()->addMenu(QStringLiteral("&Ayuda"));
  ayuda->setObjectName(QStringLiteral("Ayuda"));
  acciones_.guia = nuevaAccion(ayuda, "guia", QStringLiteral("&Guía de Sortilan"));
  acciones_.guia->setShortcut(QKeySequence(Qt::Key_F1));
  acciones_.Leer = nuevaAccion(ayuda, "Leer", QStringLiteral("&Leer mensaje del Jefe"));
  acciones_.web = nuevaAccion(ayuda, "web", QStringLiteral("&Web del programa"));
  acciones_.acerca = nuevaAccion(ayuda, "acerca", QStringLiteral("&Acerca de..."));

  connect(acciones_.acerca, &QAction::triggered, this, [this] { auxiliares_->acerca_Click(); });
  connect(acciones_.guia, &QAction::triggered, this, [this] { auxiliares_->guia_Click(); });
  connect(acciones_.Leer, &QAction::triggered, this, [this] { auxiliares_->Leer_Click(); });
}

void Principal::conectarDescarga() {
  Descargador* d = descargador_;
  d->leerNoticias([this]() -> QWidget* { return auxiliares_ ? auxiliares_->infor() : nullptr; });
  connect(general_, &TabGeneral::bajarPulsado, d, &Descargador::Picture2_Click);
  connect(acciones_.Baja, &QAction::triggered, d, &Descargador::Picture2_Click);
  connect(acciones_.amano, &QAction::triggered, d, &Descargador::abrirEntradaManual);
  connect(acciones_.importacsv, &QAction::triggered, d, qOverload<>(&Descargador::importarCsv));
  connect(d, &Descargador::estadoCambiado, general_, &TabGeneral::mostrarDescarga);
  connect(d, &Descargador::sorteosNuevos, comprobador_, &Comprobador::ponerSorteosNuevos);
  connect(d, &Descargador::empezada, this, [this] {
    comprobador_->pararAviso();
    comprobador_->olvidarPremio();
  });
  connect(d, &Descargador::generalPedida, this, [this] { SSTab1_->setCurrentIndex(0); });
  connect(d, &Descargador::sorteosCambiados, this, [this](bool lista) {
    cargasorteos();
    if (lista) listasorteos();
  });
  connect(d, &Descargador::comprobacionPedida, comprobador_, &Comprobador::compruebapenas);
  connect(d, &Descargador::sorteosElegidosPedidos, general_, &TabGeneral::elegirSorteos);
  connect(d, &Descargador::terminada, general_, &TabGeneral::soltarBajar);
  connect(d, &Descargador::sorteosAnadidos, this, &Principal::trasAnadir);
  connect(d, &Descargador::ultimoListo, ultimo_, &TabUltimo::poner);
  connect(d, &Descargador::avisoUltimo, ultimo_, &TabUltimo::mostrarAviso);
  connect(d, &Descargador::documentoCerrado, ultimo_, &TabUltimo::cerrarDocumento);
  connect(d, &Descargador::documentoListo, ultimo_, &TabUltimo::mostrarDocumento);
}

void Principal::trasAnadir(int sorteos) {
  cargasorteos();
  // A new value of the selector re-checks and rebuilds the list by itself.
  if (!general_->elegirSorteosNuevos(sorteos)) refresca();
}

void Principal::habilitarMenus() {
  for (QAction* a : {acciones_.Baja, acciones_.amano, acciones_.importacsv, acciones_.Completar, acciones_.avisos,
                     acciones_.Crearp, acciones_.imprimir, acciones_.borrpe, acciones_.sencillas, acciones_.verpremio,
                     acciones_.verhisto, acciones_.verprehi, acciones_.Multiples, acciones_.verpremiom,
                     acciones_.verhistom, acciones_.verpreim, acciones_.Leer, acciones_.acerca})
    a->setEnabled(true);
  // One completion of the prize tables at a time.
  acciones_.Completar->setEnabled(!completando_);
  // Without a maker's server configured there is no site to open.
  acciones_.web->setEnabled(plataforma::servicios().hayFabricante());
}

void Principal::cargar(const QString& carpeta) {
  move(2, 3);  // Top 50, Left 25 twips
  if (const QScreen* pantalla = screen()) {
    // The frame and title bar take some of the free area too.
    const QSize libre = pantalla->availableGeometry().size() - QSize(16, 48);
    resize(size().boundedTo(libre));  // never below the minimum
  }
  QDir::setCurrent(carpeta);
  // A folder that cannot be opened or written still shows what it holds; the user is told
  // once now rather than by every later change that fails.
  const Resultado abierta = sesion_.abrir(carpeta);
  // Draws that arrived while no peña was counted (a program stopped half-way) are
  // counted before anything is shown.
  const Resultado contado = operaciones::contarPremios(sesion_.almacen());
  cargasorteos();
  cargado_ = true;
  refresca();
  descargador_->escrutinio(Descargador::Documento::Mostrar);
  comprobador_->elegirVista(0);
  auxiliares_->compruebainforme();
  avisarFallo(abierta);
  if (abierta) avisarFallo(contado);
  QTimer::singleShot(0, controlCuentas_, &ControlCuentas::avisarUrgentes);
}

void Principal::cargasorteos() {
  EstadoSorteos estado = sesion_.cargasorteos(plataforma::hoy());
  if (sesion_.penasDanadas()) {
    // Set aside before anything could be written back from it; the load then sees the
    // empty peña file left in its place.
    const operaciones::Apartado a = operaciones::apartarPenasDanadas(sesion_.almacen());
    const QString texto = QString::fromUtf8(kPenasCorruptas);
    if (!a.resultado)
      avisarFallo(Resultado::fallo(texto + QLatin1Char(' ') + a.resultado.error, a.resultado.permiso));
    else if (a.apartado)
      plataforma::mensaje(plataforma::Icono::Exclamacion, QStringLiteral("¡Vaya hombre!"),
                          texto + QStringLiteral(" Se ha apartado como %1.").arg(a.archivo));
    if (a.resultado) estado = sesion_.cargasorteos(plataforma::hoy());
  }
  general_->mostrarEstado(estado);
  comprobador_->resumen();
  if (aplazarDinero_ && !cargado_)
    controlCuentas_->actualizarVigentes();
  else
    controlCuentas_->actualizar();
  // A hidden "Socios" reads the database again when it is shown.
  if (SSTab1_->currentWidget() == socios_) controlSocios_->actualizar();
}

void Principal::listasorteos() {
  ListaSorteos lista = sesion_.listasorteos();
  if (lista.danado) return trasArchivoDanado(std::move(lista));
  mostrarLista(std::move(lista));
}

void Principal::refresca() {
  // The draws are validated before any peña is checked against them: prizes counted
  // from a damaged file would stay in the peña records once the file is put aside.
  ListaSorteos lista = sesion_.listasorteos();
  if (lista.danado) return trasArchivoDanado(std::move(lista));
  comprobador_->compruebapenas(general_->sorteosElegidos());
  mostrarLista(std::move(lista));
}

void Principal::trasArchivoDanado(ListaSorteos lista) {
  const operaciones::Apartado a = operaciones::apartarSorteosDanados(sesion_.almacen());
  if (a.danado) plataforma::mensaje(plataforma::Icono::Exclamacion, operaciones::kTituloDanado, operaciones::kDanado);
  // A file that could not be put aside is left unlisted and unchecked; rebuilding
  // would only find it again.
  if (!a.resultado) {
    avisarFallo(a.resultado);
    return mostrarLista(std::move(lista));
  }
  // Put aside (or mended meanwhile by another program): rebuild everything for what
  // the folder holds now.
  cargasorteos();
  refresca();
}

void Principal::mostrarLista(ListaSorteos lista) {
  graficos_->poner(lista.frecuencias);
  estadisticas_->ponerSorteos(std::move(lista));
  graficos_->elegir(0);
}

void Principal::recomprobar() {
  if (general_->sorteosElegidos() == 1) {
    comprobador_->compruebapenas(1);
    comprobador_->compruebamultiple(1);
  } else {
    general_->elegirSorteos(1);
    estadisticas_->volverAlPrincipio();
  }
}

void Principal::bienvenida() {
  const QString texto = sesion_.proximoreg <= 1 ? kBienvenida + kSinSorteos : kBienvenida;
  plataforma::mensaje(plataforma::Icono::Informacion, QStringLiteral("Fichero de peñas vacío"), texto);
}

void Principal::alActivar() {
  // Another program (a scheduled command line, a second window) changed the data: show
  // what is stored, never a stale copy.
  int nuevosFuera = 0;
  if (sesion_.cambiadoFuera()) {
    const int antes = sesion_.proximoreg;
    cargasorteos();
    nuevosFuera = std::max(0, sesion_.proximoreg - antes);
    if (nuevosFuera == 0) refresca();
  }
  ++contadorPantalla_;
  if (contadorPantalla_ == 1) {
    Pena p;
    if (!sesion_.almacen().penas().leer(1, p)) QTimer::singleShot(0, this, &Principal::bienvenida);
  }
  menus_->descargarSecundarias();
  // The new draws stay selected, as after a download here; going back to the newest one
  // would hide a prize in an earlier draw of the same catch-up.
  if (nuevosFuera > 0) return mostrarNuevosDeFuera(nuevosFuera);
  recomprobar();
}

void Principal::elegirPestana(int indice) {
  SSTab1_->setCurrentIndex(indice);
  enfocarPestana(SSTab1_->currentWidget());
}

void Principal::enfocarPestana(QWidget* pestana) {
  // A tab chosen by its shortcut or the menu would leave the focus on a control of the
  // tab that went (hidden) or on the tab bar, where the arrows change the tab again: its
  // first control takes it. (Arrows on the tab bar itself keep the focus there.)
  QWidget* foco = QApplication::focusWidget();
  if (!pestana || (foco && pestana->isAncestorOf(foco))) return;
  for (QWidget* w = pestana->nextInFocusChain(); w && w != pestana; w = w->nextInFocusChain())
    if (pestana->isAncestorOf(w) && w->isVisibleTo(pestana) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
}

void Principal::mostrarNuevosDeFuera(int sorteos) {
  comprobador_->ponerSorteosNuevos(sorteos);
  comprobador_->compruebapenas(sorteos);
  // A new value of the selector re-checks by itself; the list is rebuilt either way.
  if (general_->elegirSorteosNuevos(sorteos))
    listasorteos();
  else
    refresca();
  descargador_->escrutinio(Descargador::Documento::Mostrar);
}

void Principal::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow() && cargado_) alActivar();
}

void Principal::paintEvent(QPaintEvent* e) {
  QMainWindow::paintEvent(e);
  if (cargado_ && aplazarDinero_) {
    // On screen now: the rest of the money, from the event loop.
    aplazarDinero_ = false;
    QTimer::singleShot(0, controlCuentas_, &ControlCuentas::completarAplazado);
  }
  if (!cargado_ || contadorPantalla_ > 0) return;
  ++contadorPantalla_;
  Pena p;
  if (sesion_.proximoreg == 1 && !sesion_.almacen().penas().leer(1, p))
    QTimer::singleShot(0, this, &Principal::bienvenida);
}

void Principal::closeEvent(QCloseEvent* e) {
  e->accept();
  QApplication::quit();
}

}  // namespace sortilan::ui
