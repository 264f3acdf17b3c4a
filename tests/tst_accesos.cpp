// The hosts.allow editor, the default hosts files, the install copies of
// the router script and ftpaccess, and the log of refused connections.
#include "mainwindow/marcas.h"
#include "ventana.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QByteArray denyPorDefecto =
    "# Modificado por Talvora by Korvane\nALL:ALL: spawn (/bin/echo `date` Intento en %d de %c "
    ">>/var/log/HOSTS.DENY | /usr/bin/play /usr/local/share/talvora/sounds/attack_detected.wav ) & \n\n";
const QByteArray allowPorDefecto =
    "# Modo de Uso    Servicio : IP\n# Ej  in.ftpd: ALL\n# Ej  ALL: 192.168.0.*\n\nALL: 127.0.0.1\n\n";

const QString allow = QStringLiteral("/etc/hosts.allow");
const QString deny = QStringLiteral("/etc/hosts.deny");

void comprobarCaja(const std::shared_ptr<CajaVista> &caja, const char *titulo, const char *texto)
{
    QVERIFY(caja->vista);
    QCOMPARE(caja->titulo, QLatin1String(titulo));
    QCOMPARE(caja->texto, QLatin1String(texto));
    QCOMPARE(caja->botones, QStringList{"OK"});
}

} // namespace

class TstAccesos : public QObject
{
    Q_OBJECT

private slots:
    void aplicar_data();
    void aplicar();
    void cargaYVuelta_data();
    void cargaYVuelta();
    void cargaFallida();
    void porDefecto();
    void denyDosVeces();
    void denySinArchivo();
    void allowNoEscribible();
    void allowEnlace();
    void logHostsDeny_data();
    void logHostsDeny();
    void copiasDeInstalacion_data();
    void copiasDeInstalacion();
};

void TstAccesos::aplicar_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QByteArray>("archivo");
    QTest::newRow("no newline") << "ALL: 127.0.0.1" << QByteArray("ALL: 127.0.0.1\n\n");
    QTest::newRow("one newline") << "ALL: 127.0.0.1\n" << QByteArray("ALL: 127.0.0.1\n\n");
    QTest::newRow("empty") << "" << QByteArray("\n\n");
    QTest::newRow("already an empty line") << "a: b\n\n" << QByteArray("a: b\n\n\n");
    QTest::newRow("several rules") << "in.ftpd: ALL\nALL: 10.0.0.1" << QByteArray("in.ftpd: ALL\nALL: 10.0.0.1\n\n");
}

void TstAccesos::aplicar()
{
    QFETCH(QString, editor);
    QFETCH(QByteArray, archivo);

    Ventana v({}, [](Ventana &p) { p.raiz.escribir(allow, "ALL: 10.9.9.9\nmucho texto viejo que sobra\n"); });
    v.w->mlHostsAllow->setPlainText(editor);
    SinCajas cajas;
    v.w->bAplicarHostsAllow->click();
    QCOMPARE(v.raiz.leer(allow), archivo);
    QCOMPARE(cajas.vistas, QStringList());
    QVERIFY(v.grabador.comandos.isEmpty());
}

// The file as loaded into the editor, and saved back unchanged.
void TstAccesos::cargaYVuelta_data()
{
    QTest::addColumn<QByteArray>("archivo");
    QTest::addColumn<QString>("editor");
    QTest::newRow("rules") << QByteArray("# reglas\nin.ftpd: ALL\n\nALL: 127.0.0.1\n\n")
                           << "# reglas\nin.ftpd: ALL\n\nALL: 127.0.0.1\n";
    QTest::newRow("default list") << allowPorDefecto
                                  << "# Modo de Uso    Servicio : IP\n# Ej  in.ftpd: ALL\n# Ej  ALL: 192.168.0.*\n\nALL: 127.0.0.1\n";
    QTest::newRow("utf-8 comment") << QByteArray("# acceso a\xc3\xa9reo\nALL: 127.0.0.1\n\n")
                                   << QString::fromUtf8("# acceso a\xc3\xa9reo\nALL: 127.0.0.1\n");
}

