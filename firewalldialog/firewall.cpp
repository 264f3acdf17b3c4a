#include "firewalldialog/firewall.h"

#include <QCursor>
#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

#include "firewalldialog/firewall_icono.xpm"

firewall::firewall(QWidget *parent, const char *name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setModal(modal);
    setObjectName(QString::fromLatin1(name ? name : "firewall"));
    resize(534, 270);
    setWindowTitle(tr("Firewall"));
    setWindowIcon(QIcon(QPixmap(firewall_icono)));
    setSizeGripEnabled(false);

    PushButton1 = new QPushButton(this);
    PushButton1->setObjectName(QStringLiteral("PushButton1"));
    PushButton1->setGeometry(QRect(105, 225, 84, 25));
    PushButton1->setText(tr("Eliminar"));

    PushButton2 = new QPushButton(this);
    PushButton2->setObjectName(QStringLiteral("PushButton2"));
    PushButton2->setGeometry(QRect(225, 225, 84, 25));
    PushButton2->setText(tr("Agregar"));

    PushButton3 = new QPushButton(this);
    PushButton3->setObjectName(QStringLiteral("PushButton3"));
    PushButton3->setGeometry(QRect(340, 225, 90, 25));
    PushButton3->setText(tr("Bloquer un IP"));

    lreglas = new QListWidget(this);
    lreglas->setObjectName(QStringLiteral("lreglas"));
    lreglas->setGeometry(QRect(10, 30, 515, 175));
    QFont fuente = lreglas->font();
    fuente.setFamily(QStringLiteral("Helvetica [Adobe]"));
    fuente.setPointSize(12);
    lreglas->setFont(fuente);
    lreglas->setCursor(QCursor(Qt::PointingHandCursor));
    lreglas->setFrameShape(QFrame::StyledPanel);
    lreglas->setFrameShadow(QFrame::Sunken);
    // One line per rule, and possibly very many of them: equal row heights
    // spare the view from measuring every item.
    lreglas->setUniformItemSizes(true);

    TextLabel1 = new QLabel(this);
    TextLabel1->setObjectName(QStringLiteral("TextLabel1"));
    TextLabel1->setGeometry(QRect(15, 10, 400, 19));
    TextLabel1->setText(tr("Reglas actuales de filtrado (Solo: INPUT,FORWARD y OUTPUT):"));

    connect(PushButton1, &QPushButton::clicked, this, &firewall::bEliminar);
    connect(PushButton2, &QPushButton::clicked, this, &firewall::bAgregar);
    connect(PushButton3, &QPushButton::clicked, this, &firewall::bBloquearIp);
}

firewall::~firewall() = default;

void firewall::bAgregar()
{
    qWarning("firewall::bAgregar(): Not implemented yet!");
}

void firewall::bEliminar()
{
    qWarning("firewall::bEliminar(): Not implemented yet!");
}

void firewall::bBloquearIp()
{
    qWarning("firewall::bBloquearIp(): Not implemented yet!");
}
