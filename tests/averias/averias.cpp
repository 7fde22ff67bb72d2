// Fault injection for the data-folder tests, loaded with LD_PRELOAD into a program under
// test. It counts the steps that make a change durable (write/pwrite, fsync/fdatasync, rename)
// on files inside one folder, and fails or kills the process at a chosen one:
//   AVERIA_CARPETA  the folder watched (absolute)
//   AVERIA_MODO     contar | escritura | sincronia | renombre | matar
//   AVERIA_N        the step (1-based) of that kind (of any kind for "matar")
//   AVERIA_INFORME  "contar": file that receives "escrituras sincronias renombres" at exit
//   AVERIA_IGNORAR  name prefixes, separated by commas, of files left out (the download
//                   buffer, the lock file), with the sync of the folder after their rename
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

enum Clase { kEscritura, kSincronia, kRenombre };

// Plain pointers into the environment: nothing here may be destroyed before the report
// at exit is written.
struct Config {
  const char* carpeta = nullptr;
  size_t largo = 0;
  const char* modo = "";
  const char* informe = nullptr;
  const char* ignorar = nullptr;
  long n = 0;
  bool activa = false;
};

const Config& config() {
  static const Config c = [] {
    Config r;
    r.carpeta = std::getenv("AVERIA_CARPETA");
    const char* m = std::getenv("AVERIA_MODO");
    if (!r.carpeta || !m) return r;
    r.largo = std::strlen(r.carpeta);
    r.modo = m;
    if (const char* n = std::getenv("AVERIA_N")) r.n = std::atol(n);
    r.informe = std::getenv("AVERIA_INFORME");
    r.ignorar = std::getenv("AVERIA_IGNORAR");
    r.activa = true;
    return r;
  }();
  return c;
}

std::atomic<long> cuentas[3];
std::atomic<long> pasos;
// The next sync of the folder follows an ignored rename or the sync of SQLite's journal.
std::atomic<bool> carpetaIgnorada;

template <class F>
F real(const char* nombre) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, nombre));
}

std::string absoluta(const char* ruta) {
  if (!ruta) return {};
  if (ruta[0] == '/') return ruta;
  char cwd[4096];
  if (!getcwd(cwd, sizeof cwd)) return ruta;
  return std::string(cwd) + "/" + ruta;
}

