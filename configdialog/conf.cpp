#include "configdialog/conf.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>

#include "configdialog/conf_icono.xpm"

namespace {

// Every page puts its rows at the same places; rows 7 and 8 are Xinetd's only.
struct Fila {
    const char *texto;
    QRect etiqueta;
};

const Fila filas[8] = {
    {QT_TRANSLATE_NOOP("conf", "Iniciar"), QRect(5, 20, 130, 20)},
    {QT_TRANSLATE_NOOP("conf", "Detener"), QRect(5, 54, 150, 16)},
    {QT_TRANSLATE_NOOP("conf", "Reiniciar"), QRect(5, 84, 125, 16)},
    {QT_TRANSLATE_NOOP("conf", "Archivo de Estado"), QRect(5, 114, 150, 16)},
    {QT_TRANSLATE_NOOP("conf", "Editar"), QRect(5, 144, 125, 16)},
    {QT_TRANSLATE_NOOP("conf", "Logs"), QRect(5, 175, 125, 16)},
    {QT_TRANSLATE_NOOP("conf", "Directorio de Xinetd"), QRect(5, 206, 125, 16)},
    {QT_TRANSLATE_NOOP("conf", "Editar Ftp"), QRect(5, 236, 125, 16)},
};

const int camposY[8] = {19, 49, 79, 109, 139, 170, 201, 231};

QLabel *etiqueta(QWidget *padre, const char *nombre, const QString &texto, const QRect &lugar)
{
    auto *l = new QLabel(padre);
    l->setObjectName(QLatin1String(nombre));
    l->setGeometry(lugar);
    l->setText(texto);
    return l;
}

QLineEdit *campo(QWidget *padre, const char *nombre, const QRect &lugar)
{
    auto *c = new QLineEdit(padre);
    c->setObjectName(QLatin1String(nombre));
    c->setGeometry(lugar);
    return c;
}

QPushButton *boton(QWidget *padre, const char *nombre, const QString &texto, const QRect &lugar)
{
    auto *b = new QPushButton(padre);
    b->setObjectName(QLatin1String(nombre));
    b->setGeometry(lugar);
    b->setText(texto);
    // Otherwise the dialog would make "Por Defecto" its default button, and
    // Enter in a field would wipe every edit.
    b->setAutoDefault(false);
    return b;
}

// Row 'n' (0-based) of a page: the label at the left, the field at the right.
void fila(QWidget *pagina, int n, const char *nombreEtiqueta, QLabel *&l, const char *nombreCampo,
          QLineEdit *&c)
{
    l = etiqueta(pagina, nombreEtiqueta, conf::tr(filas[n].texto), filas[n].etiqueta);
    c = campo(pagina, nombreCampo, QRect(165, camposY[n], 310, 22));
}

QWidget *pagina(QTabWidget *solapas, const char *nombre)
{
    auto *p = new QWidget(solapas);
    p->setObjectName(QLatin1String(nombre));
    return p;
}

} // namespace