void TstAccesos::cargaYVuelta()
{
    QFETCH(QByteArray, archivo);
    QFETCH(QString, editor);

    Ventana v({}, [&](Ventana &p) { p.raiz.escribir(allow, archivo); });
    QCOMPARE(v.w->mlHostsAllow->toPlainText(), editor);
    v.w->bAplicarHostsAllow->click();
    QCOMPARE(v.raiz.leer(allow), archivo);
}

// Without a readable hosts.allow the editor holds the Error text, and
// closing the window does not write it over the file.
void TstAccesos::cargaFallida()
{
    Ventana v({}, [](Ventana &p) { p.raiz.crearDirectorio(allow); });
    QCOMPARE(v.w->mlHostsAllow->toPlainText(), MarcaError);
    v.w.reset();
    QVERIFY(QFileInfo(v.raiz.ruta(allow)).isDir());
}

// The default lists, byte for byte, and their "Listo" boxes.
void TstAccesos::porDefecto()
{
    Ventana v({}, [](Ventana &p) {
        p.raiz.escribir(allow, "ALL: 10.0.0.1\n\n");
        p.raiz.escribir(deny, "ALL: 10.0.0.2\n");
    });

    auto caja = responderCaja(QStringLiteral("OK"));
    QVERIFY(v.llamar("EscribirHostsDeny"));
    comprobarCaja(caja, "Listo", "Se modifico /etc/hosts.deny");
    QCOMPARE(v.raiz.leer(deny), denyPorDefecto);

    caja = responderCaja(QStringLiteral("OK"));
    QVERIFY(v.llamar("EscribirHostsAllow"));
    comprobarCaja(caja, "Listo", "Se modifico /etc/hosts.allow");
    QCOMPARE(v.raiz.leer(allow), allowPorDefecto);
    QCOMPARE(v.w->mlHostsAllow->toPlainText(), QString::fromLatin1(allowPorDefecto));
    // No backup of hosts.allow; one of hosts.deny, taken before the write.
    QCOMPARE(v.grabador.comandos,
             QStringList{"/bin/cp --force -p " + v.raiz.ruta(deny) + " " + v.raiz.ruta(deny + ".viejo")});
}

// Each run backs up what it replaces, so the second run's backup holds
// the first run's default.
void TstAccesos::denyDosVeces()
{
    Ventana v({}, [](Ventana &p) { p.raiz.escribir(deny, "ALL: .ejemplo.org\n"); });
    v.ejecutarDeVerdad();

    auto caja = responderCaja(QStringLiteral("OK"));
    QVERIFY(v.llamar("EscribirHostsDeny"));
    QVERIFY(caja->vista);
    QCOMPARE(v.raiz.leer(deny + ".viejo"), QByteArray("ALL: .ejemplo.org\n"));
    QCOMPARE(v.raiz.leer(deny), denyPorDefecto);

    caja = responderCaja(QStringLiteral("OK"));
    QVERIFY(v.llamar("EscribirHostsDeny"));
    QVERIFY(caja->vista);
    QCOMPARE(v.raiz.leer(deny + ".viejo"), denyPorDefecto);
    QCOMPARE(v.raiz.leer(deny), denyPorDefecto);
    QCOMPARE(v.grabador.comandos.size(), 2);
}

void TstAccesos::denySinArchivo()
{
    Ventana v;
    v.ejecutarDeVerdad();
    auto caja = responderCaja(QStringLiteral("OK"));
    QVERIFY(v.llamar("EscribirHostsDeny"));
    comprobarCaja(caja, "Listo", "Se modifico /etc/hosts.deny");
    QCOMPARE(v.raiz.leer(deny), denyPorDefecto);
    QVERIFY(!v.raiz.existe(deny + ".viejo"));
}

// The editor takes the default list even when the file cannot be written;
// the file stays as it was, for the default writer and for "Aplicar".
void TstAccesos::allowNoEscribible()
{
    const QByteArray viejo = "ALL: 10.1.1.1\n\n";
    Ventana v({}, [&](Ventana &p) { p.raiz.escribir(allow, viejo); });
    Inmutable inmutable;
    if (!inmutable.poner(v.raiz.ruta(allow)))
        QSKIP("chattr +i is not available here");

    auto caja = responderCaja(QStringLiteral("OK"));
    QVERIFY(v.llamar("EscribirHostsAllow"));
    comprobarCaja(caja, "Error", "No se pudo escribir el Archivo");
    QCOMPARE(v.w->mlHostsAllow->toPlainText(), QString::fromLatin1(allowPorDefecto));
    QCOMPARE(v.raiz.leer(allow), viejo);

    v.w->mlHostsAllow->setPlainText(QStringLiteral("ALL: ALL"));
    caja = responderCaja(QStringLiteral("OK"));
    v.w->bAplicarHostsAllow->click();
    comprobarCaja(caja, "Error", "No se pudo escribir el Archivo");
    QCOMPARE(v.raiz.leer(allow), viejo);
    v.w->mlHostsAllow->document()->setModified(false);
}

