#!/usr/bin/env bash
# Installs what is missing, builds, and runs a demonstration sync: a sample
# configuration and a simulated handheld in a temporary folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/install-deps.sh"
build=$(bash "$root/scripts/build.sh" | tail -n 1)
bin="$build/bin"

demo=$(mktemp -d /tmp/wexal-demo-XXXXXX)
export WEXAL_REGISTRY="$demo/registry.reg"
export XDG_DATA_HOME="$demo/data"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$demo/config" "$demo/billing"

# The desktop program's part: the configuration file, the registry value
# naming its folder, and the conduit's registration with the sync manager.
sed "s|@DEMO@|$demo|g" "$root/examples/demo/WexalDT.cfg" > "$demo/config/WexalDT.cfg"
cat > "$WEXAL_REGISTRY" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Tolvane\\Wexal Conduit\\2.0]
"Path"="$demo/config"

[HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop\\Application1]
"Conduit"="$build/lib/libWexalCN.so"
"Creator"="TLWX"
REG

echo "== Demo folder: $demo"
"$bin/handheld" "$demo/handheld" init --user UNIT01

echo
echo "== Sync"
"$bin/hotsync" --handheld "$demo/handheld" || true

echo
echo "== The handheld after the sync"
"$bin/handheld" "$demo/handheld" list
for db in readerDB rcodesDB routeDB; do
  echo
  echo "-- $db"
  "$bin/handheld" "$demo/handheld" show "$db" || true
done
