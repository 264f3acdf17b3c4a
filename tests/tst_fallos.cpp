// Writes that fail half way, and input nobody should have to read: every
// file under /etc either takes its new content whole or keeps its old bytes,
// the failure is reported, and odd bytes give a defined result.
#include "configdialog/confimpl.h"
#include "firewalldialog/firewallimpl.h"
#include "firewalldialog/reglas.h"
#include "mainwindow/estado.h"
#include "mainwindow/form1impl.h"
#include "mainwindow/marcas.h"
#include "mainwindow/xinetd.h"
#include "settings/ajustes.h"
#include "ventana.h"

#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Dir = QStringLiteral("/usr/local/share/talvora"), Conf = Dir + "/conf", Instantanea = Dir + "/firewall";
const QString Telnet = QStringLiteral("/etc/xinetd.d/telnet"), Allow = "/etc/hosts.allow";
const QByteArray TelnetApagado = "service telnet\n{\n\tdisable\t= yes\n\tserver\t= /usr/sbin/in.telnetd\n}\n";

QStringList entradas(const QString &dir) { return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot); }
qint64 milisegundos(const std::function<void()> &f) { QElapsedTimer r; r.start(); f(); return r.elapsed(); }
template <size_t N> QByteArray b(const char (&s)[N]) { return QByteArray(s, N - 1); } // with its NULs

template <typename T> T *hijo(QObject *w, const char *n) { T *h = w->findChild<T *>(n); return h ? h : (qFatal("no widget %s", n), h); }

// Writes and loads a configuration whose probes and xinetd directory lie inside the temporary root.
QStringList prepararAjustes(const RaizTemporal &raiz)
{
    const QStringList v = escribirAjustesEnRaiz(raiz);
    Ajustes::asignar(v);
    return v;
}

} // namespace

