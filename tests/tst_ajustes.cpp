// The settings table, its file format, and the host seam it is saved through.
#include "platform/host.h"
#include "settings/ajustes.h"
#include "support.h"

#include <QFile>
#include <QtTest>

class TstAjustes : public QObject
{
    Q_OBJECT

private slots:
    void tablaCompleta();
    void formatoDelArchivo_data();
    void formatoDelArchivo();
    void valorConSaltoNoDesplazaLineas();
    void cargaYGuardado();
    void guardadoFallidoConservaArchivo();
    void rutasFijasBajoLaRaiz();
};

void TstAjustes::tablaCompleta()
{
    const QStringList claves = Ajustes::claves();
    QCOMPARE(claves.size(), 44);
    QCOMPARE(Ajustes::valoresPorDefecto().size(), 44);
    QCOMPARE(QSet<QString>(claves.begin(), claves.end()).size(), 44);
    // Spot checks across the table: first, last, and the odd ones out.
    const QList<QPair<int, QString>> muestras = {
        {0, "cEditor"}, {1, "cAbrirManual"}, {4, "cReiniciarGate"}, {7, "cIniciarSquid"},
        {22, "cEstadoSamba"}, {35, "cEditarDns"}, {42, "cDirectorioXinetd"}, {43, "cEditarFtp"}};
    for (const auto &m : muestras)
        QCOMPARE(claves.at(m.first), m.second);
    QCOMPARE(Ajustes::porDefecto("cEditor"), QString("kwrite"));
    QCOMPARE(Ajustes::porDefecto("cAbrirManual"),
             QString("htmlview file:/usr/local/share/talvora/doc/talvora/index.html"));
    QCOMPARE(Ajustes::porDefecto("cEstadoDns"), QString("/var/run/named/named.pid"));
    QCOMPARE(Ajustes::porDefecto("cEditarSamba"), QString("htmlview http://127.0.0.1:901/"));
    QCOMPARE(Ajustes::porDefecto("cLogSamba"), QString("kfmclient openProfile filemanagement /var/log/samba"));
    QCOMPARE(Ajustes::porDefecto("cEditarFtp"), QString("%editor /etc/ftpaccess"));
    // Every start, stop and restart is an init script call.
    for (int i = 0; i < 44; ++i) {
        const QString c = claves.at(i);
        if (c.startsWith("cIniciar") || c.startsWith("cDetener") || c.startsWith("cReiniciar"))
            QVERIFY2(Ajustes::valoresPorDefecto().at(i).startsWith("/etc/rc.d/init.d/"), qPrintable(c));
    }
}

void TstAjustes::formatoDelArchivo_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<int>("noVacios");
    QTest::addColumn<QString>("primero");
    QTest::addColumn<QString>("ultimo");

    QByteArray completo;
    for (int i = 1; i <= 44; ++i)
        completo += "v" + QByteArray::number(i) + "\n";
    QTest::newRow("44 lines") << completo << 44 << "v1" << "v44";
    QTest::newRow("extra lines ignored") << completo + "v45\nv46\n" << 44 << "v1" << "v44";
    QByteArray corto = completo;
    corto.chop(4); // drop "v44\n"
    QTest::newRow("43 lines empty the last") << corto << 43 << "v1" << "";
    QTest::newRow("empty file") << QByteArray() << 0 << "" << "";
    QTest::newRow("blanks kept") << QByteArray("  kwrite  \n") << 1 << "  kwrite  " << "";
    QTest::newRow("CR-LF dropped") << QByteArray("kwrite\r\nx\r\n") << 2 << "kwrite" << "";
    QTest::newRow("no final newline") << QByteArray("solo") << 1 << "solo" << "";
    QTest::newRow("empty lines kept in place") << QByteArray("\n\nterce\n") << 1 << "" << "";
}

