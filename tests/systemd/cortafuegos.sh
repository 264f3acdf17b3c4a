#!/bin/bash
# The firewall dialog with firewalld 1.3 running beside a real systemd and its
# system bus (arrancar), and netfilter-persistent installed:
#
#   tests/systemd/cortafuegos.sh BUILD_DIR
#
# Neither is installed on this machine: Debian 12's packages are downloaded
# once into BUILD_DIR/cortafuegos-paquetes and unpacked there; inside
# arrancar's namespaces a read-only overlay lays them over /usr, their
# /etc files go to arrancar's overlay of /etc, and firewalld's rules to the
# private network namespace. Exit status 77 means skipped.
set -euo pipefail
aqui=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
saltar() { echo "SKIP: $*"; exit 77; }

if [ "${1:-}" = --dentro ]; then
    paquetes=$2 prueba=$3
    # Three layers, top first: the choice the package's postinst would make
    # (which polkit actions firewalld has), the packages, the machine's /usr.
    mkdir -p /run/cortafuegos/share/polkit-1/actions
    ln -s /usr/share/polkit-1/actions/org.fedoraproject.FirewallD1.server.policy.choice \
        /run/cortafuegos/share/polkit-1/actions/org.fedoraproject.FirewallD1.policy
    # arrancar's layers below /usr (/usr/local, the program's data) go back on top.
    mkdir /run/cortafuegos-local
    mount --rbind /usr/local /run/cortafuegos-local
    mount -t overlay talvora-cortafuegos -o "lowerdir=/run/cortafuegos:$paquetes/usr:/usr" /usr
    mount --rbind /run/cortafuegos-local /usr/local
    cp -a "$paquetes/etc/firewalld" "$paquetes/etc/default" /etc/
    mkdir -p /etc/iptables
    # The bus reads firewalld's policy; firewalld needs no boot of its own.
    dbus-send --system --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.ReloadConfig >/dev/null
    systemd-run --quiet --unit=firewalld -p DefaultDependencies=no \
        /usr/sbin/firewalld --nofork --nopid
    fin=$((SECONDS + 30))
    until firewall-cmd --state >/dev/null 2>&1; do
        [ $SECONDS -lt $fin ] || { systemctl status firewalld --no-pager || true; exit 1; }
        sleep 0.2
    done
    TALVORA_FIREWALLD=1 timeout 120 "$prueba" firewalldReal
    exit
fi

construccion=$(cd "${1:?uso: cortafuegos.sh BUILD_DIR}" && pwd)
[ "$(id -u)" -eq 0 ] || saltar "hace falta root"
for h in nft iptables dpkg apt-get; do
    command -v $h >/dev/null || saltar "falta $h"
done
# What firewalld ("#!/usr/bin/python3") imports from this machine; tools/dependencias
# installs it.
/usr/bin/python3 -c 'import dbus, gi; gi.require_version("GLib", "2.0")' 2>/dev/null ||
    saltar "faltan python3-dbus, python3-gi o gir1.2-glib-2.0"
paquetes=$construccion/cortafuegos-paquetes
if [ ! -x "$paquetes/usr/sbin/firewalld" ] || [ ! -x "$paquetes/usr/sbin/netfilter-persistent" ]; then
    descarga=$(mktemp -d)
    trap 'rm -rf "$descarga"' EXIT
    (cd "$descarga" && apt-get download -q firewalld python3-firewall python3-nftables \
        netfilter-persistent iptables-persistent >/dev/null 2>&1) ||
        saltar "no se pueden descargar los paquetes de firewalld"
    rm -rf "$paquetes.nuevo"
    for d in "$descarga"/*.deb; do dpkg -x "$d" "$paquetes.nuevo"; done
    rm -rf "$paquetes"
    mv "$paquetes.nuevo" "$paquetes"
fi
bash "$aqui/arrancar" bash "$aqui/cortafuegos.sh" --dentro "$paquetes" \
    "$construccion/tests/tst_cortafuegos"
