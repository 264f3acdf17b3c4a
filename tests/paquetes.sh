#!/bin/bash
# Builds the RPM and the DEB of the build tree with cpack into a scratch
# directory and checks what they hold, their dependencies and scripts, and
# that lintian, rpmlint, desktop-file-validate and appstreamcli find nothing.
# Nothing is installed (tests/instalacion.sh installs the DEB in a sandbox).
. "$(dirname "$0")/comun.sh"
necesita rpmbuild rpm2cpio cpio dpkg-deb lintian rpmlint desktop-file-validate appstreamcli readelf
temporal
cd "$tmp"
cmake --build "$construccion" --target talvora >/dev/null || { echo "FALLO: no compila"; exit 1; }
cpack -G 'RPM;DEB' --config "$construccion/CPackConfig.cmake" -B salida >cpack.log 2>&1 ||
    { cat cpack.log; echo "FALLO: cpack"; exit 1; }
rpm=$(echo "$tmp"/salida/*.rpm) deb=$(echo "$tmp"/salida/*.deb)
mkdir R && (cd R && rpm2cpio "$rpm" | cpio -idm --quiet)
dpkg-deb -x "$deb" D

datos=/usr/local/share/talvora
# Path, mode, which package has it (A both, R the RPM, D the DEB), how the
# RPM marks it (c config, n noreplace, g ghost, d doc, l licence), and the
# source it is a copy of (- none, / a directory; .gz ones compared unpacked).
esperados=$(cat <<FIN
/usr/bin/talvora 755 A - -
/usr/bin/talvora-root 755 A - data/talvora-root
$datos 755 A - /
$datos/conf 644 R cng -
$datos/doc 755 A - /
$datos/doc/talvora 755 A - /
$datos/doc/talvora/index.html 644 A - data/doc/talvora/index.html
$datos/firewall 644 R g -
$datos/pordefecto 755 A - /
$datos/pordefecto/ftpaccess 644 A - data/pordefecto/ftpaccess
$datos/pordefecto/korv-gate 755 A - data/pordefecto/korv-gate
$datos/sounds 755 A - /
$datos/sounds/attack_detected.wav 644 A - data/sounds/attack_detected.wav
/usr/share/applications/talvora.desktop 644 A - data/talvora.desktop
/usr/share/doc/talvora 755 A - /
/usr/share/doc/talvora/COPYING 644 A dl COPYING
/usr/share/doc/talvora/changelog.Debian.gz 644 D - -
/usr/share/doc/talvora/copyright 644 D - packaging/debian/copyright
/usr/share/icons/hicolor/128x128/apps/talvora.png 644 A - data/talvora-128.png
/usr/share/icons/hicolor/48x48/apps/talvora.png 644 A - data/talvora.png
/usr/share/icons/hicolor/64x64/apps/talvora.png 644 A - data/talvora-64.png
/usr/share/lintian/overrides/talvora 644 D - packaging/debian/lintian-overrides
/usr/share/man/man8/talvora-root.8.gz 644 A d data/man/talvora-root.8
/usr/share/man/man8/talvora.8.gz 644 A d data/man/talvora.8
/usr/share/metainfo/io.talvora.talvora.metainfo.xml 644 A - data/io.talvora.talvora.metainfo.xml
/usr/share/polkit-1/actions/io.talvora.pkexec.talvora.policy 644 A - -
FIN
)

# The RPM has exactly these entries, root's: it owns its data directory and
# no system one; only conf is configuration. The DEB has these files, all
# root's too.
formato='[%{FILENAMES} %{FILEMODES:octal} %{FILEUSERNAME}:%{FILEGROUPNAME} %{FILEFLAGS:fflags}\n]'
rpm -qp --qf "$formato" "$rpm" | awk '{ print $1, $2, $3, ($4 == "" ? "-" : $4) }' | sort >R.lista
awk '$3 != "D" { print $1, ($5 == "/" ? 40 : 100) $2, "root:root", $4 }' <<<"$esperados" | sort |
    diff - R.lista || falla "el RPM no trae lo esperado"
diff <(awk '$3 != "R" && $5 != "/" { print $1, $2 }' <<<"$esperados" | sort) \
    <(find D ! -type d -printf '/%P %m\n' | sort) || falla "el DEB no trae lo esperado"
if dpkg-deb -c "$deb" | awk '$2 != "root/root"' | grep .; then falla "el DEB no es de root"; fi
while read -r ruta _ paquete _ origen; do
    for p in R D; do
        [[ $origen != [-/] && $paquete == [A$p] ]] || continue
        zcat -f "$p$ruta" 2>/dev/null | cmp -s - "$fuente/$origen" ||
            falla "$p: $ruta no es una copia de $origen"
    done
done <<<"$esperados"
grep -q "exec.path\">/usr/bin/talvora<" R/usr/share/polkit-1/actions/*.policy ||
    falla "la acción de polkit no ejecuta /usr/bin/talvora"

# Dependencies: libraries the package tools found, and what the program
# runs without linking it (Qt's platform plugins and translations, the font,
# pkexec, polkit).
rpm -qp --requires "$rpm" >requiere
dpkg-deb -f "$deb" Depends Recommends | sed 's/^[A-Za-z]*: //; s/ ([^)]*)//g; s/, /\n/g' >>requiere
for d in 'libQt6Widgets.so.6()(64bit)' polkit 'font(liberationsans)' qt6-qttranslations \
    libqt6widgets6 qt6-qpa-plugins fonts-liberation qt6-translations-l10n pkexec xdg-utils; do
    grep -qxF "$d" requiere || falla "falta la dependencia $d"
done

# The linters: nothing beyond what the shipped overrides and
# packaging/rpmlint.toml name.
hallazgos=$(lintian --pedantic "$deb" 2>&1 | grep -v '^running with root privileges' || true)
[ -z "$hallazgos" ] || falla "lintian: $hallazgos"
rpmlint -c "$fuente/packaging/rpmlint.toml" "$rpm" >rpmlint.log 2>&1 &&
    grep -q ' 0 errors, 0 warnings' rpmlint.log || { cat rpmlint.log; falla "rpmlint"; }
hallazgos=$(desktop-file-validate D/usr/share/applications/talvora.desktop 2>&1 || echo fallo)
[ -z "$hallazgos" ] || falla "desktop-file-validate: $hallazgos"
appstreamcli validate --no-net --pedantic D/usr/share/metainfo/*.xml >appstream.log 2>&1 ||
    { cat appstream.log; falla "appstreamcli"; }

# Hardening: PIE, full RELRO, fortified calls and the stack protector.
elf=$(readelf -hlsdW --dyn-syms D/usr/bin/talvora)
marcas=('Type: +DYN' GNU_RELRO 'BIND_NOW|FLAGS.*NOW' __stack_chk_fail@)
# Fortification needs the optimiser: a Debug tree (the sanitizers') has none.
grep -q '^CMAKE_BUILD_TYPE:STRING=Debug$' "$construccion/CMakeCache.txt" || marcas+=(printf_chk@)
for marca in "${marcas[@]}"; do
    grep -qE "$marca" <<<"$elf" || falla "el programa no está endurecido: falta $marca"
done

# Maintainer scripts, with stand-ins for the cache tools that fail: the
# arguments dpkg passes refresh the menus and succeed, others are refused.
dpkg-deb -e "$deb" control && mkdir bin
for h in update-desktop-database gtk-update-icon-cache; do
    printf '#!/bin/sh\necho "$0 $*" >>%s\nexit 1\n' "$tmp/llamadas" >bin/$h && chmod +x bin/$h
done
for caso in "postinst configure 0 1" "postinst abort-upgrade 0 1" "postrm remove 0 1" \
    "postrm upgrade 0 1" "postinst no-existe 1 0" "postrm no-existe 1 0"; do
    read -r guion argumento esperado <<<"$caso"
    : >llamadas
    estado=0
    PATH=$tmp/bin:/usr/bin:/bin control/$guion "$argumento" 2>/dev/null || estado=$?
    hecho="$estado $(grep -c 'desktop-database -q /usr/share/applications$' llamadas || true)"
    [ "$hecho" = "$esperado" ] || falla "$guion $argumento: estado y refrescos $hecho"
done
veredicto "$(basename "$rpm") y $(basename "$deb")"