void TstAjustes::formatoDelArchivo()
{
    QFETCH(QByteArray, contenido);
    QFETCH(int, noVacios);
    QFETCH(QString, primero);
    QFETCH(QString, ultimo);
    const QStringList v = Ajustes::analizar(contenido);
    QCOMPARE(v.size(), 44);
    QCOMPARE(static_cast<int>(std::count_if(v.begin(), v.end(), [](const QString &s) { return !s.isEmpty(); })),
             noVacios);
    QCOMPARE(v.first(), primero);
    QCOMPARE(v.last(), ultimo);
    if (contenido.startsWith("\n\n"))
        QCOMPARE(v.at(2), QString("terce"));
}

void TstAjustes::valorConSaltoNoDesplazaLineas()
{
    QStringList v = Ajustes::valoresPorDefecto();
    v[0] = "a\nb";
    const QByteArray texto = Ajustes::componer(v);
    QCOMPARE(texto.count('\n'), 44);
    QVERIFY(texto.endsWith("%editor /etc/ftpaccess\n"));
    QCOMPARE(Ajustes::analizar(texto).at(43), v.at(43));
}

void TstAjustes::cargaYGuardado()
{
    RaizTemporal raiz;
    const QStringList antes = Ajustes::valores();
    QCOMPARE(Ajustes::cargar(), Ajustes::Carga::NoExiste);
    QCOMPARE(Ajustes::valores(), antes);

    raiz.crearDirectorio("/usr/local/share/talvora");
    QStringList v = Ajustes::valoresPorDefecto();
    v[7] = " /etc/rc.d/init.d/squid start --ñandú ";
    v[43] = QString();
    QVERIFY(Ajustes::guardar(v));
    const QByteArray escrito = raiz.leer("/usr/local/share/talvora/conf");
    QCOMPARE(escrito.count('\n'), 44);
    QVERIFY(escrito.endsWith("/var/log/secure\n/etc/xinetd.d\n\n"));

    QCOMPARE(Ajustes::cargar(), Ajustes::Carga::Cargado);
    QCOMPARE(Ajustes::valores(), v);
    Ajustes::asignar(Ajustes::valoresPorDefecto());

    // A directory where the file should be cannot be read as one.
    QFile::remove(raiz.ruta("/usr/local/share/talvora/conf"));
    raiz.crearDirectorio("/usr/local/share/talvora/conf");
    QCOMPARE(Ajustes::cargar(), Ajustes::Carga::NoSePuedeLeer);
    QCOMPARE(Ajustes::valores(), Ajustes::valoresPorDefecto());
}

void TstAjustes::guardadoFallidoConservaArchivo()
{
    RaizTemporal raiz;
    // The program never creates its directory.
    QVERIFY(!Ajustes::guardar(Ajustes::valoresPorDefecto()));
    QVERIFY(!raiz.existe("/usr/local/share/talvora"));

    raiz.escribir("/usr/local/share/talvora/conf", "viejo\n");
    const QString dir = raiz.ruta("/usr/local/share/talvora");
    if (QProcess::execute("chattr", {"+i", dir}) != 0)
        QSKIP("chattr +i is not available on this file system");
    const bool guardado = Ajustes::guardar(Ajustes::valoresPorDefecto());
    QProcess::execute("chattr", {"-i", dir});
    QVERIFY(!guardado);
    QCOMPARE(raiz.leer("/usr/local/share/talvora/conf"), QByteArray("viejo\n"));
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{"conf"});
}

void TstAjustes::rutasFijasBajoLaRaiz()
{
    QCOMPARE(Host::path("/etc/hosts.allow"), QString("/etc/hosts.allow"));
    {
        RaizTemporal raiz;
        QCOMPARE(Host::path("/etc/hosts.allow"), raiz.raiz() + "/etc/hosts.allow");
        QCOMPARE(Ajustes::rutaArchivo(), raiz.raiz() + "/usr/local/share/talvora/conf");
    }
    QCOMPARE(Ajustes::rutaArchivo(), QString("/usr/local/share/talvora/conf"));
}

QTEST_MAIN(TstAjustes)
#include "tst_ajustes.moc"
