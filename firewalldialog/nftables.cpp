#include "firewalldialog/nftables.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

namespace Nftables {

namespace {

// Views of literals with their length known when compiling: these names are
// compared millions of times over a large ruleset.
constexpr QByteArrayView operator""_v(const char *s, size_t n) { return {s, qsizetype(n)}; }

// nft's JSON read into one flat array of nodes whose strings stay where they
// are in the text: QJsonDocument takes seconds over the 40 MB that 100,000
// rules make.
class Json
{
public:
    enum Tipo : quint8 { Nulo, Booleano, Numero, Cadena, Lista, Objeto };

    // Reads the whole text. With `elemento`, each element of a list inside
    // the outermost object is handed to it as soon as it is read, and then
    // dropped: 100,000 rules never sit in memory at once. It says false to
    // stop reading.
    bool leer(QByteArrayView texto, const std::function<bool(int)> &elemento = {})
    {
        if (texto.size() >= std::numeric_limits<qint32>::max())
            return false;
        texto_ = texto;
        pos_ = 0;
        nodos_.clear();
        elemento_ = elemento;
        if (valor(0) != 0)
            return false;
        blancos();
        return pos_ == texto_.size();
    }
    qsizetype posicion() const { return pos_; } // where reading stopped
    Tipo tipo(int i) const { return nodos_[i].tipo; }
    bool es(int i, Tipo t) const { return i >= 0 && nodos_[i].tipo == t; }
    QByteArrayView bytes(int i) const
    {
        return texto_.sliced(nodos_[i].inicio, nodos_[i].fin - nodos_[i].inicio);
    }
    QByteArrayView clave(int i) const
    {
        return texto_.sliced(nodos_[i].clave, nodos_[i].claveFin - nodos_[i].clave);
    }
    int primero(int i) const { return nodos_[i].primero; }
    int siguiente(int i) const { return nodos_[i].siguiente; }
    int hijos(int i) const
    {
        int n = 0;
        for (int h = primero(i); h >= 0; h = siguiente(h))
            ++n;
        return n;
    }
    // The member named so, or -1 (also when `objeto` is no object).
    int miembro(int objeto, QByteArrayView nombre) const
    {
        if (!es(objeto, Objeto) || nombre.isEmpty())
            return -1;
        for (int h = primero(objeto); h >= 0; h = siguiente(h)) {
            const Nodo &n = nodos_[h];
            // Most keys differ in length or first letter: no call for them.
            if (n.claveFin - n.clave != nombre.size() || texto_[n.clave] != nombre[0])
                continue;
            qsizetype k = 1;
            while (k < nombre.size() && texto_[n.clave + k] == nombre[k])
                ++k;
            if (k == nombre.size())
                return h;
        }
        return -1;
    }
    // A string decoded; any other value as its JSON text.
    QString texto(int i) const
    {
        if (i < 0)
            return {};
        const QByteArrayView b = bytes(i);
        if (tipo(i) != Cadena || !nodos_[i].escapada)
            return QString::fromUtf8(b);
        QString s;
        qsizetype tramo = 0;
        for (qsizetype p = 0; p < b.size(); ++p) {
            if (b[p] != '\\')
                continue;
            s += QString::fromUtf8(b.sliced(tramo, p - tramo));
            const char e = b[++p];
            const char *simples = "\"\\/bfnrt", *valores = "\"\\/\b\f\n\r\t";
            if (const char *c = std::strchr(simples, e); c && e) {
                s += QLatin1Char(valores[c - simples]);
            } else if (e == 'u' && p + 4 < b.size()) {
                bool bien = false;
                const ushort u = b.sliced(p + 1, 4).toByteArray().toUShort(&bien, 16);
                s += bien ? QChar(u) : QChar(QChar::ReplacementCharacter);
                p += 4;
            } else {
                s += QChar(uchar(e)); // as Qt's own reader takes an escape it does not know
            }
            tramo = p + 1;
        }
        return s + QString::fromUtf8(b.sliced(tramo));
    }
    // A string, decoded, at the end of `s`.
    void anadir(int i, QString &s) const
    {
        const QByteArrayView b = bytes(i);
        if (nodos_[i].escapada)
            s += texto(i);
        else if (std::all_of(b.begin(), b.end(), [](char c) { return uchar(c) < 0x80; }))
            s += QLatin1String(b.data(), b.size());
        else
            s += QString::fromUtf8(b);
    }
    qint64 entero(int i) const { return es(i, Numero) ? bytes(i).toByteArray().toLongLong() : -1; }

private:
    struct Nodo {
        qint32 inicio = 0, fin = 0;     // a string's without its quotes
        qint32 clave = 0, claveFin = 0; // inside an object
        qint32 primero = -1, siguiente = -1;
        Tipo tipo = Nulo;
        bool escapada = false;
    };

