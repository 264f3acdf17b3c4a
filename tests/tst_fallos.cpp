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
#include "support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Set by main: the process has a mount namespace of its own, so a full
// file system can be mounted in the temporary root without the host seeing it.
bool montajesPropios = false;

const QString kConf = QStringLiteral("/usr/local/share/talvora/conf");
const QString kTelnet = QStringLiteral("/etc/xinetd.d/telnet");
const QString kInstantanea = QStringLiteral("/usr/local/share/talvora/firewall");
const QByteArray kTelnetApagado = "service telnet\n{\n\tdisable\t= yes\n\tserver\t= /usr/sbin/in.telnetd\n}\n";

// While it lives, writing a file past 'limite' bytes fails with EFBIG
// instead of killing the process.
class LimiteEscritura
{
public:
    explicit LimiteEscritura(rlim_t limite)
    {
        getrlimit(RLIMIT_FSIZE, &viejo_);
        senal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = viejo_;
        r.rlim_cur = limite;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~LimiteEscritura()
    {
        setrlimit(RLIMIT_FSIZE, &viejo_);
        std::signal(SIGXFSZ, senal_);
    }

private:
    rlimit viejo_{};
    void (*senal_)(int) = SIG_DFL;
};

// A 64 KB tmpfs over a directory; llenar() takes its last free byte.
class DiscoLleno
{
public:
    explicit DiscoLleno(const QString &dir) : dir_(QFile::encodeName(dir))
    {
        QDir().mkpath(dir);
        montado_ = mount("talvora-prueba", dir_.constData(), "tmpfs", 0, "size=64k,mode=0755") == 0;
    }
    ~DiscoLleno()
    {
        if (montado_)
            umount2(dir_.constData(), MNT_DETACH);
    }
    bool montado() const { return montado_; }
    bool llenar() const
    {
        const int fd = open((dir_ + "/relleno").constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        const QByteArray bloque(4096, 'r');
        while (write(fd, bloque.constData(), bloque.size()) > 0) {
        }
        const bool lleno = errno == ENOSPC;
        close(fd);
        return lleno;
    }

private:
    QByteArray dir_;
    bool montado_ = false;
};

QStringList entradas(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The settings every test window starts from: probes and the xinetd
// directory point into the temporary root.
QStringList ajustesDePrueba(const RaizTemporal &raiz)
{
    QStringList v = Ajustes::valoresPorDefecto();
    const QStringList &claves = Ajustes::claves();
    for (int i = 0; i < claves.size(); ++i)
        if (claves[i].startsWith(QLatin1String("cEstado")) || claves[i] == QLatin1String("cDirectorioXinetd"))
            v[i] = raiz.ruta(v[i]);
    return v;
}

template <typename T>
T *hijo(QWidget *w, const char *nombre)
{
    T *h = w->findChild<T *>(QLatin1String(nombre));
    if (!h)
        qFatal("no widget %s", nombre);
    return h;
}

} // namespace

class TstFallos : public QObject
{
    Q_OBJECT

private slots:
    void escrituraFallida_data();
    void escrituraFallida();
    void enlaceYModo();
    void lineaEnorme();
    void xinetdBinario();
    void cienMilReglas();
    void lectores_data();
    void lectores();
    void comentariosHostiles();
};

void TstFallos::escrituraFallida_data()
{
    QTest::addColumn<QString>("objetivo");
    QTest::addColumn<bool>("lleno");
    for (const char *o : {"ajustes", "dialogo", "xinetd", "hosts.allow", "enlace", "hosts.deny"}) {
        QTest::addRow("%s, limite de tamano", o) << QString::fromLatin1(o) << false;
        QTest::addRow("%s, disco lleno", o) << QString::fromLatin1(o) << true;
    }
}

// The old file keeps every byte, no temporary file is left beside it, and
// the failure shows where its action reports failures.
void TstFallos::escrituraFallida()
{
    QFETCH(QString, objetivo);
    QFETCH(bool, lleno);
    if (lleno && !montajesPropios)
        QSKIP("needs root and a private mount namespace");

    RaizTemporal raiz;
    Grabador grabador;
    const QStringList ajustes = ajustesDePrueba(raiz);
    const bool esConf = objetivo == QLatin1String("ajustes") || objetivo == QLatin1String("dialogo");
    const QString archivo = esConf ? kConf : objetivo == QLatin1String("xinetd") ? kTelnet
        : objetivo == QLatin1String("hosts.deny")                           ? QStringLiteral("/etc/hosts.deny")
                                                                            : QStringLiteral("/etc/hosts.allow");
    const QString dir = QFileInfo(raiz.ruta(archivo)).absolutePath();
    std::unique_ptr<DiscoLleno> disco;
    if (lleno) {
        disco = std::make_unique<DiscoLleno>(dir);
        QVERIFY(disco->montado());
    }

    // Old contents, each different from what the action would write.
    raiz.escribir(kConf, Ajustes::componer(ajustes));
    QByteArray viejo = esConf ? Ajustes::componer(ajustes) : objetivo == QLatin1String("xinetd")
        ? kTelnetApagado
        : QByteArray("# lista vieja\nALL: 192.168.0.\n");
    QString real = raiz.ruta(archivo);
    if (objetivo == QLatin1String("enlace")) {
        raiz.escribir(QStringLiteral("/etc/reglas/hosts.allow"), viejo);
        QVERIFY(QFile::link(QStringLiteral("reglas/hosts.allow"), raiz.ruta(archivo)));
        real = raiz.ruta(QStringLiteral("/etc/reglas/hosts.allow"));
    } else if (!esConf) {
        raiz.escribir(archivo, viejo);
    }
    Ajustes::asignar(ajustes);

    std::unique_ptr<form1> w;
    if (!esConf) {
        w = std::make_unique<form1>();
        hijo<QLabel>(w.get(), "tXinetd")->setText(MarcaOn); // a switch would restart it
        hijo<QPlainTextEdit>(w.get(), "mlHostsAllow")->setPlainText(QStringLiteral("ALL: 10.0.0.1"));
    }
    if (lleno)
        QVERIFY(disco->llenar());
    const QStringList antes = entradas(dir);
    const QStringList antesReal = entradas(QFileInfo(real).absolutePath());

    std::shared_ptr<CajaVista> caja;
    {
        std::unique_ptr<LimiteEscritura> limite;
        if (!lleno)
            limite = std::make_unique<LimiteEscritura>(1); // one byte gets through, then EFBIG
        if (objetivo == QLatin1String("ajustes")) {
            QStringList otros = ajustes;
            otros[0] = QStringLiteral("vi");
            QVERIFY(!Ajustes::guardar(otros));
        } else if (objetivo == QLatin1String("dialogo")) {
            confimpl dialogo;
            dialogo.show();
            hijo<QLineEdit>(&dialogo, "cEditor")->setText(QStringLiteral("vi"));
            caja = responderCaja(QStringLiteral("OK"));
            hijo<QPushButton>(&dialogo, "bAplicar")->click();
            QTRY_VERIFY(caja->vista);
        } else if (objetivo == QLatin1String("xinetd")) {
            QVERIFY(QMetaObject::invokeMethod(w.get(), "bIniciarTelnet_Click"));
            QCOMPARE(hijo<QLabel>(w.get(), "tTelnet")->text(), MarcaError);
            QCOMPARE(grabador.comandos, QStringList()); // no restart of xinetd
        } else {
            caja = responderCaja(QStringLiteral("OK"));
            const char *slot = objetivo == QLatin1String("hosts.deny") ? "EscribirHostsDeny" : "bAplicarHostsAllow_Click";
            QVERIFY(QMetaObject::invokeMethod(w.get(), slot));
            QTRY_VERIFY(caja->vista);
        }
    }
    if (caja) {
        QCOMPARE(caja->titulo, QStringLiteral("Error"));
        QCOMPARE(caja->texto, QStringLiteral("No se pudo escribir el Archivo"));
    }
    QFile f(real);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), viejo);
    QCOMPARE(entradas(dir), antes);
    QCOMPARE(entradas(QFileInfo(real).absolutePath()), antesReal);
    if (objetivo == QLatin1String("enlace"))
        QCOMPARE(QFileInfo(raiz.ruta(archivo)).symLinkTarget(), real);
    QCOMPARE(Ajustes::valores(), ajustes);
    if (w) // the unapplied edit is not the point here
        hijo<QPlainTextEdit>(w.get(), "mlHostsAllow")->document()->setModified(false);
    w.reset();
    Ajustes::asignar(Ajustes::valoresPorDefecto());
}

