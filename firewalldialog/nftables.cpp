#include "firewalldialog/nftables.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace Nftables {

namespace {

QString expresion(const QJsonValue &v);

QString lista(const QJsonArray &a, const QString &separador)
{
    QStringList partes;
    for (const QJsonValue &e : a)
        partes.append(expresion(e));
    return partes.join(separador);
}

// Members after the key, "name value" each, as nft writes most statements.
QString miembros(const QJsonObject &o)
{
    QString s;
    for (auto it = o.begin(); it != o.end(); ++it) {
        s += ' ' + it.key();
        if (!it.value().isNull())
            s += ' ' + expresion(it.value());
    }
    return s;
}

QString compacto(const QJsonValue &v)
{
    if (v.isObject())
        return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
    if (v.isArray())
        return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
    return expresion(v);
}

// Keys nft writes without "meta" before them.
bool metaSola(const QString &clave)
{
    static const QSet<QString> solas{"iif",      "oif",    "iifname", "oifname", "iiftype",
                                     "oiftype",  "mark",   "skuid",   "skgid",   "iifgroup",
                                     "oifgroup", "cgroup", "pkttype"};
    return solas.contains(clave);
}

QString expresion(const QJsonValue &v)
{
    if (v.isString())
        return v.toString();
    if (v.isDouble())
        return QString::number(v.toInteger());
    if (v.isBool())
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (v.isArray())
        return lista(v.toArray(), QStringLiteral(", "));
    const QJsonObject o = v.toObject();
    if (o.size() != 1)
        return compacto(v);
    const QString clave = o.begin().key();
    const QJsonValue valor = o.begin().value();
    const QJsonObject d = valor.toObject();
    if (clave == "payload") {
        if (d.contains("protocol"))
            return d.value("protocol").toString() + ' ' + d.value("field").toString();
        return QStringLiteral("@%1,%2,%3")
            .arg(d.value("base").toString(), expresion(d.value("offset")),
                 expresion(d.value("len")));
    }
    if (clave == "meta") {
        const QString k = d.value("key").toString();
        return metaSola(k) ? k : "meta " + k;
    }
    if (clave == "ct" || clave == "rt" || clave == "socket" || clave == "fib")
        return clave + ' ' + d.value("key").toString()
               + (d.contains("result") ? ' ' + d.value("result").toString() : QString());
    if (clave == "set")
        return "{ " + (valor.isArray() ? lista(valor.toArray(), ", ") : expresion(valor)) + " }";
    if (clave == "prefix")
        return expresion(d.value("addr")) + '/' + expresion(d.value("len"));
    if (clave == "range")
        return lista(valor.toArray(), QStringLiteral("-"));
    if (clave == "concat")
        return lista(valor.toArray(), QStringLiteral(" . "));
    if (clave == "elem")
        return expresion(d.value("val"));
    if (clave == "&" || clave == "|" || clave == "^" || clave == "<<" || clave == ">>")
        return lista(valor.toArray(), ' ' + clave + ' ');
    if (clave == "map" || clave == "vmap")
        return expresion(d.value("key")) + ' ' + clave + ' ' + expresion(d.value("data"));
    return compacto(v);
}

QString declaracion(const QJsonValue &v)
{
    const QJsonObject o = v.toObject();
    if (o.size() != 1)
        return compacto(v);
    const QString clave = o.begin().key();
    const QJsonValue valor = o.begin().value();
    if (valor.isNull())
        return clave; // accept, drop, continue, return, notrack...
    const QJsonObject d = valor.toObject();
    if (clave == "match") {
        const QString op = d.value("op").toString();
        const QString izquierda = expresion(d.value("left"));
        const QString derecha = expresion(d.value("right"));
        return op == "==" || op == "in" ? izquierda + ' ' + derecha
                                        : izquierda + ' ' + op + ' ' + derecha;
    }
    if (clave == "counter")
        return clave; // its figures change with every packet
    if (clave == "jump" || clave == "goto")
        return clave + ' ' + d.value("target").toString();
    if (clave == "xt")
        return "xt " + d.value("type").toString() + ' ' + d.value("name").toString();
    if (clave == "log" && d.contains("prefix")) {
        QJsonObject resto = d;
        resto.remove("prefix");
        return "log prefix \"" + d.value("prefix").toString() + '"' + miembros(resto);
    }
    if (clave == "limit")
        return "limit rate " + expresion(d.value("rate")) + '/' + d.value("per").toString();
    if (valor.isObject())
        return clave + miembros(d);
    return clave + ' ' + expresion(valor);
}

// What iptables-nft writes and reads back: plain matches on the fields it
// knows, its own xt extensions, counters and verdicts. Anything else (a set,
// a map, a native statement) it drops from what it prints.
bool fiel(const QJsonArray &expr)
{
    static const QSet<QString> simples{"counter", "xt",   "accept", "drop", "return",
                                       "jump",    "goto", "limit",  "log",  "reject"};
    for (const QJsonValue &e : expr) {
        const QJsonObject o = e.toObject();
        if (o.size() != 1)
            return false;
        const QString clave = o.begin().key();
        if (simples.contains(clave))
            continue;
        if (clave != "match")
            return false;
        const QJsonObject m = o.begin().value().toObject();
        const QString op = m.value("op").toString();
        if (op != "==" && op != "!=")
            return false;
        const QJsonObject izquierda = m.value("left").toObject();
        const QJsonObject payload = izquierda.value("payload").toObject();
        const QString meta = izquierda.value("meta").toObject().value("key").toString();
        const QString protocolo = payload.value("protocol").toString();
        if (!(protocolo == "ip" || protocolo == "tcp" || protocolo == "udp")
            && !(meta == "iifname" || meta == "oifname" || meta == "l4proto"))
            return false;
        const QJsonValue derecha = m.value("right");
        if (derecha.isString() && derecha.toString().startsWith('@'))
            return false; // a named set
        if (derecha.isObject() && !derecha.toObject().contains("prefix")
            && !derecha.toObject().contains("range"))
            return false;
        if (derecha.isArray())
            return false;
    }
    return true;
}

// Every chain a rule jumps or goes to, wherever it names it (a verdict map too).
void destinos(const QJsonValue &v, QStringList &salida)
{
    if (v.isArray()) {
        for (const QJsonValue &e : v.toArray())
            destinos(e, salida);
    } else if (v.isObject()) {
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            if ((it.key() == "jump" || it.key() == "goto") && it.value().isObject())
                salida.append(it.value().toObject().value("target").toString());
            else
                destinos(it.value(), salida);
        }
    }
}