    void blancos()
    {
        while (pos_ < texto_.size()
               && (texto_[pos_] == ' ' || texto_[pos_] == '\n' || texto_[pos_] == '\t'
                   || texto_[pos_] == '\r'))
            ++pos_;
    }
    bool cadena(qint32 &inicio, qint32 &fin, bool &escapada)
    {
        inicio = qint32(++pos_);
        while (pos_ < texto_.size()) {
            const char c = texto_[pos_];
            if (c == '"') {
                fin = qint32(pos_++);
                return true;
            }
            if (c == '\\') {
                escapada = true;
                ++pos_;
            }
            ++pos_;
        }
        return false;
    }
    bool literal(QByteArrayView palabra)
    {
        if (!texto_.sliced(pos_).startsWith(palabra))
            return false;
        pos_ += palabra.size();
        return true;
    }
    // The index of the value read at pos_, or -1.
    int valor(int profundidad)
    {
        blancos();
        if (pos_ >= texto_.size() || profundidad > 64) // a ruleset is never that deep
            return -1;
        const int i = int(nodos_.size());
        nodos_.emplace_back();
        nodos_[i].inicio = pos_;
        const char c = texto_[pos_];
        if (c == '{' || c == '[') {
            const bool objeto = c == '{';
            const char cierre = objeto ? '}' : ']';
            nodos_[i].tipo = objeto ? Objeto : Lista;
            ++pos_;
            blancos();
            int ultimo = -1;
            if (pos_ < texto_.size() && texto_[pos_] == cierre) {
                nodos_[i].fin = ++pos_;
                return i;
            }
            for (;;) {
                qint32 clave = 0, claveFin = 0;
                bool escapada = false;
                if (objeto) {
                    blancos();
                    if (pos_ >= texto_.size() || texto_[pos_] != '"'
                        || !cadena(clave, claveFin, escapada))
                        return -1;
                    blancos();
                    if (pos_ >= texto_.size() || texto_[pos_++] != ':')
                        return -1;
                }
                const int h = valor(profundidad + 1);
                if (h < 0)
                    return -1;
                if (elemento_ && profundidad == 1 && !objeto) {
                    if (!elemento_(h))
                        return -1;
                    nodos_.resize(h);
                    blancos();
                    if (pos_ < texto_.size() && texto_[pos_] == ',') {
                        ++pos_;
                        continue;
                    }
                    if (pos_ < texto_.size() && texto_[pos_++] == cierre) {
                        nodos_[i].fin = pos_;
                        return i;
                    }
                    return -1;
                }
                nodos_[h].clave = clave;
                nodos_[h].claveFin = claveFin;
                (ultimo < 0 ? nodos_[i].primero : nodos_[ultimo].siguiente) = h;
                ultimo = h;
                blancos();
                if (pos_ >= texto_.size())
                    return -1;
                const char d = texto_[pos_++];
                if (d == cierre) {
                    nodos_[i].fin = pos_;
                    return i;
                }
                if (d != ',')
                    return -1;
            }
        }
        if (c == '"') {
            nodos_[i].tipo = Cadena;
            return cadena(nodos_[i].inicio, nodos_[i].fin, nodos_[i].escapada) ? i : -1;
        }
        if (literal("null"_v)
            || (nodos_[i].tipo = Booleano, literal("true"_v) || literal("false"_v))) {
            nodos_[i].fin = pos_;
            return i;
        }
        nodos_[i].tipo = Numero;
        while (pos_ < texto_.size()
               && (std::isdigit(uchar(texto_[pos_])) || texto_[pos_] == '-' || texto_[pos_] == '+'
                   || texto_[pos_] == '.' || texto_[pos_] == 'e' || texto_[pos_] == 'E'))
            ++pos_;
        nodos_[i].fin = pos_;
        return pos_ > nodos_[i].inicio ? i : -1;
    }

