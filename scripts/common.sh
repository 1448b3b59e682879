# Shared set-up of scripts/test and scripts/demo: install what is missing, configure, build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PRESET="${TINTLEN_PRESET:-default}"
BUILD_DIR="$ROOT/build/$PRESET"

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing_packages() {
  local missing=()
  while read -r pkg; do
    [ -z "$pkg" ] && continue
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done < "$ROOT/scripts/packages.txt"
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

configure_and_build() {
  cd "$ROOT"
  # Paths inside the checkout are hashed relative to it, so a fresh clone in
  # another folder reuses what an earlier build compiled.
  export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1
  cmake --preset "$PRESET" >/dev/null
  cmake --build --preset "$PRESET" -j "$(nproc)"
}
