#!/usr/bin/env python3
"""Generates mainwindow/form1base.cpp and mainwindow/form1base_icono.xpm.
The tables here are the main window's layout; edit them, then rerun."""
import math, os

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

rows = [  # service, title label, y of row, title geometry, has logs
    ('Gate', 'TextLabel1', 30, (5, 35, 120, 20), False, 'Frame1'),
    ('Squid', 'TextLabel2', 60, (5, 65, 120, 20), True, 'Frame2'),
    ('Httpd', 'TextLabel2_2', 90, (5, 95, 120, 20), True, 'Frame2_2'),
    ('Samba', 'TextLabel2_3', 120, (5, 125, 135, 20), True, 'Frame2_3'),
    ('Sendmail', 'TextLabel2_2_3', 150, (5, 155, 140, 20), True, 'Frame2_2_3'),
    ('Dns', 'TextLabel2_2_3_2', 180, (5, 185, 135, 20), False, 'Frame2_2_3_2'),
    ('Xinetd', 'TextLabel2_2_2', 210, (5, 215, 140, 25), True, 'Frame2_2_2'),
]
xrows = [
    ('Telnet', 'TextLabel2_2_2_2', 245, (155, 245, 40, 20), 'Frame2_2_2_2'),
    ('Ftp', 'TextLabel34', 270, (155, 270, 45, 20), 'Frame2_2_2_2_2'),
    ('Pop3', 'TextLabel35', 295, (155, 295, 45, 20), 'Frame2_2_2_2_2_2'),
    ('Swat', 'TextLabel35_2', 320, (155, 320, 45, 20), 'Frame2_2_2_2_2_2_2'),
]
titles = {
    'TextLabel1': ('<b>Korv-Gate </b> Router', 'Servicio korv-gate que maneja un Router de iptables Masquerade'),
    'TextLabel2': ('<b>Squid</b> Proxy Web', 'Para iniciarlo por primera vez tipiar en una consola: squid -z para generar los archivos swap'),
    'TextLabel2_2': ('<b>Httpd</b> Servidor Web', 'Servidor de Paginas Web (/var/www/html)'),
    'TextLabel2_3': ('<b>Samba</b> Redes Windows', 'Permite utilizar sistema de archivos e impresoras Windows'),
    'TextLabel2_2_3': ('<b>Sendmail</b> Servidor Smtp', 'Servidor de Envio de Mails Smtp'),
    'TextLabel2_2_3_2': ('<b>Named</b> Servidor DNS', 'Servidor de Dns'),
    'TextLabel2_2_2': ('<b>Xinetd</b> Talvora', 'Talvora'),
    'TextLabel2_2_2_2': ('Telnet', 'Acceso Remoto'),
    'TextLabel34': ('Ftp', 'Acceso a archivos'),
    'TextLabel35': ('Pop3', 'Permite que los usuarios puedan leer su correo Pop3'),
    'TextLabel35_2': ('Swat', 'Configura el servidor samba por pagina web'),
    'TextLabel2_2_2_3': ('<b>Hosts Allow:</b> Accesos Autorizados', 'Solamente para los Servicios de Xinetd'),
}

def q(s):
    return '"' + s.replace('\\', '\\\\').replace('"', '\\"') + '"'

out = []
def w(line=''):
    out.append(line)

def make(cls, name, parent, geo):
    w(f'    {name} = new {cls}({parent});')
    w(f'    {name}->setObjectName(QStringLiteral({q(name)}));')
    w(f'    {name}->setGeometry(QRect({geo[0]}, {geo[1]}, {geo[2]}, {geo[3]}));')

def font(name, bold=False):
    w(f'    {name}->setFont(helvetica12({name}->font(), {"true" if bold else "false"}));')

def button(name, geo, text, comment=None, small=False):
    make('QPushButton', name, 'this', geo)
    if small:
        font(name)
    if comment:
        w(f'    {name}->setText(tr({q(text)}, {q(comment)}));')
    else:
        w(f'    {name}->setText(tr({q(text)}));')

def title(name, geo, bold_small=False):
    make('QLabel', name, 'this', geo)
    if bold_small:
        font(name, True)
    text, tip = titles[name]
    w(f'    {name}->setText(tr({q(text)}));')
    w(f'    {name}->setToolTip(tr({q(tip)}));')

