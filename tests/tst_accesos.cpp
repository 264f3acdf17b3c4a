// The hosts.allow editor, the default hosts files, the install copies of
// the router script and ftpaccess, and the log of refused connections.
#include "ventana.h"

static const QByteArray denyPorDefecto = "# Modificado por Talvora by Korvane\nALL:ALL: spawn (/bin/echo `date` Intento en %d de "
    "%c >>/var/log/HOSTS.DENY | /usr/bin/play /usr/local/share/talvora/sounds/attack_detected.wav ) & \n\n";
static const QByteArray allowPorDefecto =
    "# Modo de Uso    Servicio : IP\n# Ej  in.ftpd: ALL\n# Ej  ALL: 192.168.0.*\n\nALL: 127.0.0.1\n\n";
static const QString allow = QStringLiteral("/etc/hosts.allow"), deny = QStringLiteral("/etc/hosts.deny");

class TstAccesos : public QObject
{
    Q_OBJECT
private slots:
    void hosts();
    void comandos();
};

// The editor is loaded without the file's last line end and saved with one
// more, and another unless the text then ends in an empty line. The default
// lists byte for byte: hosts.deny is backed up by the real cp first, so the
// second run's backup holds the first run's list; the editor takes the allow
// list even when the file cannot be written.
void TstAccesos::hosts()
{
    Ventana v([](Ventana &p) {
        p.raiz.escribir(deny, "ALL: .ejemplo.org\n"), p.raiz.escribir(allow, "# reglas\nin.ftpd: ALL\n\nALL: 10.1.1.1\n\n");
    });
    QCOMPARE(v.w->mlHostsAllow->toPlainText(), "# reglas\nin.ftpd: ALL\n\nALL: 10.1.1.1\n");
    Contestador cajas;
    for (const auto &[editor, archivo] : {std::pair{"ALL: 127.0.0.1", "ALL: 127.0.0.1\n\n"},
             {"ALL: 127.0.0.1\n", "ALL: 127.0.0.1\n\n"}, {"", "\n\n"}, {"a: b\n\n", "a: b\n\n\n"}}) {
        v.w->mlHostsAllow->setPlainText(editor);
        v.w->bAplicarHostsAllow->click();
        QCOMPARE(v.raiz.leer(allow), archivo);
    }

    v.ejecutarDeVerdad();
    QVERIFY(v.llamar("EscribirHostsDeny"));
    QCOMPARE(v.raiz.leer(deny + ".viejo"), "ALL: .ejemplo.org\n");
    QVERIFY(v.llamar("EscribirHostsDeny"));
    QCOMPARE(v.raiz.leer(deny + ".viejo") + v.raiz.leer(deny), denyPorDefecto + denyPorDefecto);
    {
        Inmutable fijo{v.raiz.ruta(allow)};
        QVERIFY(fijo.puesto);
        QVERIFY(v.llamar("EscribirHostsAllow"));
    }
    QCOMPARE(v.w->mlHostsAllow->toPlainText(), allowPorDefecto);
    QCOMPARE(v.raiz.leer(allow), "a: b\n\n\n");
    QVERIFY(v.llamar("EscribirHostsAllow"));
    QCOMPARE(v.raiz.leer(allow), allowPorDefecto);
    const QString cp = "/bin/cp --force -p " + v.raiz.ruta(deny) + " " + v.raiz.ruta(deny + ".viejo");
    QCOMPARE(v.grabador.comandos, (QStringList{cp, cp}));
    QCOMPARE(cajas.vistas(), (QStringList{"Listo|Se modifico /etc/hosts.deny|OK", "Listo|Se modifico /etc/hosts.deny|OK",
                                          "Error|No se pudo escribir el Archivo|OK", "Listo|Se modifico /etc/hosts.allow|OK"}));
}

// The log button runs the editor setting as it is, without "%editor"; each
// install copy runs in the background after its backup has returned.
void TstAccesos::comandos()
{
    const QString gate = "/etc/rc.d/init.d/korv-gate", ftp = "/etc/ftpaccess", nuevos = "/usr/local/share/talvora/pordefecto/";
    Ventana v([&](Ventana &p) {
        for (const QString &f : {gate, ftp, nuevos + "korv-gate", nuevos + "ftpaccess"})
            p.raiz.escribir(f, f.startsWith(nuevos) ? "nueva\n" : "vieja\n");
    });
    QStringList esperados;
    for (const QString editor : {"kwrite", "mi %editor", ""}) {
        cambiarAjustes({{"cEditor", editor}});
        v.w->bLogHostsDeny->click();
        esperados << editor + " " + v.raiz.ruta("/var/log/HOSTS.DENY") + " &";
    }
    v.ejecutarDeVerdad();
    Contestador cajas;
    QVERIFY(v.llamar("EscribirKorvgate"));
    QVERIFY(v.llamar("EscribirFtp"));
    const QString cp = "/bin/cp --force -p " + v.raiz.raiz();
    esperados << cp + gate + " " + v.raiz.raiz() + gate + ".viejo" << cp + nuevos + "korv-gate " + v.raiz.raiz() + gate + " &"
              << cp + ftp + " " + v.raiz.raiz() + ftp + ".viejo" << cp + nuevos + "ftpaccess " + v.raiz.raiz() + ftp + " &";
    QCOMPARE(v.grabador.comandos, esperados);
    QCOMPARE(v.raiz.leer(gate + ".viejo") + v.raiz.leer(ftp + ".viejo"), "vieja\nvieja\n");
    QTRY_COMPARE(v.raiz.leer(gate) + v.raiz.leer(ftp), "nueva\nnueva\n");
    QCOMPARE(cajas.vistas(), QStringList());
}

QTEST_MAIN(TstAccesos)
#include "tst_accesos.moc"
