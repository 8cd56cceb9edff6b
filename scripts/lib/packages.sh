# Installs the Debian packages that are missing, with apt-get.
ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  local sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -q >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

# What building and testing zarnik needs.
ZARNIK_BUILD_PACKAGES=(cmake g++ make pkg-config libmariadb-dev libgtest-dev libbenchmark-dev time mariadb-server mariadb-client
  clang libclang-rt-14-dev valgrind)