    QByteArrayView texto_;
    qsizetype pos_ = 0;
    std::vector<Nodo> nodos_;
    std::function<bool(int)> elemento_;
};

// The text of rules, as nft writes it, appended to one string.
class Escritor
{
public:
    explicit Escritor(const Json &j) : j_(j) {}

    void expresion(int v, QString &s) const
    {
        switch (j_.tipo(v)) {
        case Json::Lista:
            return lista(v, ", ", s);
        case Json::Objeto:
            break;
        case Json::Cadena:
            return j_.anadir(v, s);
        default:
            return anadir(j_.bytes(v), s);
        }
        const int d = j_.primero(v);
        if (d < 0 || j_.siguiente(d) >= 0)
            return anadir(j_.bytes(v), s);
        const QByteArrayView clave = j_.clave(d);
        if (clave == "payload"_v) {
            if (j_.miembro(d, "protocol"_v) < 0) {
                s += '@';
                return campos(d, {"base"_v, "offset"_v, "len"_v}, ",", s);
            }
            return campos(d, {"protocol"_v, "field"_v}, " ", s);
        }
        if (clave == "meta"_v) {
            const int k = j_.miembro(d, "key"_v);
            if (!metaSola(k >= 0 ? j_.bytes(k) : QByteArrayView()))
                s += QLatin1String("meta ");
            return campo(d, "key"_v, s);
        }
        if (clave == "ct"_v || clave == "rt"_v || clave == "socket"_v || clave == "fib"_v) {
            anadir(clave, s);
            return campos(d, {""_v, "key"_v, "result"_v}, " ", s);
        }
        if (clave == "set"_v) {
            s += QLatin1String("{ ");
            expresion(d, s);
            s += QLatin1String(" }");
            return;
        }
        if (clave == "prefix"_v)
            return campos(d, {"addr"_v, "len"_v}, "/", s);
        if (clave == "range"_v)
            return lista(d, "-", s);
        if (clave == "concat"_v)
            return lista(d, " . ", s);
        if (clave == "elem"_v)
            return campo(d, "val"_v, s);
        if (clave == "&"_v || clave == "|"_v || clave == "^"_v || clave == "<<"_v
            || clave == ">>"_v)
            return lista(d, ' ' + clave.toByteArray() + ' ', s);
        if (clave == "map"_v || clave == "vmap"_v) {
            campo(d, "key"_v, s);
            s += ' ';
            anadir(clave, s);
            s += ' ';
            return campo(d, "data"_v, s);
        }
        anadir(j_.bytes(v), s);
    }