// A successful save through a link writes where it points, and a rewritten
// xinetd file keeps its mode bits and owner.
void TstFallos::enlaceYModo()
{
    RaizTemporal raiz;
    Grabador grabador;
    raiz.escribir(kConf, Ajustes::componer(ajustesDePrueba(raiz)));
    raiz.escribir(QStringLiteral("/etc/reglas/hosts.allow"), "ALL: 127.0.0.1\n\n");
    QVERIFY(QFile::link(QStringLiteral("reglas/hosts.allow"), raiz.ruta(QStringLiteral("/etc/hosts.allow"))));
    raiz.escribir(kTelnet, kTelnetApagado);
    const QByteArray telnet = QFile::encodeName(raiz.ruta(kTelnet));
    const bool root = geteuid() == 0;
    if (root) // before chmod: a change of owner drops the set-id bits
        QCOMPARE(chown(telnet.constData(), 65534, 65534), 0);
    QCOMPARE(chmod(telnet.constData(), 04640), 0);

    form1 w;
    hijo<QPlainTextEdit>(&w, "mlHostsAllow")->setPlainText(QStringLiteral("ALL: 10.0.0.1"));
    hijo<QPushButton>(&w, "bAplicarHostsAllow")->click();
    const QFileInfo enlace(raiz.ruta(QStringLiteral("/etc/hosts.allow")));
    QVERIFY(enlace.isSymLink());
    QCOMPARE(enlace.symLinkTarget(), raiz.ruta(QStringLiteral("/etc/reglas/hosts.allow")));
    QCOMPARE(raiz.leer(QStringLiteral("/etc/reglas/hosts.allow")), QByteArray("ALL: 10.0.0.1\n\n"));

    QVERIFY(QMetaObject::invokeMethod(&w, "bIniciarTelnet_Click"));
    QCOMPARE(raiz.leer(kTelnet), QByteArray("service telnet\n{\n\tdisable\t= no\n\tserver\t= /usr/sbin/in.telnetd\n}\n"));
    struct stat st {};
    QCOMPARE(stat(telnet.constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(04640));
    if (root) {
        QCOMPARE(st.st_uid, uid_t(65534));
        QCOMPARE(st.st_gid, gid_t(65534));
    }
    QCOMPARE(entradas(raiz.ruta(QStringLiteral("/etc/xinetd.d"))), QStringList{QStringLiteral("telnet")});
}

// A 10 MB first line is read whole and shifts nothing.
void TstFallos::lineaEnorme()
{
    RaizTemporal raiz;
    const QStringList defecto = Ajustes::valoresPorDefecto();
    const QByteArray enorme(10 * 1024 * 1024, 'x');
    raiz.escribir(kConf, enorme + '\n' + Ajustes::componer(defecto.mid(1)));
    QElapsedTimer reloj;
    reloj.start();
    QCOMPARE(Ajustes::cargar(), Ajustes::Carga::Cargado);
    QVERIFY2(reloj.elapsed() < 5000, qPrintable(QString::number(reloj.elapsed())));
    const QStringList v = Ajustes::valores();
    QCOMPARE(v.size(), Ajustes::Cantidad);
    QCOMPARE(v.first().size(), enorme.size());
    QCOMPARE(v.mid(1), defecto.mid(1));
    Ajustes::asignar(defecto);
}

// Random bytes with NULs as a service file: probed from its one disable
// line, switched with every other byte kept.
void TstFallos::xinetdBinario()
{
    RaizTemporal raiz;
    Grabador grabador;
    raiz.escribir(kConf, Ajustes::componer(ajustesDePrueba(raiz)));
    QRandomGenerator azar(20240601);
    auto basura = [&azar](int n) {
        QByteArray b;
        while (b.size() < n) {
            const char c = char(azar.bounded(256));
            if (c != '\n' && c != 'd' && c != 'y' && c != 'n')
                b += c;
        }
        b[0] = '\0';
        b[n - 1] = char(0xff); // and never a '\r' before a line end
        return b;
    };
    const QByteArray a = basura(3000), b = basura(3000), c = basura(500);
    raiz.escribir(kTelnet, a + "\n\tdisable = yes\r\n" + b + '\n' + c);

    form1 w;
    QLabel *telnet = hijo<QLabel>(&w, "tTelnet");
    QCOMPARE(telnet->text(), MarcaOff);
    QVERIFY(QMetaObject::invokeMethod(&w, "bIniciarTelnet_Click"));
    QCOMPARE(raiz.leer(kTelnet), a + "\n\tdisable\t= no\n" + b + '\n' + c + '\n');
    QTRY_COMPARE(telnet->text(), MarcaOn);
}

// The firewall dialog lists a 100,000-rule snapshot quickly.
void TstFallos::cienMilReglas()
{
    RaizTemporal raiz;
    Grabador grabador;
    QByteArray instantanea = "*filter\n:INPUT ACCEPT [0:0]\n";
    for (int i = 0; i < 100000; ++i)
        instantanea += "-A INPUT -s 10." + QByteArray::number(i / 65536) + '.' + QByteArray::number(i / 256 % 256)
            + '.' + QByteArray::number(i % 256) + "/32 -j DROP\n";
    instantanea += "COMMIT\n";
    raiz.escribir(kInstantanea, instantanea);
    QElapsedTimer reloj;
    reloj.start();
    firewallimpl dialogo;
    const qint64 ms = reloj.elapsed();
    QListWidget *lista = hijo<QListWidget>(&dialogo, "lreglas");
    QCOMPARE(lista->count(), 100000);
    QCOMPARE(lista->item(99999)->text(), QStringLiteral("INPUT -s 10.1.134.159/32 -j DROP"));
    QVERIFY2(ms < 3000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
}

// A byte string literal with its NULs.
template <size_t N>
QByteArray b(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

void TstFallos::lectores_data()
{
    QTest::addColumn<QString>("lector");
    QTest::addColumn<QByteArray>("entrada");
    QTest::addColumn<QByteArray>("salida");
    auto fila = [](const char *nombre, const char *lector, const QByteArray &entrada, const QByteArray &salida) {
        QTest::newRow(nombre) << QString::fromLatin1(lector) << entrada << salida;
    };
    const QByteArray rep = "\xef\xbf\xbd"; // U+FFFD for a byte that is not UTF-8
    fila("ajustes, NUL", "ajustes", b("a\0b\nc\n"), b("a\0b|c|"));
    fila("ajustes, UTF-8", "ajustes", b("\xff\n\xc3\xb1\n"), rep + "|\xc3\xb1|");
    fila("ajustes, CR-LF", "ajustes", b("uno\r\ndos\r\r\ntres"), b("uno|dos\r|tres"));
    fila("sondeo, NUL", "sondeo", b("\tdisable\0= yes\n"), "apagado");
    fila("sondeo, NUL corta", "sondeo", b("dis\0able = yes"), "encendido");
    fila("sondeo, bytes altos", "sondeo", b("\xff disable = yes \xfe\r\n"), "apagado");
    fila("sondeo, CR-LF", "sondeo", b("disable = no\r\nyes\r\n"), "encendido");
    fila("activar, NUL", "activar", b("a\0b\n\tdisable = yes\0\r\n"), b("a\0b\n\tdisable\t= no\0\n"));
    fila("activar, bytes altos", "activar", b("\xe9t\xe9\r\n disable=yes # \xff\r\n"),
         b("\xe9t\xe9\n disable\t= no # \xff\n"));
    fila("desactivar, CR-LF", "desactivar", b("{\r\n\tdisable\t= no\r\n}\r\n"), b("{\n\tdisable\t= yes\n}\n"));
    fila("desactivar, CR suelto", "desactivar", b("disable = no\rdisable = no"), b("disable\t= yes\n"));
    fila("instantanea, CR-LF", "instantanea", b("*filter\r\n-A INPUT -j DROP\r\nCOMMIT\r\n"), "INPUT -j DROP");
    fila("instantanea, NUL y UTF-8", "instantanea",
         b("*filter\n-A INPUT --comment \"\xff\0x\" -j DROP\n-A\0 X\nCOMMIT\n"),
         "INPUT --comment \"" + rep + b("\0x\" -j DROP"));
    fila("dividir, NUL", "dividir", b("iptables -D \"a\0b\" c"), b("iptables|-D|a\0b|c"));
    fila("dividir, CR-LF", "dividir", b("-A INPUT\r\n-j DROP\r\n"), "-A|INPUT|-j|DROP");
    fila("dividir, UTF-8", "dividir", b("\"\xff\" \"\\\"\""), rep + "|\"");
    fila("dividir, comilla abierta", "dividir", b("a \"b\\\""), "(nada)");
    fila("hosts.allow, CR-LF", "hosts.allow", b("ALL: 127.0.0.1\r\nsshd: 10.0.0.\r\n"), "ALL: 127.0.0.1\nsshd: 10.0.0.");
    fila("hosts.allow, UTF-8", "hosts.allow", b("# \xff\nALL: LOCAL\n"), "# " + rep + "\nALL: LOCAL");
}

// NUL bytes, bytes that are not UTF-8 and CR-LF line ends in each reader.
void TstFallos::lectores()
{
    QFETCH(QString, lector);
    QFETCH(QByteArray, entrada);
    QFETCH(QByteArray, salida);
    QByteArray leido;
    if (lector == QLatin1String("ajustes")) {
        leido = Ajustes::analizar(entrada).mid(0, 3).join(QLatin1Char('|')).toUtf8();
    } else if (lector == QLatin1String("sondeo")) {
        leido = xinetdDesactivado(entrada) ? "apagado" : "encendido";
    } else if (lector == QLatin1String("activar") || lector == QLatin1String("desactivar")) {
        leido = reescribirXinetd(entrada, lector == QLatin1String("activar") ? 1 : 0);
    } else if (lector == QLatin1String("instantanea")) {
        leido = Reglas::leerInstantanea(entrada).join(QLatin1Char('|')).toUtf8();
    } else if (lector == QLatin1String("dividir")) {
        const auto v = Reglas::dividir(QString::fromUtf8(entrada));
        leido = v ? v->join(QLatin1Char('|')).toUtf8() : QByteArray("(nada)");
    } else {
        RaizTemporal raiz;
        raiz.escribir(kConf, Ajustes::componer(ajustesDePrueba(raiz)));
        raiz.escribir(QStringLiteral("/etc/hosts.allow"), entrada);
        form1 w;
        leido = hijo<QPlainTextEdit>(&w, "mlHostsAllow")->toPlainText().toUtf8();
        Ajustes::asignar(Ajustes::valoresPorDefecto());
    }
    QCOMPARE(leido, salida);
}

// Rule comments written to break out of a shell are deleted with exactly
// their argument vector, and no command but the snapshot runs.
void TstFallos::comentariosHostiles()
{
    RaizTemporal raiz;
    const QString marca = raiz.ruta(QStringLiteral("/marca"));
    const QStringList comentarios{
        QStringLiteral("$(touch %1)").arg(marca),  QStringLiteral("`touch %1`").arg(marca),
        QStringLiteral("x; touch %1").arg(marca),  QStringLiteral("x | touch %1").arg(marca),
        QStringLiteral("\" 'a' \\\"; touch %1").arg(marca),
    };
    // Written the way iptables-save quotes them: '"', '\'' and '\\' escaped.
    QByteArray instantanea = "*filter\n:INPUT ACCEPT [0:0]\n";
    for (QString c : comentarios) {
        c.replace(QLatin1String("\\"), QLatin1String("\\\\")).replace(QLatin1String("\""), QLatin1String("\\\""));
        c.replace(QLatin1String("'"), QLatin1String("\\'"));
        instantanea += "-A INPUT -m comment --comment \"" + c.toUtf8() + "\" -j DROP\n";
    }
    instantanea += "COMMIT\n";

    // The shell runner fakes the snapshot and really runs anything else,
    // with an iptables that does nothing: a shell would create the mark.
    raiz.escribir(QStringLiteral("/bin/iptables"), "#!/bin/sh\nexit 0\n");
    QFile(raiz.ruta(QStringLiteral("/bin/iptables"))).setPermissions(QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    Grabador grabador;
    grabador.accion = [&](const QString &c) {
        if (c == QLatin1String("iptables-save >") + raiz.ruta(kInstantanea)) {
            raiz.escribir(kInstantanea, instantanea);
            return 0;
        }
        return std::system(qPrintable(QStringLiteral("PATH=%1:$PATH; %2").arg(raiz.ruta(QStringLiteral("/bin")), c)));
    };

    firewallimpl dialogo;
    QListWidget *lista = hijo<QListWidget>(&dialogo, "lreglas");
    QCOMPARE(lista->count(), comentarios.size());
    for (int i = 0; i < comentarios.size(); ++i) {
        lista->setCurrentRow(i);
        auto caja = responderCaja(QStringLiteral("Si (Aceptar)"));
        QVERIFY(QMetaObject::invokeMethod(&dialogo, "bEliminar"));
        QTRY_VERIFY(caja->vista);
        const QStringList esperado{QStringLiteral("iptables"), QStringLiteral("-D"), QStringLiteral("INPUT"),
                                   QStringLiteral("-m"),       QStringLiteral("comment"), QStringLiteral("--comment"),
                                   comentarios[i],             QStringLiteral("-j"), QStringLiteral("DROP")};
        QCOMPARE(grabador.vectores.size(), i + 1);
        QCOMPARE(grabador.vectores.last(), esperado);
    }
    QVERIFY(!QFileInfo::exists(marca));
    QCOMPARE(grabador.comandos.size(), comentarios.size() + 1);
    QCOMPARE(grabador.comandos.filter(QStringLiteral("iptables-save >")).size(), grabador.comandos.size());
}

// Before any thread starts: a mount namespace of our own, its mounts kept
// from the host, so that the full-disk cases can mount tmpfs as root.
int main(int argc, char **argv)
{
    montajesPropios = geteuid() == 0 && unshare(CLONE_NEWNS) == 0
        && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    QApplication app(argc, argv);
    TstFallos prueba;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&prueba, argc, argv);
}

#include "tst_fallos.moc"