conf::conf(QWidget *parent, const char *name, bool modal, Qt::WindowFlags fl) : QDialog(parent, fl)
{
    setModal(modal);
    setObjectName(QLatin1String(name ? name : "conf"));
    resize(530, 405);
    setWindowTitle(tr("Configuracion de Talvora by Korvane"));
    setWindowIcon(QIcon(QPixmap(conf_icono)));

    TextLabel1 = etiqueta(this, "TextLabel1", tr("Editor  / Visor ( %editor ):"), QRect(20, 10, 140, 20));
    cEditor = campo(this, "cEditor", QRect(170, 9, 310, 22));
    TextLabel1_2 = etiqueta(this, "TextLabel1_2", tr("Abrir Manual:"), QRect(20, 40, 140, 20));
    cAbrirManual = campo(this, "cAbrirManual", QRect(170, 39, 310, 22));

    Solapas = new QTabWidget(this);
    Solapas->setObjectName(QStringLiteral("Solapas"));
    Solapas->setGeometry(QRect(5, 70, 515, 290));

    Korv_Gate = pagina(Solapas, "Korv_Gate");
    fila(Korv_Gate, 0, "TextLabel1_4", TextLabel1_4, "cIniciarGate", cIniciarGate);
    fila(Korv_Gate, 1, "TextLabel1_2_3", TextLabel1_2_3, "cDetenerGate", cDetenerGate);
    fila(Korv_Gate, 2, "TextLabel1_3_2", TextLabel1_3_2, "cReiniciarGate", cReiniciarGate);
    fila(Korv_Gate, 3, "TextLabel1_2_3_2", TextLabel1_2_3_2, "cEstadoGate", cEstadoGate);
    fila(Korv_Gate, 4, "TextLabel1_3_2_2", TextLabel1_3_2_2, "cEditarGate", cEditarGate);
    Solapas->addTab(Korv_Gate, tr("Korv-Gate"));

    Squid = pagina(Solapas, "Squid");
    fila(Squid, 0, "TextLabel1_4_2", TextLabel1_4_2, "cIniciarSquid", cIniciarSquid);
    fila(Squid, 1, "TextLabel1_2_3_3", TextLabel1_2_3_3, "cDetenerSquid", cDetenerSquid);
    fila(Squid, 2, "TextLabel1_3_2_3", TextLabel1_3_2_3, "cReiniciarSquid", cReiniciarSquid);
    fila(Squid, 3, "TextLabel1_2_3_2_3", TextLabel1_2_3_2_3, "cEstadoSquid", cEstadoSquid);
    fila(Squid, 4, "TextLabel1_3_2_2_3", TextLabel1_3_2_2_3, "cEditarSquid", cEditarSquid);
    fila(Squid, 5, "TextLabel1_3_2_2_2_2", TextLabel1_3_2_2_2_2, "cLogSquid", cLogSquid);
    Solapas->addTab(Squid, tr("Squid"));

    Httpd = pagina(Solapas, "Httpd");
    fila(Httpd, 0, "TextLabel1_4_3", TextLabel1_4_3, "cIniciarHttpd", cIniciarHttpd);
    fila(Httpd, 1, "TextLabel1_2_3_4", TextLabel1_2_3_4, "cDetenerHttpd", cDetenerHttpd);
    fila(Httpd, 2, "TextLabel1_3_2_4", TextLabel1_3_2_4, "cReiniciarHttpd", cReiniciarHttpd);
    fila(Httpd, 3, "TextLabel1_2_3_2_4", TextLabel1_2_3_2_4, "cEstadoHttpd", cEstadoHttpd);
    fila(Httpd, 4, "TextLabel1_3_2_2_4", TextLabel1_3_2_2_4, "cEditarHttpd", cEditarHttpd);
    fila(Httpd, 5, "TextLabel1_3_2_2_2_3", TextLabel1_3_2_2_2_3, "cLogHttpd", cLogHttpd);
    Solapas->addTab(Httpd, tr("Httpd"));

    Samba = pagina(Solapas, "Samba");
    fila(Samba, 0, "TextLabel1_4_4", TextLabel1_4_4, "cIniciarSamba", cIniciarSamba);
    fila(Samba, 1, "TextLabel1_2_3_4_2", TextLabel1_2_3_4_2, "cDetenerSamba", cDetenerSamba);
    fila(Samba, 2, "TextLabel1_3_2_5", TextLabel1_3_2_5, "cReiniciarSamba", cReiniciarSamba);
    fila(Samba, 3, "TextLabel1_2_3_2_5", TextLabel1_2_3_2_5, "cEstadoSamba", cEstadoSamba);
    fila(Samba, 4, "TextLabel1_3_2_2_5", TextLabel1_3_2_2_5, "cEditarSamba", cEditarSamba);
    fila(Samba, 5, "TextLabel1_3_2_2_2_4", TextLabel1_3_2_2_2_4, "cLogSamba", cLogSamba);
    Solapas->addTab(Samba, tr("Samba"));

    Sendmail = pagina(Solapas, "Sendmail");
    fila(Sendmail, 0, "TextLabel1_4_5", TextLabel1_4_5, "cIniciarSendmail", cIniciarSendmail);
    fila(Sendmail, 1, "TextLabel1_2_3_5", TextLabel1_2_3_5, "cDetenerSendmail", cDetenerSendmail);
    fila(Sendmail, 2, "TextLabel1_3_2_6", TextLabel1_3_2_6, "cReiniciarSendmail", cReiniciarSendmail);
    fila(Sendmail, 3, "TextLabel1_2_3_2_6", TextLabel1_2_3_2_6, "cEstadoSendmail", cEstadoSendmail);
    fila(Sendmail, 4, "TextLabel1_3_2_2_6", TextLabel1_3_2_2_6, "cEditarSendmail", cEditarSendmail);
    fila(Sendmail, 5, "TextLabel1_3_2_2_2_5", TextLabel1_3_2_2_2_5, "cLogSendmail", cLogSendmail);
    Solapas->addTab(Sendmail, tr("Sendmail"));

    Named = pagina(Solapas, "Named");
    fila(Named, 0, "TextLabel1_4_6", TextLabel1_4_6, "cIniciarDns", cIniciarDns);
    fila(Named, 1, "TextLabel1_2_3_6", TextLabel1_2_3_6, "cDetenerDns", cDetenerDns);
    fila(Named, 2, "TextLabel1_3_2_7", TextLabel1_3_2_7, "cReiniciarDns", cReiniciarDns);
    fila(Named, 3, "TextLabel1_2_3_2_7", TextLabel1_2_3_2_7, "cEstadoDns", cEstadoDns);
    fila(Named, 4, "TextLabel1_3_2_2_7", TextLabel1_3_2_2_7, "cEditarDns", cEditarDns);
    Solapas->addTab(Named, tr("Named"));

    Xinetd = pagina(Solapas, "Xinetd");
    fila(Xinetd, 0, "TextLabel1_4_7", TextLabel1_4_7, "cIniciarXinetd", cIniciarXinetd);
    fila(Xinetd, 1, "TextLabel1_2_3_7", TextLabel1_2_3_7, "cDetenerXinetd", cDetenerXinetd);
    fila(Xinetd, 2, "TextLabel1_3_2_8", TextLabel1_3_2_8, "cReiniciarXinetd", cReiniciarXinetd);
    fila(Xinetd, 3, "TextLabel1_2_3_2_8", TextLabel1_2_3_2_8, "cEstadoXinetd", cEstadoXinetd);
    fila(Xinetd, 4, "TextLabel1_3_2_2_8", TextLabel1_3_2_2_8, "cEditarXinetd", cEditarXinetd);
    fila(Xinetd, 5, "TextLabel1_3_2_2_2_7", TextLabel1_3_2_2_2_7, "cLogXinetd", cLogXinetd);
    fila(Xinetd, 6, "TextLabel1_3_2_2_2_7_2", TextLabel1_3_2_2_2_7_2, "cDirectorioXinetd",
         cDirectorioXinetd);
    fila(Xinetd, 7, "TextLabel1_3_2_2_2_7_2_2", TextLabel1_3_2_2_2_7_2_2, "cEditarFtp", cEditarFtp);
    Solapas->addTab(Xinetd, tr("Xinetd"));

    bCancelar_2 = boton(this, "bCancelar_2", tr("Por Defecto"), QRect(150, 365, 105, 28));
    bCancelar = boton(this, "bCancelar", tr("Cancelar"), QRect(275, 365, 104, 28));
    bAplicar = boton(this, "bAplicar", tr("Aceptar"), QRect(400, 365, 104, 28));

    // Both closing buttons hide the dialog first; their own slot runs after.
    connect(bCancelar, &QPushButton::clicked, this, &conf::reject);
    connect(bCancelar, &QPushButton::clicked, this, &conf::bCancelar_Click);
    connect(bAplicar, &QPushButton::clicked, this, &conf::reject);
    connect(bAplicar, &QPushButton::clicked, this, &conf::bAplicar_Click);
    connect(bCancelar_2, &QPushButton::clicked, this, &conf::bPordefecto_Click);

    const QList<QWidget *> orden = {
        cEditor,           cAbrirManual,      Solapas,
        cIniciarGate,      cDetenerGate,      cReiniciarGate,     cEstadoGate,       cEditarGate,
        cIniciarSquid,     cDetenerSquid,     cReiniciarSquid,    cEstadoSquid,      cEditarSquid,
        cLogSquid,         cIniciarHttpd,     cDetenerHttpd,      cReiniciarHttpd,   cEstadoHttpd,
        cEditarHttpd,      cLogHttpd,         cIniciarSamba,      cDetenerSamba,     cReiniciarSamba,
        cEstadoSamba,      cEditarSamba,      cLogSamba,          cIniciarSendmail,  cDetenerSendmail,
        cReiniciarSendmail, cEstadoSendmail,  cEditarSendmail,    cLogSendmail,      cIniciarDns,
        cDetenerDns,       cReiniciarDns,     cEstadoDns,         cEditarDns,        cIniciarXinetd,
        cDetenerXinetd,    cReiniciarXinetd,  cEstadoXinetd,      cEditarXinetd,     cLogXinetd,
        cDirectorioXinetd, cEditarFtp,        bCancelar_2,        bCancelar,         bAplicar,
    };
    for (qsizetype i = 1; i < orden.size(); ++i)
        setTabOrder(orden.at(i - 1), orden.at(i));
}

conf::~conf() = default;

void conf::bAplicar_Click()
{
    qWarning("conf::bAplicar_Click(): Not implemented yet!");
}

void conf::bCancelar_Click()
{
    qWarning("conf::bCancelar_Click(): Not implemented yet!");
}

void conf::bPordefecto_Click()
{
    qWarning("conf::bPordefecto_Click(): Not implemented yet!");
}