def status(frame, label, fgeo, lgeo, small=False, gate=False):
    make('QFrame', frame, 'this', fgeo)
    w(f'    {frame}->setFrameShape(QFrame::StyledPanel);')
    w(f'    {frame}->setFrameShadow(QFrame::Raised);')
    make('QLabel', label, frame, lgeo)
    if small:
        font(label)
    if gate:
        w(f'    {label}->setFrameShadow(QFrame::Plain);')
        w(f'    {label}->setTextFormat(Qt::RichText);')
    w(f'    {label}->setAlignment(Qt::AlignCenter);')

connections = []
for svc, tl, y, tg, logs, frame in rows:
    w(f'    // {svc}')
    title(tl, tg)
    det_comment = 'Detiene el Gate' if svc == 'Gate' else 'Detiene el firewall'
    button(f'bIniciar{svc}', (145, y, 60, 30), 'Iniciar')
    button(f'bDetener{svc}', (210, y, 60, 30), 'Detener', det_comment)
    button(f'bReiniciar{svc}', (275, y, 60, 30), 'Reiniciar')
    status(frame, f't{svc}', (345, y, 70, 30), (10, 5, 50, 20), gate=(svc == 'Gate'))
    button(f'bEditar{svc}', (425, y, 50, 30), 'Editar')
    connections += [f'bIniciar{svc}', f'bDetener{svc}', f'bReiniciar{svc}', f'bEditar{svc}']
    if logs:
        button(f'bLog{svc}', (480, y, 40, 30), 'Logs')
        connections.append(f'bLog{svc}')
    w()
for svc, tl, y, tg, frame in xrows:
    w(f'    // {svc}')
    title(tl, tg, bold_small=True)
    button(f'bIniciar{svc}', (210, y, 60, 25), 'Iniciar', small=True)
    button(f'bDetener{svc}', (275, y, 60, 25), 'Detener', 'Detiene el firewall', small=True)
    status(frame, f't{svc}', (345, y, 70, 25), (10, 5, 50, 16), small=True)
    connections += [f'bIniciar{svc}', f'bDetener{svc}']
    if svc == 'Ftp':
        button('bEditarFtp', (425, y, 50, 25), 'Editar', small=True)
        connections.append('bEditarFtp')
    w()
w('    // hosts.allow editor')
title('TextLabel2_2_2_3', (25, 350, 80, 50))
make('QPlainTextEdit', 'mlHostsAllow', 'this', (115, 350, 405, 125))
font('mlHostsAllow')
w('    mlHostsAllow->setFrameShape(QFrame::Box);')
button('bAplicarHostsAllow', (20, 405, 80, 31), 'Aplicar')
w('    bAplicarHostsAllow->setToolTip(tr("Guarda y aplica las modificaciones a /etc/hosts.allow"));')
button('bLogHostsDeny', (5, 440, 105, 28), 'Logs Hosts Deny')
w('    bLogHostsDeny->setToolTip(tr("Log de /var/log/HOSTS.DENY que muestra los accesos No autorizados (Necesita host.deny Por Defecto... Ver Menu Archivo)"));')
w()
w('    // Created last, so that it follows bLogHostsDeny in the focus chain.')
button('PushButton45', (20, 280, 91, 25), 'Firewall')
w('    PushButton45->setToolTip(tr("Gestiona el firewall con iptables"));')
connections += ['bAplicarHostsAllow', 'bLogHostsDeny', 'PushButton45']
assert len(connections) == 45
w()
w('    // Buttons to slots')
slot_of = {'bLogHostsDeny': 'bLogHostsAllow_Click', 'PushButton45': 'bFirewall_Click'}
for b in connections:
    w(f'    connect({b}, SIGNAL(clicked()), this, SLOT({slot_of.get(b, b + "_Click")}()));')
w()
w('    // Tab order')
tab = []
for svc, *_ in rows:
    tab += [f'bIniciar{svc}', f'bDetener{svc}', f'bReiniciar{svc}', f'bEditar{svc}']
    if svc not in ('Gate', 'Dns'):
        tab.append(f'bLog{svc}')
for svc, *_ in xrows:
    tab += [f'bIniciar{svc}', f'bDetener{svc}']
    if svc == 'Ftp':
        tab.append('bEditarFtp')
