// nft's JSON against Qt's own reader: whatever QJsonDocument takes as JSON
// the ruleset reader takes as JSON too (at worst it finds no ruleset in it),
// and every rule it gives has its whole place and a handle; never more
// rules than the text holds, and a comment decodes as QJsonDocument decodes it.
#include "comun.h"
#include "firewalldialog/nftables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QByteArray json = bytes(datos, largo);
    QString error;
    const std::optional<QList<Nftables::Regla>> reglas = Nftables::leer(json, &error);
    QJsonParseError e;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &e);
    if (e.error == QJsonParseError::NoError)
        EXIGIR(reglas || !error.startsWith("no es JSON"));
    if (!reglas)
        return 0;
    QStringList comentarios;
    qsizetype enTexto = 0;
    for (const QJsonValue &v : doc.object().value("nftables").toArray()) {
        const QJsonObject r = v.toObject().value("rule").toObject();
        enTexto += !r.isEmpty();
        if (r.contains("comment"))
            comentarios << r.value("comment").toString();
    }
    for (const Nftables::Regla &r : *reglas) {
        EXIGIR(!r.familia.isEmpty() && !r.tabla.isEmpty() && !r.cadena.isEmpty());
        EXIGIR(r.handle >= 0);
        if (e.error == QJsonParseError::NoError) {
            const qsizetype comentario = r.texto.indexOf(" comment \"");
            if (comentario >= 0)
                EXIGIR(comentarios.contains(r.texto.mid(comentario + 10).chopped(1)));
        }
    }
    if (e.error == QJsonParseError::NoError)
        EXIGIR(reglas->size() <= enTexto);
    return 0;
}