    void declaracion(int v, QString &s) const
    {
        const int d = j_.es(v, Json::Objeto) ? j_.primero(v) : -1;
        if (d < 0 || j_.siguiente(d) >= 0)
            return anadir(j_.bytes(v), s);
        const QByteArrayView clave = j_.clave(d);
        anadir(clave, s);
        if (j_.es(d, Json::Nulo) || clave == "counter"_v)
            return; // accept, drop, return...; a counter's figures change with every packet
        if (clave == "match"_v) {
            s.chop(clave.size());
            const int op = j_.miembro(d, "op"_v);
            const QByteArrayView o = op >= 0 ? j_.bytes(op) : QByteArrayView();
            campo(d, "left"_v, s);
            if (o != "=="_v && o != "in"_v) {
                s += ' ';
                anadir(o, s);
            }
            s += ' ';
            return campo(d, "right"_v, s);
        }
        if (clave == "jump"_v || clave == "goto"_v)
            return campos(d, {""_v, "target"_v}, " ", s);
        if (clave == "xt"_v)
            return campos(d, {""_v, "type"_v, "name"_v}, " ", s);
        if (clave == "limit"_v) {
            s += QLatin1String(" rate ");
            return campos(d, {"rate"_v, "per"_v}, "/", s);
        }
        if (!j_.es(d, Json::Objeto)) {
            s += ' ';
            return expresion(d, s);
        }
        for (int m = j_.primero(d); m >= 0; m = j_.siguiente(m)) {
            s += ' ';
            anadir(j_.clave(m), s);
            if (j_.es(m, Json::Nulo))
                continue;
            const bool comillas = j_.clave(m) == "prefix"_v;
            s += QLatin1String(comillas ? " \"" : " ");
            expresion(m, s);
            if (comillas)
                s += '"';
        }
    }

private:
    static void anadir(QByteArrayView b, QString &s)
    {
        if (std::all_of(b.begin(), b.end(), [](char c) { return uchar(c) < 0x80; }))
            s += QLatin1String(b.data(), b.size());
        else
            s += QString::fromUtf8(b);
    }
    void campo(int objeto, QByteArrayView nombre, QString &s) const
    {
        const int m = j_.miembro(objeto, nombre);
        if (m >= 0)
            expresion(m, s);
    }
    // The members named, those there, between separators; "" first: a
    // separator before them.
    void campos(int objeto, std::initializer_list<QByteArrayView> nombres, const char *separador,
                QString &s) const
    {
        bool primero = true;
        for (const QByteArrayView n : nombres) {
            if (n.isEmpty()) {
                primero = false;
                continue;
            }
            const int m = j_.miembro(objeto, n);
            if (m < 0)
                continue;
            if (!primero)
                s += QLatin1String(separador);
            primero = false;
            expresion(m, s);
        }
    }
    void lista(int v, const QByteArray &separador, QString &s) const
    {
        for (int e = j_.primero(v); e >= 0; e = j_.siguiente(e)) {
            if (e != j_.primero(v))
                s += QLatin1String(separador);
            expresion(e, s);
        }
    }
    // Keys nft writes without "meta" before them.
    static bool metaSola(QByteArrayView clave)
    {
        static const QByteArrayView solas[]
            = {"iif",   "oif",   "iifname",  "oifname",  "iiftype", "oiftype", "mark",
               "skuid", "skgid", "iifgroup", "oifgroup", "cgroup",  "pkttype"};
        return std::find(std::begin(solas), std::end(solas), clave) != std::end(solas);
    }

