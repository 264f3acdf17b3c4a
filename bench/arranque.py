#!/usr/bin/env python3
"""Times Talvora's start-up against a bare dialog built in the same tree.

    bench/arranque.py BUILD_DIR [--corridas N] [--contra OTHER_BUILD_DIR]

Each run starts a program and reads the moment of its main window's first
paint (CLOCK_MONOTONIC) and its peak resident size; the programs take turns,
offscreen and under Xvfb. A dialog with one label is timed beside them: it
is the least any window that shows text pays. One run under strace lists
the files Talvora touches under its root before the first paint. Prints one
line per target with "ok" or "over". It reports; it never fails on a figure.

With --contra, an earlier build's Talvora and label take turns with this
one's, and both are counted in instructions under callgrind, which no
other load on the machine moves: the start-up is no slower when its cost
against its own label has not grown.
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


def en_turnos(programas, entorno, corridas):
    """First paints of each (program, args), the programs taking turns."""
    medidas = [[] for _ in programas]
    for _ in range(corridas):
        for (programa, args), m in zip(programas, medidas):
            m.append(una_corrida(programa, args, entorno)[0])
    return medidas


def instrucciones(programa, args, entorno):
    """Instructions a run executes, from exec to the end after its first paint."""
    with tempfile.NamedTemporaryFile(prefix='talvora-callgrind-') as salida:
        r = subprocess.run(['valgrind', '--tool=callgrind', '--callgrind-out-file=' + salida.name,
                            programa] + args, env=entorno, capture_output=True, text=True, timeout=600)
    return int(re.search(r'Collected : (\d+)', r.stderr).group(1))


def contra(construccion, otra, raiz, pantallas, corridas):
    """This build's start-up against an earlier one's, each against its own label."""
    def pares(c):
        return [(os.path.join(c, 'bench', 'arranque_talvora'), [raiz]),
                (os.path.join(c, 'bench', 'arranque_etiqueta'), [])]
    print('%-34s %s' % ('contra', otra))
    for nombre, entorno in pantallas:
        t, e, t0, e0 = en_turnos(pares(construccion) + pares(otra), entorno, corridas)
        m = statistics.median
        print('%-34s %-28s %s' % ('  arranque (%s)' % nombre,
                                  'x%.3f antes, x%.3f ahora' % (m(t0) / m(e0), m(t) / m(e)),
                                  '%.1f / %.1f ms antes, %.1f / %.1f ms ahora' % (m(t0), m(e0), m(t), m(e))))
        # Run by run, each build against the other: the label, the same
        # code in both, tells how far the machine alone moves a figure.
        print('%-34s %-28s %s' % ('    ahora / antes, en pares', 'Talvora x%.3f' % m(a / b for a, b in zip(t, t0)),
                                  'etiqueta x%.3f (el ruido)' % m(a / b for a, b in zip(e, e0))))
    if not shutil.which('valgrind'):
        print('%-34s %s' % ('  instrucciones', 'sin valgrind: no medido'))
        return
    t, e, t0, e0 = (instrucciones(p, a, pantallas[0][1]) for p, a in pares(construccion) + pares(otra))
    linea('  instrucciones (%s)' % pantallas[0][0], 'x%.4f antes, x%.4f ahora' % (t0 / e0, t / e),
          'no mas que antes', t / e <= t0 / e0)
    print('    %d / %d antes, %d / %d ahora' % (t0, e0, t, e))


def archivos_tocados(construccion, raiz, entorno):
    """How many times each file under the root is opened before the first paint, and how many
    other system calls name one (a stat, a watch, a link read)."""
    if not shutil.which('strace'):
        return None
    with tempfile.NamedTemporaryFile(prefix='talvora-strace-') as traza:
        subprocess.run(['strace', '-f', '-qq', '-e', 'trace=%file', '-o', traza.name,
                        os.path.join(construccion, 'bench', 'arranque_talvora'), raiz],
                       env=entorno, capture_output=True, timeout=60, check=True)
        abiertos, nombrados = collections.Counter(), 0
        for linea in open(traza.name, encoding='utf-8', errors='replace'):
            if 'execve(' in linea:
                continue
            for ruta in re.findall(r'"(%s/[^"]*)"' % re.escape(raiz), linea):
                if re.search(r'\bopen(at)?\(', linea) and 'O_DIRECTORY' not in linea:
                    abiertos[os.path.normpath(ruta)] += 1
                else:
                    nombrados += 1
    return abiertos, nombrados


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
        if '--contra' in sys.argv:
            contra(construccion, os.path.abspath(sys.argv[sys.argv.index('--contra') + 1]), raiz,
                   pantallas, corridas)
        tocados = archivos_tocados(construccion, raiz, pantallas[0][1])
        if tocados is None:
            print('%-34s %s' % ('archivos al arrancar', 'sin strace: no medido'))
        else:
            # Each read at most once (a pid file that is not there is only
            # looked for), and nothing else read: not the large hosts.deny
            # nor the firewall snapshot.
            veces, nombrados = tocados
            conf = os.path.join(raiz, 'usr/local/share/talvora/conf')
            otros = sorted(os.path.relpath(r, raiz) for r in veces if r not in estado and r != conf)
            repetidos = sorted(os.path.relpath(r, raiz) for r in veces if veces[r] > 1)
            linea('archivos leidos al arrancar', '%d, ninguno dos veces' % len(veces) if not repetidos
                  else '%d leidos dos veces o mas' % len(repetidos),
                  'una vez cada uno, nada mas', not repetidos and not otros)
            for r in repetidos + otros:
                print('  %s: %d' % (r, veces[os.path.join(raiz, r)]))
            print('%-34s %-28s %s' % ('  nombrados sin abrirlos', '%d llamadas' % nombrados,
                                      '(informa: vigilancia, confianza, tcpd)'))
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(raiz, ignore_errors=True)


if __name__ == '__main__':
    main()
