# Shared by the command-line tests: sourced with the CLI binary and the data folder as $1 and $2.
# Gives a scratch folder $tmp (removed on exit) and the checks below, which count failures.
cli=$1
datos=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fallos=0

falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

# igual DESCRIPCIÓN ESPERADO OBTENIDO
igual() {
  [ "$2" = "$3" ] || { falla "$1"; echo "  esperado: $2"; echo "  obtenido: $3"; }
}

# sale CÓDIGO DESCRIPCIÓN -- ORDEN...: runs the order, keeping its output in $tmp/out and $tmp/err.
sale() {
  local esperado=$1 que=$2
  shift 3
  "$@" >"$tmp/out" 2>"$tmp/err"
  local rc=$?
  [ "$rc" -eq "$esperado" ] || falla "$que: salida $rc, se esperaba $esperado ($(cat "$tmp/err"))"
}

# termina NOMBRE: the closing line and the exit status of the script.
termina() {
  if [ "$fallos" -eq 0 ]; then echo "$1: todo bien"; exit 0; fi
  echo "$1: $fallos fallos"
  exit 1
}
