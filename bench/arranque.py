#!/usr/bin/env python3
"""Times Talvora's start-up against a bare dialog built in the same tree.

    bench/arranque.py BUILD_DIR [--corridas N]

Each run starts a program and reads the moment of its main window's first
paint (CLOCK_MONOTONIC) and its peak resident size; the programs take turns,
offscreen and under Xvfb. A dialog with one label is timed beside them: it
is the least any window that shows text pays. One run under strace lists
the files Talvora touches under its root before the first paint. Prints one
line per target with "ok" or "over". It reports; it never fails on a figure.
"""
import collections
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

PERFILES = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'settings', 'perfiles.h')


def ajustes_por_defecto():
    """The Clásico column of the settings table: the first value of each row."""
    with open(PERFILES, encoding='utf-8') as f:
        tabla = re.sub(r'/\*.*?\*/', '', f.read().replace('\\\n', ''), flags=re.S)
    ajustes = {}
    for clave, valores in re.findall(r'X\((c\w+),((?:\s*(?:"[^"]*"|TALVORA_DATADIR|,))+)\)', tabla):
        # Adjacent literals, the data directory's macro among them.
        primero = valores.replace('TALVORA_DATADIR', '"/usr/local/share/talvora"')
        primero = re.match(r'\s*((?:"[^"]*"\s*)+)', primero).group(1)
        ajustes[clave] = ''.join(re.findall(r'"([^"]*)"', primero))
    assert len(ajustes) == 44, len(ajustes)
    return ajustes


def escribir(ruta, texto):
    os.makedirs(os.path.dirname(ruta), exist_ok=True)
    with open(ruta, 'w') as f:
        f.write(texto)


