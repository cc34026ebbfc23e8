#!/usr/bin/env bash
# Installs what onefortwo needs to build, run and test on Debian 12 (as root, or through
# sudo). Packages already there are not fetched again.
set -euo pipefail

packages=(
  cmake g++ make pkg-config            # the build
  qt6-base-dev libgl-dev                # the station's windows
  fonts-dejavu-core                     # the diagram's label font (DejaVu Sans)
  libcanberra-dev                       # the desktop's alarm sound
  libsqlite3-dev                        # the journal (SQLite)
  qt6-charts-dev libqt6opengl6-dev      # the trends window's charts (Qt Charts needs Qt OpenGL)
  libgtest-dev libgmock-dev             # tests
  locales                               # a decimal-comma locale for the locale test
  libbenchmark-dev                      # benchmarks
  clang libclang-rt-14-dev              # the libFuzzer targets (fuzz/)
  xvfb xauth                            # GUI tests and screenshots without a display
  libsnmp-dev                           # the SNMP agent (AgentX subagent on net-snmp)
  snmpd snmp snmptrapd                  # SNMP tests: master agent, clients, trap receiver
  smitools erlang-snmp                  # ONEFORTWO-MIB under smilint; SNMPv2-SMI/-TC/-CONF
)

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