tab += ['mlHostsAllow', 'bAplicarHostsAllow', 'bLogHostsDeny']
assert len(tab) == 45
for a, b in zip(tab, tab[1:]):
    w(f'    setTabOrder({a}, {b});')

slots = sorted(['bAplicarHostsAllow_Click']
    + [f'bDetener{s}_Click' for s in ['Dns','Ftp','Gate','Httpd','Pop3','Samba','Sendmail','Squid','Swat','Telnet','Xinetd']]
    + [f'bEditar{s}_Click' for s in ['Dns','Ftp','Gate','Httpd','Samba','Sendmail','Squid','Telnet','Xinetd']]
    + [f'bIniciar{s}_Click' for s in ['Dns','Ftp','Gate','Httpd','Pop3','Samba','Sendmail','Squid','Swat','Telnet','Xinetd']]
    + [f'bLog{s}_Click' for s in ['Dns','Ftp','Gate','HostsAllow','Httpd','Samba','Sendmail','Squid','Telnet','Xinetd']]
    + [f'bReiniciar{s}_Click' for s in ['Dns','Gate','Httpd','Samba','Sendmail','Squid','Xinetd']]) + ['bFirewall_Click']

body = '\n'.join(out)
slot_defs = '\n'.join(
    f'void form1Base::{s}()\n{{\n    qWarning("form1Base::{s}(): Not implemented yet!");\n}}\n' for s in slots)

cpp = f'''// Generated by tools/gen_form1base.py from its layout tables.
#include "mainwindow/form1base.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

#include "mainwindow/form1base_icono.xpm"

namespace {{

QFont helvetica12(QFont f, bool bold)
{{
    f.setFamily(QStringLiteral("adobe-helvetica"));
    f.setPointSize(12);
    if (bold)
        f.setWeight(QFont::Bold);
    return f;
}}

}} // namespace

form1Base::form1Base(QWidget *parent, const char *name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{{
    setModal(modal);
    const QPixmap icono(form1base_icono);
    setObjectName(QString::fromLatin1(name ? name : "form1Base"));
    resize(526, 481);
    setWindowTitle(tr("Talvora by Korvane"));
    setWindowIcon(QIcon(icono));
    setWindowIconText(QString());
    setSizeGripEnabled(true);

{body}
}}

form1Base::~form1Base() = default;

{slot_defs}'''
open(os.path.join(root, 'mainwindow/form1base.cpp'), 'w').write(cpp)

# The window icon: a shield over a gradient disc, 361 colours plus None.
N = 361
def colour(i):
    t = i / (N - 1)
    r = int(20 + 60 * t); g = int(70 + 150 * t); b = int(140 + 100 * (1 - t))
    return '#%02x%02x%02x' % (r, g, b)
chars = [chr(c) for c in range(35, 127) if chr(c) not in '"\\']
codes = []
for a in chars:
    for b in chars:
        codes.append(a + b)
none_code = '  '
pal = [codes[i] for i in range(N)]
lines = []
for y in range(32):
    row = ''
    for x in range(32):
        cx, cy = x - 15.5, y - 15.5
        inside_shield = abs(cx) <= 12 and (cy <= 2 or abs(cx) <= 12 - (cy - 2) * 0.9) and cy >= -13
        if not inside_shield:
            row += none_code
            continue
        d = math.hypot(cx + 4, cy + 6) / 25.0
        k = min(N - 1, max(0, int(d * (N - 1) + (x * 7 + y * 13) % 3)))
        if abs(cx) < 1.5 and -9 < cy < 8 or abs(cy + 2) < 1.5 and abs(cx) < 8:
            k = N - 1 - k // 4  # light cross
        row += pal[k]
    lines.append(row)
xpm = ['/* XPM */', 'static const char *const form1base_icono[] = {', f'"32 32 {N + 1} 2",', f'"{none_code} c None",']
xpm += [f'"{pal[i]} c {colour(i)}",' for i in range(N)]
xpm += [f'"{l}",' for l in lines[:-1]] + [f'"{lines[-1]}"', '};']
open(os.path.join(root, 'mainwindow/form1base_icono.xpm'), 'w').write('\n'.join(xpm) + '\n')
