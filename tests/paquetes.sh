#!/bin/bash
# Packages of the build tree: builds the RPM and the DEB with cpack into a
# scratch directory and checks their files, modes, dependencies and scripts.
# The DEB is unpacked with dpkg -x, never installed. Exit 77 means skipped.
set -euo pipefail
construccion=$(cd "$1" && pwd)
fuente=$(cd "$(dirname "$0")/.." && pwd)

saltar() { echo "SKIP: $*"; exit 77; }
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

for herramienta in rpmbuild rpm dpkg-deb; do
    command -v "$herramienta" >/dev/null ||
        saltar "falta $herramienta (apt-get install rpm dpkg-dev)"
done
[ -f "$construccion/CPackConfig.cmake" ] || { echo "FALLO: no hay CPackConfig.cmake en $construccion"; exit 1; }
[ -x "$construccion/talvora" ] || { echo "FALLO: compile talvora antes"; exit 1; }

version=$(sed -n 's/^project(talvora VERSION \([0-9.]*\).*/\1/p' "$fuente/CMakeLists.txt")
[ -n "$version" ] || { echo "FALLO: sin versión en CMakeLists.txt"; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
for generador in RPM DEB; do
    cpack -G "$generador" --config "$construccion/CPackConfig.cmake" -B "$tmp/salida" \
        >"$tmp/cpack-$generador.log" 2>&1 || { cat "$tmp/cpack-$generador.log"; exit 1; }
done
rpm=$tmp/salida/talvora-$version-1.$(uname -m).rpm
deb=$tmp/salida/talvora_${version}-1_$(dpkg --print-architecture).deb
[ -f "$rpm" ] && [ -f "$deb" ] || { ls "$tmp/salida"; echo "FALLO: faltan los paquetes"; exit 1; }

datos=/usr/local/share/talvora
# path, mode, and for the data files the source file they must be a copy of.
esperados="\
/usr/bin/talvora 0100755 -
$datos 040755 -
$datos/doc 040755 -
$datos/doc/talvora 040755 -
$datos/doc/talvora/index.html 0100644 data/doc/talvora/index.html
$datos/pordefecto 040755 -
$datos/pordefecto/ftpaccess 0100644 data/pordefecto/ftpaccess
$datos/pordefecto/korv-gate 0100755 data/pordefecto/korv-gate
$datos/sounds 040755 -
$datos/sounds/attack_detected.wav 0100644 data/sounds/attack_detected.wav
/usr/share/applications/talvora.desktop 0100644 data/talvora.desktop
/usr/share/icons/hicolor/48x48/apps/talvora.png 0100644 data/talvora.png"

# --- RPM: exactly these entries, so it owns its data directory (even when
# empty) and no system directory such as /usr/local or share/applications.
rpm -qp --dump "$rpm" >"$tmp/rpm.dump"
diff <(echo "$esperados" | cut -d' ' -f1) <(cut -d' ' -f1 "$tmp/rpm.dump") ||
    falla "la lista del RPM no es la esperada"
while read -r ruta modo origen; do
    linea=$(grep "^$ruta " "$tmp/rpm.dump") || continue
    read -r _ _ _ suma modoRpm duenio grupo _ <<<"$linea"
    [ "$modoRpm" = "$modo" ] || falla "RPM $ruta: modo $modoRpm, se esperaba $modo"
    [ "$duenio:$grupo" = root:root ] || falla "RPM $ruta: de $duenio:$grupo"
    if [ "$origen" != - ]; then
        [ "$suma" = "$(sha256sum <"$fuente/$origen" | cut -d' ' -f1)" ] ||
            falla "RPM $ruta no es una copia de $origen"
    fi
done <<<"$esperados"

requiere=$(rpm -qp --requires "$rpm")
for dependencia in qt6-qtbase-gui 'libQt6Widgets.so.6()(64bit)'; do
    grep -qxF "$dependencia" <<<"$requiere" || falla "el RPM no requiere $dependencia"
done
[ "$(rpm -qp --suggests "$rpm" | sort | tr '\n' ' ')" = "iptables sox tcp_wrappers xinetd " ] ||
    falla "sugerencias del RPM: $(rpm -qp --suggests "$rpm" | tr '\n' ' ')"
[ "$(rpm -qp --qf '%{NAME} %{VERSION} %{VENDOR} %{LICENSE}' "$rpm")" = "talvora $version Talvora GPL-2.0-or-later" ] ||
    falla "cabecera del RPM: $(rpm -qp --qf '%{NAME} %{VERSION} %{VENDOR} %{LICENSE}' "$rpm")"
for etiqueta in POSTIN POSTUN; do
    rpm -qp --qf "%{$etiqueta}" "$rpm" | grep -q 'update-desktop-database -q' ||
        falla "el RPM no refresca los menús en $etiqueta"
done

# --- DEB: control fields.
campo() { dpkg-deb -f "$deb" "$1"; }
[ "$(campo Package) $(campo Version) $(campo Maintainer)" = "talvora $version-1 Talvora" ] ||
    falla "cabecera del DEB: $(campo Package) $(campo Version) $(campo Maintainer)"
for dependencia in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins; do
    grep -qE "(^|, )$dependencia( |,|$)" <<<"$(campo Depends)" ||
        falla "el DEB no depende de $dependencia: $(campo Depends)"
done
[ "$(campo Recommends)" = "iptables, xinetd, tcpd" ] || falla "Recommends: $(campo Recommends)"
[ "$(campo Suggests)" = "sox" ] || falla "Suggests: $(campo Suggests)"
dpkg-deb -c "$deb" | awk '$2 != "root/root" { print "FALLO: DEB " $6 " de " $2 }' | grep . && fallos=$((fallos + 1))

# --- DEB unpacked into a throwaway root: the same tree, copies, modes.
raiz=$tmp/raiz
dpkg-deb -x "$deb" "$raiz"
while read -r ruta modo origen; do
    if [ "$modo" = 040755 ]; then
        [ -d "$raiz$ruta" ] || falla "DEB: falta el directorio $ruta"
        continue
    fi
    [ -f "$raiz$ruta" ] || { falla "DEB: falta $ruta"; continue; }
    [ "0$(stat -c %a "$raiz$ruta")" = "0${modo#0100}" ] ||
        falla "DEB $ruta: modo $(stat -c %a "$raiz$ruta")"
    [ "$origen" = - ] || cmp -s "$raiz$ruta" "$fuente/$origen" ||
        falla "DEB $ruta no es una copia de $origen"
done <<<"$esperados"
[ "$(cd "$raiz" && find . ! -type d | sort)" = "$(echo "$esperados" | awk '$2 != "040755" { print "." $1 }' | sort)" ] ||
    falla "el DEB trae archivos de más: $(cd "$raiz" && find . ! -type d | sort | tr '\n' ' ')"

# The menu entry must start the packaged program and show its icon.
ejecutable=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$raiz/usr/share/applications/talvora.desktop")
case $ejecutable in
    /*) [ -x "$raiz$ejecutable" ] ;;
    *) [ -x "$raiz/usr/bin/$ejecutable" ] ;;
esac || falla "Exec=$ejecutable no es el programa del paquete"
icono=$(sed -n 's/^Icon=//p' "$raiz/usr/share/applications/talvora.desktop")
[ -f "$raiz/usr/share/icons/hicolor/48x48/apps/$icono.png" ] || falla "Icon=$icono no está en el paquete"
if ldd "$raiz/usr/bin/talvora" | grep 'not found'; then falla "al programa del DEB le faltan bibliotecas"; fi

# Maintainer scripts: they call the cache tools when present and succeed
# even when those fail.
mkdir "$tmp/control" "$tmp/bin"
dpkg-deb -e "$deb" "$tmp/control"
# Both tools are stand-ins, so the machine's caches are never touched.
for herramienta in update-desktop-database gtk-update-icon-cache; do
    printf '#!/bin/sh\necho "$0 $*" >>%s\nexit 1\n' "$tmp/llamadas" >"$tmp/bin/$herramienta"
    chmod +x "$tmp/bin/$herramienta"
done
for guion in postinst postrm; do
    [ -x "$tmp/control/$guion" ] || { falla "DEB: $guion no es ejecutable"; continue; }
    : >"$tmp/llamadas"
    PATH=$tmp/bin:/usr/bin:/bin "$tmp/control/$guion" configure || falla "DEB: $guion falla si la herramienta falla"
    grep -q "/update-desktop-database -q /usr/share/applications$" "$tmp/llamadas" ||
        falla "DEB: $guion no refresca /usr/share/applications"
done

[ "$fallos" -eq 0 ] || { echo "$fallos fallos"; exit 1; }
echo "OK: $(basename "$rpm") y $(basename "$deb")"