class TstFallos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); } // a write past RLIMIT_FSIZE fails with EFBIG instead
    void cleanup() { Ajustes::asignar(Ajustes::valoresPorDefecto()); }

    void escrituraFallida_data()
    {
        QTest::addColumn<QString>("objetivo");
        for (const char *o : {"ajustes", "dialogo", "xinetd", "hosts.allow", "enlace", "hosts.deny"})
            QTest::newRow(o) << QString(o);
    }

    // While writes fail past their first byte, the old file keeps its bytes, mode and
    // owner, no temporary file is left, and the failure shows where its action reports
    // failures. Once they get through, the new bytes take the same place.
    void escrituraFallida()
    {
        QFETCH(QString, objetivo);
        RaizTemporal raiz;
        Grabador grabador;
        const bool conf = objetivo == "ajustes" || objetivo == "dialogo", enlace = objetivo == "enlace";
        const QString archivo = conf ? Conf : objetivo == "xinetd" ? Telnet : enlace ? Allow : "/etc/" + objetivo;
        const QString destino = enlace ? "/etc/reglas/hosts.allow" : archivo;
        const QStringList ajustes = prepararAjustes(raiz);
        // Old contents, each different from what the action would write.
        const QByteArray viejo = conf ? Ajustes::componer(ajustes) : objetivo == "xinetd" ? TelnetApagado : "# lista vieja\nALL: 192.168.0.\n";
        raiz.escribir(destino, viejo);
        const QByteArray ruta = QFile::encodeName(raiz.ruta(destino));
        const uid_t dueno = geteuid() ? geteuid() : 65534;
        QVERIFY(chown(ruta, dueno, dueno) == 0 && chmod(ruta, 04640) == 0); // in this order: chown drops set-id
        QVERIFY(!enlace || QFile::link("reglas/hosts.allow", raiz.ruta(archivo)));
        auto estado = [&] {
            struct stat st {};
            stat(ruta, &st);
            return QStringList{QString::asprintf("%o %u %u", st.st_mode & 07777, st.st_uid, st.st_gid),
                               QFileInfo(raiz.ruta(archivo)).symLinkTarget()} + entradas(QFileInfo(raiz.ruta(archivo)).path()) + entradas(QFileInfo(ruta).path());
        };
        const QStringList antes = estado();
        form1 w;
        hijo<QLabel>(&w, "tXinetd")->setText(MarcaOn); // a switch would restart it
        hijo<QPlainTextEdit>(&w, "mlHostsAllow")->setPlainText("ALL: 10.0.0.1");
        auto sinEdicion = qScopeGuard([&] { hijo<QPlainTextEdit>(&w, "mlHostsAllow")->document()->setModified(false); }); // or closing applies it

        std::shared_ptr<CajaVista> caja;
        {
            rlimit sinLimite{};
            getrlimit(RLIMIT_FSIZE, &sinLimite);
            const rlimit limite{1, sinLimite.rlim_max}; // one byte gets through, then EFBIG
            auto restaurar = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &sinLimite); });
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
            if (objetivo == "ajustes") {
                QVERIFY(!Ajustes::guardar(QStringList(ajustes.size(), "vi")));
            } else if (objetivo == "dialogo") {
                confimpl dialogo;
                hijo<QLineEdit>(&dialogo, "cEditor")->setText("vi");
                caja = responderCaja("OK");
                hijo<QPushButton>(&dialogo, "bAplicar")->click();
            } else if (objetivo == "xinetd") {
                QVERIFY(QMetaObject::invokeMethod(&w, "bIniciarTelnet_Click"));
                QCOMPARE(hijo<QLabel>(&w, "tTelnet")->text(), MarcaError);
            } else {
                caja = responderCaja("OK");
                QVERIFY(QMetaObject::invokeMethod(&w, objetivo == "hosts.deny" ? "EscribirHostsDeny" : "bAplicarHostsAllow_Click"));
            }
        }
        QCOMPARE(caja ? caja->titulo + '|' + caja->texto : "", caja ? "Error|No se pudo escribir el Archivo" : "");
        QCOMPARE(grabador.comandos.filter("xinetd"), QStringList()); // no restart
        QCOMPARE(raiz.leer(destino), viejo);
        QCOMPARE(estado(), antes);
        QCOMPARE(Ajustes::valores(), ajustes);
        if (enlace || objetivo == "xinetd") {
            QVERIFY(QMetaObject::invokeMethod(&w, enlace ? "bAplicarHostsAllow_Click" : "bIniciarTelnet_Click"));
            QCOMPARE(raiz.leer(destino), enlace ? "ALL: 10.0.0.1\n\n" : QByteArray(TelnetApagado).replace("= yes", "= no"));
            QCOMPARE(estado(), antes);
        }
    }

    // A 10 MB first line is read whole, quickly, and shifts nothing.
    void lineaEnorme()
    {
        RaizTemporal raiz;
        raiz.escribir(Conf, QByteArray(10 << 20, 'x') + '\n' + Ajustes::componer(Ajustes::valoresPorDefecto().mid(1)));
        QVERIFY(milisegundos([] { QCOMPARE(Ajustes::cargar(), Ajustes::Carga::Cargado); }) < 5000);
        QCOMPARE(Ajustes::valores(), QStringList{QString(10 << 20, 'x')} + Ajustes::valoresPorDefecto().mid(1));
    }

    // Binary bytes as a service file: probed from its one disable
    // line, switched with every other byte kept.
    void xinetdBinario()
    {
        RaizTemporal raiz;
        Grabador grabador;
        prepararAjustes(raiz);
        QByteArray a; // every byte but a line end and the letters of a disable line: NUL first, 0xff last
        for (int c = 0; c < 256; ++c)
            a += QByteArray("\ndyn").contains(char(c)) ? QByteArray() : QByteArray(1, char(c));
        const QByteArray b = a.repeated(12), c = a.left(100);
        raiz.escribir(Telnet, a + "\n\tdisable = yes\r\n" + b + '\n' + c);
        form1 w;
        QCOMPARE(hijo<QLabel>(&w, "tTelnet")->text(), MarcaOff);
        QVERIFY(QMetaObject::invokeMethod(&w, "bIniciarTelnet_Click"));
        QCOMPARE(raiz.leer(Telnet), a + "\n\tdisable\t= no\n" + b + '\n' + c + '\n');
    }

    // The firewall dialog lists a 100,000-rule snapshot quickly.
    void cienMilReglas()
    {
        RaizTemporal raiz;
        Grabador grabador;
        QByteArray instantanea = "*filter\n:INPUT ACCEPT [0:0]\n";
        for (int i = 0; i < 100000; ++i)
            instantanea += QString::asprintf("-A INPUT -s 10.%d.%d.%d/32 -j DROP\n", i >> 16, i >> 8 & 255, i & 255).toLatin1();
        raiz.escribir(Instantanea, instantanea + "COMMIT\n");
        std::unique_ptr<firewallimpl> dialogo;
        QVERIFY(milisegundos([&] { dialogo = std::make_unique<firewallimpl>(); }) < 3000);
        QListWidget *lista = hijo<QListWidget>(dialogo.get(), "lreglas");
        QCOMPARE(lista->count(), 100000);
        QCOMPARE(lista->item(99999)->text(), "INPUT -s 10.1.134.159/32 -j DROP");
    }

    // NUL bytes, bytes that are not UTF-8 and CR-LF line ends in each reader.
    void lectores()
    {
        const auto ajustes = [](const QByteArray &e) { return Ajustes::analizar(e).mid(0, 3).join('|').toUtf8(); };
        const auto sondeo = [](const QByteArray &e) { return xinetdDesactivado(e) ? "apagado" : "encendido"; };
        const auto activar = [](const QByteArray &e) { return reescribirXinetd(e, 1); };
        const auto desactivar = [](const QByteArray &e) { return reescribirXinetd(e, 0); };
        const auto instantanea = [](const QByteArray &e) { return Reglas::leerInstantanea(e).join('|').toUtf8(); };
        const auto dividir = [](const QByteArray &e) { const auto v = Reglas::dividir(QString::fromUtf8(e)); return v ? v->join('|').toUtf8() : "(nada)"; };
        const auto allow = [](const QByteArray &e) { // as the main window shows it
            RaizTemporal r;
            return prepararAjustes(r), r.escribir(Allow, e), hijo<QPlainTextEdit>(form1().window(), "mlHostsAllow")->toPlainText().toUtf8();
        };
        const QByteArray rep = "\xef\xbf\xbd"; // U+FFFD for a byte that is not UTF-8
        const struct { const char *caso; std::function<QByteArray(const QByteArray &)> lector; QByteArray entrada, salida; } casos[] = {
            {"ajustes", ajustes, b("a\0b\r\n\xff\r\r\n\xc3\xb1"), b("a\0b|") + rep + "\r|\xc3\xb1"},
            {"sondeo, NUL corta", sondeo, b("dis\0able = yes"), "encendido"},
            {"sondeo, NUL y bytes altos", sondeo, b("\xff\tdisable\0= yes \xfe\r\n"), "apagado"},
            {"sondeo, CR-LF", sondeo, b("disable = no\r\nyes\r\n"), "encendido"},
            {"activar", activar, b("a\0\xe9\r\n\tdisable = yes\0\r\n disable=yes # \xff\r\n"), b("a\0\xe9\n\tdisable\t= no\0\n disable\t= no # \xff\n")},
            {"desactivar", desactivar, b("{\r\n\tdisable\t= no\rdisable = no\r\n}"), b("{\n\tdisable\t= yes\n}\n")},
            {"instantanea", instantanea, b("*filter\r\n-A INPUT --comment \"\xff\0x\" -j DROP\r\n-A\0 X\r\nCOMMIT\r\n"), "INPUT --comment \"" + rep + b("\0x\" -j DROP")},
            {"dividir, NUL y CR-LF", dividir, b("iptables -D \"a\0b\"\r\nc\r\n"), b("iptables|-D|a\0b|c")},
            {"dividir, UTF-8", dividir, b("\"\xff\" \"\\\"\""), rep + "|\""},
            {"dividir, comilla abierta", dividir, b("a \"b\\\""), "(nada)"},
            {"hosts.allow", allow, b("# \xff\r\nALL: LOCAL\r\n"), "# " + rep + "\nALL: LOCAL"},
        };
        for (const auto &c : casos)
            QCOMPARE(c.caso + QByteArray(": ") + c.lector(c.entrada), c.caso + QByteArray(": ") + c.salida);
    }

    // Rule comments written to break out of a shell are deleted with exactly
    // their argument vector, and no command but the snapshot runs.
    void comentariosHostiles()
    {
        RaizTemporal raiz;
        const QString marca = raiz.ruta("/marca"), volcar = "iptables-save >" + raiz.ruta(Instantanea);
        QList<QStringList> vectores;
        QByteArray instantanea = "*filter\n:INPUT ACCEPT [0:0]\n";
        for (const char *c : {"$(touch %1)", "`touch %1`", "x; touch %1", "x | touch %1", "\" 'a' \\\"; touch %1"}) {
            vectores << QStringList{"iptables", "-D", "INPUT", "-m", "comment", "--comment", QString(c).arg(marca), "-j", "DROP"};
            instantanea += "-A INPUT -m comment --comment \"" // quoted the way iptables-save writes it
                + QString(vectores.last()[6]).replace("\\", "\\\\").replace("\"", "\\\"").replace("'", "\\'").toUtf8() + "\" -j DROP\n";
        }
        // The snapshot is faked; anything else really runs in a shell where iptables does nothing:
        // a command built from a comment would create the mark.
        Grabador grabador;
        grabador.accion = [&](const QString &c) {
            return c == volcar ? (raiz.escribir(Instantanea, instantanea + "COMMIT\n"), 0) : std::system(qPrintable("iptables() { :; }; " + c));
        };
        firewallimpl dialogo;
        QListWidget *lista = hijo<QListWidget>(&dialogo, "lreglas");
        for (int i = 0; i < vectores.size(); ++i) {
            lista->setCurrentRow(i);
            auto caja = responderCaja("Si (Aceptar)");
            QVERIFY(QMetaObject::invokeMethod(&dialogo, "bEliminar"));
            QTRY_VERIFY(caja->vista);
        }
        QCOMPARE(grabador.vectores, vectores);
        QVERIFY(!QFileInfo::exists(marca));
        QCOMPARE(grabador.comandos, QStringList(vectores.size() + 1, volcar));
    }
};

QTEST_MAIN(TstFallos)
#include "tst_fallos.moc"
