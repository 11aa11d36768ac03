#include "statejson.h"

#include "recordfields.h"

#include <QJsonArray>
#include <QSet>
#include <QStringDecoder>

namespace routersim {

namespace {

template<class T>
QJsonArray recordsToJson(const QList<T> &records)
{
    QJsonArray array;
    for (const T &record : records) {
        QJsonObject object{{QStringLiteral("id"), record.id}};
        for (const Field<T> &field : recordFields<T>()) {
            if (field.flag)
                object.insert(field.key, record.*field.flag);
            else
                object.insert(field.key, record.*field.text);
        }
        array.append(object);
    }
    return array;
}

template<class T>
bool recordsFromJson(const QString &listKey, const QJsonValue &value, QList<T> &records, QString &error)
{
    if (!value.isArray()) {
        error = QStringLiteral("%1: not an array").arg(listKey);
        return false;
    }
    QList<T> read;
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isObject()) {
            error = QStringLiteral("%1: an entry is not an object").arg(listKey);
            return false;
        }
        T record;
        const QJsonObject object = item.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            const QString where = QStringLiteral("%1: \"%2\"").arg(listKey, it.key());
            if (it.key() == u"id") {
                record.id = it.value().toString();
                continue;
            }
            const auto field =
                std::find_if(recordFields<T>().begin(), recordFields<T>().end(),
                             [&](const Field<T> &candidate) { return candidate.key == it.key(); });
            if (field == recordFields<T>().end()) {
                error = where + QStringLiteral(" is no attribute of this list");
                return false;
            }
            if (field->flag && it.value().isBool()) {
                record.*field->flag = it.value().toBool();
            } else if (field->text && it.value().isString()) {
                record.*field->text = it.value().toString();
            } else if (field->text && it.value().isDouble()) {
                // Numbers such as byte limits may be written without quotes.
                record.*field->text = QString::number(it.value().toDouble(), 'g', 17);
            } else {
                error = where + QStringLiteral(" has a value of the wrong kind");
                return false;
            }
        }
        read.append(record);
    }
    records = read;
    return true;
}

bool readBool(const QJsonValue &value, bool &target)
{
    if (!value.isBool())
        return false;
    target = value.toBool();
    return true;
}

bool readCount(const QJsonValue &value, int &target)
{
    if (!value.isDouble() || value.toDouble() < 0 || value.toDouble() != double(value.toInt()))
        return false;
    target = value.toInt();
    return true;
}

} // namespace

QJsonObject stateToJson(const RouterState &state)
{
    QJsonObject object{{QStringLiteral("version"), state.version}, {QStringLiteral("nextId"), state.nextId}};
    forEachRecordList(state, [&object](const QString &name, const auto &records) {
        object.insert(name, recordsToJson(records));
    });
    return object;
}

bool applyConfigJson(const QJsonObject &config, RouterState &state, RouterBehaviour &behaviour,
                     QString &error)
{
    RouterState newState = state;
    RouterBehaviour newBehaviour = behaviour;
    QSet<QString> known;
    bool ok = true;
    forEachRecordList(newState, [&](const QString &name, auto &records) {
        known.insert(name);
        if (ok && config.contains(name))
            ok = recordsFromJson(name, config.value(name), records, error);
    });
    if (!ok)
        return false;
    for (auto it = config.begin(); it != config.end(); ++it) {
        const QString &key = it.key();
        const QJsonValue value = it.value();
        bool valid = true;
        if (known.contains(key)) {
            continue;
        } else if (key == u"version") {
            valid = value.isString();
            newState.version = value.toString();
        } else if (key == u"nextId") {
            valid = readCount(value, newState.nextId);
        } else if (key == u"login") {
            const std::optional<LoginMode> mode = loginModeFromName(value.toString());
            valid = mode.has_value();
            newBehaviour.login = mode.value_or(newBehaviour.login);
        } else if (key == u"refuseAdds") {
            valid = readBool(value, newBehaviour.refuseAdds);
        } else if (key == u"stall") {
            valid = readBool(value, newBehaviour.stall);
        } else if (key == u"closeAfter") {
            valid = readCount(value, newBehaviour.closeAfter);
        } else if (key == u"latencyMs") {
            valid = readCount(value, newBehaviour.latencyMs);
        } else if (key == u"trickleMs") {
            valid = readCount(value, newBehaviour.trickleMs);
        } else if (key == u"forgetAdds") {
            valid = readBool(value, newBehaviour.forgetAdds);
        } else if (key == u"outOfOrderTags") {
            valid = readBool(value, newBehaviour.outOfOrderTags);
        } else if (key == u"collideAddAt") {
            valid = readCount(value, newBehaviour.collideAddAt);
        } else if (key == u"refuseAddsFrom") {
            valid = readCount(value, newBehaviour.refuseAddsFrom);
        } else if (key == u"ignoreTags") {
            valid = readBool(value, newBehaviour.ignoreTags);
        } else if (key == u"endlessReMs") {
            valid = readCount(value, newBehaviour.endlessReMs);
        } else if (key == u"faultCommand") {
            valid = value.isString();
            newBehaviour.faultCommand = value.toString();
        } else {
            error = QStringLiteral("unknown key \"%1\"").arg(key);
            return false;
        }
        if (!valid) {
            error = QStringLiteral("\"%1\" has a value of the wrong kind").arg(key);
            return false;
        }
    }
    assignMissingIds(newState);
    state = newState;
    behaviour = newBehaviour;
    return true;
}

QJsonObject loggedSentenceToJson(const LoggedSentence &sentence)
{
    QJsonArray words;
    for (const QByteArray &word : sentence.words) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder.decode(word);
        if (decoder.hasError())
            words.append(QJsonObject{{QStringLiteral("base64"), QString::fromLatin1(word.toBase64())}});
        else
            words.append(text);
    }
    return {{QStringLiteral("connection"), sentence.connection}, {QStringLiteral("words"), words}};
}

} // namespace routersim