void TstAccesos::allowEnlace()
{
    Ventana v({}, [](Ventana &p) {
        p.raiz.escribir(QStringLiteral("/etc/tcpd/allow"), "ALL: 10.0.0.1\n\n");
        QVERIFY(QFile::link(QStringLiteral("tcpd/allow"), p.raiz.ruta(allow)));
    });
    QCOMPARE(v.w->mlHostsAllow->toPlainText(), QStringLiteral("ALL: 10.0.0.1\n"));
    v.w->mlHostsAllow->setPlainText(QStringLiteral("ALL: 127.0.0.1"));
    v.w->bAplicarHostsAllow->click();
    QVERIFY(QFileInfo(v.raiz.ruta(allow)).isSymLink());
    QCOMPARE(v.raiz.leer(QStringLiteral("/etc/tcpd/allow")), QByteArray("ALL: 127.0.0.1\n\n"));
}

// The editor setting is used as it is: no "%editor" expansion here.
void TstAccesos::logHostsDeny_data()
{
    QTest::addColumn<QString>("editor");
    QTest::newRow("default") << "kwrite";
    QTest::newRow("with %editor") << "mi %editor";
    QTest::newRow("with blanks") << "  gvim  -R ";
    QTest::newRow("empty") << "";
}

void TstAccesos::logHostsDeny()
{
    QFETCH(QString, editor);
    Ventana v({{"cEditor", editor}, {"cLogSquid", "%editor nunca"}});
    v.w->bLogHostsDeny->click();
    QCOMPARE(v.grabador.comandos, QStringList{editor + " " + v.raiz.ruta("/var/log/HOSTS.DENY") + " &"});
}

// The backup copy runs and returns before the install copy, which runs in
// the background.
void TstAccesos::copiasDeInstalacion_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QString>("instalado");
    QTest::addColumn<QString>("original");
    QTest::newRow("korv-gate") << QByteArray("EscribirKorvgate") << "/etc/rc.d/init.d/korv-gate"
                               << "/usr/local/share/talvora/pordefecto/korv-gate";
    QTest::newRow("ftpaccess") << QByteArray("EscribirFtp") << "/etc/ftpaccess"
                               << "/usr/local/share/talvora/pordefecto/ftpaccess";
}

void TstAccesos::copiasDeInstalacion()
{
    QFETCH(QByteArray, slot);
    QFETCH(QString, instalado);
    QFETCH(QString, original);

    Ventana v({}, [&](Ventana &p) {
        p.raiz.escribir(instalado, "version vieja\n");
        p.raiz.escribir(original, "version nueva\n");
        QFile::setPermissions(p.raiz.ruta(original), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                         | QFileDevice::ExeOwner | QFileDevice::ReadOther);
    });
    v.ejecutarDeVerdad();
    SinCajas cajas;
    QVERIFY(v.llamar(slot.constData()));
    const QString r = v.raiz.raiz();
    QCOMPARE(v.grabador.comandos,
             (QStringList{"/bin/cp --force -p " + r + instalado + " " + r + instalado + ".viejo",
                          "/bin/cp --force -p " + r + original + " " + r + instalado + " &"}));
    QCOMPARE(v.raiz.leer(instalado + ".viejo"), QByteArray("version vieja\n"));
    QTRY_COMPARE(v.raiz.leer(instalado), QByteArray("version nueva\n"));
    QTRY_VERIFY(QFileInfo(v.raiz.ruta(instalado)).isExecutable());
    QCOMPARE(cajas.vistas, QStringList());
}

QTEST_MAIN(TstAccesos)
#include "tst_accesos.moc"
