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
"Creator"=dword:544c5758
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

# The office program on this demo's configuration: a registry file of its
# own, since the database demo below points the registry elsewhere.
cp "$WEXAL_REGISTRY" "$demo/registry-textfiles.reg"
echo
echo "== To open the office program on this configuration (in a desktop session):"
echo "   WEXAL_REGISTRY=$demo/registry-textfiles.reg XDG_DATA_HOME=$XDG_DATA_HOME \\"
echo "     XDG_CONFIG_HOME=$demo/config $bin/WexalDT"

echo
echo "== Second demo: a billing database (PostgreSQL) through an ODBC data source"
sql="$demo/sql"
bash "$root/tests/sql/postgres-fixture.sh" start "$sql" >/dev/null
trap 'bash "$root/tests/sql/postgres-fixture.sh" stop "$sql" >/dev/null 2>&1 || true' EXIT
if [ -f "$sql/unavailable" ]; then
  echo "PostgreSQL cannot be started here: $(cat "$sql/unavailable")"
  exit 0
fi
export ODBCINI="$sql/odbc.ini"
port=$(sed -n 's/^Port *= *//p' "$ODBCINI" | head -n 1)
mkdir -p "$demo/config-sql"
printf '%s\r\n' 'SelectedInterface=ODBC' 'Interface=ODBC' 'Server=WexalBilling' \
  'Database=billing' 'UserName=reader' 'Password=meters' > "$demo/config-sql/WexalDT.cfg"
sed -i "s|^\"Path\"=.*|\"Path\"=\"$demo/config-sql\"|" "$WEXAL_REGISTRY"
"$bin/handheld" "$demo/handheld-sql" init --user UNIT02

echo "-- First sync lists the database's routes on the handheld"
"$bin/hotsync" --handheld "$demo/handheld-sql" --user UNIT02
"$bin/handheld" "$demo/handheld-sql" list
echo "-- The reader asks for route 01; the next sync brings its meters"
"$bin/handheld" "$demo/handheld-sql" request 01
"$bin/hotsync" --handheld "$demo/handheld-sql" --user UNIT02
"$bin/handheld" "$demo/handheld-sql" list
echo "-- The reader reads route 01; the next sync stores and applies the readings"
"$bin/handheld" "$demo/handheld-sql" read 01 --seed 3 --initials BEN
"$bin/hotsync" --handheld "$demo/handheld-sql" --user UNIT02
PGPASSWORD=meters psql -h 127.0.0.1 -p "$port" -U reader billing \
  -c 'SELECT * FROM BillingReading ORDER BY 1'