def preparar_raiz():
    """A root with the files start-up reads, and the large ones it must not."""
    raiz = tempfile.mkdtemp(prefix='talvora-bench-')
    ajustes = ajustes_por_defecto()
    # The status files and xinetd's directory live in the root, so that the
    # probes read real files: Squid and xinetd are running, the rest are not.
    for clave in [c for c in ajustes if c.startswith('cEstado')] + ['cDirectorioXinetd']:
        ajustes[clave] = raiz + ajustes[clave]
    for clave in ('cEstadoSquid', 'cEstadoXinetd'):
        escribir(ajustes[clave], '1234\n')
    for nombre, estado in (('telnet', 'yes'), ('wu-ftpd', 'no'), ('ipop3', 'yes'), ('swat', 'no')):
        escribir(os.path.join(ajustes['cDirectorioXinetd'], nombre),
                 'service %s\n{\n\tsocket_type\t= stream\n\twait\t\t= no\n\tdisable\t\t= %s\n}\n' % (nombre, estado))
    datos = os.path.join(raiz, 'usr/local/share/talvora')
    escribir(os.path.join(datos, 'conf'), ''.join(v + '\n' for v in ajustes.values()))
    escribir(os.path.join(raiz, 'etc/hosts.allow'), '# hosts.allow de prueba\n' + ''.join(
        'in.ftpd: 10.%d.%d.0/255.255.255.0\n' % (i // 250, i % 250) for i in range(199)))
    # Not for start-up: a large hosts.deny and the firewall dialog's snapshot.
    escribir(os.path.join(raiz, 'etc/hosts.deny'), ''.join('ALL: 172.%d.%d.0/24\n' % (i // 256, i % 256)
                                                           for i in range(20000)))
    escribir(os.path.join(datos, 'firewall'), '*filter\n' + ''.join(
        '-A INPUT -s 10.%d.%d.0/24 -j DROP\n' % (i // 256 % 256, i % 256) for i in range(100000)) + 'COMMIT\n')
    estado = [ajustes[c] for c in ajustes if c.startswith('cEstado')]
    estado += [os.path.join(ajustes['cDirectorioXinetd'], n) for n in ('telnet', 'wu-ftpd', 'ipop3', 'swat')]
    return raiz, estado + [os.path.join(raiz, 'etc/hosts.allow')]


def una_corrida(programa, args, entorno):
    inicio = time.monotonic_ns()
    salida = subprocess.run([programa] + args, env=entorno, capture_output=True, text=True, timeout=60)
    for linea in salida.stdout.splitlines():
        if linea.startswith('pintado '):
            _, ns, kb = linea.split()
            return (int(ns) - inicio) / 1e6, int(kb) / 1024.0
    raise RuntimeError('%s no pinto: %s' % (programa, salida.stderr[-500:]))


def medir(construccion, raiz, entorno, corridas):
    """Medians of the first paint and highest peak resident sizes: Talvora, the bare dialog, one label."""
    programas = [(os.path.join(construccion, 'bench', nombre), args) for nombre, args in
                 (('arranque_talvora', [raiz]), ('arranque_dialogo', []), ('arranque_etiqueta', []))]
    medidas = [[] for _ in programas]
    for programa, args in programas:  # warm the caches for all
        una_corrida(programa, args, entorno)
    for _ in range(corridas):
        for (programa, args), m in zip(programas, medidas):
            m.append(una_corrida(programa, args, entorno))
    return [(statistics.median(x[0] for x in m), max(x[1] for x in m)) for m in medidas]


def archivos_tocados(construccion, raiz, entorno):
    """How many times each file under the root is named by a system call before the first paint."""
    if not shutil.which('strace'):
        return None
    with tempfile.NamedTemporaryFile(prefix='talvora-strace-') as traza:
        subprocess.run(['strace', '-f', '-qq', '-e', 'trace=%file', '-o', traza.name,
                        os.path.join(construccion, 'bench', 'arranque_talvora'), raiz],
                       env=entorno, capture_output=True, timeout=60, check=True)
        veces = collections.Counter()
        for linea in open(traza.name, encoding='utf-8', errors='replace'):
            if 'execve(' in linea:
                continue
            for ruta in re.findall(r'"(%s/[^"]*)"' % re.escape(raiz), linea):
                veces[os.path.normpath(ruta)] += 1
    return veces


def linea(nombre, cifra, objetivo, bien):
    print('%-34s %-28s %-26s %s' % (nombre, cifra, objetivo, 'ok' if bien else 'over'))


def main():
    construccion = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else 'build-pruebas')
    corridas = int(sys.argv[sys.argv.index('--corridas') + 1]) if '--corridas' in sys.argv else 25
    raiz, estado = preparar_raiz()
    xvfb = None
    try:
        base = dict(os.environ)
        base.pop('DISPLAY', None)
        pantallas = [('offscreen', dict(base, QT_QPA_PLATFORM='offscreen'))]
        if shutil.which('Xvfb'):
            n = next(n for n in range(140, 200) if not os.path.exists('/tmp/.X11-unix/X%d' % n))
            # -noreset: otherwise the server resets as each run's program leaves,
            # and the next one may find it gone.
            xvfb = subprocess.Popen(['Xvfb', ':%d' % n, '-screen', '0', '800x600x24', '-nolisten', 'tcp',
                                     '-noreset'],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(100):
                if os.path.exists('/tmp/.X11-unix/X%d' % n):
                    break
                time.sleep(0.05)
            pantallas.append(('xvfb', dict(base, QT_QPA_PLATFORM='xcb', DISPLAY=':%d' % n)))
        for nombre, entorno in pantallas:
            (t, rt), (d, rd), (e, _) = medir(construccion, raiz, entorno, corridas)
            linea('arranque (%s)' % nombre, '%.1f ms / %.1f ms = x%.2f' % (t, d, t / d), '<= x1.30 del dialogo',
                  t <= 1.3 * d)
            print('%-34s %-28s %s' % ('  una etiqueta (%s)' % nombre, '%.1f ms / %.1f ms = x%.2f' % (e, d, e / d),
                                      'referencia: lo minimo con texto'))
            linea('memoria pico (%s)' % nombre, '%.1f MB / %.1f MB = +%.1f MB' % (rt, rd, rt - rd),
                  '<= +6 MB', rt - rd <= 6)
        veces = archivos_tocados(construccion, raiz, pantallas[0][1])
        if veces is None:
            print('%-34s %s' % ('archivos al arrancar', 'sin strace: no medido'))
        else:
            # The configuration file is read too; nothing else under the root.
            conf = os.path.join(raiz, 'usr/local/share/talvora/conf')
            otros = sorted(os.path.relpath(r, raiz) for r in veces if r not in estado and r != conf)
            repetidos = sorted(os.path.relpath(r, raiz) for r in estado + [conf] if veces[r] > 1)
            bien = all(veces[r] == 1 for r in estado) and veces[conf] == 1 and not otros
            cifra = '%d de %d, una vez cada uno' % (sum(veces[r] == 1 for r in estado), len(estado))
            linea('archivos de estado y hosts.allow', cifra, '1 vez cada uno, nada mas', bien)
            for r in repetidos + otros:
                print('  %s: %d' % (r, veces[os.path.join(raiz, r)]))
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(raiz, ignore_errors=True)


if __name__ == '__main__':
    main()