    const Json &j_;
};

// What iptables-nft writes and reads back: plain matches on the fields it
// knows, its own xt extensions, counters and verdicts. Anything else (a set,
// a map, a native statement) it drops from what it prints.
bool fiel(const Json &j, int expr)
{
    static const QByteArrayView simples[]
        = {"counter", "xt", "accept", "drop", "return", "jump", "goto", "limit", "log", "reject"};
    for (int e = j.primero(expr); e >= 0; e = j.siguiente(e)) {
        const int d = j.es(e, Json::Objeto) ? j.primero(e) : -1;
        if (d < 0 || j.siguiente(d) >= 0)
            return false;
        const QByteArrayView clave = j.clave(d);
        if (std::find(std::begin(simples), std::end(simples), clave) != std::end(simples))
            continue;
        if (clave != "match"_v)
            return false;
        const int op = j.miembro(d, "op"_v);
        if (!j.es(op, Json::Cadena) || (j.bytes(op) != "=="_v && j.bytes(op) != "!="_v))
            return false;
        const int izquierda = j.miembro(d, "left"_v);
        const QByteArrayView protocolo
            = j.es(j.miembro(j.miembro(izquierda, "payload"), "protocol"_v), Json::Cadena)
                  ? j.bytes(j.miembro(j.miembro(izquierda, "payload"), "protocol"_v))
                  : QByteArrayView();
        const int k = j.miembro(j.miembro(izquierda, "meta"), "key"_v);
        const QByteArrayView meta = j.es(k, Json::Cadena) ? j.bytes(k) : QByteArrayView();
        if (!(protocolo == "ip"_v || protocolo == "tcp"_v || protocolo == "udp"_v)
            && !(meta == "iifname"_v || meta == "oifname"_v || meta == "l4proto"_v))
            return false;
        const int derecha = j.miembro(d, "right"_v);
        if (derecha < 0 || j.es(derecha, Json::Lista))
            return false;
        if (j.es(derecha, Json::Cadena) && j.bytes(derecha).startsWith('@'))
            return false; // a named set
        if (j.es(derecha, Json::Objeto) && j.miembro(derecha, "prefix"_v) < 0
            && j.miembro(derecha, "range"_v) < 0)
            return false;
    }
    return true;
}

// Every chain a rule jumps or goes to, wherever it names it (a verdict map too).
void destinos(const Json &j, int v, QStringList &salida)
{
    for (int h = j.primero(v); h >= 0; h = j.siguiente(h)) {
        if (j.es(v, Json::Objeto) && (j.clave(h) == "jump"_v || j.clave(h) == "goto"_v)
            && j.es(h, Json::Objeto))
            salida.append(j.texto(j.miembro(h, "target"_v)));
        else if (j.es(h, Json::Objeto) || j.es(h, Json::Lista))
            destinos(j, h, salida);
    }
}

struct Cadena {
    QString nombre;
    bool filtra = false;  // a base chain of type filter
    QList<Regla> reglas;  // their place is the chain's
    QStringList destinos; // the chains its rules jump or go to
};

struct Tabla {
    QString familia, nombre;
    QList<Cadena> cadenas;
    QHash<QString, qsizetype> indice;
};

} // namespace

std::optional<QList<Regla>> leer(const QByteArray &json, QString *error)
{
    QString motivo;
    const auto fallo = [&](const QString &texto) {
        if (error)
            *error = texto;
        return std::nullopt;
    };
    QList<Tabla> tablas;
    QHash<QString, qsizetype> porTabla; // "family table"
    Json j;
    const auto tabla = [&](int o, QByteArrayView clave) -> Tabla * {
        const QString familia = j.texto(j.miembro(o, "family"_v));
        const QString nombre = j.texto(j.miembro(o, clave));
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
    const auto cadena = [&](Tabla &t, const QString &nombre) -> Cadena & {
        auto it = t.indice.find(nombre);
        if (it == t.indice.end()) {
            it = t.indice.insert(nombre, t.cadenas.size());
            t.cadenas.append(Cadena{nombre, false, {}, {}});
        }
        return t.cadenas[*it];
    };

    // Every rule, written out, in its chain; the chains each jumps to.
    const Escritor escritor(j);
    Cadena *ultima = nullptr;
    std::array<QByteArray, 3> ultimoLugar;
    const auto elemento = [&](int v) {
        if (int o = j.miembro(v, "table"_v); o >= 0) {
            if (!tabla(o, "name"_v))
                motivo = QStringLiteral("una tabla sin familia o sin nombre");
            ultima = nullptr;
        } else if (int c = j.miembro(v, "chain"_v); c >= 0) {
            Tabla *t = tabla(c, "table"_v);
            const QString nombre = j.texto(j.miembro(c, "name"_v));
            if (!t || nombre.isEmpty())
                motivo = QStringLiteral("una cadena sin tabla o sin nombre");
            else
                cadena(*t, nombre).filtra
                    = j.miembro(c, "hook"_v) >= 0 && j.texto(j.miembro(c, "type"_v)) == "filter";
            ultima = nullptr; // the chain lists may have moved
        } else if (int r = j.miembro(v, "rule"_v); r >= 0) {
            // nft lists a chain's rules one after another: its place is
            // looked up again only when it changes.
            const int f = j.miembro(r, "family"_v), t = j.miembro(r, "table"_v),
                      c = j.miembro(r, "chain"_v);
            if (f < 0 || t < 0 || c < 0 || j.entero(j.miembro(r, "handle"_v)) < 0
                || !j.es(j.miembro(r, "expr"_v), Json::Lista)) {
                motivo = QStringLiteral("una regla sin su lugar o sin su handle");
                return false;
            }
            if (!ultima || j.bytes(f) != ultimoLugar[0] || j.bytes(t) != ultimoLugar[1]
                || j.bytes(c) != ultimoLugar[2]) {
                Tabla *en = tabla(r, "table"_v);
                const QString nombre = j.texto(c);
                if (!en || nombre.isEmpty()) {
                    motivo = QStringLiteral("una regla sin su lugar o sin su handle");
                    return false;
                }
                ultima = &cadena(*en, nombre);
                ultimoLugar = {j.bytes(f).toByteArray(), j.bytes(t).toByteArray(),
                               j.bytes(c).toByteArray()};
            }
            const int expr = j.miembro(r, "expr"_v);
            Regla regla{{}, {}, {}, j.entero(j.miembro(r, "handle"_v)), {}, false};
            regla.texto.reserve(j.bytes(expr).size() / 3); // the text is shorter than its JSON
            for (int d = j.primero(expr); d >= 0; d = j.siguiente(d)) {
                if (d != j.primero(expr))
                    regla.texto += ' ';
                escritor.declaracion(d, regla.texto);
            }
            const int comentario = j.miembro(r, "comment"_v);
            if (comentario >= 0) {
                regla.texto += QLatin1String(" comment \"");
                j.anadir(comentario, regla.texto);
                regla.texto += '"';
            }
            // Whether iptables prints it faithfully matters only in its own table.
            regla.fielEnIptables = comentario < 0 && ultimoLugar[0] == "ip"
                                   && ultimoLugar[1] == "filter" && fiel(j, expr);
            ultima->reglas.append(std::move(regla));
            const QByteArrayView json = j.bytes(expr);
            if (json.contains("\"jump\"") || json.contains("\"goto\""))
                destinos(j, expr, ultima->destinos);
        }
        return motivo.isEmpty();
    };
    if (!j.leer(json, elemento))
        return fallo(motivo.isEmpty() ? QStringLiteral("no es JSON (byte %1)").arg(j.posicion())
                                      : motivo);
    if (!j.es(j.miembro(0, "nftables"_v), Json::Lista))
        return fallo(QStringLiteral("falta la lista \"nftables\""));

    // Then the rules of the chains that filter.
    QList<Regla> reglas;
    qsizetype total = 0;
    for (const Tabla &t : std::as_const(tablas))
        for (const Cadena &c : t.cadenas)
            total += c.reglas.size();
    reglas.reserve(total);
    for (Tabla &t : tablas) {
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
            pendientes += t.cadenas[t.indice.value(nombre)].destinos;
        }
        for (Cadena &c : t.cadenas) {
            if (!alcanzadas.contains(c.nombre))
                continue;
            for (Regla &r : c.reglas) {
                r.familia = t.familia;
                r.tabla = t.nombre;
                r.cadena = c.nombre;
                r.fielEnIptables = r.fielEnIptables && deIptables;
                reglas.append(std::move(r));
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
