#!/usr/bin/env python3
"""Times Talvora's start-up against a bare dialog built in the same tree.

    bench/arranque.py BUILD_DIR [--corridas N]

Each run starts a program and reads the moment of its main window's first
paint (CLOCK_MONOTONIC) and its peak resident size; the two programs take
turns, offscreen and under Xvfb. Prints one line per target with "ok" or
"over". It reports; it never fails on a figure.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

DEFECTOS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'settings', 'ajustes.cpp')


def ajustes_por_defecto():
    valores = []
    with open(DEFECTOS, encoding='utf-8') as f:
        for linea in f:
            linea = linea.strip()
            if linea.startswith('{"c') and '", "' in linea:
                valores.append(linea.split('", "', 1)[1].rsplit('"}', 1)[0])
    assert len(valores) == 44, len(valores)
    return valores


def preparar_raiz():
    raiz = tempfile.mkdtemp(prefix='talvora-bench-')
    valores = ajustes_por_defecto()
    xinetd = os.path.join(raiz, 'etc/xinetd.d')
    os.makedirs(xinetd)
    valores[42] = xinetd  # cDirectorioXinetd: the probes read real files
    for nombre, estado in (('telnet', 'yes'), ('wu-ftpd', 'no'), ('ipop3', 'yes'), ('swat', 'no')):
        with open(os.path.join(xinetd, nombre), 'w') as f:
            f.write('service %s\n{\n\tsocket_type\t= stream\n\twait\t\t= no\n\tdisable\t\t= %s\n}\n' % (nombre, estado))
    conf = os.path.join(raiz, 'usr/local/share/talvora')
    os.makedirs(conf)
    with open(os.path.join(conf, 'conf'), 'w') as f:
        f.write(''.join(v + '\n' for v in valores))
    with open(os.path.join(raiz, 'etc/hosts.allow'), 'w') as f:
        f.write('# hosts.allow de prueba\n')
        for i in range(199):
            f.write('in.ftpd: 10.%d.%d.0/255.255.255.0\n' % (i // 250, i % 250))
    return raiz


def una_corrida(programa, args, entorno):
    inicio = time.monotonic_ns()
    salida = subprocess.run([programa] + args, env=entorno, capture_output=True, text=True, timeout=60)
    for linea in salida.stdout.splitlines():
        if linea.startswith('pintado '):
            _, ns, kb = linea.split()
            return (int(ns) - inicio) / 1e6, int(kb) / 1024.0
    raise RuntimeError('%s no pinto: %s' % (programa, salida.stderr[-500:]))


def medir(construccion, raiz, entorno, corridas):
    talvora = os.path.join(construccion, 'bench', 'arranque_talvora')
    dialogo = os.path.join(construccion, 'bench', 'arranque_dialogo')
    t, d = [], []
    una_corrida(dialogo, [], entorno)  # warm the caches for both
    una_corrida(talvora, [raiz], entorno)
    for _ in range(corridas):
        d.append(una_corrida(dialogo, [], entorno))
        t.append(una_corrida(talvora, [raiz], entorno))
    mediana = lambda xs, i: statistics.median(x[i] for x in xs)
    return mediana(t, 0), mediana(d, 0), max(x[1] for x in t), max(x[1] for x in d)


def linea(nombre, cifra, objetivo, bien):
    print('%-34s %-28s %-26s %s' % (nombre, cifra, objetivo, 'ok' if bien else 'over'))


def main():
    construccion = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else 'build')
    corridas = int(sys.argv[sys.argv.index('--corridas') + 1]) if '--corridas' in sys.argv else 25
    raiz = preparar_raiz()
    xvfb = None
    try:
        base = dict(os.environ)
        base.pop('DISPLAY', None)
        pantallas = [('offscreen', dict(base, QT_QPA_PLATFORM='offscreen'))]
        if shutil.which('Xvfb'):
            n = next(n for n in range(140, 200) if not os.path.exists('/tmp/.X11-unix/X%d' % n))
            xvfb = subprocess.Popen(['Xvfb', ':%d' % n, '-screen', '0', '800x600x24', '-nolisten', 'tcp'],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(100):
                if os.path.exists('/tmp/.X11-unix/X%d' % n):
                    break
                time.sleep(0.05)
            pantallas.append(('xvfb', dict(base, QT_QPA_PLATFORM='xcb', DISPLAY=':%d' % n)))
        for nombre, entorno in pantallas:
            t, d, rt, rd = medir(construccion, raiz, entorno, corridas)
            linea('arranque (%s)' % nombre, '%.1f ms / %.1f ms = x%.2f' % (t, d, t / d), '<= x1.30 del dialogo',
                  t <= 1.3 * d)
            linea('memoria pico (%s)' % nombre, '%.1f MB / %.1f MB = +%.1f MB' % (rt, rd, rt - rd),
                  '<= +6 MB', rt - rd <= 6)
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(raiz, ignore_errors=True)


if __name__ == '__main__':
    main()