struct Cadena {
    QString nombre;
    bool filtra = false; // a base chain of type filter
    QList<QJsonObject> reglas;
};

struct Tabla {
    QString familia, nombre;
    QList<Cadena> cadenas;
    QHash<QString, qsizetype> indice;
};

bool fallo(QString *error, const QString &texto)
{
    if (error)
        *error = texto;
    return false;
}

} // namespace

std::optional<QList<Regla>> leer(const QByteArray &json, QString *error)
{
    QJsonParseError e;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &e);
    if (e.error != QJsonParseError::NoError) {
        fallo(error, "no es JSON: " + e.errorString());
        return std::nullopt;
    }
    if (!doc.object().value("nftables").isArray()) {
        fallo(error, QStringLiteral("falta la lista \"nftables\""));
        return std::nullopt;
    }
    QList<Tabla> tablas;
    QHash<QString, qsizetype> porTabla; // "family table"
    const auto tabla = [&](const QJsonObject &o, const QString &clave) -> Tabla * {
        const QString familia = o.value("family").toString();
        const QString nombre = o.value(clave).toString();
        if (familia.isEmpty() || nombre.isEmpty())
            return nullptr;
        const QString id = familia + ' ' + nombre;
        auto it = porTabla.find(id);
        if (it == porTabla.end()) {
            it = porTabla.insert(id, tablas.size());
            tablas.append(Tabla{familia, nombre, {}, {}});
        }
        return &tablas[*it];
    };
    const auto cadena = [](Tabla &t, const QString &nombre) -> Cadena & {
        auto it = t.indice.find(nombre);
        if (it == t.indice.end()) {
            it = t.indice.insert(nombre, t.cadenas.size());
            t.cadenas.append(Cadena{nombre, false, {}});
        }
        return t.cadenas[*it];
    };

    for (const QJsonValue &v : doc.object().value("nftables").toArray()) {
        const QJsonObject o = v.toObject();
        if (o.contains("table")) {
            if (!tabla(o.value("table").toObject(), "name")) {
                fallo(error, QStringLiteral("una tabla sin familia o sin nombre"));
                return std::nullopt;
            }
        } else if (o.contains("chain")) {
            const QJsonObject c = o.value("chain").toObject();
            Tabla *t = tabla(c, "table");
            if (!t || c.value("name").toString().isEmpty()) {
                fallo(error, QStringLiteral("una cadena sin tabla o sin nombre"));
                return std::nullopt;
            }
            cadena(*t, c.value("name").toString()).filtra
                = c.contains("hook") && c.value("type").toString() == "filter";
        } else if (o.contains("rule")) {
            const QJsonObject r = o.value("rule").toObject();
            Tabla *t = tabla(r, "table");
            if (!t || r.value("chain").toString().isEmpty() || !r.value("handle").isDouble()
                || !r.value("expr").isArray()) {
                fallo(error, QStringLiteral("una regla sin su lugar o sin su handle"));
                return std::nullopt;
            }
            cadena(*t, r.value("chain").toString()).reglas.append(r);
        }
    }

    QList<Regla> reglas;
    for (const Tabla &t : std::as_const(tablas)) {
        const bool deIptables = t.familia == "ip" && t.nombre == "filter";
        QSet<QString> alcanzadas;
        QStringList pendientes;
        for (const Cadena &c : t.cadenas)
            if (c.filtra || deIptables)
                pendientes.append(c.nombre);
        while (!pendientes.isEmpty()) {
            const QString nombre = pendientes.takeLast();
            if (alcanzadas.contains(nombre) || !t.indice.contains(nombre))
                continue;
            alcanzadas.insert(nombre);
            for (const QJsonObject &r : t.cadenas[t.indice.value(nombre)].reglas)
                destinos(r.value("expr"), pendientes);
        }
        for (const Cadena &c : t.cadenas) {
            if (!alcanzadas.contains(c.nombre))
                continue;
            for (const QJsonObject &r : c.reglas) {
                const QJsonArray expr = r.value("expr").toArray();
                QStringList partes;
                for (const QJsonValue &d : expr)
                    partes.append(declaracion(d));
                if (r.contains("comment"))
                    partes.append("comment \"" + r.value("comment").toString() + '"');
                reglas.append(Regla{t.familia, t.nombre, c.nombre, r.value("handle").toInteger(),
                                    partes.join(' '),
                                    deIptables && !r.contains("comment") && fiel(expr)});
            }
        }
    }
    return reglas;
}

QByteArrayList eliminar(const Regla &regla)
{
    // Names from the kernel go as arguments of their own: no shell sees them.
    return {"nft",
            "delete",
            "rule",
            regla.familia.toUtf8(),
            regla.tabla.toUtf8(),
            regla.cadena.toUtf8(),
            "handle",
            QByteArray::number(regla.handle)};
}

} // namespace Nftables
