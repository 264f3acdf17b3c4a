#!/bin/bash
# Packages of the build tree: builds the program, then the RPM and the DEB
# with cpack into a scratch directory, and checks their files, modes,
# dependencies and scripts, and that lintian, rpmlint, desktop-file-validate
# and appstreamcli find nothing. The DEB is unpacked with dpkg -x, never
# installed (tests/instalacion.sh installs it in a sandbox). Exit 77 means
# skipped.
set -euo pipefail
construccion=$(cd "$1" && pwd)
fuente=$(cd "$(dirname "$0")/.." && pwd)

saltar() { echo "SKIP: $*"; exit 77; }
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

for herramienta in rpmbuild rpm dpkg-deb lintian rpmlint desktop-file-validate appstreamcli \
    readelf python3; do
    command -v "$herramienta" >/dev/null ||
        saltar "falta $herramienta (sh tools/dependencias)"
done
[ -f "$construccion/CPackConfig.cmake" ] || { echo "FALLO: no hay CPackConfig.cmake en $construccion"; exit 1; }
# Only what the packages hold; the test executables are not needed.
cmake --build "$construccion" --target talvora >/dev/null ||
    { echo "FALLO: no compila talvora"; exit 1; }

version=$(sed -n 's/^project(talvora VERSION \([0-9.]*\).*/\1/p' "$fuente/CMakeLists.txt")
[ -n "$version" ] || { echo "FALLO: sin versión en CMakeLists.txt"; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
for generador in RPM DEB; do
    cpack -G "$generador" --config "$construccion/CPackConfig.cmake" -B "$tmp/salida" \
        >"$tmp/cpack-$generador.log" 2>&1 || { cat "$tmp/cpack-$generador.log"; exit 1; }
done
rpm=$(echo "$tmp"/salida/talvora-"$version"-*."$(uname -m)".rpm)
deb=$(echo "$tmp"/salida/talvora_"$version"-*_"$(dpkg --print-architecture)".deb)
[ -f "$rpm" ] && [ -f "$deb" ] || { ls "$tmp/salida"; echo "FALLO: faltan los paquetes"; exit 1; }

datos=/usr/local/share/talvora
# path, mode, source file it must be a copy of (or -), and which package
# has it: A both, R only the RPM, D only the DEB.
esperados="\
/usr/bin/talvora 0100755 - A
/usr/bin/talvora-root 0100755 data/talvora-root A
$datos 040755 - A
$datos/conf 0100644 - R
$datos/doc 040755 - A
$datos/doc/talvora 040755 - A
$datos/doc/talvora/index.html 0100644 data/doc/talvora/index.html A
$datos/firewall 0100644 - R
$datos/pordefecto 040755 - A
$datos/pordefecto/ftpaccess 0100644 data/pordefecto/ftpaccess A
$datos/pordefecto/korv-gate 0100755 data/pordefecto/korv-gate A
$datos/sounds 040755 - A
$datos/sounds/attack_detected.wav 0100644 data/sounds/attack_detected.wav A
/usr/share/applications/talvora.desktop 0100644 data/talvora.desktop A
/usr/share/doc/talvora 040755 - A
/usr/share/doc/talvora/COPYING 0100644 COPYING A
/usr/share/doc/talvora/changelog.Debian.gz 0100644 - D
/usr/share/doc/talvora/copyright 0100644 packaging/debian/copyright D
/usr/share/icons/hicolor/128x128/apps/talvora.png 0100644 data/talvora-128.png A
/usr/share/icons/hicolor/48x48/apps/talvora.png 0100644 data/talvora.png A
/usr/share/icons/hicolor/64x64/apps/talvora.png 0100644 data/talvora-64.png A
/usr/share/lintian/overrides/talvora 0100644 packaging/debian/lintian-overrides D
/usr/share/man/man8/talvora-root.8.gz 0100644 - A
/usr/share/man/man8/talvora.8.gz 0100644 - A
/usr/share/metainfo/io.talvora.talvora.metainfo.xml 0100644 data/io.talvora.talvora.metainfo.xml A
/usr/share/polkit-1/actions/io.talvora.pkexec.talvora.policy 0100644 - A"
del_rpm=$(awk '$4 != "D"' <<<"$esperados")
del_deb=$(awk '$4 != "R"' <<<"$esperados")

# --- Linters: nothing beyond the data directory's findings, which the
# overrides shipped in the DEB and packaging/rpmlint.toml name.
lintian --pedantic "$deb" >"$tmp/lintian.log" 2>&1 || falla "lintian falló"
if grep -v '^running with root privileges' "$tmp/lintian.log" | grep .; then
    falla "lintian --pedantic encontró algo"
fi
rpmlint -c "$fuente/packaging/rpmlint.toml" "$rpm" >"$tmp/rpmlint.log" 2>&1 ||
    { cat "$tmp/rpmlint.log"; falla "rpmlint falló"; }
grep -q ' 0 errors, 0 warnings' "$tmp/rpmlint.log" || { cat "$tmp/rpmlint.log"; falla "rpmlint encontró algo"; }

# --- RPM: exactly these entries, so it owns its data directory and no
# system directory such as /usr/local or share/applications.
rpm -qp --dump "$rpm" >"$tmp/rpm.dump"
diff <(cut -d' ' -f1 <<<"$del_rpm") <(cut -d' ' -f1 "$tmp/rpm.dump") ||
    falla "la lista del RPM no es la esperada"
while read -r ruta modo origen _; do
    linea=$(grep "^$ruta " "$tmp/rpm.dump") || continue
    read -r _ _ _ suma modoRpm duenio grupo _ <<<"$linea"
    [ "$modoRpm" = "$modo" ] || falla "RPM $ruta: modo $modoRpm, se esperaba $modo"
    [ "$duenio:$grupo" = root:root ] || falla "RPM $ruta: de $duenio:$grupo"
    if [ "$origen" != - ]; then
        [ "$suma" = "$(sha256sum <"$fuente/$origen" | cut -d' ' -f1)" ] ||
            falla "RPM $ruta no es una copia de $origen"
    fi
done <<<"$del_rpm"
# Only the settings file is configuration; it and the snapshot are written
# by the program (ghosts), COPYING is the licence.
[ "$(rpm -qp --configfiles "$rpm")" = "$datos/conf" ] ||
    falla "configuración del RPM: $(rpm -qp --configfiles "$rpm" | tr '\n' ' ')"
rpm -qp --qf '[%{FILENAMES} %{FILEFLAGS:fflags}\n]' "$rpm" >"$tmp/rpm.flags"
grep -qx "$datos/conf cng" "$tmp/rpm.flags" || falla "conf no es %ghost %config(noreplace)"
grep -qx "$datos/firewall g" "$tmp/rpm.flags" || falla "firewall no es %ghost"
grep -qx "/usr/share/doc/talvora/COPYING dl" "$tmp/rpm.flags" || falla "COPYING no es %license"

requiere=$(rpm -qp --requires "$rpm")
for dependencia in qt6-qtbase-gui polkit 'libQt6Widgets.so.6()(64bit)'; do
    grep -qxF "$dependencia" <<<"$requiere" || falla "el RPM no requiere $dependencia"
done
[ "$(rpm -qp --suggests "$rpm" | sort | tr '\n' ' ')" = "iptables sox tcp_wrappers xinetd " ] ||
    falla "sugerencias del RPM: $(rpm -qp --suggests "$rpm" | tr '\n' ' ')"
cabecera=$(rpm -qp --qf '%{NAME} %{VERSION} %{VENDOR} %{LICENSE} %{URL} %{PACKAGER}' "$rpm")
[ "$cabecera" = "talvora $version Talvora GPL-2.0-or-later https://talvora.example/ Equipo de Talvora <equipo@talvora.example>" ] ||
    falla "cabecera del RPM: $cabecera"
rpm -qp --changelog "$rpm" | head -n1 | grep -q "^\* .* Equipo de Talvora <equipo@talvora.example> - $version-" ||
    falla "el RPM no tiene su %changelog"
for etiqueta in POSTIN POSTUN; do
    rpm -qp --qf "%{$etiqueta}" "$rpm" | grep -q 'update-desktop-database -q' ||
        falla "el RPM no refresca los menús en $etiqueta"
done

# --- DEB: control fields.
campo() { dpkg-deb -f "$deb" "$1"; }
[ "$(campo Package) $(campo Version)" = "talvora $version-$(sed 's/^[^-]*-//' <<<"$(campo Version)")" ] &&
    [ "$(campo Maintainer)" = "Equipo de Talvora <equipo@talvora.example>" ] ||
    falla "cabecera del DEB: $(campo Package) $(campo Version) $(campo Maintainer)"
for dependencia in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins; do
    grep -qE "(^|, )$dependencia( |,|$)" <<<"$(campo Depends)" ||
        falla "el DEB no depende de $dependencia: $(campo Depends)"
done
[ "$(campo Recommends)" = "pkexec, iptables, xinetd, tcpd" ] || falla "Recommends: $(campo Recommends)"
[ "$(campo Suggests)" = "sox" ] || falla "Suggests: $(campo Suggests)"
dpkg-deb -c "$deb" | awk '$2 != "root/root" { print "FALLO: DEB " $6 " de " $2 }' | grep . && fallos=$((fallos + 1))

# --- DEB unpacked into a throwaway root: the same tree, copies, modes.
raiz=$tmp/raiz
dpkg-deb -x "$deb" "$raiz"
while read -r ruta modo origen _; do
    if [ "$modo" = 040755 ]; then
        [ -d "$raiz$ruta" ] || falla "DEB: falta el directorio $ruta"
        continue
    fi
    [ -f "$raiz$ruta" ] || { falla "DEB: falta $ruta"; continue; }
    [ "0$(stat -c %a "$raiz$ruta")" = "0${modo#0100}" ] ||
        falla "DEB $ruta: modo $(stat -c %a "$raiz$ruta")"
    [ "$origen" = - ] || cmp -s "$raiz$ruta" "$fuente/$origen" ||
        falla "DEB $ruta no es una copia de $origen"
done <<<"$del_deb"
[ "$(cd "$raiz" && find . ! -type d | sort)" = "$(awk '$2 != "040755" { print "." $1 }' <<<"$del_deb" | sort)" ] ||
    falla "el DEB trae archivos de más: $(cd "$raiz" && find . ! -type d | sort | tr '\n' ' ')"

# Compressed files: gzip -9 without name or time stamp, and what they hold.
for gz in usr/share/doc/talvora/changelog.Debian.gz usr/share/man/man8/talvora.8.gz \
    usr/share/man/man8/talvora-root.8.gz; do
    [ "$(od -An -tx1 -j3 -N6 "$raiz/$gz" | tr -d ' ')" = 000000000002 ] ||
        falla "$gz no está comprimido con gzip -9n"
done
zcat "$raiz/usr/share/man/man8/talvora.8.gz" | cmp -s - "$fuente/data/man/talvora.8" ||
    falla "talvora.8.gz no es data/man/talvora.8"
[ "$(zcat "$raiz/usr/share/man/man8/talvora-root.8.gz")" = ".so man8/talvora.8" ] ||
    falla "talvora-root.8.gz no remite a talvora.8"
zcat "$raiz/usr/share/doc/talvora/changelog.Debian.gz" | head -n1 |
    grep -qF "talvora ($(campo Version)) " || falla "changelog.Debian.gz no empieza por $(campo Version)"

# The menu entry runs the launcher of the package and shows its icon.
escritorio=$raiz/usr/share/applications/talvora.desktop
desktop-file-validate "$escritorio" >"$tmp/desktop.log" 2>&1 && ! grep . "$tmp/desktop.log" ||
    falla "desktop-file-validate: $(cat "$tmp/desktop.log")"
ejecutable=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$escritorio")
[ "$ejecutable" = talvora-root ] && [ -x "$raiz/usr/bin/$ejecutable" ] ||
    falla "Exec=$ejecutable no es el lanzador del paquete"
icono=$(sed -n 's/^Icon=//p' "$escritorio")
for tam in 48 64 128; do
    [ "$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print(*struct.unpack(">II", d[16:24]))' \
        "$raiz/usr/share/icons/hicolor/${tam}x${tam}/apps/$icono.png")" = "$tam $tam" ] ||
        falla "el icono $icono de ${tam}x${tam} no mide $tam"
done
appstreamcli validate --no-net --pedantic \
    "$raiz/usr/share/metainfo/io.talvora.talvora.metainfo.xml" >"$tmp/appstream.log" 2>&1 ||
    falla "appstreamcli: $(cat "$tmp/appstream.log")"
grep -qx '  <launchable type="desktop-id">talvora.desktop</launchable>' \
    "$raiz/usr/share/metainfo/io.talvora.talvora.metainfo.xml" || falla "metainfo sin el lanzador talvora.desktop"

# The polkit action names the packaged program and lets it reach the display.
python3 - "$raiz/usr/share/polkit-1/actions/io.talvora.pkexec.talvora.policy" <<'PY' ||
import sys, xml.etree.ElementTree as ET
accion = ET.parse(sys.argv[1]).getroot().find("action[@id='io.talvora.pkexec.talvora']")
notas = {a.get("key"): a.text for a in accion.findall("annotate")}
assert notas["org.freedesktop.policykit.exec.path"] == "/usr/bin/talvora", notas
assert notas["org.freedesktop.policykit.exec.allow_gui"] == "true", notas
assert accion.findtext("defaults/allow_active") == "auth_admin_keep"
assert accion.findtext("defaults/allow_any") == "auth_admin"
PY
    falla "la acción de polkit no es la esperada"

# Hardening of the program: PIE, full RELRO, fortified calls, stack protector.
programa=$raiz/usr/bin/talvora
[ "$(readelf -h "$programa" | awk '$1 == "Type:" { print $2 }')" = DYN ] || falla "el programa no es PIE"
[ "$(readelf -lW "$programa" | grep -c GNU_RELRO)" -eq 1 ] || falla "el programa no tiene RELRO"
[ "$(readelf -dW "$programa" | grep -cE 'BIND_NOW|FLAGS.*NOW')" -ge 1 ] || falla "el programa no enlaza con -z now"
readelf -sW --dyn-syms "$programa" >"$tmp/simbolos"
grep -q '__[a-z_]*printf_chk@' "$tmp/simbolos" || falla "el programa no usa funciones fortificadas"
grep -q '__stack_chk_fail@' "$tmp/simbolos" || falla "el programa no tiene protector de pila"
if ldd "$programa" | grep 'not found'; then falla "al programa del DEB le faltan bibliotecas"; fi

# Maintainer scripts: set -e, their arguments honoured, the cache tools
# called when present, and success even when those tools fail. Purge is
# exercised by tests/instalacion.sh, on an installed package.
mkdir "$tmp/control" "$tmp/bin"
dpkg-deb -e "$deb" "$tmp/control"
# Both tools are stand-ins, so the machine's caches are never touched.
for herramienta in update-desktop-database gtk-update-icon-cache; do
    printf '#!/bin/sh\necho "$0 $*" >>%s\nexit 1\n' "$tmp/llamadas" >"$tmp/bin/$herramienta"
    chmod +x "$tmp/bin/$herramienta"
done
for guion_arg in "postinst configure" "postinst abort-upgrade" "postrm remove" "postrm upgrade"; do
    read -r guion arg <<<"$guion_arg"
    [ -x "$tmp/control/$guion" ] || { falla "DEB: $guion no es ejecutable"; continue; }
    grep -qx 'set -e' "$tmp/control/$guion" || falla "DEB: $guion sin set -e"
    : >"$tmp/llamadas"
    PATH=$tmp/bin:/usr/bin:/bin "$tmp/control/$guion" "$arg" ||
        falla "DEB: $guion $arg falla si la herramienta falla"
    grep -q "/update-desktop-database -q /usr/share/applications$" "$tmp/llamadas" ||
        falla "DEB: $guion $arg no refresca /usr/share/applications"
done
for guion in postinst postrm; do
    if PATH=$tmp/bin:/usr/bin:/bin "$tmp/control/$guion" no-existe 2>/dev/null; then
        falla "DEB: $guion acepta un argumento desconocido"
    fi
done
grep -q "^    purge)" "$tmp/control/postrm" &&
    grep -q "rm -f \"$datos/conf\" \"$datos/firewall\"" "$tmp/control/postrm" ||
    falla "DEB: postrm purge no borra conf y firewall"

[ "$fallos" -eq 0 ] || { echo "$fallos fallos"; exit 1; }
echo "OK: $(basename "$rpm") y $(basename "$deb"); lintian, rpmlint, desktop-file-validate y appstreamcli sin hallazgos"