std::string deDescriptor(int fd) {
  char enlace[64], destino[4096];
  std::snprintf(enlace, sizeof enlace, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(enlace, destino, sizeof destino - 1);
  if (n <= 0) return {};
  destino[n] = '\0';
  return destino;
}

enum Vigilancia { kFuera, kVigilada, kIgnorada };

Vigilancia vigilancia(const std::string& ruta) {
  const Config& c = config();
  if (!c.activa || ruta.compare(0, c.largo, c.carpeta) != 0) return kFuera;
  if (ruta.size() > c.largo && ruta[c.largo] != '/') return kFuera;
  if (ruta.size() <= c.largo + 1) {
    // The folder itself: its sync after the rename of an ignored file is ignored too.
    return carpetaIgnorada.exchange(false) ? kIgnorada : kVigilada;
  }
  const char* nombre = ruta.c_str() + ruta.rfind('/') + 1;
  for (const char* p = c.ignorar; p && *p;) {
    const char* fin = std::strchr(p, ',');
    const size_t largo = fin ? static_cast<size_t>(fin - p) : std::strlen(p);
    if (largo > 0 && std::strncmp(nombre, p, largo) == 0) return kIgnorada;
    p = fin ? fin + 1 : nullptr;
  }
  carpetaIgnorada = false;
  return kVigilada;
}

bool vigilada(const std::string& ruta) { return vigilancia(ruta) == kVigilada; }

// SQLite syncs the folder after the first sync of a new journal and goes on whatever that
// sync says: a failure there is not one the program could report.
bool sincroniaVigilada(int fd) {
  const std::string ruta = deDescriptor(fd);
  const Vigilancia v = vigilancia(ruta);
  const std::string diario = "-journal";
  if (ruta.size() > diario.size() && ruta.compare(ruta.size() - diario.size(), diario.size(), diario) == 0)
    carpetaIgnorada = true;
  return v == kVigilada;
}

bool renombreVigilado(const char* a) {
  const Vigilancia v = vigilancia(absoluta(a));
  if (v == kIgnorada) carpetaIgnorada = true;
  return v == kVigilada;
}

// True when this step must fail; does not return when it must kill.
bool averia(Clase clase) {
  const Config& c = config();
  const long propia = ++cuentas[clase];
  const long total = ++pasos;
  if (std::strcmp(c.modo, "matar") == 0 && total == c.n) kill(getpid(), SIGKILL);
  static const char* const nombres[] = {"escritura", "sincronia", "renombre"};
  return std::strcmp(c.modo, nombres[clase]) == 0 && propia == c.n;
}

__attribute__((destructor)) void informar() {
  const Config& c = config();
  if (!c.activa || std::strcmp(c.modo, "contar") != 0 || !c.informe) return;
  static auto escribir = real<ssize_t (*)(int, const void*, size_t)>("write");
  const int fd = open(c.informe, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return;
  char texto[96];
  const int largo =
      std::snprintf(texto, sizeof texto, "%ld %ld %ld\n", cuentas[0].load(), cuentas[1].load(), cuentas[2].load());
  escribir(fd, texto, static_cast<size_t>(largo));
  close(fd);
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* datos, size_t n) {
  static auto siguiente = real<ssize_t (*)(int, const void*, size_t)>("write");
  if (fd > 2 && vigilada(deDescriptor(fd)) && averia(kEscritura)) {
    errno = ENOSPC;
    return -1;
  }
  return siguiente(fd, datos, n);
}

// SQLite writes its pages and journal at an offset.
ssize_t pwrite(int fd, const void* datos, size_t n, off_t pos) {
  static auto siguiente = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
  if (vigilada(deDescriptor(fd)) && averia(kEscritura)) {
    errno = ENOSPC;
    return -1;
  }
  return siguiente(fd, datos, n, pos);
}

ssize_t pwrite64(int fd, const void* datos, size_t n, off64_t pos) {
  static auto siguiente = real<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
  if (vigilada(deDescriptor(fd)) && averia(kEscritura)) {
    errno = ENOSPC;
    return -1;
  }
  return siguiente(fd, datos, n, pos);
}

int fsync(int fd) {
  static auto siguiente = real<int (*)(int)>("fsync");
  if (sincroniaVigilada(fd) && averia(kSincronia)) {
    errno = EIO;
    return -1;
  }
  return siguiente(fd);
}

int fdatasync(int fd) {
  static auto siguiente = real<int (*)(int)>("fdatasync");
  if (sincroniaVigilada(fd) && averia(kSincronia)) {
    errno = EIO;
    return -1;
  }
  return siguiente(fd);
}

int rename(const char* de, const char* a) {
  static auto siguiente = real<int (*)(const char*, const char*)>("rename");
  if (renombreVigilado(a) && averia(kRenombre)) {
    errno = EIO;
    return -1;
  }
  return siguiente(de, a);
}

int renameat(int dirde, const char* de, int dira, const char* a) {
  static auto siguiente = real<int (*)(int, const char*, int, const char*)>("renameat");
  if (renombreVigilado(a) && averia(kRenombre)) {
    errno = EIO;
    return -1;
  }
  return siguiente(dirde, de, dira, a);
}

int renameat2(int dirde, const char* de, int dira, const char* a, unsigned int banderas) {
  static auto siguiente = real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
  if (renombreVigilado(a) && averia(kRenombre)) {
    errno = EIO;
    return -1;
  }
  return siguiente(dirde, de, dira, a, banderas);
}

}  // extern "C"
