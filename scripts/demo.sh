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
cp "$root/examples/demo/route.txt" "$demo/billing/route.txt"

echo
echo "== First sync: reader settings, response codes, and the routes of route.txt"
"$bin/hotsync" --handheld "$demo/handheld"
"$bin/handheld" "$demo/handheld" show routeDB

echo
echo "== The meter reader works route 0101 (one exception) and route 0102"
"$bin/handheld" "$demo/handheld" read 0101 --seed 7 --initials JMR --exception 2=03
"$bin/handheld" "$demo/handheld" read 0102 --seed 8 --initials JMR

echo
echo "== The billing system exports the next routes; second sync uploads the readings"
cp "$root/examples/demo/route.txt" "$demo/billing/route.txt"
"$bin/hotsync" --handheld "$demo/handheld"

echo
echo "== Readings file (billing/readings.txt)"
cat "$demo/billing/readings.txt"
echo
echo "== Exceptions file (billing/Exceptions.txt)"
cat "$demo/billing/Exceptions.txt"
echo
echo "== Route files used, kept as history"
ls "$demo/billing"
